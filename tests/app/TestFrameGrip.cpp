// The border of a window without a title bar: which edges a press sizes, and
// the border the window shows while the grip is on.
#include "FrameGrip.h"

#include <QMainWindow>
#include <QTest>

Q_DECLARE_METATYPE(Qt::Edges)

class TestFrameGrip : public QObject {
    Q_OBJECT
  private slots:
    void pressSizesTheEdgesUnderIt_data();
    void pressSizesTheEdgesUnderIt();
    void enabledGripShowsBorderAndSizingCursor();
};

void TestFrameGrip::pressSizesTheEdgesUnderIt_data() {
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<Qt::Edges>("edges");
    // A 400 x 300 window with a border 4 wide; corners reach 16 along the edges.
    QTest::newRow("inside") << QPoint(200, 150) << Qt::Edges();
    QTest::newRow("first pixel inside the border") << QPoint(4, 150) << Qt::Edges();
    QTest::newRow("left border") << QPoint(3, 150) << Qt::Edges(Qt::LeftEdge);
    QTest::newRow("right border, last pixel") << QPoint(399, 150) << Qt::Edges(Qt::RightEdge);
    QTest::newRow("right border, first pixel") << QPoint(396, 150) << Qt::Edges(Qt::RightEdge);
    QTest::newRow("top border") << QPoint(200, 0) << Qt::Edges(Qt::TopEdge);
    QTest::newRow("bottom border") << QPoint(200, 299) << Qt::Edges(Qt::BottomEdge);
    QTest::newRow("top left corner") << QPoint(0, 0) << (Qt::TopEdge | Qt::LeftEdge);
    QTest::newRow("top border near the left corner") << QPoint(15, 1) << (Qt::TopEdge | Qt::LeftEdge);
    QTest::newRow("top border past the corner") << QPoint(16, 1) << Qt::Edges(Qt::TopEdge);
    QTest::newRow("right border near the bottom") << QPoint(398, 290) << (Qt::RightEdge | Qt::BottomEdge);
    QTest::newRow("outside the window") << QPoint(400, 150) << Qt::Edges();
}

void TestFrameGrip::pressSizesTheEdgesUnderIt() {
    QFETCH(QPoint, at);
    QFETCH(Qt::Edges, edges);
    QCOMPARE(GripEdges(QSize(400, 300), at, 4), edges);
}

void TestFrameGrip::enabledGripShowsBorderAndSizingCursor() {
    QMainWindow Window;
    auto* Client = new QWidget(&Window);
    Window.setCentralWidget(Client);
    auto* Grip = new TFrameGrip(Window);
    Window.resize(400, 300);
    Window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&Window));
    Grip->SetEnabled(true);
    QTRY_COMPARE(Client->geometry(), QRect(4, 4, 392, 292));
    QTest::mouseMove(&Window, QPoint(1, 150));
    QCOMPARE(Window.cursor().shape(), Qt::SizeHorCursor);
    QTest::mouseMove(&Window, QPoint(398, 298));
    QCOMPARE(Window.cursor().shape(), Qt::SizeFDiagCursor);
    Grip->SetEnabled(false);
    QTRY_COMPARE(Client->geometry(), QRect(0, 0, 400, 300));
}

QTEST_MAIN(TestFrameGrip)
#include "TestFrameGrip.moc"
