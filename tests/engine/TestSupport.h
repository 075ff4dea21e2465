// Helpers shared by the engine tests: exact error messages, approximate
// complex comparison and UTF-8 spelling of UTF-16 text in failure output.
#pragma once
#include "Complex.h"
#include "Utils.h"

#include <gtest/gtest.h>
#include <string>

// Runs Statement and expects it to throw ExceptionType with exactly Message.
#define EXPECT_THROW_MSG(Statement, ExceptionType, Message)                                                  \
    do {                                                                                                     \
        std::string Caught_ = "<nothing thrown>";                                                            \
        try {                                                                                                \
            Statement;                                                                                       \
        } catch (const ExceptionType& E_) {                                                                  \
            Caught_ = E_.what();                                                                             \
        }                                                                                                    \
        EXPECT_EQ(Caught_, std::string(Message));                                                            \
    } while (0)

// |Actual - Expected| within RelTol of |Expected| (or within RelTol when Expected is 0), per part.
::testing::AssertionResult CompNear(TComp Actual, TComp Expected, Extended RelTol = 1e-17L);
#define EXPECT_COMP_NEAR(Actual, Expected) EXPECT_TRUE(CompNear((Actual), (Expected)))

std::string U8(std::u16string_view Text);

// The 80 bits of V as sign+exponent:significand in hex, e.g. "4000:C90FDAA22168C235" for pi.
std::string Bits(Extended V);
inline std::u16string U16(std::string_view Text) {
    return FromUtf8(Text);
}

// One argument quoted for the shell that RunShell uses: sh, or cmd.exe on Windows.
std::string ShellQuote(const std::string& Arg);
// A program path as that shell runs it (Windows wants backslashes).
std::string ShellProgram(const std::string& Path);
extern const char* const ShellNullDevice; // for "2>" redirections

// Runs a shell command line; its standard output and its exit status (128 + the
// signal's number when a signal ended it).
struct TShellRun {
    std::string Out;
    int Status;
};
TShellRun RunShell(const std::string& CommandLine);
