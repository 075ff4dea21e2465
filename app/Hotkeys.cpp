#include "Hotkeys.h"

#include "ActionList.h"

#include <QAction>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

namespace {
constexpr int DesignedClientWidth = 454;
constexpr int DesignedClientHeight = 312;

// Keys the field cannot capture, offered from its popup menu instead.
struct TSpecialKey {
    const char* Caption;
    TShortCut Code;
};
constexpr TSpecialKey SpecialKeys[] = {
    {"Esc", vkEscape}, {"Enter", vkReturn}, {"Alt+Enter", scAlt | vkReturn}};

// Virtual keys that type a character when pressed alone or with Shift.
struct TKeyRange {
    TShortCut First, Last;
};
constexpr TKeyRange CharacterKeys[] = {
    {32, 32},   // space
    {'0', '9'}, // digits
    {'A', 'Z'}, // letters
    {96, 111},  // keypad digits and operators
    {186, 192}, // ; = , - . / `
    {219, 222}, // [ \ ] '
    {226, 226}, // the extra key beside the left Shift of European keyboards
};

bool LeftToWindow(const QKeyEvent& Key) {
    switch (Key.key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return true;
    default: return false;
    }
}

bool IsModifierKey(int Key) {
    return Key == Qt::Key_Shift || Key == Qt::Key_Control || Key == Qt::Key_Alt || Key == Qt::Key_Meta ||
           Key == Qt::Key_AltGr || Key == Qt::Key_unknown;
}

void SortCaseInsensitive(QStringList& List) {
    std::stable_sort(List.begin(), List.end(), [](const QString& A, const QString& B) {
        return QString::compare(A, B, Qt::CaseInsensitive) < 0;
    });
}
} // namespace

int ShortCutOwner(const TActionList& Actions, TShortCut Code) {
    if (Code == 0) return -1;
    for (int I = 0; I < Actions.Count(); ++I)
        if (Actions.ShortCut(I) == Code) return I;
    return -1;
}

void AssignShortCut(TActionList& Actions, int Index, TShortCut Code) {
    if (Code != 0)
        for (int I = 0; I < Actions.Count(); ++I)
            if (Actions.ShortCut(I) == Code) Actions.SetShortCut(I, 0);
    Actions.SetShortCut(Index, Code);
}

bool IsAllowedShortCut(TShortCut Code) {
    if (Code & (scCtrl | scAlt)) return true;
    const TShortCut Vk = Code & 0xFF;
    return std::none_of(std::begin(CharacterKeys), std::end(CharacterKeys),
                        [Vk](const TKeyRange& R) { return Vk >= R.First && Vk <= R.Last; });
}

THotKeyEdit::THotKeyEdit(QWidget* Parent) : QLineEdit(Parent) {
    setContextMenuPolicy(Qt::CustomContextMenu); // the owner supplies the special keys
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setDragEnabled(false);
    setAcceptDrops(false);
    SetCode(0);
}

void THotKeyEdit::SetCode(TShortCut Value) {
    FCode = Value;
    QString Text = ShortCutToText(Value);
    if (Value == 0)
        Text = QStringLiteral("None");
    else if (Text.isEmpty())
        Text = QString::number(Value); // a stored code of a key this platform has no name for
    setText(Text);
}

bool THotKeyEdit::event(QEvent* Event) {
    // Every key but those left to the window is the field's, before any shortcut.
    if (Event->type() == QEvent::ShortcutOverride) {
        auto& Key = static_cast<QKeyEvent&>(*Event);
        if (LeftToWindow(Key)) {
            Event->ignore();
            return true;
        }
        Event->accept();
        return true;
    }
    return QLineEdit::event(Event);
}

void THotKeyEdit::keyPressEvent(QKeyEvent* Event) {
    if (LeftToWindow(*Event)) {
        Event->ignore();
        return;
    }
    Event->accept();
    if (IsModifierKey(Event->key())) return;
    const Qt::KeyboardModifiers Mods = Event->modifiers() & ~Qt::KeypadModifier;
    const bool Clears = (Event->key() == Qt::Key_Backspace || Event->key() == Qt::Key_Delete) && Mods == 0;
    const TShortCut Code = Clears ? 0 : KeyToShortCut(Event->keyCombination());
    if (Code == 0 && !Clears) return; // a key without a code
    SetCode(Code);
    emit Changed();
}

THotkeysEditor::THotkeysEditor(QWidget* Owner) : QDialog(Owner) {
    setObjectName(QStringLiteral("HotkeysEditor"));
    setWindowTitle(QStringLiteral("Customize hotkeys"));
    // Minimise and maximise boxes, no system menu and so no close box: the
    // window closes with Close or Esc.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinMaxButtonsHint);
    QFont Tahoma(QStringLiteral("Tahoma"));
    Tahoma.setPixelSize(13);
    setFont(Tahoma);

    auto Label = [this](const char* Name, const QString& Text) {
        auto* L = new QLabel(Text, this);
        L->setObjectName(QString::fromLatin1(Name));
        return L;
    };
    auto* Grid = new QGridLayout(this);
    Grid->addWidget(Label("Label3", QStringLiteral("Categories:")), 0, 0);
    Grid->addWidget(Label("Label1", QStringLiteral("Commands:")), 0, 1);
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    Grid->addWidget(ListBox1, 1, 0);
    ListBox2 = new QListWidget(this);
    ListBox2->setObjectName(QStringLiteral("ListBox2"));
    Grid->addWidget(ListBox2, 1, 1);
    btnAssign = new QPushButton(QStringLiteral("Assign"), this);
    btnAssign->setObjectName(QStringLiteral("btnAssign"));
    btnAssign->setToolTip(QStringLiteral("Accept the new hotkey"));
    btnAssign->setEnabled(false);
    btnReset = new QPushButton(QStringLiteral("Reset to defaults"), this);
    btnReset->setObjectName(QStringLiteral("btnReset"));
    btnReset->setToolTip(QStringLiteral("Give every command its original hotkey"));
    btnReset->setAutoDefault(false); // Enter must never undo every customisation
    btnCancel = new QPushButton(QStringLiteral("Close"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    auto* Buttons = new QVBoxLayout;
    Buttons->addWidget(btnAssign);
    Buttons->addWidget(btnReset);
    Buttons->addWidget(btnCancel);
    Buttons->addStretch();
    Grid->addLayout(Buttons, 1, 2);
    Grid->addWidget(Label("Label2", QStringLiteral("Shortcut:")), 2, 0);
    HotKey1 = new THotKeyEdit(this);
    HotKey1->setObjectName(QStringLiteral("HotKey1"));
    HotKey1->setToolTip(QStringLiteral("Type a key or a combination of keys (right-click for special keys)"));
    Grid->addWidget(HotKey1, 3, 0);
    Label5 = Label("Label5", {});
    Label5->setWordWrap(true); // a long hint must not widen the window
    Grid->addWidget(Label5, 2, 1, 1, 2);
    Label4 = Label("Label4", {});
    Label4->setWordWrap(true);
    Grid->addWidget(Label4, 3, 1, 1, 2);
    Grid->setColumnStretch(0, 1);
    Grid->setColumnStretch(1, 2);
    Grid->setRowStretch(1, 1);

    Popup1 = new QMenu(this);
    Popup1->setObjectName(QStringLiteral("Popup1"));
    for (const TSpecialKey& Key : SpecialKeys) {
        const TShortCut Code = Key.Code;
        connect(Popup1->addAction(QString::fromLatin1(Key.Caption)), &QAction::triggered, this,
                [this, Code] { InsertSpecialClick(Code); });
    }
    connect(HotKey1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& At) { Popup1->popup(HotKey1->mapToGlobal(At)); });

    setTabOrder(ListBox1, ListBox2);
    setTabOrder(ListBox2, HotKey1);
    setTabOrder(HotKey1, btnAssign);
    setTabOrder(btnAssign, btnReset);
    setTabOrder(btnReset, btnCancel);
    connect(ListBox1, &QListWidget::currentRowChanged, this, &THotkeysEditor::ListBox1Click);
    connect(ListBox2, &QListWidget::currentRowChanged, this, &THotkeysEditor::ListBox2Click);
    connect(HotKey1, &THotKeyEdit::Changed, this, &THotkeysEditor::HotKey1Change);
    connect(btnAssign, &QPushButton::clicked, this, &THotkeysEditor::btnAssignClick);
    connect(btnCancel, &QPushButton::clicked, this, &THotkeysEditor::btnCancelClick);
    connect(btnReset, &QPushButton::clicked, this, &THotkeysEditor::btnResetClick);
    setMinimumSize(DesignedClientWidth, DesignedClientHeight);
    resize(DesignedClientWidth, DesignedClientHeight);
}

void THotkeysEditor::ShowDlg(TActionList& Actions, QWidget* Owner) {
    THotkeysEditor Editor(Owner);
    Editor.SetActionList(Actions);
    Editor.exec();
}

void THotkeysEditor::SetActionList(TActionList& Actions) {
    FActionList = &Actions;
    QStringList Categories;
    for (int I = 0; I < Actions.Count(); ++I)
        if (!Categories.contains(Actions.Category(I))) Categories.append(Actions.Category(I));
    SortCaseInsensitive(Categories);
    {
        const QSignalBlocker Block(ListBox1);
        ListBox1->clear();
        ListBox1->addItems(Categories);
    }
    if (Categories.isEmpty()) {
        HotKey1->setEnabled(false);
        btnReset->setEnabled(false);
        return;
    }
    ListBox1->setCurrentRow(0); // runs ListBox1Click
}

void THotkeysEditor::ListBox1Click() {
    const QListWidgetItem* Category = ListBox1->currentItem();
    QStringList Names;
    if (Category)
        for (int I = 0; I < FActionList->Count(); ++I)
            if (FActionList->Category(I) == Category->text()) Names.append(FActionList->Name(I));
    SortCaseInsensitive(Names);
    {
        const QSignalBlocker Block(ListBox2);
        ListBox2->clear();
        for (const QString& Name : Names) {
            auto* Item = new QListWidgetItem(Name, ListBox2);
            Item->setData(Qt::UserRole, FActionList->IndexOf(Name)); // the row's action
        }
    }
    HotKey1->setEnabled(!Names.isEmpty());
    if (Names.isEmpty()) return;
    ListBox2->setCurrentRow(0); // runs ListBox2Click
}

int THotkeysEditor::SelectedAction() const {
    const QListWidgetItem* Item = ListBox2->currentItem();
    return Item ? Item->data(Qt::UserRole).toInt() : -1;
}

void THotkeysEditor::ListBox2Click() {
    const int Index = SelectedAction();
    if (Index < 0) return;
    HotKey1->SetCode(FActionList->ShortCut(Index));
    Label5->setText(FActionList->Action(Index)->statusTip());
    Label4->clear();
    btnAssign->setEnabled(false);
}

void THotkeysEditor::HotKey1Change() {
    if (!IsAllowedShortCut(HotKey1->Code())) {
        Label4->setText(QStringLiteral("A key that types a character needs Ctrl or Alt with it"));
        btnAssign->setEnabled(false);
        return;
    }
    const int Owner = ShortCutOwner(*FActionList, HotKey1->Code());
    if (Owner >= 0) {
        Label4->setText(QStringLiteral("The shortcut is assigned to [") + FActionList->Name(Owner) + u']');
        return;
    }
    Label4->setText(QStringLiteral("Unassigned"));
    if (HotKey1->Code() != 0) btnAssign->setEnabled(true);
}

void THotkeysEditor::btnAssignClick() {
    const int Index = SelectedAction();
    if (Index < 0 || !IsAllowedShortCut(HotKey1->Code())) return;
    AssignShortCut(*FActionList, Index, HotKey1->Code());
    FActionList->SetChangeMark(1);
    btnAssign->setEnabled(false);
}

void THotkeysEditor::btnCancelClick() {
    reject();
}

// Like an assignment, the reset takes effect at once and is saved on closing.
void THotkeysEditor::btnResetClick() {
    FActionList->ResetShortCuts();
    FActionList->SetChangeMark(1);
    ListBox2Click(); // the field shows the selected action's key again
}

// A chosen special key counts as typed, so the state line and Assign follow it.
void THotkeysEditor::InsertSpecialClick(TShortCut Code) {
    HotKey1->SetCode(Code);
    HotKey1Change();
}
