#include "Parse.Tokenize.h"
#include "Scalar.h"
#include "TestSupport.h"

#include <numbers>
#include <typeinfo>

namespace {
const TSymbols& Symbols() {
    static const TSymbols S;
    return S;
}

TTokenizer Scan(std::u16string_view Text) {
    return TTokenizer(Symbols(), std::u16string(Text));
}

// ORDER TOKENKIND
constexpr const char* KindNames[] = {"Number", "Imag",  "(",      ")",       "[",  "]", "!",
                                     "Sqrt",   "+",     "-",      "*",       "/",  "^", "Ident",
                                     ",",      "Error", "Assign", "Comment", "Sep"};

// The kinds of a list as one line, e.g. "Number * Ident".
std::string Kinds(const TTokens& Tokens) {
    std::string S;
    for (const TToken& T : Tokens)
        S += (S.empty() ? "" : " ") + std::string(KindNames[T.Kind]);
    return S;
}

constexpr Extended PiL = std::numbers::pi_v<Extended>;
} // namespace

// Found by argument-dependent lookup, so a failed comparison names the token.
void PrintTo(const TToken& T, std::ostream* Os) {
    *Os << '{' << KindNames[T.Kind] << ", " << T.Pos << ", \"" << U8(T.Text) << "\", "
        << static_cast<double>(T.Value) << '}';
}

TEST(TSymbols, ClassifiesCharacters) {
    const TSymbols& S = Symbols();
    for (char16_t C : std::u16string_view(u"\u03C0\u0436\u20AC_7a%\u2113$#"))
        EXPECT_TRUE(S.IsNameChar(C)) << static_cast<int>(C);
    for (char16_t C : std::u16string_view(u"\u00B5\u0451. \u00A0"))
        EXPECT_FALSE(S.IsNameChar(C)) << static_cast<int>(C);
    for (char16_t C : std::u16string_view(u"+/^\u2191-\u2212\u2013*\u00D7\u2219"))
        EXPECT_TRUE(S.IsOperator(C)) << static_cast<int>(C);
    EXPECT_FALSE(S.IsOperator(u'!') || S.IsOperator(u'\u221A') || S.IsOperator(u'('));
    EXPECT_EQ(std::u16string({S.MatchBracket(u'('), S.MatchBracket(u')'), S.MatchBracket(u'['),
                              S.MatchBracket(u']'), S.MatchBracket(u'x')}),
              u")(][[");
    EXPECT_TRUE(S.IsLeftBracket(u'[') && S.IsRightBracket(u')') && !S.IsLeftBracket(u')'));
    EXPECT_EQ(std::u16string({S.Minus()[0], S.Mult()[0], S.Power()[0], S.Imag()[0], S.Alpha()[0]}),
              u"\u2013\u2219^ia");
    EXPECT_EQ(S.Alpha().Count(), 52 + 50 + 64 + 15);
}

TEST(TTokens, CursorStopsPastTheEnd) {
    TTokens Empty;
    EXPECT_FALSE(Empty.First());
    EXPECT_EQ(Empty.Pointer(), 0);
    EXPECT_EQ(Empty.Pos(), 0);

    TTokenizer T = Scan(u"a // x\r\n;b");
    ASSERT_EQ(Kinds(T), "Ident Comment Sep Ident");
    EXPECT_TRUE(T.First());
    EXPECT_TRUE(T.Next());
    EXPECT_TRUE(T.Skip({tkComment, tkSeparator}));
    EXPECT_EQ(T.Text(), u"b");
    EXPECT_FALSE(T.Next());
    EXPECT_EQ(T.Pointer(), 4);
    EXPECT_TRUE(T.IsEnd());
    EXPECT_EQ(T.Pos(), 10);

    TTokenizer Blank = Scan(u"// only\r\n\r\n");
    EXPECT_FALSE(Blank.Skip({tkComment, tkSeparator}));
    EXPECT_EQ(Blank.Pointer(), Blank.Count());
}

TEST(TTokens, RendersCanonically) {
    struct TRenderCase {
        std::u16string_view Input, Output;
    };
    constexpr TRenderCase Cases[] = {
        {u"2*x-3", u"2\u2219x\u20133"},
        {u"2x^2", u"2\u2219x^2"},
        {u"2j", u"2i"},
        {u"\u221A(a\u00D7b)\u2212[c]\u21912!+d/e,f := 3I", u"\u221A(a\u2219b)\u2013[c]^2!+d/e,f:=3i"},
        {u"x //note", u"x //note"},
        {u"a ; b\r\n", u"a\r\nb\r\n"},
        {u"1 = 2", u"1"},
        {u"velocity12 * 123456.75e3 + 2.5e-3j // a longer note", u"velocity12∙123456.75e3+2.5e-3i //a longer note"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(U8(C.Input));
        const TTokenizer T = Scan(C.Input);
        EXPECT_EQ(U8(T.ToString()), U8(C.Output));
        // The rendering is sized from FmtSize before it is written.
        for (std::int32_t I = 0; I < T.Count(); ++I)
            EXPECT_EQ(T[I].FmtSize(Symbols()), T[I].Fmt(Symbols()).size()) << "token " << I;
    }
    TTokenizer T = Scan(u"1+2");
    EXPECT_EQ(T.ToString(2, 1), u"");
    EXPECT_EQ(T.ToString(1, 2), u"+2");
    const std::u16string Roomy = T.ToString(1, 2, 100); // room for a result to follow
    EXPECT_EQ(Roomy, u"+2");
    EXPECT_GE(Roomy.capacity(), 102u);
}

TEST(TTokens, AssignCopiesARangeWithSymbols) {
    TTokenizer Source = Scan(u"a+b-c*d");
    Source.SetPointer(5);
    TTokens Copy(Source, 4, 6);
    EXPECT_EQ(Copy.Count(), 3);
    EXPECT_EQ(Copy.Pointer(), 0);
    EXPECT_EQ(Copy.Symbols(), &Symbols());
    EXPECT_EQ(Copy.ToString(), u"c\u2219d");

    TOrdered<TToken> Plain;
    EXPECT_THROW(Copy.Assign(Plain, 0, -1), std::bad_cast);
    EXPECT_EQ(Copy.Count(), 3);
}

// x := 2  // two, a line break, y := x^2
TEST(TTokenizer, ReadsTheTwoLineExample) {
    const TToken Expected[] = {
        {tkIdent, 1, u"x", 0},     {tkAssign, 3, u"", 0},   {tkNumber, 6, u"2", 2}, {tkComment, 9, u"two", 0},
        {tkSeparator, 15, u"", 0}, {tkIdent, 17, u"y", 0},  {tkAssign, 19, u"", 0}, {tkIdent, 22, u"x", 0},
        {tkPower, 23, u"", 0},     {tkNumber, 24, u"2", 2},
    };
    TTokenizer T = Scan(u"x := 2  // two\r\ny := x^2");
    ASSERT_EQ(T.Count(), static_cast<std::int32_t>(std::size(Expected)));
    for (std::int32_t I = 0; I < T.Count(); ++I) {
        SCOPED_TRACE(I);
        EXPECT_EQ(T[I], Expected[I]);
    }
}

TEST(TTokenizer, SplitsTokensByTheOrderOfTries) {
    struct TKindsCase {
        std::u16string_view Input;
        const char* Kinds;
    };
    constexpr TKindsCase Cases[] = {
        {u"", ""},
        {u" \t ", ""},
        // implicit multiplication
        {u"2x", "Number * Ident"},
        {u"2 x", "Number * Ident"},
        {u"2(3)", "Number * ( Number )"},
        {u"(1)(2)", "( Number ) * ( Number )"},
        {u"2i(3)", "Imag * ( Number )"},
        {u"(3)!(2)", "( Number ) ! * ( Number )"},
        {u"2![1]", "Number * [ Number ]"},
        {u"f(x)", "Ident ( Ident )"},
        {u")x", ") * Ident"},
        {u"]x", "] * Ident"},
        {u"(3)!x", "( Number ) ! Ident"},
        {u"2ix", "Imag Ident"},
        {u"2\u03C0", "Number * Ident"},
        {u"$1f", "Number * Ident"},
        // separators and comments
        {u"a;;b", "Ident Sep Ident"},
        {u"a; ;b", "Ident Sep Ident"},
        {u"a\r\n\r\nb", "Ident Sep Ident"},
        {u";a", "Sep Ident"},
        {u"a //  \r\nb", "Ident Sep Ident"},
        {u"a\r\n//\t\r\nb", "Ident Sep Ident"},
        {u"a //", "Ident"},
        {u"a // c\r\n// d\r\nb", "Ident Comment Sep Comment Sep Ident"},
        {u"a // c;d\rx\ny", "Ident Comment"},
        // punctuation and names
        {u"a/b", "Ident / Ident"},
        {u"a//b", "Ident Comment"},
        {u"x:=1", "Ident Assign Number"},
        {u"x := 1", "Ident Assign Number"},
        {u"\u03C02", "Ident"},
        {u"x_1\u20AC", "Ident"},
        {u"%", "Ident"},
        {u"\u221Ax", "Sqrt Ident"},
        {u"2 !", "Number !"},
        {u"a,b-c\u2212d\u2013e", "Ident , Ident - Ident - Ident - Ident"},
        {u"1.2.3", "Number Number"},
        {u"10.5\u00B030'", "Number Number Error"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(U8(C.Input));
        EXPECT_EQ(Kinds(Scan(C.Input)), C.Kinds);
    }
}

TEST(TTokenizer, ReadsLiterals) {
    struct TLiteralCase {
        std::u16string_view Input;
        TTokenKind Kind;
        Extended Value;
        std::u16string_view Text;
    };
    const TLiteralCase Cases[] = {
        {u"12", tkNumber, 12, u"12"},
        {u"1.5e3", tkNumber, 1500, u"1.5e3"},
        {u"1.5E+3", tkNumber, 1500, u"1.5E+3"},
        {u"15e2", tkNumber, 1500, u"15e2"},
        {u"2e\u22123", tkNumber, 0.002L, u"2e\u22123"},
        {u"2e\u20133", tkNumber, 0.002L, u"2e\u20133"},
        {u".5", tkNumber, 0.5, u".5"},
        {u"5.", tkNumber, 5, u"5."},
        {u"3i", tkImag, 3, u"3"},
        {u"3j", tkImag, 3, u"3"},
        {u"3I", tkImag, 3, u"3"},
        {u"2.5e1j", tkImag, 25, u"2.5e1"},
        {u"50%", tkNumber, 0.5, u"50%"},
        {u"3!", tkNumber, 6, u"3!"},
        {u"0!", tkNumber, 1, u"0!"},
        {u"1.5\u00B0", tkNumber, 1.5L * DegreeInRadians, u"1.5\u00B0"},
        {u"90\u00B0", tkNumber, PiL / 2, u"90\u00B0"},
        {u"10\u00B030'", tkNumber, 10.5L * PiL / 180, u"10\u00B030'"},
        {u"10\u00B030'15\"", tkNumber, (10 + 30 / 60.0L + 15 / 3600.0L) * PiL / 180, u"10\u00B030'15\""},
        {u"0\u00B00.5'90.5\"", tkNumber, (0.5L * 60 + 90.5L) * PiL / 648000, u"0\u00B00.5'90.5\""},
        {u"1:30", tkNumber, 5400, u"1:30"},
        {u"1:30:15.5", tkNumber, 5415.5L, u"1:30:15.5"},
        {u"0:90", tkNumber, 5400, u"0:90"},
        {u"&1010", tkNumber, 10, u"&1010"},
        {u"$FF", tkNumber, 255, u"$FF"},
        {u"$1A2", tkNumber, 418, u"$1A2"},
        {u"#MCMXCIV", tkNumber, 1994, u"#MCMXCIV"},
        {u"'A'", tkNumber, 65, u"'A'"},
        {u"\" \"", tkNumber, 32, u"\" \""},
        {u"'''", tkNumber, 39, u"'''"},
        {u"\"'\"", tkNumber, 39, u"\"'\""},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(U8(C.Input));
        TTokenizer T = Scan(C.Input);
        ASSERT_EQ(T.Count(), 1) << Kinds(T);
        EXPECT_EQ(T[0].Kind, C.Kind);
        EXPECT_EQ(T[0].Pos, 1);
        EXPECT_EQ(U8(T[0].Text), U8(C.Text));
        EXPECT_TRUE(CompNear({T[0].Value, 0}, {C.Value, 0}, 1e-16L));
    }
}

TEST(TTokenizer, EndsWithOneErrorAtTheFailingToken) {
    struct TErrorCase {
        std::u16string_view Input;
        std::int32_t Pos;
        const char* Message;
    };
    const TErrorCase Cases[] = {
        {u"1 = 2", 3, "Unreckognized symbol '='"},
        {u"a@", 2, "Unreckognized symbol '@'"},
        {u"{", 1, "Unreckognized symbol '{'"},
        {u"x:y", 2, "Unreckognized symbol ':'"},
        {u"1\u00A0", 2, "Unreckognized symbol '\u00A0'"},
        {u"2e", 1, "Invalid floating-point value"},
        {u"2ex", 1, "Invalid floating-point value"},
        {u"2e+", 1, "Invalid floating-point value"},
        {u"2e-x", 1, "Invalid floating-point value"},
        {u"x+2eps", 3, "Invalid floating-point value"},
        {u".", 1, "Invalid floating-point value"},
        {u"1e99999", 1, "'1e99999' is not a valid floating point value"},
        {u"10\u00B030", 1, "Invalid angular value"},
        {u"10\u00B030'15", 1, "Invalid angular value"},
        {u"1: ", 1, "Invalid time value"},
        {u"1:30:", 1, "Invalid time value"},
        {u"5:=2", 1, "Invalid time value"},
        {u"&2", 1, "Binary number expected"},
        {u"&", 1, "Binary number expected"},
        {u"$ff", 1, "Hexadecimal number expected"},
        {u"#IIII", 1, "Not a Roman numeral"},
        {u"#MMMM", 1, "Not a Roman numeral"},
        {u"#mcm", 1, "Roman number expected"},
        {u"x+'", 3, "A character expected"},
        {u"\"A'", 1, "Enclosing quotation mark expected"},
        {u"'A", 1, "Enclosing quotation mark expected"},
        {u"2000!", 1, "Floating point overflow"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(U8(C.Input));
        TTokenizer T = Scan(C.Input);
        ASSERT_GT(T.Count(), 0);
        EXPECT_EQ(T.Last().Kind, tkError);
        EXPECT_EQ(T.Last().Pos, C.Pos);
        EXPECT_EQ(U8(T.Last().Text), C.Message);
        for (std::int32_t I = 0; I + 1 < T.Count(); ++I)
            EXPECT_NE(T[I].Kind, tkError);
    }
}

TEST(TTokenizer, ReassigningReplacesTheListButKeepsTheCursor) {
    TTokenizer T = Scan(u"a+b");
    T.SetPointer(2);
    T.SetExpression(u"c");
    EXPECT_EQ(Kinds(T), "Ident");
    EXPECT_EQ(T[0].Text, u"c");
    EXPECT_EQ(T.Pointer(), 2);
    EXPECT_EQ(T.Expression(), u"c");
}

// Pasted text can hold anything; none of it may crash or read past the end.
TEST(TTokenizer, SurvivesHostileInput) {
    struct THostileCase {
        std::u16string Input;
        const char* Kinds;
        std::u16string_view LastText;
    };
    const THostileCase Cases[] = {
        {std::u16string(u"1+\0", 3), "Number + Error", std::u16string_view(u"Unreckognized symbol '\0'", 24)},
        {std::u16string(u"'\0'", 3), "Number", std::u16string_view(u"'\0'", 3)},
        {std::u16string(u"\"", 1), "Error", u"A character expected"},
        {u"x\xD800", "Ident Error", u"Unreckognized symbol '\xD800'"},
        {u"\xDC00x", "Error", u"Unreckognized symbol '\xDC00'"},
        {u"1\U0001F600", "Number Error", u"Unreckognized symbol '\xD83D'"},
        {u"// \U0001F600\xD800", "Comment", u"\U0001F600\xD800"},
        {u"$" + std::u16string(5000, u'F'), "Error", u"Floating point overflow"},
        {u"&" + std::u16string(20000, u'1'), "Error", u"Floating point overflow"},
        {std::u16string(4931, u'9') + u":0", "Error", u"Floating point overflow"},
        {u"0." + std::u16string(100000, u'0') + u"1", "Number", {}},
        {u"1e\u221299999", "Number", u"1e\u221299999"}, // too small: 0, not an error
        {u"1." + std::u16string(100000, u'3'), "Number", {}},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(U8(C.Input.substr(0, 20)));
        TTokenizer T = Scan(C.Input);
        EXPECT_EQ(Kinds(T), C.Kinds);
        if (!C.LastText.empty()) {
            EXPECT_EQ(T.Last().Text, C.LastText);
        }
    }

    TTokenizer Huge = Scan(std::u16string(100000, u'7'));
    ASSERT_EQ(Kinds(Huge), "Error");
    EXPECT_EQ(U8(Huge[0].Text), "'" + std::string(100000, '7') + "' is not a valid floating point value");
}

// No clock: lines of a million characters, of the shapes on which a rescan of
// the text or of the token list per token is quadratic (about 10^12 steps), so
// such a fault turns this test into one that runs for hours instead of well
// under a second, even in instrumented builds, and cannot go unnoticed.
TEST(TTokenizer, ScansLongLinesInLinearTime) {
    const auto SumOf = [](std::size_t Length) {
        std::u16string Sum = u"1";
        while (Sum.size() < Length)
            Sum += u"+1";
        return Sum;
    };
    const std::u16string Megabyte = SumOf(1'000'000);
    TTokenizer T = Scan(Megabyte);
    EXPECT_EQ(T.Count(), static_cast<std::int32_t>(Megabyte.size()));
    EXPECT_EQ(T.Last().Pos, static_cast<std::int32_t>(Megabyte.size()));
    EXPECT_EQ(Kinds(Scan(u"//" + std::u16string(1'000'000, u'x') + u"\r\n")), "Comment Sep");
    EXPECT_EQ(Kinds(Scan(std::u16string(1'000'000, u'x') + u"(")), "Ident (");
    EXPECT_EQ(Kinds(Scan(std::u16string(1'000'000, u' ') + u"\r\n;\r\n")), "Sep");
}
