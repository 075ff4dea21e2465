#include "Angle.h"

#include "Scalar.h"

#include <algorithm>
#include <cmath>

namespace {
// 10^17 seconds of arc in 10^-17 units would overflow 64 bits; 60 * 10^17 does not.
constexpr int MaxDecimals = 17;

std::uint64_t PowerOfTen(int E) {
    std::uint64_t P = 1;
    while (E-- > 0)
        P *= 10;
    return P;
}

// floor(log10(V)) for V > 0, corrected where log10 rounds across a power of ten.
int Decade(Extended V) {
    int E = static_cast<int>(std::floor(std::log10(V)));
    if (V < std::pow(10.0L, E))
        --E;
    else if (V >= std::pow(10.0L, E + 1))
        ++E;
    return E;
}

// Decimals of the seconds for an angle of Total seconds of arc (Total > 0). The
// seconds stop at the 17th digit of the whole: the degree constant the tokenizer
// reads with is itself good to 18 digits only.
int SecondDecimals(Extended Total, std::int32_t Precision) {
    int D = std::min(MaxDecimals, 16 - Decade(Total));
    const Extended Seconds = std::fmod(Total, 60);
    if (Seconds > 0) D = std::min(D, Precision - 1 - Decade(Seconds));
    return std::max(D, 0);
}

void AppendDigits(std::u16string& S, std::uint64_t V) {
    for (char C : std::to_string(V))
        S += static_cast<char16_t>(C);
}

// Units of 10^-Decimals seconds as "s[.fff]", the fraction without trailing zeros.
void AppendSeconds(std::u16string& S, std::uint64_t Units, int Decimals, char16_t Period) {
    const std::uint64_t Scale = PowerOfTen(Decimals);
    AppendDigits(S, Units / Scale);
    std::uint64_t Fraction = Units % Scale;
    if (Fraction == 0) return;
    while (Fraction % 10 == 0) {
        Fraction /= 10;
        --Decimals;
    }
    const std::size_t Start = S.size();
    AppendDigits(S, Fraction);
    S.insert(Start, static_cast<std::size_t>(Decimals) - (S.size() - Start), u'0');
    S.insert(Start, 1, Period);
}
} // namespace

std::optional<std::u16string> RadiansToAngleStr(Extended X, std::int32_t Precision, TAngleMarks Marks) {
    const Extended Total = std::fabs(X) / SecondInRadians;
    if (!(Total < MaxAngleSeconds)) return std::nullopt; // NaN too
    const int Decimals = Total > 0 ? SecondDecimals(Total, Precision) : 0;
    const std::uint64_t Scale = PowerOfTen(Decimals);
    const Extended Rounded = std::nearbyint(Total * static_cast<Extended>(Scale));
    // Only whole seconds come close enough to the bound to round up to it.
    if (Rounded / static_cast<Extended>(Scale) >= MaxAngleSeconds) return std::nullopt;
    const auto Units = static_cast<std::uint64_t>(Rounded);
    const std::uint64_t UnitsPerMinute = 60 * Scale;
    const std::uint64_t Minutes = Units / UnitsPerMinute;
    const std::uint64_t SecondUnits = Units % UnitsPerMinute;

    std::u16string S = X < 0 && Units != 0 ? u"-" : u"";
    AppendDigits(S, Minutes / 60);
    S += Marks.Degree;
    AppendDigits(S, Minutes % 60);
    S += Marks.Minute;
    if (SecondUnits != 0) {
        AppendSeconds(S, SecondUnits, Decimals, Marks.Period);
        S += Marks.Second;
    }
    return S;
}
