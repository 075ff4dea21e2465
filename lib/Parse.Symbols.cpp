#include "Parse.Symbols.h"

TSymbols::TSymbols()
    : FAlpha(LatinLetters()), FBlank(u" \t"), FImag(u"ijI"), FQuot(u"\"'"), FMult(u"\u2219\u00D7*"),
      FMinus(u"\u2013\u2212-"), FPower(u"^\u2191"), FSeparator(u"\r\n;"), FSpecial(u"_#$\u20AC\u00A3") {
    FAlpha.Add(GreekLetters());
    FAlpha.Add(CyrillicLetters());
    FAlpha.Add(u"\u00F5\u00E4\u00F6\u00FC\u0161\u017E\u00D5\u00C4\u00D6\u00DC\u0160\u017D\u0127\u2113%");
}

bool TSymbols::IsOperator(char16_t Symb) const {
    return Symb == FPlus || Symb == FDivis || FPower.Contains(Symb) || FMinus.Contains(Symb) ||
           FMult.Contains(Symb);
}

bool TSymbols::IsNameChar(char16_t Symb) const {
    return FAlpha.Contains(Symb) || DecDigits().Contains(Symb) || FSpecial.Contains(Symb);
}

bool TSymbols::IsLeftBracket(char16_t Symb) const {
    return Symb == FLeftBra1 || Symb == FLeftBra2;
}

bool TSymbols::IsRightBracket(char16_t Symb) const {
    return Symb == FRightBra1 || Symb == FRightBra2;
}

char16_t TSymbols::MatchBracket(char16_t Bracket) const {
    if (Bracket == FLeftBra1) return FRightBra1;
    if (Bracket == FRightBra1) return FLeftBra1;
    if (Bracket == FLeftBra2) return FRightBra2;
    return FLeftBra2;
}
