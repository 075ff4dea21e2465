#include "TestSupport.h"

#include <cstdio>
#include <cstring>

namespace {
bool PartNear(Extended A, Extended E, Extended Tol) {
    Extended Scale = std::fabs(E) > 1 ? std::fabs(E) : 1;
    return std::fabs(A - E) <= Tol * Scale;
}

std::string Show(TComp Z) {
    char Buf[96];
    std::snprintf(Buf, sizeof Buf, "(%.21Lg, %.21Lg)", Z.X, Z.Y);
    return Buf;
}
} // namespace

::testing::AssertionResult CompNear(TComp Actual, TComp Expected, Extended RelTol) {
    if (PartNear(Actual.X, Expected.X, RelTol) && PartNear(Actual.Y, Expected.Y, RelTol))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << Show(Actual) << " is not near " << Show(Expected);
}

std::string U8(std::u16string_view Text) {
    return ToUtf8(Text);
}

std::string Bits(Extended V) {
    unsigned char B[10];
    std::memcpy(B, &V, 10);
    char S[32];
    std::snprintf(S, sizeof S, "%02X%02X:%02X%02X%02X%02X%02X%02X%02X%02X", B[9], B[8], B[7], B[6], B[5],
                  B[4], B[3], B[2], B[1], B[0]);
    return S;
}
