// The look-alike filter for pasted and imported text: every mapping, the
// characters it leaves alone, its report, and that a second pass changes nothing.
#include "Normalize.h"
#include "Parse.Tokenize.h"
#include "TestSupport.h"

namespace {
struct TNormalizeCase {
    const char* Name;
    std::u16string_view Text;
    std::u16string_view Result;
    std::size_t Replaced;
    std::u16string_view Distinct;
};

constexpr TNormalizeCase NormalizeCases[] = {
    {"middle dot", u"2\u00B73", u"2\u22193", 1, u"\u00B7"},
    {"dot operator", u"a\u22C5b", u"a\u2219b", 1, u"\u22C5"},
    {"division sign", u"6\u00F72", u"6/2", 1, u"\u00F7"},
    {"division slash", u"1\u22152", u"1/2", 1, u"\u2215"},
    {"figure dash", u"5\u20123", u"5\u20133", 1, u"\u2012"},
    {"em dash", u"\u20145", u"\u20135", 1, u"\u2014"},
    {"horizontal bar", u"a\u2015b", u"a\u2013b", 1, u"\u2015"},
    {"no-break space", u"1\u00A0+\u00A02", u"1 + 2", 2, u"\u00A0"},
    {"figure space", u"1\u2007000", u"1 000", 1, u"\u2007"},
    {"thin space", u"x\u2009y", u"x y", 1, u"\u2009"},
    {"narrow no-break space", u"x\u202Fy", u"x y", 1, u"\u202F"},
    {"ideographic space", u"x\u3000y", u"x y", 1, u"\u3000"},
    {"every superscript digit", u"x\u2070\u00B9\u00B2\u00B3\u2074\u2075\u2076\u2077\u2078\u2079",
     u"x^0123456789", 10, u"\u2070\u00B9\u00B2\u00B3\u2074\u2075\u2076\u2077\u2078\u2079"},
    {"square", u"x\u00B2", u"x^2", 1, u"\u00B2"},
    {"a negative exponent is bracketed", u"x\u207B\u00B9+1", u"x^(\u20131)+1", 2, u"\u207B\u00B9"},
    {"also at the end of the text", u"10\u207B\u00B3", u"10^(\u20133)", 2, u"\u207B\u00B3"},
    {"a run of superscripts is one exponent", u"10\u00B2\u00B3", u"10^23", 2, u"\u00B2\u00B3"},
    {"runs apart are two exponents", u"x\u00B2+y\u00B2", u"x^2+y^2", 2, u"\u00B2"},
    {"full-width first", u"\uFF01", u"!", 1, u"\uFF01"},
    {"full-width last", u"\uFF5E", u"~", 1, u"\uFF5E"},
    {"full-width digits and operators", u"\uFF11\uFF0B\uFF12", u"1+2", 3, u"\uFF11\uFF0B\uFF12"},
    {"full-width letters", u"\uFF53\uFF49\uFF4E", u"sin", 3, u"\uFF53\uFF49\uFF4E"},
    {"just outside the full-width block", u"\uFF00\uFF5F", u"\uFF00\uFF5F", 0, u""},
    {"prime after a digit", u"30\u00B015\u2032", u"30\u00B015'", 1, u"\u2032"},
    {"right quote after a digit", u"15\u2019", u"15'", 1, u"\u2019"},
    {"double prime after a digit", u"30\u00B015'20\u2033", u"30\u00B015'20\"", 1, u"\u2033"},
    {"right double quote after a digit", u"20\u201D", u"20\"", 1, u"\u201D"},
    {"primes elsewhere stay", u"\u2032x\u2019 \u2033a\u201D", u"\u2032x\u2019 \u2033a\u201D", 0, u""},
    {"a replaced digit counts as a digit", u"\uFF15\u2032", u"5'", 2, u"\uFF15\u2032"},
    {"a superscript digit counts as a digit", u"x\u00B2\u2019", u"x^2'", 2, u"\u00B2\u2019"},
    {"several kinds, each named once", u"6\u00F72\u00B73\u00F71", u"6/2\u22193/1", 3, u"\u00F7\u00B7"},
};

// What the language reads already, and characters it does not know at all.
constexpr std::u16string_view UnchangedTexts[] = {
    u"",
    u"x := 2; f(t) := t^2 + 1\r\nsin(30\u00B0)",
    u"2\u22193 2\u00D73 2*3 5\u20133 5\u22123 5-3 2^3 2\u21913 \u221A4 9!",
    u"\u03B1\u03B2 \u0436 \u20AC\u00A3$# 'a' \"b\" 12:30:15 30\u00B015'20\"",
    u"\u2212\u00B1\u2026\u201C\u2018\u00BD\u2080",
};
} // namespace

TEST(NormalizeText, ReplacesEveryLookAlike) {
    for (const auto& C : NormalizeCases) {
        SCOPED_TRACE(C.Name);
        TNormalizeReport Report;
        EXPECT_EQ(U8(NormalizeText(C.Text, &Report)), U8(C.Result));
        EXPECT_EQ(Report.Replaced, C.Replaced);
        EXPECT_EQ(U8(Report.Distinct), U8(C.Distinct));
    }
}

TEST(NormalizeText, LeavesTextWithoutLookAlikesAlone) {
    for (const auto Text : UnchangedTexts) {
        SCOPED_TRACE(U8(Text));
        TNormalizeReport Report;
        EXPECT_EQ(U8(NormalizeText(Text, &Report)), U8(Text));
        EXPECT_EQ(Report.Replaced, 0u);
        EXPECT_TRUE(Report.Distinct.empty());
    }
}

TEST(NormalizeText, SecondPassChangesNothing) {
    for (const auto& C : NormalizeCases) {
        SCOPED_TRACE(C.Name);
        const std::u16string Once = NormalizeText(C.Text);
        TNormalizeReport Report;
        EXPECT_EQ(U8(NormalizeText(Once, &Report)), U8(Once));
        EXPECT_EQ(Report.Replaced, 0u);
    }
}

TEST(NormalizeText, KeepsLoneSurrogatesAndNul) {
    const std::u16string Text{u'\xD800', u'\0', u'\u00F7', u'\xDC00', u'\0'};
    const std::u16string Expected{u'\xD800', u'\0', u'/', u'\xDC00', u'\0'};
    EXPECT_EQ(NormalizeText(Text), Expected);
}

TEST(NormalizeText, ReplacesOnlyWithWhatTheTokenizerReads) {
    // Each operator look-alike becomes an operator the tokenizer accepts, and
    // was not one before.
    const TSymbols Symbols;
    for (const char16_t C : std::u16string_view(u"\u00B7\u22C5\u00F7\u2215\u2012\u2014\u2015")) {
        SCOPED_TRACE(U8(std::u16string(1, C)));
        const std::u16string R = NormalizeText(std::u16string(1, C));
        ASSERT_EQ(R.size(), 1u);
        EXPECT_FALSE(Symbols.IsOperator(C));
        EXPECT_TRUE(Symbols.IsOperator(R[0]));
    }
    EXPECT_EQ(NormalizeText(u"1\u2032"), std::u16string(u"1") + Symbols.Minute());
    EXPECT_EQ(NormalizeText(u"1\u2033"), std::u16string(u"1") + Symbols.Second());
}
