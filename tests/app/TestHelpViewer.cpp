// The help page when the desktop cannot open it: the program's own window shows
// it, follows links within the help, hands other links to the desktop, and is
// not opened at all when the desktop takes the page.
#include "AppTestSupport.h"
#include "HelpViewer.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>

namespace {
// Stands in for the desktop's program for one URL scheme while it lives.
class TDesktopProbe : public QObject {
    Q_OBJECT
  public:
    explicit TDesktopProbe(const char* Scheme) : FScheme(QString::fromLatin1(Scheme)) {
        QDesktopServices::setUrlHandler(FScheme, this, "Open");
    }
    ~TDesktopProbe() override { QDesktopServices::unsetUrlHandler(FScheme); }
    QList<QUrl> Opened;

  public slots:
    void Open(const QUrl& Url) { Opened.append(Url); }

  private:
    QString FScheme;
};

// A page whose second section lies below the first screen, and a page in a
// subfolder that links back to that section.
QString WritePages(const QTemporaryDir& Dir) {
    const QString Filler = QStringLiteral("<p>Line</p>").repeated(200);
    const QString Pages[][2] = {
        {QStringLiteral("Help.htm"),
         QStringLiteral(
             "<title>Calculator help</title><h1>First page</h1><a href=\"#keys\">Keys below</a> "
             "<a href=\"More/Other.htm\">Other page</a> <a href=\"https://example.org/\">Web site</a>") +
             Filler + QStringLiteral("<h2 id=\"keys\">Keys section</h2>") + Filler},
        {QStringLiteral("More/Other.htm"),
         QStringLiteral("<h1>Second page</h1><a href=\"../Help.htm#keys\">Back to the keys</a>")}};
    QDir(Dir.path()).mkdir(QStringLiteral("More"));
    for (const auto& [Name, Html] : Pages) {
        QFile File(Dir.filePath(Name));
        if (!File.open(QIODevice::WriteOnly) || File.write(Html.toUtf8()) < 0) return {};
    }
    return Dir.filePath(QStringLiteral("Help.htm"));
}

// Whether the first occurrence of Text is on the visible part of the page.
bool Shows(const QTextBrowser& View, const QString& Text) {
    const QTextCursor Found = View.document()->find(Text);
    return !Found.isNull() && View.viewport()->rect().contains(View.cursorRect(Found).center());
}

// A left click on the middle of Text, as a user clicks a link.
void Click(QTextBrowser& View, const QString& Text) {
    QVERIFY(Shows(View, Text));
    const QTextCursor Found = View.document()->find(Text);
    QTextCursor Middle(View.document());
    Middle.setPosition((Found.selectionStart() + Found.selectionEnd()) / 2);
    QTest::mouseClick(View.viewport(), Qt::LeftButton, Qt::NoModifier, View.cursorRect(Middle).center());
}
} // namespace

class TestHelpViewer : public QObject {
    Q_OBJECT
  private slots:
    void fallbackWindowFollowsLinks();
    void desktopThatOpensThePageLeavesNoWindow();
    void missingPageIsReported();
};

void TestHelpViewer::fallbackWindowFollowsLinks() {
    QTemporaryDir Dir;
    const QString Path = WritePages(Dir);
    QWidget Owner;
    // The offscreen platform opens nothing, like a desktop with no program for .htm files.
    QCOMPARE(ShowHelp(&Owner, Path), false);
    auto* View = Owner.findChild<QTextBrowser*>(QStringLiteral("HelpViewer"));
    QVERIFY(View && QTest::qWaitForWindowExposed(View->window()));
    QCOMPARE(View->window()->windowTitle(), QStringLiteral("Calculator help"));
    QVERIFY(View->isReadOnly());
    QVERIFY(!Shows(*View, QStringLiteral("Keys section")));
    TDesktopProbe Web("https");
    Click(*View, QStringLiteral("Web site"));
    QCOMPARE(Web.Opened, QList<QUrl>{QUrl(QStringLiteral("https://example.org/"))});
    Click(*View, QStringLiteral("Keys below"));
    QVERIFY(Shows(*View, QStringLiteral("Keys section")));
    ShowHelp(&Owner, Path); // F1 again: the same window, at the top
    QVERIFY(Shows(*View, QStringLiteral("First page")));
    Click(*View, QStringLiteral("Other page"));
    QCOMPARE(View->source().fileName(), QStringLiteral("Other.htm"));
    Click(*View, QStringLiteral("Back to the keys"));
    QCOMPARE(View->source().fileName(), QStringLiteral("Help.htm"));
    QVERIFY(Shows(*View, QStringLiteral("Keys section")));
    QCOMPARE(Owner.findChildren<QTextBrowser*>().size(), 1);
}

void TestHelpViewer::desktopThatOpensThePageLeavesNoWindow() {
    QTemporaryDir Dir;
    const QString Path = WritePages(Dir);
    TDesktopProbe Desktop("file");
    QWidget Owner;
    QCOMPARE(ShowHelp(&Owner, Path), true);
    QCOMPARE(Desktop.Opened, QList<QUrl>{QUrl::fromLocalFile(Path)});
    QVERIFY(!Owner.findChild<QTextBrowser*>());
}

void TestHelpViewer::missingPageIsReported() {
    QWidget Owner;
    auto Answer = DismissDialogs();
    QCOMPARE(ShowHelp(&Owner, QStringLiteral("/nonexistent/Help.htm")), false);
    QCOMPARE(Answer.Texts(),
             QStringList{QStringLiteral("The help file /nonexistent/Help.htm was not found.")});
    QVERIFY(!Owner.findChild<QTextBrowser*>());
}

QTEST_MAIN(TestHelpViewer)
#include "TestHelpViewer.moc"
