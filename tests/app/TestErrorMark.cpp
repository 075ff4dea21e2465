// Error marks: where a run's error lands in the input box, worked out alone,
// then drawn on a real text box, cleared by typing, and shown as a tooltip.
#include "AppTestSupport.h"

#include "ErrorMark.h"
#include "Memo.h"

#include <QHelpEvent>
#include <QTest>
#include <QToolTip>

namespace {
// Shows the box in a window of its own, focused, holding Text.
bool Prepare(TMemo& Box, const QString& Text) {
    Box.setPlainText(Text);
    Box.resize(400, 200);
    Box.show();
    Box.activateWindow();
    if (!QTest::qWaitForWindowActive(&Box)) return false;
    Box.setFocus();
    return Box.hasFocus();
}

// Asks the box's viewport for a tooltip at the middle of character Pos. A
// tooltip fades out after it is hidden, so the last one is gone first.
QString TooltipAt(TMemo& Box, int Pos) {
    QToolTip::hideText();
    if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); })) return QStringLiteral("<still shown>");
    QTextCursor C(Box.document());
    C.setPosition(Pos);
    const QRect Left = Box.cursorRect(C);
    C.setPosition(Pos + 1);
    const QPoint At((Left.left() + Box.cursorRect(C).left()) / 2, Left.center().y());
    QHelpEvent Help(QEvent::ToolTip, At, Box.viewport()->mapToGlobal(At));
    QCoreApplication::sendEvent(Box.viewport(), &Help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}
} // namespace

class TestErrorMark : public QObject {
    Q_OBJECT
  private slots:
    void markInBox_data();
    void markInBox();
    void showUnderlinesTheTokenAndMovesTheCaret();
    void typingClearsTheMarkButMovingDoesNot();
    void tooltipShowsOverTheUnderlineOnly();
    void markWithoutPlaceOnlyClears();
};

void TestErrorMark::markInBox_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("caret");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("marked");
    QTest::newRow("no place") << "1+bb" << -1 << 0 << 0 << -1 << -1 << 0;
    QTest::newRow("first row") << "bb+1" << 0 << 2 << 0 << 0 << 0 << 2;
    QTest::newRow("each CR LF is one line break in the box")
        << "1\r\n2\r\n  bb" << 8 << 2 << 0 << 6 << 6 << 2;
    QTest::newRow("a selection's text starts at its start")
        << "1\r\n2\r\n  bb" << 8 << 2 << 10 << 16 << 16 << 2;
    QTest::newRow("a lone CR is a character of its own") << "1\r+\r\nyy" << 5 << 2 << 0 << 4 << 4 << 2;
    QTest::newRow("at a line break: the character before") << "x := 1 +\r\n" << 8 << 0 << 0 << 8 << 7 << 1;
    QTest::newRow("at the start of a row: nothing before it") << "1\r\n" << 3 << 0 << 0 << 2 << 2 << 0;
    QTest::newRow("at the start of the text") << "" << 0 << 0 << 5 << 5 << 5 << 0;
    QTest::newRow("the end of the text is a place") << "12" << 2 << 0 << 0 << 2 << 1 << 1;
    QTest::newRow("past the end is none") << "12" << 3 << 0 << 0 << -1 << -1 << 0;
    QTest::newRow("the length stops at the end") << "12" << 1 << 5 << 0 << 1 << 1 << 1;
}

void TestErrorMark::markInBox() {
    QFETCH(QString, program);
    QFETCH(int, offset);
    QFETCH(int, length);
    QFETCH(int, from);
    QFETCH(int, caret);
    QFETCH(int, start);
    QFETCH(int, marked);
    const TErrorMark Mark = MarkInBox(program.toStdU16String(), TErrorSpan{offset, length}, from);
    QCOMPARE(Mark.Caret, caret);
    QCOMPARE(Mark.Start, start);
    QCOMPARE(Mark.Length, marked);
}

void TestErrorMark::showUnderlinesTheTokenAndMovesTheCaret() {
    TMemo Box;
    QVERIFY(Prepare(Box, QStringLiteral("1+2\n3 + bb\n4")));
    TErrorMarker Marker(Box);
    Marker.Show({8, 8, 2}, QStringLiteral("Unknown identifier 'bb' (row 2, col 5)"));
    QCOMPARE(Box.textCursor().position(), 8);
    QVERIFY(!Box.textCursor().hasSelection());
    const QList<QTextEdit::ExtraSelection> Marks = Box.extraSelections();
    QCOMPARE(Marks.size(), 1);
    QCOMPARE(Marks[0].cursor.selectedText(), QStringLiteral("bb"));
    QCOMPARE(Marks[0].format.underlineStyle(), QTextCharFormat::WaveUnderline);
    QCOMPARE(Marks[0].format.underlineColor(), QColor(Qt::red));
    QCOMPARE(Box.toPlainText(), QStringLiteral("1+2\n3 + bb\n4")); // the text itself is not formatted
}

void TestErrorMark::typingClearsTheMarkButMovingDoesNot() {
    TMemo Box;
    QVERIFY(Prepare(Box, QStringLiteral("1 + bb")));
    TErrorMarker Marker(Box);
    Marker.Show({4, 4, 2}, QStringLiteral("Unknown identifier 'bb' (row 1, col 5)"));
    QTest::keyClick(&Box, Qt::Key_Right);
    QTest::keyClick(&Box, Qt::Key_Home);
    QCOMPARE(Box.extraSelections().size(), 1);
    QVERIFY(Marker.Shown());
    QTest::keyClick(&Box, Qt::Key_End);
    QTest::keyClick(&Box, Qt::Key_Backspace);
    QCOMPARE(Box.toPlainText(), QStringLiteral("1 + b"));
    QVERIFY(Box.extraSelections().isEmpty());
    QVERIFY(!Marker.Shown());
}

void TestErrorMark::tooltipShowsOverTheUnderlineOnly() {
    TMemo Box;
    QVERIFY(Prepare(Box, QStringLiteral("1 + bb + 2")));
    TErrorMarker Marker(Box);
    const QString Message = QStringLiteral("Unknown identifier 'bb' (row 1, col 5)");
    Marker.Show({4, 4, 2}, Message);
    QCOMPARE(TooltipAt(Box, 4), Message);
    QCOMPARE(TooltipAt(Box, 5), Message);
    QCOMPARE(TooltipAt(Box, 3), QString());
    QCOMPARE(TooltipAt(Box, 6), QString());
    QTest::keyClicks(&Box, QStringLiteral("x"));
    QCOMPARE(TooltipAt(Box, 5), QString());
}

void TestErrorMark::markWithoutPlaceOnlyClears() {
    TMemo Box;
    QVERIFY(Prepare(Box, QStringLiteral("1 + bb")));
    TErrorMarker Marker(Box);
    Marker.Show({4, 4, 2}, QStringLiteral("first"));
    QTextCursor C = Box.textCursor();
    C.setPosition(1);
    C.setPosition(3, QTextCursor::KeepAnchor);
    Box.setTextCursor(C);
    Marker.Show({}, QString());
    QVERIFY(Box.extraSelections().isEmpty());
    QCOMPARE(Box.textCursor().selectionStart(), 1); // the selection stays
    QCOMPARE(Box.textCursor().selectionEnd(), 3);
    Marker.Show({40, 40, 2}, QStringLiteral("beyond the text"));
    QVERIFY(!Marker.Shown());
    QCOMPARE(Box.textCursor().selectionEnd(), 3);
}

QTEST_MAIN(TestErrorMark)
#include "TestErrorMark.moc"
