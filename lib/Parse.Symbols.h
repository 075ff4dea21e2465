// The character classes and punctuation of the language, shared by the
// tokenizer, the parser's output and the editor's aids.
#pragma once
#include "Collections.h"

#include <string>

// Every character class and punctuation character of the language. Item 0 of
// Imag, Mult, Minus and Power is the canonical character used for output.
class TSymbols {
  public:
    TSymbols();

    bool IsOperator(char16_t Symb) const; // + / and the power, minus and multiplication sets
    bool IsNameChar(char16_t Symb) const; // Alpha, DecDigits or Special
    bool IsLeftBracket(char16_t Symb) const;
    bool IsRightBracket(char16_t Symb) const;
    char16_t MatchBracket(char16_t Bracket) const; // anything but ( ) [ gives [

    const TCharSet& Alpha() const { return FAlpha; }
    const TCharSet& Blank() const { return FBlank; }
    const TCharSet& Imag() const { return FImag; }
    const TCharSet& Quot() const { return FQuot; }
    const TCharSet& Mult() const { return FMult; }
    const TCharSet& Minus() const { return FMinus; }
    const TCharSet& Power() const { return FPower; }
    const TCharSet& Separator() const { return FSeparator; }
    const TCharSet& Special() const { return FSpecial; }
    char16_t Plus() const { return FPlus; }
    char16_t Divis() const { return FDivis; }
    char16_t Period() const { return FPeriod; }
    char16_t Comma() const { return FComma; }
    char16_t Fact() const { return FFact; }
    char16_t Sqrt() const { return FSqrt; }
    char16_t Colon() const { return FColon; }
    char16_t Degree() const { return FDegree; }
    char16_t Minute() const { return FMinute; }
    char16_t Second() const { return FSecond; }
    char16_t LeftBra1() const { return FLeftBra1; }
    char16_t RightBra1() const { return FRightBra1; }
    char16_t LeftBra2() const { return FLeftBra2; }
    char16_t RightBra2() const { return FRightBra2; }

    const char16_t Bin = u'&';
    const char16_t Hex = u'$';
    const char16_t Roman = u'#';
    const std::u16string Assign = u":=";
    const std::u16string Comment = u"//";

  private:
    TCharSet FAlpha, FBlank, FImag, FQuot, FMult, FMinus, FPower, FSeparator, FSpecial;
    char16_t FPlus = u'+', FDivis = u'/', FPeriod = u'.', FComma = u',', FFact = u'!', FSqrt = u'\u221A',
             FColon = u':', FDegree = u'\u00B0', FMinute = u'\'', FSecond = u'"', FLeftBra1 = u'(',
             FRightBra1 = u')', FLeftBra2 = u'[', FRightBra2 = u']';
};
