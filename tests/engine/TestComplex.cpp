// Complex arithmetic, its checked floating-point layer, and the text form of values.
#include "TestSupport.h"

#include <cfloat>
#include <cstring>
#include <functional>

namespace {
const Extended Max = LDBL_MAX;

std::string Show(TComp Z) {
    char S[64];
    std::snprintf(S, sizeof S, " (%.5Lg, %.5Lg)", Z.X, Z.Y);
    return S;
}
} // namespace

TEST(Complex, FailsWithTheFaultOfItsFirstFailingStep) {
    const std::pair<std::function<void()>, const char*> Cases[] = {
        {[] { FP::Add(Max, Max); }, MsgOverflow},
        {[] { FP::Div(0, 0); }, MsgInvalidOp},
        {[] { FP::Sqrt(-1); }, MsgInvalidOp},
        {[] { FP::Ln(-1); }, MsgInvalidOp},
        {[] { TComp(1) / CompZero; }, MsgZeroDivide},
        {[] { TComp(1) / TComp(1e-4940L); }, MsgOverflow}, // the quotient is out of range
        {[] { Cmplx(1e4000L, 1) / Cmplx(1e-2000L, 1e-2000L); }, MsgOverflow},
        {[] { Cmplx(1, 1) / 0.0L; }, MsgZeroDivide},
        {[] { Cmplx(0, 1) / 0.0L; }, MsgInvalidOp}, // the real part is divided first
        {[] { Ln(CompZero); }, MsgZeroDivide},
        {[] { ArcTanh(-1); }, MsgZeroDivide},
        {[] { LnGamma(-3); }, MsgZeroDivide},
        {[] { Cosh(-11358); }, MsgOverflow},
        {[] { Sin(Cmplx(0, 11358)); }, MsgOverflow},
        {[] { Power(10, 4933); }, MsgOverflow},
        {[] { Power(Cmplx(1e3000L, 1e3000L), 2); }, MsgOverflow},
        {[] { StdDev({}); }, MsgInvalidOp}};
    for (std::size_t I = 0; I < std::size(Cases); ++I) {
        SCOPED_TRACE(I);
        EXPECT_THROW_MSG(Cases[I].first(), EMathError, Cases[I].second);
    }
    EXPECT_THROW_MSG(LnGamma(-5000), EMathError, MsgZeroDivide); // poles far left too
    EXPECT_THROW_MSG(LnGamma(-1e30L), EMathError, MsgZeroDivide);
    EXPECT_EQ(FP::Mul(1e-3000L, 1e-3000L), 0); // underflow passes silently
    EXPECT_EQ(Exp(-20000), CompZero);
}

TEST(Complex, NeverReturnsInfinityOrNan) {
    const Extended Parts[] = {0, -0.0L, 1, -0.5L, LDBL_TRUE_MIN, 1e-2470L, -1e2470L, Max, -Max, 11357};
    std::vector<TComp> Values;
    for (Extended X : Parts)
        for (Extended Y : Parts)
            Values.push_back({X, Y});
    const std::pair<const char*, TComp (*)(TComp, TComp)> Ops[] = {{"+", [](TComp A, TComp B) { return A + B; }},
                                                                   {"-", [](TComp A, TComp B) { return A - B; }},
                                                                   {"*", [](TComp A, TComp B) { return A * B; }},
                                                                   {"/", [](TComp A, TComp B) { return A / B; }},
                                                                   {"/r", [](TComp A, TComp B) { return A / B.X; }},
                                                                   {"^", [](TComp A, TComp B) { return Power(A, B); }},
                                                                   {"Sqr", [](TComp A, TComp) { return Sqr(A); }},
                                                                   {"Sgn", [](TComp A, TComp) { return Sgn(A); }},
                                                                   {"Abs", [](TComp A, TComp) { return TComp(Abs(A)); }}};
    for (auto [Name, Op] : Ops)
        for (TComp A : Values)
            for (TComp B : Values) {
                try {
                    TComp R = Op(A, B);
                    ASSERT_TRUE(std::isfinite(R.X) && std::isfinite(R.Y)) << Name << Show(A) << Show(B);
                } catch (const EMathError&) {
                }
            }
}

TEST(Arg, NegativeRealAxisIsPlusPiWhateverTheZerosSign) {
    const std::pair<TComp, Extended> Cases[] = {
        {{-1, 0}, Pi}, {{-1, -0.0L}, Pi}, {{0, 0}, 0}, {{0, -3}, -Pi / 2}, {{-0.0L, 3}, Pi / 2}};
    for (auto [Z, Want] : Cases) {
        SCOPED_TRACE(Show(Z));
        EXPECT_EQ(Arg(Z), Want);
    }
    EXPECT_LT(Arg(Cmplx(-1, -1e-30L)), -3); // just below the axis is near -pi
    unsigned char B[10];
    std::memcpy(B, &Pi, 10);
    const unsigned char Pattern[10] = {0x35, 0xC2, 0x68, 0x21, 0xA2, 0xDA, 0x0F, 0xC9, 0x00, 0x40};
    EXPECT_EQ(std::memcmp(B, Pattern, 10), 0); // 4000:C90FDAA22168C235
}

TEST(Complex, FunctionsGiveTheirPrincipalValues) {
    const TComp Z(1, 2);
    const Extended Acosh2 = 1.3169578969248167086L;
    const struct {
        const char* Name;
        TComp Got, Want;
    } Cases[] = {{"Exp", Exp(Z), {-1.1312043837568136384L, 2.4717266720048189276L}},
                 {"Ln(-3-4i)", Ln(Cmplx(-3, -4)), {1.6094379124341003746L, -2.2142974355881810060L}},
                 {"Sin", Sin(Z), {3.1657785132161681467L, 1.9596010414216058971L}},
                 {"Cos", Cos(Z), {2.0327230070196655294L, -3.0518977991518000575L}},
                 {"Tanh", Tanh(Z), {1.1667362572409198818L, -0.24345820118572525270L}},
                 {"ArcSinh", ArcSinh(Z), {1.4693517443681852733L, 1.0634400235777520562L}},
                 {"ArcCosh", ArcCosh(Z), {1.5285709194809981613L, 1.1437177404024204938L}},
                 {"ArcTanh", ArcTanh(Z), {0.17328679513998632735L, 1.1780972450961724644L}},
                 {"ArcCos(1+2i)", ArcCos(Z), {1.1437177404024204938L, -1.5285709194809981613L}},
                 {"ArcCos(1-2i)", ArcCos(Conj(Z)), {1.1437177404024204938L, 1.5285709194809981613L}},
                 {"ArcCos(2) has a positive imaginary part", ArcCos(2), {0, Acosh2}},
                 {"ArcCos(-1)", ArcCos(-1), {Pi, 0}},
                 {"ArcCos(0.5)", ArcCos(0.5L), {1.0471975511965977462L, 0}},
                 {"z^w", Power(Z, Cmplx(0.5L, -1)), {4.3825650598633590102L, -1.1243974773611549462L}},
                 {"principal cube root of -8", Power(-8, 1 / 3.0L), {1, 1.7320508075688772935L}},
                 {"0^0", Power(CompZero, CompZero), CompZero},
                 {"0^-1", Power(CompZero, -1), CompZero},
                 {"0^i", Power(CompZero, CompI), CompZero},
                 {"Sgn(0)", Sgn(CompZero), CompZero},
                 {"Sgn(3+4i)", Sgn(Cmplx(3, 4)), {0.6L, 0.8L}},
                 {"LnGamma(11) = ln 10!", LnGamma(11), {15.104412573075515295L, 0}},
                 {"LnGamma(-0.5) subtracts Arg(-0.5) = pi", LnGamma(-0.5L), {1.2655121234846453965L, -Pi}},
                 {"LnGamma(1+i)", LnGamma(Cmplx(1, 1)), {-0.65092319930185633889L, -0.30164032046753319789L}},
                 {"StdDev(1,2,3,4)", StdDev({1, 2, 3, 4}), {1.1180339887498948482L, 0}},
                 {"StdDev(i,-i)", StdDev({CompI, -CompI}), CompI}};
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        EXPECT_COMP_NEAR(C.Got, C.Want);
    }
}

// Values whose squares, exponentials or cancelling terms once failed or lost
// their digits; each is the true value correctly rounded or within a unit.
TEST(Complex, KeepsItsDigitsWhereTheTermsCancelOrOverflow) {
    const struct {
        const char* Name;
        TComp Got, Want;
    } Cases[] = {{"1 / 1e-3000", TComp(1) / TComp(1e-3000L), 1e3000L},
                 {"1 / (1e2470 i)", TComp(1) / TComp(0, 1e2470L), {0, -1e-2470L}},
                 {"scaled quotient", Cmplx(3e4000L, 4e4000L) / Cmplx(1e4000L, 2e4000L), {2.2L, -0.4L}},
                 {"Ln(1e-2480)", Ln(Cmplx(1e-2480L, 0)), -5710.4110306252332964L},
                 {"Tanh(20000)", Tanh(20000), 1},
                 {"Cosh(-11357)", Cosh(-11357), 9.58078246712971283E4931L},
                 {"Abs(1e3000 + 1e3000i)", Abs(Cmplx(1e3000L, 1e3000L)), 1.4142135623730950488e3000L},
                 {"cancelling product", Cmplx(1.1L, 1.2L) * Cmplx(1.2000000001L, 1.1L), {1.09999999918248409e-10L, 2.65000000012L}},
                 {"(-2)^2 is real", Power(-2, 2), 4},
                 {"Sqrt(-4) has no real residue", Sqrt(-4), {0, 2}},
                 {"(1+2i)^3 by products", Power(Cmplx(1, 2), 3), {-11, -2}},
                 {"(-4)^0.5 on exact quarter turns", Power(-4, 0.5L), {0, 2}},
                 {"StdDev of a large offset", StdDev({1e10L + 1, 1e10L + 2, 1e10L + 3, 1e10L + 4}),
                  1.1180339887498948482L},
                 {"Mean near the top", Mean({1e4932L, 1e4932L}), 1e4932L}};
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        EXPECT_COMP_NEAR(C.Got, C.Want);
    }
    EXPECT_EQ(Power(-2, 2), TComp(4));
    EXPECT_EQ(Sqrt(-4), Cmplx(0, 2));
    EXPECT_EQ(Power(Cmplx(1, 2), 3), Cmplx(-11, -2)); // Gaussian integers stay exact
}

TEST(LnGamma, MirrorsExactlyAndReflectsFarLeft) {
    TComp Lower = LnGamma(Cmplx(2, -1)), Upper = LnGamma(Cmplx(2, 1));
    EXPECT_EQ(Lower, Conj(Upper));
    // Reflected: the real part that shifting 99991 units gives, the principal imaginary part.
    EXPECT_TRUE(CompNear(LnGamma(-99990.5L), {-1051188.7047810809116L, -Pi}, 1e-13L));
    // Across the point where reflection takes over, and beyond it: ln G(z) = ln G(z + 1) - ln z,
    // the imaginary parts up to whole turns.
    const TComp Cases[] = {Cmplx(-4000.5L, 0),     Cmplx(-4000.25L, 3),  Cmplx(-4001.75L, 0.5L),
                           Cmplx(-4000.9L, 1e-9L), Cmplx(-5000.5L, 100), Cmplx(-123456.5L, 0),
                           Cmplx(-4001, 1e-2000L)};
    for (TComp Z : Cases) {
        SCOPED_TRACE(std::to_string(static_cast<double>(Z.X)) + " " +
                     std::to_string(static_cast<double>(Z.Y)));
        const TComp Here = LnGamma(Z);
        const TComp Next = LnGamma(Z + CompOne) - Ln(Z);
        EXPECT_NEAR(static_cast<double>(Here.X), static_cast<double>(Next.X), 1e-14 * std::fabs(Next.X));
        const Extended Turns = (Here.Y - Next.Y) / (2 * Pi);
        EXPECT_NEAR(static_cast<double>(Turns), std::round(static_cast<double>(Turns)), 1e-9);
        EXPECT_EQ(Exp(Here), CompZero); // far below the smallest subnormal
    }
}

TEST(CompToStr, PrintsBothPartsUnlessOneIsNegligible) {
    const std::pair<TComp, std::u16string_view> Cases[] = {
        {{0, 0}, u"0"},
        {1234.5L, u"1234.5"},
        {123456, u"1.2346E5"},
        {99999.5L, u"1E5"},
        {100, u"100"},
        {0.0001L, u"0.0001"},
        {0.00001L, u"1E-5"},
        {1e20L, u"1E20"},
        {-2.5e-7L, u"-2.5E-7"},
        {{2, 3}, u"2+3i"},
        {{2, -3}, u"2-3i"},
        {{0, 1}, u"1i"},
        {{-1.5L, -0.5L}, u"-1.5-0.5i"},
        {{4, 4e-19L}, u"4"},
        {{-5e-20L, 2}, u"2i"},
        {{1, 1e-15L}, u"1+1E-15i"},
        {{1, 1}, u"1+1i"},
        {{-1, -1}, u"-1-1i"},
        {{1, 1e-10L}, u"1+1E-10i"},
        {{1, 1e-16L}, u"1+1E-16i"}, // a ratio equal to the threshold is printed
        {{1, 1e-17L}, u"1"},
        {{1e-17L, -1}, u"-1i"},
        {{-0.0L, 2}, u"2i"}};
    for (auto [Z, Text] : Cases) {
        SCOPED_TRACE(U8(Text));
        EXPECT_EQ(CompToStr(Z, u'.', 5), Text);
    }
    EXPECT_EQ(CompToStr(Cmplx(1.5L, -2.25L), u',', 3), u"1,5-2,25i");
    EXPECT_EQ(CompToStr(Cmplx(1.23456L, 6.54321L), u'.', 3), u"1.23+6.54i");
    EXPECT_EQ(CompToStr(1.5L, 5), u"1.5"); // the "C" locale's separator
}

TEST(FloatToGeneral, RoundsTo18DigitsThenCutsHalfUp) {
    const struct {
        Extended Value;
        std::int32_t Precision;
        char16_t Separator;
        std::u16string_view Text;
    } Cases[] = {{1.25L, 1, '.', u"1.3"},
                 {1.25L, -7, '.', u"1.3"},
                 {1.0L / 3, 30, '.', u"0.333333333333333333"},
                 {99.5L, 2, '.', u"1E2"},                    // carry out of the first digit
                 {0.000099996L, 4, '.', u"0.0001"},          // the carry leaves scientific form
                 {1.2449999999999999999L, 3, '.', u"1.25"},  // 18 digits first: 1.24500000000000000
                 {1000000000000000005.0L, 18, '.', u"1E18"}, // ties to even
                 {1000000000000000015.0L, 18, '.', u"1.00000000000000002E18"},
                 {12345, 5, '.', u"12345"},
                 {-0.0L, 5, '.', u"0"},
                 {1234.5L, 5, ',', u"1234,5"},
                 {123456, 5, ',', u"1,2346E5"},
                 {-Max, 18, '.', u"-1.18973149535723177E4932"},
                 {LDBL_TRUE_MIN, 5, '.', u"3.6452E-4951"}};
    for (const auto& C : Cases) {
        SCOPED_TRACE(U8(C.Text) + " at " + std::to_string(C.Precision));
        EXPECT_EQ(FloatToGeneral(C.Value, C.Precision, C.Separator), C.Text);
    }
}

// Whole powers go by wide products: every Gaussian integer power whose parts fit
// in 64 bits comes out exact, however many products it takes.
TEST(Power, WholePowersOfGaussianIntegersAreExact) {
    const std::pair<std::int64_t, std::int64_t> Bases[] = {{1, 2}, {-3, 1}, {2, -5}, {7, 6}, {-1, -1}};
    for (auto [A, B] : Bases) {
        __int128 X = 1, Y = 0;
        for (int N = 1; N < 200; ++N) {
            const __int128 NextX = X * A - Y * B, NextY = X * B + Y * A;
            X = NextX;
            Y = NextY;
            const __int128 Limit = static_cast<__int128>(1) << 63;
            if (X >= Limit || X <= -Limit || Y >= Limit || Y <= -Limit) break;
            SCOPED_TRACE(std::to_string(A) + " " + std::to_string(B) + " ^ " + std::to_string(N));
            ASSERT_EQ(Power(Cmplx(A, B), N), Cmplx(static_cast<Extended>(X), static_cast<Extended>(Y)));
        }
    }
    EXPECT_EQ(Power(Cmplx(3, 4), -1), Cmplx(0.12L, -0.16L));
    EXPECT_THROW_MSG(Power(Cmplx(1e3000L, 1e3000L), 2), EMathError, MsgOverflow);
    EXPECT_EQ(Power(Cmplx(1e-3000L, 1e-3000L), 2), CompZero); // underflow is silent
}

// Results the libraries disagree on in the last place, each bit for bit against
// the correctly rounded value (mpmath): the engine forms them itself so that
// Linux and Windows print the same digits.
TEST(Complex, ShareTheCorrectlyRoundedBitsOnEverySystem) {
    const struct {
        Extended X, Tanh;
    } TanhCases[] = {
        {0x8000000000000000P-64L, 0xEC9A9EBAB4579B29P-65L}, // 0.5: glibc's tanhl is a unit low
        {-0x999999999999999AP-65L, -0x9526ED3EC8A7D089P-65L},
        {0x8000000000000000P-66L, 0xFEACC95E25C1A7E0P-67L},
        {0xA7C5AC471B478423P-80L, 0xA7C5AC47034299FAP-80L},
        {0xFFF2E48E8A71DE6AP-65L, 0xEC904FBA0735E822P-65L},
        {0x8000000000000000P-103L, 0x8000000000000000P-103L}, // 2^-40, the first one formed wide
        {0xC000000000000000P-66L, 0xBDC7FC81DFBBB194P-66L},
    };
    for (const auto& C : TanhCases) {
        SCOPED_TRACE(Bits(C.X));
        EXPECT_EQ(Bits(Tanh(C.X).X), Bits(C.Tanh));
    }
    // Powers: MinGW's powl was hundreds of units off here and not exact for 10^4000.
    EXPECT_EQ(Power(10, 4000), TComp(1e4000L));
    EXPECT_EQ(Bits(Power(1.0001L, 10000).X), Bits(0xADF61A555E13BEFEP-62L));
}
