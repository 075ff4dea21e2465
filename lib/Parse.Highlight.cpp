#include "Parse.Highlight.h"

#include "Parse.Infix.h"
#include "Scalar.Ident.h"

#include <algorithm>

namespace {
// The class of each token kind that is not a name, a comment or an error. ORDER TOKENKIND
constexpr TSyntaxClass KindClasses[] = {
    syNumber,   syNumber,   syBracket,  syBracket,  syBracket,  syBracket,  syOperator,
    syOperator, syOperator, syOperator, syOperator, syOperator, syOperator, syVariable,
    syOperator, syError,    syOperator, syComment,  syOperator,
};
static_assert(std::size(KindClasses) == tkSeparator + 1);

constexpr TTokenKinds Brackets{tkLeftBra1, tkRightBra1, tkLeftBra2, tkRightBra2};
constexpr TTokenKinds LeftBrackets{tkLeftBra1, tkLeftBra2};

bool IsBlank(char16_t C) {
    return C == u' ' || C == u'\t';
}

// The names one statement defines for its own use: the assigned name, and a
// function definition's parameters. Tokens[First..] is the statement.
struct TDefined {
    std::int32_t Target = -1; // the token index of the assigned name
    bool Function = false;
    std::vector<std::u16string_view> Params;

    bool IsLocal(std::u16string_view Name) const {
        return std::find(Params.begin(), Params.end(), Name) != Params.end();
    }
};

// name ":=" ... | name "(" name {"," name} ")" ":=" ...
TDefined FindDefinition(const TTokens& Tokens, std::int32_t First) {
    const auto KindAt = [&](std::int32_t I) { return I < Tokens.Count() ? Tokens[I].Kind : tkError; };
    TDefined D;
    if (KindAt(First) != tkIdent) return D;
    if (KindAt(First + 1) == tkAssign) {
        D.Target = First;
        return D;
    }
    if (KindAt(First + 1) != tkLeftBra1) return D;
    std::vector<std::u16string_view> Params;
    std::int32_t I = First + 2;
    while (KindAt(I) == tkIdent) {
        Params.push_back(Tokens[I].Text.View());
        if (KindAt(I + 1) != tkComma) break;
        I += 2;
    }
    if (Params.empty() || KindAt(I + 1) != tkRightBra1 || KindAt(I + 2) != tkAssign) return D;
    D.Target = First;
    D.Function = true;
    D.Params = std::move(Params);
    return D;
}
} // namespace

TNameClasses::TNameClasses(const TIdentList& Idents) {
    for (const auto& Item : Idents) {
        TSyntaxClass Class = syVariable;
        if (Item->IdentKind() == TIdent::ikFunction)
            Class = dynamic_cast<const TParsedFunction*>(Item.get()) ? syUserFunction : syBuiltin;
        FClasses.emplace(Item->Name(), Class); // the first of a name is the one found
    }
}

TSyntaxClass TNameClasses::Of(std::u16string_view Name) const {
    const auto It = FClasses.find(Name);
    return It == FClasses.end() ? syUndefined : It->second;
}

void THighlighter::Tokenize(std::u16string_view Line) {
    FTokenizer.SetExpression(std::u16string(Line));
}

// The tokenizer puts a multiplication before a bracket or a name that follows
// a number or a bracket without one; it stands on the next token's character.
bool THighlighter::IsImplicitMult(const TToken& Token, std::u16string_view Line) const {
    return Token.Kind == tkMult && !FTokenizer.Symbols()->Mult().Contains(Line[Token.Pos - 1]);
}

std::int32_t THighlighter::TokenLength(const TToken& Token, std::u16string_view Line) const {
    const auto Size = static_cast<std::int32_t>(Token.Text.size());
    const auto Rest = static_cast<std::int32_t>(Line.size()) - (Token.Pos - 1);
    switch (Token.Kind) {
    case tkNumber:
    case tkIdent: return Size;
    case tkImag: return Size + 1;
    case tkAssign: return static_cast<std::int32_t>(FTokenizer.Symbols()->Assign.size());
    case tkComment: { // to the end of the line, or to a CR LF, where the tokenizer ends it too
        const std::size_t Break = Line.find(u"\r\n", static_cast<std::size_t>(Token.Pos - 1));
        return Break == Line.npos ? Rest : static_cast<std::int32_t>(Break) - (Token.Pos - 1);
    }
    case tkError: {
        std::int32_t End = Token.Pos - 1;
        while (End < static_cast<std::int32_t>(Line.size()) && (End == Token.Pos - 1 || !IsBlank(Line[End])))
            ++End;
        return End - (Token.Pos - 1);
    }
    default: return 1;
    }
}

std::vector<TSyntaxSpan> THighlighter::Spans(std::u16string_view Line, const TNameClasses& Names) {
    Tokenize(Line);
    std::vector<TSyntaxSpan> Result;
    Result.reserve(static_cast<std::size_t>(FTokenizer.Count()));
    TDefined Defined = FindDefinition(FTokenizer, 0);
    for (std::int32_t I = 0; I < FTokenizer.Count(); ++I) {
        const TToken& T = FTokenizer[I];
        if (IsImplicitMult(T, Line) || T.Pos < 1 || T.Pos > static_cast<std::int32_t>(Line.size())) continue;
        TSyntaxClass Class = KindClasses[T.Kind];
        if (T.Kind == tkIdent) {
            if (I == Defined.Target)
                Class = Defined.Function ? syUserFunction : syVariable;
            else if (Defined.IsLocal(T.Text.View()))
                Class = syVariable;
            else
                Class = Names.Of(T.Text.View());
        }
        Result.push_back({T.Pos - 1, TokenLength(T, Line), Class});
        if (T.Kind == tkSeparator) Defined = FindDefinition(FTokenizer, I + 1);
    }
    return Result;
}

std::optional<TBracketPair> THighlighter::MatchBracket(std::u16string_view Line, std::int32_t Caret) {
    Tokenize(Line);
    std::vector<const TToken*> Found; // the line's brackets, in order
    for (std::int32_t I = 0; I < FTokenizer.Count(); ++I)
        if (Brackets.Contains(FTokenizer[I].Kind)) Found.push_back(&FTokenizer[I]);
    const auto At = [&](std::int32_t P) {
        return std::find_if(Found.begin(), Found.end(), [&](const TToken* T) { return T->Pos - 1 == P; });
    };
    auto It = At(Caret);
    if (It == Found.end()) It = At(Caret - 1);
    if (It == Found.end()) return std::nullopt;
    const TToken& Here = **It;
    const bool Left = LeftBrackets.Contains(Here.Kind);
    // The partner is where the depth comes back to zero; a bracket of the other
    // shape there closes nothing.
    const TTokenKind Partner = static_cast<TTokenKind>(Left ? Here.Kind + 1 : Here.Kind - 1); // ORDER TOKENKIND
    std::int32_t Depth = 0;
    std::int32_t Other = -1;
    const auto Step = [&](const TToken* T) {
        Depth += LeftBrackets.Contains(T->Kind) == Left ? 1 : -1;
        if (Depth != 0) return false;
        if (T->Kind == Partner) Other = T->Pos - 1;
        return true;
    };
    if (Left)
        std::find_if(It, Found.end(), Step);
    else
        std::find_if(std::make_reverse_iterator(It + 1), Found.rend(), Step);
    const std::int32_t Pos = Here.Pos - 1;
    return Left ? TBracketPair{Pos, Other} : TBracketPair{Other, Pos};
}
