#include "Exact.h"

#include <climits>

namespace Exact {
namespace {
TPair Scaled(TPair A, int Exp2) {
    return {std::scalbn(A.Hi, Exp2), std::scalbn(A.Lo, Exp2)};
}
TPair Whole(int N) {
    return {static_cast<Extended>(N), 0};
}

// e^F for |F| <= 1/2: the series of F / 256, then eight squarings.
TPair ExpSmall(TPair F) {
    const TPair S = Scaled(F, -8);
    TPair Term = S, Sum = TPair{1, 0} + S;
    for (int N = 2; N <= 10; ++N) {
        Term = Term * S / Whole(N);
        Sum = Sum + Term;
    }
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
        M = Scaled(M, -1);
        ++E;
    }
    const Extended Y = std::log(M.Hi);
    const TPair T = M * ExpSmall({-Y, 0}) + TPair{-1, 0};
    const TPair LnM = TPair{Y, 0} + TPair{T.Hi - T.Hi * T.Hi / 2, T.Lo};
    return Whole(E) * Ln2 + LnM;
}

// Quarter turns off, then the series of an eighth of the rest and three doublings.
void CosSin(TPair T, TPair& C, TPair& S) {
    const Extended K = std::nearbyint(T.Hi / HalfPi.Hi);
    const TPair R = Scaled(T + -(TPair{K, 0} * HalfPi), -3);
    TPair Term = R, Sin = R, Cos{1, 0};
    for (int N = 2; N <= 19; N += 2) {
        Term = Term * R / Whole(N);
        Cos = Cos + (N % 4 == 2 ? -Term : Term);
        Term = Term * R / Whole(N + 1);
        Sin = Sin + (N % 4 == 2 ? -Term : Term);
    }
    for (int I = 0; I < 3; ++I) {
        const TPair TwiceSin = Scaled(Sin * Cos, 1);
        Cos = TPair{1, 0} + -Scaled(Sin * Sin, 1);
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
    if (Y.Hi == 0) return X.Hi > 0 ? TPair{} : Scaled(HalfPi, 1);
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
    const TPair LnModulus = Scaled(Ln(X * X + Y * Y), -1) + Whole(K) * Ln2;
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
