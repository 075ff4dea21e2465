#include "FormatPanel.h"

#include <iterator>

namespace {
// ORDER TNumberFormat
constexpr const char* FormatNames[] = {"Dec", "Bin", "Hex", "Roman", "Time", "Angle"};
static_assert(std::size(FormatNames) == nfAngle + 1);
} // namespace

QString FormatName(TNumberFormat Format) {
    return QLatin1String(FormatNames[Format]);
}

QString FormatPanelText(TNumberFormat Format, int Precision) {
    return QStringLiteral("%1 \u00B7 %2 digits").arg(FormatName(Format)).arg(Precision);
}
