// Linked results: the caret in a statement of the input marks the output line
// it wrote, the caret in an output line marks its statement, and a double click
// on an output line selects the statement. The links are the last run's and
// go with the next edit of the input.
#include "Main.h"

#include "Links.h"
#include "Memo.h"
#include "Parse.Infix.h"

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
    const QColor Text = Memo1->FontColor(), Back = Memo1->BackColor();
    const auto Mix = [](float B, float T) { return B + (T - B) * 0.14f; };
    return QColor::fromRgbF(Mix(Back.redF(), Text.redF()), Mix(Back.greenF(), Text.greenF()),
                            Mix(Back.blueF(), Text.blueF()));
}

// The box with the focus leads: its caret marks the other box, and scrolls it
// to the mark, except while a run puts up its outcome (the output then shows
// the run's first line).
void TMainForm::ShowLinks() {
    QList<QTextEdit::ExtraSelection> InInput, InOutput;
    if (Memo2->hasFocus()) {
        if (const TLink* L = LinkOfLine(FLinks, Memo2->textCursor().blockNumber())) {
            QTextCursor Statement(Memo1->document());
            const int Last = Memo1->document()->characterCount() - 1;
            Statement.setPosition(std::min(L->Start, Last));
            Statement.setPosition(std::min(L->End, Last), QTextCursor::KeepAnchor);
            InInput.append(Marked(Statement, LinkColor()));
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
    QTextCursor Statement(Memo1->document());
    const int Last = Memo1->document()->characterCount() - 1;
    Statement.setPosition(std::min(L->Start, Last));
    Statement.setPosition(std::min(L->End, Last), QTextCursor::KeepAnchor);
    Memo1->setTextCursor(Statement);
    Memo1->setFocus();
    Memo1->ensureCursorVisible();
    return true;
}
