#include "Parse.Infix.h"

#include "Angle.h"
#include "Utils.h"

#include <algorithm>
#include <cmath>

namespace {
// One nesting budget per thread, shared by the runner and every evaluator it calls.
thread_local std::int32_t GDepth = 0;
// The user-function work left to the current statement (see MaxCallWork).
thread_local std::int64_t GCallWorkLeft = MaxCallWork;

void StartCallWork(std::int64_t Tokens) {
    GCallWorkLeft = MaxCallWork + CallWorkPerToken * Tokens;
}

std::string U8(std::u16string_view S) {
    return ToUtf8(S);
}

// The message of an error token. A NUL (from "Unreckognized symbol") is shown as
// U+2400: messages travel as C strings and would end at it, position and all.
std::string ErrorText(std::u16string_view Text) {
    std::u16string S(Text);
    std::replace(S.begin(), S.end(), u'\0', u'\u2400');
    return ToUtf8(S);
}

// Every TSymbols holds the same characters. User functions render their bodies
// with this one, which lives to program end, because a function outlives the
// runner that defined it.
const TSymbols& SharedSymbols() {
    static const TSymbols Symbols;
    return Symbols;
}

bool IsLeftBracket(TTokenKind K) {
    return K == tkLeftBra1 || K == tkLeftBra2;
}
TTokenKind ClosingKind(TTokenKind Open) {
    return Open == tkLeftBra1 ? tkRightBra1 : tkRightBra2;
}

bool IsGap(char16_t C) {
    return C == u' ' || C == u'\t' || C == u'\r' || C == u'\n';
}

// How many units of Text the token at position Pos takes: up to where the next
// token starts, less the blanks and line breaks before it. Tokens do not keep
// their ends; names and literals could tell by their text, operators and
// comments cannot. An error token ends the list, so it is the run of characters
// up to a blank or a separator. Of an implicit multiplication and the name or
// bracket at the same position, the latter is meant.
std::int32_t TokenLength(const TTokens& Tokens, std::u16string_view Text, std::int32_t Pos) {
    std::int32_t Lo = 0, Hi = Tokens.Count(); // the first token after Pos is at Lo
    while (Lo < Hi) {
        const std::int32_t Mid = Lo + (Hi - Lo) / 2;
        if (Tokens[Mid].Pos <= Pos)
            Lo = Mid + 1;
        else
            Hi = Mid;
    }
    const std::int32_t Size = static_cast<std::int32_t>(Text.size());
    std::int32_t End = Lo < Tokens.Count() ? Tokens[Lo].Pos - 1 : Size; // 0-based, exclusive
    if (Lo > 0 && Tokens[Lo - 1].Kind == tkError) {
        End = Pos - 1;
        while (End < Size && (End == Pos - 1 || !(IsGap(Text[End]) || Text[End] == u';')))
            ++End;
    }
    while (End > Pos - 1 && IsGap(Text[End - 1]))
        --End;
    return End - (Pos - 1);
}

// One past the last unit of the token at Index, as TokenLength tells it, without
// its search: the caller knows the token's index.
std::int32_t TokenEnd(const TTokens& Tokens, std::u16string_view Text, std::int32_t Index) {
    const std::int32_t Pos = Tokens[Index].Pos;
    if (Tokens[Index].Kind == tkError) return Pos - 1 + TokenLength(Tokens, Text, Pos);
    std::int32_t End =
        Index + 1 < Tokens.Count() ? Tokens[Index + 1].Pos - 1 : static_cast<std::int32_t>(Text.size());
    while (End > Pos - 1 && IsGap(Text[End - 1]))
        --End;
    return End;
}

constexpr Extended MaxInt64AsReal = 9223372036854775807.0L; // 2^63 - 1, exact in 64 bits
} // namespace

// Counts one level of nesting for as long as it lives.
class TParserBase::TDepthGuard {
  public:
    explicit TDepthGuard(TParserBase& Parser) {
        if (GDepth >= MaxNestingDepth || StackRemaining() < MinStackReserve)
            Parser.Abort(MsgTooDeep, Parser.FTokens->Pos());
        ++GDepth;
    }
    ~TDepthGuard() { --GDepth; }
    TDepthGuard(const TDepthGuard&) = delete;
    TDepthGuard& operator=(const TDepthGuard&) = delete;
};

// Runs one arithmetic step; its fault is reported at the operator's position.
template <typename TOp>
TComp TParserBase::Checked(TOp Op, std::int32_t Pos) {
    try {
        return Op();
    } catch (const std::exception& E) {
        Error(E.what(), Pos, "");
    }
}

void TParserBase::Error(const std::string& Msg, std::int32_t Pos, const std::string& Detail) {
    Raising(Pos);
    throw EParseError(Located(Msg, Pos, Detail));
}

void TParserBase::Abort(const std::string& Msg, std::int32_t Pos) {
    Raising(Pos);
    throw EAbortError(Located(Msg, Pos, ""));
}

void TParserBase::ErrorHere(const std::string& Msg) {
    Error(Msg, FTokens->Pos(), "");
}

TComp TParserBase::ParseExpression() {
    TComp Value;
    if (FTokens->NotEnd() && (FTokens->Kind() == tkPlus || FTokens->Kind() == tkMinus))
        Value = CompZero; // a leading sign applies to zero
    else
        Value = ParseTerm();
    while (FTokens->NotEnd() && (FTokens->Kind() == tkPlus || FTokens->Kind() == tkMinus)) {
        bool IsPlus = FTokens->Kind() == tkPlus;
        std::int32_t Pos = FTokens->Pos();
        FTokens->Next();
        TComp Right = ParseTerm();
        Value = Checked([&] { return IsPlus ? Value + Right : Value - Right; }, Pos);
    }
    return Value;
}

// term = power { ( * | / ) power }
TComp TParserBase::ParseTerm() {
    TComp Value = ParsePower();
    while (FTokens->NotEnd() && (FTokens->Kind() == tkMult || FTokens->Kind() == tkDiv)) {
        bool IsMult = FTokens->Kind() == tkMult;
        std::int32_t Pos = FTokens->Pos();
        FTokens->Next();
        TComp Right = ParsePower();
        Value = Checked([&] { return IsMult ? Value * Right : Value / Right; }, Pos);
    }
    return Value;
}

// power = factor [ ^ power ]     (right-associative)
TComp TParserBase::ParsePower() {
    TComp Value = ParseFactor();
    if (FTokens->NotEnd() && FTokens->Kind() == tkPower) {
        std::int32_t Pos = FTokens->Pos();
        FTokens->Next();
        TDepthGuard Guard(*this);
        TComp Exponent = ParsePower();
        Value = Checked([&] { return Power(Value, Exponent); }, Pos);
    }
    return Value;
}

// factor = number | imag | √ factor | bracket [ ! ] | name [ ! ] | call [ ! ]
TComp TParserBase::ParseFactor() {
    TDepthGuard Guard(*this);
    if (FTokens->IsEnd()) ErrorHere("Factor expected");
    TComp Value;
    switch (FTokens->Kind()) {
    case tkNumber:
        Value = FTokens->Value();
        FTokens->Next();
        return Value;
    case tkImag:
        Value = Cmplx(0, FTokens->Value());
        FTokens->Next();
        return Value;
    case tkSqrt: FTokens->Next(); return Sqrt(ParseFactor());
    case tkLeftBra1:
    case tkLeftBra2: Value = ParseBracket(); break;
    case tkIdent: Value = ParseIdent(); break;
    case tkError: Error(ErrorText(FTokens->Text()), FTokens->Pos(), "");
    default: ErrorHere("Factor expected");
    }
    if (FTokens->NotEnd() && FTokens->Kind() == tkFact) {
        Value = Factorial(Value, FTokens->Pos());
        FTokens->Next();
    }
    return Value;
}

TComp TParserBase::Factorial(TComp Z, std::int32_t Pos) {
    return Checked([&] { return FnFact(Z); }, Pos);
}

// bracket = ( expression ) | [ expression ]
TComp TParserBase::ParseBracket() {
    TTokenKind Close = ClosingKind(FTokens->Kind());
    FTokens->Next();
    TComp Value = ParseExpression();
    if (FTokens->IsEnd() || FTokens->Kind() != Close) ErrorHere("Enclosing bracket expected");
    FTokens->Next();
    return Value;
}

// name, or call = name argument-list. Parameters shadow globals; a called name is
// only ever a function and a plain name only ever a variable.
TComp TParserBase::ParseIdent() {
    const std::u16string_view Name = FTokens->Text(); // the token list does not change while a statement runs
    const std::int32_t NamePos = FTokens->Pos();
    FTokens->Next();
    TIdentList& Globals = GlobalIdents();
    if (FTokens->NotEnd() && IsLeftBracket(FTokens->Kind())) {
        TFunction* Function = FLocals ? FLocals->Find<TFunction>(Name) : nullptr;
        if (!Function) Function = Globals.Find<TFunction>(Name);
        if (!Function) {
            bool IsVariable = (FLocals && FLocals->Find<TVariable>(Name)) || Globals.Find<TVariable>(Name);
            if (IsVariable)
                Error("'" + U8(Name) + "' is a variable, but is called like a function", NamePos, "");
            Error("Unknown identifier '" + U8(Name) + "'", NamePos, "");
        }
        if (Function->Busy()) Abort("Recursive call of function '" + U8(Name) + "'", NamePos);
        if (const std::int64_t Work = Function->CallWork()) {
            GCallWorkLeft -= Work;
            if (GCallWorkLeft < 0) Abort(MsgTooMuchWork, NamePos);
        }
        TCompList Args;
        ParseArgs(Args);
        try {
            return Function->Eval(Args);
        } catch (const EAbortError& E) {
            if (!IsProgram()) throw;
            Error("Error in function '" + U8(Function->Name()) + "'", NamePos, E.what());
        } catch (const std::exception& E) {
            Error("Error in function '" + U8(Function->Name()) + "'", NamePos, E.what());
        }
    }
    TVariable* Variable = FLocals ? FLocals->Find<TVariable>(Name) : nullptr;
    if (!Variable) Variable = Globals.Find<TVariable>(Name);
    if (!Variable) {
        bool IsFunction = (FLocals && FLocals->Find<TFunction>(Name)) || Globals.Find<TFunction>(Name);
        if (IsFunction) Error("Function '" + U8(Name) + "' called without arguments", NamePos, "");
        Error("Unknown identifier '" + U8(Name) + "'", NamePos, "");
    }
    return Variable->Value();
}

// argument-list = open [ expression { , expression } ] matching-close
void TParserBase::ParseArgs(TCompList& Args) {
    Args.clear();
    TTokenKind Close = ClosingKind(FTokens->Kind());
    FTokens->Next();
    if (FTokens->NotEnd() && FTokens->Kind() == Close) {
        FTokens->Next();
        return;
    }
    Args.push_back(ParseExpression());
    while (FTokens->NotEnd() && FTokens->Kind() == tkComma) {
        FTokens->Next();
        Args.push_back(ParseExpression());
    }
    if (FTokens->IsEnd() || FTokens->Kind() != Close) ErrorHere("Enclosing paranthesis expected");
    FTokens->Next();
}

TComp TEvaluatorBase::Eval(const TIdentList& Args) {
    if (GDepth == 0) StartCallWork(FTokens->Count()); // called on its own, not from a statement
    FLocals = &Args;
    FTokens->SetPointer(0);
    if (FTokens->Count() == 0) ErrorHere("Expression is empty");
    TComp Value = ParseExpression();
    if (FTokens->NotEnd() && FTokens->Kind() != tkComment) {
        if (FTokens->Kind() == tkError) ErrorHere(ErrorText(FTokens->Text()));
        ErrorHere("End of expression expected");
    }
    return Value;
}

std::string TEvaluatorBase::Located(const std::string& Msg, std::int32_t Pos, const std::string&) const {
    return Msg + " (at position " + std::to_string(Pos) + ")";
}

TEvaluator::TEvaluator() {
    FOwnTokens = std::make_unique<TTokens>();
    FTokens = FOwnTokens.get();
}

TParsedFunction::TParsedFunction(std::u16string Name, std::u16string Comment)
    : TFunction(std::move(Name), std::move(Comment)), FEvaluator(std::make_unique<TEvaluator>()) {}

TComp TParsedFunction::Eval(const TCompList& Args) {
    if (Args.size() != FParams.size())
        throw ECountError(U8(Name()), static_cast<std::int32_t>(FParams.size()));
    TIdentList Locals;
    for (std::size_t I = 0; I < FParams.size(); ++I)
        Locals.Add(std::make_unique<TVariable>(FParams[I], Args[I], std::u16string()));
    FBusy = true;
    struct TBusyReset {
        bool& Flag;
        ~TBusyReset() { Flag = false; }
    } Reset{FBusy};
    return FEvaluator->Eval(Locals);
}

std::u16string TParsedFunction::ToString() const {
    const TTokens& Body = FEvaluator->Tokens();
    char16_t Comma = Body.Symbols() ? Body.Symbols()->Comma() : u',';
    std::u16string S = Name() + u'(';
    for (std::size_t I = 0; I < FParams.size(); ++I) {
        if (I > 0) S += Comma;
        S += FParams[I];
    }
    S += u") = ";
    if (Body.Symbols()) S += Body.ToString();
    return S;
}

TProgramParser::TProgramParser()
    : FSymbols(std::make_unique<TSymbols>()), FTokenizer(std::make_unique<TTokenizer>(*FSymbols)),
      FOutput(std::make_unique<TProgramOutput>()) {
    FTokens = FTokenizer.get();
    GlobalIdents(); // the built-ins exist before the first run
}

TProgramParser::~TProgramParser() {
    FOutput.reset();
    FTokenizer.reset();
    FSymbols.reset();
}

void TProgramParser::SetPrecision(std::int32_t Value) {
    FPrec = Value < 2 ? 2 : (Value > 18 ? 18 : Value);
}

bool TProgramParser::Execute(std::u16string Text, bool Silent) {
    if (Text.size() > MaxProgramLength) {
        // Refused before tokenizing; a repeated run reports the same.
        FTokenizer->SetExpression({});
        FTokenizer->Add(tkError, 1, FromUtf8(MsgProgramTooLong));
        return Execute(Silent);
    }
    FTokenizer->SetExpression(std::move(Text));
    return Execute(Silent);
}

bool TProgramParser::Execute(bool Silent) {
    FOutput->SetSilent(Silent);
    FOutput->BeginUpdate();
    struct TUpdateEnd {
        TProgramOutput& Output;
        ~TUpdateEnd() { Output.EndUpdate(); }
    } UpdateEnd{*FOutput};
    FOutput->Reset();
    FErrorSpan = {};
    FErrorMessage.clear();
    FStatementRanges.clear();
    FStatementStart = -1;
    FTokens->SetPointer(0);
    if (FTokens->Count() == 0) return true;
    FTokens->Skip({tkComment, tkSeparator});
    try {
        while (FTokens->NotEnd())
            ParseStatement();
    } catch (const std::exception& E) {
        FErrorMessage = FromUtf8(E.what());
        Emit(FErrorMessage, lkError);
        return false;
    }
    return true;
}

bool TProgramParser::ExecuteFile(const std::filesystem::path& FileName, bool Silent) {
    return Execute(NormalizeLineBreaks(ReadTextFile(FileName)), Silent);
}

// statement = assignment | definition | expression, then a separator or the end
void TProgramParser::ParseStatement() {
    std::int32_t End = FTokens->Pointer();
    while (End < FTokens->Count() && (*FTokens)[End].Kind != tkSeparator)
        ++End;
    StartCallWork(End - FTokens->Pointer());
    FStatementStart = FTokens->Pointer();
    if (FTokens->Kind() == tkError) TokenError();
    if (!ParseAssignment() && !ParseDefinition()) {
        std::int32_t Start = FTokens->Pointer();
        TComp Value = ParseExpression();
        // The echo is made with room for the result, so a long line is not copied to append it.
        const std::u16string Result = FormatResult(Value);
        std::u16string Line = FTokens->ToString(Start, FTokens->Pointer() - 1, 3 + Result.size());
        Line += u" = ";
        Line += Result;
        Emit(Line, lkValue);
    }
    FTokens->Skip({tkComment});
    if (FTokens->IsEnd()) return;
    switch (FTokens->Kind()) {
    case tkSeparator: FTokens->Skip({tkComment, tkSeparator}); break;
    case tkError: TokenError();
    default: Error("End of statement expected", FTokens->Pos(), "");
    }
}

// assignment = name := expression [ comment ]
bool TProgramParser::ParseAssignment() {
    std::int32_t P = FTokens->Pointer();
    if (FTokens->Kind() != tkIdent || P + 1 >= FTokens->Count() || (*FTokens)[P + 1].Kind != tkAssign)
        return false;
    const std::u16string Name(FTokens->Text());
    FTokens->SetPointer(P + 2);
    TComp Value = ParseExpression();
    std::u16string Comment;
    if (FTokens->NotEnd() && FTokens->Kind() == tkComment) {
        Comment.assign(FTokens->Text());
        FTokens->Next();
    }
    GlobalIdents().SetIdent(std::make_unique<TVariable>(Name, Value, Comment));
    Emit(Name + u" = " + FormatResult(Value), lkValue);
    return true;
}

// definition = name open name { , name } matching-close := body [ comment ]
bool TProgramParser::ParseDefinition() {
    std::int32_t P = FTokens->Pointer();
    if (FTokens->Kind() != tkIdent || P + 1 >= FTokens->Count() || !IsLeftBracket((*FTokens)[P + 1].Kind))
        return false;
    const std::u16string Name(FTokens->Text());
    FTokens->Next();
    std::vector<std::u16string> Params;
    if (!ParseParams(Params) || FTokens->IsEnd() || FTokens->Kind() != tkAssign ||
        FTokens->Pointer() + 1 >= FTokens->Count()) {
        FTokens->SetPointer(P);
        return false;
    }
    FTokens->Next();
    // The body's first token is taken whatever it is; the body ends before an
    // error, a comment or a separator.
    std::int32_t BodyStart = FTokens->Pointer();
    do {
        FTokens->Next();
    } while (FTokens->NotEnd() && FTokens->Kind() != tkError && FTokens->Kind() != tkComment &&
             FTokens->Kind() != tkSeparator);
    std::int32_t BodyEnd = FTokens->Pointer() - 1;
    if (FTokens->NotEnd() && FTokens->Kind() == tkError) TokenError();
    std::u16string Comment;
    if (FTokens->NotEnd() && FTokens->Kind() == tkComment) {
        Comment.assign(FTokens->Text());
        FTokens->Next();
    }
    auto Function = std::make_unique<TParsedFunction>(Name, Comment);
    Function->Params() = std::move(Params);
    TTokens& Body = Function->Evaluator().Tokens();
    Body.Assign(*FTokens, BodyStart, BodyEnd);
    Body.SetSymbols(&SharedSymbols());
    Emit(Function->ToString(), lkDefinition);
    GlobalIdents().SetIdent(std::move(Function));
    return true;
}

bool TProgramParser::ParseParams(std::vector<std::u16string>& Names) {
    TTokenKind Close = ClosingKind(FTokens->Kind());
    for (;;) {
        FTokens->Next();
        if (FTokens->IsEnd() || FTokens->Kind() != tkIdent) return false;
        Names.emplace_back(FTokens->Text());
        FTokens->Next();
        if (FTokens->IsEnd()) return false;
        if (FTokens->Kind() == Close) {
            FTokens->Next();
            return true;
        }
        if (FTokens->Kind() != tkComma) return false;
    }
}

// Only the error that ends the run gets here last: nothing in the runner
// catches an error of its own and carries on.
void TProgramParser::Raising(std::int32_t Pos) {
    const std::u16string& Text = FTokenizer->Expression();
    if (Pos < 1 || Pos > static_cast<std::int32_t>(Text.size())) {
        FErrorSpan = {};
        return;
    }
    FErrorSpan = {Pos - 1, TokenLength(*FTokens, Text, Pos)};
}

void TProgramParser::Emit(const std::u16string& Line, TLineKind Kind) {
    if (FOutput->Silent()) return;
    const std::int32_t LineIndex = FOutput->Strings().Count();
    FOutput->Emit(Line);
    if (FStatementStart >= 0) AddStatementRange(LineIndex, Kind);
}

// The statement runs from its first token to the last one before the separator
// that follows what was read so far. A definition's body may begin with a line
// break, so the separator the statement began before is not its end.
void TProgramParser::AddStatementRange(std::int32_t LineIndex, TLineKind Kind) {
    const TTokens& Tokens = *FTokens;
    const std::u16string& Text = FTokenizer->Expression();
    const auto Size = static_cast<std::int32_t>(Text.size());
    std::int32_t Last = std::max(FStatementStart, std::min(Tokens.Pointer(), Tokens.Count()) - 1);
    while (Last + 1 < Tokens.Count() && Tokens[Last + 1].Kind != tkSeparator)
        ++Last;
    TStatementRange Range{LineIndex};
    Range.Kind = Kind;
    if (Tokens[Last].Kind == tkComment && Last > FStatementStart) {
        Range.CommentFirst = Tokens[Last].Pos - 1;
        Range.CommentLast = TokenEnd(Tokens, Text, Last);
        --Last;
    }
    const std::int32_t FirstPos = Tokens[FStatementStart].Pos, LastPos = Tokens[Last].Pos;
    if (FirstPos < 1 || LastPos > Size) return; // a refused text, which was never tokenized
    Range.First = FirstPos - 1;
    Range.Last = TokenEnd(Tokens, Text, Last);
    FStatementRanges.push_back(Range);
}

void TProgramParser::TokenError() {
    Error(ErrorText(FTokens->Text()), FTokens->Pos(), "");
}

std::u16string TProgramParser::FormatResult(TComp Value) const {
    const Extended X = Value.X;
    std::u16string Text;
    auto Fallback = [&](const char16_t* Remark) {
        return CompToStr(Value, FSymbols->Period(), FPrec) + u' ' + FSymbols->Comment + Remark;
    };
    switch (FNumberFormat) {
    case nfDec: Text = CompToStr(Value, FSymbols->Period(), FPrec); break;
    case nfBin:
        Text = (X >= 0 && X <= MaxInt64AsReal) ? std::u16string(1, FSymbols->Bin) + IntToBinStr(round64(X))
                                               : Fallback(u"cannot convert to binary");
        break;
    case nfHex:
        Text = (X >= 0 && X <= MaxInt64AsReal) ? std::u16string(1, FSymbols->Hex) + IntToHexStr(round64(X))
                                               : Fallback(u"cannot convert to hexadecimal");
        break;
    case nfRoman:
        // The lower bound holds for X itself, the upper one for X rounded: 3999.4 is
        // MMMCMXCIX, while 3999.5 rounds to 4000 and cannot be written.
        if (X >= 1 && X <= 4000 && std::nearbyint(X) <= 3999)
            Text = std::u16string(1, FSymbols->Roman) + IntToRoman(static_cast<std::int32_t>(round64(X)));
        else
            Text = Fallback(u"cannot convert to Roman");
        break;
    case nfTime:
        Text = std::fabs(X) < 9e16L ? SecondsToStr(std::u16string(1, FSymbols->Colon()),
                                                   std::u16string(1, FSymbols->Period()), X)
                                    : Fallback(u"cannot convert to time format");
        break;
    case nfAngle: {
        const TAngleMarks Marks{FSymbols->Degree(), FSymbols->Minute(), FSymbols->Second(),
                                FSymbols->Period()};
        const auto Angle = RadiansToAngleStr(X, FPrec, Marks);
        Text = Angle ? *Angle : Fallback(u"cannot convert to angle format");
        break;
    }
    }
    const char16_t Minus = FSymbols->Minus()[0];
    for (char16_t& C : Text)
        if (C == u'-') C = Minus;
    return Text;
}

std::string TProgramParser::Located(const std::string& Msg, std::int32_t Pos,
                                    const std::string& Detail) const {
    TRowCol At = PosToRowCol(FTokenizer->Expression(), Pos);
    std::string Text = Msg + " (row " + std::to_string(At.Row) + ", col " + std::to_string(At.Col) + ")";
    if (!Detail.empty()) Text += ": " + Detail;
    return Text;
}
