#include "TestSupport.h"

#include <cstdio>

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
