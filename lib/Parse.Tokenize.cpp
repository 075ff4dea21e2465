#include "Parse.Tokenize.h"

#include "Scalar.h"
#include "Utils.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <initializer_list>
#include <limits>
#include <stdexcept>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace {
// A lexical error inside a scanner. Tokenize catches it, together with the
// errors of the number helpers it calls, and turns it into the closing tkError.
class EScanError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

constexpr const char* MsgInvalidFloat = "Invalid floating-point value";
constexpr const char* MsgInvalidAngle = "Invalid angular value";
constexpr const char* MsgInvalidTime = "Invalid time value";
constexpr const char* MsgRomanExpected = "Roman number expected";
constexpr const char* MsgCharExpected = "A character expected";
constexpr const char* MsgQuoteExpected = "Enclosing quotation mark expected";

constexpr char16_t PercentSign = u'%';
constexpr Extended Percent = 0.01L;
constexpr char16_t CR = u'\r';
constexpr char16_t LF = u'\n';

// Positions are 32-bit; a longer text is refused rather than misread.
constexpr std::size_t MaxTextLength = std::numeric_limits<std::int32_t>::max() - 2;

// ORDER SCANNERS: the scanners Tokenize tries, one bit each in a candidate mask.
enum TScanner : std::uint8_t {
    snComment,
    snSymbol,
    snLeftBracket,
    snAngle,
    snTime,
    snNumber,
    snBinary,
    snHex,
    snRoman,
    snIdent,
    snAssign,
    snChar,
    snCount
};
static_assert(snCount <= 16, "a candidate mask is 16 bits");

constexpr std::uint16_t ScannerMask(std::initializer_list<TScanner> Scanners) {
    std::uint16_t Mask = 0;
    for (TScanner S : Scanners)
        Mask |= static_cast<std::uint16_t>(1u << S);
    return Mask;
}

// A character outside ASCII may start anything; the scanners sort it out in turn.
constexpr std::uint32_t AnyScanner = (1u << snCount) - 1;
// The scanners a token that starts with a decimal digit can come from.
constexpr std::uint16_t DigitScanners = ScannerMask({snAngle, snTime, snNumber});
// The scanners that can put an implicit multiplication before their token.
constexpr std::uint16_t MultScanners = ScannerMask({snLeftBracket, snIdent});

// After these kinds a bracket, or a name, is multiplied implicitly.
constexpr TTokenKinds MultBeforeBracket{tkNumber, tkImag, tkRightBra1, tkRightBra2, tkFact};
constexpr TTokenKinds MultBeforeName{tkNumber, tkRightBra1, tkRightBra2};

// One-character tokens, tried in this order. A row names either a single
// character or a whole class of TSymbols.
struct TSymbolRow {
    char16_t (TSymbols::*Char)() const;
    const TCharSet& (TSymbols::*Set)() const;
    TTokenKind Kind;
};
constexpr TSymbolRow SymbolRows[] = {
    {&TSymbols::RightBra1, nullptr, tkRightBra1}, {&TSymbols::RightBra2, nullptr, tkRightBra2},
    {&TSymbols::Comma, nullptr, tkComma},         {&TSymbols::Plus, nullptr, tkPlus},
    {nullptr, &TSymbols::Minus, tkMinus},         {nullptr, &TSymbols::Mult, tkMult},
    {&TSymbols::Divis, nullptr, tkDiv},           {&TSymbols::Fact, nullptr, tkFact},
    {nullptr, &TSymbols::Power, tkPower},         {&TSymbols::Sqrt, nullptr, tkSqrt},
    {nullptr, &TSymbols::Separator, tkSeparator},
};

bool RowMatches(const TSymbolRow& Row, const TSymbols& Symbols, char16_t C) {
    return Row.Char ? (Symbols.*Row.Char)() == C : (Symbols.*Row.Set)().Contains(C);
}

// Lists whose Symbols was never set render with the standard characters.
const TSymbols& SymbolsOrDefault(const TSymbols* Symbols) {
    static const TSymbols Default;
    return Symbols ? *Symbols : Default;
}

// Drops control characters and blanks (codes up to U+0020) at both ends.
std::u16string_view TrimControls(std::u16string_view S) {
    while (!S.empty() && S.front() <= u' ')
        S.remove_prefix(1);
    while (!S.empty() && S.back() <= u' ')
        S.remove_suffix(1);
    return S;
}
} // namespace

static_assert(sizeof(TToken) == 32, "a token's text takes eight bytes");

std::u16string TToken::Fmt(const TSymbols& Symbols) const {
    std::u16string S;
    AppendFmt(S, Symbols);
    return S;
}

void TToken::AppendFmt(std::u16string& S, const TSymbols& Symbols) const {
    const std::size_t Used = S.size();
    S.resize(Used + FmtSize(Symbols));
    [[maybe_unused]] const char16_t* End = WriteFmt(S.data() + Used, Symbols);
    assert(End == S.data() + S.size());
}

// As many units as WriteFmt writes (ORDER WriteFmt).
std::size_t TToken::FmtSize(const TSymbols& Symbols) const {
    switch (Kind) {
    case tkNumber:
    case tkIdent: return Text.size();
    case tkImag: return Text.size() + 1;
    case tkError: return 0;
    case tkAssign: return Symbols.Assign.size();
    case tkComment: return 1 + Symbols.Comment.size() + Text.size();
    case tkSeparator: return 2;
    case tkLeftBra1:
    case tkRightBra1:
    case tkLeftBra2:
    case tkRightBra2:
    case tkFact:
    case tkSqrt:
    case tkPlus:
    case tkMinus:
    case tkMult:
    case tkDiv:
    case tkPower:
    case tkComma: return 1;
    }
    return 0;
}

char16_t* TToken::WriteFmt(char16_t* D, const TSymbols& Symbols) const {
    switch (Kind) {
    case tkNumber:
    case tkIdent: return Text.CopyTo(D);
    case tkImag:
        D = Text.CopyTo(D);
        *D++ = Symbols.Imag()[0];
        return D;
    case tkLeftBra1: *D++ = Symbols.LeftBra1(); return D;
    case tkRightBra1: *D++ = Symbols.RightBra1(); return D;
    case tkLeftBra2: *D++ = Symbols.LeftBra2(); return D;
    case tkRightBra2: *D++ = Symbols.RightBra2(); return D;
    case tkFact: *D++ = Symbols.Fact(); return D;
    case tkSqrt: *D++ = Symbols.Sqrt(); return D;
    case tkPlus: *D++ = Symbols.Plus(); return D;
    case tkMinus: *D++ = Symbols.Minus()[0]; return D;
    case tkMult: *D++ = Symbols.Mult()[0]; return D;
    case tkDiv: *D++ = Symbols.Divis(); return D;
    case tkPower: *D++ = Symbols.Power()[0]; return D;
    case tkComma: *D++ = Symbols.Comma(); return D;
    case tkError: return D;
    case tkAssign: return std::copy(Symbols.Assign.begin(), Symbols.Assign.end(), D);
    case tkComment:
        *D++ = u' ';
        D = std::copy(Symbols.Comment.begin(), Symbols.Comment.end(), D);
        return Text.CopyTo(D);
    case tkSeparator:
        *D++ = u'\r';
        *D++ = u'\n';
        return D;
    }
    return D;
}

TTokens::TTokens(const TTokens& Source, std::int32_t A, std::int32_t B) {
    Assign(Source, A, B);
}

std::int32_t TTokens::Add(TTokenKind Kind, std::int32_t P) {
    return AddEmpty(Kind, P);
}

std::int32_t TTokens::Add(TTokenKind Kind, std::int32_t P, std::u16string_view Text) {
    const std::int32_t I = AddEmpty(Kind, P);
    FData[I].Text.assign(Text);
    return I;
}

std::int32_t TTokens::Add(TTokenKind Kind, std::int32_t P, Extended Value) {
    const std::int32_t I = AddEmpty(Kind, P);
    FData[I].Value = Value;
    return I;
}

// A token built in place, with no text and no value yet: the caller fills them
// in, which spares building a whole token and moving it into the list.
std::int32_t TTokens::AddEmpty(TTokenKind Kind, std::int32_t P) {
    const std::int32_t I = Emplace();
    FData[I].Kind = Kind;
    FData[I].Pos = P;
    return I;
}

bool TTokens::Skip(TTokenKinds Kinds) {
    while (FPointer < Count() && Kinds.Contains(FData[FPointer].Kind))
        ++FPointer;
    return NotEnd();
}

bool TTokens::First() {
    FPointer = 0;
    return Count() > 0;
}

bool TTokens::Next() {
    ++FPointer;
    return FPointer < Count();
}

void TTokens::Assign(const TList<TToken>& Source, std::int32_t FromIndex, std::int32_t ToIndex) {
    const auto& Tokens = dynamic_cast<const TTokens&>(Source);
    TOrdered<TToken>::Assign(Source, FromIndex, ToIndex);
    FSymbols = Tokens.FSymbols;
    FPointer = 0;
}

// The range is clipped to the list, so a stale index renders less instead of reading outside.
std::u16string TTokens::ToString(std::int32_t A, std::int32_t B, std::size_t Spare) const {
    const TSymbols& Symbols = SymbolsOrDefault(FSymbols);
    const std::int32_t From = std::max(A, 0), Last = std::min(B, Count() - 1);
    std::size_t Size = 0;
    for (std::int32_t I = From; I <= Last; ++I)
        Size += FData[I].FmtSize(Symbols);
    std::u16string S;
    S.reserve(Size + Spare);
    S.resize(Size);
    char16_t* D = S.data();
    for (std::int32_t I = From; I <= Last; ++I)
        D = FData[I].WriteFmt(D, Symbols);
    assert(D == S.data() + S.size());
    return S;
}

std::int32_t TTokens::Pos() const {
    if (Count() == 0) return 0;
    return FData[std::clamp(FPointer, 0, Count() - 1)].Pos;
}

TTokenizer::TTokenizer(const TSymbols& Symbols, std::u16string Expr) {
    SetSymbols(&Symbols);
    SetExpression(std::move(Expr));
}

void TTokenizer::SetExpression(std::u16string Value) {
    FExpr = std::move(Value);
    Tokenize();
}

void TTokenizer::Tokenize() {
    Clear();
    const TSymbols* Previous = FScanSymbols;
    FScanSymbols = &SymbolsOrDefault(Symbols());
    if (FScanSymbols != Previous) PrepareSymbolTables();
    FLen = static_cast<std::int32_t>(std::min(FExpr.size(), MaxTextLength));
    if (FExpr.size() > MaxTextLength) {
        Add(tkError, 1, u"Text too long");
        return;
    }
    ReserveTokens();
    std::int32_t P = 1;
    std::int32_t Start = P;
    try {
        for (;;) {
            while (In(P, Symb().Blank()))
                ++P;
            if (P > FLen) return;
            Start = P;
            const char16_t C = FExpr[P - 1];
            const std::uint32_t Candidates = C < FAsciiScanners.size() ? FAsciiScanners[C] : AnyScanner;
            const bool Taken = Candidates == DigitScanners ? ScanDigitStart(P) : TryScanners(Candidates, P);
            if (!Taken) {
                Add(tkError, Start, u"Unreckognized symbol '" + std::u16string(1, FExpr[Start - 1]) + u"'");
                return;
            }
        }
    } catch (const std::runtime_error& E) {
        Add(tkError, Start, FromUtf8(E.what()));
    }
}

// A digit starts an angle when its digits run into the degree sign, a time when
// they run into the colon, and a number otherwise: the choice the three scanners
// make in turn, taken after one read of the digits. Inline, as TryScanners, so
// that the loop in Tokenize pays no extra call per token.
inline bool TTokenizer::ScanDigitStart(std::int32_t& P) {
    std::int32_t Q = P + 1;
    while (IsDigit(Q))
        ++Q;
    if (Is(Q, Symb().Degree())) return ScanAngle(P);
    if (Is(Q, Symb().Colon())) return ScanTime(P);
    return ScanNumber(P);
}

// Tries the candidates lowest bit first, so in ORDER SCANNERS, until one takes the token.
inline bool TTokenizer::TryScanners(std::uint32_t Candidates, std::int32_t& P) {
    struct TRow {
        TScanner Scanner;
        bool (TTokenizer::*Scan)(std::int32_t&);
    };
    // ORDER SCANNERS
    static constexpr TRow Rows[] = {
        {snComment, &TTokenizer::ScanComment},
        {snSymbol, &TTokenizer::ScanSymbol},
        {snLeftBracket, &TTokenizer::ScanLeftBracket},
        {snAngle, &TTokenizer::ScanAngle},
        {snTime, &TTokenizer::ScanTime},
        {snNumber, &TTokenizer::ScanNumber},
        {snBinary, &TTokenizer::ScanBinary},
        {snHex, &TTokenizer::ScanHex},
        {snRoman, &TTokenizer::ScanRoman},
        {snIdent, &TTokenizer::ScanIdent},
        {snAssign, &TTokenizer::ScanAssign},
        {snChar, &TTokenizer::ScanChar},
    };
    static_assert(std::size(Rows) == snCount);
    static_assert([] {
        for (std::size_t I = 0; I < std::size(Rows); ++I)
            if (Rows[I].Scanner != I) return false;
        return true;
    }());
    for (; Candidates != 0; Candidates &= Candidates - 1)
        if ((this->*Rows[std::countr_zero(Candidates)].Scan)(P)) return true;
    return false;
}

// The characters ScanSymbol takes, and the first matching row of each ASCII
// character so that ScanSymbol need not walk the rows. They depend only on the
// symbols in use, so a run with the same symbols as the last keeps them.
void TTokenizer::PrepareSymbolTables() {
    FSymbolChars.Clear();
    for (const TSymbolRow& Row : SymbolRows) {
        if (Row.Char)
            FSymbolChars.Include((Symb().*Row.Char)());
        else
            FSymbolChars.Include((Symb().*Row.Set)());
    }
    // The first character each scanner tests before it takes anything.
    for (char16_t C = 0; C < FAsciiScanners.size(); ++C) {
        const bool Digit = C >= u'0' && C <= u'9';
        std::array<bool, snCount> Can{};
        Can[snComment] = C == Symb().Comment[0];
        Can[snSymbol] = FSymbolChars.Contains(C);
        Can[snLeftBracket] = C == Symb().LeftBra1() || C == Symb().LeftBra2();
        Can[snAngle] = Digit;
        Can[snTime] = Digit;
        Can[snNumber] = Digit || C == Symb().Period();
        Can[snBinary] = C == Symb().Bin;
        Can[snHex] = C == Symb().Hex;
        Can[snRoman] = C == Symb().Roman;
        Can[snIdent] = Symb().Alpha().Contains(C);
        Can[snAssign] = C == Symb().Assign[0];
        Can[snChar] = Symb().Quot().Contains(C);
        std::uint16_t Mask = 0;
        for (std::size_t I = 0; I < Can.size(); ++I)
            if (Can[I]) Mask |= static_cast<std::uint16_t>(1u << I);
        FAsciiScanners[C] = Mask;
    }
    FAsciiSymbolKind.fill(-1);
    for (char16_t C = 0; C < FAsciiSymbolKind.size(); ++C)
        for (const TSymbolRow& Row : SymbolRows)
            if (RowMatches(Row, Symb(), C)) {
                FAsciiSymbolKind[C] = static_cast<std::int8_t>(Row.Kind);
                break;
            }
}

bool TTokenizer::ScanComment(std::int32_t& P) {
    if (!Matches(P, Symb().Comment)) return false;
    const std::int32_t From = P + static_cast<std::int32_t>(Symb().Comment.size());
    std::int32_t To = From;
    while (To <= FLen && !(Is(To, CR) && Is(To + 1, LF)))
        ++To;
    const std::u16string_view Body = TrimControls(Slice(From, To));
    if (!Body.empty()) Add(tkComment, P, std::u16string(Body));
    P = To; // the line break is the separator's
    return true;
}

bool TTokenizer::ScanSymbol(std::int32_t& P) {
    if (!In(P, FSymbolChars)) return false;
    const char16_t C = FExpr[P - 1];
    TTokenKind Kind;
    if (C < FAsciiSymbolKind.size() && FAsciiSymbolKind[C] >= 0) {
        Kind = static_cast<TTokenKind>(FAsciiSymbolKind[C]);
    } else {
        const auto Row = std::find_if(std::begin(SymbolRows), std::end(SymbolRows),
                                      [&](const TSymbolRow& R) { return RowMatches(R, Symb(), C); });
        if (Row == std::end(SymbolRows)) return false;
        Kind = Row->Kind;
    }
    if (Kind != tkSeparator || !LastIs({tkSeparator})) Add(Kind, P);
    ++P;
    return true;
}

bool TTokenizer::ScanLeftBracket(std::int32_t& P) {
    TTokenKind Kind;
    if (Is(P, Symb().LeftBra1()))
        Kind = tkLeftBra1;
    else if (Is(P, Symb().LeftBra2()))
        Kind = tkLeftBra2;
    else
        return false;
    if (LastIs(MultBeforeBracket)) Add(tkMult, P);
    Add(Kind, P);
    ++P;
    return true;
}

// degrees "°" [minutes "'" [seconds '"']], in radians; only the degrees must be an integer.
bool TTokenizer::ScanAngle(std::int32_t& P) {
    std::int32_t Q = P;
    const std::u16string_view Degrees = ReadDigits(Q);
    if (Degrees.empty() || !Is(Q, Symb().Degree())) return false;
    Extended Value = StrToFloat(Degrees) * DegreeInRadians;
    ++Q;
    if (IsDigit(Q)) {
        Value += StrToFloat(ReadDecimal(Q)) * MinuteInRadians;
        if (!Is(Q, Symb().Minute())) throw EScanError(MsgInvalidAngle);
        ++Q;
        if (IsDigit(Q)) {
            Value += StrToFloat(ReadDecimal(Q)) * SecondInRadians;
            if (!Is(Q, Symb().Second())) throw EScanError(MsgInvalidAngle);
            ++Q;
        }
    }
    AddLiteral(tkNumber, P, Q, Value);
    P = Q;
    return true;
}

// hours ":" minutes [":" seconds], in seconds; no part is range-checked.
bool TTokenizer::ScanTime(std::int32_t& P) {
    std::int32_t Q = P;
    const std::u16string_view Hours = ReadDigits(Q);
    if (Hours.empty() || !Is(Q, Symb().Colon())) return false;
    ++Q;
    if (!IsDigit(Q)) throw EScanError(MsgInvalidTime);
    const Extended Minutes = StrToFloat(ReadDigits(Q));
    Extended Value = FP::Add(FP::Mul(StrToFloat(Hours), 3600), FP::Mul(Minutes, 60));
    if (Is(Q, Symb().Colon())) {
        ++Q;
        if (!IsDigit(Q)) throw EScanError(MsgInvalidTime);
        Value = FP::Add(Value, StrToFloat(ReadDecimal(Q)));
    }
    AddLiteral(tkNumber, P, Q, Value);
    P = Q;
    return true;
}

// decimal ["e" [minus | "+"] digits] then one of: imaginary letter, "%", "!", "°".
bool TTokenizer::ScanNumber(std::int32_t& P) {
    if (!IsDigit(P) && !Is(P, Symb().Period())) return false;
    std::int32_t Q = P;
    const std::u16string_view Decimal = ReadDecimal(Q);
    Extended Value;
    if (Is(Q, u'e') || Is(Q, u'E')) {
        std::u16string Numeral(Decimal);
        Numeral += u'e';
        ++Q;
        if (In(Q, Symb().Minus())) {
            Numeral += u'-';
            ++Q;
        } else if (Is(Q, u'+')) {
            ++Q;
        }
        if (!IsDigit(Q)) throw EScanError(MsgInvalidFloat);
        Numeral += ReadDigits(Q);
        Value = StrToFloat(Numeral); // too small for the range: a subnormal or 0
    } else if (Decimal.size() == 1) {
        Value = Decimal[0] - u'0'; // one digit: the value StrToFloat gives, without its loop
    } else {
        Value = StrToFloat(Decimal);
    }
    if (In(Q, Symb().Imag())) {
        AddLiteral(tkImag, P, Q, Value);
        P = Q + 1;
        return true;
    }
    if (Is(Q, PercentSign)) {
        Value *= Percent;
        ++Q;
    } else if (Is(Q, Symb().Fact())) {
        Value = RealFactorial(Value); // a literal is never negative
        ++Q;
    } else if (Is(Q, Symb().Degree())) {
        Value *= DegreeInRadians;
        ++Q;
    }
    AddLiteral(tkNumber, P, Q, Value);
    P = Q;
    return true;
}

bool TTokenizer::ScanBinary(std::int32_t& P) {
    return ScanInteger(P, Symb().Bin, BinDigits(), 2, "Binary number expected");
}

bool TTokenizer::ScanHex(std::int32_t& P) {
    return ScanInteger(P, Symb().Hex, HexDigits(), 16, "Hexadecimal number expected");
}

bool TTokenizer::ScanRoman(std::int32_t& P) {
    if (!Is(P, Symb().Roman)) return false;
    std::int32_t Q = P + 1;
    if (!In(Q, RomanDigits())) throw EScanError(MsgRomanExpected);
    while (In(Q, RomanDigits()))
        ++Q;
    AddLiteral(tkNumber, P, Q, RomanToInt(Slice(P + 1, Q)));
    P = Q;
    return true;
}

bool TTokenizer::ScanIdent(std::int32_t& P) {
    if (!In(P, Symb().Alpha())) return false;
    if (LastIs(MultBeforeName)) Add(tkMult, P);
    std::int32_t Q = P;
    Add(tkIdent, P, ReadName(Q));
    P = Q;
    return true;
}

bool TTokenizer::ScanAssign(std::int32_t& P) {
    if (!Matches(P, Symb().Assign)) return false;
    Add(tkAssign, P);
    P += static_cast<std::int32_t>(Symb().Assign.size());
    return true;
}

// quote, any one character, the same quote: the character's code.
bool TTokenizer::ScanChar(std::int32_t& P) {
    if (!In(P, Symb().Quot())) return false;
    const char16_t Quote = FExpr[P - 1];
    std::int32_t Q = P + 1;
    if (Q > FLen) throw EScanError(MsgCharExpected);
    const char16_t C = FExpr[Q - 1];
    ++Q;
    if (!Is(Q, Quote)) throw EScanError(MsgQuoteExpected);
    ++Q;
    AddLiteral(tkNumber, P, Q, C);
    P = Q;
    return true;
}

// Binary and hexadecimal literals: the prefix, then at least one digit. The
// value accumulates in extended precision; past its range it is an overflow.
bool TTokenizer::ScanInteger(std::int32_t& P, char16_t Prefix, const TCharSet& Digits, int Base,
                             const char* Message) {
    if (!Is(P, Prefix)) return false;
    std::int32_t Q = P + 1;
    if (!In(Q, Digits)) throw EScanError(Message);
    Extended Value = 0;
    for (; In(Q, Digits); ++Q) {
        const char16_t C = FExpr[Q - 1];
        const int Digit = C <= u'9' ? C - u'0' : C - u'A' + 10;
        Value = FP::Add(FP::Mul(Value, Base), Digit);
    }
    AddLiteral(tkNumber, P, Q, Value);
    P = Q;
    return true;
}

void TTokenizer::AddLiteral(TTokenKind Kind, std::int32_t Start, std::int32_t End, Extended Value) {
    TToken& T = FData[AddEmpty(Kind, Start)];
    T.Text.assign(Slice(Start, End));
    T.Value = Value;
}

// Every token but an implicit multiplication takes at least one character, and
// such a multiplication only comes before a bracket or a name. Reserving that
// bound once spares the copies and fresh pages of repeated growth on a long
// text; pages of the bound that no token reaches are never touched. Capacity()
// still follows the list's own doubling, which this does not change.
void TTokenizer::ReserveTokens() {
    // An ASCII character's scanners tell whether it can start a bracket or a name.
    std::size_t Bound = static_cast<std::size_t>(FLen);
    for (std::int32_t I = 0; I < FLen; ++I) {
        const char16_t C = FExpr[I];
        if (C < FAsciiScanners.size())
            Bound += (FAsciiScanners[C] & MultScanners) != 0;
        else
            Bound += C == Symb().LeftBra1() || C == Symb().LeftBra2() || Symb().Alpha().Contains(C);
    }
    // The list's doubling reserves 32, 64, ... items whenever it fills: reserving the
    // first of those at or above the bound means none of them moves the tokens again.
    std::size_t Doubled = 32;
    while (Doubled < Bound)
        Doubled *= 2;
    FData.reserve(Doubled);
#ifdef __linux__
    // A list of megabytes is taken in 2 MB pages where the system allows it: one
    // fault per 2 MB instead of one per 4 KB (a tenth of a long line's time).
    constexpr std::uintptr_t HugePage = std::uintptr_t(1) << 21;
    const auto Begin = reinterpret_cast<std::uintptr_t>(FData.data());
    const std::uintptr_t From = (Begin + HugePage - 1) & ~(HugePage - 1);
    const std::uintptr_t To = (Begin + FData.capacity() * sizeof(TToken)) & ~(HugePage - 1);
    if (To > From) madvise(reinterpret_cast<void*>(From), To - From, MADV_HUGEPAGE);
#endif
}

bool TTokenizer::Matches(std::int32_t P, std::u16string_view S) const {
    return P >= 1 && P - 1 <= FLen && static_cast<std::size_t>(FLen - (P - 1)) >= S.size() &&
           std::u16string_view(FExpr).substr(P - 1, S.size()) == S;
}

std::u16string_view TTokenizer::Slice(std::int32_t From, std::int32_t To) const {
    return std::u16string_view(FExpr).substr(From - 1, To - From);
}

std::u16string_view TTokenizer::ReadDigits(std::int32_t& P) const {
    const std::int32_t Start = P;
    while (IsDigit(P))
        ++P;
    return Slice(Start, P);
}

std::u16string_view TTokenizer::ReadName(std::int32_t& P) const {
    const std::int32_t Start = P;
    while (P <= FLen && Symb().IsNameChar(FExpr[P - 1]))
        ++P;
    return Slice(Start, P);
}

// digits ["." digits]; "5." and ".5" are numerals, "." alone is not.
std::u16string_view TTokenizer::ReadDecimal(std::int32_t& P) const {
    const std::int32_t Start = P;
    ReadDigits(P);
    if (Is(P, Symb().Period())) {
        ++P;
        ReadDigits(P);
        if (P - Start == 1) throw EScanError(MsgInvalidFloat);
    }
    return Slice(Start, P);
}
