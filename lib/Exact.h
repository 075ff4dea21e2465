// Error-free steps on extended floats: a product or a sum as the rounded result
// plus the exact rounding error, and numbers carried as such a pair. The complex
// product uses them where its two terms cancel; the factorial and the binomial
// coefficient of whole numbers carry their running products in them, so a
// thousand roundings still leave the result correctly rounded.
//
// Callers keep the operands of TwoProduct within SafeProductRange, so that the
// split cannot overflow and the error term cannot underflow.
#pragma once
#include "Complex.h"

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

// A number as Hi + Lo with a separate power of two, so long products neither
// overflow nor lose the low half: the value is (Hi + Lo) * 2^Exp2.
class TWide {
  public:
    TWide() = default;
    explicit TWide(Extended V) : F{V, 0} { Normalize(); }

    // Multiplies by a whole number below 2^64 (exact in an extended float).
    void MulBy(Extended M) {
        const TPair P = TwoProduct(F.Hi, M);
        F = Renormalized(P.Hi, P.Lo + F.Lo * M);
        Normalize();
    }
    // Divides by a non-zero whole number below 2^64.
    void DivBy(Extended D) {
        const Extended Q = F.Hi / D;
        const TPair P = TwoProduct(Q, D);
        const Extended R = ((F.Hi - P.Hi) - P.Lo) + F.Lo; // the remainder, nearly exact
        F = Renormalized(Q, R / D);
        Normalize();
    }
    void MulBy(const TWide& W) {
        const TPair P = TwoProduct(F.Hi, W.F.Hi);
        F = Renormalized(P.Hi, P.Lo + F.Hi * W.F.Lo + F.Lo * W.F.Hi);
        Exp2 += W.Exp2;
        Normalize();
    }
    void DivBy(const TWide& W) {
        const Extended Q = F.Hi / W.F.Hi;
        const TPair P = TwoProduct(Q, W.F.Hi);
        const Extended R = ((F.Hi - P.Hi) - P.Lo) + F.Lo - Q * W.F.Lo;
        F = Renormalized(Q, R / W.F.Hi);
        Exp2 -= W.Exp2;
        Normalize();
    }
    // The value rounded to an extended float; beyond the range an infinity (the
    // caller checks), below it a subnormal or zero.
    Extended Value() const { return std::scalbn(F.Hi + F.Lo, static_cast<int>(Exp2)); }

  private:
    static TPair Renormalized(Extended Hi, Extended Lo) {
        const Extended S = Hi + Lo;
        return {S, Lo - (S - Hi)};
    }
    // Keeps Hi in [1, 2) so that every product stays inside the product range.
    void Normalize() {
        if (F.Hi == 0) return;
        const int E = std::ilogb(F.Hi);
        F.Hi = std::scalbn(F.Hi, -E);
        F.Lo = std::scalbn(F.Lo, -E);
        Exp2 += E;
    }

    TPair F{1, 0};
    long Exp2 = 0;
};
} // namespace Exact
