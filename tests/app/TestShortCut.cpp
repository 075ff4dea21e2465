// Shortcut codes: the stored numbers of the designed keys, the way back from a
// key event to its code, the names menus and the hotkeys field show, and keys
// that still press the action they are bound to.
#include "AppTestSupport.h"
#include "ShortCut.h"

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QStyleOptionMenuItem>
#include <QTest>

namespace {
// A menu that tells the text it draws for an entry: caption, tab, shortcut.
class TMenuProbe : public QMenu {
  public:
    QString EntryText(const QAction* Action) {
        QStyleOptionMenuItem Option;
        initStyleOption(&Option, Action);
        return Option.text;
    }
};
} // namespace

class TestShortCut : public QObject {
    Q_OBJECT
  private slots:
    void codesMatchKeys_data();
    void codesMatchKeys();
    void enterIncludesTheKeypadKey();
    void noCodeNoKeys();
    void namesAsMenusShowThem_data();
    void namesAsMenusShowThem();
    void typedKeysPressTheBoundAction_data();
    void typedKeysPressTheBoundAction();
};

void TestShortCut::codesMatchKeys_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("F1") << 112 << int(Qt::Key_F1) << 0;
    QTest::newRow("Esc") << 27 << int(Qt::Key_Escape) << 0;
    QTest::newRow("Enter") << 13 << int(Qt::Key_Enter) << 0;
    QTest::newRow("Ctrl+Up") << 16422 << int(Qt::Key_Up) << int(Qt::ControlModifier);
    QTest::newRow("Alt+Enter") << 32781 << int(Qt::Key_Enter) << int(Qt::AltModifier);
    QTest::newRow("Shift+Ctrl+Z") << 24666 << int(Qt::Key_Z) << int(Qt::ControlModifier | Qt::ShiftModifier);
    QTest::newRow("Ctrl+O") << 16463 << int(Qt::Key_O) << int(Qt::ControlModifier);
    QTest::newRow("Alt+Down") << 32808 << int(Qt::Key_Down) << int(Qt::AltModifier);
    QTest::newRow("Ctrl+F12") << (0x4000 | 123) << int(Qt::Key_F12) << int(Qt::ControlModifier);
    QTest::newRow("Ctrl+5") << (0x4000 | '5') << int(Qt::Key_5) << int(Qt::ControlModifier);
    QTest::newRow("keypad 5") << 101 << int(Qt::Key_5) << int(Qt::KeypadModifier);
    QTest::newRow("Ctrl+comma") << (0x4000 | 188) << int(Qt::Key_Comma) << int(Qt::ControlModifier);
    QTest::newRow("Delete") << 46 << int(Qt::Key_Delete) << 0;
}

void TestShortCut::codesMatchKeys() {
    QFETCH(int, code);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    const QKeyCombination Combination{Qt::KeyboardModifiers(modifiers), Qt::Key(key)};
    QCOMPARE(KeyToShortCut(Combination), code);
    const QList<QKeySequence> Keys = ShortCutToKeys(code);
    QVERIFY(!Keys.isEmpty());
    QCOMPARE(Keys.first(), QKeySequence(Combination));
}

void TestShortCut::enterIncludesTheKeypadKey() {
    const QList<QKeySequence> Keys = ShortCutToKeys(vkReturn);
    QVERIFY(Keys.contains(QKeySequence(Qt::Key_Return)));
    QVERIFY(Keys.contains(QKeySequence(QKeyCombination(Qt::KeypadModifier, Qt::Key_Enter))));
    QCOMPARE(KeyToShortCut(QKeyCombination(Qt::AltModifier, Qt::Key_Return)), scAlt | vkReturn);
    QCOMPARE(KeyToShortCut(QKeyCombination(Qt::KeypadModifier, Qt::Key_Enter)), vkReturn);
    // A shifted digit arrives as its symbol and is still the digit key.
    QCOMPARE(KeyToShortCut(QKeyCombination(Qt::ShiftModifier, Qt::Key_Exclam)), scShift | '1');
}

void TestShortCut::noCodeNoKeys() {
    QVERIFY(ShortCutToKeys(0).isEmpty());
    QVERIFY(ShortCutToText(0).isEmpty());
    QCOMPARE(KeyToShortCut(QKeyCombination(Qt::ControlModifier, Qt::Key_Control)), 0);
}

void TestShortCut::namesAsMenusShowThem_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("name");
    QTest::newRow("Enter, not Return") << int(vkReturn) << "Enter";
    QTest::newRow("Alt+Enter, not Alt+Return") << (scAlt | vkReturn) << "Alt+Enter";
    QTest::newRow("Esc") << int(vkEscape) << "Esc";
    QTest::newRow("F1") << int(vkF1) << "F1";
    QTest::newRow("Ctrl+Up") << (scCtrl | vkUp) << "Ctrl+Up";
    QTest::newRow("Alt+Down") << (scAlt | vkDown) << "Alt+Down";
    QTest::newRow("Shift+Ctrl+Z") << (scShift | scCtrl | 'Z') << "Ctrl+Shift+Z";
    QTest::newRow("keypad 5") << 101 << "Num+5";
}

// The hotkeys field shows ShortCutToText; a menu shows the action's first key.
void TestShortCut::namesAsMenusShowThem() {
    QFETCH(int, code);
    QFETCH(QString, name);
    QCOMPARE(ShortCutToText(code), name);
    TMenuProbe Menu;
    QAction* Action = Menu.addAction(QStringLiteral("Evaluate"));
    Action->setShortcuts(ShortCutToKeys(code));
    QCOMPARE(Menu.EntryText(Action), QStringLiteral("Evaluate\t") + name);
}

void TestShortCut::typedKeysPressTheBoundAction_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    const int Alt = Qt::AltModifier, Keypad = Qt::KeypadModifier;
    QTest::newRow("main Enter key") << int(vkReturn) << int(Qt::Key_Return) << 0;
    QTest::newRow("keypad Enter key") << int(vkReturn) << int(Qt::Key_Enter) << Keypad;
    QTest::newRow("Alt with the main Enter key") << (scAlt | vkReturn) << int(Qt::Key_Return) << Alt;
    QTest::newRow("Alt with the keypad Enter key")
        << (scAlt | vkReturn) << int(Qt::Key_Enter) << (Alt | Keypad);
    QTest::newRow("Ctrl+Up") << (scCtrl | vkUp) << int(Qt::Key_Up) << int(Qt::ControlModifier);
    QTest::newRow("F1") << int(vkF1) << int(Qt::Key_F1) << 0;
}

void TestShortCut::typedKeysPressTheBoundAction() {
    QFETCH(int, code);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QWidget Window;
    auto* Focus = new QWidget(&Window);
    Focus->setFocusPolicy(Qt::StrongFocus);
    auto* Action = new QAction(&Window);
    Action->setShortcuts(ShortCutToKeys(code));
    Window.addAction(Action);
    QSignalSpy Pressed(Action, &QAction::triggered);
    QVERIFY(ShowActive(Window, *Focus));
    QTest::keyClick(Focus, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(Pressed.count(), 1);
    // Without its modifiers the key is another key.
    if (modifiers & Qt::AltModifier || modifiers & Qt::ControlModifier) {
        QTest::keyClick(Focus, Qt::Key(key), Qt::KeyboardModifiers(modifiers) & Qt::KeypadModifier);
        QCOMPARE(Pressed.count(), 1);
    }
}

QTEST_MAIN(TestShortCut)
#include "TestShortCut.moc"
