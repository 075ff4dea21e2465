// Hints for common slips, shown after a run that failed or did something its
// writer may not have meant: a sign right after an operator, "=" for ":=", a
// name that differs from a defined one only in case, an assignment over a
// built-in, and a percent that is only a hundredth. RunHint reads the program's
// tokens, the error's place and the names defined; it knows no widgets. The
// output is never touched: showing the hint is the main window's business.
#pragma once
#include "Parse.Infix.h"

#include <QString>

#include <string_view>

// A finished run as the runner keeps it. Both references are borrowed.
struct TRunReport {
    const std::u16string& Program; // the text that ran, line breaks as CR LF
    const TTokens& Tokens;         // its tokens
    bool Failed = false;           // the run ended with an error
    TErrorSpan Span;               // where that error was raised
};

// The hint for Run, or an empty text. Idents holds the names as the run left
// them (GlobalIdents after the run).
QString RunHint(const TRunReport& Run, const TIdentList& Idents);
