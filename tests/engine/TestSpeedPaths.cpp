// The shortcuts taken for speed must give exactly the bits of the general way:
// Exp and Arg of reals, the short-numeral conversion, and the tokenizer's
// reserved storage and cached symbol tables.
#include "Parse.Tokenize.h"
#include "Scalar.Ident.h"
#include "TestSupport.h"

#include <clocale>
#include <cstring>
#include <locale.h>
#include <random>

namespace {
bool SameBits(Extended A, Extended B) {
    return std::memcmp(&A, &B, 10) == 0;
}

// Exp by its defining formula, with both real calls made.
TComp ExpByFormula(TComp Z) {
    Extended E = FP::Exp(Z.X);
    return {FP::Mul(E, FP::Cos(Z.Y)), FP::Mul(E, FP::Sin(Z.Y))};
}

constexpr Extended RealArguments[] = {
    0.0L,     1.0L,     -1.0L,    0.5L,      1e-4000L,  -1e-4000L, 1e-30L,
    700.25L,  -700.25L, 11356.0L, -11355.0L, -11400.0L, -20000.0L, 3.14159265358979323846L,
    2.5e-10L,
};

Extended StrtoldC(const std::string& S) {
#ifdef _WIN32
    return std::strtold(S.c_str(), nullptr); // the tests run in the "C" locale
#else
    static locale_t C = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return strtold_l(S.c_str(), nullptr, C);
#endif
}

std::string Converted(const std::string& Numeral) {
    try {
        return std::to_string(static_cast<double>(StrToFloat(U16(Numeral))));
    } catch (const std::exception& E) {
        return E.what();
    }
}
} // namespace

TEST(SpeedPaths, ExpOfARealHasTheBitsOfTheFormula) {
    std::mt19937_64 Rng(11);
    std::vector<Extended> Xs(std::begin(RealArguments), std::end(RealArguments));
    for (int I = 0; I < 20000; ++I)
        Xs.push_back(std::ldexp(static_cast<Extended>(Rng()), -64) * 22000 - 11000);
    for (Extended X : Xs) {
        for (Extended Y : {0.0L, -0.0L}) {
            SCOPED_TRACE(static_cast<double>(X));
            TComp Fast = Exp(Cmplx(X, Y));
            TComp Slow = ExpByFormula(Cmplx(X, Y));
            ASSERT_TRUE(SameBits(Fast.X, Slow.X));
            ASSERT_TRUE(SameBits(Fast.Y, Slow.Y)); // the zero keeps Y's sign
            ASSERT_EQ(std::signbit(Fast.Y), std::signbit(Y));
        }
    }
    EXPECT_THROW_MSG(Exp(Cmplx(12000, 0)), EMathError, MsgOverflow);
    EXPECT_THROW_MSG(Exp(Cmplx(12000, -0.0L)), EMathError, MsgOverflow);
}

TEST(SpeedPaths, ArgOfAPositiveRealIsTheSignedZeroOfAtan2) {
    std::mt19937_64 Rng(12);
    std::vector<Extended> Xs = {1e-4950L, 1e-30L, 1.0L, 1e4000L, LDBL_MAX, LDBL_TRUE_MIN};
    for (int I = 0; I < 5000; ++I)
        Xs.push_back(std::ldexp(static_cast<Extended>(Rng() | 1), static_cast<int>(Rng() % 20000) - 10000));
    for (Extended X : Xs)
        for (Extended Y : {0.0L, -0.0L}) {
            SCOPED_TRACE(static_cast<double>(X));
            ASSERT_TRUE(SameBits(Arg(Cmplx(X, Y)), std::atan2(Y, X)));
        }
    // Only the positive real axis is short-cut; the rest keeps its rules.
    EXPECT_TRUE(SameBits(Arg(Cmplx(-2, -0.0L)), Pi));
    EXPECT_TRUE(SameBits(Arg(Cmplx(0, -0.0L)), 0.0L));
    EXPECT_TRUE(SameBits(Arg(Cmplx(2, 1e-4000L)), std::atan2(1e-4000L, 2.0L)));
}

// Numerals of up to 19 digits take the integer path; every numeral must convert
// to the bits strtold gives, and the others (exponents, 20 digits and more) too.
TEST(SpeedPaths, ShortNumeralsConvertToTheBitsOfStrtold) {
    std::mt19937_64 Rng(13);
    auto RandomNumeral = [&] {
        const int Digits = 1 + static_cast<int>(Rng() % 22);
        const int Point = static_cast<int>(Rng() % (Digits + 2)) - 1; // -1: no point
        std::string S;
        for (int I = 0; I < Digits; ++I) {
            if (I == Point) S += '.';
            S += static_cast<char>('0' + Rng() % 10);
        }
        if (Point == Digits) S += '.';
        return S;
    };
    for (int I = 0; I < 500000; ++I) {
        const std::string S = RandomNumeral();
        ASSERT_TRUE(SameBits(StrToFloat(U16(S)), StrtoldC(S))) << S;
    }
    const char* Edges[] = {
        "0",
        "5.",
        ".5",
        "0.1",
        "0.3",
        "9999999999999999999",
        "18446744073709551615",
        "18446744073709551616",
        "9223372036854775807",
        "9223372036854775808",
        "0.0000000000000000001",
        "1.000000000000000001",
        "00000000000000000001.5",
        "99999999999999999.99",
        "0.999999999999999999",
        "1e5",
        "2.5e-3",
        "1e-4950",
        "1.18973149535723176502e4932",
    };
    for (const char* S : Edges)
        EXPECT_TRUE(SameBits(StrToFloat(U16(S)), StrtoldC(S))) << S;
}

TEST(SpeedPaths, NumeralsThatAreNotValueKeepTheirMessages) {
    const std::pair<const char*, const char*> Cases[] = {
        {".", "'.' is not a valid floating point value"},
        {"1e99999", "'1e99999' is not a valid floating point value"},
        {"", "'' is not a valid floating point value"},
    };
    for (auto [Numeral, Message] : Cases) {
        SCOPED_TRACE(Numeral);
        EXPECT_EQ(Converted(Numeral), Message);
    }
}

// The storage reserved up front and the symbol tables kept between runs must
// not show: tokens, and the capacity the list reports, are those of a fresh run.
TEST(SpeedPaths, TokenizingAgainGivesTheSameListAndCapacity) {
    std::u16string Text;
    for (int K = 0; K < 300; ++K)
        Text += U16("(k*3.5+sin(k/7))/(1+k^2)\xE2\x88\x99x\xE2\x88\x92y; 2(3) x\xE2\x86\x91 2 // c\r\n");
    const TSymbols Symbols;
    TTokenizer Reused(Symbols, u"1+2");
    Reused.SetExpression(Text);
    const TSymbols OtherSymbols;
    TTokenizer Fresh(OtherSymbols, Text);
    ASSERT_EQ(Reused.Count(), Fresh.Count());
    for (int I = 0; I < Fresh.Count(); ++I)
        ASSERT_EQ(Reused[I], Fresh[I]) << I;
    std::int32_t Capacity = 32;
    while (Capacity < Fresh.Count())
        Capacity *= 2;
    EXPECT_EQ(Fresh.Capacity(), Capacity);
    EXPECT_EQ(Reused.Capacity(), Capacity);
}

// Every ASCII character that is a one-character token keeps its kind when the
// table answers instead of the rows.
TEST(SpeedPaths, EverySymbolCharacterKeepsItsKind) {
    struct TCase {
        const char* Text;
        TTokenKind Kind;
    };
    const TCase Cases[] = {
        {")", tkRightBra1},
        {"]", tkRightBra2},
        {",", tkComma},
        {"+", tkPlus},
        {"-", tkMinus},
        {"*", tkMult},
        {"/", tkDiv},
        {"!", tkFact},
        {"^", tkPower},
        {";", tkSeparator},
        {"\r", tkSeparator},
        {"\n", tkSeparator},
        {"\xE2\x88\x92", tkMinus},
        {"\xC3\x97", tkMult},
        {"\xE2\x88\x9A", tkSqrt},
    };
    const TSymbols Symbols;
    TTokenizer T(Symbols);
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Text);
        T.SetExpression(U16(C.Text));
        ASSERT_EQ(T.Count(), 1);
        EXPECT_EQ(T[0].Kind, C.Kind);
    }
    T.SetExpression(u"=");
    ASSERT_EQ(T.Count(), 1);
    EXPECT_EQ(T[0].Kind, tkError);
}

namespace {
// FloatToGeneral as it was written with printf's correctly rounded 18 digits:
// the reference the integer digit path must match character for character.
std::string FloatToGeneralByPrintf(Extended Value, std::int32_t P) {
    if (Value == 0) return "0";
    std::string Text = Value < 0 ? "-" : "";
    char Buf[64];
    std::snprintf(Buf, sizeof Buf, "%.17Le", std::fabs(Value));
    std::string Digits = Buf[0] + std::string(Buf + 2, 17);
    std::int32_t E = std::atoi(std::strchr(Buf, 'e') + 1) + 1;
    if (P < 18) {
        bool RoundUp = Digits[P] >= '5';
        Digits.resize(P);
        for (std::int32_t I = P - 1; RoundUp && I >= 0; --I) {
            RoundUp = Digits[I] == '9';
            Digits[I] = RoundUp ? '0' : static_cast<char>(Digits[I] + 1);
        }
        if (RoundUp) {
            Digits = "1";
            ++E;
        }
    }
    while (Digits.size() > 1 && Digits.back() == '0')
        Digits.pop_back();
    const auto N = static_cast<std::int32_t>(Digits.size());
    if (E > P || E < -3) {
        Text += Digits.substr(0, 1) + (N > 1 ? "." + Digits.substr(1) : "") + "E" + std::to_string(E - 1);
    } else if (E > 0) {
        Text += Digits.substr(0, std::min(N, E)) + std::string(std::max(E - N, 0), '0');
        if (N > E) Text += "." + Digits.substr(E);
    } else {
        Text += "0." + std::string(-E, '0') + Digits;
    }
    return Text;
}

void ExpectPrintfDigits(Extended V) {
    for (std::int32_t P : {18, 5, 2}) {
        const std::string Got = U8(FloatToGeneral(V, P, u'.'));
        const std::string Want = FloatToGeneralByPrintf(V, P);
        if (Got != Want) {
            ADD_FAILURE() << "value " << FloatToGeneralByPrintf(V, 18) << " at " << P << ": " << Got
                          << " != " << Want;
            return;
        }
    }
}
} // namespace

// A build may raise the count (10 million were checked with -DSUMTRA_RANDOM_DIGIT_CASES=10000000).
#ifndef SUMTRA_RANDOM_DIGIT_CASES
#define SUMTRA_RANDOM_DIGIT_CASES 200000
#endif

// Random significands over the whole range where the integer path applies and
// beyond it (where printf still answers), both signs.
TEST(SpeedPaths, FloatToGeneralMatchesPrintfOnRandomValues) {
    std::mt19937_64 Rng(14);
    for (int I = 0; I < SUMTRA_RANDOM_DIGIT_CASES; ++I) {
        const Extended Significand = static_cast<Extended>(Rng() | (1ull << 63));
        const int Exponent = static_cast<int>(Rng() % 360) - 260; // about 1e-60 .. 1e39
        const Extended V = std::ldexp(Significand, Exponent);
        ExpectPrintfDigits(I % 2 ? V : -V);
        if (HasFailure()) return;
    }
}

TEST(SpeedPaths, FloatToGeneralMatchesPrintfOnEdgeValues) {
    std::vector<Extended> Values = {
        LDBL_MAX, LDBL_MIN, LDBL_TRUE_MIN,         1e-4940L, 0x1p-130L, 0x1p-137L, 0x1p127L, 0x1p128L,
        0x1p129L, 0.001L,   0.0009999999999999999L};
    // Powers of ten and their neighbours: the scale estimate is off by one there.
    for (int K = -40; K <= 45; ++K) {
        const Extended P = StrtoldC("1e" + std::to_string(K));
        Values.insert(Values.end(), {P, std::nextafter(P, 0.0L), std::nextafter(P, LDBL_MAX)});
    }
    // Exact halfway cases at the 18th digit: 19-digit integers ending in 5, and
    // 18-digit integers plus one half; ties go to the even neighbour.
    std::mt19937_64 Rng(15);
    for (int I = 0; I < 20000; ++I) {
        const std::uint64_t N19 = 1000000000000000000ull + Rng() % 8000000000000000000ull;
        Values.push_back(static_cast<Extended>(N19 / 10 * 10 + 5));
        const std::uint64_t N18 = 100000000000000000ull + Rng() % 900000000000000000ull;
        Values.push_back(static_cast<Extended>(N18) + 0.5L);
    }
    // Carries through all 18 digits.
    for (const char* S :
         {"99999999999999999.5", "999999999999999999.5", "0.9999999999999999995", "9999999999999999995"})
        Values.push_back(StrtoldC(S));
    for (Extended V : Values)
        ExpectPrintfDigits(V);
}

// Small lists are searched in order and larger ones through the index; a list
// that grows past the limit and shrinks below it again must answer exactly as
// a first-match search in list order, in either state.
TEST(SpeedPaths, IdentListAnswersAlikeAcrossTheIndexLimit) {
    TIdentList L;
    std::vector<std::pair<std::u16string, bool>> Model; // name, is variable
    std::mt19937 Rng(16);
    auto Name = [&] { return std::u16string(1, static_cast<char16_t>(u'a' + Rng() % 7)); };
    auto LinearFind = [&](const std::u16string& N, int Kind) {
        for (std::size_t I = 0; I < Model.size(); ++I)
            if (Model[I].first == N && (Kind < 0 || Model[I].second == (Kind == 1)))
                return static_cast<int>(I);
        return -1;
    };
    for (int Step = 0; Step < 20000; ++Step) {
        const std::u16string N = Name();
        // Grow while below 12 items, shrink while above, so the size keeps crossing 8.
        const bool Grow = Model.size() < 12 ? Rng() % 4 != 0 : Rng() % 4 == 0;
        if (Grow) {
            const bool IsVar = Rng() % 2;
            if (IsVar)
                L.AddVar(N, 0, u"");
            else
                L.AddFun(N, FnSin, u"");
            Model.push_back({N, IsVar});
        } else if (Rng() % 2) {
            L.DeleteByName(N);
            if (int I = LinearFind(N, -1); I >= 0) Model.erase(Model.begin() + I);
        } else {
            L.SetIdent(std::make_unique<TVariable>(N, 0, u""));
            if (int I = LinearFind(N, -1); I >= 0)
                Model[I].second = true;
            else
                Model.push_back({N, true});
        }
        ASSERT_EQ(L.Count(), static_cast<int>(Model.size()));
        for (char16_t C = u'a'; C < u'a' + 7; ++C) {
            const std::u16string Q(1, C);
            ASSERT_EQ(L.IndexByName(Q), LinearFind(Q, -1)) << Step;
            const int V = LinearFind(Q, 1), F = LinearFind(Q, 0);
            ASSERT_EQ(L.Find<TVariable>(Q), V < 0 ? nullptr : &L[V]) << Step;
            ASSERT_EQ(L.Find<TFunction>(Q), F < 0 ? nullptr : &L[F]) << Step;
            ASSERT_EQ(L.Find(Q), V < 0 && F < 0 ? nullptr : &L[LinearFind(Q, -1)]) << Step;
        }
    }
}
