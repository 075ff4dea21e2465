// Linked results: statements of a run placed in the input box, and the main
// window marking and selecting them with real keys and mouse clicks.
#include "AppTestSupport.h"

#include "Links.h"
#include "Main.h"
#include "Memo.h"

#include <QAction>
#include <QTest>
#include <QTextBlock>

namespace {
TMemo* Memo(const TMainForm& Form, const char* Name) {
    return Form.findChild<TMemo*>(QString::fromLatin1(Name));
}

// The output lines marked as linked (whole-width marks), by number.
QList<int> MarkedLines(const TMemo& Output) {
    QList<int> Lines;
    for (const auto& S : Output.extraSelections())
        if (S.format.property(QTextFormat::FullWidthSelection).toBool()) Lines.append(S.cursor.blockNumber());
    return Lines;
}

// Runs Program (typed, line breaks as Shift+Enter) with Enter.
void Run(TMainForm& Form, const QStringList& Rows) {
    TMemo* In = Memo(Form, "Memo1");
    In->selectAll();
    for (int I = 0; I < Rows.size(); ++I) {
        if (I > 0) QTest::keyClick(In, Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClicks(In, Rows[I]);
    }
    QTest::keyClick(In, Qt::Key_Return);
}
} // namespace

class TestLinks : public QObject {
    Q_OBJECT
  private slots:
    void linksInBox();
    void caretInAStatementMarksItsLines();
    void doubleClickOnAnOutputLineSelectsItsStatement();
    void editingDropsTheLinks();
};

void TestLinks::linksInBox() {
    // "a := 1; b" on row 1, "// c" and "b+1" on row 2; a selection run from 10.
    const std::u16string Program = u"a := 1; b\r\nb+1 // c";
    std::vector<TStatementRange> Ranges{{0, 0, 6}, {1, 8, 9}, {2, 11, 14, 15, 19}, {3, 11, 14}};
    const std::vector<TLink> Links = LinksInBox(Program, Ranges, 10);
    const std::vector<TLink> Expected{{0, 10, 16}, {1, 18, 19}, {2, 20, 23}, {3, 20, 23}};
    QCOMPARE(Links, Expected);
    QCOMPARE(LinksAtCaret(Links, 16), (std::vector<TLink>{{0, 10, 16}})); // at the statement's end
    QCOMPARE(LinksAtCaret(Links, 17), std::vector<TLink>{});               // between two
    QCOMPARE(LinksAtCaret(Links, 21), (std::vector<TLink>{{2, 20, 23}, {3, 20, 23}}));
    QCOMPARE(LinkOfLine(Links, 1)->Start, 18);
    QVERIFY(!LinkOfLine(Links, 4));
}

void TestLinks::caretInAStatementMarksItsLines() {
    TStateFolder S;
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form, *Memo(Form, "Memo1")));
    Run(Form, {QStringLiteral("1+1"), QStringLiteral("2+2;3+3")});
    TMemo* In = Memo(Form, "Memo1");
    TMemo* Out = Memo(Form, "Memo2");
    QCOMPARE(Out->toPlainText(), QStringLiteral("1+1 = 2\n2+2 = 4\n3+3 = 6"));
    QCOMPARE(MarkedLines(*Out), QList<int>{2}); // the caret stays at the end: the last statement
    QTest::keyClick(In, Qt::Key_Up);
    QCOMPARE(MarkedLines(*Out), QList<int>{0});
    QTest::keyClick(In, Qt::Key_Down);
    QTest::keyClick(In, Qt::Key_Home);
    QCOMPARE(MarkedLines(*Out), QList<int>{1});
    // The other way round: the output's caret marks the statement in the input.
    Out->setFocus();
    QTest::keyClick(Out, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(Out, Qt::Key_Down);
    QTest::keyClick(Out, Qt::Key_Down);
    const QList<QTextEdit::ExtraSelection> Marks = In->extraSelections();
    QCOMPARE(Marks.size(), 1);
    QCOMPARE(Marks.first().cursor.selectedText(), QStringLiteral("3+3"));
}

void TestLinks::doubleClickOnAnOutputLineSelectsItsStatement() {
    TStateFolder S;
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form, *Memo(Form, "Memo1")));
    TMemo* In = Memo(Form, "Memo1");
    TMemo* Out = Memo(Form, "Memo2");
    Form.Action(QStringLiteral("ParserRetainOutput"))->trigger();
    Run(Form, {QStringLiteral("5")});
    Run(Form, {QStringLiteral("x := 4 // four"), QStringLiteral("x*2")});
    // Preserve keeps the first run above a divider; only the newest is linked.
    QCOMPARE(Out->document()->blockCount(), 4);
    const auto LineCentre = [Out](int Line) {
        QTextCursor C(Out->document()->findBlockByNumber(Line));
        return Out->cursorRect(C).center() + QPoint(4, 0);
    };
    QTest::mouseDClick(Out->viewport(), Qt::LeftButton, {}, LineCentre(3));
    QVERIFY(In->hasFocus());
    QCOMPARE(In->textCursor().selectedText(), QStringLiteral("x\u22192"));
    QTest::mouseDClick(Out->viewport(), Qt::LeftButton, {}, LineCentre(2));
    QCOMPARE(In->textCursor().selectedText(), QStringLiteral("x := 4")); // the comment is not the statement's
    In->moveCursor(QTextCursor::End);
    QTest::mouseDClick(Out->viewport(), Qt::LeftButton, {}, LineCentre(0));
    QVERIFY(!In->textCursor().hasSelection()); // the earlier run's line links to nothing
}

void TestLinks::editingDropsTheLinks() {
    TStateFolder S;
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form, *Memo(Form, "Memo1")));
    Run(Form, {QStringLiteral("1"), QStringLiteral("2")});
    TMemo* Out = Memo(Form, "Memo2");
    QCOMPARE(MarkedLines(*Out), QList<int>{1});
    QTest::keyClicks(Memo(Form, "Memo1"), QStringLiteral("0"));
    QCOMPARE(MarkedLines(*Out), QList<int>{});
    QTest::keyClick(Memo(Form, "Memo1"), Qt::Key_Up);
    QCOMPARE(MarkedLines(*Out), QList<int>{}); // until the next run
}

QTEST_MAIN(TestLinks)
#include "TestLinks.moc"
