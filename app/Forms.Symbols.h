// The read-only list of every defined symbol: one line per identifier, in the
// order of the (sorted) list, with its description and comment. It shows the
// list; it changes nothing but the list's order.
#pragma once
#include <QDialog>

class QPlainTextEdit;
class TIdentList;

class TSymbolForm : public QDialog {
    Q_OBJECT
  public:
    explicit TSymbolForm(QWidget* Owner);
    // Sorts List (for good) and shows its lines.
    void Fill(TIdentList& List);
    // Creates the window, fills it, shows it modally and releases it.
    static void ShowDlg(TIdentList& List, QWidget* Owner);

  private:
    QPlainTextEdit* Memo1 = nullptr;
};
