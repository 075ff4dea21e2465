#include "Complex.h"

#include "Exact.h"
#include "Trig.h"

#include <algorithm>
#include <climits>
#include <clocale>
#include <complex>
#include <cstdio>
#include <cstring>

namespace FP {
void Raise(const char* Message) {
    throw EMathError(Message);
}

Extended Sqrt(Extended A) {
    if (A < 0) Raise(MsgInvalidOp);
    return std::sqrt(A);
}

Extended Ln(Extended A) {
    if (A == 0) Raise(MsgZeroDivide);
    if (A < 0) Raise(MsgInvalidOp);
    return std::log(A);
}

Extended Exp(Extended A) {
    return Checked(std::exp(A));
}
Extended Sin(Extended A) {
    return Checked(std::isfinite(A) ? ReducedSin(A) : std::sin(A));
}
Extended Cos(Extended A) {
    return Checked(std::isfinite(A) ? ReducedCos(A) : std::cos(A));
}
Extended Tan(Extended A) {
    return Checked(std::isfinite(A) ? ReducedTan(A) : std::tan(A));
}
Extended Atan2(Extended Y, Extended X) {
    return std::atan2(Y, X);
}
} // namespace FP

namespace {
using TStd = std::complex<Extended>;

TStd ToStd(TComp Z) {
    return {Z.X, Z.Y};
}
// Both parts checked: an infinity is an overflow, a NaN an invalid operation.
TComp Checked(TStd W) {
    return {FP::Checked(W.real()), FP::Checked(W.imag())};
}
TComp Checked(TComp W) {
    return {FP::Checked(W.X), FP::Checked(W.Y)};
}

// A zero as +0. The library chooses the side of a branch cut by the sign of the
// zero on it; ours is always the side of +0 (the negative real axis has the
// argument +pi whatever the sign of its zero).
Extended Unsigned(Extended V) {
    return V == 0 ? 0.0L : V;
}

bool IsWhole(Extended V) {
    return std::trunc(V) == V;
}

// The exponent of the larger part (ilogb), for a value that is not zero.
int TopExponent(TComp Z) {
    if (Z.X == 0) return std::ilogb(Z.Y);
    if (Z.Y == 0) return std::ilogb(Z.X);
    return std::max(std::ilogb(Z.X), std::ilogb(Z.Y));
}

TComp Scaled(TComp Z, int Exp2) {
    return {std::scalbn(Z.X, Exp2), std::scalbn(Z.Y, Exp2)};
}
TComp CheckedScaled(TComp Z, int Exp2) {
    return {FP::Checked(std::scalbn(Z.X, Exp2)), FP::Checked(std::scalbn(Z.Y, Exp2))};
}

// (cos pi*W, sin pi*W). W is reduced exactly to whole quarter turns and a rest of
// at most an eighth of a turn, so halves and quarters give exact zeros and ones.
TComp HalfTurns(Extended W) {
    const Extended R = std::fmod(W, 2);
    const Extended Quarters = std::nearbyint(R * 2);
    const Extended F = Pi * (R - Quarters / 2);
    const Extended C = std::cos(F), S = std::sin(F);
    switch (static_cast<int>(Quarters) & 3) {
    case 0: return {C, S};
    case 1: return {-S, C};
    case 2: return {-C, -S};
    default: return {S, -C};
    }
}

// Z^N for a whole N by repeated products carried wide, so the result is right to
// a rounding in each part (Gaussian integers stay exact). False when the power
// is certainly out of range, which the logarithm form reports as it should.
bool PowerByProducts(TComp Z, Extended N, TComp& Result) {
    if (std::fabs(N) * (std::abs(TopExponent(Z)) + 1) > 1e6L) return false;
    auto M = static_cast<std::uint64_t>(std::fabs(N));
    Exact::TWideComp R(CompOne), B(Z);
    for (;;) {
        if (M & 1) R.MulBy(B);
        M >>= 1;
        if (M == 0) break;
        B.MulBy(B);
    }
    if (N < 0) R.Invert();
    const TComp V = R.Value();
    Result = {FP::Checked(V.X), FP::Checked(V.Y)};
    return true;
}

// Where wide logarithms and products cannot overflow.
bool WithinWide(TComp Z) {
    return std::fabs(Z.X) < 0x1p1000L && std::fabs(Z.Y) < 0x1p1000L;
}

// The library functions MinGW computes worse than glibc, so that both systems
// print the same digits.
#ifdef _WIN32
// MinGW's powl loses digits as |y ln x| grows (1.0001^10000 is hundreds of units
// off in the last place, 10^4000 is not a power of ten): whole exponents go by
// products carried wide, other powers of positive bases through the logarithm
// carried wide.
Extended LibraryPow(Extended X, Extended Y) {
    if (!std::isfinite(X) || !std::isfinite(Y)) return std::pow(X, Y);
    TComp R;
    if (IsWhole(Y) && PowerByProducts(TComp(X), Y, R)) return R.X;
    if (X > 0 && WithinWide(TComp(Y)))
        return Exact::Exp(Exact::Widened(TComp(Y)) * Exact::Ln(Exact::Widened(TComp(X)))).X;
    return std::pow(X, Y);
}

// MinGW's clogl loses the real part near |z| = 1 to cancellation; there it is
// ln(1 + (x^2 + y^2 - 1)) / 2 with the squares summed exactly.
TStd LibraryLn(TStd Z) {
    const Extended X = Z.real(), Y = Z.imag();
    if (!std::isfinite(X) || !std::isfinite(Y) || !Exact::InProductRange(X) || !Exact::InProductRange(Y))
        return std::log(Z);
    using Exact::TPair;
    const TPair S = Exact::TwoProduct(X, X) + Exact::TwoProduct(Y, Y) + TPair{-1, 0};
    if (std::fabs(S.Hi) > 0.5L) return std::log(Z);
    return {std::log1p(S.Hi + S.Lo) / 2, std::atan2(Y, X)};
}
#else
Extended LibraryPow(Extended X, Extended Y) {
    return std::pow(X, Y);
}
TStd LibraryLn(TStd Z) {
    return std::log(Z);
}
#endif

TComp StirlingLnGamma(TComp Z) {
    TComp S = Ln(Z) * Cmplx(FP::Sub(Z.X, 0.5L), Z.Y) - Z;
    S.X = FP::Add(S.X, 0.91893853320467274175L);
    TComp U = CompOne / Z;
    TComp T = U;
    TComp U2 = Sqr(U);
    for (Extended C : StirlingCoefficients) {
        S = S + T * C;
        T = T * U2;
    }
    return S;
}
} // namespace

TComp operator*(TComp A, TComp B) {
    if (A.Y == 0) return {FP::Mul(A.X, B.X), FP::Mul(A.X, B.Y)};
    if (B.Y == 0) return {FP::Mul(A.X, B.X), FP::Mul(A.Y, B.X)};
    using Exact::InProductRange;
    if (InProductRange(A.X) && InProductRange(A.Y) && InProductRange(B.X) && InProductRange(B.Y))
        return {FP::Checked(Exact::DiffOfProducts(A.X, B.X, A.Y, B.Y)),
                FP::Checked(Exact::DiffOfProducts(A.Y, B.X, -A.X, B.Y))};
    return {FP::Sub(FP::Mul(A.X, B.X), FP::Mul(A.Y, B.Y)), FP::Add(FP::Mul(A.Y, B.X), FP::Mul(A.X, B.Y))};
}

TComp operator/(TComp A, TComp B) {
    if (B.Y == 0) {
        if (B.X == 0) FP::Raise(MsgZeroDivide);
        return {FP::Div(A.X, B.X), FP::Div(A.Y, B.X)};
    }
    if (B.X == 0) return {FP::Div(A.Y, B.Y), -FP::Div(A.X, B.Y)};
    if (A == CompZero) return CompZero;
    using Exact::InProductRange;
    if (InProductRange(A.X) && InProductRange(A.Y) && InProductRange(B.X) && InProductRange(B.Y)) {
        const Extended Den = B.X * B.X + B.Y * B.Y; // neither overflows nor underflows here
        return {FP::Checked(Exact::DiffOfProducts(A.X, B.X, -A.Y, B.Y) / Den),
                FP::Checked(Exact::DiffOfProducts(A.Y, B.X, A.X, B.Y) / Den)};
    }
    // Far out, both operands are scaled to parts below 2 first: no square
    // overflows or underflows, and the cancelling sums are still formed exactly.
    const int KA = TopExponent(A), KB = TopExponent(B);
    const TComp P = Scaled(A, -KA), Q = Scaled(B, -KB);
    const Extended Den = Q.X * Q.X + Q.Y * Q.Y;
    const Extended X = Exact::DiffOfProducts(P.X, Q.X, -P.Y, Q.Y) / Den;
    const Extended Y = Exact::DiffOfProducts(P.Y, Q.X, P.X, Q.Y) / Den;
    return CheckedScaled({X, Y}, KA - KB);
}

Extended Abs(TComp Z) {
    if (Z.Y == 0) return std::fabs(Z.X);
    if (Z.X == 0) return std::fabs(Z.Y);
    return FP::Checked(std::hypot(Z.X, Z.Y));
}

Extended Arg(TComp Z) {
    if (Z.X == 0) {
        Extended S = Z.Y > 0 ? 1 : (Z.Y < 0 ? -1 : 0);
        return S * 0.5L * Pi;
    }
    // On the positive real axis atan2(+-0, x) is exactly +-0: skip the call.
    if (Z.X > 0 && Z.Y == 0) return Z.Y;
    if (Z.X > 0 || Z.Y != 0) return FP::Atan2(Z.Y, Z.X);
    return Pi;
}

TComp Exp(TComp Z) {
    // A real argument: cos(+-0) is exactly 1 and sin(+-0) exactly +-0, so the
    // products are E and E * Y (a zero of Y's sign) without the two calls.
    if (Z.Y == 0) {
        const Extended E = FP::Exp(Z.X);
        return {E, FP::Mul(E, Z.Y)};
    }
    const Extended C = FP::Cos(Z.Y), S = FP::Sin(Z.Y);
    if (Z.X > 11356) { // e^x alone overflows first; its products with cos and sin may fit
        const Extended H = FP::Exp(Z.X / 2);
        return {FP::Mul(H, FP::Mul(H, C)), FP::Mul(H, FP::Mul(H, S))};
    }
    const Extended E = FP::Exp(Z.X);
    return {FP::Mul(E, C), FP::Mul(E, S)};
}

TComp Ln(TComp Z) {
    if (Z.Y == 0 && Z.X > 0) return {std::log(Z.X), Z.Y};
    if (Z == CompZero) FP::Raise(MsgZeroDivide);
    return Checked(LibraryLn(TStd(Z.X, Unsigned(Z.Y))));
}

TComp Sqr(TComp Z) {
    return {FP::Mul(FP::Sub(Z.X, Z.Y), FP::Add(Z.X, Z.Y)), FP::Mul(FP::Mul(Z.X, 2), Z.Y)};
}

TComp Sqrt(TComp Z) {
    if (Z.Y == 0 && Z.X >= 0) return {std::sqrt(Z.X), 0};
    return Checked(std::sqrt(TStd(Z.X, Unsigned(Z.Y))));
}

TComp Power(TComp Z, TComp W) {
    if (Z == CompZero) return CompZero;
    if (W.Y == 0) {
        if (Z.Y == 0 && (Z.X > 0 || IsWhole(W.X))) return FP::Checked(LibraryPow(Z.X, W.X));
        if (Z.Y == 0) return HalfTurns(W.X) * FP::Checked(LibraryPow(-Z.X, W.X)); // arg z = pi
        TComp R;
        if (IsWhole(W.X) && PowerByProducts(Z, W.X, R)) return R;
    }
    // exp(w ln z) multiplies the rounding of ln z by |w ln z|: up to 2 that costs
    // a few units of the last place, beyond it the logarithm and the product are
    // carried wide (about 1.5 us more).
    const TComp P = Ln(Z) * W;
    if (std::fabs(P.X) + std::fabs(P.Y) <= 2 || !WithinWide(W)) return Exp(P);
    return Checked(Exact::Exp(Exact::Widened(W) * Exact::Ln(Exact::Widened(Z))));
}

TComp Power(TComp Z, Extended R) {
    return Power(Z, TComp(R));
}

namespace {
// tanh x = (e^2x - 1) / (e^2x + 1) with e^x carried wide, for 2^-40 <= |x| <= 1/2:
// the libraries differ in the last place there (glibc's tanhl(0.5) is a unit low).
Extended WideTanh(Extended X) {
    const Exact::TPair E = Exact::Exp(Exact::TPair{X, 0});
    const Exact::TPair E2 = E * E;
    const Exact::TPair Q = (E2 + Exact::TPair{-1, 0}) / (E2 + Exact::TPair{1, 0});
    return Q.Hi + Q.Lo;
}

// Beyond this a real part's cosh overflows: tanh(x + iy) is sign(x) + i 4 sin y
// cos y e^-2|x| (MinGW's ctanhl answers a NaN there).
constexpr Extended TanhSaturated = 5678;

// Z = x + iy with |x| beyond TanhSaturated and y finite.
TComp SaturatedTanh(TComp Z) {
    const Extended Tiny = 4 * FP::Sin(Z.Y) * FP::Cos(Z.Y) * std::exp(-2 * std::fabs(Z.X));
    return {std::copysign(1.0L, Z.X), Tiny};
}

// Below this |y| neither cosh y nor sinh y overflows.
constexpr Extended HyperbolicFinite = 11000;

// sin z = sin x cosh y + i cos x sinh y, cos z = cos x cosh y - i sin x sinh y,
// with the real part reduced by the engine (ORDER QUADRANT: Shift 0 gives sin,
// 1 cos). Past HyperbolicFinite the library's function of the reduced argument
// is turned by the quarter turns instead, as it scales to avoid the overflow.
TComp TurnedSinCos(TComp Z, std::int32_t Shift) {
    if (std::isfinite(Z.X) && std::fabs(Z.X) > PiQuarter && std::fabs(Z.Y) < HyperbolicFinite) {
        Extended C, S;
        ReducedCosSin(Z.X, C, S);
        const Extended Ch = std::cosh(Z.Y), Sh = std::sinh(Z.Y);
        if (Shift == 0) return {S * Ch, C * Sh};
        return {C * Ch, -S * Sh};
    }
    std::int32_t Quadrant = Shift;
    TStd W = ToStd(Z);
    if (std::isfinite(Z.X) && std::fabs(Z.X) > PiQuarter) {
        const TReduced T = ReduceHalfPi(Z.X);
        Quadrant += T.Quadrant;
        W = {T.R.Hi + T.R.Lo, Z.Y};
    }
    switch (Quadrant & 3) {
    case 0: return Checked(std::sin(W));
    case 1: return Checked(std::cos(W));
    case 2: return Checked(-std::sin(W));
    default: return Checked(-std::cos(W));
    }
}
} // namespace

// On the imaginary axis the real-axis factors are exactly 0 and 1.
TComp Cos(TComp Z) {
    if (Z.Y == 0) return FP::Cos(Z.X);
    if (Z.X == 0) return {FP::Checked(std::cosh(Z.Y)), -Z.X * Z.Y};
    return TurnedSinCos(Z, 1);
}
TComp Sin(TComp Z) {
    if (Z.Y == 0) return FP::Sin(Z.X);
    if (Z.X == 0) return {Z.X, FP::Checked(std::sinh(Z.Y))};
    return TurnedSinCos(Z, 0);
}
// The period is pi: an odd count of quarter turns gives -1 / tan.
TComp Tan(TComp Z) {
    if (Z.Y == 0) return FP::Tan(Z.X);
    if (std::fabs(Z.Y) > TanhSaturated && std::isfinite(Z.X)) { // tan z = -i tanh(iz)
        const TComp T = SaturatedTanh(Cmplx(-Z.Y, Z.X));
        return {T.Y, -T.X};
    }
    if (!std::isfinite(Z.X) || std::fabs(Z.X) <= PiQuarter) return Checked(std::tan(ToStd(Z)));
    const TReduced T = ReduceHalfPi(Z.X);
    const TStd W = std::tan(TStd(T.R.Hi + T.R.Lo, Z.Y));
    if ((T.Quadrant & 1) == 0) return Checked(W);
    return Checked(TStd(-1) / W);
}

TComp Cosh(TComp Z) {
    if (Z.Y == 0) return FP::Checked(std::cosh(Z.X));
    return Checked(std::cosh(ToStd(Z)));
}
TComp Sinh(TComp Z) {
    if (Z.Y == 0) return FP::Checked(std::sinh(Z.X));
    return Checked(std::sinh(ToStd(Z)));
}
TComp Tanh(TComp Z) {
    if (Z.Y == 0) {
        const Extended A = std::fabs(Z.X);
        if (A >= 0x1p-40L && A <= 0.5L) return WideTanh(Z.X);
        return std::tanh(Z.X);
    }
    if (std::fabs(Z.X) > TanhSaturated && std::isfinite(Z.Y)) return SaturatedTanh(Z);
    return Checked(std::tanh(ToStd(Z)));
}

TComp ArcCosh(TComp Z) {
    if (Z.Y == 0 && Z.X >= 1) return std::acosh(Z.X);
    return Checked(std::acosh(TStd(Z.X, Unsigned(Z.Y))));
}

// On the cut, the imaginary axis beyond +-i, the value is the limit from the
// right above +i and from the left below -i.
TComp ArcSinh(TComp Z) {
    if (Z.Y == 0) return std::asinh(Z.X);
    // On the imaginary axis: i asin y inside [-i, i], beyond it the cut's side
    // as the sign of y says (MinGW's casinhl overflows at -1e10i).
    if (Z.X == 0 && std::fabs(Z.Y) <= 1) return {std::copysign(0.0L, Z.Y), std::asin(Z.Y)};
    if (Z.X == 0 && std::isfinite(Z.Y))
        return {std::copysign(std::acosh(std::fabs(Z.Y)), Z.Y), std::copysign(Pi / 2, Z.Y)};
    return Checked(std::asinh(TStd(Z.X == 0 ? std::copysign(0.0L, Z.Y) : Z.X, Z.Y)));
}

// On the cut, the real axis beyond +-1, the imaginary part is -pi/2 right of 1
// and +pi/2 left of -1.
TComp ArcTanh(TComp Z) {
    if (Z.Y == 0) {
        const Extended A = std::fabs(Z.X);
        if (A == 1) FP::Raise(MsgZeroDivide); // a pole, as ln 0
        if (A < 1) return std::atanh(Z.X);
        return Checked(std::atanh(TStd(Z.X, Z.X > 0 ? -0.0L : 0.0L)));
    }
    return Checked(std::atanh(ToStd(Z)));
}

std::int32_t Csgn(TComp Z) {
    if (Z.X > 0) return 1;
    if (Z.X < 0) return -1;
    if (Z.Y > 0) return 1;
    if (Z.Y < 0) return -1;
    return 0;
}

// -s * i * ArcCosh(z) with s the sign of i(1 - z): the real part lies in [0, pi].
TComp ArcCos(TComp Z) {
    if (Z.Y == 0 && std::fabs(Z.X) <= 1) return std::acos(Z.X);
    const auto S = static_cast<Extended>(Csgn(Cmplx(Z.Y, FP::Sub(1, Z.X))));
    const TComp W = ArcCosh(Z);
    return {S * W.Y, -S * W.X};
}

TComp Sgn(TComp Z) {
    Extended R = Abs(Z);
    if (R == 0) return CompZero;
    return Z / R;
}

namespace {
// Far left, by the reflection formula G(z) G(1 - z) = pi / sin(pi z), for Y >= 0:
// constant work where shifting would take one logarithm per unit. The imaginary
// part is the principal one of the formula's terms.
TComp ReflectedLnGamma(TComp Z) {
    // x = N + F with N whole and |F| <= 1/2, both exact: sin and cos of pi x are
    // those of pi F, negated for odd N, and exactly zero at the poles.
    const Extended N = std::nearbyint(Z.X);
    const Extended F = Z.X - N;
    if (Z.Y == 0 && F == 0) FP::Raise(MsgZeroDivide); // a pole: ln 0, as shifting finds
    const Extended Sign = std::fmod(N, 2) == 0 ? 1 : -1;
    const Extended SinA = Sign * std::sin(Pi * F);
    const Extended CosA = Sign * std::cos(Pi * F);
    // sin(pi z) = sin(pi x) cosh(pi y) + i cos(pi x) sinh(pi y): its modulus and
    // argument without overflow for large y.
    const Extended B = Pi * Z.Y;
    const Extended LnSin = B > 40 ? B - 0.693147180559945309417L : std::log(std::hypot(SinA, std::sinh(B)));
    const Extended ArgSin = Arg(Cmplx(SinA, CosA * std::tanh(B)));
    const TComp G = StirlingLnGamma(Cmplx(1 - Z.X, -Z.Y));
    return {1.14472988584940017414L - LnSin - G.X, -ArgSin - G.Y}; // ln pi - ln sin(pi z) - ln G(1 - z)
}

// The series with its leading terms wide; the real part of W is at least StirlingFrom.
Exact::TWideC WideStirlingLnGamma(Exact::TWideC W) {
    using namespace Exact;
    const TWideC Lead = (W - TWideC{{0.5L, 0}, {}}) * Ln(W) - W + TWideC{LnSqrt2Pi, {}};
    const TComp U = CompOne / Rounded(W);
    const TComp U2 = Sqr(U);
    TComp T = U, Series = CompZero;
    for (Extended C : StirlingCoefficients) {
        Series = Series + T * C;
        T = T * U2;
    }
    return Lead + Widened(Series);
}

// ln G(Z) carried wide, for a real part from LnGammaReflectBelow and parts within
// the wide range. The shifts add whole units to the wide real part, so they are exact.
Exact::TWideC WideLnGamma(Exact::TWideC Z) {
    using namespace Exact;
    if (Z.Y.Hi < 0) {
        const TWideC G = WideLnGamma({Z.X, -Z.Y});
        return {G.X, -G.Y};
    }
    TWideC Logs{};
    while (Z.X.Hi < StirlingFrom) {
        Logs = Logs + Ln(Z);
        Z.X = Z.X + TPair{1, 0};
    }
    return WideStirlingLnGamma(Z) - Logs;
}

bool WideLnGammaFits(TComp Z) {
    return Z.X >= LnGammaReflectBelow && WithinWide(Z);
}

// Z + 1, exact as a wide value.
Exact::TWideC PlusOne(TComp Z) {
    return {Exact::TPair{Z.X, 0} + Exact::TPair{1, 0}, {Z.Y, 0}};
}
} // namespace

TComp FactorialOf(TComp Z) {
    if (!WideLnGammaFits(Z)) return Exp(LnGamma(Z + CompOne));
    return Checked(Exact::Exp(WideLnGamma(PlusOne(Z))));
}

TComp BinomialOf(TComp A, TComp B) {
    const TComp D = A - B;
    if (!WideLnGammaFits(A) || !WideLnGammaFits(B) || !WideLnGammaFits(D))
        return (FactorialOf(A) / FactorialOf(B)) / FactorialOf(D);
    using namespace Exact;
    const TWideC LnD = WideLnGamma(TWideC{TPair{A.X, 0} + TPair{-B.X, 0}, TPair{A.Y, 0} + TPair{-B.Y, 0}} +
                                   TWideC{{1, 0}, {}});
    const TWideC LnB = WideLnGamma(PlusOne(B));
    const TWideC LnA = WideLnGamma(PlusOne(A));
    const TComp R = Checked(Exact::Exp(LnA - LnB - LnD));
    return A.IsReal() && B.IsReal() ? R.X : R;
}

TComp LnGamma(TComp Z) {
    if (Z.Y < 0) return Conj(LnGamma(Conj(Z)));
    if (WideLnGammaFits(Z)) return Exact::Rounded(WideLnGamma(Exact::Widened(Z)));
    if (Z.X >= StirlingFrom) return StirlingLnGamma(Z);
    if (Z.X < LnGammaReflectBelow) return ReflectedLnGamma(Z);
    // Shift the real part up to StirlingFrom one unit at a time, then subtract the
    // logarithms of the shifted-over arguments, the highest first.
    std::vector<Extended> Shifted{Z.X};
    while (Shifted.back() < StirlingFrom)
        Shifted.push_back(FP::Add(Shifted.back(), 1));
    TComp S = StirlingLnGamma(Cmplx(Shifted.back(), Z.Y));
    for (auto It = Shifted.rbegin() + 1; It != Shifted.rend(); ++It)
        S = S - Ln(Cmplx(*It, Z.Y));
    return S;
}

TComp Sum(const TCompList& List) {
    TComp S = CompZero;
    for (TComp Z : List)
        S = S + Z;
    return S;
}

TComp SumOfSquares(const TCompList& List) {
    TComp S = CompZero;
    for (TComp Z : List)
        S = S + Sqr(Z);
    return S;
}

// The sum is carried wide, so cancelling items leave the mean correctly rounded;
// near the top of the range the items are scaled down first, so that the sum
// cannot overflow where the mean does not.
TComp Mean(const TCompList& List) {
    if (List.empty()) FP::Raise(MsgInvalidOp); // 0 / 0
    int Top = INT_MIN;
    for (TComp Z : List)
        if (Z != CompZero) Top = std::max(Top, TopExponent(Z));
    const int Down = Top < 16300 ? 0 : 64;
    Exact::TPair X, Y;
    for (TComp Z : List) {
        X = X + Exact::TPair{std::scalbn(Z.X, -Down), 0};
        Y = Y + Exact::TPair{std::scalbn(Z.Y, -Down), 0};
    }
    const Exact::TPair N{static_cast<Extended>(List.size()), 0};
    return CheckedScaled(Exact::Rounded({X / N, Y / N}), Down);
}

// Two passes: the mean, then the squares of the deviations, every deviation and
// square exact in a pair and scaled by a power of two near the largest, with the
// deviations' own sum as the correction for the rounding of the mean.
TComp StdDev(const TCompList& List) {
    using Exact::TPair;
    const TComp M = Mean(List);
    int Top = INT_MIN;
    for (TComp Z : List)
        if (Z != M) Top = std::max(Top, TopExponent(Z - M)); // overflows where the deviation does
    if (Top == INT_MIN) return CompZero;
    Exact::TWideC Squares{}, Deviations{};
    bool Real = true;
    for (TComp Z : List) {
        const Exact::TWideC D{Exact::Scaled(Exact::TwoSum(Z.X, -M.X), -Top), Exact::Scaled(Exact::TwoSum(Z.Y, -M.Y), -Top)};
        Squares = Squares + D * D;
        Deviations = Deviations + D;
        Real = Real && Z.IsReal();
    }
    const TPair N{static_cast<Extended>(List.size()), 0};
    const Exact::TWideC C2 = Deviations * Deviations;
    const Exact::TWideC V = Squares - Exact::TWideC{C2.X / N, C2.Y / N};
    TComp Variance = Exact::Rounded({V.X / N, V.Y / N});
    if (Real) Variance = Variance.X < 0 ? CompZero : TComp(Variance.X);
    return CheckedScaled(Sqrt(Variance), Top);
}

Extended Factorial(std::uint32_t N) {
    if (N > MaxFactorial) FP::Raise(MsgOverflow);
    Exact::TWide P(1);
    for (std::uint32_t K = 2; K <= N; ++K)
        P.MulBy(K);
    return P.Value();
}

Extended RealFactorial(Extended V) {
    if (!IsWhole(V)) return FactorialOf(V).X; // the imaginary part is a residue of the poles' pi
    if (V < 0) FP::Raise(MsgZeroDivide);
    if (V > MaxFactorial) FP::Raise(MsgOverflow);
    return Factorial(static_cast<std::uint32_t>(V));
}

namespace {
// One Newton step on R^B = A for real A > 0: it removes the error of 1/B's
// rounding, which the power magnifies by ln A (a cube root of 1E4000 would be
// off in the 16th digit).
Extended RefinedRoot(Extended A, Extended B, Extended R) {
    if (!std::isnormal(R)) return R;
    const Extended T = std::pow(R, B);
    if (!std::isnormal(T)) return R;
    return R - R * ((T - A) / (B * T));
}
} // namespace

TComp Root(TComp A, TComp B) {
    const TComp E = CompOne / B; // B = 0: division by zero
    if (A == CompZero) return CompZero;
    if (A.IsReal() && B.IsReal()) {
        if (A.X > 0) return RefinedRoot(A.X, B.X, FP::Checked(std::pow(A.X, E.X)));
        // |A|^(1/B) on the ray at pi / B
        return HalfTurns(E.X) * RefinedRoot(-A.X, B.X, FP::Checked(std::pow(-A.X, E.X)));
    }
    const Extended Top = std::max(std::fabs(B.X), std::fabs(B.Y));
    if ((E.Y == 0 && IsWhole(E.X)) || !WithinWide(B) || Top < 0x1p-1000L) return Power(A, E);
    using namespace Exact;
    const TPair C{B.X, 0}, D{B.Y, 0};
    const TPair Q = C * C + D * D;
    const TWideC Reciprocal{C / Q, -(D / Q)};
    return Checked(Exact::Exp(Reciprocal * Exact::Ln(Widened(A))));
}

namespace {
#if defined(__SIZEOF_INT128__)
using TUint128 = unsigned __int128;

constexpr std::uint64_t Pow10U64(int N) {
    std::uint64_t R = 1;
    while (N-- > 0)
        R *= 10;
    return R;
}
constexpr std::uint64_t Ten17 = Pow10U64(17);
constexpr std::uint64_t Ten18 = Pow10U64(18);

// V = M * 2^Exp2 scaled by 10^Scale, as the exact fraction Num / Den; false when
// either does not fit in 128 bits.
bool ScaledFraction(std::uint64_t M, int Exp2, int Scale, TUint128& Num, TUint128& Den) {
    Num = M;
    Den = 1;
    if (Scale >= 0) {
        if (Scale > 19) return false;
        Num *= Pow10U64(Scale);
    } else {
        if (-Scale > 19) return false;
        Den = Pow10U64(-Scale);
    }
    if (Exp2 >= 0) {
        if (Exp2 > 127 || (Num >> (127 - Exp2)) != 0) return false;
        Num <<= Exp2;
    } else {
        if (-Exp2 > 127 || (Den >> (127 + Exp2)) != 0) return false;
        Den <<= -Exp2;
    }
    return true;
}

// The 18 significant digits of a positive V rounded to nearest, ties to even,
// and its exponent (V = 0.d1..d18 x 10^E), in exact 128-bit integer arithmetic:
// the same digits printf("%.17Le") writes. False for magnitudes whose fraction
// does not fit (below about 1e-3 and above about 1e38); the caller then asks printf.
// Num / Den and Num % Den; a power-of-two Den (every value below 1e18) is a shift.
TUint128 DivMod(TUint128 Num, TUint128 Den, TUint128& Rem) {
    if ((Den & (Den - 1)) == 0) {
        const auto Low = static_cast<std::uint64_t>(Den);
        const int Shift =
            Low != 0 ? __builtin_ctzll(Low) : 64 + __builtin_ctzll(static_cast<std::uint64_t>(Den >> 64));
        Rem = Num & (Den - 1);
        return Num >> Shift;
    }
    const TUint128 Q = Num / Den;
    Rem = Num - Q * Den;
    return Q;
}

bool EighteenDigits(Extended V, char* Digits, std::int32_t& E) {
    // V = M * 2^Exp2, read from the 64-bit significand and the biased exponent.
    std::uint64_t M;
    std::uint16_t SignExp;
    std::memcpy(&M, &V, sizeof M);
    std::memcpy(&SignExp, reinterpret_cast<const char*>(&V) + sizeof M, sizeof SignExp);
    if ((M >> 63) == 0) return false; // zero or subnormal
    const int Exp2 = (SignExp & 0x7FFF) - 16383 - 63;
    if (Exp2 > 64 || Exp2 < -200) return false; // no 128-bit fraction holds it
    // Scale so that V * 10^Scale lies in [1e17, 1e18). V is in [2^(Exp2+63), 2^(Exp2+64)),
    // and floor((Exp2+63) * log10(2)) can be one below floor(log10(V)); the loop corrects it.
    int Scale = 17 - ((Exp2 + 63) * 78913 >> 18);
    TUint128 Num, Den, Q, Rem;
    for (int Try = 0;; ++Try) {
        if (Try == 3 || !ScaledFraction(M, Exp2, Scale, Num, Den)) return false;
        Q = DivMod(Num, Den, Rem);
        if (Q < Ten17)
            ++Scale;
        else if (Q >= Ten18)
            --Scale;
        else
            break;
    }
    if (Rem > Den - Rem || (Rem == Den - Rem && (Q & 1) != 0)) ++Q;
    E = 18 - Scale;
    if (Q == Ten18) {
        Q = Ten17;
        ++E;
    }
    auto D = static_cast<std::uint64_t>(Q);
    for (int I = 17; I >= 0; --I, D /= 10)
        Digits[I] = static_cast<char>('0' + D % 10);
    return true;
}
#else
bool EighteenDigits(Extended, char*, std::int32_t&) {
    return false;
}
#endif
} // namespace

std::u16string FloatToGeneral(Extended Value, std::int32_t Precision, char16_t Separator) {
    if (Value == 0) return u"0";
    std::int32_t P = Precision < 2 ? 2 : (Precision > 18 ? 18 : Precision);
    std::u16string Text;
    if (Value < 0) Text += u'-';

    char Digits[18]; // the first N are the digits
    std::int32_t N = 18;
    std::int32_t E; // value = 0.d1d2... x 10^E
    if (!EighteenDigits(std::fabs(Value), Digits, E)) {
        // printf rounds correctly (to nearest, ties to even) to the 18 digits we start from.
        char Buf[64];
        std::snprintf(Buf, sizeof Buf, "%.17Le", std::fabs(Value));
        Digits[0] = Buf[0];
        std::memcpy(Digits + 1, Buf + 2, 17);
        E = std::atoi(std::strchr(Buf, 'e') + 1) + 1;
    }

    if (P < 18) {
        bool RoundUp = Digits[P] >= '5';
        N = P;
        for (std::int32_t I = P - 1; RoundUp && I >= 0; --I) {
            if (Digits[I] == '9') {
                Digits[I] = '0';
            } else {
                ++Digits[I];
                RoundUp = false;
            }
        }
        if (RoundUp) {
            Digits[0] = '1';
            N = 1;
            ++E;
        }
    }
    while (N > 1 && Digits[N - 1] == '0')
        --N;
    const std::string_view Shown(Digits, static_cast<std::size_t>(N));

    auto Append = [&Text](std::string_view S) { Text.append(S.begin(), S.end()); };
    if (E > P || E < -3) {
        Text += static_cast<char16_t>(Digits[0]);
        if (N > 1) {
            Text += Separator;
            Append(Shown.substr(1));
        }
        Text += u'E';
        if (E - 1 < 0) Text += u'-';
        Append(std::to_string(E - 1 < 0 ? 1 - E : E - 1));
    } else if (E > 0) {
        Append(Shown.substr(0, std::min(N, E)));
        for (std::int32_t I = N; I < E; ++I)
            Text += u'0';
        if (N > E) {
            Text += Separator;
            Append(Shown.substr(E));
        }
    } else {
        Text += u'0';
        Text += Separator;
        Text.append(static_cast<std::size_t>(-E), u'0');
        Append(Shown);
    }
    return Text;
}

std::u16string CompToStr(TComp Z, char16_t Separator, std::int32_t Precision) {
    auto Part = [&](Extended V) { return FloatToGeneral(V, Precision, Separator); };
    const Extended T = NegligibleRatio;
    if (Z.Y == 0) return Part(Z.X);
    if (Z.X == 0) return Part(Z.Y) + u'i';
    if (std::fabs(Z.Y) < std::fabs(Z.X) && std::fabs(Z.Y / Z.X) < T) return Part(Z.X);
    if (std::fabs(Z.X) < std::fabs(Z.Y) && std::fabs(Z.X / Z.Y) < T) return Part(Z.Y) + u'i';
    if (Z.Y > 0) return Part(Z.X) + u'+' + Part(Z.Y) + u'i';
    return Part(Z.X) + Part(Z.Y) + u'i';
}

std::u16string CompToStr(TComp Z, std::int32_t Precision) {
    return CompToStr(Z, LocaleDecimalSeparator(), Precision);
}

char16_t LocaleDecimalSeparator() {
    const std::lconv* Conv = std::localeconv();
    if (Conv && Conv->decimal_point && Conv->decimal_point[0] > 0 && Conv->decimal_point[1] == 0)
        return static_cast<char16_t>(Conv->decimal_point[0]);
    return u'.';
}
