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

#include <utility>

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
    void namesAsMenusShowThem();
    void typedEnterKeysPressTheBoundAction();
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

// The hotkeys field shows ShortCutToText; a menu shows the action's first key.
void TestShortCut::namesAsMenusShowThem() {
    const std::pair<TShortCut, const char*> Names[] = {
        {vkReturn, "Enter"}, {scAlt | vkReturn, "Alt+Enter"}, {scCtrl | vkUp, "Ctrl+Up"}, {vkEscape, "Esc"}};
    for (const auto& [Code, Name] : Names) {
        QCOMPARE(ShortCutToText(Code), QString::fromLatin1(Name));
        TMenuProbe Menu;
        QAction* Action = Menu.addAction(QStringLiteral("Evaluate"));
        Action->setShortcuts(ShortCutToKeys(Code));
        QCOMPARE(Menu.EntryText(Action), QStringLiteral("Evaluate\t") + QString::fromLatin1(Name));
    }
}

// Both Enter keys, as keyboards send them, still press the action.
void TestShortCut::typedEnterKeysPressTheBoundAction() {
    QWidget Window;
    auto* Focus = new QWidget(&Window);
    Focus->setFocusPolicy(Qt::StrongFocus);
    auto* Evaluate = new QAction(&Window);
    auto* FullScreen = new QAction(&Window);
    Evaluate->setShortcuts(ShortCutToKeys(vkReturn));
    FullScreen->setShortcuts(ShortCutToKeys(scAlt | vkReturn));
    Window.addActions({Evaluate, FullScreen});
    QSignalSpy Evaluated(Evaluate, &QAction::triggered);
    QSignalSpy Switched(FullScreen, &QAction::triggered);
    QVERIFY(ShowActive(Window, *Focus));
    for (Qt::KeyboardModifiers Keypad : {Qt::NoModifier, Qt::KeypadModifier}) {
        QTest::keyClick(Focus, Keypad ? Qt::Key_Enter : Qt::Key_Return, Keypad);
        QTest::keyClick(Focus, Keypad ? Qt::Key_Enter : Qt::Key_Return, Keypad | Qt::AltModifier);
    }
    QCOMPARE(Evaluated.count(), 2);
    QCOMPARE(Switched.count(), 2);
}

QTEST_MAIN(TestShortCut)
#include "TestShortCut.moc"
