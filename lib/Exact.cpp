#include "Exact.h"

#include <array>
#include <climits>

namespace Exact {
namespace {
TPair Scaled(TPair A, int Exp2) {
    return {std::scalbn(A.Hi, Exp2), std::scalbn(A.Lo, Exp2)};
}
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
// below 2^-100), then eight squarings.
TPair ExpSmall(TPair F) {
    const TPair* InvFact = InverseFactorials();
    const TPair S = Times(F, 0x1p-8L);
    TPair Sum = InvFact[9];
    for (int N = 8; N >= 0; --N)
        Sum = Sum * S + InvFact[N];
    for (int I = 0; I < 8; ++I)
        Sum = Sum * Sum;
    return Sum;
}
} // namespace

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

// Quarter turns off, then the series of an eighth of the rest (to the 16th
// power, its rest below 2^-100) and three doublings.
void CosSin(TPair T, TPair& C, TPair& S) {
    const TPair* InvFact = InverseFactorials();
    const Extended K = std::nearbyint(T.Hi / HalfPi.Hi);
    const TPair R = Times(T + -(TPair{K, 0} * HalfPi), 0.125L);
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
    switch (static_cast<int>(K) & 3) {
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
    const Extended C = std::cos(B), S = std::sin(B);
    return {E * ((C - S * Z.Y.Lo) * F), E * ((S + C * Z.Y.Lo) * F)};
}
} // namespace Exact
