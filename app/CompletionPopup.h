// The list of name completions under the caret of the input box. It is a child
// of the main window, never a window of its own, so the box keeps the focus and
// its keys: the window's key filter offers each key to ClaimsKey first, and
// while the list shows, Tab and Enter accept the highlighted name, Up and Down
// move in the list and Esc closes it. It opens on Ctrl+Space, or after the
// second letter of a typed name, and follows the typing until a character that
// is no part of a name, or a word without matches, closes it. Which names there
// are, and which match, is TNameIndex's; the window tells it when to take them.
#pragma once
#include "Completion.h"

#include <QListView>

class QKeyEvent;
class QPlainTextEdit;
class TIdentList;
class TMatchModel;
class TSymbols;

class TCompletionPopup : public QListView {
    Q_OBJECT
  public:
    // Input (the box) and Symbols are borrowed and outlive the popup; Host is the parent
    // the list is drawn over, an ancestor of Input.
    TCompletionPopup(QPlainTextEdit& Input, const TSymbols& Symbols, QWidget& Host);
    ~TCompletionPopup() override;

    // The names the list offers from now on: a copy of List as it is.
    void Take(const TIdentList& List);
    const TNameIndex& Names() const { return FNames; }

    // For a key event (ShortcutOverride or KeyPress) to the box: true when the
    // popup took it, and then nothing else may see it. AutoOpen: a typed name
    // character may open the list.
    bool ClaimsKey(QKeyEvent& Key, bool AutoOpen);
    // Opens the list for the word before the caret, even a short or empty one.
    void Open();

  private:
    void CaretMoved();
    void Refresh(bool Forced);
    void Accept();
    void MoveBy(int Rows);
    void Place();

    QPlainTextEdit& FBox;
    const TSymbols& FSymbols;
    TNameIndex FNames;
    TMatchModel* FModel = nullptr; // a child
    bool FTyped = false;           // the last key typed a name character
};
