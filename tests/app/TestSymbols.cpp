// The list of defined symbols: one line per identifier of the sorted list, and
// the window the main window's Tools command shows it in.
#include "AppTestSupport.h"

#include "Forms.Symbols.h"
#include "Main.h"
#include "Scalar.Ident.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTest>

namespace {
QPlainTextEdit* Lines(const QWidget& Form) {
    return Form.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
}
} // namespace

class TestSymbols : public QObject {
    Q_OBJECT
  private slots:
    void listsEveryIdentifierSorted();
    void escInTheListCloses();
    void toolsCommandListsGlobalIdents();
};

void TestSymbols::listsEveryIdentifierSorted() {
    TIdentList List;
    List.AddVar(u"x", TComp{2, 0}, u"");
    List.AddFun(
        u"Sq", [](TComp X) { return X * X; }, u"square");
    List.AddVar(u"ach", TComp{0, 1}, u"two");
    List.AddFun(
        u"abs", [](TComp X) { return X; }, u"");
    TSymbolForm Form(nullptr);
    Form.Fill(List);
    QStringList Expected;
    for (const auto& Ident : List) // sorted by Fill, for good
        Expected.append(QString::fromStdU16String(Ident->ToStringC()));
    QCOMPARE(Lines(Form)->toPlainText().split(u'\n'), Expected);
    QCOMPARE(Expected.size(), 4);
    QCOMPARE(Expected[0], QStringLiteral("abs(scalar)->scalar")); // no comment, no "//"
    QVERIFY(Expected[1].startsWith(QStringLiteral("ach = ")));
    QVERIFY(Expected[1].endsWith(QStringLiteral("   //two")));
    QCOMPARE(Expected[2], QStringLiteral("Sq(scalar)->scalar   //square"));
    QVERIFY(Expected[3].startsWith(QStringLiteral("x = 2")));
    QVERIFY(!Expected[3].contains(QStringLiteral("//")));
}

void TestSymbols::escInTheListCloses() {
    TSymbolForm Form(nullptr);
    QCOMPARE(Form.windowTitle(), QStringLiteral("List of defined symbols"));
    QCOMPARE(Form.minimumSize(), QSize(250, 200));
    QCOMPARE(Form.size(), QSize(312, 480));
    QVERIFY(Lines(Form)->isReadOnly());
    QPlainTextEdit* Memo = Lines(Form);
    QTimer::singleShot(0, Memo, [Memo] {
        Memo->setFocus();
        QTest::keyClick(Memo, Qt::Key_Escape);
    });
    QTimer Guard; // a list that ignored Esc would hang the test
    Guard.setSingleShot(true);
    connect(&Guard, &QTimer::timeout, &Form, [&Form] { Form.done(42); });
    Guard.start(5000);
    QCOMPARE(Form.exec(), int(QDialog::Rejected));
}

void TestSymbols::toolsCommandListsGlobalIdents() {
    TStateFolder S;
    WriteUtf16File(S.Path(QStringLiteral("InitDefs.txt")), QStringLiteral("Aardvark := 1 // first"));
    TMainForm Form(S.Dir());
    QStringList Shown;
    QString Caption;
    auto Answer = TModalAnswer([&](QWidget* Modal) {
        Caption = Modal->windowTitle();
        Shown = Lines(*Modal)->toPlainText().split(u'\n');
        qobject_cast<QDialog*>(Modal)->reject();
    });
    QVERIFY(Form.Action(QStringLiteral("ToolsSymbolList"))->isEnabled());
    Form.Action(QStringLiteral("ToolsSymbolList"))->trigger();
    QCOMPARE(Caption, QStringLiteral("List of defined symbols"));
    QCOMPARE(Shown.size(), GlobalIdents().Count());
    QStringList Expected;
    for (const auto& Ident : GlobalIdents()) // sorted by the command, for good
        Expected.append(QString::fromStdU16String(Ident->ToStringC()));
    QCOMPARE(Shown, Expected);
    const int Aardvark = Shown.indexOf(QRegularExpression(QStringLiteral("^Aardvark = 1   //.*first")));
    QVERIFY(Aardvark >= 0);
    QCOMPARE(Shown[Aardvark + 1], QStringLiteral("abs(scalar)->scalar   //absolute value"));
    QVERIFY(Shown.contains(QStringLiteral("log(scalar)->scalar"))); // a built-in without comment
}

QTEST_MAIN(TestSymbols)
#include "TestSymbols.moc"
