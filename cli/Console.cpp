#include "Console.h"

#include "Scalar.Ident.h"
#include "Utils.h"

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include <editline/readline.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;

constexpr std::size_t HistorySize = 1000;

// Operators, brackets and spaces end a name; everything else may be part of one.
constexpr const char* WordBreaks = " \t\n\"'`+-*/\\^()[]{},;:=<>!?&|%#$@~";

// $XDG_STATE_HOME/sumtra/history, else under ~/.local/state. Empty when neither
// gives an absolute folder: the XDG rules say to ignore a relative one.
fs::path HistoryPath() {
    const char* State = std::getenv("XDG_STATE_HOME");
    const char* Home = std::getenv("HOME");
    fs::path Base;
    if (State && fs::path(State).is_absolute())
        Base = State;
    else if (Home && fs::path(Home).is_absolute())
        Base = fs::path(Home) / ".local" / "state";
    else
        return {};
    return Base / "sumtra" / "history";
}

// The history file, one entry a line, oldest first. Each entry is appended when
// it is made, so a session that is killed keeps its lines, and several sessions
// may add to the file at once; the file is cut back to its bound when read.
// Nothing here stops the session: the first failure is reported, later ones not.
class THistoryFile {
  public:
    explicit THistoryFile(fs::path Path) : FPath(std::move(Path)) {}

    std::vector<std::string> Load() {
        std::vector<std::string> Lines;
        std::error_code Error; // a folder that cannot be searched is reported by Append
        if (FPath.empty() || !fs::exists(FPath, Error)) return Lines;
        std::ifstream In(FPath, std::ios::binary);
        if (!In) {
            Warn();
            return Lines;
        }
        for (std::string Line; std::getline(In, Line);)
            Lines.push_back(std::move(Line));
        if (Lines.size() > HistorySize) {
            Lines.erase(Lines.begin(), Lines.end() - HistorySize);
            Rewrite(Lines);
        }
        return Lines;
    }

    void Append(const std::string& Line) {
        if (FPath.empty() || !MakeFolder()) return;
        const int Fd = ::open(FPath.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
        if (Fd < 0) return Warn();
        const std::string Entry = Line + '\n';
        if (::write(Fd, Entry.data(), Entry.size()) != static_cast<ssize_t>(Entry.size())) Warn();
        ::close(Fd);
    }

  private:
    // Missing folders are made private to the user, as the XDG rules ask.
    bool MakeFolder() {
        fs::path Folder;
        for (const fs::path& Part : FPath.parent_path()) {
            Folder /= Part;
            if (::mkdir(Folder.c_str(), 0700) != 0 && errno != EEXIST) {
                Warn();
                return false;
            }
        }
        return true;
    }

    // Through a new file renamed over the old, so that a failure loses nothing.
    void Rewrite(const std::vector<std::string>& Lines) {
        const fs::path Temp = FPath.string() + ".new";
        const int Fd = ::open(Temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (Fd < 0) return Warn();
        std::string Bytes;
        for (const std::string& Line : Lines)
            Bytes += Line + '\n';
        const bool Written = ::write(Fd, Bytes.data(), Bytes.size()) == static_cast<ssize_t>(Bytes.size());
        if (::close(Fd) != 0 || !Written || std::rename(Temp.c_str(), FPath.c_str()) != 0) {
            Warn();
            std::remove(Temp.c_str());
        }
    }

    void Warn() {
        if (!FWarned)
            std::fprintf(stderr, "sumtra-cli: history %s: %s\n", FPath.c_str(), std::strerror(errno));
        FWarned = true;
    }

    fs::path FPath;
    bool FWarned = false;
};

// Taken afresh for every completion, so that names defined earlier in the
// session are offered too. Names need not be unique; each is offered once.
std::vector<std::string> NamesStartingWith(std::string_view Prefix) {
    std::vector<std::string> Names;
    for (const auto& Ident : GlobalIdents()) {
        std::string Name = ToUtf8(Ident->Name());
        if (Name.starts_with(Prefix)) Names.push_back(std::move(Name));
    }
    std::sort(Names.begin(), Names.end());
    Names.erase(std::unique(Names.begin(), Names.end()), Names.end());
    return Names;
}

// The generator libedit calls with State 0 first, then until it gets null; it
// frees what it gets, so each name is handed over as a malloc'ed copy.
char* NextName(const char* Text, int State) {
    static std::vector<std::string> Names;
    static std::size_t Next = 0;
    if (State == 0) {
        Names = NamesStartingWith(Text);
        Next = 0;
    }
    return Next < Names.size() ? strdup(Names[Next++].c_str()) : nullptr;
}

char** CompleteName(const char* Text, int, int) {
    rl_attempted_completion_over = 1; // no file names when no name matches
    return rl_completion_matches(Text, NextName);
}

bool IsBlank(std::string_view Line) {
    return Line.find_first_not_of(" \t\r") == std::string_view::npos;
}
} // namespace

void RunConsole(const char* Prompt, const std::function<void(const std::string& Line)>& Run) {
    // libedit reads characters through the locale, and the session's text is
    // UTF-8 (as -e and standard input are) whatever the environment says.
    if (!std::setlocale(LC_CTYPE, "C.UTF-8")) std::setlocale(LC_CTYPE, "");
    rl_readline_name = "sumtra";
    rl_basic_word_break_characters = WordBreaks;
    rl_attempted_completion_function = CompleteName;
    rl_completion_append_character = '\0'; // "f(" and "x*" read better without a space
    using_history();
    stifle_history(HistorySize);
    THistoryFile History(HistoryPath());
    std::string Previous;
    for (std::string& Entry : History.Load()) {
        add_history(Entry.c_str());
        Previous = std::move(Entry);
    }

    for (;;) {
        std::unique_ptr<char, decltype(&std::free)> Raw(readline(Prompt), &std::free);
        if (!Raw) break;
        std::string Line(Raw.get());
        if (IsBlank(Line)) continue;
        Line.erase(Line.find_last_not_of(" \t\r") + 1); // so that "x" and "x " are one entry
        if (Line != Previous) {                         // a repeated line is recalled once
            add_history(Line.c_str());
            History.Append(Line);
            Previous = Line;
        }
        Run(Line);
    }
    History.Load();           // cuts back what this session added past the bound
    std::fputc('\n', stdout); // the shell's prompt starts on a line of its own
    std::fflush(stdout);
}
