// How keys reach the main window's actions and the input box: the dispatch
// before the text boxes claim a key, the editing aids of typed characters, the
// look-alikes in pasted or dropped text, and the on-screen keyboard's events.
#include "Main.h"

#include "ActionList.h"
#include "CompletionPopup.h"
#include "EditAids.h"
#include "Forms.Keyboard.h"
#include "Memo.h"
#include "Normalize.h"
#include "Parse.Infix.h"
#include "ShortCut.h"
#include "StatusBar.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextBlock>

#include <algorithm>

namespace {
// Enter evaluates; Shift+Enter and Ctrl+Enter, unless bound to an action, break the line.
bool IsLineBreakKey(const QKeyEvent& Key) {
    const Qt::KeyboardModifiers Mods = Key.modifiers() & ~Qt::KeypadModifier;
    return (Key.key() == Qt::Key_Return || Key.key() == Qt::Key_Enter) &&
           (Mods == Qt::ShiftModifier || Mods == Qt::ControlModifier);
}

TShortCut EnterShortCut(const QKeyEvent& Key) {
    return KeyToShortCut(QKeyCombination(Key.modifiers() & ~Qt::KeypadModifier, Qt::Key_Return));
}

// The keypad's decimal key types a full stop whatever the layout gives it;
// layouts with a decimal comma report it as the keypad's comma.
bool IsKeypadDecimal(const QKeyEvent& Key) {
    return Key.modifiers().testFlag(Qt::KeypadModifier) &&
           (Key.key() == Qt::Key_Period || Key.key() == Qt::Key_Comma);
}
} // namespace

bool TMainForm::eventFilter(QObject* Watched, QEvent* Event) {
    switch (Event->type()) {
    case QEvent::MouseButtonDblClick:
        if (Watched == Memo2->viewport() &&
            OutputDoubleClicked(static_cast<QMouseEvent*>(Event)->position().toPoint()))
            return true;
        break;
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress: {
        // Text boxes claim Enter, Tab and the editing keys before any shortcut
        // sees them. A key bound to an enabled action is handed back to the
        // action instead, so Enter evaluates and Ctrl+Z uses the history.
        auto* W = qobject_cast<QWidget*>(Watched);
        if (!W || W->window() != this) break;
        auto& Key = static_cast<QKeyEvent&>(*Event);
        // While the completion list shows, Tab, Enter and Esc are its own.
        if (Watched == Memo1 && FCompletion->ClaimsKey(Key, FEditOptions.CompleteNames)) return true;
        if (MenuClaims(Key)) {
            if (Event->type() == QEvent::KeyPress) Action(aiToolsInsertFunction)->trigger();
            Event->accept();
            return true;
        }
        // The keypad's Enter runs the action bound to Enter (with the same
        // modifiers) whatever key sequences that action lists.
        if (QAction* A = Key.key() == Qt::Key_Enter ? ActionList->FindEnabled(EnterShortCut(Key)) : nullptr) {
            if (Event->type() == QEvent::KeyPress) A->trigger();
            Event->accept();
            return true;
        }
        if (Event->type() == QEvent::ShortcutOverride &&
            ActionList->FindEnabled(KeyToShortCut(Key.keyCombination()))) {
            Event->ignore();
            return true;
        }
        if (Event->type() == QEvent::KeyPress && Watched == Memo1 && IsLineBreakKey(Key)) {
            Memo1->insertPlainText(QStringLiteral("\n")); // a typed edit, so the history records it
            return true;
        }
        if (Event->type() == QEvent::KeyPress && Watched == Memo1 && TypeChar(Key)) return true;
        break;
    }
    case QEvent::Show:
    case QEvent::Hide:
        if (FKeyboard && Watched == FKeyboard) Action(aiToolsKeyboard)->setChecked(FKeyboard->isVisible());
        break;
    case QEvent::KeyRelease:
        if (Watched == Memo1) UpdateStatusPosition();
        break;
    case QEvent::MouseButtonRelease:
        if (Watched == Memo1->viewport()) UpdateStatusPosition();
        break;
    case QEvent::Resize:
        if (Watched == FClient) ApplyLayout();
        break;
    default: break;
    }
    return TFormEx::eventFilter(Watched, Event);
}

bool TMainForm::TypeChar(const QKeyEvent& Key) {
    const bool Keypad = IsKeypadDecimal(Key);
    const Qt::KeyboardModifiers Mods = Key.modifiers() & ~Qt::KeypadModifier;
    // Ctrl with a character is a command, not typing (the text box ignores it too).
    if (!Keypad && (Key.text().size() != 1 || Mods == Qt::ControlModifier ||
                    Mods == (Qt::ControlModifier | Qt::ShiftModifier)))
        return false;
    const QChar K = Keypad ? QChar(u'.') : Key.text().front();
    QTextCursor Cursor = Memo1->textCursor();
    const int Start = Cursor.selectionStart();
    QString Before;
    for (int I = std::max(0, Start - 3); I < Start; ++I)
        Before += Memo1->document()->characterAt(I);
    std::optional<TTypedEdit> Edit =
        TCharHandler(FParser->Symbols()).Edit(FEditOptions, K, Cursor.selectedText(), Before);
    if (!Edit && !Keypad) return false;
    if (!Edit) Edit = TTypedEdit{QString(K), 0};
    if (!Edit->Text.isEmpty() || Cursor.hasSelection()) { // a key that only completes adds no step
        Cursor.beginEditBlock();                          // one change, so one step of the history
        Cursor.insertText(Edit->Text);
        Cursor.endEditBlock();
    }
    Cursor.setPosition(Cursor.position() - Edit->CaretBack);
    Memo1->setTextCursor(Cursor);
    Memo1->ensureCursorVisible();
    return true;
}

// Pasted and dropped text: look-alikes replaced, and the replacements named in
// the status bar. Text without them leaves the bar as it is.
QString TMainForm::FilterInserted(const QString& Text) {
    TNormalizeReport Report;
    QString Result = QString::fromStdU16String(NormalizeText(Text.toStdU16String(), &Report));
    if (Report.Replaced > 0) StatusBar->SetPanelText(0, ReplacedNote(Report));
    return Result;
}

void TMainForm::SendKey(int Key, const QString& Text) {
    QKeyEvent Press(QEvent::KeyPress, Key, Qt::NoModifier, Text);
    QCoreApplication::sendEvent(Memo1, &Press);
    QKeyEvent Release(QEvent::KeyRelease, Key, Qt::NoModifier, Text);
    QCoreApplication::sendEvent(Memo1, &Release);
}

// The symbol reaches the input box as a typed character, so the editing aids apply.
void TMainForm::KeyboardInsertSymbol(QChar Symbol) {
    SendKey(Qt::Key_unknown, QString(Symbol));
}

void TMainForm::KeyboardCursorMove(int Delta) {
    QTextCursor Cursor = Memo1->textCursor();
    const int Length = Memo1->document()->characterCount() - 1;
    Cursor.setPosition(std::clamp(Cursor.selectionStart() + Delta, 0, Length));
    Memo1->setTextCursor(Cursor);
    activateWindow();
    Memo1->setFocus();
}

void TMainForm::KeyboardBackspace() {
    SendKey(Qt::Key_Backspace, QStringLiteral("\b"));
}

// Setting the text from the program adds no step to the history.
void TMainForm::KeyboardClear() {
    SetInputText(QString());
}

void TMainForm::KeyboardExecute() {
    Action(aiParserEvaluate)->trigger();
}
