// sumtra-cli: runs calculator programs from the command line, files and standard
// input, and writes the runner's lines to standard output as UTF-8.
#include "Normalize.h"
#include "Parse.Infix.h"
#include "Parse.Utils.h"
#include "Utils.h"
#ifdef SUMTRA_CONSOLE
#include "Console.h"
#endif

#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <shellapi.h>
#else
#include <unistd.h>
#endif

#ifdef __GLIBC__
#include <malloc.h>
#endif

#ifndef SUMTRA_VERSION
#define SUMTRA_VERSION "0"
#endif

namespace {
constexpr const char* Usage = R"(Usage: sumtra-cli [OPTIONS] [SOURCE...]
Evaluates calculator programs and prints one line per statement.

A SOURCE is a file path, or - for standard input. With no SOURCE and no -e,
standard input is read to its end as one program; when standard input and
output are a terminal, an interactive session starts instead, one run per
line, until Ctrl+D. Sources run in the order given, against the same
variables and functions.

Options:
  -e, --eval TEXT        run TEXT as a program (may be repeated)
  -f, --format FMT       result format: dec (default), bin, hex, roman, time, angle
  -p, --precision N      significant digits, 2 to 18 (default 5)
  -n, --normalize        replace typographic look-alikes (such as · ÷ — x²) by
                         the calculator's own characters before running
  -q, --quiet            no banner at the start of an interactive session
  -h, --help             show this help and exit
      --version          show the version and exit

The interactive session keeps its history in $XDG_STATE_HOME/sumtra/history
(~/.local/state/sumtra/history by default) and completes defined names on Tab.

Exit status: 0 when every run succeeded, 1 when a run ended with an error
line, 2 for a usage error or a source that could not be read; 0 at the end of
an interactive session.
)";

// Writes the runner's lines to standard output, flushed once per run.
class TConsoleLines : public TStrings {
  public:
    // The buffer is reserved at its flush size once, so it does not grow by
    // copying itself; the pages of the reservation cost nothing until written.
    TConsoleLines() { FBuffer.reserve(FlushSize + (FlushSize >> 4)); }
    void Add(const std::u16string& Line) override {
        AppendUtf8(FBuffer, Line);
        FBuffer += '\n';
        ++FCount;
        if (FBuffer.size() >= FlushSize) Flush();
    }
    void Clear() override {} // a console cannot take back what it printed
    std::int32_t Count() const override { return FCount; }
    std::u16string Get(std::int32_t) const override { return {}; }
    void EndUpdate() override { Flush(); }

  private:
    void Flush() {
        if (!FBuffer.empty()) std::fwrite(FBuffer.data(), 1, FBuffer.size(), stdout);
        std::fflush(stdout);
        FBuffer.clear();
    }
    static constexpr std::size_t FlushSize = 1u << 20;
    std::string FBuffer;
    std::int32_t FCount = 0;
};

struct TSource {
    enum { skEval, skFile, skStdin } Kind;
    std::string Text; // the program for skEval, the path for skFile
};

struct TOptions {
    std::vector<TSource> Sources;
    TNumberFormat Format = nfDec;
    std::int32_t Precision = 5;
    bool Normalize = false;
    bool Quiet = false;
    bool Help = false;
    bool Version = false;
};

struct EUsage {
    std::string Message;
};

std::optional<TNumberFormat> ParseFormat(std::string_view S) {
    struct TRow {
        std::string_view Name;
        TNumberFormat Format;
    };
    // ORDER TNumberFormat
    static constexpr TRow Formats[] = {{"dec", nfDec},     {"bin", nfBin},   {"hex", nfHex},
                                       {"roman", nfRoman}, {"time", nfTime}, {"angle", nfAngle}};
    for (const TRow& R : Formats)
        if (R.Name == S) return R.Format;
    return std::nullopt;
}

// A whole number with an optional sign; large magnitudes saturate before clamping.
std::optional<std::int32_t> ParsePrecision(std::string_view S) {
    std::size_t I = (!S.empty() && (S[0] == '-' || S[0] == '+')) ? 1 : 0;
    if (I == S.size()) return std::nullopt;
    long long V = 0;
    for (std::size_t J = I; J < S.size(); ++J) {
        if (S[J] < '0' || S[J] > '9') return std::nullopt;
        V = std::min(V * 10 + (S[J] - '0'), 1000000LL);
    }
    if (S[0] == '-') V = -V;
    return static_cast<std::int32_t>(std::clamp(V, 2LL, 18LL));
}

TOptions ParseArguments(int Argc, char** Argv) {
    TOptions O;
    bool OptionsEnded = false;
    for (int I = 1; I < Argc; ++I) {
        std::string_view A = Argv[I];
        if (OptionsEnded || A == "-" || A.empty() || A[0] != '-') {
            if (A == "-")
                O.Sources.push_back({TSource::skStdin, {}});
            else
                O.Sources.push_back({TSource::skFile, std::string(A)});
            continue;
        }
        if (A == "--") {
            OptionsEnded = true;
            continue;
        }
        // Long options may carry their value after "=".
        std::string_view Name = A;
        std::optional<std::string_view> Inline;
        if (A.starts_with("--")) {
            auto Eq = A.find('=');
            if (Eq != std::string_view::npos) {
                Name = A.substr(0, Eq);
                Inline = A.substr(Eq + 1);
            }
        }
        auto Value = [&]() -> std::string_view {
            if (Inline) return *Inline;
            if (I + 1 >= Argc) throw EUsage{"option '" + std::string(Name) + "' needs a value"};
            return Argv[++I];
        };
        if (Name == "-h" || Name == "--help") {
            O.Help = true;
        } else if (Name == "--version") {
            O.Version = true;
        } else if (Name == "-n" || Name == "--normalize") {
            O.Normalize = true;
        } else if (Name == "-q" || Name == "--quiet") {
            O.Quiet = true;
        } else if (Name == "-e" || Name == "--eval") {
            O.Sources.push_back({TSource::skEval, std::string(Value())});
        } else if (Name == "-f" || Name == "--format") {
            std::string_view V = Value();
            auto F = ParseFormat(V);
            if (!F)
                throw EUsage{"unknown format '" + std::string(V) +
                             "' (use dec, bin, hex, roman, time or angle)"};
            O.Format = *F;
        } else if (Name == "-p" || Name == "--precision") {
            std::string_view V = Value();
            auto P = ParsePrecision(V);
            if (!P) throw EUsage{"precision '" + std::string(V) + "' is not a whole number"};
            O.Precision = *P;
        } else {
            throw EUsage{"unknown option '" + std::string(A) + "'"};
        }
        if (Inline && (Name == "-h" || Name == "--help" || Name == "--version" || Name == "--normalize" ||
                       Name == "--quiet"))
            throw EUsage{"option '" + std::string(Name) + "' takes no value"};
    }
    return O;
}

// Read in pieces up to the limit of a program file, so that a huge or endless
// stream is refused without being held whole first.
std::string ReadStdin() {
    std::string Bytes;
    char Buffer[1 << 16];
    while (Bytes.size() <= MaxTextFileSize) {
        const std::size_t Got = std::fread(Buffer, 1, sizeof Buffer, stdin);
        if (Got == 0) break;
        Bytes.append(Buffer, Got);
    }
    if (std::ferror(stdin))
        throw std::runtime_error(std::string("Cannot read standard input: ") + std::strerror(errno));
    if (Bytes.size() > MaxTextFileSize)
        throw std::runtime_error("Cannot read standard input: it is larger than 32 MiB");
    return Bytes;
}

std::u16string Utf8Program(std::string_view Bytes) {
    if (Bytes.starts_with("\xEF\xBB\xBF")) Bytes.remove_prefix(3);
    return FromUtf8(Bytes);
}

#ifdef _WIN32
// The arguments as UTF-8, rebuilt from the wide command line: the narrow argv is
// in the ANSI code page, where "π" arrives as "p".
std::vector<std::string> CommandLineArguments(int, char**) {
    std::vector<std::string> Args;
    int Count = 0;
    wchar_t** Wide = CommandLineToArgvW(GetCommandLineW(), &Count);
    for (int I = 0; Wide && I < Count; ++I)
        Args.push_back(ToUtf8(reinterpret_cast<const char16_t*>(Wide[I])));
    LocalFree(Wide);
    return Args;
}

// A path given as UTF-8 opens through its wide form.
std::filesystem::path SourcePath(const std::string& Utf8) {
    return std::filesystem::path(FromUtf8(Utf8));
}

// Byte streams as on Linux: text mode would write every line feed as CR LF and
// end the input at a Ctrl+Z byte. A real console shows the UTF-8 output as such.
void PrepareStreams() {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    SetConsoleOutputCP(CP_UTF8);
}
#else
std::vector<std::string> CommandLineArguments(int Argc, char** Argv) {
    return std::vector<std::string>(Argv, Argv + Argc);
}

std::filesystem::path SourcePath(const std::string& Path) {
    return Path;
}

// A closed pipe ends the write with an error, not the program with a signal.
void PrepareStreams() {
    std::signal(SIGPIPE, SIG_IGN);
}
#endif
} // namespace

int main(int Argc, char** Argv) {
#ifdef __GLIBC__
    // A run of a long program frees large buffers (the file's bytes, its text
    // before line breaks are normalised) just before it needs others of the
    // same size (the output). Kept in the heap instead of handed back to the
    // kernel, they are reused without a page fault for every page touched.
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
    PrepareStreams();
    std::ios::sync_with_stdio(false);
    TOptions Options;
    try {
        std::vector<std::string> Args = CommandLineArguments(Argc, Argv);
        std::vector<char*> Pointers;
        for (std::string& A : Args)
            Pointers.push_back(A.data());
        Options = ParseArguments(static_cast<int>(Pointers.size()), Pointers.data());
    } catch (const EUsage& E) {
        std::fprintf(stderr, "sumtra-cli: %s\nTry 'sumtra-cli --help' for more information.\n",
                     E.Message.c_str());
        return 2;
    }
    if (Options.Help) {
        std::fputs(Usage, stdout);
        return 0;
    }
    if (Options.Version) {
        std::printf("sumtra-cli %s\n", SUMTRA_VERSION);
        return 0;
    }

    TProgramParser Parser;
    TConsoleLines Lines;
    Parser.Output().Connect(Lines);
    Parser.SetNumberFormat(Options.Format);
    Parser.SetPrecision(Options.Precision);

#ifdef SUMTRA_CONSOLE
    if (Options.Sources.empty() && isatty(STDIN_FILENO) && isatty(STDOUT_FILENO)) {
        if (!Options.Quiet) std::printf("sumtra-cli %s (Ctrl+D ends)\n", SUMTRA_VERSION);
        RunConsole("> ", [&](const std::string& Line) {
            std::u16string Text = FromUtf8(Line);
            if (Options.Normalize) Text = NormalizeText(Text);
            Parser.Execute(NormalizeLineBreaks(Text), false); // an error line is its whole report
        });
        return 0;
    }
#endif
    if (Options.Sources.empty()) Options.Sources.push_back({TSource::skStdin, {}});

    bool ReadFailed = false;
    bool RunFailed = false;
    for (const TSource& Source : Options.Sources) {
        std::u16string Text;
        try {
            switch (Source.Kind) {
            case TSource::skEval: Text = Utf8Program(Source.Text); break;
            case TSource::skStdin: Text = Utf8Program(ReadStdin()); break;
            case TSource::skFile: Text = ReadTextFile(SourcePath(Source.Text)); break;
            }
        } catch (const std::exception& E) {
            std::fprintf(stderr, "sumtra-cli: %s\n", E.what());
            ReadFailed = true;
            continue;
        }
        if (Options.Normalize) Text = NormalizeText(Text);
        Text = NormalizeLineBreaks(Text); // frees the unnormalised copy before the run
        if (!Parser.Execute(std::move(Text), false)) RunFailed = true;
    }
    if (ReadFailed) return 2;
    return RunFailed ? 1 : 0;
}
