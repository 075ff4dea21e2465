#include "EditAids.h"

#include "Normalize.h"
#include "Parse.Tokenize.h"

#include <QStringList>

std::optional<TTypedEdit> TCharHandler::Edit(const TEditOptions& Options, QChar K, QStringView Selection,
                                             QStringView Before) const {
    const TSymbols& S = FSymbols;
    const char16_t C = K.unicode();
    if (Options.AssignOnColon && Selection.isEmpty())
        if (auto Completed = CompleteAssign(K, Before)) return Completed;
    if (Options.AssignOnColon && (C == S.Colon() || C == u'=')) {
        // Both ways of typing end in "x := ", whether or not a blank came first.
        const bool AfterBlank = Before.endsWith(u' ');
        return TTypedEdit{AfterBlank ? QStringLiteral(":= ") : QStringLiteral(" := "), 0};
    }
    if (Options.EncloseOnBracket && (C == S.LeftBra1() || C == S.LeftBra2())) {
        if (Selection.isEmpty()) return TTypedEdit{QString(K) + QChar(S.MatchBracket(C)), 1};
        return TTypedEdit{K + Selection.toString() + QChar(S.MatchBracket(C)), 0};
    }
    if (Options.EncloseOnBracket && (C == S.RightBra1() || C == S.RightBra2())) {
        // A closing bracket leaves the caret before the enclosed text.
        QString Text = QChar(S.MatchBracket(C)) + Selection.toString() + K;
        const int Back = Selection.isEmpty() ? 1 : static_cast<int>(Text.size());
        return TTypedEdit{std::move(Text), Back};
    }
    if (!S.IsOperator(C)) return std::nullopt;
    QString Text;
    if (Options.EncloseOnOperator && !Selection.isEmpty()) {
        // Round brackets, or square ones around a selection that holds round ones.
        const bool Round = !Selection.contains(QChar(S.LeftBra1()));
        Text = QChar(Round ? S.LeftBra1() : S.LeftBra2()) + Selection.toString() +
               QChar(Round ? S.RightBra1() : S.RightBra2());
    }
    const QChar Typed = Canonical(K);
    if (Text.isEmpty() && Typed == K) return std::nullopt;
    return TTypedEdit{Text + Typed, 0};
}

// Typing the assignment as it is written, "x := 2", ends as typing "x:2" does:
// the "=" and the blank after the aid's ":= " are already there, and an "="
// after a colon typed without the aid completes it.
std::optional<TTypedEdit> TCharHandler::CompleteAssign(QChar K, QStringView Before) const {
    const QString Inserted = QChar(FSymbols.Colon()) + QStringLiteral("= ");
    if ((K == u'=' || K == u' ') && Before.endsWith(Inserted)) return TTypedEdit{};
    if (K == u'=' && Before.endsWith(QChar(FSymbols.Colon()))) return TTypedEdit{QStringLiteral("= "), 0};
    return std::nullopt;
}

// The first member of the multiplication and minus sets is what the output
// shows; the plain ASCII forms typed on a keyboard are replaced by it.
QChar TCharHandler::Canonical(QChar K) const {
    if (K == u'*') return QChar(FSymbols.Mult()[0]);
    if (K == u'-') return QChar(FSymbols.Minus()[0]);
    return K;
}

QString ReplacedNote(const TNormalizeReport& Report) {
    if (Report.Replaced == 0) return {};
    QStringList Shown;
    for (const char16_t C : Report.Distinct) {
        const QChar Q(C);
        Shown += Q.isSpace() ? QStringLiteral("U+%1").arg(int(C), 4, 16, QChar(u'0')).toUpper() : QString(Q);
    }
    const QString Noun = Report.Replaced == 1 ? QStringLiteral("character") : QStringLiteral("characters");
    return QStringLiteral("Pasted text: %1 %2 replaced (%3)")
        .arg(Report.Replaced)
        .arg(Noun, Shown.join(u' '));
}
