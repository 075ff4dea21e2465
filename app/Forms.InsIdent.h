// The pickers that insert a name into the input box: a window of name buttons,
// one per variable or per function of an identifier list, three to a row.
// Clicking a button closes the picker with that name; Esc closes it with none.
// The picker only chooses; what text goes into the input box around the name
// is decided by the main window with InsertionFor below.
#pragma once
#include <QDialog>
#include <QPushButton>
#include <QString>

class QScrollArea;
class TFlowLayout;
class TIdent;
class TIdentList;

enum TIdentKind : int { ikVariable, ikFunction };

// A push button that stands for one identifier: its caption is a space and the
// identifier's description, drawn left-aligned; its hint is the comment.
class TIdentButton : public QPushButton {
    Q_OBJECT
  public:
    explicit TIdentButton(QWidget* Parent = nullptr) : QPushButton(Parent) {}
    void Init(const TIdent& Ident);
    const QString& IdentName() const { return FIdentName; }

  protected:
    void paintEvent(QPaintEvent* Event) override;

  private:
    QString FIdentName;
};

class TInsIdentForm : public QDialog {
    Q_OBJECT
  public:
    explicit TInsIdentForm(QWidget* Owner, const QString& Caption = {});

    // Sorts List (for good) and offers its identifiers of Kind; sizes the
    // window for three buttons a row and as many rows as they need. Nothing
    // happens for an empty list.
    void Init(TIdentList& List, TIdentKind Kind);
    // The name chosen; empty until a button is clicked.
    const QString& IdentName() const { return FIdentName; }

  private:
    void ButtonClick(const TIdentButton& Button);

    QString FIdentName;
    QScrollArea* FScroll = nullptr;
    QWidget* FlowPanel1 = nullptr;
    TFlowLayout* FFlow = nullptr;
};

// What a picked function puts into the input box: with a selection, the name
// and the selection in brackets (square ones when the selection already holds
// a round one); with none, the name alone before an opening bracket, else the
// name and an empty pair. CaretBack is how far the caret goes back from the
// end of Text: 1 to stand between an empty pair.
struct TIdentInsertion {
    QString Text;
    int CaretBack = 0;
};
struct TBrackets {
    QChar Left1 = u'(', Right1 = u')', Left2 = u'[', Right2 = u']';
};
// Next is the character after the caret, or a null QChar at the end of the text.
TIdentInsertion FunctionInsertion(const QString& Name, const QString& Selected, QChar Next,
                                  const TBrackets& Brackets);
