// The tool bar's pictures on light and dark tool bars: each must stand out
// from the bar it is drawn on.
#include "Images.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTest>

namespace {
int Luminance(QRgb C) {
    return (299 * qRed(C) + 587 * qGreen(C) + 114 * qBlue(C)) / 1000;
}

// The largest difference in luminance between a pixel of the picture, drawn
// on Background, and the background itself.
int Contrast(const QIcon& Icon, int Size, const QColor& Background) {
    QImage Image(Size, Size, QImage::Format_RGB32);
    Image.fill(Background);
    QPainter P(&Image);
    Icon.paint(&P, QRect(0, 0, Size, Size));
    P.end();
    int Best = 0;
    for (int Y = 0; Y < Size; ++Y)
        for (int X = 0; X < Size; ++X)
            Best = qMax(Best, qAbs(Luminance(Image.pixel(X, Y)) - Luminance(Background.rgb())));
    return Best;
}
} // namespace

class TestImages : public QObject {
    Q_OBJECT
  private slots:
    void picturesStandOutFromTheBar_data();
    void picturesStandOutFromTheBar();
};

void TestImages::picturesStandOutFromTheBar_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QColor>("bar");
    const char* const Actions[] = {
        "EditCopy",      "EditPaste",   "FontToggleChar", "ToolsInsertVariable", "ToolsInsertFunction",
        "ToolsKeyboard", "ViewMenubar", "ProgramHelp",    "ProgramExit"};
    for (const char* A : Actions) {
        QTest::addRow("%s on a light bar", A) << QString::fromLatin1(A) << QColor(240, 240, 240);
        QTest::addRow("%s on a dark bar", A) << QString::fromLatin1(A) << QColor(35, 38, 41);
    }
}

// Half the range of luminance: dark blue letters on a dark bar fell far short.
void TestImages::picturesStandOutFromTheBar() {
    QFETCH(QString, action);
    QFETCH(QColor, bar);
    const QIcon Icon = ActionIcon(action);
    QVERIFY(!Icon.isNull());
    for (int Size : {24, 48})
        QVERIFY2(Contrast(Icon, Size, bar) >= 128, qPrintable(QString::number(Size)));
}

QTEST_MAIN(TestImages)
#include "TestImages.moc"
