// The hotkeys editor on the main window's own action list: what it shows,
// the state line for a typed key, assignments that take a key away from its
// old action, keys that would take a character from the input box, the special
// keys of the field's popup menu, the reset to the designed keys, and shortcuts
// that work at once and again after a restart.
#include "AppTestSupport.h"

#include "ActionList.h"
#include "Hotkeys.h"
#include "Main.h"
#include "Memo.h"

#include <QAction>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <initializer_list>
#include <utility>

namespace {
class TEditorFixture {
  public:
    TEditorFixture() : Form(State.Dir()), Editor(&Form) { Editor.SetActionList(Form.Actions()); }

    template <typename T>
    T* Child(const char* Name) const {
        return Editor.findChild<T*>(QString::fromLatin1(Name));
    }
    QStringList Rows(const char* ListBox) const {
        QStringList Result;
        const auto* List = Child<QListWidget>(ListBox);
        for (int I = 0; I < List->count(); ++I)
            Result.append(List->item(I)->text());
        return Result;
    }
    QString Current(const char* ListBox) const { return Child<QListWidget>(ListBox)->currentItem()->text(); }
    void Select(const QString& Category, const QString& Action) const {
        auto Choose = [](QListWidget* List, const QString& Text) {
            const QList<QListWidgetItem*> Found = List->findItems(Text, Qt::MatchExactly);
            QVERIFY(Found.size() == 1);
            List->setCurrentItem(Found.first());
        };
        Choose(Child<QListWidget>("ListBox1"), Category);
        Choose(Child<QListWidget>("ListBox2"), Action);
    }
    void Type(Qt::Key Key, Qt::KeyboardModifiers Mods = Qt::NoModifier) const {
        QTest::keyClick(Child<THotKeyEdit>("HotKey1"), Key, Mods);
    }
    QString State4() const { return Child<QLabel>("Label4")->text(); }
    bool AssignEnabled() const { return Child<QPushButton>("btnAssign")->isEnabled(); }
    void Assign() const { QTest::mouseClick(Child<QPushButton>("btnAssign"), Qt::LeftButton); }
    TShortCut ShortCutOf(const char* Action) const {
        const TActionList& A = Form.Actions();
        return A.ShortCut(A.IndexOf(QString::fromLatin1(Action)));
    }

    TStateFolder State;
    TMainForm Form;
    THotkeysEditor Editor;
};

const QString AssignedTo = QStringLiteral("The shortcut is assigned to [");
const QString TypesCharacter = QStringLiteral("A key that types a character needs Ctrl or Alt with it");

TMemo* Input(const TMainForm& Form) {
    return Form.findChild<TMemo*>(QStringLiteral("Memo1"));
}
} // namespace

class TestHotkeys : public QObject {
    Q_OBJECT
  private slots:
    void opensOnFirstCategoryAndAction();
    void categoryShowsItsActionsSorted();
    void typedKeyShowsItsOwner_data();
    void typedKeyShowsItsOwner();
    void assignTakesTheKeyFromItsOwner();
    void characterKeysNeedCtrlOrAlt();
    void typedCharacterKeyIsRefused();
    void resetRestoresTheDesignedKeys();
    void clearedFieldRemovesTheShortcut();
    void specialKeysFromThePopupMenu_data();
    void specialKeysFromThePopupMenu();
    void escAndEnterAreLeftToTheWindow();
    void emptyActionListDisablesTheField();
    void reassignedKeyWorksAtOnceAndAfterRestart();
    void noAssignmentWritesNoShortcuts();
};

void TestHotkeys::opensOnFirstCategoryAndAction() {
    TEditorFixture F;
    QCOMPARE(F.Editor.windowTitle(), QStringLiteral("Customize hotkeys"));
    QVERIFY(!(F.Editor.windowFlags() & Qt::WindowCloseButtonHint));
    QCOMPARE(F.Rows("ListBox1"), (QStringList{"Edit", "File", "Font", "Parser", "Program", "Tools", "View"}));
    QCOMPARE(F.Current("ListBox1"), QStringLiteral("Edit"));
    QCOMPARE(F.Current("ListBox2"), QStringLiteral("EditCopy"));
    QCOMPARE(F.Child<THotKeyEdit>("HotKey1")->Code(), scCtrl | 'C');
    QVERIFY(F.Child<THotKeyEdit>("HotKey1")->isEnabled());
    QCOMPARE(F.Child<QLabel>("Label5")->text(), QStringLiteral("Copies the selection to the Clipboard"));
    QCOMPARE(F.State4(), QString());
    QVERIFY(!F.AssignEnabled());
}

void TestHotkeys::categoryShowsItsActionsSorted() {
    TEditorFixture F;
    F.Child<QListWidget>("ListBox1")->setCurrentRow(2);
    QCOMPARE(F.Rows("ListBox2"), (QStringList{"FontBold", "FontGrow", "FontItalic", "FontSelect",
                                              "FontShrink", "FontToggleChar"}));
    QCOMPARE(F.Current("ListBox2"), QStringLiteral("FontBold"));
    QCOMPARE(F.Child<THotKeyEdit>("HotKey1")->Code(), scCtrl | 'B');
    QCOMPARE(F.Child<THotKeyEdit>("HotKey1")->text(),
             QKeySequence(QStringLiteral("Ctrl+B")).toString(QKeySequence::NativeText));
    F.Select(QStringLiteral("Program"), QStringLiteral("ProgramAbout"));
    QCOMPARE(F.Child<THotKeyEdit>("HotKey1")->Code(), 0);
    QCOMPARE(F.Child<THotKeyEdit>("HotKey1")->text(), QStringLiteral("None"));
    QCOMPARE(F.Child<QLabel>("Label5")->text(), QStringLiteral("Shows infromation about the program"));
    // The longest hint fits the designed width.
    F.Select(QStringLiteral("Font"), QStringLiteral("FontToggleChar"));
    QVERIFY(F.Editor.layout()->minimumSize().width() <= 454);
}

void TestHotkeys::typedKeyShowsItsOwner_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("state");
    QTest::addColumn<bool>("assignable");
    const int Ctrl = Qt::ControlModifier, Alt = Qt::AltModifier, Shift = Qt::ShiftModifier;
    QTest::newRow("free key") << int(Qt::Key_J) << Ctrl << "Unassigned" << true;
    QTest::newRow("free keypad key") << int(Qt::Key_5) << (Ctrl | int(Qt::KeypadModifier)) << "Unassigned"
                                     << true;
    QTest::newRow("free function key") << int(Qt::Key_F2) << 0 << "Unassigned" << true;
    QTest::newRow("Ctrl+B is bold's") << int(Qt::Key_B) << Ctrl << AssignedTo + "FontBold]" << false;
    QTest::newRow("F1 is help's") << int(Qt::Key_F1) << 0 << AssignedTo + "ProgramHelp]" << false;
    QTest::newRow("Alt+Up is grow's") << int(Qt::Key_Up) << Alt << AssignedTo + "FontGrow]" << false;
    QTest::newRow("Shift+Ctrl+Z is redo's")
        << int(Qt::Key_Z) << (Ctrl | Shift) << AssignedTo + "EditRedo]" << false;
    QTest::newRow("Backspace clears") << int(Qt::Key_Backspace) << 0 << "Unassigned" << false;
}

void TestHotkeys::typedKeyShowsItsOwner() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, state);
    QFETCH(bool, assignable);
    TEditorFixture F;
    F.Select(QStringLiteral("Font"), QStringLiteral("FontItalic"));
    F.Type(Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(F.State4(), state);
    QCOMPARE(F.AssignEnabled(), assignable);
    // A taken key after a free one leaves Assign enabled.
    F.Type(Qt::Key_J, Qt::ControlModifier);
    F.Type(Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(F.State4(), state);
    QVERIFY(F.AssignEnabled());
    // Only the field changed; no action has a new key yet.
    QCOMPARE(F.ShortCutOf("FontItalic"), scCtrl | 'I');
    QCOMPARE(F.Form.Actions().ChangeMark(), 0);
}

void TestHotkeys::assignTakesTheKeyFromItsOwner() {
    TEditorFixture F;
    F.Select(QStringLiteral("Font"), QStringLiteral("FontItalic"));
    F.Type(Qt::Key_J, Qt::ControlModifier); // free: enables Assign
    F.Type(Qt::Key_B, Qt::ControlModifier);
    QCOMPARE(F.State4(), AssignedTo + "FontBold]");
    F.Assign();
    QCOMPARE(F.ShortCutOf("FontBold"), 0);
    QCOMPARE(F.ShortCutOf("FontItalic"), scCtrl | 'B');
    QVERIFY(F.Form.Action(QStringLiteral("FontBold"))->shortcuts().isEmpty());
    QCOMPARE(F.Form.Action(QStringLiteral("FontItalic"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+B")));
    QCOMPARE(F.Form.Actions().ChangeMark(), 1);
    QVERIFY(!F.AssignEnabled());
    // The field now names the new owner.
    F.Type(Qt::Key_B, Qt::ControlModifier);
    QCOMPARE(F.State4(), AssignedTo + "FontItalic]");
}

// The first and last key of each range of character keys, held with Shift or
// not; then Ctrl or Alt, and the keys just outside the ranges.
void TestHotkeys::characterKeysNeedCtrlOrAlt() {
    using TCodes = std::initializer_list<TShortCut>;
    for (TShortCut Code :
         TCodes{32, '0', scShift | '9', 'A', 'Z', 96, 111, 186, scShift | 192, 219, 222, 226})
        QVERIFY2(!IsAllowedShortCut(Code), qPrintable(QString::number(Code)));
    for (TShortCut Code : TCodes{scCtrl | 'Q', scAlt | 188, scShift | scCtrl | 32, 0, 31, 33, 47, 58, 64, 91,
                                 95, 112, scShift | 112, 185, 193, 218, 223, 225, 227})
        QVERIFY2(IsAllowedShortCut(Code), qPrintable(QString::number(Code)));
}

void TestHotkeys::typedCharacterKeyIsRefused() {
    TEditorFixture F;
    F.Select(QStringLiteral("File"), QStringLiteral("FileSave"));
    const std::pair<Qt::Key, Qt::KeyboardModifiers> Keys[] = {{Qt::Key_Q, Qt::NoModifier},
                                                              {Qt::Key_Q, Qt::ShiftModifier},
                                                              {Qt::Key_7, Qt::KeypadModifier},
                                                              {Qt::Key_Comma, Qt::NoModifier}};
    for (const auto& [Key, Mods] : Keys) {
        F.Type(Qt::Key_J, Qt::ControlModifier); // free: enables Assign
        F.Type(Key, Mods);
        QCOMPARE(F.State4(), TypesCharacter);
        QVERIFY(!F.AssignEnabled());
    }
    F.Type(Qt::Key_Q, Qt::ControlModifier);
    QCOMPARE(F.State4(), QStringLiteral("Unassigned"));
}

// The defaults are the designed keys, not those the settings file gave.
void TestHotkeys::resetRestoresTheDesignedKeys() {
    TStateFolder S;
    {
        TMainForm Form(S.Dir());
        AssignShortCut(Form.Actions(), Form.Actions().IndexOf(QStringLiteral("FontItalic")), scCtrl | 'B');
        Form.Actions().SetChangeMark(1);
        Form.close();
    }
    TMainForm Form(S.Dir());
    TShortCut Shown = 0;
    auto Answer = TModalAnswer([&Shown](QWidget* Modal) {
        Modal->findChild<QListWidget*>(QStringLiteral("ListBox1"))->setCurrentRow(2); // Font: FontBold first
        QTest::mouseClick(Modal->findChild<QPushButton*>(QStringLiteral("btnReset")), Qt::LeftButton);
        Shown = Modal->findChild<THotKeyEdit*>(QStringLiteral("HotKey1"))->Code();
        QTest::mouseClick(Modal->findChild<QPushButton*>(QStringLiteral("btnCancel")), Qt::LeftButton);
    });
    Form.Action(QStringLiteral("ToolsCustomize"))->trigger();
    QCOMPARE(Answer.Count(), 1);
    QCOMPARE(Shown, scCtrl | 'B'); // the field follows the reset
    QVERIFY(ShowActive(Form, *Input(Form)));
    QSignalSpy Bold(Form.Action(QStringLiteral("FontBold")), &QAction::triggered);
    QTest::keyClick(Input(Form), Qt::Key_B, Qt::ControlModifier);
    QCOMPARE(Bold.count(), 1);
    Form.close();
    QVERIFY(S.ReadIni().contains(QStringLiteral("\nFontItalic=16457\n"))); // saved
}

void TestHotkeys::clearedFieldRemovesTheShortcut() {
    TEditorFixture F;
    F.Select(QStringLiteral("Font"), QStringLiteral("FontBold"));
    F.Type(Qt::Key_J, Qt::ControlModifier);
    F.Type(Qt::Key_Delete);
    QCOMPARE(F.Child<THotKeyEdit>("HotKey1")->Code(), 0);
    QCOMPARE(F.State4(), QStringLiteral("Unassigned"));
    QVERIFY(F.AssignEnabled());
    F.Assign();
    QCOMPARE(F.ShortCutOf("FontBold"), 0);
    QCOMPARE(F.ShortCutOf("FontItalic"), scCtrl | 'I'); // no other action loses its key to a 0
    QCOMPARE(F.Form.Actions().ChangeMark(), 1);
}

void TestHotkeys::specialKeysFromThePopupMenu_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("owner");
    QTest::newRow("Esc") << "Esc" << 27 << "ProgramExit";
    QTest::newRow("Enter") << "Enter" << 13 << "ParserEvaluate";
    QTest::newRow("Alt+Enter") << "Alt+Enter" << 32781 << "ViewFullScreen";
}

void TestHotkeys::specialKeysFromThePopupMenu() {
    QFETCH(QString, entry);
    QFETCH(int, code);
    QFETCH(QString, owner);
    TEditorFixture F;
    F.Select(QStringLiteral("Program"), QStringLiteral("ProgramHelp"));
    auto* Popup = F.Child<QMenu>("Popup1");
    emit F.Child<THotKeyEdit>("HotKey1")->customContextMenuRequested({5, 5}); // a right click
    QVERIFY(Popup->isVisible());
    Popup->hide();
    auto Choose = [&F, &entry] {
        for (QAction* A : F.Child<QMenu>("Popup1")->actions())
            if (A->text() == entry) A->trigger();
    };
    Choose();
    QCOMPARE(F.Child<THotKeyEdit>("HotKey1")->Code(), code);
    QCOMPARE(F.Child<THotKeyEdit>("HotKey1")->text(), entry); // the field names the key as the menu does
    QCOMPARE(F.State4(), AssignedTo + owner + u']');
    QVERIFY(!F.AssignEnabled());
    // After a free key has enabled Assign, the special key moves to Help.
    F.Type(Qt::Key_J, Qt::ControlModifier);
    Choose();
    F.Assign();
    QCOMPARE(F.ShortCutOf("ProgramHelp"), code);
    const TActionList& A = F.Form.Actions();
    QCOMPARE(A.ShortCut(A.IndexOf(owner)), 0);
}

void TestHotkeys::escAndEnterAreLeftToTheWindow() {
    TEditorFixture F;
    auto* Field = F.Child<THotKeyEdit>("HotKey1");
    QVERIFY(ShowActive(F.Editor, *Field));
    for (Qt::Key Key : {Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(Field, Key);
        QTest::keyClick(Field, Key, Qt::AltModifier);
    }
    QCOMPARE(Field->Code(), scCtrl | 'C');
    QCOMPARE(F.Form.Actions().ChangeMark(), 0);
    QVERIFY(F.Editor.isVisible());
    QTest::keyClick(Field, Qt::Key_Escape);
    QVERIFY(!F.Editor.isVisible());
    QCOMPARE(F.Editor.result(), int(QDialog::Rejected));
}

void TestHotkeys::emptyActionListDisablesTheField() {
    TActionList Empty;
    THotkeysEditor Editor(nullptr);
    Editor.SetActionList(Empty);
    QCOMPARE(Editor.findChild<QListWidget*>(QStringLiteral("ListBox1"))->count(), 0);
    QVERIFY(!Editor.findChild<THotKeyEdit*>(QStringLiteral("HotKey1"))->isEnabled());
    QVERIFY(!Editor.findChild<QPushButton*>(QStringLiteral("btnReset"))->isEnabled());
}

void TestHotkeys::reassignedKeyWorksAtOnceAndAfterRestart() {
    TStateFolder S;
    {
        TMainForm Form(S.Dir());
        QVERIFY(ShowActive(Form, *Input(Form)));
        // Done in the editor as a user would: pick the action, type a free key
        // (which enables Assign), then the key wanted, and assign it.
        auto Answer = TModalAnswer([](QWidget* Modal) {
            auto* Editor = qobject_cast<THotkeysEditor*>(Modal);
            if (!Editor) return;
            auto Select = [Editor](const char* List, const char* Text) {
                auto* Box = Editor->findChild<QListWidget*>(QString::fromLatin1(List));
                Box->setCurrentItem(Box->findItems(QString::fromLatin1(Text), Qt::MatchExactly).value(0));
            };
            Select("ListBox1", "Font");
            Select("ListBox2", "FontItalic");
            auto* Field = Editor->findChild<THotKeyEdit*>(QStringLiteral("HotKey1"));
            QTest::keyClick(Field, Qt::Key_J, Qt::ControlModifier);
            QTest::keyClick(Field, Qt::Key_B, Qt::ControlModifier);
            QTest::mouseClick(Editor->findChild<QPushButton*>(QStringLiteral("btnAssign")), Qt::LeftButton);
            QTest::mouseClick(Editor->findChild<QPushButton*>(QStringLiteral("btnCancel")), Qt::LeftButton);
        });
        Form.Action(QStringLiteral("ToolsCustomize"))->trigger();
        QCOMPARE(Answer.Count(), 1);
        QVERIFY(ShowActive(Form, *Input(Form)));
        QTest::keyClick(Input(Form), Qt::Key_B, Qt::ControlModifier);
        QVERIFY(Input(Form)->font().italic());
        QVERIFY(Input(Form)->font().bold()); // bold lost its key
        Form.close();
    }
    const QString Ini = S.ReadIni();
    QVERIFY(Ini.contains(QStringLiteral("\nFontBold=0\n")));
    QVERIFY(Ini.contains(QStringLiteral("\nFontItalic=16450\n")));
    QVERIFY(Ini.contains(QStringLiteral("\nProgramHelp=112\n"))); // every action, changed or not

    TMainForm Form(S.Dir());
    QCOMPARE(Form.Actions().ShortCut(Form.Actions().IndexOf(QStringLiteral("FontItalic"))), scCtrl | 'B');
    QVERIFY(ShowActive(Form, *Input(Form)));
    QVERIFY(Input(Form)->font().italic()); // as it was saved
    QSignalSpy Bold(Form.Action(QStringLiteral("FontBold")), &QAction::triggered);
    QTest::keyClick(Input(Form), Qt::Key_B, Qt::ControlModifier);
    QVERIFY(!Input(Form)->font().italic());
    QCOMPARE(Bold.count(), 0);
    // The key Italic had no longer reaches it.
    QTest::keyClick(Input(Form), Qt::Key_I, Qt::ControlModifier);
    QVERIFY(!Input(Form)->font().italic());
}

void TestHotkeys::noAssignmentWritesNoShortcuts() {
    TStateFolder S;
    {
        TMainForm Form(S.Dir());
        auto Answer = TModalAnswer([](QWidget* Modal) {
            auto* Field = Modal->findChild<THotKeyEdit*>(QStringLiteral("HotKey1"));
            if (Field) QTest::keyClick(Field, Qt::Key_J, Qt::ControlModifier); // typed, not assigned
            QTest::mouseClick(Modal->findChild<QPushButton*>(QStringLiteral("btnCancel")), Qt::LeftButton);
        });
        Form.Action(QStringLiteral("ToolsCustomize"))->trigger();
        QCOMPARE(Answer.Count(), 1);
        Form.close();
    }
    QVERIFY(S.ReadIni().contains(QStringLiteral("[Settings]")));
    QVERIFY(!S.ReadIni().contains(QStringLiteral("[Shortcuts]")));
}

QTEST_MAIN(TestHotkeys)
#include "TestHotkeys.moc"
