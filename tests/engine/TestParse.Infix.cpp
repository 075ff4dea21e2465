// The parser, user functions and the runner, driven through whole program texts.
#include "Parse.Infix.h"
#include "TestSupport.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <pthread.h>
#endif

namespace {
struct TRun {
    std::vector<std::string> Lines;
    bool Ok;
};

// Runs Text (line breaks already CR LF) on a fresh symbol table.
TRun RunProgram(std::string_view Text, TNumberFormat Format = nfDec, int Precision = 5) {
    GlobalIdents().Clear();
    RegisterBuiltins(GlobalIdents());
    TProgramParser Parser;
    Parser.SetNumberFormat(Format);
    Parser.SetPrecision(Precision);
    TRun R{{}, Parser.Execute(U16(Text), false)};
    for (int I = 0; I < Parser.Output().Strings().Count(); ++I)
        R.Lines.push_back(U8(Parser.Output().Strings().Get(I)));
    return R;
}

std::string LastLine(std::string_view Text) {
    TRun R = RunProgram(Text);
    return R.Lines.empty() ? "<no output>" : R.Lines.back();
}

std::string Repeat(std::string_view S, int N) {
    std::string R;
    for (int I = 0; I < N; ++I)
        R += S;
    return R;
}

struct TLineCase {
    const char* Text;
    const char* Line;
};
} // namespace

TEST(Parser, ReportsEachErrorWithItsPosition) {
    const TLineCase Cases[] = {
        {"1/0", "Floating point division by zero (row 1, col 2)"},
        {"2^-1", "Factor expected (row 1, col 3)"},
        {"2*-3", "Factor expected (row 1, col 3)"},
        {"(2]", "Enclosing bracket expected (row 1, col 3)"},
        {"(2", "Enclosing bracket expected (row 1, col 2)"},
        {"sin(2]", "Enclosing paranthesis expected (row 1, col 6)"},
        {"sin(,1)", "Factor expected (row 1, col 5)"},
        {"sin + 1", "Function 'sin' called without arguments (row 1, col 1)"},
        {"sin(1, 2)", "Error in function 'sin' (row 1, col 1): Function 'sin' takes 1 argument"},
        {"atan2(1)", "Error in function 'atan2' (row 1, col 1): Function 'atan2' takes 2 arguments"},
        {"time(1)", "Error in function 'time' (row 1, col 1): Function 'time' takes no arguments"},
        {"rem(1i, 2)",
         "Error in function 'rem' (row 1, col 1): The argument(s) passed to 'mod()' must be real"},
        {"div(1, 0)", "Error in function 'div' (row 1, col 1): Division by zero"},
        {"mean()", "Error in function 'mean' (row 1, col 1): Invalid floating point operation"},
        {"rnd(1, 2, 3)", "Error in function 'rnd' (row 1, col 1): Function 'rnd' takes 0, 1 or 2 arguments"},
        {"Pi", "Unknown identifier 'Pi' (row 1, col 1)"},
        {"nope(1)", "Unknown identifier 'nope' (row 1, col 1)"},
        {"1 = 2", "Unreckognized symbol '=' (row 1, col 3)"},
        {"x := ", "Factor expected (row 1, col 3)"},
        {"x := 1 +", "Factor expected (row 1, col 8)"},
        {"exp(20000)", "Error in function 'exp' (row 1, col 1): Floating point overflow"},
        {"(-1)!", "Floating point division by zero (row 1, col 5)"},
        {"1e99999", "'1e99999' is not a valid floating point value (row 1, col 1)"},
        {"\xCE\xB1 + 1", "Unknown identifier '\xCE\xB1' (row 1, col 1)"},
        {"1\r\n\r\n  y", "Unknown identifier 'y' (row 3, col 3)"},
        {"1\n2 +", "Factor expected (row 1, col 5)"}, // bare LF does not start a row
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Text);
        TRun R = RunProgram(C.Text);
        ASSERT_FALSE(R.Lines.empty());
        EXPECT_EQ(R.Lines.back(), C.Line);
        EXPECT_FALSE(R.Ok);
    }
}

TEST(Parser, EvaluatesOperatorsWithTheirBindingAndAssociativity) {
    const TLineCase Cases[] = {
        {"-3^2", "–3^2 = –9"},
        {"2^3^2", "2^3^2 = 512"},
        {"2*3+4*5", "2∙3+4∙5 = 26"},
        {"12/3/2", "12/3/2 = 2"},
        {"10-2-3", "10–2–3 = 5"},
        {"√16", "√16 = 4"},
        {"[1+2]*3", "[1+2]∙3 = 9"},
        {"2(3)", "2∙(3) = 6"},
        {"0^0", "0^0 = 0"},
        {"0^(-1)", "0^(–1) = 0"},
        {"2i*2i", "2i∙2i = –4"},
        {"sqrt(-4)", "sqrt(–4) = 2i"},
        {"(-8)^(1/3)", "(–8)^(1/3) = 1+1.7321i"},
        {"4!", "4! = 24"},
        {"(4)!", "(4)! = 24"},
        {"e^(1i*pi)", "e^(1i∙pi) = –1"},
        {"1 + 1e-15i", "1+1e-15i = 1+1E–15i"}, // only the value's minus signs are replaced
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Text);
        EXPECT_EQ(LastLine(C.Text), C.Line);
    }
}

TEST(Runner, WritesNothingForEmptyOrCommentOnlyPrograms) {
    for (const char* Text : {"", "   ", "// just a note", "\r\n\r\n// a\r\n;;\r\n"}) {
        SCOPED_TRACE(Text);
        TRun R = RunProgram(Text);
        EXPECT_TRUE(R.Lines.empty());
        EXPECT_TRUE(R.Ok);
    }
}

TEST(Runner, KeepsDefinitionsOfEarlierStatementsAfterAnError) {
    GlobalIdents().Clear();
    RegisterBuiltins(GlobalIdents());
    TProgramParser Parser;
    EXPECT_FALSE(Parser.Execute(u"a := 7\r\nv2 := 1/0\r\nv3 := 1", false));
    auto* A = GlobalIdents().Find<TVariable>(u"a");
    ASSERT_NE(A, nullptr);
    EXPECT_EQ(A->Value(), TComp(7));
    EXPECT_EQ(GlobalIdents().Find(u"v2"), nullptr);
    EXPECT_EQ(GlobalIdents().Find(u"v3"), nullptr);
    // A later run sees what the first one defined.
    EXPECT_TRUE(Parser.Execute(u"a*2", false));
    EXPECT_EQ(U8(Parser.Output().Strings().Get(0)), "a∙2 = 14");
}

TEST(Runner, ReRunsTheLastTokensWithANewPrecision) {
    GlobalIdents().Clear();
    RegisterBuiltins(GlobalIdents());
    TProgramParser Parser;
    Parser.Execute(u"pi", false);
    EXPECT_EQ(U8(Parser.Output().Strings().Get(0)), "pi = 3.1416");
    Parser.SetPrecision(Parser.Precision() + 1);
    Parser.Execute(false);
    EXPECT_EQ(U8(Parser.Output().Strings().Get(0)), "pi = 3.14159");
    for (auto [Set, Stored] : {std::pair{1, 2}, {40, 18}, {-5, 2}, {18, 18}, {2, 2}}) {
        Parser.SetPrecision(Set);
        EXPECT_EQ(Parser.Precision(), Stored);
    }
}

TEST(Runner, SilentRunsWriteNothingButStillDefine) {
    GlobalIdents().Clear();
    RegisterBuiltins(GlobalIdents());
    TProgramParser Parser;
    Parser.Execute(u"1+1", false);
    EXPECT_TRUE(Parser.Execute(u"q := 5", true));
    EXPECT_EQ(Parser.Output().Strings().Count(), 1);
    EXPECT_NE(GlobalIdents().Find<TVariable>(u"q"), nullptr);
}

TEST(Runner, PreserveSeparatesRunsWithTheDivider) {
    GlobalIdents().Clear();
    RegisterBuiltins(GlobalIdents());
    TProgramParser Parser;
    Parser.Output().SetPreserve(true);
    Parser.Execute(u"1", false);
    Parser.Execute(u"2", false);
    const TStrings& S = Parser.Output().Strings();
    ASSERT_EQ(S.Count(), 3);
    EXPECT_EQ(U8(S.Get(1)), std::string(40, '='));
    EXPECT_EQ(U8(S.Get(2)), "2 = 2");
}

TEST(Runner, AssignmentReplacesAnyKindOfTheSameName) {
    TRun R = RunProgram("f(x) := x\r\nf := 3\r\nf\r\nf(1)");
    ASSERT_EQ(R.Lines.size(), 4u);
    EXPECT_EQ(R.Lines[2], "f = 3");
    EXPECT_EQ(R.Lines[3], "'f' is a variable, but is called like a function (row 4, col 1)");
}

TEST(Runner, DefinitionAtTheEndOfALineTakesTheNextLineAsBody) {
    TRun R = RunProgram("f(x) :=\r\nx^2\r\nf(2)");
    ASSERT_EQ(R.Lines.size(), 2u);
    EXPECT_EQ(R.Lines[0], "f(x) = \r\nx^2");
    EXPECT_EQ(R.Lines[1], "Error in function 'f' (row 3, col 1): Factor expected (at position 8)");
}

TEST(Runner, StoresTheCommentsOfAssignmentsAndDefinitions) {
    RunProgram("x := 2 // two\r\nf(t) := t // ident");
    auto* X = GlobalIdents().Find<TVariable>(u"x");
    ASSERT_NE(X, nullptr);
    EXPECT_EQ(U8(X->ToStringC()), "x = 2   //two");
    auto* F = GlobalIdents().Find<TFunction>(u"f");
    ASSERT_NE(F, nullptr);
    EXPECT_EQ(U8(F->ToStringC()), "f(t) = t   //ident");
}

TEST(Runner, FunctionsOutliveTheRunnerThatDefinedThem) {
    GlobalIdents().Clear();
    RegisterBuiltins(GlobalIdents());
    {
        TProgramParser First;
        First.Execute(u"sq(x) := x*x", false);
    }
    TProgramParser Second;
    EXPECT_TRUE(Second.Execute(u"sq(3)", false));
    EXPECT_EQ(U8(Second.Output().Strings().Get(0)), "sq(3) = 9");
    EXPECT_EQ(U8(GlobalIdents().Find<TFunction>(u"sq")->ToString()), "sq(x) = x∙x");
}

TEST(Runner, FormatsResultsInEachNumberFormat) {
    struct TCase {
        TNumberFormat Format;
        const char* Text;
        const char* Line;
    };
    const TCase Cases[] = {
        {nfBin, "9223372036854775807",
         "9223372036854775807 = &111111111111111111111111111111111111111111111111111111111111111"},
        {nfBin, "1e19", "1e19 = 1E19 //cannot convert to binary"},
        {nfHex, "-0", "–0 = $0"},
        {nfRoman, "0.99", "0.99 = 0.99 //cannot convert to Roman"},
        {nfRoman, "1.4", "1.4 = #I"},
        {nfTime, "-0.5", "–0.5 = –0:00:00.50"},
        {nfTime, "8.99e16", "8.99e16 = 24972222222222:13:20"},
        {nfAngle, "-10°30'15\"", "–10°30'15\" = –10°30'15\""},
        {nfAngle, "pi+1i", "pi+1i = 180°0'"},
        {nfAngle, "1e12", "1e12 = 1E12 //cannot convert to angle format"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Text);
        TRun R = RunProgram(C.Text, C.Format);
        ASSERT_EQ(R.Lines.size(), 1u);
        EXPECT_EQ(R.Lines[0], C.Line);
    }
}

// Nesting is bounded by one budget; the deepest accepted statement must fit in the
// main-thread stack of a desktop program.
namespace {
struct TNestCase {
    const char* Name;
    std::string Open, Inner, Close;
};

std::string Nest(const TNestCase& C, int N) {
    return Repeat(C.Open, N) + C.Inner + Repeat(C.Close, N);
}

std::vector<TNestCase> NestCases() {
    return {{"brackets", "(", "1", ")"},
            {"roots", "\xE2\x88\x9A", "1", ""},
            {"powers", "1^", "1", ""},
            {"arguments", "abs(", "1", ")"}};
}

#ifdef _WIN32
DWORD WINAPI RunOnThread(void* Arg) {
    auto* Text = static_cast<std::pair<std::string, std::string>*>(Arg);
    Text->second = LastLine(Text->first);
    return 0;
}

// Runs Text on a thread with a stack of the given size and answers its last line.
// (winpthreads ignores a stack size below the program's own.)
std::string LastLineOnStack(const std::string& Text, std::size_t StackBytes) {
    std::pair<std::string, std::string> Io{Text, {}};
    HANDLE Thread = CreateThread(nullptr, StackBytes, RunOnThread, &Io, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    EXPECT_NE(Thread, nullptr);
    if (!Thread) return {};
    WaitForSingleObject(Thread, INFINITE);
    CloseHandle(Thread);
    return Io.second;
}
#else
void* RunOnThread(void* Arg) {
    auto* Text = static_cast<std::pair<std::string, std::string>*>(Arg);
    Text->second = LastLine(Text->first);
    return nullptr;
}

// Runs Text on a thread with a stack of the given size and answers its last line.
std::string LastLineOnStack(const std::string& Text, std::size_t StackBytes) {
    std::pair<std::string, std::string> Io{Text, {}};
    pthread_attr_t Attr;
    pthread_attr_init(&Attr);
    pthread_attr_setstacksize(&Attr, StackBytes);
    pthread_t Thread;
    EXPECT_EQ(pthread_create(&Thread, &Attr, RunOnThread, &Io), 0);
    pthread_join(Thread, nullptr);
    pthread_attr_destroy(&Attr);
    return Io.second;
}

#endif

#if defined(__SANITIZE_ADDRESS__)
constexpr std::size_t MainStack = 64u << 20; // instrumented frames are several times larger
#else
constexpr std::size_t MainStack = 8u << 20; // a desktop program's main thread
#endif
std::string DeepLastLine(const std::string& Text) {
    return LastLineOnStack(Text, MainStack);
}
} // namespace

TEST(Runner, AcceptsNestingUpToTheLimitOnAMainThreadStack) {
    for (const auto& C : NestCases()) {
        SCOPED_TRACE(C.Name);
        std::string Line = DeepLastLine(Nest(C, MaxNestingDepth - 1));
        EXPECT_EQ(Line.find("nested"), std::string::npos) << Line.substr(0, 200);
        EXPECT_NE(Line.find(" = 1"), std::string::npos) << Line.substr(0, 200);
    }
}

TEST(Runner, RejectsNestingBeyondTheLimitAtThePositionReached) {
    for (const auto& C : NestCases()) {
        SCOPED_TRACE(C.Name);
        std::string Text = Nest(C, MaxNestingDepth);
        std::string Line = DeepLastLine(Text);
        EXPECT_EQ(Line.rfind(std::string(MsgTooDeep) + " (row 1, col ", 0), 0u) << Line;
    }
    // Far beyond the limit it fails the same way instead of exhausting the stack.
    EXPECT_EQ(DeepLastLine(Repeat("(", 100000)).rfind(MsgTooDeep, 0), 0u);
    EXPECT_EQ(DeepLastLine(Repeat("\xE2\x88\x9A", 100000) + "2").rfind(MsgTooDeep, 0), 0u);
    EXPECT_EQ(DeepLastLine(Repeat("2^", 100000) + "2").rfind(MsgTooDeep, 0), 0u);
}

TEST(Runner, BoundsChainsOfUserFunctionsByTheSameBudget) {
    auto Chain = [](int N) {
        std::string P = "f0(x) := x\r\n";
        for (int I = 1; I <= N; ++I)
            P += "f" + std::to_string(I) + "(x) := f" + std::to_string(I - 1) + "(x)\r\n";
        return P + "f" + std::to_string(N) + "(1)";
    };
    // The call in the runner, one call in each body and the body of f0 each take a level.
    const int Longest = MaxNestingDepth - 2;
    EXPECT_EQ(DeepLastLine(Chain(Longest)), "f" + std::to_string(Longest) + "(1) = 1");
    std::string JustTooLong = DeepLastLine(Chain(Longest + 1));
    EXPECT_NE(JustTooLong.find(MsgTooDeep), std::string::npos) << JustTooLong;
    std::string Deep = DeepLastLine(Chain(10000));
    EXPECT_EQ(Deep.rfind("Error in function 'f10000' (row 10002, col 1): " + std::string(MsgTooDeep), 0), 0u)
        << Deep;
}

TEST(Runner, RefusesALevelWhenTheThreadStackRunsShort) {
    // 600 levels of arguments need more than a 512 KB stack holds.
    std::string Line = LastLineOnStack(Nest(NestCases()[3], 600), 512u << 10);
    EXPECT_EQ(Line.rfind(std::string(MsgTooDeep) + " (row 1, col ", 0), 0u) << Line.substr(0, 100);
}

TEST(Runner, TellsWhetherARunEndedWithAnError) {
    EXPECT_TRUE(RunProgram("1; 2").Ok);
    EXPECT_FALSE(RunProgram("1; 2 3").Ok);
    EXPECT_FALSE(RunProgram("1; @").Ok);
}

namespace {
struct TSpanCase {
    const char* Text;    // line breaks already CR LF
    std::int32_t Offset; // -1: no place
    const char* Token;   // the text the span covers
};
} // namespace

TEST(Runner, PlacesTheErrorAtTheOffendingToken) {
    const TSpanCase Cases[] = {
        {"1 + 2", -1, ""},
        {"1 + @", 4, "@"},                                // the tokenizer's error
        {"1\r\n2 + 3\r\n1e99999 + 1", 10, "1e99999"},     // a bad literal, up to the blank
        {"x := 1;@y", 7, "@y"},                           // an error token runs to a blank or separator
        {"2^-1", 2, "-"},                                 // a parse error
        {"(2  ", 1, "2"},                                 // the tokens ran out: the last one
        {"1 + 2 3", 6, "3"},                              // end of statement
        {"1 + // note", 4, "// note"},                    // a comment cannot start a factor
        {"x := 1 +\r\n", 8, ""},                          // at a line break, which takes no room
        {"x := 1 +  ;", 10, ";"},                         // a separator of its own
        {"1\r\n2\r\n  bb + 1\r\n4\r\n5", 8, "bb"},        // an unknown name in row 3
        {"2xy", 1, "xy"},                                 // the name, not the multiplication before it
        {"a := 1\r\na(2)", 8, "a"},                       // a variable called like a function
        {"x := 2 * div(1, 0)", 9, "div"},                 // inside a built-in function
        {"1/0", 1, "/"},                                  // an arithmetic fault at its operator
        {"f(x) := 1/x\r\n1 + f(0)", 17, "f"},             // in a user function's body: the call
        {"f(x) := 1/x\r\ng(x) := f(x)\r\ng(0)", 27, "g"}, // two levels down: still the call
        {"f(x) := f(x)\r\nf(1)", 14, "f"},                // a refused recursion
    };
    GlobalIdents().Clear();
    RegisterBuiltins(GlobalIdents());
    TProgramParser Parser;
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Text);
        const bool Ok = Parser.Execute(U16(C.Text), false);
        const TErrorSpan Span = Parser.ErrorSpan();
        EXPECT_EQ(Span.Offset, C.Offset);
        if (Span.Offset >= 0)
            EXPECT_EQ(U8(U16(C.Text).substr(Span.Offset, Span.Length)), C.Token);
        else
            EXPECT_EQ(Span.Length, 0);
        const auto& Lines = Parser.Output().Strings();
        ASSERT_GT(Lines.Count(), 0);
        if (Ok)
            EXPECT_TRUE(Parser.ErrorMessage().empty());
        else
            EXPECT_EQ(Parser.ErrorMessage(), Lines.Get(Lines.Count() - 1));
    }
}

TEST(Runner, ForgetsTheErrorPlaceOnTheNextRun) {
    GlobalIdents().Clear();
    RegisterBuiltins(GlobalIdents());
    TProgramParser Parser;
    EXPECT_FALSE(Parser.Execute(u"1 + yy", false));
    EXPECT_EQ(Parser.ErrorSpan(), (TErrorSpan{4, 2}));
    EXPECT_FALSE(Parser.Execute(false)); // the same tokens again: the same place
    EXPECT_EQ(Parser.ErrorSpan(), (TErrorSpan{4, 2}));
    EXPECT_TRUE(Parser.Execute(u"1 + 2", false));
    EXPECT_EQ(Parser.ErrorSpan(), TErrorSpan{});
    EXPECT_TRUE(Parser.ErrorMessage().empty());
    // A text refused for its length names no place in it.
    EXPECT_FALSE(Parser.Execute(std::u16string(MaxProgramLength + 1, u'1'), false));
    EXPECT_EQ(Parser.ErrorSpan(), TErrorSpan{});
    EXPECT_EQ(U8(Parser.ErrorMessage()).rfind("Program too long", 0), 0u);
}

namespace {
// Each range as "line|statement|comment", the texts cut from the program, and
// the kind of line unless it is a value.
std::vector<std::string> RangeTexts(const TProgramParser& Parser, std::u16string_view Text) {
    std::vector<std::string> R;
    for (const TStatementRange& S : Parser.StatementRanges()) {
        std::string Row =
            std::to_string(S.LineIndex) + "|" + U8(Text.substr(S.First, S.Last - S.First)) + "|";
        if (S.CommentFirst >= 0) Row += U8(Text.substr(S.CommentFirst, S.CommentLast - S.CommentFirst));
        if (S.Kind != lkValue) Row += S.Kind == lkError ? " error" : " definition";
        R.push_back(Row);
    }
    return R;
}

struct TRangeCase {
    const char* Text; // line breaks already CR LF
    std::vector<std::string> Ranges;
};
} // namespace

TEST(Runner, TellsTheStatementOfEachLine) {
    const TRangeCase Cases[] = {
        {"", {}},
        {"1 + 2;3*4 ;  5", {"0|1 + 2|", "1|3*4|", "2|5|"}},
        {"  x := 2  // two \r\n\r\n// alone\r\nx * 3\r\n", {"0|x := 2|// two", "1|x * 3|"}},
        {"1;2\r\ny := 1/0; 4", {"0|1|", "1|2|", "2|y := 1/0| error"}}, // the error line is the third's
        {"1;2;3 4 // c\r\n5", {"0|1|", "1|2|", "2|3 4|// c", "3|3 4|// c error"}}, // a value, then the error
        {"f(x, y) := x*y // product\r\nf(2, 3)", {"0|f(x, y) := x*y|// product definition", "1|f(2, 3)|"}},
        {"f(x) :=\r\nx^2\r\nf(2)",
         {"0|f(x) :=\r\nx^2| definition", "1|f(2)| error"}}, // a body after a line break
        {"1 + @x; 2", {"0|1 + @x| error"}},                  // the tokenizer's error runs to a blank
        {"@", {"0|@| error"}},                               // an error at the first token
        {"(1 +\r\n2", {"0|(1 +| error"}},                    // the line break ends the statement
        {"\u221a4 \u2219 2 // \u03c0", {"0|\u221a4 \u2219 2|// \u03c0"}}, // offsets count UTF-16 units
    };
    GlobalIdents().Clear();
    RegisterBuiltins(GlobalIdents());
    TProgramParser Parser;
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Text);
        Parser.Execute(U16(C.Text), false);
        EXPECT_EQ(RangeTexts(Parser, U16(C.Text)), C.Ranges);
    }
}

TEST(Runner, LeavesLinesOfNoStatementWithoutARange) {
    GlobalIdents().Clear();
    RegisterBuiltins(GlobalIdents());
    TProgramParser Parser;
    Parser.Output().SetPreserve(true);
    Parser.Execute(u"1", false);
    Parser.Execute(u"2;3", false); // line 1 is the divider
    EXPECT_EQ(RangeTexts(Parser, u"2;3"), (std::vector<std::string>{"2|2|", "3|3|"}));
    Parser.Execute(u"4", true); // a silent run writes nothing to place
    EXPECT_TRUE(Parser.StatementRanges().empty());
    Parser.Output().SetPreserve(false);
    Parser.Execute(std::u16string(MaxProgramLength + 1, u'1'), false); // refused before any statement
    EXPECT_EQ(Parser.Output().Strings().Count(), 1);
    EXPECT_TRUE(Parser.StatementRanges().empty());
}
