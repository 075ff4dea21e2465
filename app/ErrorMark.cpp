#include "ErrorMark.h"

#include "Memo.h"

#include <QHelpEvent>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QToolTip>

#include <algorithm>

namespace {
// The box position of program offset Offset: each CR LF before it is one
// line break in the box.
int BoxOffset(std::u16string_view Program, std::int32_t Offset) {
    int Pairs = 0;
    for (std::int32_t I = 1; I < Offset; ++I)
        if (Program[I - 1] == u'\r' && Program[I] == u'\n') ++Pairs;
    return Offset - Pairs;
}

bool AfterLineBreak(std::u16string_view Program, std::int32_t Offset) {
    return Offset >= 2 && Program[Offset - 2] == u'\r' && Program[Offset - 1] == u'\n';
}
} // namespace

TErrorMark MarkInBox(std::u16string_view Program, TErrorSpan Span, int From) {
    const auto Size = static_cast<std::int32_t>(Program.size());
    if (Span.Offset < 0 || Span.Offset > Size) return {};
    const std::int32_t End = std::min(Span.Offset + Span.Length, Size);
    TErrorMark Mark;
    Mark.Caret = From + BoxOffset(Program, Span.Offset);
    Mark.Start = Mark.Caret;
    Mark.Length = BoxOffset(Program, End) - BoxOffset(Program, Span.Offset);
    if (Mark.Length == 0 && Span.Offset > 0 && !AfterLineBreak(Program, Span.Offset)) {
        --Mark.Start;
        Mark.Length = 1;
    }
    return Mark;
}

TErrorMarker::TErrorMarker(QPlainTextEdit& Box) : QObject(&Box), FBox(Box) {
    connect(Box.document(), &QTextDocument::contentsChange, this, &TErrorMarker::ContentsChange);
    Box.viewport()->installEventFilter(this);
}

void TErrorMarker::Show(const TErrorMark& Mark, const QString& Message, bool MoveCaret) {
    Clear();
    const int Last = FBox.document()->characterCount() - 1; // the end of the text
    if (Mark.Caret < 0 || Mark.Caret > Last) return;
    FMark = Mark;
    FMessage = Message;
    if (MoveCaret) {
        QTextCursor Caret(FBox.document());
        Caret.setPosition(Mark.Caret);
        FBox.setTextCursor(Caret);
        FBox.ensureCursorVisible();
    }
    QTextEdit::ExtraSelection Underline;
    Underline.cursor = QTextCursor(FBox.document());
    Underline.cursor.setPosition(std::clamp(Mark.Start, 0, Last));
    Underline.cursor.setPosition(std::clamp(Mark.Start + Mark.Length, 0, Last), QTextCursor::KeepAnchor);
    Underline.format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    Underline.format.setUnderlineColor(Qt::red);
    SetSelectionLayer(FBox, slError, {Underline});
}

void TErrorMarker::Clear() {
    if (!Shown()) return;
    FMark = {};
    FMessage.clear();
    SetSelectionLayer(FBox, slError, {});
}

// Only a change of the text ends the mark; a change of format alone does not.
void TErrorMarker::ContentsChange(int, int Removed, int Added) {
    if (Removed != 0 || Added != 0) Clear();
}

// A plain-text box shows no tooltips of its own, so the underline's is shown
// here while the mouse rests on one of its characters.
bool TErrorMarker::eventFilter(QObject* Watched, QEvent* Event) {
    if (Event->type() != QEvent::ToolTip || !Shown()) return QObject::eventFilter(Watched, Event);
    const auto* Help = static_cast<QHelpEvent*>(Event);
    const QTextCursor At = FBox.cursorForPosition(Help->pos());
    // The cursor stands between two characters: the mouse is over the one on
    // its left when it is left of the caret's line.
    int Char = At.position();
    if (Help->pos().x() < FBox.cursorRect(At).left()) --Char;
    if (Char >= FMark.Start && Char < FMark.Start + FMark.Length)
        QToolTip::showText(Help->globalPos(), FMessage, FBox.viewport());
    else
        QToolTip::hideText();
    return true;
}
