// Pairs of extended floats: the wide logarithm, cosine, sine and argument
// against their values to 128 bits, computed elsewhere at high precision.
#include "Exact.h"
#include "TestSupport.h"

namespace {
using Exact::TPair;

// (Got - Want) relative to Want, both pairs; the kernels promise about 2^-84,
// enough for an exponential of up to 2^16 to keep every digit.
bool WideNear(TPair Got, TPair Want) {
    const Extended Diff = (Got.Hi - Want.Hi) + (Got.Lo - Want.Lo);
    return std::fabs(Diff) <= std::fabs(Want.Hi) * 0x1p-82L;
}

struct TWideCase {
    const char* Name;
    TPair Got, Want;
};
} // namespace

TEST(Exact, KernelsKeepTwiceTheDigits) {
    auto Cos = [](Extended T) { TPair C, S; Exact::CosSin({T, 0}, C, S); return C; };
    auto Sin = [](Extended T) { TPair C, S; Exact::CosSin({T, 0}, C, S); return S; };
    const TWideCase Cases[] = {
        {"ln 5", Exact::Ln(TPair{5, 0}), {0xCE020FBF6C699B58p-63L, -0x82216BA7E29B382Fp-130L}},
        {"ln 1.4", Exact::Ln(TPair{1.4L, 0}), {0xAC4616C899A47D2Ep-65L, -0xC81E8240173E6B4Ap-130L}},
        {"ln 0.3", Exact::Ln(TPair{0.3L, 0}), {-0x9A1BC7E5ED390372p-63L, -0xB52E415CB6CC0287p-129L}},
        {"ln 1e-300", Exact::Ln(TPair{1e-300L, 0}), {-0xACB1A23FC3FDA9ABp-54L, 0x94E5166BBDA76811p-120L}},
        {"ln 3e4000", Exact::Ln(TPair{3e4000L, 0}), {0x8FEDC1851753F8D1p-50L, 0xD6979E7D8C797D65p-119L}},
        {"cos 1", Cos(1), {0x8A51407DA8345C92p-64L, -0xF6E649A25E390B59p-130L}},
        {"sin 1", Sin(1), {0xD76AA47848677021p-64L, -0xE4585BD8EBC30F36p-130L}},
        {"cos 2.5", Cos(2.5L), {-0xCD17BF7C2C5BE958p-64L, -0xF9F542FD2E528EFEp-129L}},
        {"sin 2.5", Sin(2.5L), {0x9935786E7E558405p-64L, 0xF632FA7A69D5C961p-129L}},
        {"cos -0.7", Cos(-0.7L), {0xC3CCB294FCEC930Cp-64L, -0xD5BB19608C7B21F2p-133L}},
        {"sin -0.7", Sin(-0.7L), {-0xA4EB734A30CDC2A7p-64L, -0xD87192BE357A04DCp-129L}},
        {"cos 3", Cos(3), {-0xFD7025F42F2E9308p-64L, 0x801F4082563EB053p-130L}},
        {"sin 3", Sin(3), {0x9081C36DB6AADA79p-66L, -0xDFA2F72F9D5F2D35p-133L}},
        {"arg(1+2i)", Exact::Arg({1, 0}, {2, 0}), {0x8DB70C975DF22363p-63L, 0xD19AA220A39AF321p-128L}},
        {"arg(-3+0.5i)", Exact::Arg({-3, 0}, {0.5L, 0}), {0xBE7E0EE0031B537Fp-62L, -0xCB7D85184A685CFFp-129L}},
        {"arg(-1e-5-7i)", Exact::Arg({-1e-5L, 0}, {-7, 0}), {-0xC90FE69DF6DB8D43p-63L, -0xCC0334CA4475C3A9p-129L}},
        {"arg(-1)", Exact::Arg({-1, 0}, {}), {2 * Exact::HalfPi.Hi, 2 * Exact::HalfPi.Lo}},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        EXPECT_TRUE(WideNear(C.Got, C.Want)) << static_cast<double>((C.Got.Hi - C.Want.Hi) + (C.Got.Lo - C.Want.Lo));
    }
    EXPECT_THROW_MSG(Exact::Ln(Exact::TWideC{}), EMathError, MsgZeroDivide);
}

TEST(Exact, DiffOfProductsIsExactWhereTheTermsCancel) {
    // (2^32 + 1)(2^32 - 1) - 2^64 = -1: the products round, their difference must not.
    const Extended A = 4294967297.0L, B = 4294967295.0L;
    EXPECT_EQ(Exact::DiffOfProducts(A, B, 0x1p32L, 0x1p32L), -1);
    EXPECT_EQ(Exact::DiffOfProducts(1.1L, 1.1L, 1.1L, 1.1L), 0);
}
