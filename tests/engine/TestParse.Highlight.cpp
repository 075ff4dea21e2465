#include "Parse.Highlight.h"
#include "Parse.Infix.h"
#include "Scalar.h"
#include "TestSupport.h"

namespace {
const TSymbols& Symbols() {
    static const TSymbols S;
    return S;
}

TNameClasses Names() {
    TNameClasses N;
    N.Set(u"pi", syVariable);
    N.Set(u"sin", syBuiltin);
    N.Set(u"f", syUserFunction);
    return N;
}

// The spans painted over the line, one letter a unit: n number, v variable,
// b built-in, u user function, ? undefined, o operator, k bracket, c comment,
// e error, and a blank where no span is. ORDER TSyntaxClass
std::string Paint(std::u16string_view Line) {
    constexpr char Letters[] = "nvbu?okce";
    static_assert(sizeof Letters - 1 == syCount);
    THighlighter H(Symbols());
    std::string S(Line.size(), ' ');
    std::int32_t End = 0;
    for (const TSyntaxSpan& Span : H.Spans(Line, Names())) {
        EXPECT_GE(Span.Start, End) << "spans overlap or go back";
        EXPECT_GT(Span.Length, 0);
        EXPECT_LE(Span.Start + Span.Length, static_cast<std::int32_t>(Line.size()));
        for (std::int32_t I = Span.Start; I < Span.Start + Span.Length && I < std::ssize(S); ++I)
            S[I] = Letters[Span.Class];
        End = Span.Start + Span.Length;
    }
    return S;
}

struct TPaintCase {
    std::u16string_view Line;
    const char* Painted;
};
const TPaintCase PaintCases[] = {
    {u"2+3i", "nonn"},
    {u"sin(pi/4)", "bbbkvvonk"},
    {u"2x", "n?"}, // the implicit multiplication takes no character
    {u"2(f(1))", "nkuknkk"},
    {u"x := 2", "v oo n"},
    {u"g(a, b) := a*b + c", "ukvo vk oo vov o ?"},
    {u"g() := 1", "?kk oo n"},                            // no parameters: a call, not a definition
    {u"a := 1; b := a", "v oo no v oo ?"},                // each statement defines its own name
    {u"g(t) := t; t", "ukvk oo vo ?"},                    // a parameter is local to its statement
    {u"1 // note (x)", "n ccccccccccc"},                 // a comment to the end of the line
    {u"'('+$FF+#XII+10\u00B030'", "nnnonnnonnnnonnnnnn"}, // literals, with no bracket inside
    {u"1 + @@ 2", "n o ee  "},                            // the first error, to the next blank
    {u"2*1e+ 3", "noeee  "},
    {u"\u00D7\u221A4!", "oonn"}, // an explicit multiplication is drawn
    {std::u16string_view(u"1\0+\xD800", 4), "neee"},
    {u"(//(//\r\n2", "kccccco n"}, // a comment ends at a CR LF, as the tokenizer ends it (found by fuzzing)
};
} // namespace

TEST(THighlighter, PaintsEachTokenByItsClass) {
    for (const auto& C : PaintCases) {
        SCOPED_TRACE(U8(C.Line));
        EXPECT_EQ(Paint(C.Line), C.Painted);
    }
}

TEST(TNameClasses, TellsVariablesBuiltinsAndUserFunctionsApart) {
    TIdentList L;
    L.AddVar(u"v", 1, u"");
    L.AddFun(u"sin", FnSin, u"");
    L.Add(std::make_unique<TParsedFunction>(u"g", u""));
    const TNameClasses N(L);
    EXPECT_EQ(N.Of(u"v"), syVariable);
    EXPECT_EQ(N.Of(u"sin"), syBuiltin);
    EXPECT_EQ(N.Of(u"g"), syUserFunction);
    EXPECT_EQ(N.Of(u"V"), syUndefined); // names are case-sensitive
}

TEST(THighlighter, MatchesTheBracketAtTheCaret) {
    struct TCase {
        std::u16string_view Line;
        std::int32_t Caret;
        std::optional<TBracketPair> Pair;
    };
    const TCase Cases[] = {
        {u"(1+[2])", 0, TBracketPair{0, 6}},
        {u"(1+[2])", 7, TBracketPair{0, 6}}, // after the last bracket: the one before the caret
        {u"(1+[2])", 3, TBracketPair{3, 5}}, // the bracket after the caret wins
        {u"(1+[2])", 6, TBracketPair{0, 6}},
        {u"((1)", 0, TBracketPair{0, -1}},
        {u"1)", 2, TBracketPair{-1, 1}},
        {u"(1]", 0, TBracketPair{0, -1}}, // the other shape closes nothing
        {u"'('", 1, std::nullopt},        // a character literal
        {u"1 // (x)", 5, std::nullopt},   // a comment
        {u"1+2", 1, std::nullopt},
        {u"", 0, std::nullopt},
    };
    THighlighter H(Symbols());
    for (const auto& C : Cases) {
        SCOPED_TRACE(U8(C.Line) + " at " + std::to_string(C.Caret));
        const auto Pair = H.MatchBracket(C.Line, C.Caret);
        ASSERT_EQ(Pair.has_value(), C.Pair.has_value());
        if (Pair) {
            EXPECT_EQ(Pair->Left, C.Pair->Left);
            EXPECT_EQ(Pair->Right, C.Pair->Right);
        }
    }
}

// A pasted line of eight million units is coloured in one pass and its
// brackets are still matched, however deep they nest.
TEST(THighlighter, CopesWithAnEightMillionUnitLine) {
    THighlighter H(Symbols());
    std::u16string Line;
    for (int I = 0; Line.size() < 8'000'000; ++I)
        Line += I == 0 ? u"(x+1)" : u"*(x+1)";
    const auto N = static_cast<std::int32_t>(Line.size());
    const auto Spans = H.Spans(Line, Names());
    ASSERT_FALSE(Spans.empty());
    EXPECT_EQ(Spans.back().Start + Spans.back().Length, N);
    EXPECT_EQ(Spans[1].Class, syUndefined);
    EXPECT_EQ(H.MatchBracket(Line, N), (TBracketPair{N - 5, N - 1}));
    const std::u16string Open(8'000'000, u'(');
    EXPECT_EQ(H.MatchBracket(Open, 0), (TBracketPair{0, -1}));
}
