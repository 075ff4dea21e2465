// The built-in callbacks, their argument errors and integer conversions.
#include "Scalar.h"
#include "TestSupport.h"

#include <cstring>
#include <set>

namespace {
const Extended TwoTo63 = 9223372036854775808.0L;
const Extended Acosh2 = 1.3169578969248167086L;
} // namespace

TEST(ParamErrors, MessagesNameTheFunction) {
    EXPECT_STREQ(ECountError("time", 0).what(), "Function 'time' takes no arguments");
    EXPECT_STREQ(ECountError("sin", 1).what(), "Function 'sin' takes 1 argument");
    EXPECT_STREQ(ECountError("f", 12).what(), "Function 'f' takes 12 arguments");
    EXPECT_STREQ(EUnrealParamError("gcd").what(), "The argument(s) passed to 'gcd()' must be real");
}

TEST(IntegerConversions, RoundTiesToEvenAndStopAtTwoTo63) {
    const std::pair<Extended, std::int64_t> Rounded[] = {{2.5L, 2},
                                                         {3.5L, 4},
                                                         {-2.5L, -2},
                                                         {std::nextafter(3.5L, 0.0L), 3},
                                                         {TwoTo63 - 1, INT64_MAX},
                                                         {-TwoTo63, INT64_MIN}};
    for (auto [V, Want] : Rounded) {
        SCOPED_TRACE(Bits(V));
        EXPECT_EQ(round64(V), Want);
    }
    for (Extended V : {TwoTo63 - 0.5L, -TwoTo63 - 1}) // the first rounds up to 2^63
        EXPECT_THROW_MSG(round64(V), EMathError, MsgInvalidOp);
    const struct {
        Extended V, Ceil, Floor;
    } Cases[] = {{-2.5L, -2, -3},
                 {1e-30L, 1, 0},
                 {-1e-30L, 0, -1},
                 {TwoTo63 - 0.5L, TwoTo63, TwoTo63 - 1},
                 {0.5L - TwoTo63, 1 - TwoTo63, -TwoTo63}};
    for (const auto& C : Cases) {
        SCOPED_TRACE(Bits(C.V));
        EXPECT_EQ(ceil32(C.V), C.Ceil);
        EXPECT_EQ(floor32(C.V), C.Floor);
    }
    for (Extended V : {TwoTo63, -TwoTo63}) {
        EXPECT_THROW_MSG(ceil32(V), EMathError, MsgInvalidOp);
        EXPECT_THROW_MSG(floor32(V), EMathError, MsgInvalidOp);
    }
}

TEST(IntegerBuiltins, RoundTheirArgumentsAndTruncateTheQuotient) {
    const struct {
        T2scalarsToScalar Fn;
        Extended A, B, Want;
    } Cases[] = {{FnDiv, 7, 2, 3},
                 {FnDiv, -7, 2, -3},
                 {FnDiv, 7.5L, 2, 4},
                 {FnMod, -7, 2, -1},
                 {FnMod, 7, -2, 1},
                 {FnMod, 2.5L, 2, 0},
                 {FnDiv, -TwoTo63, -1, TwoTo63},
                 {FnMod, -TwoTo63, -1, 0},
                 {FnGcd, 12, -18, 6},
                 {FnGcd, -TwoTo63, 0, TwoTo63},
                 {FnAtan2, 1, 0, Pi / 2},
                 {FnAtan2, 0, -1, Pi}};
    for (std::size_t I = 0; I < std::size(Cases); ++I) {
        SCOPED_TRACE(I);
        EXPECT_EQ(Cases[I].Fn(Cases[I].A, Cases[I].B), TComp(Cases[I].Want));
    }
    EXPECT_THROW_MSG(FnDiv(1, 0), EMathError, MsgIntDivByZero);
    EXPECT_THROW_MSG(FnMod(1, 0.4L), EMathError, MsgIntDivByZero); // the divisor rounds to 0
    EXPECT_THROW_MSG(FnDiv(TwoTo63, 1), EMathError, MsgInvalidOp);
    EXPECT_THROW_MSG(FnRound(Cmplx(1, 1e19L)), EMathError, MsgInvalidOp);
    EXPECT_THROW_MSG(FnMod(CompI, 2), EParamError, "The argument(s) passed to 'mod()' must be real");
    EXPECT_THROW_MSG(FnDiv(Cmplx(2, 1e-30L), 1), EParamError,
                     "The argument(s) passed to 'div()' must be real");
    EXPECT_THROW_MSG(FnAtan2(1, CompI), EParamError, "The argument(s) passed to 'atan2()' must be real");
}

TEST(Builtins, ComputeTheirDefinedValues) {
    const struct {
        const char* Name;
        TComp Got, Want;
        Extended Tol = 1e-17L; // exp of a sum of logarithms loses a little more
    } Cases[] = {{"abs(3+4i)", FnAbs(Cmplx(3, 4)), 5},
                 {"sign(3+4i)", FnSign(Cmplx(3, 4)), {0.6L, 0.8L}},
                 {"round(2.5+3.5i)", FnRound(Cmplx(2.5L, 3.5L)), {2, 4}},
                 {"ceil(2+0.1i)", FnCeil(Cmplx(2, 0.1L)), {2, 1}},
                 {"fact(5)", FnFact(5), 120, 1e-16L},
                 {"fact(0.5)", FnFact(0.5L), 0.88622692545275801365L, 1e-16L},
                 {"binom(5, 2)", FnBinom(5, 2), 10, 1e-16L},
                 {"log(-1)", FnLog(-1), {0, 1.3643763538418413475L}},
                 {"root(-8, 3)", FnRoot(-8, 3), {1, 1.7320508075688772935L}},
                 {"acos(2)", FnAcos(2), {0, Acosh2}},
                 {"asin(0.5)", FnAsin(0.5L), Pi / 6},
                 {"asin(2) is asinh(2i)/i", FnAsin(2), {Pi / 2, -Acosh2}},
                 {"atan(1)", FnAtan(1), Pi / 4},
                 {"tan(1+2i)", FnTan(Cmplx(1, 2)), {0.033812826079896690284L, 1.0147936161466335681L}},
                 {"mean(i, 3)", FnMean({CompI, 3}), {1.5L, 0.5L}},
                 {"deg(1, 0, 0)", FnDeg({1, 0, 0}), Pi / 180},
                 {"deg(30, 30)", FnDeg({30, 30}), 30.5L * Pi / 180, 1e-16L}};
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        EXPECT_TRUE(CompNear(C.Got, C.Want, C.Tol));
    }
    EXPECT_EQ(FnDeg({0, 1}), TComp(MinuteInRadians)); // the minute constant itself, not 60 seconds
    EXPECT_EQ(FnDeg({0, 0, 1}), TComp(SecondInRadians));
    EXPECT_EQ(FnArg(-1), Pi);
}

TEST(Builtins, PassFaultsThroughAndCheckTheirOwnCounts) {
    EXPECT_THROW_MSG(FnFact(-1), EMathError, MsgZeroDivide);
    EXPECT_THROW_MSG(FnBinom(2, 5), EMathError, MsgZeroDivide); // fact(-3) is a pole
    EXPECT_THROW_MSG(FnLog(0), EMathError, MsgZeroDivide);
    EXPECT_THROW_MSG(FnRoot(8, 0), EMathError, MsgZeroDivide);
    EXPECT_THROW_MSG(FnMean({}), EMathError, MsgInvalidOp);
    for (const TCompList& Args : {TCompList{}, TCompList{1}, TCompList{1, 2, 3, 4}})
        EXPECT_THROW_MSG(FnDeg(Args), EParamError, "Function 'deg' takes 2 or 3 arguments");
    EXPECT_THROW_MSG(FnRnd({1, 2, 3}), EParamError, "Function 'rnd' takes 0, 1 or 2 arguments");
}

TEST(Rnd, DrawsFromTheHalfOpenRangeAndScales) {
    std::set<Extended> Seen;
    Extended Total = 0;
    for (int I = 0; I < 10000; ++I) {
        TComp R = FnRnd({});
        ASSERT_TRUE(R.X >= 0 && R.X < 1 && R.Y == 0) << Bits(R.X);
        Seen.insert(R.X);
        Total += R.X;
    }
    EXPECT_GT(Seen.size(), 9990u);
    EXPECT_NEAR(double(Total / 10000), 0.5, 0.03); // 10 standard deviations
    EXPECT_EQ(FnRnd({5, 5}), TComp(5));
    TComp Scaled = FnRnd({Cmplx(2, 4)});
    EXPECT_EQ(Scaled.Y, 2 * Scaled.X); // one draw scales both parts
    TComp OnSegment = FnRnd({Cmplx(0, 2), Cmplx(4, 2)});
    EXPECT_TRUE(OnSegment.Y == 2 && OnSegment.X >= 0 && OnSegment.X < 4);
    TComp T = FnTime();
    EXPECT_TRUE(T.X >= 0 && T.X < 86400 && T.Y == 0);
}

TEST(ArcConstants, HoldTheirExactPatterns) {
    EXPECT_EQ(Bits(DegreeInRadians), "3FF9:8EFA351294E9C8C0");
    EXPECT_EQ(Bits(MinuteInRadians), "3FF3:98825ABE7CB51A73");
    EXPECT_EQ(Bits(SecondInRadians), "3FED:A2AD2D97FC7CE8EB");
    EXPECT_EQ(MinuteInRadians, 2.90888208665721597e-4L);
    EXPECT_EQ(SecondInRadians, 4.84813681109535994e-6L);
}

// Every binomial coefficient up to n = 120 fits in 128 bits: the exact integer,
// converted once, is the correctly rounded value the wide product must give.
TEST(Binom, WholeArgumentsGiveTheCorrectlyRoundedInteger) {
    std::vector<unsigned __int128> Row{1};
    for (int N = 1; N <= 120; ++N) {
        std::vector<unsigned __int128> Next(N + 1, 1);
        for (int K = 1; K < N; ++K)
            Next[K] = Row[K - 1] + Row[K];
        Row = std::move(Next);
        for (int K = 0; K <= N; ++K) {
            SCOPED_TRACE(std::to_string(N) + " " + std::to_string(K));
            ASSERT_EQ(FnBinom(N, K), TComp(static_cast<Extended>(Row[K])));
        }
    }
    EXPECT_THROW_MSG(FnBinom(40000, 20000), EMathError, MsgOverflow);
    EXPECT_THROW_MSG(FnBinom(2, 5), EMathError, MsgZeroDivide); // fact(-3) is a pole
}
