// The hotkeys editor: a modal window in which the user gives any action of the
// main window's action list another shortcut. It works on the actions
// themselves, so an assignment takes effect at once, and it sets the list's
// change mark, so the main window writes every shortcut when it closes. The
// storing itself is the main window's. A key that types a character is refused
// unless Ctrl or Alt is held, and one command gives every action its default back.
#pragma once
#include "ShortCut.h"

#include <QDialog>
#include <QLineEdit>

class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class TActionList;

// The index of the first action whose shortcut is Code, or -1 (also for 0).
int ShortCutOwner(const TActionList& Actions, TShortCut Code);
// Gives Code to the action at Index and takes it from every other action that
// had it, so a key belongs to at most one action. Code 0 removes the shortcut.
void AssignShortCut(TActionList& Actions, int Index, TShortCut Code);
// False for a key that types a character (a letter, digit, punctuation mark or
// space, on the main keys or the keypad, with or without Shift) unless Ctrl or
// Alt is held: bound to an action, it could no longer be typed. Keys that type
// nothing, such as F1, Esc, Enter, Insert or the arrows, are allowed, and so is 0.
bool IsAllowedShortCut(TShortCut Code);

// A field that shows and captures one key with its modifiers. Backspace and
// Delete alone clear it; Esc, Enter and Tab are left to the window, so they are
// set from the program (the popup menu of special keys) instead.
class THotKeyEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit THotKeyEdit(QWidget* Parent = nullptr);
    TShortCut Code() const { return FCode; }
    void SetCode(TShortCut Value); // does not signal Changed

  signals:
    void Changed(); // the user typed a key or cleared the field

  protected:
    bool event(QEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;

  private:
    TShortCut FCode = 0;
};

class THotkeysEditor : public QDialog {
    Q_OBJECT
  public:
    explicit THotkeysEditor(QWidget* Owner);
    // Creates the window for Actions (borrowed), shows it modally, releases it.
    static void ShowDlg(TActionList& Actions, QWidget* Owner);
    void SetActionList(TActionList& Actions);

  private:
    void ListBox1Click();
    void ListBox2Click();
    void HotKey1Change();
    void btnAssignClick();
    void btnCancelClick();
    void btnResetClick();
    void InsertSpecialClick(TShortCut Code);
    int SelectedAction() const; // index into the action list, or -1

    TActionList* FActionList = nullptr; // borrowed
    QListWidget* ListBox1 = nullptr;
    QListWidget* ListBox2 = nullptr;
    QPushButton* btnAssign = nullptr;
    QPushButton* btnCancel = nullptr;
    QPushButton* btnReset = nullptr;
    THotKeyEdit* HotKey1 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QMenu* Popup1 = nullptr;
};
