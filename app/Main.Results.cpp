// Reuse of results: the value of an output line copied, or inserted into the input.
#include "Main.h"

#include "Memo.h"
#include "Parse.Infix.h"
#include "Results.h"
#include "StatusBar.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTextBlock>

// From the output box, the line at its caret; from the input box, the last
// value the output holds, which is the one a user most often wants next.
// FIXME: a definition echo whose body starts on a new line takes two lines of
// the box, so the kinds of the lines after it are looked up one line early.
std::optional<QString> TMainForm::ChosenResult() {
    const std::vector<TStatementRange>& Ranges = FParser->StatementRanges();
    std::optional<QString> Value;
    if (FEditMemo == Memo2) {
        const QTextBlock Line = Memo2->textCursor().block();
        Value = ResultValue(Line.text(), LineKind(Ranges, Line.blockNumber()));
        if (!Value) StatusBar->SetPanelText(0, QStringLiteral("The line at the caret holds no value"));
    } else {
        const QTextDocument* Doc = Memo2->document();
        const int Count = Doc->isEmpty() ? 0 : Doc->blockCount();
        Value = LastResultValue(
            Count, [Doc](int I) { return Doc->findBlockByNumber(I).text(); }, Ranges);
        if (!Value) StatusBar->SetPanelText(0, QStringLiteral("The output holds no value"));
    }
    return Value;
}

void TMainForm::EditCopyResult() {
    if (const auto Value = ChosenResult()) {
        QGuiApplication::clipboard()->setText(*Value);
        StatusBar->SetPanelText(0, QStringLiteral("Copied %1").arg(*Value));
    }
}

// One edit of the box, so one step of the history.
void TMainForm::EditInsertResult() {
    const auto Value = ChosenResult();
    if (!Value) return;
    QTextCursor Cursor = Memo1->textCursor();
    Cursor.beginEditBlock();
    Cursor.insertText(*Value);
    Cursor.endEditBlock();
    Memo1->setTextCursor(Cursor);
    Memo1->setFocus();
    Memo1->ensureCursorVisible();
}
