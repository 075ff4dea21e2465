// The console runner as a user calls it: arguments, sources, encodings,
// output and exit status.
#include "TestSupport.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {
struct TCliResult {
    std::string Out;
    int Status;
};

std::filesystem::path TempFile(const std::string& Name, const std::string& Bytes) {
    auto Path = std::filesystem::temp_directory_path() / ("sumtra-cli-test-" + Name);
    std::ofstream(Path, std::ios::binary) << Bytes;
    return Path;
}

TCliResult RunCli(const std::vector<std::string>& Args, const std::string& Stdin = "") {
    std::string Cmd = ShellProgram(SUMTRA_CLI);
    for (const auto& A : Args)
        Cmd += " " + ShellQuote(A);
    Cmd += " < " + ShellQuote(TempFile("stdin", Stdin).string()) + " 2>" + ShellNullDevice;
    const TShellRun Run = RunShell(Cmd);
    return {Run.Out, Run.Status};
}

struct TCliCase {
    const char* Name;
    std::vector<std::string> Args;
    std::string Stdin;
    std::string Out;
    int Status;
};
} // namespace

TEST(Cli, RunsSourcesInOrderAgainstSharedDefinitions) {
    const auto Defs = TempFile("defs.txt", "sq(x) := x*x\n").string();
    const TCliCase Cases[] = {
        {"eval texts in order", {"-e", "x := 2", "-e", "x^10"}, "", "x = 2\nx^10 = 1024\n", 0},
        {"stdin by default", {}, "1+2; 3*4", "1+2 = 3\n3∙4 = 12\n", 0},
        {"dash is stdin", {"-e", "a := 5", "-", "-e", "a"}, "a*2", "a = 5\na∙2 = 10\na = 5\n", 0},
        {"file before eval", {Defs, "-e", "sq(3)"}, "", "sq(x) = x∙x\nsq(3) = 9\n", 0},
        {"a failing run does not stop later ones",
         {"-e", "1/0", "-e", "2"},
         "",
         "Floating point division by zero (row 1, col 2)\n2 = 2\n",
         1},
        {"options apply wherever they stand", {"-e", "255", "-f", "hex"}, "", "255 = $FF\n", 0},
        {"precision is clamped", {"-p", "40", "-e", "pi"}, "", "pi = 3.14159265358979324\n", 0},
        {"negative precision is clamped", {"-p", "-3", "-e", "pi"}, "", "pi = 3.1\n", 0},
        {"long options with values", {"--format=roman", "--eval", "1994"}, "", "1994 = #MCMXCIV\n", 0},
        {"angle format", {"-f", "angle", "-p", "3", "-e", "1"}, "", "1 = 57°17'44.8\"\n", 0},
        {"eval takes the next argument whatever it is", {"-e", "-5"}, "", "–5 = –5\n", 0},
        {"line feeds count as rows", {}, "1\ny+1\n", "1 = 1\nUnknown identifier 'y' (row 2, col 1)\n", 1},
        {"lone carriage returns count as rows",
         {},
         "1\r2\r3 4",
         "1 = 1\n2 = 2\n3 = 3\nEnd of statement expected (row 3, col 3)\n",
         1},
        {"invalid UTF-8 reads as replacement characters", {}, "'\xFF'", "'\xEF\xBF\xBD' = 65533\n", 0},
        {"a UTF-8 byte-order mark is skipped",
         {},
         "\xEF\xBB\xBF"
         "1",
         "1 = 1\n",
         0},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        TCliResult R = RunCli(C.Args, C.Stdin);
        EXPECT_EQ(R.Out, C.Out);
        EXPECT_EQ(R.Status, C.Status);
    }
}

TEST(Cli, ReadsUtf16AndUtf8Files) {
    auto Utf16 = [](std::u16string_view S) {
        std::string B;
        for (char16_t C : S) {
            B += static_cast<char>(C & 0xFF);
            B += static_cast<char>(C >> 8);
        }
        return B;
    };
    const TCliCase Cases[] = {
        {"UTF-16LE with byte-order mark",
         {TempFile("bom16.txt", "\xFF\xFE" + Utf16(u"\u03C0\r\n2*2")).string()},
         "",
         "π = 3.1416\n2∙2 = 4\n",
         0},
        {"UTF-16LE recognised by its NUL bytes",
         {TempFile("nul16.txt", Utf16(u"7")).string()},
         "",
         "7 = 7\n",
         0},
        {"UTF-8 without byte-order mark",
         {TempFile("u8.txt", "\xCF\x80 * 2").string()},
         "",
         "π∙2 = 6.2832\n",
         0},
        {"a lone surrogate prints as a replacement character",
         {TempFile("lone.txt", "\xFF\xFE" + Utf16(u"1; \xD800")).string()},
         "",
         "1 = 1\nUnreckognized symbol '\xEF\xBF\xBD' (row 1, col 4)\n",
         1},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        TCliResult R = RunCli(C.Args, C.Stdin);
        EXPECT_EQ(R.Out, C.Out);
        EXPECT_EQ(R.Status, C.Status);
    }
}

TEST(Cli, ReplacesLookAlikesOnlyWhenAsked) {
    const auto File = TempFile("lookalikes.txt", "10\xC2\xB2\xE2\x80\x94x\xC2\xB3\n").string();
    const TCliCase Cases[] = {
        {"eval text", {"--normalize", "-e", "6\u00F72\u00B73"}, "", "6/2\u22193 = 9\n", 0},
        {"short option, standard input", {"-n"}, "2\u2009\u22C5\u20093", "2\u22193 = 6\n", 0},
        {"file, and the option after it",
         {File, "-e", "x := 4", "--normalize", "-e", "x\u00B2\u00B3"},
         "",
         "Unknown identifier 'x' (row 1, col 6)\nx = 4\nx^23 = 7.0369E13\n",
         1},
        {"without the option the look-alike is an error",
         {"-e", "6\u00F72"},
         "",
         "6 = 6\nUnreckognized symbol '\u00F7' (row 1, col 2)\n",
         1},
        {"the option takes no value", {"--normalize=yes", "-e", "1"}, "", "", 2},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        TCliResult R = RunCli(C.Args, C.Stdin);
        EXPECT_EQ(R.Out, C.Out);
        EXPECT_EQ(R.Status, C.Status);
    }
    EXPECT_NE(RunCli({"--help"}).Out.find("--normalize"), std::string::npos);
}

TEST(Cli, ExitsWithTwoOnUsageErrorsAndUnreadableSources) {
    const TCliCase Cases[] = {
        {"unknown option runs nothing", {"-e", "1", "--nope"}, "", "", 2},
        {"unknown format", {"-f", "octal", "-e", "1"}, "", "", 2},
        {"precision that is not a whole number", {"-p", "2.5", "-e", "1"}, "", "", 2},
        {"option without its value", {"-e"}, "", "", 2},
        {"missing file; the others still run", {"/nonexistent/file.txt", "-e", "1"}, "", "1 = 1\n", 2},
        {"a directory is not a program",
         {std::filesystem::temp_directory_path().string(), "-e", "1/0"},
         "",
         "Floating point division by zero (row 1, col 2)\n",
         2},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        TCliResult R = RunCli(C.Args, C.Stdin);
        EXPECT_EQ(R.Out, C.Out);
        EXPECT_EQ(R.Status, C.Status);
    }
}

TEST(Cli, HelpAndVersionGoToStandardOutput) {
    TCliResult Help = RunCli({"--help"});
    EXPECT_EQ(Help.Status, 0);
    EXPECT_NE(Help.Out.find("Usage: sumtra-cli"), std::string::npos);
    TCliResult Version = RunCli({"--version"});
    EXPECT_EQ(Version.Status, 0);
    EXPECT_EQ(Version.Out.rfind("sumtra-cli ", 0), 0u);
    EXPECT_EQ(std::count(Version.Out.begin(), Version.Out.end(), '\n'), 1);
}
