#include "Results.h"

#include <algorithm>

namespace {
const QString Equals = QStringLiteral(" = ");
const QString Remark = QStringLiteral(" //");

// Digits, decimal separators, exponent, signs (the output's minus is U+2212),
// the imaginary unit and the time format's colon; or a binary, hexadecimal or
// Roman numeral after its prefix character.
bool LooksLikeNumber(const QString& Text) {
    if (Text.isEmpty()) return false;
    const QChar First = Text.front();
    if (First == u'&' || First == u'$' || First == u'#')
        return Text.size() > 1 &&
               std::all_of(Text.begin() + 1, Text.end(), [](QChar C) { return C.isLetterOrNumber(); });
    const QString Allowed = QStringLiteral("0123456789.,:Ei+-\u2212");
    return First.isDigit() || First == u'\u2212' || First == u'-'
               ? std::all_of(Text.begin(), Text.end(), [&](QChar C) { return Allowed.contains(C); })
               : false;
}
} // namespace

std::optional<TLineKind> LineKind(const std::vector<TStatementRange>& Ranges, int LineIndex) {
    const auto It = std::lower_bound(Ranges.begin(), Ranges.end(), LineIndex,
                                     [](const TStatementRange& R, int Index) { return R.LineIndex < Index; });
    if (It == Ranges.end() || It->LineIndex != LineIndex) return std::nullopt;
    return It->Kind;
}

std::optional<QString> ResultValue(const QString& Line, std::optional<TLineKind> Kind) {
    if (Kind && *Kind != lkValue) return std::nullopt;
    const qsizetype At = Line.indexOf(Equals);
    if (At <= 0) return std::nullopt;
    QString Value = Line.mid(At + Equals.size());
    const qsizetype RemarkAt = Value.indexOf(Remark);
    if (RemarkAt >= 0) Value.truncate(RemarkAt);
    if (Value.isEmpty() || (!Kind && !LooksLikeNumber(Value))) return std::nullopt;
    return Value;
}

std::optional<QString> LastResultValue(int Count, const std::function<QString(int)>& Line,
                                       const std::vector<TStatementRange>& Ranges) {
    for (int I = Count - 1; I >= 0; --I)
        if (auto Value = ResultValue(Line(I), LineKind(Ranges, I))) return Value;
    return std::nullopt;
}
