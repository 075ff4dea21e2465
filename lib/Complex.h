// The complex value every calculation works with, its arithmetic and elementary
// functions, and its text form. Both parts are 80-bit extended floats.
//
// Floating-point faults never produce an infinity or a NaN: every arithmetic
// step goes through the checked helpers of namespace FP, which test operands
// and results and throw EMathError with the fault's fixed message. This is done
// explicitly because the compiler may move or drop reads of the FPU flags.
#pragma once
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

static_assert(LDBL_MANT_DIG == 64 && LDBL_MAX_EXP == 16384,
              "long double must be the x87 80-bit extended type");

using Extended = long double;

// A floating-point or integer arithmetic fault. Its message is one of the four below.
class EMathError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

inline constexpr const char* MsgZeroDivide = "Floating point division by zero";
inline constexpr const char* MsgInvalidOp = "Invalid floating point operation";
inline constexpr const char* MsgOverflow = "Floating point overflow";
inline constexpr const char* MsgIntDivByZero = "Division by zero";

namespace FP {
[[noreturn]] void Raise(const char* Message);

// A non-finite result of finite operands is an overflow, a NaN an invalid operation.
inline Extended Checked(Extended R) {
    if (!std::isfinite(R)) [[unlikely]]
        Raise(std::isnan(R) ? MsgInvalidOp : MsgOverflow);
    return R;
}
inline Extended Add(Extended A, Extended B) {
    return Checked(A + B);
}
inline Extended Sub(Extended A, Extended B) {
    return Checked(A - B);
}
inline Extended Mul(Extended A, Extended B) {
    return Checked(A * B);
}
inline Extended Div(Extended A, Extended B) {
    if (B == 0) [[unlikely]]
        Raise(A == 0 ? MsgInvalidOp : MsgZeroDivide);
    return Checked(A / B);
}
Extended Sqrt(Extended A); // negative: invalid operation
Extended Ln(Extended A);   // zero: division by zero; negative: invalid operation
Extended Exp(Extended A);  // overflow above about 11356.5
Extended Sin(Extended A);
Extended Cos(Extended A);
Extended Tan(Extended A);
Extended Atan2(Extended Y, Extended X);
} // namespace FP

struct TComp {
    Extended X = 0; // real part
    Extended Y = 0; // imaginary part

    constexpr TComp() = default;
    constexpr TComp(Extended R) : X(R) {} // implicit on purpose: a real is a complex number
    constexpr TComp(Extended Re, Extended Im) : X(Re), Y(Im) {}

    bool IsReal() const { return Y == 0; }
};

using TCompList = std::vector<TComp>;

inline constexpr TComp CompZero{0, 0};
inline constexpr TComp CompOne{1, 0};
inline constexpr TComp CompI{0, 1};
inline constexpr TComp CompTen{10, 0};

// The extended value nearest to pi, 4000:C90FDAA22168C235.
inline constexpr Extended Pi = 0xC90FDAA22168C235p-62L;

// B(2k) / (2k(2k-1)) for k = 1..8, as used by the Stirling series of LnGamma and Gamma.
inline constexpr Extended StirlingCoefficients[8] = {
    0.0833333333333333333L,   -0.00277777777777777778L, 0.000793650793650793651L, -0.000595238095238095238L,
    0.000841750841750841751L, -0.00191752691752691753L, 0.00641025641025641026L,  -0.0295506535947712418L,
};

inline TComp operator-(TComp A) {
    return {-A.X, -A.Y};
}
inline TComp operator+(TComp A, TComp B) {
    return {FP::Add(A.X, B.X), FP::Add(A.Y, B.Y)};
}
inline TComp operator-(TComp A, TComp B) {
    return {FP::Sub(A.X, B.X), FP::Sub(A.Y, B.Y)};
}
// Products and quotients are correct in each part to about one rounding, also
// where the part's terms cancel; a quotient is scaled, so it fails only when its
// value is out of range (or the divisor is zero).
TComp operator*(TComp A, TComp B);
TComp operator/(TComp A, TComp B);
inline TComp operator*(TComp A, Extended R) {
    return {FP::Mul(R, A.X), FP::Mul(R, A.Y)};
}
inline TComp operator*(Extended R, TComp A) {
    return A * R;
}
// The real part is divided first, so 0/0 in it is an invalid operation even when Y is not zero.
inline TComp operator/(TComp A, Extended R) {
    Extended X = FP::Div(A.X, R);
    return {X, FP::Div(A.Y, R)};
}
inline bool operator==(TComp A, TComp B) {
    return A.X == B.X && A.Y == B.Y;
}
inline bool operator!=(TComp A, TComp B) {
    return !(A == B);
}

inline TComp Cmplx(Extended X, Extended Y) {
    return {X, Y};
}
inline Extended Re(TComp Z) {
    return Z.X;
}
inline Extended Im(TComp Z) {
    return Z.Y;
}
inline TComp Conj(TComp Z) {
    return {Z.X, -Z.Y};
}
// The functions below answer within a few units of the last place in each part
// that is not a residue of the other. Real arguments in a function's real domain
// give real results. On a branch cut the value is that of the side the
// logarithm's convention names: the negative real axis has the argument +pi.
Extended Abs(TComp Z); // modulus, scaled: no square overflows
Extended Arg(TComp Z); // principal argument; the negative real axis gives +pi
TComp Exp(TComp Z);
TComp Ln(TComp Z); // Ln(0): division by zero
TComp Sqr(TComp Z);
TComp Sqrt(TComp Z);
// 0^w is 0 for every w. A real base with a whole exponent is exact to a rounding;
// a complex base with a whole exponent goes by products carried wide.
TComp Power(TComp Z, TComp W);
TComp Power(TComp Z, Extended R);
TComp Sin(TComp Z);
TComp Cos(TComp Z);
TComp Tan(TComp Z);
TComp Sinh(TComp Z);
TComp Cosh(TComp Z);
TComp Tanh(TComp Z);
TComp ArcCos(TComp Z);  // real part in [0, pi]; ArcCos(x > 1) has a positive imaginary part
TComp ArcCosh(TComp Z);
TComp ArcSinh(TComp Z);
TComp ArcTanh(TComp Z); // +-1: division by zero
std::int32_t Csgn(TComp Z);
TComp Sgn(TComp Z);
// A real part below StirlingFrom is shifted up to it one unit at a time (from
// there the series' first omitted term is below 1E-20); below
// LnGammaReflectBelow the reflection formula answers in constant time instead.
// There |G(z)| is below half the smallest subnormal whatever the imaginary part
// (it is at most 1 / (G(4001) * 3.6E-4951), about 1E-7720), so exp of either
// form is zero and the factorial prints the same. A pole fails with "Floating
// point division by zero", as ln 0 does when shifting reaches it.
TComp LnGamma(TComp Z);
inline constexpr Extended LnGammaReflectBelow = -4000;
// G(Z + 1) and G(A + 1) / (G(B + 1) G(A - B + 1)), through log-gamma carried wide
// so the exponential keeps the digits a large logarithm would cost. Poles fail
// as LnGamma does; a value beyond the range with "Floating point overflow".
TComp FactorialOf(TComp Z);
TComp BinomialOf(TComp A, TComp B);
// N! correctly rounded, carried wide; 1754! is the largest that fits.
inline constexpr std::uint32_t MaxFactorial = 1754;
Extended Factorial(std::uint32_t N);
// V! = G(V + 1) of a real: whole V exactly, the others through the wide
// log-gamma; a negative whole V is a pole ("Floating point division by zero").
Extended RealFactorial(Extended V);
// The B-th root, A^(1/B) with 1/B taken exact: real roots by a Newton step on
// the power, the others through a wide reciprocal and logarithm.
TComp Root(TComp A, TComp B);
inline constexpr Extended StirlingFrom = 16;
TComp Sum(const TCompList& List);
TComp SumOfSquares(const TCompList& List);
TComp Mean(const TCompList& List);   // no overflow where the mean fits; empty: invalid operation
TComp StdDev(const TCompList& List); // population form, complex squares; empty: invalid operation

// Formatting. A part whose ratio to the other is below NegligibleRatio is not printed.
inline constexpr Extended NegligibleRatio = 1e-16L;
std::u16string FloatToGeneral(Extended Value, std::int32_t Precision, char16_t Separator);
std::u16string CompToStr(TComp Z, std::int32_t Precision); // the locale's decimal separator
std::u16string CompToStr(TComp Z, char16_t Separator, std::int32_t Precision);
char16_t LocaleDecimalSeparator();
