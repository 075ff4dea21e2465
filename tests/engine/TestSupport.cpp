#include "TestSupport.h"

#include <cstdio>
#include <cstring>
#ifdef _WIN32
#include <string>
#else
#include <sys/wait.h>
#endif

namespace {
bool PartNear(Extended A, Extended E, Extended Tol) {
    Extended Scale = std::fabs(E) > 1 ? std::fabs(E) : 1;
    return std::fabs(A - E) <= Tol * Scale;
}

std::string Show(TComp Z) {
    char Buf[96];
    std::snprintf(Buf, sizeof Buf, "(%.21Lg, %.21Lg)", Z.X, Z.Y);
    return Buf;
}
} // namespace

::testing::AssertionResult CompNear(TComp Actual, TComp Expected, Extended RelTol) {
    if (PartNear(Actual.X, Expected.X, RelTol) && PartNear(Actual.Y, Expected.Y, RelTol))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << Show(Actual) << " is not near " << Show(Expected);
}

std::string U8(std::u16string_view Text) {
    return ToUtf8(Text);
}

std::string Bits(Extended V) {
    unsigned char B[10];
    std::memcpy(B, &V, 10);
    char S[32];
    std::snprintf(S, sizeof S, "%02X%02X:%02X%02X%02X%02X%02X%02X%02X%02X", B[9], B[8], B[7], B[6], B[5],
                  B[4], B[3], B[2], B[1], B[0]);
    return S;
}

#ifdef _WIN32
// cmd.exe passes a quoted argument on to the program, whose C runtime takes
// backslashes before a quote and doubled quotes by the usual rules.
std::string ShellQuote(const std::string& Arg) {
    std::string Q = "\"";
    std::size_t Backslashes = 0;
    for (char C : Arg) {
        if (C == '\\') {
            ++Backslashes;
            continue;
        }
        if (C == '"') {
            Q.append(2 * Backslashes + 1, '\\');
        } else {
            Q.append(Backslashes, '\\');
        }
        Backslashes = 0;
        Q += C;
    }
    Q.append(2 * Backslashes, '\\');
    return Q + "\"";
}

std::string ShellProgram(const std::string& Path) {
    std::string P = Path;
    for (char& C : P)
        if (C == '/') C = '\\';
    return ShellQuote(P);
}

const char* const ShellNullDevice = "NUL";

TShellRun RunShell(const std::string& CommandLine) {
    // cmd /c drops the outer quotes of a line that starts with one; a second
    // pair keeps the program's own quotes.
    const std::u16string Wide = FromUtf8("\"" + CommandLine + "\"");
    TShellRun R{{}, -1};
    FILE* P = _wpopen(reinterpret_cast<const wchar_t*>(Wide.c_str()), L"rb");
    if (!P) return R;
    char Buf[1 << 16];
    for (std::size_t N; (N = std::fread(Buf, 1, sizeof Buf, P)) > 0;)
        R.Out.append(Buf, N);
    R.Status = _pclose(P);
    return R;
}
#else
std::string ShellQuote(const std::string& Arg) {
    std::string Q = "'";
    for (char C : Arg)
        Q += C == '\'' ? std::string("'\\''") : std::string(1, C);
    return Q + "'";
}

std::string ShellProgram(const std::string& Path) {
    return ShellQuote(Path);
}

const char* const ShellNullDevice = "/dev/null";

TShellRun RunShell(const std::string& CommandLine) {
    TShellRun R{{}, -1};
    FILE* P = popen(CommandLine.c_str(), "r");
    if (!P) return R;
    char Buf[1 << 16];
    for (std::size_t N; (N = std::fread(Buf, 1, sizeof Buf, P)) > 0;)
        R.Out.append(Buf, N);
    const int Raw = pclose(P);
    R.Status = WIFEXITED(Raw) ? WEXITSTATUS(Raw) : 128 + WTERMSIG(Raw);
    return R;
}
#endif
