#include "CompletionPopup.h"

#include "Parse.Tokenize.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>

#include <algorithm>

namespace {
constexpr int MaxRows = 8;
constexpr int MinWidth = 240;
constexpr int MeasuredRows = 50; // rows measured for the width; more would cost time with long lists

// The word before the caret: its start in the cursor's line and that line.
struct TWord {
    QString Line;
    qsizetype Start = 0;
    qsizetype Caret = 0;
    QStringView Text() const { return QStringView(Line).mid(Start, Caret - Start); }
};

TWord WordAt(const QTextCursor& Cursor, const TSymbols& Symbols) {
    TWord W{Cursor.block().text(), 0, Cursor.positionInBlock()};
    W.Start = NameStart(Symbols, W.Line, W.Caret);
    return W;
}
} // namespace

// The matches as rows, each showing the entry's description.
class TMatchModel : public QAbstractListModel {
  public:
    TMatchModel(const TNameIndex& Names, QObject* Parent) : QAbstractListModel(Parent), FNames(Names) {}

    void Set(std::vector<int> Rows) {
        beginResetModel();
        FRows = std::move(Rows);
        endResetModel();
    }
    const TNameEntry& EntryAt(int Row) const { return FNames.Entry(FRows[static_cast<std::size_t>(Row)]); }

    int rowCount(const QModelIndex& Parent) const override {
        return Parent.isValid() ? 0 : static_cast<int>(FRows.size());
    }
    QVariant data(const QModelIndex& Index, int Role) const override {
        if (Role != Qt::DisplayRole || !Index.isValid()) return {};
        return EntryAt(Index.row()).Description;
    }

  private:
    const TNameIndex& FNames;
    std::vector<int> FRows;
};

TCompletionPopup::TCompletionPopup(QPlainTextEdit& Input, const TSymbols& Symbols, QWidget& Host)
    : QListView(&Host), FBox(Input), FSymbols(Symbols) {
    setObjectName(QStringLiteral("CompletionPopup"));
    setFocusPolicy(Qt::NoFocus); // the box keeps the focus and the keys
    setUniformItemSizes(true);   // so a list of thousands lays out at once
    setEditTriggers(NoEditTriggers);
    setSelectionMode(SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextElideMode(Qt::ElideRight);
    FModel = new TMatchModel(FNames, this);
    setModel(FModel);
    hide();
    connect(&FBox, &QPlainTextEdit::cursorPositionChanged, this, &TCompletionPopup::CaretMoved);
    connect(this, &QListView::clicked, this, &TCompletionPopup::Accept);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* Now) {
        if (Now != &FBox) hide();
    });
}

TCompletionPopup::~TCompletionPopup() = default;

void TCompletionPopup::Take(const TIdentList& List) {
    hide();
    FModel->Set({}); // its rows index the old copy
    FNames.Take(List);
}

bool TCompletionPopup::ClaimsKey(QKeyEvent& Key, bool AutoOpen) {
    const bool Press = Key.type() == QEvent::KeyPress;
    const Qt::KeyboardModifiers Mods = Key.modifiers() & ~Qt::KeypadModifier;
    if (isVisible() && Mods == Qt::NoModifier) {
        switch (Key.key()) {
        case Qt::Key_Tab:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (Press) Accept();
            break;
        case Qt::Key_Escape:
            if (Press) hide();
            break;
        case Qt::Key_Up:
        case Qt::Key_Down:
            if (Press) MoveBy(Key.key() == Qt::Key_Up ? -1 : 1);
            break;
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            if (Press) MoveBy(Key.key() == Qt::Key_PageUp ? -MaxRows : MaxRows);
            break;
        default: return false;
        }
        Key.accept(); // a ShortcutOverride accepted keeps the key from the actions
        return true;
    }
    if (!Press) return false;
    if (Key.key() == Qt::Key_Space && Mods == Qt::ControlModifier) {
        Open();
        return true;
    }
    FTyped = AutoOpen && Key.text().size() == 1 && !(Mods & Qt::ControlModifier) &&
             FSymbols.IsNameChar(Key.text().front().unicode());
    return false;
}

void TCompletionPopup::Open() {
    Refresh(true);
}

// Typing moves the caret, so this sees every typed character, and every step
// away from the word.
void TCompletionPopup::CaretMoved() {
    const bool Typed = std::exchange(FTyped, false);
    if (isVisible() || Typed) Refresh(false);
}

void TCompletionPopup::Refresh(bool Forced) {
    const QTextCursor Cursor = FBox.textCursor();
    const TWord Word = WordAt(Cursor, FSymbols);
    const QStringView Text = Word.Text();
    const bool TooShort = Text.isEmpty() || (!isVisible() && Text.size() < 2);
    std::vector<int> Rows;
    if (!Cursor.hasSelection() && (Forced || !TooShort)) Rows = FNames.Matches(Text);
    // A name typed in full has nothing left to complete; Enter then evaluates.
    const bool Complete = Rows.size() == 1 && FNames.Entry(Rows.front()).Name == Text;
    if (Rows.empty() || (!Forced && Complete)) {
        hide();
        return;
    }
    FModel->Set(std::move(Rows));
    setCurrentIndex(FModel->index(0, 0));
    Place();
    show();
    raise();
}

void TCompletionPopup::Accept() {
    const QModelIndex Current = currentIndex();
    hide();
    if (!Current.isValid()) return;
    const TNameEntry& Entry = FModel->EntryAt(Current.row());
    QTextCursor Cursor = FBox.textCursor();
    const TWord Word = WordAt(Cursor, FSymbols);
    const QChar Next = Word.Caret < Word.Line.size() ? Word.Line[Word.Caret] : QChar();
    const QChar Bracket(FSymbols.LeftBra1());
    Cursor.beginEditBlock(); // one change, so one step of the history
    Cursor.setPosition(Cursor.position() - static_cast<int>(Word.Caret - Word.Start),
                       QTextCursor::KeepAnchor);
    Cursor.insertText(CompletionText(Entry, Bracket, Next));
    Cursor.endEditBlock();
    if (Entry.Kind == nkFunction && Next == Bracket) Cursor.movePosition(QTextCursor::Right);
    FBox.setTextCursor(Cursor);
    FBox.ensureCursorVisible();
}

void TCompletionPopup::MoveBy(int Rows) {
    const int Last = FModel->rowCount({}) - 1;
    setCurrentIndex(FModel->index(std::clamp(currentIndex().row() + Rows, 0, Last), 0));
}

// Below the caret's line when it fits in the host, else above it.
void TCompletionPopup::Place() {
    setFont(FBox.font());
    const QWidget& Host = *parentWidget();
    const int Count = FModel->rowCount({});
    const int Frame = 2 * frameWidth();
    int Width = 0;
    for (int Row = 0; Row < std::min(Count, MeasuredRows); ++Row)
        Width = std::max(Width, fontMetrics().horizontalAdvance(FModel->EntryAt(Row).Description));
    Width += Frame + 8 + (Count > MaxRows ? verticalScrollBar()->sizeHint().width() : 0);
    Width = std::min(std::max(Width, MinWidth), Host.width());
    const int Height = std::min(Count, MaxRows) * std::max(1, sizeHintForRow(0)) + Frame;
    const QRect Caret = FBox.cursorRect();
    const QPoint Below = FBox.viewport()->mapTo(&Host, Caret.bottomLeft());
    const QPoint Above = FBox.viewport()->mapTo(&Host, Caret.topLeft());
    const int Y = Below.y() + Height <= Host.height() ? Below.y() : std::max(0, Above.y() - Height);
    const int X = std::clamp(Below.x(), 0, std::max(0, Host.width() - Width));
    setGeometry(X, Y, Width, Height);
}
