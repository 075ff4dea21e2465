#include "Trig.h"

#include <cmath>

namespace {
using Exact::TPair;

constexpr Extended TwoOverPi = 0.636619772367581343076L;
// pi/2 = P1 + P2 + P3 + P4: 32-bit words, so that N * Pk is exact for N < 2^32,
// and the rounded rest.
constexpr Extended P1 = 0xC90FDAA2p-31L;
constexpr Extended P2 = 0x85A308D3p-65L;
constexpr Extended P3 = 0x98CC5170p-100L;
constexpr Extended P4 = 0xDC1CD129024E088Ap-167L;
constexpr Extended CodyWaiteLimit = 0x1p31L;
// Below this a Cody-Waite remainder may have lost digits to cancellation.
constexpr Extended CodyWaiteSmallest = 0x1p-40L;
constexpr TPair HalfPi = {0xC90FDAA22168C235p-63L, -0xECE675D1FC8F8CBBp-129L};

// 2/pi in 32-bit words, most significant first: 0.A2F9836E 4E441529 ...
constexpr std::uint32_t TwoOverPiWords[] = {
    0xA2F9836E, 0x4E441529, 0xFC2757D1, 0xF534DDC0, 0xDB629599, 0x3C439041,
    0xFE5163AB, 0xDEBBC561, 0xB7246E3A, 0x424DD2E0, 0x06492EEA, 0x09D1921C,
    0xFE1DEB1C, 0xB129A73E, 0xE88235F5, 0x2EBB4484, 0xE99C7026, 0xB45F7E41,
    0x3991D639, 0x835339F4, 0x9C845F8B, 0xBDF9283B, 0x1FF897FF, 0xDE05980F,
    0xEF2F118B, 0x5A0A6D1F, 0x6D367ECF, 0x27CB09B7, 0x4F463F66, 0x9E5FEA2D,
    0x7527BAC7, 0xEBE5F17B, 0x3D0739F7, 0x8A5292EA, 0x6BFB5FB1, 0x1F8D5D08,
    0x56033046, 0xFC7B6BAB, 0xF0CFBC20, 0x9AF4361D, 0xA9E39161, 0x5EE61B08,
    0x6599855F, 0x14A06840, 0x8DFFD880, 0x4D732731, 0x06061556, 0xCA73A8C9,
    0x60E27BC0, 0x8C6B47C4, 0x19C367CD, 0xDCE8092A, 0x8359C476, 0x8B961CA6,
    0xDDAF44D1, 0x5719053E, 0xA5FF0705, 0x3F7E33E8, 0x32C2DE4F, 0x98327DBB,
    0xC33D26EF, 0x6B1E5EF8, 0x9F3A1F35, 0xCAF27F1D, 0x87F12190, 0x7C7C246A,
    0xFA6ED577, 0x2D30433B, 0x15C614B5, 0x9D19C3C2, 0xC4AD414D, 0x2C5D000C,
    0x467D862D, 0x71E39AC6, 0x9B006233, 0x7CD2B497, 0xA7B4D555, 0x37F63ED7,
    0x1810A3FC, 0x764D2A9D, 0x64ABD770, 0xF87C6357, 0xB07AE715, 0x175649C0,
    0xD9D63B38, 0x84A7CB23, 0x24778AD6, 0x23545AB9, 0x1F001B0A, 0xF1DFCE19,
    0xFF319F6A, 0x1E666157, 0x9947FBAC, 0xD87F7EB7, 0x652289E8, 0x3260BFE6,
    0xCDC4EF09, 0x366CD43F, 0x5DD7DE16, 0xDE3B5892, 0x9BDE2822, 0xD2E88628,
    0x4D58E232, 0xCAC616E3, 0x08CB7DE0, 0x50C017A7, 0x1DF35BE0, 0x1834132E,
    0x62128301, 0x48835B8E, 0xF57FB0AD, 0xF2E91E43, 0x4A48D367, 0x10D8DDAA,
    0x425FAECE, 0x616AA428, 0x0AB499D3, 0xF2A6067F, 0x775C83C2, 0xA3883C61,
    0x78738A5A, 0x8CAFBDD7, 0x6F63A62D, 0xCBBFF4EF, 0x818D67C1, 0x2645CA55,
    0x36D9CAD2, 0xA8288D61, 0xC277C912, 0x1426049B, 0x4612C459, 0xC444C5C8,
    0x91B24DF3, 0x1700AD43, 0xD4E54929, 0x10D5FDFC, 0xBE00CC94, 0x1EEECE70,
    0xF53E1380, 0xF1ECC3E7, 0xB328F8C7, 0x9405933E, 0x71C1B309, 0x2EF3450B,
    0x9C12887B, 0x20AB9FB5, 0x2EC29247, 0x2F327B6D, 0x550C90A7, 0x721FE76B,
    0x96CB314A, 0x1679E279, 0x4189DFF4, 0x9794E884, 0xE6E29731, 0x996BED88,
    0x365F5F0E, 0xFDBBB49A, 0x486CA467, 0x42727132, 0x5D8DB815, 0x9F09E5BC,
    0x25318D39, 0x74F71C05, 0x30010C0D, 0x68084B58, 0xEE2C90AA, 0x4702E774,
    0x24D6BDA6, 0x7DF77248, 0x6EEF169F, 0xA6948EF6, 0x91B45153, 0xD1F20ACF,
    0x3398207E, 0x4BF56863, 0xB25F3EDD, 0x035D407F, 0x89852952, 0x55C06437,
    0x10D86D32, 0x4832754C, 0x5BD4714E, 0x6E5445C1, 0x090B69F5, 0x2AD56614,
    0x9D072750, 0x045DDB3B, 0xB4C576EA, 0x17F9877D, 0x6B49BA27, 0x1D296996,
    0xACCCC654, 0x14AD6AE2, 0x9089D988, 0x50722CBE, 0xA4049407, 0x777030F3,
    0x27FC00A8, 0x71EA49C2, 0x663DE064, 0x83DD9797, 0x3FA3FD94, 0x438C860D,
    0xDE41319D, 0x39928C70, 0xDDE7B717, 0x3BDF082B, 0x3715A080, 0x5C93805A,
    0x921110D8, 0xE80FAF80, 0x6C4BFFDB, 0x0F903876, 0x185915A5, 0x62BBCB61,
    0xB989C7BD, 0x401004F2, 0xD2277549, 0xF6B6EBBB, 0x22DBAA14, 0x0A2F2689,
    0x76836433, 0x3B091A94, 0x0EAA3A51, 0xC2A31DAE, 0xEDAF1226, 0x5C4DC26D,
    0x9C7A2D97, 0x56C0833F, 0x03F6F009, 0x8C402B99, 0x316D07B4, 0x3915200C,
    0x5BC3D8C4, 0x92F54BAD, 0xC6A5CA4E, 0xCD37A736, 0xA9E69492, 0xAB6842DD,
    0xDE6319EF, 0x8C76528B, 0x6837DBFC, 0xABA1AE31, 0x15DFA1AE, 0x00DAFB0C,
    0x664D64B7, 0x05ED3065, 0x29BF5657, 0x3AFF47B9, 0xF96AF3BE, 0x75DF9328,
    0x3080ABF6, 0x8C6615CB, 0x040622FA, 0x1DE4D9A4, 0xB33D8F1B, 0x5709CD36,
    0xE9424EA4, 0xBE13B523, 0x331AAAF0, 0xA8654FA5, 0xC1D20F3F, 0x0BCD785B,
    0x76F92304, 0x8B7B7217, 0x8953A6C6, 0xE26E6F00, 0xEBEF584A, 0x9BB7DAC4,
    0xBA66AACF, 0xCF761D02, 0xD12DF1B1, 0xC1998C77, 0xADC3DA48, 0x86A05DF7,
    0xF480C62F, 0xF0AC9AEC, 0xDDBC5C3F, 0x6DDED01F, 0xC790B6DB, 0x2A3A25A3,
    0x9AAF0093, 0x53AD0457, 0xB6B42D29, 0x7E804BA7, 0x07DA0EAA, 0x76A1597B,
    0x2A12162D, 0xB7DCFDE5, 0xFAFEDB89, 0xFDBE896C, 0x76E4FCA9, 0x0670803E,
    0x156E85FF, 0x87FD073E, 0x28336761, 0x86182AEA, 0xBD4DAFE7, 0xB36E6D8F,
    0x3967955B, 0xBF3148D7, 0x8416DF30, 0x432DC735, 0x6125CE70, 0xC9B8CB30,
    0xFD6CBFA2, 0x00A4E46C, 0x05A0DD5A, 0x476F21D2, 0x1262845C, 0xB9496170,
    0xE0566B01, 0x52993755, 0x50B7D51E, 0xC4F1335F, 0x6E13E430, 0x5DA92E85,
    0xC3B21D36, 0x32A1A4B7, 0x08D4B1EA, 0x21F716E4, 0x698F77FF, 0x2780030C,
    0x2D408DA0, 0xCD4F99A5, 0x20D3A2B3, 0x0A5D2F42, 0xF9B4CBDA, 0x11D0BE7D,
    0xC1DB9BBD, 0x17AB81A2, 0xCA5C6A08, 0x17552E55, 0x0027F014, 0x7F8607E1,
    0x640B148D, 0x4196DEBE, 0x872AFDDA, 0xB6256B34, 0x897BFEF3, 0x059EBFB9,
    0x4F6A68A8, 0x2A4A5AC4, 0x4FBCF82D, 0x985AD795, 0xC7F48D4D, 0x0DA63A20,
    0x5F57A4B1, 0x3F149538, 0x800120CC, 0x86DD71B6, 0xDEC9F560, 0xBF11654D,
    0x6B0701AC, 0xB08CD0C0, 0xB2485551, 0x0EFB1EC3, 0x72953B06, 0xA33540C0,
    0x7BDC06CC, 0x45E0FA29, 0x4EC8CAD6, 0x41F3E8DE, 0x647CD864, 0x9B31BED9,
    0xC397A4D4, 0x5877C5E3, 0x6913DAF0, 0x3C3ABA46, 0x18465F75, 0x55F5BDD2,
    0xC6926E5D, 0x2EACED44, 0x0E423E1C, 0x87C461E9, 0xFD29F3D6, 0xE7CA7C22,
    0x35916FC5, 0xE0088DD7, 0xFFE26A6E, 0xC6FDB0C1, 0x0893745D, 0x7CB2AD6B,
    0x9D6ECD7B, 0x723E6A11, 0xC6A9CFF7, 0xDF7329BA, 0xC9B55100, 0xB70DB2E2,
    0x24BA7460, 0x7DE58AD8, 0x742C150D, 0x0C188194, 0x667E1629, 0x01767A9F,
    0xBEFDFDEF, 0x4556367E, 0xD913D9EC, 0xB9BA8BFC, 0x97C427A8, 0x31C36EF1,
    0x36C59456, 0xA8D8B5A8, 0xB40ECCCF, 0x2D891234, 0x576F8956, 0x2CE3CE99,
    0xB920D6AA, 0x5E6B9C2A, 0x3ECC5F11, 0x4A0BFDFB, 0xF4E16D3B, 0x8E2C86E2,
    0x84D4E9A9, 0xB4FCD1EE, 0xEFC9352E, 0x61392F44, 0x2138C8D9, 0x1B0AFC81,
    0x6A4AFBD8, 0x1C2F84B4, 0x538C994E, 0xCC2254DC, 0x552AD6C6, 0xC096190B,
    0xB8701A64, 0x9569605A, 0x26EE523F, 0x0F117F11, 0xB5F4F5CB, 0xFC2DBC34,
    0xEEBC34CC, 0x5DE8605E, 0xDD9B8E67, 0xEF3392B8, 0x17C99B58, 0x61BC57E1,
    0xC6835110, 0x3ED84871, 0xDDDD1C2D, 0xA118AF46, 0x2C21D7F3, 0x59987AD9,
    0xC0549EFA, 0x864FFC06, 0x56AE79E5, 0x36228922, 0xAD38DC93, 0x67AAE855,
    0x3826829B, 0xE7CAA40D, 0x51B13399, 0x0ED7A948, 0x0569F0B2, 0x65A7887F,
    0x974C8836, 0xD1F9B392, 0x214A827B, 0x21CF98DC, 0x9F405547, 0xDC3A74E1,
    0x42EB67DF, 0x9DFE5FD4, 0x5EA4677B, 0x7AACBAA2, 0xF6552388, 0x2B55BA41,
    0x086E5986, 0x2A218347, 0x39E6E389, 0xD49EE540, 0xFB49E956, 0xFFCA0F1C,
    0x8A59C52B, 0xFA94C5C1, 0xD3CFC50F, 0xAE5ADB86, 0xC5476243, 0x853B8621,
    0x94792C87, 0x61107B4C, 0x2A1A2C80, 0x12BF4390, 0x2688893C, 0x78E4C4A8,
    0x7BDBE5C2, 0x3AC4EAF4, 0x268A67F7, 0xBF920D2B, 0xA365B193, 0x3D0B7CBD,
    0xDC51A463, 0xDD27DDE1, 0x6919949A, 0x9529A828, 0xCE68B4ED, 0x09209F44,
    0xCA984E63, 0x8270237C, 0x7E32B90F, 0x8EF5A7E7, 0x561408F1, 0x212A9DB5,
    0x4D7E6F51, 0x19A5ABF9, 0xB5D6DF82, 0x61DD9602, 0x36169F3A, 0xC4A1A283,
    0x6DED727A, 0x8D39A9B8, 0x825C326B, 0x5B2746ED, 0x34007700, 0xD255F4FC,
    0x4D590180, 0x71E0E13F, 0x89B295F3, 0x64A8F1AE,
};
constexpr int WordsUsed = 9; // 288 bits from the first that matters

TReduced CodyWaite(Extended X) {
    const Extended N = std::nearbyint(X * TwoOverPi);
    const Extended A = X - N * P1; // exact: N * P1 is, and it is close to X
    const TPair S = Exact::TwoSum(A, -(N * P2));
    const TPair T = Exact::TwoSum(S.Hi, -(N * P3));
    const Extended Lo = (S.Lo + T.Lo) - N * P4;
    return {static_cast<std::int32_t>(static_cast<std::int64_t>(N) & 3), Exact::Renormalized(T.Hi, Lo)};
}

constexpr int ProductWords = WordsUsed + 2;

// 64 bits of the little-endian 32-bit limbs L from bit Low up; zeros above the top.
std::uint64_t BitField(const std::uint32_t (&L)[ProductWords], int Low) {
    std::uint64_t V = 0;
    for (int B = 63; B >= 0; --B) {
        const int At = Low + B;
        const std::uint32_t Bit = At < 32 * ProductWords ? (L[At / 32] >> (At % 32)) & 1u : 0;
        V = (V << 1) | Bit;
    }
    return V;
}

// |X| * 2/pi modulo 4 from the bits of 2/pi that can reach the fraction: with
// |X| = M * 2^E, a word whose product with M is a multiple of 4 is skipped.
TReduced PayneHanek(Extended X) {
    int Exp2 = 0;
    const Extended F = std::frexp(std::fabs(X), &Exp2);
    const auto M = static_cast<std::uint64_t>(std::ldexp(F, 64));
    const int E = Exp2 - 64;
    const int First = E - 2 < 0 ? 0 : (E - 2) / 32;
    // P = M * W, W the WordsUsed words from First on; |X| * 2/pi ~ P * 2^-Fraction.
    std::uint32_t P[ProductWords] = {};
    const std::uint64_t MWords[2] = {M & 0xFFFFFFFFu, M >> 32};
    for (int T = 0; T < WordsUsed; ++T) {
        const std::uint64_t W = TwoOverPiWords[First + WordsUsed - 1 - T];
        std::uint64_t Carry = 0;
        for (int K = 0; K < 2; ++K) {
            const std::uint64_t Sum = P[T + K] + W * MWords[K] + Carry;
            P[T + K] = static_cast<std::uint32_t>(Sum);
            Carry = Sum >> 32;
        }
        for (int K = T + 2; Carry != 0 && K < ProductWords; ++K) {
            const std::uint64_t Sum = P[K] + Carry;
            P[K] = static_cast<std::uint32_t>(Sum);
            Carry = Sum >> 32;
        }
    }
    const int Fraction = 32 * (First + WordsUsed) - E;
    std::int32_t Quadrant = static_cast<std::int32_t>(BitField(P, Fraction) & 3);
    std::uint64_t Hi = BitField(P, Fraction - 64), Lo = BitField(P, Fraction - 128);
    Extended Sign = 1;
    if (Hi >> 63) { // a fraction of a half or more: the next quarter turn, less the rest
        Quadrant = (Quadrant + 1) & 3;
        Hi = ~Hi;
        Lo = ~Lo + 1;
        if (Lo == 0) ++Hi;
        Sign = -1;
    }
    const TPair Turns = Exact::Renormalized(std::ldexp(static_cast<Extended>(Hi), -64),
                                            std::ldexp(static_cast<Extended>(Lo), -128));
    TPair R = Turns * HalfPi;
    R = {Sign * R.Hi, Sign * R.Lo};
    if (X < 0) return {(4 - Quadrant) & 3, -R};
    return {Quadrant, R};
}
} // namespace

TReduced ReduceHalfPi(Extended X) {
    if (std::fabs(X) <= PiQuarter) return {0, {X, 0}};
    if (std::fabs(X) < CodyWaiteLimit) {
        const TReduced C = CodyWaite(X);
        if (std::fabs(C.R.Hi) >= CodyWaiteSmallest) return C;
    }
    return PayneHanek(X);
}

Extended ReducedSin(Extended X) {
    if (std::fabs(X) <= PiQuarter) return std::sin(X);
    Extended Cos, Sin;
    ReducedCosSin(X, Cos, Sin);
    return Sin;
}

Extended ReducedCos(Extended X) {
    if (std::fabs(X) <= PiQuarter) return std::cos(X);
    Extended Cos, Sin;
    ReducedCosSin(X, Cos, Sin);
    return Cos;
}

// The remainder's cosine and sine carried wide and rounded once: no library
// function is asked, so the digits are the same everywhere. ORDER QUADRANT:
// cos, -sin, -cos, sin as the quadrant goes round.
void ReducedCosSin(Extended X, Extended& Cos, Extended& Sin) {
    if (std::fabs(X) <= PiQuarter) {
        Cos = std::cos(X);
        Sin = std::sin(X);
        return;
    }
    const TReduced T = ReduceHalfPi(X);
    TPair C, S;
    Exact::CosSin(T.R, C, S);
    const Extended Cr = C.Hi + C.Lo, Sr = S.Hi + S.Lo;
    switch (T.Quadrant) {
    case 0: Cos = Cr, Sin = Sr; break;
    case 1: Cos = -Sr, Sin = Cr; break;
    case 2: Cos = -Cr, Sin = -Sr; break;
    default: Cos = Sr, Sin = -Cr; break;
    }
}

// sin R / cos R, or -cos R / sin R for an odd quadrant, divided wide.
Extended ReducedTan(Extended X) {
    if (std::fabs(X) <= PiQuarter) return std::tan(X);
    const TReduced T = ReduceHalfPi(X);
    TPair C, S;
    Exact::CosSin(T.R, C, S);
    const TPair Q = (T.Quadrant & 1) == 0 ? S / C : -(C / S);
    return Q.Hi + Q.Lo;
}
