// The output box as the runner's line list: one update per run however many
// lines, lines visible through Count and Get while a run is collecting them.
#include "Memo.h"

#include "Parse.Infix.h"

#include <QSignalSpy>
#include <QTest>

#include <random>

class TestMemo : public QObject {
    Q_OBJECT
  private slots:
    void largeRunUpdatesTheBoxOnce();
    void pendingLinesAreCounted_data();
    void pendingLinesAreCounted();
    void preserveAppendsAfterDivider();
    void mirrorFollowsEveryKindOfEdit();
};

void TestMemo::largeRunUpdatesTheBoxOnce() {
    TMemo Box;
    TMemoLines Lines(Box);
    TProgramParser Parser;
    Parser.Output().Connect(Lines);
    std::u16string Program;
    for (int I = 0; I < 20000; ++I)
        Program += u"1+1\r\n";
    QSignalSpy Changes(Box.document(), &QTextDocument::contentsChange);
    QVERIFY(Parser.Execute(Program, false));
    QVERIFY2(Changes.count() <= 2, qPrintable(QString::number(Changes.count())));
    QCOMPARE(Box.document()->blockCount(), 20000);
    QCOMPARE(Lines.Count(), 20000);
    QCOMPARE(Lines.Get(19999), u"1+1 = 2");
}

void TestMemo::pendingLinesAreCounted_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<bool>("clear");
    QTest::addColumn<QString>("first");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("after");
    QTest::newRow("appended to an empty box") << "" << false << "x" << 2 << "x\ny";
    QTest::newRow("appended to shown lines") << "a\nb" << false << "x" << 4 << "a\nb\nx\ny";
    QTest::newRow("cleared first") << "a\nb" << true << "x" << 2 << "x\ny";
    QTest::newRow("a line with a break is two") << "a" << false << "x\r\n= 1" << 4 << "a\nx\n= 1\ny";
    QTest::newRow("an empty line is a line") << "a" << false << "" << 3 << "a\n\ny";
    QTest::newRow("an empty line after a clear") << "a\nb" << true << "" << 2 << "\ny";
}

void TestMemo::pendingLinesAreCounted() {
    QFETCH(QString, before);
    QFETCH(bool, clear);
    QFETCH(QString, first);
    QFETCH(int, count);
    QFETCH(QString, after);
    TMemo Box;
    Box.setPlainText(before);
    TMemoLines Lines(Box);
    Lines.BeginUpdate();
    if (clear) Lines.Clear();
    Lines.Add(first.toStdU16String());
    Lines.Add(u"y");
    QCOMPARE(Lines.Count(), count);
    const QStringList Expected = after.split(u'\n');
    for (int I = 0; I < count; ++I)
        QCOMPARE(Lines.Get(I), Expected[I].toStdU16String());
    QCOMPARE(Box.toPlainText(), before); // nothing shown before the end of the run
    Lines.EndUpdate();
    QCOMPARE(Box.toPlainText(), after);
    QCOMPARE(Lines.Count(), count);
    if (clear) QCOMPARE(Box.textCursor().position(), 0);
}

void TestMemo::preserveAppendsAfterDivider() {
    TMemo Box;
    TMemoLines Lines(Box);
    TProgramParser Parser;
    Parser.Output().Connect(Lines);
    Parser.Output().SetPreserve(true);
    Parser.Execute(u"2*3", false);
    QCOMPARE(Box.toPlainText(), QStringLiteral("2\u22193 = 6")); // no divider in an empty box
    Parser.Execute(u"7", false);
    QCOMPARE(Box.toPlainText(),
             QStringLiteral("2\u22193 = 6\n") + QString(40, u'=') + QStringLiteral("\n7 = 7"));
}

// Typing, line breaks of both kinds, no-break spaces, deletions across lines,
// replacing the whole text, and undo and redo, in a seeded random order.
void TestMemo::mirrorFollowsEveryKindOfEdit() {
    TMemo Box;
    Box.setPlainText(QStringLiteral("x := 1\n2+3"));
    const TTextMirror Mirror(*Box.document());
    std::mt19937 Random(7);
    const auto Pick = [&Random](int N) { return static_cast<int>(Random() % static_cast<unsigned>(N)); };
    const QString Pieces[] = {QStringLiteral("a"), QStringLiteral("\n"), QString(QChar::LineSeparator),
                              QString(QChar::Nbsp), QStringLiteral("sin(1)\n\n//c"), QStringLiteral("\u00E4")};
    for (int Step = 0; Step < 400; ++Step) {
        QTextCursor C(Box.document());
        const int Size = Box.document()->characterCount() - 1;
        C.setPosition(Pick(Size + 1));
        switch (Pick(6)) {
        case 0: C.insertText(Pieces[Pick(6)]); break;
        case 1: C.insertBlock(); break;
        case 2:
            C.setPosition(Pick(Size + 1), QTextCursor::KeepAnchor);
            C.removeSelectedText();
            break;
        case 3:
            if (Pick(8) == 0) Box.setPlainText(Pieces[Pick(6)] + Pieces[Pick(6)]);
            break;
        case 4: Box.document()->undo(); break;
        case 5: Box.document()->redo(); break;
        }
        QCOMPARE(Mirror.Text(), Box.toPlainText());
    }
}

QTEST_MAIN(TestMemo)
#include "TestMemo.moc"
