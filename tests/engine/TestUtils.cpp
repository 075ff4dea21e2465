// The real gamma function, the integer gcd and the number text conversions.
#include "TestSupport.h"

#include <cfloat>

namespace {
const char* const NotRoman = "Not a Roman numeral";
} // namespace

TEST(Gamma, IsExactForWholeArgumentsAndFailsAtPoles) {
    const struct {
        Extended X, Want, Tol;
    } Cases[] = {{1, 1, 1e-17L},
                 {6, 120, 1e-17L},
                 {0.5L, 1.7724538509055160273L, 1e-17L},
                 {1755, 1.9792618901050100554e4930L, 1e-14L}}; // the largest literal factorial, 1754!
    for (const auto& C : Cases) {
        SCOPED_TRACE(double(C.X));
        EXPECT_TRUE(CompNear(Gamma(C.X), C.Want, C.Tol));
    }
    // Whole arguments are exact products: n! up to 34 fits in 128 bits.
    unsigned __int128 F = 1;
    for (std::uint32_t N = 1; N <= 34; F *= ++N) {
        SCOPED_TRACE(N);
        ASSERT_EQ(Gamma(N + 1), static_cast<Extended>(F));
    }
    EXPECT_THROW_MSG(Gamma(1756), EMathError, MsgOverflow);
    EXPECT_THROW_MSG(Gamma(-0.0L), EMathError, MsgZeroDivide);
    EXPECT_THROW_MSG(Gamma(-1), std::runtime_error, "Argument out of domain in \"Gamma()\"");
}

TEST(Gcd64, WorksOnMagnitudes) {
    const struct {
        std::int64_t A, B;
        std::uint64_t Want;
    } Cases[] = {{12, -18, 6},
                 {0, 0, 0},
                 {-4, 0, 4},
                 {INT64_MIN, 0, 1ull << 63},
                 {INT64_MIN, INT64_MIN, 1ull << 63},
                 {INT64_MIN, 6, 2},
                 {INT64_MAX, INT64_MIN, 1}};
    for (const auto& C : Cases) {
        SCOPED_TRACE(std::to_string(C.A) + ", " + std::to_string(C.B));
        EXPECT_EQ(Gcd64(C.A, C.B), C.Want);
        EXPECT_EQ(Gcd64(C.B, C.A), C.Want);
    }
}

TEST(IntToRoman, WritesCanonicalNumeralsWithinRange) {
    const std::pair<std::int32_t, std::u16string_view> Cases[] = {
        {4, u"IV"},          {40, u"XL"}, {1994, u"MCMXCIV"}, {2000, u"MM"}, {3888, u"MMMDCCCLXXXVIII"},
        {3999, u"MMMCMXCIX"}};
    for (auto [N, Text] : Cases)
        EXPECT_EQ(IntToRoman(N), Text);
    for (std::int32_t N : {0, -1, 4000, INT32_MIN})
        EXPECT_THROW_MSG(IntToRoman(N), std::runtime_error,
                         "Only numbers from 1 to 3999 can be converted to Roman");
    for (std::int32_t N = 1; N <= 3999; ++N)
        ASSERT_EQ(RomanToInt(IntToRoman(N)), N) << U8(IntToRoman(N));
}

TEST(RomanToInt, RejectsNonCanonicalNumerals) {
    for (std::u16string_view Text : {u"", u"IIII", u"VV", u"IC", u"XM", u"MMMM", u"xiv", u"Mi", u"M "}) {
        SCOPED_TRACE(U8(Text));
        EXPECT_THROW_MSG(RomanToInt(Text), std::runtime_error, NotRoman);
    }
    // Every text of up to five numeral letters is either rejected or canonical.
    std::vector<std::u16string> Texts{u""};
    for (std::size_t First = 0, Length = 1; Length <= 5; ++Length) {
        const std::size_t Last = Texts.size();
        for (std::size_t I = First; I < Last; ++I)
            for (char16_t L : std::u16string_view(u"IVXLCDM"))
                Texts.push_back(Texts[I] + L);
        First = Last;
    }
    std::size_t Accepted = 0;
    for (std::size_t I = 1; I < Texts.size(); ++I) {
        try {
            ASSERT_EQ(IntToRoman(RomanToInt(Texts[I])), Texts[I]);
            ++Accepted;
        } catch (const std::runtime_error& E) {
            ASSERT_STREQ(E.what(), NotRoman) << U8(Texts[I]);
        }
    }
    EXPECT_EQ(Accepted, 735u); // the canonical numerals of up to five letters
}

TEST(IntToBinHexStr, WriteMagnitudesWithAMinus) {
    const struct {
        std::int64_t V;
        std::u16string_view Bin, Hex;
    } Cases[] = {{0, u"0", u"0"},
                 {-1, u"-1", u"-1"},
                 {-5, u"-101", u"-5"},
                 {255, u"11111111", u"FF"},
                 {0x0123456789ABCDEF, u"100100011010001010110011110001001101010111100110111101111",
                  u"123456789ABCDEF"},
                 {INT64_MIN, u"-1000000000000000000000000000000000000000000000000000000000000000",
                  u"-8000000000000000"}};
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.V);
        EXPECT_EQ(IntToBinStr(C.V), C.Bin);
        EXPECT_EQ(IntToHexStr(C.V), C.Hex);
    }
}

TEST(SecondsToStr, ShowsSecondsAndHundredthsOnlyWhenNeeded) {
    const std::pair<Extended, std::u16string_view> Cases[] = {{3600, u"1:00"},
                                                              {5415.5L, u"1:30:15.50"},
                                                              {0.5L, u"0:00:00.50"},
                                                              {59.999L, u"0:01"},
                                                              {-90, u"-0:01:30"},
                                                              {90000, u"25:00"},
                                                              {-0.0L, u"0:00"},
                                                              {0.05L, u"0:00:00.05"},
                                                              {0.125L, u"0:00:00.12"},
                                                              {0.375L, u"0:00:00.38"},
                                                              {8.9e16L, u"24722222222222:13:20"}};
    for (auto [X, Text] : Cases) {
        SCOPED_TRACE(U8(Text));
        EXPECT_EQ(SecondsToStr(u":", u".", X), Text);
    }
    EXPECT_EQ(SecondsToStr(u"h", u",", 5415.5L), u"1h30h15,50");
}

TEST(StrToFloat, ReadsNumeralsToTheNearestExtended) {
    const std::pair<std::u16string_view, Extended> Cases[] = {
        {u"0.1", 0.1L},
        {u"5.", 5},
        {u".5", 0.5L},
        {u"2.5e-3", 2.5e-3L},
        {u"1234567890.123456789", 1234567890.123456789L},
        {u"123456789012345678901234567890", 123456789012345678901234567890.0L},
        {u"1.18973149535723176502e4932", LDBL_MAX},
        {u"1e-4945", 1e-4945L}, // subnormal
        {u"1e-5000", 0}};
    for (auto [Text, Want] : Cases) {
        SCOPED_TRACE(U8(Text));
        EXPECT_EQ(StrToFloat(Text), Want);
    }
    EXPECT_THROW_MSG(StrToFloat(u"1.2e4932"), std::runtime_error,
                     "'1.2e4932' is not a valid floating point value");
}

TEST(Utf8, PairsSurrogatesAndReplacesEachBadSequenceOnce) {
    const std::pair<std::u16string_view, std::string_view> Valid[] = {
        {u"a\u00E9\u20AC", "a\xC3\xA9\xE2\x82\xAC"}, {u"\U0010FFFF\uFFFF", "\xF4\x8F\xBF\xBF\xEF\xBF\xBF"}};
    for (auto [Text, Bytes] : Valid) {
        EXPECT_EQ(ToUtf8(Text), Bytes);
        EXPECT_EQ(FromUtf8(Bytes), Text);
    }
    // ASCII runs go several units at a time: a wider unit must be found at every offset.
    const std::pair<std::u16string_view, std::string_view> Wide[] = {
        {u"\u0100", "\xC4\x80"}, {u"\u0080", "\xC2\x80"}, {u"\U0001D70B", "\xF0\x9D\x9C\x8B"}};
    for (auto [Unit, Bytes] : Wide)
        for (std::size_t At = 0; At <= 9; ++At) {
            SCOPED_TRACE(At);
            const std::string Before(At, 'x'), After(9 - At, 'y');
            EXPECT_EQ(ToUtf8(std::u16string(At, u'x') + std::u16string(Unit) + std::u16string(9 - At, u'y')),
                      Before + std::string(Bytes) + After);
        }
    EXPECT_EQ(ToUtf8(u"x\xD800"), "x\xEF\xBF\xBD");
    EXPECT_EQ(ToUtf8(u"\xDC00\xD800y"), "\xEF\xBF\xBD\xEF\xBF\xBDy");
    const std::pair<std::string_view, std::u16string_view> Invalid[] = {
        {"\x80\x80", u"\uFFFD\uFFFD"},             // stray continuation bytes
        {"a\xC3", u"a\uFFFD"},                     // truncated at the end
        {"\xE2\x82\xE2\x82\xAC", u"\uFFFD\u20AC"}, // truncated, then complete
        {"\xC0\x80", u"\uFFFD"},                   // overlong
        {"\xED\xA0\x80", u"\uFFFD"},               // an encoded surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD"}};          // above U+10FFFF
    for (auto [Bytes, Text] : Invalid) {
        SCOPED_TRACE(Bytes);
        EXPECT_EQ(FromUtf8(Bytes), Text);
    }
}
