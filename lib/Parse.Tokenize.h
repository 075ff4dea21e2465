// Lexical analysis: tokens over the language's characters (Parse.Symbols.h),
// the token list with its cursor and canonical rendering, and the tokenizer
// that turns a whole program text into one flat token list.
//
// Positions are 1-based indexes in UTF-16 code units into the whole text.
// The tokenizer never throws on bad input: it ends the list with one tkError
// token whose text is the message, and the parser reports it on arrival.
#pragma once
#include "Collections.h"
#include "Complex.h"
#include "Parse.Symbols.h"
#include "Parse.TokenText.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// ORDER TOKENKIND
enum TTokenKind : std::uint8_t {
    tkNumber,
    tkImag,
    tkLeftBra1,
    tkRightBra1,
    tkLeftBra2,
    tkRightBra2,
    tkFact,
    tkSqrt,
    tkPlus,
    tkMinus,
    tkMult,
    tkDiv,
    tkPower,
    tkIdent,
    tkComma,
    tkError,
    tkAssign,
    tkComment,
    tkSeparator,
};

class TTokenKinds {
  public:
    constexpr TTokenKinds(std::initializer_list<TTokenKind> Kinds) {
        for (TTokenKind K : Kinds)
            FBits |= 1u << K;
    }
    constexpr bool Contains(TTokenKind K) const { return (FBits >> K) & 1u; }

  private:
    std::uint32_t FBits = 0;
};

struct TToken {
    TTokenKind Kind = tkError;
    std::int32_t Pos = 0;
    TTokenText Text;
    Extended Value = 0;

    // The canonical text of the token, with no spaces around operators.
    std::u16string Fmt(const TSymbols& Symbols) const;
    void AppendFmt(std::u16string& S, const TSymbols& Symbols) const; // Fmt onto the end of S
    // Fmt written at D, which has room for FmtSize(Symbols) units; answers the end.
    char16_t* WriteFmt(char16_t* D, const TSymbols& Symbols) const;
    std::size_t FmtSize(const TSymbols& Symbols) const; // the length of Fmt
    bool operator==(const TToken&) const = default;
};

// A token list with a cursor (Pointer). Filling the list does not move the cursor.
// Reads of the current token need NotEnd(); Pos() past the end gives the last token's.
class TTokens : public TOrdered<TToken> {
  public:
    TTokens() = default;
    TTokens(const TTokens& Source, std::int32_t A, std::int32_t B);

    using TOrdered<TToken>::Add;
    std::int32_t Add(TTokenKind Kind, std::int32_t P);
    std::int32_t Add(TTokenKind Kind, std::int32_t P, std::u16string_view Text);
    std::int32_t Add(TTokenKind Kind, std::int32_t P, Extended Value);

    bool Skip(TTokenKinds Kinds); // answers NotEnd()
    bool First();
    bool Next();
    // Copies tokens FromIndex..ToIndex of Source, takes its Symbols and resets the cursor.
    // Source must be a TTokens (std::bad_cast otherwise).
    void Assign(const TList<TToken>& Source, std::int32_t FromIndex, std::int32_t ToIndex) override;
    using TOrdered<TToken>::Assign;

    // Empty when B < A. Spare: room kept beyond the text for that many more units.
    std::u16string ToString(std::int32_t A, std::int32_t B, std::size_t Spare = 0) const;
    std::u16string ToString() const { return ToString(0, Count() - 1); }

    const TToken& Current() const { return FData[FPointer]; }
    TTokenKind Kind() const { return FData[FPointer].Kind; }
    std::u16string_view Text() const { return FData[FPointer].Text.View(); }
    Extended Value() const { return FData[FPointer].Value; }
    std::int32_t Pos() const; // 0 on an empty list
    bool IsEnd() const { return FPointer >= Count(); }
    bool NotEnd() const { return FPointer < Count(); }

    std::int32_t Pointer() const { return FPointer; }
    void SetPointer(std::int32_t Value) { FPointer = Value; }
    const TSymbols* Symbols() const { return FSymbols; }
    void SetSymbols(const TSymbols* Value) { FSymbols = Value; }

  private:
    std::int32_t FPointer = 0;
    const TSymbols* FSymbols = nullptr; // borrowed

  protected:
    std::int32_t AddEmpty(TTokenKind Kind, std::int32_t P);
};

// Scans a whole text into its own token list. Setting Expression tokenizes at
// once; the cursor is not reset. Runs in time linear in the text's length.
class TTokenizer : public TTokens {
  public:
    explicit TTokenizer(const TSymbols& Symbols, std::u16string Expr = {});

    const std::u16string& Expression() const { return FExpr; }
    void SetExpression(std::u16string Value);
    void Tokenize();

  private:
    // ORDER SCANNERS: the order of tries in Tokenize.
    bool ScanComment(std::int32_t& P);
    bool ScanSymbol(std::int32_t& P);
    bool ScanLeftBracket(std::int32_t& P);
    bool ScanAngle(std::int32_t& P);
    bool ScanTime(std::int32_t& P);
    bool ScanNumber(std::int32_t& P);
    bool ScanBinary(std::int32_t& P);
    bool ScanHex(std::int32_t& P);
    bool ScanRoman(std::int32_t& P);
    bool ScanIdent(std::int32_t& P);
    bool ScanAssign(std::int32_t& P);
    bool ScanChar(std::int32_t& P);
    bool ScanDigitStart(std::int32_t& P);
    bool TryScanners(std::uint32_t Candidates, std::int32_t& P); // one bit per scanner, ORDER SCANNERS

    // The character at a position past the end counts as none: every test on it fails.
    const TSymbols& Symb() const { return *FScanSymbols; }
    bool Is(std::int32_t P, char16_t C) const { return P <= FLen && FExpr[P - 1] == C; }
    bool In(std::int32_t P, const TCharSet& Set) const { return P <= FLen && Set.Contains(FExpr[P - 1]); }
    // DecDigits is exactly "0".."9"; a range test spares the set lookup on the hottest path.
    bool IsDigit(std::int32_t P) const { return P <= FLen && FExpr[P - 1] >= u'0' && FExpr[P - 1] <= u'9'; }
    bool Matches(std::int32_t P, std::u16string_view S) const;
    bool LastIs(TTokenKinds Kinds) const { return Count() > 0 && Kinds.Contains(Last().Kind); }
    std::u16string_view Slice(std::int32_t From, std::int32_t To) const; // From..To-1
    std::u16string_view ReadDigits(std::int32_t& P) const;
    std::u16string_view ReadName(std::int32_t& P) const;
    std::u16string_view ReadDecimal(std::int32_t& P) const;
    bool ScanInteger(std::int32_t& P, char16_t Prefix, const TCharSet& Digits, int Base, const char* Message);
    void AddLiteral(TTokenKind Kind, std::int32_t Start, std::int32_t End, Extended Value);
    void ReserveTokens();
    void PrepareSymbolTables();

    std::u16string FExpr;
    std::int32_t FLen = 0;
    // Set up by Tokenize for one scan: the symbols in use and every character ScanSymbol takes.
    const TSymbols* FScanSymbols = nullptr;
    TCharSet FSymbolChars;
    std::array<std::int8_t, 128> FAsciiSymbolKind{}; // the ScanSymbol kind of an ASCII character, or -1
    // The scanners that can take a token starting with each ASCII character, one bit each (ORDER SCANNERS).
    std::array<std::uint16_t, 128> FAsciiScanners{};
};
