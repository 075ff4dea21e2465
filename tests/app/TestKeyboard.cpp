// The on-screen keyboard as the main window uses it: opened from Tools, its
// buttons clicked with the mouse and their effect on the input box, on the
// caret and on the history; the font that follows the window's size; bounds
// kept across runs and fitted into the screen; out of the way of pickers.
#include "AppTestSupport.h"

#include "ExtIni.h"
#include "Forms.Keyboard.h"
#include "Main.h"
#include "Memo.h"

#include <QAction>
#include <QGridLayout>
#include <QPushButton>
#include <QScreen>
#include <QTest>

namespace {
TMemo* Memo(const TMainForm& Form, const char* Name) {
    return Form.findChild<TMemo*>(QString::fromLatin1(Name));
}

// The main window shown and active with Memo1 focused, the keyboard opened
// through its action.
TKeyboardForm* OpenKeyboard(TMainForm& Form) {
    Form.show();
    Form.activateWindow();
    if (!QTest::qWaitForWindowActive(&Form)) return nullptr;
    Memo(Form, "Memo1")->setFocus();
    Form.Action(QStringLiteral("ToolsKeyboard"))->trigger();
    auto* Keyboard = Form.findChild<TKeyboardForm*>();
    if (!Keyboard || !QTest::qWaitForWindowExposed(Keyboard)) return nullptr;
    return Keyboard;
}

void SetInput(TMainForm& Form, const QString& Text, int Caret) {
    TMemo* M = Memo(Form, "Memo1");
    M->setPlainText(Text);
    QTextCursor C = M->textCursor();
    C.setPosition(Caret);
    M->setTextCursor(C);
}

void Click(TKeyboardForm& Keyboard, const QString& Name) {
    auto* Button = Keyboard.findChild<QPushButton*>(Name);
    QVERIFY2(Button, qPrintable(Name));
    QTest::mouseClick(Button, Qt::LeftButton);
}

// Clicks the space-separated buttons in turn.
void ClickAll(TKeyboardForm& Keyboard, const QString& Names) {
    for (const QString& Name : Names.split(u' ', Qt::SkipEmptyParts))
        Click(Keyboard, Name);
}
} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void buttonsSitInTheirCells();
    void buttonsTypeIntoTheInput_data();
    void buttonsTypeIntoTheInput();
    void cursorButtonsStopAtTheEnds_data();
    void cursorButtonsStopAtTheEnds();
    void everyTypedButtonIsOneHistoryStep();
    void clearAddsNoHistoryStep();
    void executeEvaluates();
    void actionTogglesAndShowsTheKeyboard();
    void fontFollowsTheButtonHeight();
    void boundsPersistAndFitTheWorkArea_data();
    void boundsPersistAndFitTheWorkArea();
    void suspendHidesOnlyAShownKeyboard();
};

void TestKeyboard::init() {
    // No keyboard may be left over from the previous case.
    QVERIFY(!TKeyboardForm::Instance());
}

void TestKeyboard::buttonsSitInTheirCells() {
    const char* const Grid[6][4] = {
        {"btnClear", "btnCursorLeft", "btnCursorRight", "btnBackspace"},
        {"Button7", "Button8", "Button9", "btnAdd"},
        {"Button4", "Button5", "Button6", "btnSubtract"},
        {"Button1", "Button2", "Button3", "btnMultiply"},
        {"Button0", "btnPeriod", "btnExp", "btnDivide"},
        {"btnLeftParen", "btnRightParen", "btnPower", "btnExecute"},
    };
    TStateFolder Dir;
    TMainForm Form(Dir.Dir());
    TKeyboardForm* Keyboard = OpenKeyboard(Form);
    QVERIFY(Keyboard);
    QCOMPARE(Keyboard->windowTitle(), QStringLiteral("Keyboard"));
    auto* Panel = Keyboard->findChild<QWidget*>(QStringLiteral("GridPanel1"));
    QVERIFY(Panel);
    auto* Layout = qobject_cast<QGridLayout*>(Panel->layout());
    QVERIFY(Layout);
    QCOMPARE(Layout->count(), 24);
    for (int R = 0; R < 6; ++R)
        for (int C = 0; C < 4; ++C) {
            auto* Button = qobject_cast<QPushButton*>(Layout->itemAtPosition(R, C)->widget());
            QVERIFY(Button);
            QCOMPARE(Button->objectName(), QString::fromLatin1(Grid[R][C]));
            // Equal cells: every button as large as the first, give or take the rounding.
            const QSize First = Layout->itemAtPosition(0, 0)->widget()->size();
            QVERIFY(qAbs(Button->width() - First.width()) <= 1 &&
                    qAbs(Button->height() - First.height()) <= 1);
        }
}

void TestKeyboard::buttonsTypeIntoTheInput_data() {
    QTest::addColumn<bool>("enclose");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("buttons");
    QTest::addColumn<QString>("result");
    QTest::addColumn<int>("caretAfter");
    QTest::newRow("digits")
        << false << "" << 0
        << "Button1 Button2 Button3 Button4 Button5 Button6 Button7 Button8 Button9 Button0"
        << "1234567890" << 10;
    QTest::newRow("number with period and exponent")
        << false << "" << 0 << "Button1 btnPeriod Button5 btnExp Button2"
        << "1.5E2" << 5;
    QTest::newRow("\u00D7 sends \u2219") << false << "2" << 1 << "btnMultiply Button3"
                                         << "2\u22193" << 3;
    QTest::newRow("\u2212 stays \u2212") << false << "2" << 1 << "btnSubtract"
                                         << "2\u2212" << 2;
    QTest::newRow("+ / ^") << false << "" << 0 << "btnAdd btnDivide btnPower"
                           << "+/^" << 3;
    QTest::newRow("inserted at the caret") << false << "12" << 1 << "btnAdd"
                                           << "1+2" << 2;
    QTest::newRow("brackets plain") << false << "" << 0 << "btnLeftParen btnRightParen"
                                    << "()" << 2;
    QTest::newRow("( encloses: caret between") << true << "" << 0 << "btnLeftParen"
                                               << "()" << 1;
    QTest::newRow(") encloses: caret between") << true << "" << 0 << "btnRightParen"
                                               << "()" << 1;
    QTest::newRow("backspace deletes before the caret") << false << "123" << 2 << "btnBackspace"
                                                        << "13" << 1;
    QTest::newRow("backspace at the start") << false << "123" << 0 << "btnBackspace"
                                            << "123" << 0;
    QTest::newRow("cursor then type") << false << "12" << 2 << "btnCursorLeft btnCursorLeft Button9"
                                      << "912" << 1;
}

void TestKeyboard::buttonsTypeIntoTheInput() {
    QFETCH(bool, enclose);
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(QString, buttons);
    QFETCH(QString, result);
    QFETCH(int, caretAfter);
    TStateFolder Dir;
    TMainForm Form(Dir.Dir());
    if (enclose) Form.Action(QStringLiteral("EditOptionsEncloseOnBracket"))->trigger();
    TKeyboardForm* Keyboard = OpenKeyboard(Form);
    QVERIFY(Keyboard);
    SetInput(Form, text, caret);
    ClickAll(*Keyboard, buttons);
    QCOMPARE(Memo(Form, "Memo1")->toPlainText(), result);
    QCOMPARE(Memo(Form, "Memo1")->textCursor().position(), caretAfter);
}

void TestKeyboard::cursorButtonsStopAtTheEnds_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selEnd");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("caret");
    QTest::newRow("left at the start") << "abc" << 0 << 0 << "btnCursorLeft" << 0;
    QTest::newRow("right at the end") << "abc" << 3 << 3 << "btnCursorRight" << 3;
    QTest::newRow("left in the middle") << "abc" << 2 << 2 << "btnCursorLeft" << 1;
    QTest::newRow("right in the middle") << "abc" << 2 << 2 << "btnCursorRight" << 3;
    QTest::newRow("right from a selection's start") << "abcd" << 3 << 1 << "btnCursorRight" << 2;
    QTest::newRow("left in an empty box") << "" << 0 << 0 << "btnCursorLeft" << 0;
}

void TestKeyboard::cursorButtonsStopAtTheEnds() {
    QFETCH(QString, text);
    QFETCH(int, selStart);
    QFETCH(int, selEnd);
    QFETCH(QString, button);
    QFETCH(int, caret);
    TStateFolder Dir;
    TMainForm Form(Dir.Dir());
    TKeyboardForm* Keyboard = OpenKeyboard(Form);
    QVERIFY(Keyboard);
    TMemo* M = Memo(Form, "Memo1");
    M->setPlainText(text);
    QTextCursor C = M->textCursor();
    C.setPosition(selStart);
    C.setPosition(selEnd, QTextCursor::KeepAnchor);
    M->setTextCursor(C);
    Memo(Form, "Memo2")->setFocus();
    Click(*Keyboard, button);
    QCOMPARE(M->textCursor().position(), caret);
    QVERIFY(!M->textCursor().hasSelection());
    QTRY_VERIFY(M->hasFocus());
}

void TestKeyboard::everyTypedButtonIsOneHistoryStep() {
    TStateFolder Dir;
    TMainForm Form(Dir.Dir());
    TKeyboardForm* Keyboard = OpenKeyboard(Form);
    QVERIFY(Keyboard);
    const qsizetype Steps = Form.History().Count();
    ClickAll(*Keyboard, QStringLiteral("Button1 btnAdd Button2 btnBackspace"));
    QCOMPARE(Form.History().Count(), Steps + 4);
    QCOMPARE(Memo(Form, "Memo1")->toPlainText(), QStringLiteral("1+"));
    QTest::keyClick(Memo(Form, "Memo1"), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Memo(Form, "Memo1")->toPlainText(), QStringLiteral("1+2"));
}

void TestKeyboard::clearAddsNoHistoryStep() {
    TStateFolder Dir;
    TMainForm Form(Dir.Dir());
    TKeyboardForm* Keyboard = OpenKeyboard(Form);
    QVERIFY(Keyboard);
    ClickAll(*Keyboard, QStringLiteral("Button4 Button2"));
    const qsizetype Steps = Form.History().Count();
    Click(*Keyboard, QStringLiteral("btnClear"));
    QCOMPARE(Memo(Form, "Memo1")->toPlainText(), QString());
    QCOMPARE(Form.History().Count(), Steps);
    // The next button is a step of its own, after the last one before the clear.
    Click(*Keyboard, QStringLiteral("Button7"));
    QCOMPARE(Form.History().Count(), Steps + 1);
    QTest::keyClick(Memo(Form, "Memo1"), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Memo(Form, "Memo1")->toPlainText(), QStringLiteral("42"));
}

void TestKeyboard::executeEvaluates() {
    TStateFolder Dir;
    TMainForm Form(Dir.Dir());
    TKeyboardForm* Keyboard = OpenKeyboard(Form);
    QVERIFY(Keyboard);
    SetInput(Form, QString(), 0);
    ClickAll(*Keyboard, QStringLiteral("Button6 btnMultiply Button7 btnExecute"));
    QCOMPARE(Memo(Form, "Memo2")->toPlainText(), QStringLiteral("6\u22197 = 42"));
    QCOMPARE(Memo(Form, "Memo1")->toPlainText(), QStringLiteral("6\u22197"));
}

void TestKeyboard::actionTogglesAndShowsTheKeyboard() {
    TStateFolder Dir;
    TMainForm Form(Dir.Dir());
    QAction* Action = Form.Action(QStringLiteral("ToolsKeyboard"));
    QVERIFY(Action->isEnabled());
    QVERIFY(!Action->isChecked());
    QVERIFY(!Form.findChild<TKeyboardForm*>()); // made on first use
    TKeyboardForm* Keyboard = OpenKeyboard(Form);
    QVERIFY(Keyboard);
    QCOMPARE(TKeyboardForm::Instance(), Keyboard);
    QVERIFY(Action->isChecked());
    QVERIFY(Keyboard->windowFlags().testFlag(Qt::Tool));
    Action->trigger();
    QVERIFY(!Keyboard->isVisible());
    QVERIFY(!Action->isChecked());
    Action->trigger();
    QVERIFY(Keyboard->isVisible());
    QCOMPARE(Form.findChildren<TKeyboardForm*>().size(), 1);
    // Closed from its own frame: the check mark follows.
    Keyboard->close();
    QVERIFY(!Action->isChecked());
}

void TestKeyboard::fontFollowsTheButtonHeight() {
    TStateFolder Dir;
    TMainForm Form(Dir.Dir());
    TKeyboardForm* Keyboard = OpenKeyboard(Form);
    QVERIFY(Keyboard);
    auto* Button7 = Keyboard->findChild<QPushButton*>(QStringLiteral("Button7"));
    for (const QSize& Size : {QSize(414, 380), QSize(600, 600), QSize(200, 130)}) {
        Keyboard->resize(Size);
        QTRY_COMPARE(Keyboard->size(), Size);
        QTRY_COMPARE(Button7->font().pixelSize(), qMax(1, Button7->height() / 2));
        QCOMPARE(Keyboard->findChild<QPushButton*>(QStringLiteral("btnExecute"))->font(), Button7->font());
    }
}

void TestKeyboard::boundsPersistAndFitTheWorkArea_data() {
    const QRect Work = QGuiApplication::primaryScreen()->availableGeometry();
    QTest::addColumn<TRect>("stored");
    QTest::addColumn<TRect>("opened");
    const TRect Inside{Work.left() + 30, Work.top() + 40, Work.left() + 330, Work.top() + 290};
    QTest::newRow("inside the work area") << Inside << Inside;
    QTest::newRow("right of the work area")
        << TRect{Work.right() + 500, Work.top() + 40, Work.right() + 800, Work.top() + 290}
        << TRect{Work.left() + Work.width() - 300, Work.top() + 40, Work.left() + Work.width(),
                 Work.top() + 290};
    QTest::newRow("above the work area")
        << TRect{Work.left() + 30, Work.top() - 900, Work.left() + 330, Work.top() - 650}
        << TRect{Work.left() + 30, Work.top(), Work.left() + 330, Work.top() + 250};
}

void TestKeyboard::boundsPersistAndFitTheWorkArea() {
    QFETCH(TRect, stored);
    QFETCH(TRect, opened);
    TStateFolder Dir;
    TRect Moved;
    {
        TIniFileEx Ini(Dir.IniFile());
        Ini.SetSection(QStringLiteral("Keyboard"));
        Ini.SetRect(QStringLiteral("Form"), stored);
    }
    {
        TMainForm Form(Dir.Dir());
        TKeyboardForm* Keyboard = OpenKeyboard(Form);
        QVERIFY(Keyboard);
        QTRY_COMPARE(Keyboard->Bounds(), opened);
        Keyboard->setGeometry(Keyboard->geometry().adjusted(5, 6, -20, -10));
        QTRY_COMPARE(Keyboard->frameGeometry().topLeft(), QPoint(opened.Left + 5, opened.Top + 6));
        Moved = TRect::FromQRect(Keyboard->frameGeometry());
    }
    // Written when the keyboard goes with the application.
    TIniFileEx Ini(Dir.IniFile());
    Ini.SetSection(QStringLiteral("Keyboard"));
    QCOMPARE(Ini.GetRect(QStringLiteral("Form"), TRect{}), Moved);
    TMainForm Form(Dir.Dir());
    TKeyboardForm* Keyboard = OpenKeyboard(Form);
    QVERIFY(Keyboard);
    QTRY_COMPARE(Keyboard->Bounds(), Moved);
}

void TestKeyboard::suspendHidesOnlyAShownKeyboard() {
    // Without a keyboard there is nothing to do.
    TKeyboardForm::SuspendForm();
    TKeyboardForm::ResumeForm();
    QVERIFY(!TKeyboardForm::Suspended());
    TStateFolder Dir;
    TMainForm Form(Dir.Dir());
    TKeyboardForm* Keyboard = OpenKeyboard(Form);
    QVERIFY(Keyboard);
    QAction* Action = Form.Action(QStringLiteral("ToolsKeyboard"));

    // Shown: gone for the picker, back after it; nested pairs change nothing more.
    TKeyboardForm::SuspendForm();
    QVERIFY(!Keyboard->isVisible());
    QVERIFY(!Action->isChecked());
    TKeyboardForm::SuspendForm();
    TKeyboardForm::ResumeForm();
    QVERIFY(Keyboard->isVisible());
    QVERIFY(Action->isChecked());
    TKeyboardForm::ResumeForm();
    QVERIFY(Keyboard->isVisible());

    // Hidden: stays hidden.
    Action->trigger();
    QVERIFY(!Keyboard->isVisible());
    TKeyboardForm::SuspendForm();
    QVERIFY(!TKeyboardForm::Suspended());
    TKeyboardForm::ResumeForm();
    QVERIFY(!Keyboard->isVisible());
}

QTEST_MAIN(TestKeyboard)
#include "TestKeyboard.moc"
