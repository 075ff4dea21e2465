// The name pickers: which identifiers they offer and in what order, the size
// they take for their buttons, how they close, and what the main window's
// Tools commands put into the input box with them.
#include "AppTestSupport.h"

#include "Forms.InsIdent.h"
#include "Forms.Keyboard.h"
#include "Main.h"
#include "Memo.h"
#include "Parse.Infix.h"
#include "Scalar.Ident.h"

#include <QAction>
#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QTest>

namespace {
QList<TIdentButton*> Buttons(const QWidget& Picker) {
    return Picker.findChildren<TIdentButton*>();
}

QStringList Names(const QWidget& Picker) {
    QStringList Result;
    for (const TIdentButton* B : Buttons(Picker))
        Result.append(B->IdentName());
    return Result;
}

// Closes the picker that opens by clicking the button of Name, or with Esc
// when Name is empty; records the picker's caption and names.
struct TPick {
    QString Caption;
    QStringList Offered;
};
TModalAnswer Pick(const QString& Name, TPick& Seen) {
    return TModalAnswer([Name, &Seen](QWidget* Modal) {
        auto* Picker = qobject_cast<TInsIdentForm*>(Modal);
        if (!Picker) {
            qobject_cast<QDialog*>(Modal)->reject();
            return;
        }
        Seen = {Picker->windowTitle(), Names(*Picker)};
        for (TIdentButton* B : Buttons(*Picker))
            if (B->IdentName() == Name) {
                QTest::mouseClick(B, Qt::LeftButton);
                return;
            }
        // Esc where the focus is, on one of the buttons.
        QWidget* Focus = QApplication::focusWidget();
        QTest::keyClick(Focus && Focus->window() == Picker ? Focus : Picker, Qt::Key_Escape);
    });
}

TMemo* Input(const TMainForm& Form) {
    return Form.findChild<TMemo*>(QStringLiteral("Memo1"));
}

void SetInput(TMainForm& Form, const QString& Text, int Start, int End) {
    TMemo* M = Input(Form);
    M->selectAll();
    M->insertPlainText(Text); // typed as a paste, so the history sees it
    QTextCursor C = M->textCursor();
    C.setPosition(Start);
    C.setPosition(End, QTextCursor::KeepAnchor);
    M->setTextCursor(C);
}

void FillVariables(TIdentList& List, int Count) {
    for (int I = 0; I < Count; ++I)
        List.AddVar(u"v" + QString::number(I).toStdU16String(), TComp{}, u"");
}
} // namespace

class TestInsIdent : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void pickerSizeFollowsButtonCount_data();
    void pickerSizeFollowsButtonCount();
    void offersItsKindInSortedOrder();
    void emptyListOrNoneOfTheKindLeavesAnEmptyPicker();
    void longListScrollsInsteadOfLeavingTheScreen();
    void clickChoosesAndEscCancels();
    void toolsInsertAtTheCaret_data();
    void toolsInsertAtTheCaret();
    void escInsertsNothing();
    void insertionIsOneUndoStep();
    void userFunctionsAreOffered();
    void keyboardStepsAsideForPickers();
};

void TestInsIdent::initTestCase() {
    QCoreApplication::setApplicationName(QStringLiteral("Sumtra"));
}

void TestInsIdent::pickerSizeFollowsButtonCount_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("rows");
    QTest::newRow("one variable, one row") << int(ikVariable) << 1 << 440 << 1;
    QTest::newRow("three variables fill a row") << int(ikVariable) << 3 << 440 << 1;
    QTest::newRow("four variables start a second row") << int(ikVariable) << 4 << 440 << 2;
    QTest::newRow("ten variables, four rows") << int(ikVariable) << 10 << 440 << 4;
    QTest::newRow("functions are wider") << int(ikFunction) << 7 << 620 << 3;
}

void TestInsIdent::pickerSizeFollowsButtonCount() {
    QFETCH(int, kind);
    QFETCH(int, count);
    QFETCH(int, width);
    QFETCH(int, rows);
    TIdentList List;
    for (int I = 0; I < count; ++I) {
        const std::u16string Name = u"n" + QString::number(I).toStdU16String();
        if (kind == ikVariable)
            List.AddVar(Name, TComp{}, u"");
        else
            List.AddFun(
                Name, [](TComp X) { return X; }, u"");
    }
    TInsIdentForm Picker(nullptr);
    Picker.Init(List, TIdentKind(kind));
    Picker.show();
    QVERIFY(QTest::qWaitForWindowExposed(&Picker));
    const QList<TIdentButton*> All = Buttons(Picker);
    QCOMPARE(All.size(), count);
    const int ButtonHeight = All.last()->height();
    QCOMPARE(Picker.width(), width);
    QCOMPARE(Picker.height(), rows * (ButtonHeight + 2) + 10);
    // Laid out three to a row, every button whole inside the window.
    QSet<int> Tops;
    for (const TIdentButton* B : All) {
        Tops.insert(B->y());
        QVERIFY(B->visibleRegion().boundingRect() == B->rect());
    }
    QCOMPARE(Tops.size(), rows);
    QCOMPARE(All.first()->width(), kind == ikVariable ? 140 : 200);
    QVERIFY(!Picker.findChild<QScrollArea*>()->verticalScrollBar()->isVisible());
    // Made wider by hand, the rows take a fourth button.
    Picker.resize(4 * (All.first()->width() + 2) + 10, Picker.height());
    QTRY_COMPARE(All.size() < 4 ? All.last()->y() : All[3]->y(), All.first()->y());
}

void TestInsIdent::offersItsKindInSortedOrder() {
    TIdentList List;
    List.AddVar(u"beta", TComp{2, 0}, u"the second");
    List.AddFun(
        u"Cube", [](TComp X) { return X; }, u"power three");
    List.AddVar(u"Alpha", TComp{1, 0}, u"");
    List.AddFun(
        u"abs", [](TComp X) { return X; }, u"");
    TInsIdentForm Variables(nullptr, QStringLiteral("Insert variable"));
    Variables.Init(List, ikVariable);
    QCOMPARE(Names(Variables), (QStringList{"Alpha", "beta"}));
    // Sorting the list is for good: later listings see the sorted order.
    QStringList Order;
    for (const auto& Ident : List)
        Order.append(QString::fromStdU16String(Ident->Name()));
    QCOMPARE(Order, (QStringList{"abs", "Alpha", "beta", "Cube"}));

    TInsIdentForm Functions(nullptr);
    Functions.Init(List, ikFunction);
    QCOMPARE(Names(Functions), (QStringList{"abs", "Cube"}));
    const TIdentButton* Cube = Buttons(Functions).last();
    QCOMPARE(Cube->text(), QStringLiteral(" Cube(scalar)->scalar"));
    QCOMPARE(Cube->toolTip(), QStringLiteral("power three"));
    QCOMPARE(Buttons(Functions).first()->toolTip(), QString()); // no comment, no hint
    QCOMPARE(Buttons(Variables).last()->toolTip(), QStringLiteral("the second"));
    QVERIFY(Buttons(Variables).last()->text().startsWith(QStringLiteral(" beta = 2")));
}

void TestInsIdent::emptyListOrNoneOfTheKindLeavesAnEmptyPicker() {
    TIdentList Empty;
    TInsIdentForm Picker(nullptr);
    const QSize Designed = Picker.size();
    Picker.Init(Empty, ikVariable);
    QCOMPARE(Picker.size(), Designed);
    QVERIFY(Buttons(Picker).isEmpty());
    // Functions only: there is no last button to measure a row by.
    TIdentList Functions;
    Functions.AddFun(
        u"f", [](TComp X) { return X; }, u"");
    TInsIdentForm NoVariables(nullptr);
    NoVariables.Init(Functions, ikVariable);
    QVERIFY(Buttons(NoVariables).isEmpty());
    QCOMPARE(NoVariables.width(), 440);
}

void TestInsIdent::longListScrollsInsteadOfLeavingTheScreen() {
    TIdentList List;
    FillVariables(List, 600);
    TInsIdentForm Picker(nullptr);
    Picker.Init(List, ikVariable);
    Picker.show();
    QVERIFY(QTest::qWaitForWindowExposed(&Picker));
    QVERIFY(Picker.height() <= Picker.screen()->availableGeometry().height());
    QVERIFY(Picker.findChild<QScrollArea*>()->verticalScrollBar()->isVisible());
    // Still three to a row beside the scroll bar.
    const QList<TIdentButton*> All = Buttons(Picker);
    QCOMPARE(All[2]->y(), All[0]->y());
    QVERIFY(All[3]->y() > All[0]->y());
}

void TestInsIdent::clickChoosesAndEscCancels() {
    TIdentList List;
    FillVariables(List, 5);
    {
        TInsIdentForm Picker(nullptr);
        Picker.Init(List, ikVariable);
        QCOMPARE(Picker.IdentName(), QString());
        TIdentButton* Third = Buttons(Picker)[2];
        QTimer::singleShot(0, Third, [Third] { QTest::mouseClick(Third, Qt::LeftButton); });
        QCOMPARE(Picker.exec(), int(QDialog::Accepted));
        QCOMPARE(Picker.IdentName(), QStringLiteral("v2"));
    }
    TInsIdentForm Picker(nullptr);
    Picker.Init(List, ikVariable);
    TIdentButton* First = Buttons(Picker)[0];
    QTimer::singleShot(0, First, [First] { QTest::keyClick(First, Qt::Key_Escape); });
    QCOMPARE(Picker.exec(), int(QDialog::Rejected));
    QCOMPARE(Picker.IdentName(), QString());
}

void TestInsIdent::toolsInsertAtTheCaret_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("caret");
    const QString F = QStringLiteral("ToolsInsertFunction"), V = QStringLiteral("ToolsInsertVariable");
    QTest::newRow("function before its argument") << F << "sin"
                                                  << "(x)" << 0 << 0 << "sin(x)" << 3;
    QTest::newRow("function before a square bracket") << F << "sin"
                                                      << "2*[x]" << 2 << 2 << "2*sin[x]" << 5;
    QTest::newRow("function at the end") << F << "sin"
                                         << "2+" << 2 << 2 << "2+sin()" << 6;
    QTest::newRow("function in an empty box") << F << "cos"
                                              << "" << 0 << 0 << "cos()" << 4;
    QTest::newRow("function before other text") << F << "sin"
                                                << "2x" << 1 << 1 << "2sin()x" << 5;
    QTest::newRow("function round a selection") << F << "sin"
                                                << "x+1" << 0 << 3 << "sin(x+1)" << 8;
    QTest::newRow("function round a bracketed selection") << F << "sin"
                                                          << "2*f(x)" << 2 << 6 << "2*sin[f(x)]" << 11;
    QTest::newRow("selection selected backwards") << F << "ln"
                                                  << "a+b" << 3 << 2 << "a+ln(b)" << 7;
    QTest::newRow("selection across lines") << F << "sin"
                                            << "a\nb" << 0 << 3 << "sin(a\nb)" << 8;
    QTest::newRow("variable at the caret") << V << "pi"
                                           << "2*" << 2 << 2 << "2*pi" << 4;
    QTest::newRow("variable replaces a selection") << V << "pi"
                                                   << "2*x+1" << 2 << 3 << "2*pi+1" << 4;
}

void TestInsIdent::toolsInsertAtTheCaret() {
    QFETCH(QString, action);
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(QString, expected);
    QFETCH(int, caret);
    TStateFolder S;
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form, *Input(Form)));
    SetInput(Form, text, start, end);
    TPick Seen;
    auto Answer = Pick(name, Seen);
    QVERIFY(Form.Action(action)->isEnabled());
    Form.Action(action)->trigger();
    QCOMPARE(Seen.Caption, action == QLatin1String("ToolsInsertFunction")
                               ? QStringLiteral("Insert function")
                               : QStringLiteral("Insert variable"));
    QCOMPARE(Input(Form)->toPlainText(), expected);
    QCOMPARE(Input(Form)->textCursor().position(), caret);
    QVERIFY(!Input(Form)->textCursor().hasSelection());
}

void TestInsIdent::escInsertsNothing() {
    TStateFolder S;
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form, *Input(Form)));
    SetInput(Form, QStringLiteral("1+x"), 2, 3);
    for (const char* Action : {"ToolsInsertFunction", "ToolsInsertVariable"}) {
        TPick Seen;
        auto Answer = Pick({}, Seen);
        Form.Action(QString::fromLatin1(Action))->trigger();
        QVERIFY(!Seen.Offered.isEmpty());
        QCOMPARE(Input(Form)->toPlainText(), QStringLiteral("1+x"));
        QCOMPARE(Input(Form)->textCursor().selectedText(), QStringLiteral("x"));
    }
    QVERIFY(Form.isVisible()); // the picker took the Esc, not the main window
}

void TestInsIdent::insertionIsOneUndoStep() {
    TStateFolder S;
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form, *Input(Form)));
    SetInput(Form, QStringLiteral("x+1"), 0, 3);
    TPick Seen;
    auto Answer = Pick(QStringLiteral("sqrt"), Seen);
    Form.Action(QStringLiteral("ToolsInsertFunction"))->trigger();
    QCOMPARE(Input(Form)->toPlainText(), QStringLiteral("sqrt(x+1)"));
    QVERIFY(Form.Action(QStringLiteral("EditUndo"))->isEnabled());
    Form.Action(QStringLiteral("EditUndo"))->trigger();
    QCOMPARE(Input(Form)->toPlainText(), QStringLiteral("x+1"));
    Form.Action(QStringLiteral("EditRedo"))->trigger();
    QCOMPARE(Input(Form)->toPlainText(), QStringLiteral("sqrt(x+1)"));
}

void TestInsIdent::userFunctionsAreOffered() {
    TStateFolder S;
    WriteUtf16File(S.Path(QStringLiteral("InitDefs.txt")), QStringLiteral("zz(t) := t+1\nqq := 5"));
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form, *Input(Form)));
    SetInput(Form, {}, 0, 0);
    TPick Seen;
    {
        auto Answer = Pick(QStringLiteral("zz"), Seen);
        Form.Action(QStringLiteral("ToolsInsertFunction"))->trigger();
    }
    QVERIFY(Seen.Offered.contains(QStringLiteral("sin")));
    QVERIFY(!Seen.Offered.contains(QStringLiteral("qq")));
    QCOMPARE(Input(Form)->toPlainText(), QStringLiteral("zz()"));
    {
        auto Answer = Pick(QStringLiteral("qq"), Seen);
        Form.Action(QStringLiteral("ToolsInsertVariable"))->trigger();
    }
    QVERIFY(!Seen.Offered.contains(QStringLiteral("zz")));
    QCOMPARE(Input(Form)->toPlainText(), QStringLiteral("zz(qq)"));
    // The names are offered case-insensitively sorted.
    QStringList Sorted = Seen.Offered;
    std::sort(Sorted.begin(), Sorted.end(), [](const QString& A, const QString& B) {
        return QString::compare(A, B, Qt::CaseInsensitive) < 0;
    });
    QCOMPARE(Seen.Offered, Sorted);
}

void TestInsIdent::keyboardStepsAsideForPickers() {
    TStateFolder S;
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form, *Input(Form)));
    QAction* Keyboard = Form.Action(QStringLiteral("ToolsKeyboard"));
    Keyboard->trigger();
    auto* Window = Form.findChild<TKeyboardForm*>();
    QVERIFY(Window && Window->isVisible());
    // Each modal window notes whether the keyboard was showing while it was open.
    QStringList Events;
    auto Answer = TModalAnswer([&Events, Window](QWidget* Modal) {
        Events.append(Modal->windowTitle() +
                      (Window->isVisible() ? QStringLiteral(" over the keyboard") : QString()));
        QTest::keyClick(Modal, Qt::Key_Escape);
    });
    Form.Action(QStringLiteral("ToolsInsertVariable"))->trigger();
    QVERIFY(Window->isVisible());
    Form.Action(QStringLiteral("ToolsSymbolList"))->trigger(); // the list leaves it where it is
    Keyboard->trigger();
    Form.Action(QStringLiteral("ToolsInsertFunction"))->trigger();
    QVERIFY(!Window->isVisible()); // hidden before, hidden after
    QCOMPARE(Events, (QStringList{"Insert variable", "List of defined symbols over the keyboard",
                                  "Insert function"}));
}

QTEST_MAIN(TestInsIdent)
#include "TestInsIdent.moc"
