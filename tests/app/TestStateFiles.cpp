// The main window's state files under faults: the input saved while it is
// edited and on evaluation; a settings file, "AutoSave.txt", "InitDefs.txt" or
// "SymbolMap.txt" that is binary, huge, a folder or unreadable gives a clear
// message or the defaults and the window still works; a read-only folder or a
// full disk on closing is reported and leaves the previous files intact.
#include "AppTestSupport.h"

#include "AutoSave.h"
#include "Main.h"
#include "Memo.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTest>

#include <optional>

#include <sys/stat.h>

namespace {
QByteArray Garbage(qsizetype Size) {
    QByteArray B(Size, '\0');
    quint32 X = 12345;
    for (char& C : B) {
        X = X * 1103515245u + 12345u;
        C = static_cast<char>(X >> 23);
    }
    return B;
}

bool WriteFile(const QString& FileName, const QByteArray& Bytes) {
    QFile File(FileName);
    return File.open(QIODevice::WriteOnly) && File.write(Bytes) == Bytes.size();
}

// NULs after a first byte, without taking the space.
bool WriteSparseFile(const QString& FileName, qint64 Size) {
    QFile File(FileName);
    return File.open(QIODevice::WriteOnly) && File.write("1", 1) == 1 && File.resize(Size);
}

TMemo* Memo(const TMainForm& Form, const char* Name) {
    return Form.findChild<TMemo*>(QString::fromLatin1(Name));
}

// The window takes typed input and evaluates it.
bool Usable(TMainForm& Form) {
    Form.show();
    Form.activateWindow();
    if (!QTest::qWaitForWindowActive(&Form)) return false;
    TMemo* M = Memo(Form, "Memo1");
    M->setFocus();
    M->selectAll();
    QTest::keyClicks(M, QStringLiteral("1+2"));
    QTest::keyClick(M, Qt::Key_Return);
    return Memo(Form, "Memo2")->toPlainText() == QLatin1String("1+2 = 3");
}

// The file's bytes, or for a folder its entries.
QByteArray Snapshot(const QString& Path) {
    const QFileInfo Info(Path);
    if (Info.isDir())
        return QDir(Path).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).join(u'|').toUtf8();
    if (!Info.isFile()) return "not a file"; // a pipe is not opened: that would wait for a writer
    return QByteArray::number(Info.size()) + ':' + ReadBytes(Path).left(1 << 16);
}
} // namespace

class TestStateFiles : public QObject {
    Q_OBJECT
  private slots:
    void inputIsSavedWhileTypingAndOnEvaluation();
    void hostileStateFileLeavesWindowUsable_data();
    void hostileStateFileLeavesWindowUsable();
    void readOnlyFolderOnClosingKeepsFiles();
    void fullDiskOnClosingKeepsInput();
};

void TestStateFiles::inputIsSavedWhileTypingAndOnEvaluation() {
    TStateFolder S;
    const QString AutoSave = S.Path(QStringLiteral("AutoSave.txt"));
    TMainForm Form(S.Dir());
    Form.AutoSaver().SetDelay(100);
    Form.show();
    QVERIFY(QTest::qWaitForWindowActive(&Form));
    TMemo* M = Memo(Form, "Memo1");
    QTest::keyClicks(M, QStringLiteral("2+3"));
    // Without closing: what a crash would leave behind.
    QTRY_COMPARE_WITH_TIMEOUT(Utf16Text(ReadBytes(AutoSave)), QStringLiteral("2+3\r\n"), 5000);
    Form.AutoSaver().SetDelay(60 * 60 * 1000);
    QTest::keyClicks(M, QStringLiteral("+1"));
    QTest::keyClick(M, Qt::Key_Return);
    QCOMPARE(Memo(Form, "Memo2")->toPlainText(), QStringLiteral("2+3+1 = 6"));
    QCOMPARE(Utf16Text(ReadBytes(AutoSave)), QStringLiteral("2+3+1\r\n"));
    // Undo sets the whole text from the program; it is saved as well.
    Form.AutoSaver().SetDelay(100);
    Form.Action(QStringLiteral("EditUndo"))->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(Utf16Text(ReadBytes(AutoSave)), M->toPlainText() + QStringLiteral("\r\n"),
                              5000);
    QVERIFY(M->toPlainText() != QLatin1String("2+3+1"));
}

void TestStateFiles::hostileStateFileLeavesWindowUsable_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("startMessage"); // %1 is the file's path; empty: no message
    QTest::addColumn<int>("laterMessages");    // while evaluating and closing, each naming the file
    QTest::addColumn<bool>("kept");            // the file is as it was after closing

    const QString Ini = QStringLiteral("<ini>");
    QTest::newRow("binary settings: defaults") << Ini << "binary"
                                               << "" << 0 << false;
    QTest::newRow("huge settings") << Ini << "huge"
                                   << "" << 1 << true;
    QTest::newRow("settings file is a folder") << Ini << "folder"
                                               << "" << 1 << true;
    QTest::newRow("unreadable settings") << Ini << "unreadable"
                                         << "" << 1 << true;

    QTest::newRow("binary input file is loaded") << "AutoSave.txt"
                                                 << "binary"
                                                 << "" << 0 << false;
    QTest::newRow("huge input file") << "AutoSave.txt"
                                     << "huge"
                                     << "Cannot read '%1': it is larger than 16 MiB" << 0 << false;
    // The first write moves the folder aside to "AutoSave.txt.unread".
    QTest::newRow("input file is a folder") << "AutoSave.txt"
                                            << "folder"
                                            << "Cannot read '%1': it is a directory" << 0 << false;
    QTest::newRow("unreadable input file") << "AutoSave.txt"
                                           << "unreadable"
                                           << "Cannot open '%1': " << 0 << false;

    QTest::newRow("binary definitions run") << "InitDefs.txt"
                                            << "binary"
                                            << "" << 0 << true;
    QTest::newRow("huge definitions") << "InitDefs.txt"
                                      << "huge"
                                      << "Cannot read '%1': it is larger than 32 MiB" << 0 << true;
    QTest::newRow("definitions file is a folder") << "InitDefs.txt"
                                                  << "folder"
                                                  << "Cannot read '%1': it is a directory" << 0 << true;
    QTest::newRow("definitions file is a pipe") << "InitDefs.txt"
                                                << "pipe"
                                                << "Cannot read '%1': it is a pipe or socket" << 0 << true;
    QTest::newRow("unreadable definitions") << "InitDefs.txt"
                                            << "unreadable"
                                            << "Cannot open '%1': " << 0 << true;

    const QString MapError = QStringLiteral("An error occurred while loading '%1': ");
    QTest::newRow("binary symbol map") << "SymbolMap.txt"
                                       << "binary"
                                       << "" << 0 << true;
    QTest::newRow("huge symbol map") << "SymbolMap.txt"
                                     << "huge"
                                     << MapError + "Cannot read '%1': it is larger than 16 MiB. The command"
                                     << 0 << true;
    QTest::newRow("symbol map is a folder")
        << "SymbolMap.txt"
        << "folder" << MapError + "Cannot read '%1': it is a directory. The command" << 0 << true;
    QTest::newRow("unreadable symbol map") << "SymbolMap.txt"
                                           << "unreadable" << MapError + "Cannot open '%1': " << 0 << true;
}

void TestStateFiles::hostileStateFileLeavesWindowUsable() {
    QFETCH(QString, file);
    QFETCH(QString, fault);
    QFETCH(QString, startMessage);
    QFETCH(int, laterMessages);
    QFETCH(bool, kept);
    TStateFolder S;
    const QString Path = file == QLatin1String("<ini>") ? S.IniFile() : S.Path(file);
    QFile::remove(Path);
    // Just over each file's limit: 1 MiB for the settings, 32 MiB for programs, 16 MiB for the rest.
    const qint64 Huge = file == QLatin1String("<ini>")          ? (qint64(1) << 20) + 1
                        : file == QLatin1String("InitDefs.txt") ? (qint64(32) << 20) + 1
                                                                : (qint64(16) << 20) + 1;
    if (fault == QLatin1String("binary"))
        QVERIFY(WriteFile(Path, Garbage(1 << 16)));
    else if (fault == QLatin1String("huge"))
        QVERIFY(WriteSparseFile(Path, Huge));
    else if (fault == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(Path + QStringLiteral("/inside")));
    else if (fault == QLatin1String("pipe"))
        QVERIFY(mkfifo(QFile::encodeName(Path).constData(), 0600) == 0);
    else
        QVERIFY(WriteFile(Path, "1") && QFile::setPermissions(Path, {}));
    const QByteArray Before = Snapshot(Path);

    std::optional<TAsOrdinaryUser> User;
    if (fault == QLatin1String("unreadable")) {
        QVERIFY(QFile::setPermissions(S.Dir(), QFile::Permissions(0x7777)));
        User.emplace();
        if (!User->Active()) QSKIP("file permissions cannot be made to apply here");
    }
    auto Answer = DismissDialogs();
    TMainForm Form(S.Dir());
    const QStringList Start = Answer.Texts();
    if (startMessage.isEmpty()) {
        QVERIFY2(Start.isEmpty(), qPrintable(Start.join(u'\n')));
    } else {
        QCOMPARE(Start.size(), 1);
        QVERIFY2(Start.first().startsWith(startMessage.arg(Path)), qPrintable(Start.first()));
    }
    QCOMPARE(Form.History().Count(), 1); // start-up went on to the end
    if (file == QLatin1String("AutoSave.txt") && fault == QLatin1String("binary"))
        QVERIFY(!Memo(Form, "Memo1")->toPlainText().isEmpty());
    if (file == QLatin1String("SymbolMap.txt"))
        QCOMPARE(Form.Action(QStringLiteral("FontToggleChar"))->isEnabled(), startMessage.isEmpty());

    QVERIFY(Usable(Form));
    Form.close();
    User.reset();
    const QStringList Later = Answer.Texts().mid(Start.size());
    QCOMPARE(Later.size(), laterMessages);
    for (const QString& Message : Later)
        QVERIFY2(Message.contains(Path), qPrintable(Message));
    if (kept) QCOMPARE(Snapshot(Path), Before);
    if (file == QLatin1String("AutoSave.txt") && fault == QLatin1String("folder"))
        QVERIFY(QFileInfo(Path + QStringLiteral(".unread")).isDir());
    QFile::setPermissions(Path, QFile::ReadOwner | QFile::WriteOwner);
}

void TestStateFiles::readOnlyFolderOnClosingKeepsFiles() {
    TStateFolder S;
    const QString AutoSave = S.Path(QStringLiteral("AutoSave.txt"));
    WriteUtf16File(AutoSave, QStringLiteral("old input"));
    QVERIFY(WriteFile(S.IniFile(), "[Settings]\nFontSize=12\n"));
    const QByteArray OldInput = ReadBytes(AutoSave);
    auto Answer = DismissDialogs();
    {
        TMainForm Form(S.Dir());
        QVERIFY(QFile::setPermissions(S.Dir(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther |
                                                   QFile::ExeOther));
        TAsOrdinaryUser User;
        if (!User.Active()) QSKIP("file permissions cannot be made to apply here");
        QVERIFY(Usable(Form));
        QCOMPARE(Answer.Count(), 1); // evaluating could not save the input
        QVERIFY2(Answer.Texts().first().startsWith(QStringLiteral("Cannot create '%1': ").arg(AutoSave)),
                 qPrintable(Answer.Texts().first()));
        Form.close();
    }
    QVERIFY(QFile::setPermissions(S.Dir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QCOMPARE(Answer.Count(), 3); // on closing: the settings and the input
    QVERIFY2(Answer.Texts()[1].startsWith(QStringLiteral("Cannot create '%1': ").arg(S.IniFile())),
             qPrintable(Answer.Texts()[1]));
    QVERIFY2(Answer.Texts()[2].startsWith(QStringLiteral("Cannot create '%1': ").arg(AutoSave)),
             qPrintable(Answer.Texts()[2]));
    QCOMPARE(ReadBytes(AutoSave), OldInput);
    QCOMPARE(ReadBytes(S.IniFile()), QByteArray("[Settings]\nFontSize=12\n"));
    QCOMPARE(QDir(S.Dir()).entryList(QDir::Files | QDir::Hidden).size(), 3); // no temporary file left
}

void TestStateFiles::fullDiskOnClosingKeepsInput() {
    TStateFolder S;
    const QString AutoSave = S.Path(QStringLiteral("AutoSave.txt"));
    WriteUtf16File(AutoSave, QStringLiteral("old input"));
    const QByteArray OldInput = ReadBytes(AutoSave);
    auto Answer = DismissDialogs();
    TMainForm Form(S.Dir());
    Form.AutoSaver().SetDelay(60 * 60 * 1000); // only closing writes
    Form.show();
    QVERIFY(QTest::qWaitForWindowActive(&Form));
    Memo(Form, "Memo1")->setPlainText(QString(100000, u'7'));
    {
        TFullDisk Disk(64 << 10); // the settings fit, the input does not
        Form.close();
    }
    QCOMPARE(Answer.Count(), 1);
    QVERIFY2(Answer.Texts().first().startsWith(QStringLiteral("Cannot write '%1': ").arg(AutoSave)),
             qPrintable(Answer.Texts().first()));
    QCOMPARE(ReadBytes(AutoSave), OldInput);
    QVERIFY(QFileInfo(S.IniFile()).isFile());
    QCOMPARE(QDir(S.Dir()).entryList(QDir::Files | QDir::Hidden).size(), 3);
}

QTEST_MAIN(TestStateFiles)
#include "TestStateFiles.moc"
