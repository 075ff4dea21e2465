// Links between the statements of the last run and the output lines they
// wrote, in the boxes' own terms: where each statement stands in the input box
// and which line of the output box it wrote. A link holds until the input is
// next edited; the main window then drops them all until the next run. Which
// marks are drawn, and where the focus goes, is the window's business.
#pragma once
#include "Parse.Infix.h"

#include <string_view>
#include <vector>

struct TLink {
    int Line;  // the output box's line
    int Start; // the statement in the input box: Start..End, a line break counting one
    int End;
    bool operator==(const TLink&) const = default;
};

// Program is the text that ran, with CR LF line breaks; From is where it starts
// in the input box (the selection's start, or 0).
std::vector<TLink> LinksInBox(std::u16string_view Program, const std::vector<TStatementRange>& Ranges, int From);

// The links of the statement around Caret (which may stand at either end of
// it), in output order; empty when the caret is in no statement.
std::vector<TLink> LinksAtCaret(const std::vector<TLink>& Links, int Caret);
// The link of an output line, or null.
const TLink* LinkOfLine(const std::vector<TLink>& Links, int Line);
