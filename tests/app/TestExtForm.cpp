// The window switches: hiding and showing the title bar or moving the window
// into the top layer keeps its place and size; moves are reported.
#include "ExtForm.h"

#include <QSignalSpy>
#include <QTest>

class TestExtForm : public QObject {
    Q_OBJECT
  private slots:
    void switchesKeepBounds_data();
    void switchesKeepBounds();
    void framelessWindowIgnoresCaptionSwitch();
    void moveIsReported();
    void notMovableLocksTheSize();
};

void TestExtForm::switchesKeepBounds_data() {
    QTest::addColumn<bool>("caption");
    QTest::newRow("title bar") << true;
    QTest::newRow("stay on top") << false;
}

void TestExtForm::switchesKeepBounds() {
    QFETCH(bool, caption);
    TFormEx Form;
    Form.setGeometry(120, 110, 300, 200);
    Form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&Form));
    const QRect Before = Form.geometry();
    QVERIFY(Form.CaptionVisible());
    QVERIFY(!Form.TopMost());
    if (caption)
        Form.SetCaptionVisible(false);
    else
        Form.SetTopMost(true);
    QCOMPARE(Form.CaptionVisible(), !caption);
    QCOMPARE(Form.TopMost(), !caption);
    QVERIFY(Form.isVisible());
    QTRY_COMPARE(Form.geometry(), Before);
    if (caption)
        Form.SetCaptionVisible(true);
    else
        Form.SetTopMost(false);
    QVERIFY(Form.CaptionVisible());
    QVERIFY(!Form.TopMost());
    QTRY_COMPARE(Form.geometry(), Before);
}

void TestExtForm::framelessWindowIgnoresCaptionSwitch() {
    TFormEx Form;
    Form.setWindowFlag(Qt::FramelessWindowHint);
    Form.SetCaptionVisible(true);
    QVERIFY(!Form.CaptionVisible());
    QVERIFY(Form.windowFlags().testFlag(Qt::FramelessWindowHint));
}

void TestExtForm::moveIsReported() {
    TFormEx Form;
    Form.setGeometry(100, 100, 300, 200);
    Form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&Form));
    QSignalSpy Moved(&Form, &TFormEx::Moved);
    Form.move(150, 140);
    QTRY_VERIFY(Moved.count() >= 1);
}

void TestExtForm::notMovableLocksTheSize() {
    TFormEx Form;
    Form.setMinimumSize(250, 200);
    Form.resize(300, 200);
    QVERIFY(Form.Movable());
    Form.SetMovable(false);
    Form.resize(500, 400);
    QCOMPARE(Form.size(), QSize(300, 200));
    Form.SetMovable(true);
    Form.resize(500, 400);
    QCOMPARE(Form.size(), QSize(500, 400));
    QCOMPARE(Form.minimumSize(), QSize(250, 200)); // the limits it had come back
}

QTEST_MAIN(TestExtForm)
#include "TestExtForm.moc"
