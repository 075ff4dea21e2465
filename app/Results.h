// The values of result lines, for reuse in the input: what Copy result and
// Insert result take from the output box. Knows the forms of the runner's
// lines, not the widgets; which line is meant (the caret's, the last value)
// is the window's choice.
#pragma once
#include "Parse.Infix.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

// The value of a result line "statement = value" as shown, without a remark
// such as "//cannot convert to binary"; none for any other line. Kind is the
// runner's word on the line; without it (a line of an earlier run kept by
// Preserve) the text after " = " must look like a number to count.
std::optional<QString> ResultValue(const QString& Line, std::optional<TLineKind> Kind);

// The kind the last run gave line LineIndex, if that run wrote it.
std::optional<TLineKind> LineKind(const std::vector<TStatementRange>& Ranges, int LineIndex);

// The value of the last of Count lines that holds one (Line gives a line's text).
std::optional<QString> LastResultValue(int Count, const std::function<QString(int)>& Line,
                                       const std::vector<TStatementRange>& Ranges);
