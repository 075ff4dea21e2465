// Hostile input: texts that are huge, deep or malformed, run through the runner
// and through the console runner. Each must end with a result or a clear
// message, in time linear in its length. Sizes are large enough that quadratic
// work would take minutes (so the time limit catches it), yet small enough for
// a Debug build under the sanitizers; scripts/hostile.sh runs the full sizes.
#include "Parse.Infix.h"
#include "Parse.Utils.h"
#include "TestSupport.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

namespace {
constexpr int N = 100000; // the size of the linear classes
// Linear work takes well under a second in a Debug build; the sanitizers make
// it several times slower, and quadratic work at N would take many minutes.
constexpr double SecondsPerCase = 30;

struct TRun {
    bool Ok;
    std::vector<std::u16string> Lines;
    double Seconds;
    std::string Last() const { return Lines.empty() ? std::string() : U8(Lines.back()); }
};

TRun Run(const std::u16string& Text) {
    GlobalIdents().Clear();
    RegisterBuiltins(GlobalIdents());
    TProgramParser Parser;
    const auto Start = std::chrono::steady_clock::now();
    const bool Ok = Parser.Execute(Text, false);
    const std::chrono::duration<double> Took = std::chrono::steady_clock::now() - Start;
    TRun R{Ok, {}, Took.count()};
    for (std::int32_t I = 0; I < Parser.Output().Strings().Count(); ++I)
        R.Lines.push_back(Parser.Output().Strings().Get(I));
    return R;
}

std::u16string Repeat(std::u16string_view S, int Count) {
    std::u16string R;
    R.reserve(S.size() * Count);
    for (int I = 0; I < Count; ++I)
        R += S;
    return R;
}

std::u16string Joined(std::u16string_view Item, std::u16string_view Sep, int Count) {
    std::u16string R(Item);
    for (int I = 1; I < Count; ++I)
        (R += Sep) += Item;
    return R;
}

// Definitions f0..f<Count-1>, each calling the one before Calls times, then a call of the last.
std::u16string FunctionChain(int Count, int Calls) {
    std::u16string P = u"f0(x) := x+1\r\n";
    for (int I = 1; I < Count; ++I) {
        std::u16string Call = U16("f" + std::to_string(I - 1) + "(x)");
        P += U16("f" + std::to_string(I) + "(x) := ") + Joined(Call, u"+", Calls) + u"\r\n";
    }
    return P + U16("f" + std::to_string(Count - 1) + "(1)");
}

struct THostileCase {
    const char* Name;
    std::function<std::u16string()> Text;
    bool Ok;
    std::string LastHas; // a part of the last output line, mostly its end
};

void RunCases(const std::vector<THostileCase>& Cases) {
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        TRun R = Run(C.Text());
        EXPECT_EQ(R.Ok, C.Ok);
        ASSERT_FALSE(R.Lines.empty());
        EXPECT_NE(R.Last().find(C.LastHas), std::string::npos) << R.Last().substr(0, 300);
        EXPECT_LT(R.Seconds, SecondsPerCase);
    }
}
} // namespace

TEST(Hostile, NestingOfEveryKindStopsWithAMessage) {
    RunCases({
        {"brackets", [] { return Repeat(u"(", N) + u"1" + Repeat(u")", N); }, false,
         "Expression is nested too deeply (row 1, col 2501)"},
        {"unclosed brackets", [] { return Repeat(u"[", N); }, false,
         "Expression is nested too deeply (row 1, col 2501)"},
        {"roots", [] { return Repeat(u"\u221A", N) + u"4"; }, false,
         "Expression is nested too deeply (row 1, col 2501)"},
        {"powers", [] { return Repeat(u"2^", N) + u"1"; }, false,
         "Expression is nested too deeply (row 1, col 5001)"},
        {"arguments", [] { return Repeat(u"sin(", N) + u"1" + Repeat(u")", N); }, false,
         "Expression is nested too deeply (row 1, col "},
        {"signs and factorials stay flat", [] { return Repeat(u"-1", N / 2) + u"+1!"; }, true,
         " = \u201349999"},
        {"the nesting budget is not used up by earlier statements",
         [] { return Repeat(Repeat(u"(", 2000) + u"1" + Repeat(u")", 2000) + u";", 50); }, true, " = 1"},
    });
}

TEST(Hostile, LongTextsRunInLinearTime) {
    RunCases({
        {"long sum", [] { return Joined(u"1", u"+", N); }, true, " = 1E5"},
        {"long line of blanks", [] { return u"1" + Repeat(u" \t", N) + u"+1"; }, true, "1+1 = 2"},
        {"many lines", [] { return Repeat(u"1\r\n", N); }, true, "1 = 1"},
        {"an error on the last of many lines", [] { return Repeat(u"1\r\n", N) + u"y"; }, false,
         "Unknown identifier 'y' (row 100001, col 1)"},
        {"huge name", [] { return Repeat(u"a", N) + u" := 2; " + Repeat(u"a", N) + u"*3"; }, true,
         "\u2219"
         "3 = 6"},
        {"huge unknown name", [] { return Repeat(u"\u03B2", N); }, false, "' (row 1, col 1)"},
        {"long comment", [] { return u"1 //" + Repeat(u"x", N) + u"\r\n2"; }, true, "2 = 2"},
        {"builtin with many arguments", [] { return u"mean(" + Joined(u"2", u",", N) + u")"; }, true,
         ") = 2"},
        {"one-argument builtin given many", [] { return u"sin(" + Joined(u"2", u",", N) + u")"; }, false,
         "Error in function 'sin' (row 1, col 1): Function 'sin' takes 1 argument"},
        {"long sum of user-function calls",
         [] { return u"f(x) := x*2+1\r\n" + Joined(u"f(1)", u"+", N / 5); }, true, " = 60000"},
    });
}

TEST(Hostile, HugeLiteralsEndWithAValueOrAMessage) {
    RunCases({
        {"integer numeral of N digits", [] { return Repeat(u"1", N); }, false,
         "' is not a valid floating point value (row 1, col 1)"},
        {"the largest numerals still read", [] { return Repeat(u"9", 4932); }, true, " = 1E4932"},
        {"fraction of N digits", [] { return u"0." + Repeat(u"3", N); }, true, " = 0.33333"},
        {"N zeros before a digit", [] { return u"0." + Repeat(u"0", N) + u"1"; }, true, " = 0"},
        {"exponent beyond every integer range", [] { return u"1e" + Repeat(u"9", 30); }, false,
         "' is not a valid floating point value (row 1, col 1)"},
        {"negative exponent beyond every integer range", [] { return u"1e-" + Repeat(u"9", 30); }, true,
         " = 0"},
        {"exponent cancelling N leading zeros",
         [] { return u"0." + Repeat(u"0", N) + u"5e" + U16(std::to_string(N + 1)); }, true, " = 5"},
        {"Roman numeral of N characters", [] { return u"#" + Repeat(u"M", N); }, false,
         "Not a Roman numeral (row 1, col 1)"},
        {"binary literal of N digits", [] { return u"&" + Repeat(u"1", N); }, false,
         "Floating point overflow (row 1, col 1)"},
        {"hexadecimal literal of N digits", [] { return u"$" + Repeat(u"F", N); }, false,
         "Floating point overflow (row 1, col 1)"},
        {"hexadecimal zeros before a digit", [] { return u"$" + Repeat(u"0", N) + u"1"; }, true, " = 1"},
        {"angle of N digits", [] { return Repeat(u"1", N) + u"\u00B0"; }, false,
         "' is not a valid floating point value (row 1, col 1)"},
        {"time of N digits", [] { return Repeat(u"1", 100) + u":" + Repeat(u"1", N); }, false,
         "' is not a valid floating point value (row 1, col 1)"},
    });
}

TEST(Hostile, FactorialsGammaAndRoundingOfExtremeValues) {
    RunCases({
        {"factorial of a large negative", [] { return std::u16string(u"(-99990.5)!"); }, true, " = 0"},
        {"factorial of a larger negative", [] { return std::u16string(u"fact(-100000.5)"); }, true, " = 0"},
        {"factorial of a far negative pole", [] { return std::u16string(u"fact(-1e30)"); }, false,
         "Floating point division by zero"},
        {"complex factorial of a large negative", [] { return std::u16string(u"(-99990.5+2i)!"); }, true,
         " = 0"},
        {"factorial of a pole", [] { return std::u16string(u"(-7)!"); }, false,
         "Floating point division by zero (row 1, col 5)"},
        {"huge factorial", [] { return std::u16string(u"fact(1e4000)"); }, false, "Floating point overflow"},
        {"factorial literal", [] { return std::u16string(u"1e18!"); }, false,
         "Floating point overflow (row 1, col 1)"},
        {"largest factorial", [] { return std::u16string(u"1754!"); }, true, " = 1.9793E4930"},
        {"ceil beyond 64 bits", [] { return std::u16string(u"ceil(1e4000)"); }, false,
         "Invalid floating point operation"},
        {"floor beyond 64 bits", [] { return std::u16string(u"floor(-1e30)"); }, false,
         "Invalid floating point operation"},
        {"round beyond 64 bits", [] { return std::u16string(u"round(9.3e18)"); }, false,
         "Invalid floating point operation"},
        {"binomial of huge values", [] { return std::u16string(u"binom(1e9, 5e8)"); }, false,
         "Floating point overflow"},
        {"many factorials at the shift limit", [] { return Joined(u"(-99990.5)!", u"+", 20); }, true, " = 0"},
    });
}

// Regression: a few lines of definitions, each calling the one before twice,
// used to run for 2^n calls (over 30 s at n = 25, hours at n = 40).
TEST(Hostile, UserFunctionChainsAndCyclesAreBounded) {
    RunCases({
        {"chain deeper than the nesting limit", [] { return FunctionChain(3000, 1); }, false,
         "Expression is nested too deeply (at position "},
        {"chain within the limit", [] { return FunctionChain(400, 1); }, true, "f399(1) = 2"},
        {"cycle", [] { return std::u16string(u"f(x) := g(x)\r\ng(x) := f(x)\r\nf(1)"); }, false,
         "Error in function 'f' (row 3, col 1): Recursive call of function 'f' (at position 23)"},
        {"doubling chain of 40 functions", [] { return FunctionChain(40, 2); }, false,
         "Too many function calls in one statement (at position 90)"},
        {"doubling chain of 12 functions is fine", [] { return FunctionChain(12, 2); }, true, " = 4096"},
        {"huge body called again and again",
         [] { return u"f(x) := " + Joined(u"x", u"+", N / 4) + u"\r\n" + Joined(u"f(1)", u"+", 2000); },
         false, "Too many function calls in one statement (row 2, col 296)"},
    });
}

// Every code unit, alone and between digits, gives a result or a message, and
// leaves the runner usable.
TEST(Hostile, EveryUtf16CodeUnitIsHandled) {
    GlobalIdents().Clear();
    RegisterBuiltins(GlobalIdents());
    TProgramParser Parser;
    int Failed = 0;
    for (char32_t C = 0; C <= 0xFFFF; ++C) {
        const std::u16string Text = std::u16string(u"1") + static_cast<char16_t>(C) + u"2";
        if (!Parser.Execute(Text, false)) ++Failed;
        ASSERT_GE(Parser.Output().Strings().Count(), 1) << "code unit " << static_cast<unsigned>(C);
    }
    // Most characters are not part of the language.
    EXPECT_GT(Failed, 60000);
    ASSERT_TRUE(Parser.Execute(u"1+1", false));
    EXPECT_EQ(Parser.Output().Strings().Get(0), u"1+1 = 2");

    std::u16string All;
    for (char32_t C = 0; C <= 0xFFFF; ++C)
        All += static_cast<char16_t>(C);
    RunCases({
        {"all code units in one text", [&] { return All; }, false,
         "Unreckognized symbol '\xE2\x90\x80' (row 1, col 1)"},
        {"byte-order mark inside the text", [] { return std::u16string(u"1;\uFEFF2"); }, false,
         "Unreckognized symbol '\xEF\xBB\xBF' (row 1, col 3)"},
        {"lone high surrogate", [] { return std::u16string(u"2*\xD83D"); }, false,
         "Unreckognized symbol '\xEF\xBF\xBD' (row 1, col 3)"},
        {"lone low surrogate in a comment", [] { return std::u16string(u"2 // \xDC00"); }, true, "2 = 2"},
        {"surrogate pair", [] { return std::u16string(u"2\U0001F600"); }, false,
         "Unreckognized symbol '\xEF\xBF\xBD' (row 1, col 2)"},
        {"character literal of a lone surrogate", [] { return std::u16string(u"'\xDBFF'"); }, true,
         " = 56319"},
    });
}

// Regression: the message of an unrecognised NUL ended at the NUL, losing its
// closing quote and its position ("Unreckognized symbol '").
TEST(Hostile, NulInTheTextIsReportedWithItsPosition) {
    RunCases({
        {"NUL after an operator",
         [] {
             return std::u16string{u'1', u'+', u'\0', u'2'};
         },
         false, "Unreckognized symbol '\xE2\x90\x80' (row 1, col 3)"},
        {"NUL on a later line", [] { return std::u16string(u"f(x) := x+1; f(2)\r\n1") + u'\0'; }, false,
         "Unreckognized symbol '\xE2\x90\x80' (row 2, col 2)"},
    });
}

// Regression: a program text of any length was tokenized in full, at about
// 70 bytes per character (14 GB for a 200 MB file).
TEST(Hostile, OverlongProgramIsRefusedBeforeTokenizing) {
    RunCases({
        {"one unit over the limit", [] { return std::u16string(MaxProgramLength + 1, u' '); }, false,
         "Program too long (more than 8388608 characters) (row 1, col 1)"},
        {"exactly the limit", [] { return std::u16string(MaxProgramLength - 1, u' ') + u"7"; }, true,
         "7 = 7"},
    });
    // A repeated run of the refused text reports it again.
    TProgramParser Parser;
    EXPECT_FALSE(Parser.Execute(std::u16string(MaxProgramLength + 1, u'1'), false));
    EXPECT_FALSE(Parser.Execute(true));
    EXPECT_FALSE(Parser.Execute(false));
    EXPECT_EQ(Parser.Output().Strings().Count(), 1);
}

namespace {
struct TCliRun {
    std::string Out;
    int Status;
};

std::filesystem::path HostileFile(const std::string& Name, const std::string& Bytes) {
    auto Path = std::filesystem::temp_directory_path() / ("sumtra-hostile-" + Name);
    std::ofstream(Path, std::ios::binary) << Bytes;
    return Path;
}

// Standard error goes with standard output, so read errors are seen too.
TCliRun RunCli(const std::string& Args, const std::string& Stdin = "") {
    const TShellRun Run = RunShell(ShellProgram(SUMTRA_CLI) + " " + Args + " < " +
                                   ShellQuote(HostileFile("stdin", Stdin).string()) + " 2>&1");
    return {Run.Out, Run.Status};
}

std::string Utf16(std::u16string_view S) {
    std::string B;
    for (char16_t C : S) {
        B += static_cast<char>(C & 0xFF);
        B += static_cast<char>(C >> 8);
    }
    return B;
}
} // namespace

TEST(Hostile, ConsoleRunnerEndsWithZeroOneOrTwo) {
    const auto Big = std::filesystem::temp_directory_path() / "sumtra-hostile-big.txt";
    { std::ofstream(Big, std::ios::binary) << "1"; }
    std::filesystem::resize_file(Big, MaxTextFileSize + 1); // sparse: NULs after the 1
    struct TCase {
        const char* Name;
        std::string Args;
        std::string Stdin;
        std::string OutEnds;
        int Status;
    } Cases[] = {
        {"empty file", ShellQuote(HostileFile("empty.txt", "").string()), "", "", 0},
        {"empty standard input", "-", "", "", 0},
        {"missing file", "/nonexistent/sumtra.txt", "", "No such file or directory\n", 2},
        {"directory", ShellQuote(std::filesystem::temp_directory_path().string()), "", "it is a directory\n", 2},
        {"file over the size limit", ShellQuote(Big.string()), "", "it is larger than 32 MiB\n", 2},
#ifndef _WIN32
        {"endless device", "/dev/zero", "", "it is larger than 32 MiB\n", 2},
#endif
        {"odd-length UTF-16 file",
         ShellQuote(HostileFile("odd16.txt", "\xFF\xFE" + Utf16(u"1+2") + "\x33").string()), "",
         "Unreckognized symbol '\xEF\xBF\xBD' (row 1, col 4)\n", 1},
        {"UTF-16 file of NULs", ShellQuote(HostileFile("nuls.txt", std::string(1001, '\0')).string()), "",
         "Unreckognized symbol '\xE2\x90\x80' (row 1, col 1)\n", 1},
        {"invalid UTF-8 everywhere", "-", "\xC0\x80\xED\xA0\x80\xF5\xFF", "(row 1, col 1)\n", 1},
        {"truncated UTF-8 at the end", "-", "1+1 // \xE2\x88", "1+1 = 2\n", 0},
        {"UTF-8 byte-order marks inside the text", "-", "1\xEF\xBB\xBF", "(row 1, col 2)\n", 1},
        {"overlong standard input", "-", std::string(MaxProgramLength + 1, ' '),
         "Program too long (more than 8388608 characters) (row 1, col 1)\n", 1},
        // Standard input stops at the file limit instead of being held whole first.
        {"standard input over the size limit", "-", std::string(MaxTextFileSize + 1, ' '),
         "Cannot read standard input: it is larger than 32 MiB\n", 2},
        {"many lines on standard input", "-",
         [] {
             std::string S;
             for (int I = 0; I < N; ++I)
                 S += "2\n";
             return S;
         }(),
         "2 = 2\n", 0},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        TCliRun R = RunCli(C.Args, C.Stdin);
        EXPECT_EQ(R.Status, C.Status);
        EXPECT_TRUE(R.Out.ends_with(C.OutEnds)) << R.Out.substr(0, 300);
    }
    std::filesystem::remove(Big);
}
