// Linked results: the caret in a statement of the input marks the output line
// it wrote, the caret in an output line marks its statement, and a double click
// on an output line selects the statement. The links are the last run's and
// go with the next edit of the input.
#include "Main.h"

#include "Links.h"
#include "Memo.h"
#include "Parse.Infix.h"
#include "SyntaxColors.h"

#include <QScrollBar>
#include <QTextBlock>

#include <algorithm>

namespace {
// Scrolls Box so that Line shows, and leaves its caret where it is.
void ScrollToLine(QPlainTextEdit& Box, int Line) {
    QScrollBar* Bar = Box.verticalScrollBar();
    const int Visible = std::max(1, Box.viewport()->height() / std::max(1, Box.fontMetrics().lineSpacing()));
    if (Line < Bar->value() || Line >= Bar->value() + Visible) Bar->setValue(std::max(0, Line - Visible / 2));
}

// The statement of L in Box, selected.
QTextCursor Statement(QPlainTextEdit& Box, const TLink& L) {
    QTextCursor Cursor(Box.document());
    const int Last = Box.document()->characterCount() - 1;
    Cursor.setPosition(std::min(L.Start, Last));
    Cursor.setPosition(std::min(L.End, Last), QTextCursor::KeepAnchor);
    return Cursor;
}

QTextEdit::ExtraSelection Marked(const QTextCursor& Cursor, const QColor& Back) {
    QTextEdit::ExtraSelection Mark;
    Mark.cursor = Cursor;
    Mark.format.setBackground(Back);
    return Mark;
}
} // namespace

void TMainForm::LinkRun(int From) {
    FLinks = LinksInBox(FParser->Tokenizer().Expression(), FParser->StatementRanges(), From);
    ShowLinks();
}

void TMainForm::DropLinks() {
    if (FLinks.empty()) return;
    FLinks.clear();
    ShowLinks();
}

QColor TMainForm::LinkColor() const {
    return Blend(Memo1->BackColor(), Memo1->FontColor(), 0.14);
}

// The box with the focus leads: its caret marks the other box, and scrolls it
// to the mark, except while a run puts up its outcome (the output then shows
// the run's first line).
void TMainForm::ShowLinks() {
    QList<QTextEdit::ExtraSelection> InInput, InOutput;
    if (Memo2->hasFocus()) {
        if (const TLink* L = LinkOfLine(FLinks, Memo2->textCursor().blockNumber())) {
            InInput.append(Marked(Statement(*Memo1, *L), LinkColor()));
            ScrollToLine(*Memo1, Memo1->document()->findBlock(L->Start).blockNumber());
        }
    } else {
        for (const TLink& L : LinksAtCaret(FLinks, Memo1->textCursor().position())) {
            const QTextBlock Line = Memo2->document()->findBlockByNumber(L.Line);
            if (!Line.isValid()) continue;
            QTextEdit::ExtraSelection Mark = Marked(QTextCursor(Line), LinkColor());
            Mark.format.setProperty(QTextFormat::FullWidthSelection, true);
            InOutput.append(Mark);
            if (InOutput.size() == 1 && !FRunShowing) ScrollToLine(*Memo2, L.Line);
        }
    }
    SetSelectionLayer(*Memo1, slLinked, InInput);
    SetSelectionLayer(*Memo2, slLinked, InOutput);
}

bool TMainForm::OutputDoubleClicked(const QPoint& At) {
    const TLink* L = LinkOfLine(FLinks, Memo2->cursorForPosition(At).blockNumber());
    if (!L) return false;
    Memo1->setTextCursor(Statement(*Memo1, *L));
    Memo1->setFocus();
    Memo1->ensureCursorVisible();
    return true;
}
