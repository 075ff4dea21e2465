// The help page when the desktop cannot open it: the program's own window shows
// it, follows links within the help, hands other links to the desktop, and is
// not opened at all when the desktop takes the page.
#include "AppTestSupport.h"
#include "HelpViewer.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>

namespace {
// Stands in for the desktop's program for one URL scheme while it lives.
class TDesktopProbe : public QObject {
    Q_OBJECT
  public:
    explicit TDesktopProbe(const QString& Scheme) : FScheme(Scheme) {
        QDesktopServices::setUrlHandler(Scheme, this, "Open");
    }
    ~TDesktopProbe() override { QDesktopServices::unsetUrlHandler(FScheme); }
    QList<QUrl> Opened;

  public slots:
    void Open(const QUrl& Url) { Opened.append(Url); }

  private:
    QString FScheme;
};

// Two pages that link to each other, the first long enough that its second
// section lies below the first screen.
class THelpPages {
  public:
    THelpPages() {
        QString Filler;
        for (int I = 0; I < 200; ++I)
            Filler += QStringLiteral("<p>Line %1</p>\n").arg(I);
        Write(QStringLiteral("Help.htm"),
              QStringLiteral("<html><head><title>Calculator help</title></head><body>"
                             "<h1>First page</h1>"
                             "<p><a href=\"#keys\">Keys below</a> <a href=\"More/Other.htm\">Other page</a> "
                             "<a href=\"https://example.org/guide\">Web site</a></p>") +
                  Filler + QStringLiteral("<h2 id=\"keys\">Keys section</h2>") + Filler +
                  QStringLiteral("</body></html>"));
        Write(QStringLiteral("More/Other.htm"),
              QStringLiteral("<html><head><title>Other help</title></head><body><h1>Second page</h1>"
                             "<p><a href=\"../Help.htm#keys\">Back to the keys</a></p></body></html>"));
    }
    QString Path(const QString& Name = QStringLiteral("Help.htm")) const { return FDir.filePath(Name); }

  private:
    void Write(const QString& Name, const QString& Html) {
        QDir(FDir.path()).mkpath(QFileInfo(Name).path());
        QFile File(FDir.filePath(Name));
        QVERIFY(File.open(QIODevice::WriteOnly));
        File.write(Html.toUtf8());
    }
    QTemporaryDir FDir;
};

QTextBrowser* Browser(const QWidget& Owner) {
    return Owner.findChild<QTextBrowser*>(QStringLiteral("HelpViewer"));
}

// A left click on the middle of the first occurrence of Text, as a user clicks a link.
bool ClickText(QTextBrowser& View, const QString& Text) {
    const QTextCursor Found = View.document()->find(Text);
    if (Found.isNull()) return false;
    QTextCursor Middle(View.document());
    Middle.setPosition((Found.selectionStart() + Found.selectionEnd()) / 2);
    const QPoint At = View.cursorRect(Middle).center();
    if (!View.viewport()->rect().contains(At)) return false;
    QTest::mouseClick(View.viewport(), Qt::LeftButton, Qt::NoModifier, At);
    return true;
}

// Whether the first occurrence of Text is on the visible part of the page.
bool Shows(const QTextBrowser& View, const QString& Text) {
    const QTextCursor Found = View.document()->find(Text);
    return !Found.isNull() && View.viewport()->rect().contains(View.cursorRect(Found).center());
}
} // namespace

class TestHelpViewer : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void fallbackWindowShowsThePage();
    void linksWithinTheHelpStayInTheWindow_data();
    void linksWithinTheHelpStayInTheWindow();
    void linkElsewhereGoesToTheDesktop();
    void helpAgainReusesTheWindow();
    void desktopThatOpensThePageLeavesNoWindow();
    void missingPageIsReported();
    void shippedPageFollowsItsContents();
};

void TestHelpViewer::initTestCase() {
    // The offscreen platform has no desktop services, as a desktop with no
    // program for .htm files has none for the help page.
    QVERIFY(!QDesktopServices::openUrl(QUrl::fromLocalFile(QDir::tempPath())));
}

void TestHelpViewer::fallbackWindowShowsThePage() {
    THelpPages Pages;
    QWidget Owner;
    QCOMPARE(ShowHelp(&Owner, Pages.Path()), false);
    QTextBrowser* View = Browser(Owner);
    QVERIFY(View);
    QVERIFY(QTest::qWaitForWindowExposed(View->window()));
    QVERIFY(View->window() != &Owner); // a window of its own, shown while the owner is hidden
    QCOMPARE(View->window()->windowTitle(), QStringLiteral("Calculator help"));
    QVERIFY(View->toPlainText().startsWith(QStringLiteral("First page")));
    QVERIFY(View->isReadOnly());
    QVERIFY(Shows(*View, QStringLiteral("First page")));
    QVERIFY(!Shows(*View, QStringLiteral("Keys section")));
}

void TestHelpViewer::linksWithinTheHelpStayInTheWindow_data() {
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("shown");
    QTest::newRow("anchor") << "Keys below"
                            << "Help.htm"
                            << "Keys section";
    QTest::newRow("page in a subfolder") << "Other page"
                                         << "Other.htm"
                                         << "Second page";
}

void TestHelpViewer::linksWithinTheHelpStayInTheWindow() {
    QFETCH(QString, link);
    QFETCH(QString, page);
    QFETCH(QString, shown);
    THelpPages Pages;
    QWidget Owner;
    QCOMPARE(ShowHelp(&Owner, Pages.Path()), false);
    QTextBrowser* View = Browser(Owner);
    QVERIFY(QTest::qWaitForWindowExposed(View->window()));
    TDesktopProbe Desktop(QStringLiteral("file"));
    QVERIFY(ClickText(*View, link));
    QCOMPARE(View->source().fileName(), page);
    QVERIFY(Shows(*View, shown));
    QVERIFY(!Shows(*View, QStringLiteral("First page")));
    QVERIFY(Desktop.Opened.isEmpty());
    // A link on the second page leads back into the first.
    if (page == QStringLiteral("Other.htm")) {
        QVERIFY(ClickText(*View, QStringLiteral("Back to the keys")));
        QCOMPARE(View->source().fileName(), QStringLiteral("Help.htm"));
        QVERIFY(Shows(*View, QStringLiteral("Keys section")));
    }
}

void TestHelpViewer::linkElsewhereGoesToTheDesktop() {
    THelpPages Pages;
    QWidget Owner;
    QCOMPARE(ShowHelp(&Owner, Pages.Path()), false);
    QTextBrowser* View = Browser(Owner);
    QVERIFY(QTest::qWaitForWindowExposed(View->window()));
    TDesktopProbe Desktop(QStringLiteral("https"));
    QVERIFY(ClickText(*View, QStringLiteral("Web site")));
    QCOMPARE(Desktop.Opened, QList<QUrl>{QUrl(QStringLiteral("https://example.org/guide"))});
    QCOMPARE(View->source().fileName(), QStringLiteral("Help.htm"));
    QVERIFY(Shows(*View, QStringLiteral("First page")));
}

void TestHelpViewer::helpAgainReusesTheWindow() {
    THelpPages Pages;
    QWidget Owner;
    ShowHelp(&Owner, Pages.Path());
    QTextBrowser* View = Browser(Owner);
    QVERIFY(QTest::qWaitForWindowExposed(View->window()));
    QVERIFY(ClickText(*View, QStringLiteral("Other page")));
    View->window()->showMinimized();
    ShowHelp(&Owner, Pages.Path());
    QCOMPARE(Owner.findChildren<QTextBrowser*>().size(), 1);
    QVERIFY(!View->window()->isMinimized());
    QCOMPARE(View->source().fileName(), QStringLiteral("Help.htm")); // back at the page asked for
    // Closed, the window goes; the next call opens a new one.
    View->window()->close();
    QTRY_VERIFY(!Browser(Owner));
    ShowHelp(&Owner, Pages.Path());
    QVERIFY(Browser(Owner));
}

void TestHelpViewer::desktopThatOpensThePageLeavesNoWindow() {
    THelpPages Pages;
    TDesktopProbe Desktop(QStringLiteral("file"));
    QWidget Owner;
    QCOMPARE(ShowHelp(&Owner, Pages.Path()), true);
    QCOMPARE(Desktop.Opened, QList<QUrl>{QUrl::fromLocalFile(Pages.Path())});
    QVERIFY(!Browser(Owner));
}

void TestHelpViewer::missingPageIsReported() {
    THelpPages Pages;
    QWidget Owner;
    const QString Missing = Pages.Path(QStringLiteral("Missing.htm"));
    auto Answer = DismissDialogs();
    QCOMPARE(ShowHelp(&Owner, Missing), false);
    QCOMPARE(Answer.Texts(),
             QStringList{QStringLiteral("The help file ") + Missing + QStringLiteral(" was not found.")});
    QVERIFY(!Browser(Owner));
}

void TestHelpViewer::shippedPageFollowsItsContents() {
    QWidget Owner;
    QCOMPARE(ShowHelp(&Owner, QStringLiteral(SUMTRA_HELP_PAGE)), false);
    QTextBrowser* View = Browser(Owner);
    QVERIFY(QTest::qWaitForWindowExposed(View->window()));
    QVERIFY(!Shows(*View, QStringLiteral("These are the keys as shipped")));
    QVERIFY(ClickText(*View, QStringLiteral("Keys and commands")));
    QVERIFY(Shows(*View, QStringLiteral("These are the keys as shipped")));
}

QTEST_MAIN(TestHelpViewer)
#include "TestHelpViewer.moc"
