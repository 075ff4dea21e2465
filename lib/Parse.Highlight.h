// Syntax classes for an editor: what each stretch of a line of program text is
// (a number, a known or unknown name, an operator, a comment, the first error),
// and which bracket matches the one at the caret. It runs the tokenizer on one
// line at a time and looks names up in a snapshot; it never parses or runs a
// statement, so no user function is called and no identifier changes. Where the
// colours come from, and what a widget does with the spans, is the caller's.
//
// Positions here are 0-based indexes in UTF-16 units into the line.
#pragma once
#include "Parse.Tokenize.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class TIdentList;

// ORDER TSyntaxClass
enum TSyntaxClass : std::uint8_t {
    syNumber,       // numerals and every other literal
    syVariable,     // a variable, or a name the statement itself defines
    syBuiltin,      // a built-in function
    syUserFunction, // a function of the user's own
    syUndefined,    // a name that is not defined (yet)
    syOperator,     // operators, the comma, the assignment and ";"
    syBracket,
    syComment,
    syError, // from the tokenizer's first error to the next blank
    syCount
};

struct TSyntaxSpan {
    std::int32_t Start;
    std::int32_t Length;
    TSyntaxClass Class;
    bool operator==(const TSyntaxSpan&) const = default;
};

// The names known when the snapshot was taken, each as syVariable, syBuiltin or
// syUserFunction; every other name is syUndefined.
class TNameClasses {
  public:
    TNameClasses() = default;
    explicit TNameClasses(const TIdentList& Idents);

    void Set(std::u16string_view Name, TSyntaxClass Class) { FClasses[std::u16string(Name)] = Class; }
    TSyntaxClass Of(std::u16string_view Name) const;
    bool operator==(const TNameClasses&) const = default;

  private:
    struct THash {
        using is_transparent = void;
        std::size_t operator()(std::u16string_view S) const { return std::hash<std::u16string_view>{}(S); }
    };
    std::unordered_map<std::u16string, TSyntaxClass, THash, std::equal_to<>> FClasses;
};

// A left bracket and the right one that closes it, as positions in the line.
struct TBracketPair {
    std::int32_t Left;
    std::int32_t Right; // -1 when the left one is never closed
    bool operator==(const TBracketPair&) const = default;
};

class THighlighter {
  public:
    explicit THighlighter(const TSymbols& Symbols) : FTokenizer(Symbols) {}

    // The line's spans in order, none overlapping. Blanks and the parts of an
    // empty comment get none. Line holds no line break.
    std::vector<TSyntaxSpan> Spans(std::u16string_view Line, const TNameClasses& Names);
    // The bracket just after Caret, or else the one just before it, and its
    // partner (a left bracket whose partner is missing has Right -1; a right one
    // whose partner is missing gives Left -1). Brackets in comments and character
    // literals do not count. None when no bracket is next to the caret.
    std::optional<TBracketPair> MatchBracket(std::u16string_view Line, std::int32_t Caret);

  private:
    void Tokenize(std::u16string_view Line);
    std::int32_t TokenLength(const TToken& Token, std::u16string_view Line) const;
    bool IsImplicitMult(const TToken& Token, std::u16string_view Line) const;

    TTokenizer FTokenizer;
};
