#include "Hints.h"

#include <functional>

namespace {
// What every rule looks at: the run, its tokens, and the token where the error
// was raised (-1 when none is).
struct TSlip {
    const TRunReport& Run;
    const TIdentList& Idents;
    const TTokens& Tokens;
    std::int32_t At;

    const TToken& Token(std::int32_t I) const { return Tokens[I]; }
    bool Is(std::int32_t I, TTokenKinds Kinds) const {
        return I >= 0 && I < Tokens.Count() && Kinds.Contains(Tokens[I].Kind);
    }
    // Whether token I belongs to a statement that ran to its end.
    bool Ran(std::int32_t I) const { return !Run.Failed || Token(I).Pos - 1 < Run.Span.Offset; }
    QString Text(std::int32_t I) const {
        return QString::fromStdU16String(std::u16string(Token(I).Text.View()));
    }
    // The character token I starts with; none for the error of a text refused unread.
    QString Char(std::int32_t I) const {
        const auto Offset = static_cast<std::size_t>(Token(I).Pos - 1);
        return Offset < Run.Program.size() ? QString(QChar(Run.Program[Offset])) : QString();
    }
};

// The last token at text offset Offset, so that of an implicit multiplication
// and the name after it, the name is taken; -1 when no token starts there.
std::int32_t TokenAt(const TTokens& Tokens, std::int32_t Offset) {
    std::int32_t Found = -1;
    for (std::int32_t I = 0; I < Tokens.Count() && Tokens[I].Pos <= Offset + 1; ++I)
        if (Tokens[I].Pos == Offset + 1) Found = I;
    return Found;
}

constexpr TTokenKinds Operators{tkPlus, tkMinus, tkMult, tkDiv, tkPower};
constexpr TTokenKinds Operands{tkNumber, tkImag, tkIdent};
constexpr TTokenKinds Closers{tkNumber, tkImag, tkIdent, tkRightBra1, tkRightBra2, tkFact};

// 2^-1 and 2*-3: a sign starts only an expression, not an operand.
QString SignAfterOperator(const TSlip& S) {
    if (!S.Is(S.At, {tkPlus, tkMinus}) || !S.Is(S.At - 1, Operators)) return {};
    const QString Left = S.Is(S.At - 2, Operands) ? S.Text(S.At - 2) : QString();
    const QString Right = S.Is(S.At + 1, Operands) ? S.Text(S.At + 1) : QStringLiteral("\u2026");
    return QStringLiteral("put a negative operand in brackets: %1%2(%3%4)")
        .arg(Left, S.Char(S.At - 1), S.Char(S.At), Right);
}

// x = 3: the tokenizer stops at "=", which is no symbol of the language, and
// the run fails there or, with x unknown, just before.
QString EqualsForAssign(const TSlip& S) {
    const std::int32_t Last = S.Tokens.Count() - 1;
    if (!S.Run.Failed || !S.Is(Last, {tkError}) || S.Char(Last) != QStringLiteral("=")) return {};
    if (!S.Is(Last - 1, {tkIdent})) return QStringLiteral("an assignment is written :=");
    return QStringLiteral("an assignment is written :=, as in %1 := \u2026").arg(S.Text(Last - 1));
}

// Pi for pi: names are case-sensitive.
QString NameInOtherCase(const TSlip& S) {
    if (!S.Run.Failed || !S.Is(S.At, {tkIdent})) return {};
    const QString Name = S.Text(S.At);
    if (S.Idents.Find(S.Token(S.At).Text.View())) return {};
    const QString Folded = Name.toCaseFolded();
    for (const auto& Ident : S.Idents) {
        const QString Known = QString::fromStdU16String(Ident->Name());
        if (Known.toCaseFolded() == Folded) return QStringLiteral("did you mean '%1'?").arg(Known);
    }
    return {};
}

// e := 3 replaces Euler's number for the rest of the session.
QString BuiltinReplaced(const TSlip& S) {
    static TIdentList Builtins;
    if (Builtins.Count() == 0) RegisterBuiltins(Builtins);
    for (std::int32_t I = 0; I + 1 < S.Tokens.Count(); ++I) {
        if (S.Token(I).Kind != tkIdent || S.Token(I + 1).Kind != tkAssign || !S.Ran(I)) continue;
        const std::u16string_view Name = S.Token(I).Text.View();
        const TIdent* Builtin = Builtins.Find(Name);
        const TVariable* Now = S.Idents.Find<TVariable>(Name);
        if (!Builtin || !Now) continue;
        const auto* Constant =
            Builtin->IdentKind() == TIdent::ikVariable ? static_cast<const TVariable*>(Builtin) : nullptr;
        if (Constant && Constant->Value() == Now->Value()) continue; // assigned back
        const QString What = Builtin->IdentKind() == TIdent::ikFunction ? QStringLiteral("function")
                                                                        : QStringLiteral("constant");
        return QStringLiteral("'%1' now holds %2, not the built-in %3 (%4); restart to get it back")
            .arg(S.Text(I), QString::fromStdU16String(CompToStr(Now->Value(), u'.', 5)), What,
                 QString::fromStdU16String(Builtin->Comment()));
    }
    return {};
}

// a + 5%: the percent sign makes the literal a hundredth, nothing more.
QString PercentAdded(const TSlip& S) {
    for (std::int32_t I = 1; I < S.Tokens.Count(); ++I) {
        // The kinds first: they are cheap, and a long run has many tokens.
        if (S.Token(I).Kind != tkNumber || !S.Is(I - 1, {tkPlus, tkMinus}) || !S.Is(I - 2, Closers)) continue;
        const std::u16string_view Literal = S.Token(I).Text.View();
        if (Literal.empty() || Literal.back() != u'%' || !S.Ran(I)) continue;
        const QString Number =
            QString::fromStdU16String(std::u16string(Literal.substr(0, Literal.size() - 1)));
        return QStringLiteral("%1% is just %1/100 here; for %1 percent more or less, multiply by (1 %2 %1%)")
            .arg(Number, S.Char(I - 1));
    }
    return {};
}

// ORDER: the hints about the error first, then those about surprising results.
const std::function<QString(const TSlip&)> Rules[] = {
    SignAfterOperator, EqualsForAssign, NameInOtherCase, BuiltinReplaced, PercentAdded,
};
} // namespace

QString RunHint(const TRunReport& Run, const TIdentList& Idents) {
    const std::int32_t At = Run.Failed && Run.Span.Offset >= 0 ? TokenAt(Run.Tokens, Run.Span.Offset) : -1;
    const TSlip Slip{Run, Idents, Run.Tokens, At};
    for (const auto& Rule : Rules)
        if (QString Hint = Rule(Slip); !Hint.isEmpty()) return Hint;
    return {};
}
