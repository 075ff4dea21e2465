// The about box shows the record the main window fills, and closes with OK
// from its button, Enter or Esc.
#include "About.h"

#include "MiscLabels.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class TestAbout : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void showsTheRecord();
    void keysInDescriptionCloseWithOk_data();
    void keysInDescriptionCloseWithOk();
};

void TestAbout::initTestCase() {
    QCoreApplication::setApplicationName(QStringLiteral("Sumtra"));
    AboutInfo = {QStringLiteral("3"),
                 QStringLiteral("0"),
                 QStringLiteral("6"),
                 QStringLiteral("Someone"),
                 QStringLiteral("https://example.org/"),
                 QStringLiteral("Free"),
                 QStringLiteral("Evaluates."),
                 QDate(2015, 1, 18)};
}

void TestAbout::showsTheRecord() {
    QCOMPARE(VersionText(AboutInfo), QStringLiteral("3.0.6 (2015-01-18)"));
    TAboutForm Form(nullptr);
    QCOMPARE(Form.windowTitle(), QStringLiteral("About Sumtra"));
    QCOMPARE(Form.width(), 532);
    auto Text = [&Form](const char* Name) {
        return Form.findChild<QLabel*>(QString::fromLatin1(Name))->text();
    };
    QCOMPARE(Text("Label3"), QStringLiteral("Version:"));
    QCOMPARE(Text("lblTitle"), QStringLiteral("Sumtra"));
    QCOMPARE(Text("lblVersion"), QStringLiteral("3.0.6 (2015-01-18)"));
    QCOMPARE(Text("lblAuthor"), QStringLiteral("Someone"));
    QCOMPARE(Text("lblLicense"), QStringLiteral("Free"));
    auto* Homepage = Form.findChild<TUrlLabel*>(QStringLiteral("lblHomepage"));
    QCOMPARE(Homepage->URL(), QStringLiteral("https://example.org/"));
    QCOMPARE(Homepage->text(), QStringLiteral("https://example.org/"));
    auto* Description = Form.findChild<QPlainTextEdit*>(QStringLiteral("txtDescription"));
    QCOMPARE(Description->toPlainText(), QStringLiteral("Evaluates."));
    QVERIFY(Description->isReadOnly());
    QVERIFY(Form.findChild<QPushButton*>(QStringLiteral("cmdOK"))->isDefault());
}

void TestAbout::keysInDescriptionCloseWithOk_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("Esc") << int(Qt::Key_Escape);
}

void TestAbout::keysInDescriptionCloseWithOk() {
    QFETCH(int, key);
    TAboutForm Form(nullptr);
    auto* Description = Form.findChild<QPlainTextEdit*>(QStringLiteral("txtDescription"));
    QTimer::singleShot(0, Description, [Description, key] { QTest::keyClick(Description, Qt::Key(key)); });
    QCOMPARE(Form.exec(), int(QDialog::Accepted));
    QCOMPARE(Description->toPlainText(), QStringLiteral("Evaluates."));
}

QTEST_MAIN(TestAbout)
#include "TestAbout.moc"
