// The engine's argument reduction: large and awkward arguments of sin, cos and
// tan against their correctly rounded values (from mpmath at 20000 bits).
#include "Trig.h"
#include "TestSupport.h"

#include <cmath>

namespace {
struct TTrigCase {
    Extended X, Sin, Cos, Tan;
};
// Hex literals: each is the exact extended value. The comment is X.
constexpr TTrigCase TrigCases[] = {
        {0xDE0B6B3A76400000P-4L, -0xFE333CC682E96D39P-64L, 0xF26D039603ACD38CP-67L, -0x86377FDEB0569285P-60L}, // 1.0e+18
        {0x878678326EAC9000P10L, -0xDA29D5BB5F9CB87DP-64L, 0x85F167780E479C9AP-64L, -0xD07BCE0DB592BBA5P-63L}, // 1.0e+22
        {0xBF21E44003ACDD2DP933L, 0xB5412E861DDEF8ECP-64L, -0xB4C8A3D095A93267P-64L, -0x805558D665B191BCP-63L}, // 1.0e+300
        {0xD1BA8323FE558C61P13224L, 0x90DE0837A745738AP-64L, 0xD31143593FF9DEC5P-64L, 0xAFB4FFF78A51D56BP-64L}, // 1.0e+4000
        {-0xAC23C22116CBF8A4P16317L, -0x9522FB545E5157A9P-64L, -0xD0129E5706B1FCC0P-64L, 0xB77D17702BE1EA4EP-64L}, // -1.0e+4931
        {0x8000000000000000P-32L, -0xF8A7C89F4D7CC236P-64L, 0xF38616A898F2A4A3P-66L, -0x82B27FCCBCF6AB6DP-61L}, // 2.1474836e+9
        {0xFFFFFFFE00000000P-33L, -0xB99421A0ACC2FC69P-64L, -0xB05799F7E68D905CP-64L, 0x86B45234A3013392P-63L}, // 2.1474836e+9
        {0xFA00000000000000P-54L, 0xD3AE60A851035AC9P-64L, 0x8FF8133C9F8DDBB8P-64L, 0xBC3394F9A188CF7AP-63L}, // 1000.0
        {0xB180000000000000P-55L, -0xFCDE8183E8EF14EDP-79L, -0xFFFFFFFE0C725F3DP-64L, 0xFCDE8185D660B0BEP-79L}, // 355.0
        {0x9502F90000000000P-30L, -0xF99A63C4B5271A66P-65L, 0xDF84C480E498CC19P-64L, -0x8EF0007A21FA82F2P-64L}, // 1.0e+10
        {0xBFBF629D46A48BD6P-42L, 0xCA0E7C5A5B202B29P-107L, 0x8000000000000000P-63L, 0xCA0E7C5A5B202B29P-107L}, // 3141592.7
        {0xC90FDAA22168C235P-23L, 0xECE675D1FC8F8447P-89L, 0xFFFFFFFFFFFFE499P-64L, 0xECE675D1FC8F9DA3P-89L}, // 1.7271088e+12
        {0xC90FDAA22168C235P0L, 0xEACAEBC9F048927FP-66L, 0xF92E0126A8B0DABAP-64L, 0xF1381B5EF8A169AFP-66L}, // 1.4488039e+19
        {0x96CBE3F9990E91A8P-62L, 0xB504F333F9DE6483P-64L, -0xB504F333F9DE6486P-64L, -0xFFFFFFFFFFFFFFFDP-64L}, // 2.3561945
        {-0xF000000000000000P-61L, -0xF020C437E5717D2BP-64L, 0xB17A2F337AE17609P-65L, -0xAD2F54C913EAD4C2P-62L}, // -7.5
        {0xC000000000000000P16320L, -0x908788B2250D224EP-64L, -0xD34C87A22A09181FP-64L, 0xAF1AEB4A3934C041P-64L}, // 8.9229862e+4931
};

// |Actual - Expected| in units of the last place of Expected's 64-bit significand.
Extended UlpsOff(Extended Actual, Extended Expected) {
    return std::fabs(Actual - Expected) / std::ldexp(1.0L, std::ilogb(Expected) - 63);
}
} // namespace

TEST(Trig, LargeArgumentsWithinOneUlp) {
    for (const auto& C : TrigCases) {
        SCOPED_TRACE(Bits(C.X));
        EXPECT_LE(UlpsOff(FP::Sin(C.X), C.Sin), 1) << Bits(FP::Sin(C.X));
        EXPECT_LE(UlpsOff(FP::Cos(C.X), C.Cos), 1) << Bits(FP::Cos(C.X));
        EXPECT_LE(UlpsOff(FP::Tan(C.X), C.Tan), 1) << Bits(FP::Tan(C.X));
    }
}

// The complex functions reduce their real part the same way: with a tiny
// imaginary part they keep the real function's digits.
TEST(Trig, ComplexArgumentsReduceTheirRealPart) {
    for (const auto& C : TrigCases) {
        SCOPED_TRACE(Bits(C.X));
        const TComp Z = Cmplx(C.X, 1e-30L);
        EXPECT_LE(UlpsOff(Sin(Z).X, C.Sin), 2);
        EXPECT_LE(UlpsOff(Cos(Z).X, C.Cos), 2);
        EXPECT_LE(UlpsOff(Tan(Z).X, C.Tan), 2);
    }
}
