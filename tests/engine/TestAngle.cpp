// The angle result format, and that what it writes reads back through the tokenizer.
#include "Angle.h"
#include "Parse.Tokenize.h"
#include "Scalar.h"
#include "TestSupport.h"

#include <limits>
#include <numbers>

namespace {
constexpr TAngleMarks Marks{u'°', u'\'', u'"', u'.'};

// Degrees, minutes and seconds to radians the way the angle literal does it.
Extended Dms(Extended Degrees, Extended Minutes, Extended Seconds) {
    return Degrees * DegreeInRadians + Minutes * MinuteInRadians + Seconds * SecondInRadians;
}

std::string Written(Extended X, std::int32_t Precision) {
    const auto Text = RadiansToAngleStr(X, Precision, Marks);
    return Text ? U8(*Text) : "<cannot convert>";
}

// The value of an angle literal with an optional leading "-".
Extended ReadBack(std::u16string_view Text) {
    const bool Negative = !Text.empty() && Text[0] == u'-';
    static const TSymbols Symbols;
    TTokenizer T(Symbols, std::u16string(Text.substr(Negative ? 1 : 0)));
    if (T.Count() != 1 || T[0].Kind != tkNumber) ADD_FAILURE() << "not one angle literal: " << U8(Text);
    const Extended V = T.Count() > 0 ? T[0].Value : 0;
    return Negative ? -V : V;
}

// Half a unit in the last place of the seconds written, in radians; whole
// seconds when no seconds are written (they are then zero after rounding).
Extended HalfUnitShown(std::u16string_view Text) {
    int Decimals = 0;
    if (const auto Dot = Text.find(u'.'); Dot != std::u16string_view::npos)
        Decimals = static_cast<int>(Text.find(u'"') - Dot - 1);
    return 0.5L * std::pow(10.0L, -Decimals) * SecondInRadians;
}

// Significant digits of the seconds written, 0 when there are none.
int SecondDigits(std::u16string_view Text) {
    const auto Minute = Text.find(u'\'');
    const auto Second = Text.find(u'"');
    if (Second == std::u16string_view::npos) return 0;
    int Digits = 0;
    bool Leading = true;
    for (char16_t C : Text.substr(Minute + 1, Second - Minute - 1)) {
        if (C == u'.') continue;
        if (Leading && C == u'0') continue;
        Leading = false;
        ++Digits;
    }
    return Digits;
}

struct TAngleCase {
    const char* Name;
    Extended X;
    std::int32_t Precision;
    const char* Text;
};
} // namespace

TEST(RadiansToAngleStr, WritesDegreesMinutesAndSecondsWhenNotZero) {
    const Extended Pi = std::numbers::pi_v<Extended>;
    const TAngleCase Cases[] = {
        {"the literal 10°30'15\"", Dms(10, 30, 15), 5, "10°30'15\""},
        {"negative: minus in front", -Dms(10, 30, 15), 5, "-10°30'15\""},
        {"zero keeps degrees and minutes", 0, 5, "0°0'"},
        {"whole degrees leave the seconds out", Pi, 5, "180°0'"},
        {"whole minutes leave the seconds out", Dms(0, 30, 0), 5, "0°30'"},
        {"zero minutes stay before seconds", Dms(1, 0, 0.05L), 5, "1°0'0.05\""},
        {"one radian, 5 digits of seconds", 1, 5, "57°17'44.806\""},
        {"one radian, 2 digits of seconds", 1, 2, "57°17'45\""},
        {"one radian, 18 digits: 17 of the whole", 1, 18, "57°17'44.80624709635\""},
        {"trailing zeros dropped", Dms(0, 0, 1.5L), 18, "0°0'1.5\""},
        {"small angle keeps its significant digits", 1e-10L, 5, "0°0'0.000020626\""},
        {"seconds round up to the next minute and degree", Dms(59, 59, 59.99999L), 5, "60°0'"},
        {"the same seconds at 18 digits", Dms(59, 59, 59.99999L), 18, "59°59'59.99999\""},
        {"seconds round up to ten", Dms(0, 0, 9.99996L), 5, "0°0'10\""},
        {"a full circle less a hair", Dms(359, 59, 59.9999999L), 5, "360°0'"},
        {"negative angle rounding to zero has no minus", -1e-30L, 5, "0°0'"},
        {"below 17 decimals of a second is zero", 1e-25L, 18, "0°0'"},
        {"imaginary ignored by the caller; large degrees", Dms(12345678, 1, 2.5L), 5, "12345678°1'2.5\""},
        {"last angle below the bound", (MaxAngleSeconds - 1) * SecondInRadians, 5, "27777777777777°46'39\""},
        {"negative last angle", -(MaxAngleSeconds - 1) * SecondInRadians, 5, "-27777777777777°46'39\""},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        EXPECT_EQ(Written(C.X, C.Precision), C.Text);
    }
}

TEST(RadiansToAngleStr, RefusesWhatCannotBeWritten) {
    const TAngleCase Cases[] = {
        {"NaN", std::numeric_limits<Extended>::quiet_NaN(), 5, ""},
        {"infinity", std::numeric_limits<Extended>::infinity(), 5, ""},
        {"minus infinity", -std::numeric_limits<Extended>::infinity(), 5, ""},
        {"the bound", MaxAngleSeconds * SecondInRadians, 5, ""},
        {"minus the bound", -MaxAngleSeconds * SecondInRadians, 18, ""},
        {"rounds up to the bound", (MaxAngleSeconds - 0.25L) * SecondInRadians, 5, ""},
        {"largest finite", std::numeric_limits<Extended>::max(), 5, ""},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        EXPECT_EQ(Written(C.X, C.Precision), "<cannot convert>");
    }
}

TEST(RadiansToAngleStr, ReadsBackWithinThePrecisionShown) {
    const Extended Values[] = {
        1,
        -1,
        0.5L,
        std::numbers::pi_v<Extended> / 3,
        2 * std::numbers::pi_v<Extended>,
        1e-3L,
        1e-7L,
        1e-12L,
        123.456L,
        -98765.4321L,
        1e6L,
        4.8e11L,
        Dms(59, 59, 59.5L),
        Dms(0, 59, 59.95L),
        Dms(89, 59, 59.9999L),
    };
    for (const Extended X : Values) {
        for (const std::int32_t Precision : {2, 3, 5, 10, 15, 18}) {
            const std::u16string Text = *RadiansToAngleStr(X, Precision, Marks);
            SCOPED_TRACE(U8(Text));
            EXPECT_LE(SecondDigits(Text), Precision);
            // The tokenizer's degree constant is good to 1.8e-18 only; then the
            // rounding of X and of the sum the tokenizer builds.
            const Extended Slack = 32 * std::fabs(X) * std::numeric_limits<Extended>::epsilon();
            EXPECT_LE(std::fabs(ReadBack(Text) - X), HalfUnitShown(Text) + Slack);
        }
    }
}
