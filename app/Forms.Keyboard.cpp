#include "Forms.Keyboard.h"

#include "Platform.h"
#include "WindowBounds.h"

#include <QEvent>
#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <iterator>

namespace {
constexpr int DesignedClientWidth = 414;
constexpr int DesignedClientHeight = 380;
constexpr QPoint DesignedPosition(890, 208);
constexpr int Columns = 4;
constexpr int Rows = 6;

enum TButtonKind { bkSymbol, bkClear, bkCursorLeft, bkCursorRight, bkBackspace, bkExecute };

// Symbol buttons send the first character of their caption, or Symbol when set.
struct TButtonRow {
    const char* Name;
    const char16_t* Caption;
    const char* Hint;
    TButtonKind Kind;
    char16_t Symbol;
};

// Row by row, left to right: the grid is filled in this order.
const TButtonRow ButtonRows[] = {
    {"btnClear", u"C", "Clear all", bkClear, 0},
    {"btnCursorLeft", u"\u2190", "Move cursor left", bkCursorLeft, 0},
    {"btnCursorRight", u"\u2192", "Move cursor right", bkCursorRight, 0},
    {"btnBackspace", u"\u2039\u2039\u2039", "Delete (backspace)", bkBackspace, 0},
    {"Button7", u"7", "", bkSymbol, 0},
    {"Button8", u"8", "", bkSymbol, 0},
    {"Button9", u"9", "", bkSymbol, 0},
    {"btnAdd", u"+", "", bkSymbol, 0},
    {"Button4", u"4", "", bkSymbol, 0},
    {"Button5", u"5", "", bkSymbol, 0},
    {"Button6", u"6", "", bkSymbol, 0},
    {"btnSubtract", u"\u2212", "", bkSymbol, 0},
    {"Button1", u"1", "", bkSymbol, 0},
    {"Button2", u"2", "", bkSymbol, 0},
    {"Button3", u"3", "", bkSymbol, 0},
    {"btnMultiply", u"\u00D7", "", bkSymbol, u'\u2219'}, // the calculator's own multiplication sign
    {"Button0", u"0", "", bkSymbol, 0},
    {"btnPeriod", u".", "", bkSymbol, 0},
    {"btnExp", u"E", "", bkSymbol, 0},
    {"btnDivide", u"/", "", bkSymbol, 0},
    {"btnLeftParen", u"(", "", bkSymbol, 0},
    {"btnRightParen", u")", "", bkSymbol, 0},
    {"btnPower", u"^", "", bkSymbol, 0},
    {"btnExecute", u"\u23CE", "Execute", bkExecute, 0},
};
static_assert(std::size(ButtonRows) == Columns * Rows);
} // namespace

TKeyboardForm::TKeyboardForm(const QString& IniFile, QWidget* PopupParent)
    : QWidget(PopupParent, Qt::Tool), FIniFile(IniFile) {
    FInstance = this;
    FSuspended = false;
    setWindowTitle(QStringLiteral("Keyboard"));
    // Clicks must not take the focus from the input box, or its caret would vanish.
    setWindowFlag(Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    CreateButtons();
    resize(DesignedClientWidth, DesignedClientHeight);
    FBounds = new TWindowBounds(*this);
    TIniFileEx Ini(FIniFile);
    Ini.SetSection(QStringLiteral("Keyboard"));
    const TRect Designed = TRect::FromQRect(QRect(DesignedPosition, size()));
    FBounds->SetBounds(Ini.GetRect(QStringLiteral("Form"), Designed, TRect::FromQRect(WorkArea())));
}

TKeyboardForm::~TKeyboardForm() {
    if (FInstance == this) FSuspended = false;
    // Nothing may be thrown out of a destructor: a settings file that cannot be
    // written keeps its old bounds.
    try {
        TIniFileEx Ini(FIniFile);
        Ini.SetSection(QStringLiteral("Keyboard"));
        Ini.SetRect(QStringLiteral("Form"), Bounds());
    } catch (const std::exception&) {
    }
}

void TKeyboardForm::SuspendForm() {
    if (!FInstance || !FInstance->isVisible() || FSuspended) return;
    FInstance->hide();
    FSuspended = true;
}

void TKeyboardForm::ResumeForm() {
    if (!FInstance || FInstance->isVisible() || !FSuspended) return;
    FInstance->show();
    FSuspended = false;
}

void TKeyboardForm::CreateButtons() {
    auto* Outer = new QVBoxLayout(this);
    Outer->setContentsMargins(0, 0, 0, 0);
    GridPanel1 = new QWidget(this);
    GridPanel1->setObjectName(QStringLiteral("GridPanel1"));
    Outer->addWidget(GridPanel1);
    QFont Font(QStringLiteral("Tahoma"));
    Font.setPixelSize(11);
    GridPanel1->setFont(Font);
    auto* Grid = new QGridLayout(GridPanel1);
    Grid->setContentsMargins(0, 0, 0, 0);
    Grid->setSpacing(0);
    for (int C = 0; C < Columns; ++C)
        Grid->setColumnStretch(C, 1);
    for (int R = 0; R < Rows; ++R)
        Grid->setRowStretch(R, 1);
    int Cell = 0;
    for (const TButtonRow& Row : ButtonRows) {
        const QString Caption = QString::fromUtf16(Row.Caption);
        auto* B = new QPushButton(Caption, GridPanel1);
        B->setObjectName(QString::fromLatin1(Row.Name));
        B->setToolTip(QString::fromLatin1(Row.Hint));
        B->setFocusPolicy(Qt::NoFocus);
        // Cells of equal size whatever the caption's font needs.
        B->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        Grid->addWidget(B, Cell / Columns, Cell % Columns);
        ++Cell;
        const QChar Symbol = Row.Symbol ? QChar(Row.Symbol) : Caption.front();
        connect(B, &QPushButton::clicked, this, [this, Kind = Row.Kind, Symbol] {
            switch (Kind) {
            case bkSymbol: emit OnInsertSymbol(Symbol); break;
            case bkClear: emit OnClear(); break;
            case bkCursorLeft: emit OnCursorMove(-1); break;
            case bkCursorRight: emit OnCursorMove(+1); break;
            case bkBackspace: emit OnBackspace(); break;
            case bkExecute: emit OnExecute(); break;
            }
        });
    }
    Button7 = GridPanel1->findChild<QPushButton*>(QStringLiteral("Button7"));
    Button7->installEventFilter(this);
}

// The captions grow and shrink with the window: half the height of a button.
void TKeyboardForm::ScaleFont() {
    QFont Font = GridPanel1->font();
    Font.setPixelSize(qMax(1, Button7->height() / 2));
    GridPanel1->setFont(Font);
}

bool TKeyboardForm::eventFilter(QObject* Watched, QEvent* Event) {
    if (Watched == Button7 && Event->type() == QEvent::Resize) ScaleFont();
    return QWidget::eventFilter(Watched, Event);
}

TRect TKeyboardForm::Bounds() const {
    return FBounds->Bounds();
}
