// The undo/redo store: snapshots, the redo entries dropped by a new step, and
// the bound of 100 snapshots.
#include "History.h"

#include <QTest>

class TestHistory : public QObject {
    Q_OBJECT
  private slots:
    void newHistoryHasNothingToUndoOrRedo();
    void undoAndRedoWalkTheSnapshots();
    void addDropsRedoEntries_data();
    void addDropsRedoEntries();
    void keepsTheLastHundred();
    void changeEndIsBehindTheDifference_data();
    void changeEndIsBehindTheDifference();
};

void TestHistory::newHistoryHasNothingToUndoOrRedo() {
    const THistory H(QStringLiteral("start"));
    QVERIFY(!H.CanUndo());
    QVERIFY(!H.CanRedo());
    QCOMPARE(H.Count(), 1);
}

void TestHistory::undoAndRedoWalkTheSnapshots() {
    THistory H(QStringLiteral("a"));
    H.Add(QStringLiteral("b"));
    H.Add(QStringLiteral("c"));
    QCOMPARE(H.Undo(), QStringLiteral("b"));
    QCOMPARE(H.Undo(), QStringLiteral("a"));
    QVERIFY(!H.CanUndo());
    QCOMPARE(H.Redo(), QStringLiteral("b"));
    QCOMPARE(H.Redo(), QStringLiteral("c"));
    QVERIFY(!H.CanRedo());
}

void TestHistory::addDropsRedoEntries_data() {
    QTest::addColumn<int>("undos");
    QTest::addColumn<QString>("added");
    QTest::newRow("after two undos") << 2 << "x";
    QTest::newRow("the text redo would give") << 1 << "c"; // still a new step
    QTest::newRow("equal to the current text") << 0 << "c";
}

void TestHistory::addDropsRedoEntries() {
    QFETCH(int, undos);
    QFETCH(QString, added);
    THistory H(QStringLiteral("a"));
    H.Add(QStringLiteral("b"));
    H.Add(QStringLiteral("c"));
    for (int I = 0; I < undos; ++I)
        H.Undo();
    H.Add(added);
    QVERIFY(!H.CanRedo());
    QCOMPARE(H.Count(), 4 - undos);
    QCOMPARE(H.Index(), 3 - undos);
    H.Undo();
    QCOMPARE(H.Redo(), added);
}

void TestHistory::keepsTheLastHundred() {
    THistory H(QStringLiteral("0"));
    for (int I = 1; I <= 100; ++I)
        H.Add(QString::number(I));
    QCOMPARE(H.Count(), 100);
    QCOMPARE(H.Index(), 99);
    QString Oldest;
    int Undos = 0;
    while (H.CanUndo()) {
        Oldest = H.Undo();
        ++Undos;
    }
    QCOMPARE(Undos, 99);
    QCOMPARE(Oldest, QStringLiteral("1"));
    // From the full list with redo entries, a new step drops them, not the oldest.
    H.Add(QStringLiteral("new"));
    QCOMPARE(H.Count(), 2);
    QCOMPARE(H.Undo(), QStringLiteral("1"));
}

void TestHistory::changeEndIsBehindTheDifference_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("end");
    QTest::newRow("typed at the end") << "abc" << "abcd" << 4;
    QTest::newRow("typing at the end undone") << "abcd" << "abc" << 3;
    QTest::newRow("typed in the middle") << "ab\ncd" << "ab\nXcd" << 4;
    QTest::newRow("deleted in the middle") << "ab\nXcd" << "ab\ncd" << 3;
    QTest::newRow("replaced") << "1+2+3" << "1*2+3" << 2;
    QTest::newRow("repeated letter added") << "aaa" << "aaaa" << 4; // start and end must not overlap
    QTest::newRow("repeated letter removed") << "aaaa" << "aaa" << 3;
    QTest::newRow("emptied") << "abc" << "" << 0;
    QTest::newRow("same text") << "abc" << "abc" << 3;
}

void TestHistory::changeEndIsBehindTheDifference() {
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(int, end);
    QCOMPARE(ChangeEnd(before, after), end);
}

QTEST_APPLESS_MAIN(TestHistory)
#include "TestHistory.moc"
