// Error-free steps on extended floats: a product or a sum as the rounded result
// plus the exact rounding error, and numbers carried as such a pair, to about
// twice the extended precision. The complex product uses them where its two
// terms cancel; the factorial and the binomial coefficient of whole numbers
// carry their running products in them; powers and the log-gamma function take
// their logarithms wide, so that exp of a large logarithm keeps its digits.
//
// Callers keep the operands of TwoProduct within SafeProductRange, so that the
// split cannot overflow and the error term cannot underflow.
#pragma once
#include "Complex.h"

#include <algorithm>
#include <cmath>

namespace Exact {
struct TPair {
    Extended Hi = 0; // the rounded value
    Extended Lo = 0; // what rounding dropped: Hi + Lo is exact
};

inline constexpr Extended SafeProductRange = 0x1p8000L;

inline bool InProductRange(Extended A) {
    const Extended M = std::fabs(A);
    return M < SafeProductRange && (M > 1 / SafeProductRange || M == 0);
}

// A = Hi + Lo with 32-bit halves (Veltkamp).
inline TPair Split(Extended A) {
    const Extended C = A * 4294967297.0L; // 2^32 + 1
    const Extended Hi = C - (C - A);
    return {Hi, A - Hi};
}

// A * B = Hi + Lo exactly (Dekker).
inline TPair TwoProduct(Extended A, Extended B) {
    const Extended P = A * B;
    const TPair SA = Split(A), SB = Split(B);
    const Extended E = ((SA.Hi * SB.Hi - P) + SA.Hi * SB.Lo + SA.Lo * SB.Hi) + SA.Lo * SB.Lo;
    return {P, E};
}

// A + B = Hi + Lo exactly, for any order of magnitudes (Knuth).
inline TPair TwoSum(Extended A, Extended B) {
    const Extended S = A + B;
    const Extended V = S - A;
    return {S, (A - (S - V)) + (B - V)};
}

// A * B - C * D with one rounding's error or little more, also when the two
// products cancel. Every operand must be within the product range.
inline Extended DiffOfProducts(Extended A, Extended B, Extended C, Extended D) {
    const TPair P = TwoProduct(A, B), Q = TwoProduct(C, D);
    const TPair S = TwoSum(P.Hi, -Q.Hi);
    return S.Hi + (S.Lo + (P.Lo - Q.Lo));
}

// Sums, products and quotients of pairs, to about twice the extended precision
// (within the product range).
inline TPair Renormalized(Extended Hi, Extended Lo) {
    const Extended S = Hi + Lo;
    return {S, Lo - (S - Hi)};
}
inline TPair operator+(TPair A, TPair B) {
    const TPair S = TwoSum(A.Hi, B.Hi);
    return Renormalized(S.Hi, S.Lo + (A.Lo + B.Lo));
}
inline TPair operator-(TPair A) {
    return {-A.Hi, -A.Lo};
}
inline TPair Scaled(TPair A, int Exp2) { // times 2^Exp2
    return {std::scalbn(A.Hi, Exp2), std::scalbn(A.Lo, Exp2)};
}
inline TPair operator*(TPair A, TPair B) {
    const TPair P = TwoProduct(A.Hi, B.Hi);
    return Renormalized(P.Hi, P.Lo + (A.Hi * B.Lo + A.Lo * B.Hi));
}
inline TPair operator/(TPair A, TPair B) {
    const Extended Q = A.Hi / B.Hi;
    const TPair P = TwoProduct(Q, B.Hi);
    const Extended R = ((A.Hi - P.Hi) - P.Lo) + A.Lo - Q * B.Lo; // the remainder, nearly exact
    return Renormalized(Q, R / B.Hi);
}

// A number as Hi + Lo with a separate power of two, so long products neither
// overflow nor lose the low half: the value is (Hi + Lo) * 2^Exp2.
class TWide {
  public:
    explicit TWide(Extended V) : F{V, 0} { Normalize(); }

    void MulBy(Extended M) { // M whole and below 2^64, or otherwise within the product range
        F = F * TPair{M, 0};
        Normalize();
    }
    void DivBy(Extended D) {
        F = F / TPair{D, 0};
        Normalize();
    }
    // The value rounded to an extended float; beyond the range an infinity (the
    // caller checks), below it a subnormal or zero.
    Extended Value() const { return std::scalbn(F.Hi + F.Lo, static_cast<int>(Exp2)); }

  private:
    // Keeps Hi in [1, 2) so that every product stays inside the product range.
    void Normalize() {
        if (F.Hi == 0) return;
        const int E = std::ilogb(F.Hi);
        F = Scaled(F, -E);
        Exp2 += E;
    }

    TPair F{1, 0};
    long Exp2 = 0;
};

// A complex number with both parts carried wide and one power of two: whole
// powers by repeated products keep twice the digits they print.
class TWideComp {
  public:
    explicit TWideComp(TComp Z) : FX{Z.X, 0}, FY{Z.Y, 0} { Normalize(); }

    void MulBy(const TWideComp& W) {
        const TPair X = FX * W.FX + -(FY * W.FY);
        FY = FX * W.FY + FY * W.FX;
        FX = X;
        Exp2 += W.Exp2;
        Normalize();
    }
    void Invert() { // 1 / (x + iy) = (x - iy) / (x^2 + y^2); not for zero
        const TPair D = FX * FX + FY * FY;
        FX = FX / D;
        FY = -(FY / D);
        Exp2 = -Exp2;
        Normalize();
    }
    TComp Value() const {
        const int E = static_cast<int>(Exp2);
        return {std::scalbn(FX.Hi + FX.Lo, E), std::scalbn(FY.Hi + FY.Lo, E)};
    }

  private:
    void Normalize() {
        const Extended Top = std::max(std::fabs(FX.Hi), std::fabs(FY.Hi));
        if (Top == 0) return;
        const int E = std::ilogb(Top);
        FX = Scaled(FX, -E);
        FY = Scaled(FY, -E);
        Exp2 += E;
    }

    TPair FX, FY;
    long Exp2 = 0;
};
// A complex number with wide parts and no separate exponent: logarithms, and
// the arguments of exponentials, whose magnitudes stay below about 2^1000.
struct TWideC {
    TPair X, Y;
};
inline TWideC operator+(TWideC A, TWideC B) {
    return {A.X + B.X, A.Y + B.Y};
}
inline TWideC operator-(TWideC A, TWideC B) {
    return {A.X + -B.X, A.Y + -B.Y};
}
inline TWideC operator*(TWideC A, TWideC B) {
    return {A.X * B.X + -(A.Y * B.Y), A.X * B.Y + A.Y * B.X};
}
inline TWideC Widened(TComp Z) {
    return {{Z.X, 0}, {Z.Y, 0}};
}
inline TComp Rounded(TWideC Z) {
    return {Z.X.Hi + Z.X.Lo, Z.Y.Hi + Z.Y.Lo};
}

inline constexpr TPair Ln2{0xB17217F7D1CF79ACp-64L, -0xD871319FF0342543p-130L};
inline constexpr TPair HalfPi{0xC90FDAA22168C235p-63L, -0xECE675D1FC8F8CBBp-129L};
inline constexpr TPair LnSqrt2Pi{0xEB3F8E4325F5A535p-64L, -0xD686DFFD77CDBFB8p-129L};

TPair Ln(TPair X);                         // X > 0
TPair Exp(TPair F);                        // |F| <= 1/2
void CosSin(TPair T, TPair& C, TPair& S);  // |T| up to a few turns
TPair Arg(TPair X, TPair Y);               // the principal argument; -1 + 0i gives +pi
TWideC Ln(TWideC Z);                       // Z = 0: "Floating point division by zero"
// e^Z rounded to extended parts; out of range an infinity in a part (callers check).
TComp Exp(TWideC Z);
} // namespace Exact
