#include "Exact.h"

#include "Trig.h"

#include <array>
#include <climits>

namespace Exact {
namespace {
// A times a power of two that keeps both halves normal: exact, and cheaper than scalbn.
TPair Times(TPair A, Extended PowerOfTwo) {
    return {A.Hi * PowerOfTwo, A.Lo * PowerOfTwo};
}
TPair Whole(int N) {
    return {static_cast<Extended>(N), 0};
}

// 1/n! for n = 0..16, each as a pair.
const TPair* InverseFactorials() {
    static const auto Table = [] {
        std::array<TPair, 17> T;
        T[0] = {1, 0};
        for (int N = 1; N < 17; ++N)
            T[N] = T[N - 1] / Whole(N);
        return T;
    }();
    return Table.data();
}

// e^F for |F| <= 1/2: the series of F / 256 to the ninth power (its rest is
// below 2^-100), then eight squarings. It fills the table of ExpSmall.
TPair ExpBySeries(TPair F) {
    const TPair* InvFact = InverseFactorials();
    const TPair S = Times(F, 0x1p-8L);
    TPair Sum = InvFact[9];
    for (int N = 8; N >= 0; --N)
        Sum = Sum * S + InvFact[N];
    for (int I = 0; I < 8; ++I)
        Sum = Sum * Sum;
    return Sum;
}

// e^(j/64) for j = -32..32.
const TPair* ExpTable() {
    static const auto Table = [] {
        std::array<TPair, 65> T;
        for (int J = -32; J <= 32; ++J)
            T[J + 32] = ExpBySeries({J / 64.0L, 0});
        return T;
    }();
    return Table.data() + 32;
}

// 1/n! rounded, for the plain tails of the series.
constexpr auto PlainInverseFactorials = [] {
    std::array<Extended, 15> T{};
    Extended F = 1;
    for (int N = 0; N < 15; ++N) {
        F *= N > 0 ? N : 1;
        T[N] = 1 / F;
    }
    return T;
}();

// The nearest whole number of a small value, without the library's mode switch.
int Nearest(Extended V) {
    return static_cast<int>(V < 0 ? V - 0.5L : V + 0.5L);
}

// e^F for |F| <= 1/2: e^(j/64) from the table times e^U of the rest U, at most
// 1/128. Only 1 + U + U^2/2 needs the pair; the terms from U^3/6 (below 2^-23)
// are plain, their rounding below 2^-86.
TPair ExpSmall(TPair F) {
    const int J = Nearest(F.Hi * 64);
    const TPair U = F + TPair{-J / 64.0L, 0};
    const Extended V = U.Hi;
    Extended Rest = 0; // U^3/3! + ... + U^11/11!, the last term below 2^-100
    for (int N = 11; N >= 3; --N)
        Rest = (Rest + PlainInverseFactorials[N]) * V;
    Rest *= V * V;
    const TPair Sum = TPair{1, 0} + U + Times(U * U, 0.5L) + TPair{Rest, 0};
    return Sum * ExpTable()[J];
}

// Quarter turns off, then the series of an eighth of the rest (to the 16th
// power, its rest below 2^-100) and three doublings. It fills the table of CosSin.
void CosSinBySeries(TPair T, TPair& C, TPair& S) {
    const TPair* InvFact = InverseFactorials();
    const TPair R = Times(T, 0.125L);
    const TPair R2 = R * R;
    TPair Cos = InvFact[16], Sin = -InvFact[15];
    for (int K = 7; K >= 0; --K) {
        const bool Odd = K % 2 != 0;
        Cos = Cos * R2 + (Odd ? -InvFact[2 * K] : InvFact[2 * K]);
        if (K < 7) Sin = Sin * R2 + (Odd ? -InvFact[2 * K + 1] : InvFact[2 * K + 1]);
    }
    Sin = Sin * R;
    for (int I = 0; I < 3; ++I) {
        const TPair TwiceSin = Times(Sin * Cos, 2);
        Cos = TPair{1, 0} + -Times(Sin * Sin, 2);
        Sin = TwiceSin;
    }
    C = Cos;
    S = Sin;
}

// cos and sin of j/32 for j = 0..26 (26/32 is past pi/4).
struct TCosSin {
    TPair C, S;
};
const TCosSin* CosSinTable() {
    static const auto Table = [] {
        std::array<TCosSin, 27> T;
        for (int J = 0; J < 27; ++J)
            CosSinBySeries({J / 32.0L, 0}, T[J].C, T[J].S);
        return T;
    }();
    return Table.data();
}
} // namespace

TPair Exp(TPair F) {
    return ExpSmall(F);
}

// ln X = e ln 2 + ln m with m in [0.75, 1.5); ln m is the library's value y
// corrected by m e^-y - 1, formed wide.
TPair Ln(TPair X) {
    int E = std::ilogb(X.Hi);
    TPair M = Scaled(X, -E);
    if (M.Hi > 1.5L) {
        M = Times(M, 0.5L);
        ++E;
    }
    const Extended Y = std::log(M.Hi);
    const TPair T = M * ExpSmall({-Y, 0}) + TPair{-1, 0};
    const TPair LnM = TPair{Y, 0} + TPair{T.Hi - T.Hi * T.Hi / 2, T.Lo};
    return Whole(E) * Ln2 + LnM;
}

// Quarter turns off; the rest R, at most pi/4, is j/32 from the table plus U,
// at most 1/64. Only 1 - U^2/2 and U need the pair; the terms from U^3/6 (below
// 2^-20) are plain, their rounding below 2^-84.
void CosSin(TPair T, TPair& C, TPair& S) {
    const int K = Nearest(T.Hi / HalfPi.Hi);
    TPair R = T + -(TPair{static_cast<Extended>(K), 0} * HalfPi);
    const bool Negative = R.Hi < 0;
    if (Negative) R = -R;
    const int J = Nearest(R.Hi * 32);
    const TPair U = R + TPair{-J / 32.0L, 0};
    const Extended V = U.Hi, V2 = V * V;
    Extended CosRest = 0, SinRest = 0; // from U^4/4! and U^3/3! to U^14/14! and U^13/13!
    for (int N = 14; N >= 4; N -= 2) {
        const Extended Sign = N % 4 == 0 ? 1 : -1;
        CosRest = (CosRest + Sign * PlainInverseFactorials[N]) * V2;
        SinRest = (SinRest - Sign * PlainInverseFactorials[N - 1]) * V2;
    }
    const TPair CosU = TPair{1, 0} + -Times(U * U, 0.5L) + TPair{CosRest * V2, 0};
    const TPair SinU = U + TPair{SinRest * V, 0};
    const TCosSin& A = CosSinTable()[J];
    const TPair Cos = A.C * CosU + -(A.S * SinU);
    TPair Sin = A.S * CosU + A.C * SinU;
    if (Negative) Sin = -Sin;
    switch (K & 3) {
    case 0: C = Cos, S = Sin; break;
    case 1: C = -Sin, S = Cos; break;
    case 2: C = -Cos, S = -Sin; break;
    default: C = Sin, S = -Cos; break;
    }
}

// The library's angle t, corrected by atan((y cos t - x sin t) / (x cos t + y sin t)),
// whose numerator is formed wide: the correction is below 2^-60, its own atan itself.
TPair Arg(TPair X, TPair Y) {
    if (X.Hi == 0) return Y.Hi > 0 ? HalfPi : (Y.Hi < 0 ? -HalfPi : TPair{});
    if (Y.Hi == 0) return X.Hi > 0 ? TPair{} : Times(HalfPi, 2);
    const int K = std::max(std::ilogb(X.Hi), std::ilogb(Y.Hi));
    X = Scaled(X, -K);
    Y = Scaled(Y, -K);
    const Extended T = std::atan2(Y.Hi, X.Hi);
    TPair C, S;
    CosSin({T, 0}, C, S);
    const TPair N = Y * C + -(X * S), D = X * C + Y * S;
    return TPair{T, 0} + TPair{N.Hi / D.Hi, 0};
}

TWideC Ln(TWideC Z) {
    if (Z.X.Hi == 0 && Z.Y.Hi == 0) FP::Raise(MsgZeroDivide);
    const int K = std::max(Z.X.Hi == 0 ? INT_MIN : std::ilogb(Z.X.Hi), Z.Y.Hi == 0 ? INT_MIN : std::ilogb(Z.Y.Hi));
    const TPair X = Scaled(Z.X, -K), Y = Scaled(Z.Y, -K);
    const TPair LnModulus = Times(Ln(X * X + Y * Y), 0.5L) + Whole(K) * Ln2;
    return {LnModulus, Arg(X, Y)};
}

// e^(a + bi) = e^a (cos b, sin b), with the low halves of a and b as first-order
// corrections of the library's values.
TComp Exp(TWideC Z) {
    const Extended A = Z.X.Hi, B = Z.Y.Hi;
    Extended E, F; // e^A = E * F, split where e^A alone would overflow
    if (A > 11356) {
        E = std::exp(A / 2);
        F = E;
    } else {
        E = std::exp(A);
        F = 1;
    }
    E *= 1 + Z.X.Lo;
    Extended C = B - B, S = C; // NaN for an infinite B
    if (std::isfinite(B)) ReducedCosSin(B, C, S);
    return {E * ((C - S * Z.Y.Lo) * F), E * ((S + C * Z.Y.Lo) * F)};
}
} // namespace Exact
