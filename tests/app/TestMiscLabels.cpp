// The link labels: hover fonts, the hand cursor only with an address, and
// opening or copying the address.
#include "MiscLabels.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QMenu>
#include <QTest>

class TestMiscLabels : public QObject {
    Q_OBJECT
  public slots:
    void OpenUrl(const QUrl& Url) { FOpened.append(Url); }

  private slots:
    void initTestCase();
    void init() { FOpened.clear(); }
    void cleanupTestCase() { QDesktopServices::unsetUrlHandler(QStringLiteral("https")); }
    void hoverSwapsFonts();
    void urlDecidesCursorAndClick_data();
    void urlDecidesCursorAndClick();
    void popupCopiesUrl();

  private:
    QList<QUrl> FOpened;
};

void TestMiscLabels::initTestCase() {
    QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "OpenUrl");
}

void TestMiscLabels::hoverSwapsFonts() {
    THotTrackLabel Label;
    QCOMPARE(Label.palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QCOMPARE(Label.HoverFontColor(), QColor(255, 0, 0));
    QFont Hover = Label.font();
    Hover.setItalic(true);
    Label.SetHoverFont(Hover, Qt::red);
    Label.SetHoverColor(QColor(1, 2, 3));
    QEnterEvent Enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(&Label, &Enter);
    QVERIFY(Label.font().italic());
    QCOMPARE(Label.palette().color(QPalette::Window), QColor(1, 2, 3));
    QCOMPARE(Label.palette().color(QPalette::WindowText), QColor(Qt::red));
    QEvent Leave(QEvent::Leave);
    QApplication::sendEvent(&Label, &Leave);
    QVERIFY(!Label.font().italic());
    QCOMPARE(Label.palette().color(QPalette::WindowText), QColor(0, 0, 255));
}

void TestMiscLabels::urlDecidesCursorAndClick_data() {
    QTest::addColumn<QString>("url");
    QTest::addColumn<int>("cursor");
    QTest::newRow("empty address") << "" << int(Qt::ArrowCursor);
    QTest::newRow("web address") << "https://example.org/x" << int(Qt::PointingHandCursor);
}

void TestMiscLabels::urlDecidesCursorAndClick() {
    QFETCH(QString, url);
    QFETCH(int, cursor);
    TUrlLabel Label;
    Label.SetCaptionAndURL(url);
    Label.resize(100, 20);
    QCOMPARE(Label.text(), url);
    QCOMPARE(Label.toolTip(), url);
    QCOMPARE(int(Label.cursor().shape()), cursor);
    QVERIFY(Label.HoverFont().underline());
    QTest::mouseClick(&Label, Qt::LeftButton);
    QCOMPARE(FOpened.size(), url.isEmpty() ? 0 : 1);
    if (!url.isEmpty()) QCOMPARE(FOpened.first(), QUrl(url));
}

void TestMiscLabels::popupCopiesUrl() {
    TUrlLabel Label;
    Label.SetURL(QStringLiteral("https://example.org/copy"));
    const QList<QAction*> Entries = Label.PopupMenu().actions();
    QCOMPARE(Entries.size(), 2);
    QCOMPARE(Entries[0]->text(), QStringLiteral("Open URL"));
    QCOMPARE(Entries[1]->text(), QStringLiteral("Copy URL"));
    Entries[1]->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("https://example.org/copy"));
    Entries[0]->trigger();
    QCOMPARE(FOpened, QList<QUrl>{QUrl(QStringLiteral("https://example.org/copy"))});
}

QTEST_MAIN(TestMiscLabels)
#include "TestMiscLabels.moc"
