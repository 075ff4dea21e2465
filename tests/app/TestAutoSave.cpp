// The input saver: written a short time after a change even while typing goes
// on, written atomically, and a failed write (read-only folder, a folder in the
// file's place, a full disk, a vanished folder) reported once and leaving the
// previous file as it was.
#include "AutoSave.h"

#include "AppTestSupport.h"
#include "Utils.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
QString FileText(const QString& FileName) {
    return Utf16Text(ReadBytes(FileName));
}
} // namespace

class TestAutoSave : public QObject {
    Q_OBJECT
  private slots:
    void init();

    void changeIsWrittenAfterTheDelay();
    void steadyTypingIsStillWritten();
    void writesUtf16WithMarkAndCrLf();
    void unreadFileIsNotReplacedByEmptyText();
    void failedWriteKeepsOldFileAndIsReportedOnce_data();
    void failedWriteKeepsOldFileAndIsReportedOnce();
    void vanishedFileIsWrittenAgain();
    void fileWrittenByAnotherWindowIsReplaced();

  private:
    std::unique_ptr<QTemporaryDir> FDir;
    QString FFile;
    QString FText;
};

void TestAutoSave::init() {
    FDir = std::make_unique<QTemporaryDir>();
    QVERIFY(FDir->isValid());
    FFile = FDir->filePath(QStringLiteral("AutoSave.txt"));
    FText.clear();
}

void TestAutoSave::changeIsWrittenAfterTheDelay() {
    TAutoSaver Saver(FFile, [this] { return FText; });
    Saver.SetDelay(100);
    FText = QStringLiteral("1+1");
    Saver.Changed();
    QVERIFY(Saver.Pending());
    QVERIFY(!QFileInfo::exists(FFile));
    QTRY_COMPARE_WITH_TIMEOUT(FileText(FFile), QStringLiteral("1+1\r\n"), 5000);
    QVERIFY(!Saver.Pending());
}

void TestAutoSave::steadyTypingIsStillWritten() {
    TAutoSaver Saver(FFile, [this] { return FText; });
    Saver.SetDelay(100);
    // A change every 10 ms never leaves a quiet moment; the text is written all the same.
    QElapsedTimer Clock;
    Clock.start();
    while (!QFileInfo::exists(FFile) && Clock.elapsed() < 5000) {
        FText += u'1';
        Saver.Changed();
        QTest::qWait(10);
    }
    QVERIFY(QFileInfo::exists(FFile));
    QVERIFY(FText.startsWith(FileText(FFile).chopped(2)));
}

void TestAutoSave::writesUtf16WithMarkAndCrLf() {
    TAutoSaver Saver(FFile, [this] { return FText; });
    FText = QStringLiteral("a := 1\n\u03C0");
    QCOMPARE(Saver.Write(), std::nullopt);
    QCOMPARE(ReadBytes(FFile), QByteArray("\xFF\xFE"
                                          "a\0 \0:\0=\0 \0"
                                          "1\0\r\0\n\0\xC0\x03\r\0\n\0",
                                          24));
    QCOMPARE(ReadTextFile(FFile), FText);
}

void TestAutoSave::unreadFileIsNotReplacedByEmptyText() {
    WriteUtf16File(FFile, QStringLiteral("kept"));
    TAutoSaver Saver(FFile, [this] { return FText; });
    Saver.KeepUnread();
    QCOMPARE(Saver.Write(), std::nullopt);
    QCOMPARE(FileText(FFile), QStringLiteral("kept"));
    FText = QStringLiteral("typed");
    QCOMPARE(Saver.Write(), std::nullopt);
    QCOMPARE(FileText(FFile), QStringLiteral("typed\r\n"));
    // What could not be read is kept beside it, under a name not yet taken.
    QCOMPARE(FileText(FFile + QStringLiteral(".unread")), QStringLiteral("kept"));
    TAutoSaver Again(FFile, [this] { return FText; });
    Again.KeepUnread();
    FText = QStringLiteral("more");
    QCOMPARE(Again.Write(), std::nullopt);
    QCOMPARE(FileText(FFile + QStringLiteral(".unread")), QStringLiteral("kept"));
    QCOMPARE(FileText(FFile + QStringLiteral(".unread2")), QStringLiteral("typed\r\n"));
}

void TestAutoSave::failedWriteKeepsOldFileAndIsReportedOnce_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    QTest::newRow("read-only folder") << "read-only folder"
                                      << "Cannot create '%1': ";
    QTest::newRow("full disk") << "full disk"
                               << "Cannot write '%1': ";
    QTest::newRow("folder removed") << "folder removed"
                                    << "Cannot create '%1': ";
}

void TestAutoSave::failedWriteKeepsOldFileAndIsReportedOnce() {
    QFETCH(QString, fault);
    QFETCH(QString, message);
    const QByteArray Old = QByteArray("\xFF\xFE"
                                      "o\0l\0d\0",
                                      8);
    {
        QFile File(FFile);
        QVERIFY(File.open(QIODevice::WriteOnly));
        File.write(Old);
    }
    TAutoSaver Saver(FFile, [this] { return FText; });
    Saver.SetDelay(100);
    FText = QString(4096, u'x');
    auto Answer = DismissDialogs();
    {
        std::optional<TAsOrdinaryUser> User;
        std::optional<TFullDisk> Disk;
        if (fault == QLatin1String("read-only folder")) {
            QVERIFY(QFile::setPermissions(FDir->path(), QFile::ReadOwner | QFile::ExeOwner |
                                                            QFile::ReadOther | QFile::ExeOther));
            User.emplace();
            if (!User->Active()) QSKIP("file permissions cannot be made to apply here");
        } else if (fault == QLatin1String("full disk")) {
            Disk.emplace(1024);
        } else {
            QVERIFY(QDir(FDir->path()).removeRecursively());
        }
        Saver.Save();
        Saver.Save();
        FText += u'y';
        Saver.Changed();
        QTRY_VERIFY_WITH_TIMEOUT(!Saver.Pending(), 10000); // the timer's save fails the same way
    }
    QCOMPARE(Answer.Count(), 1);
    QVERIFY2(Answer.Texts().first().startsWith(message.arg(FFile)), qPrintable(Answer.Texts().first()));
    QVERIFY(!Saver.Pending());
    if (fault != QLatin1String("folder removed")) {
        QCOMPARE(ReadBytes(FFile), Old);
        QCOMPARE(QDir(FDir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"AutoSave.txt"});
    }
    QVERIFY(QDir().mkpath(FDir->path()));
    QVERIFY(QFile::setPermissions(FDir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    // Once writing works again the text is written, and a new failure is shown again.
    Saver.Save();
    QCOMPARE(FileText(FFile), FText + QStringLiteral("\r\n"));
    QCOMPARE(Answer.Count(), 1);
    QVERIFY(QDir(FDir->path()).removeRecursively());
    Saver.Save();
    Saver.Save();
    QCOMPARE(Answer.Count(), 2);
}

void TestAutoSave::vanishedFileIsWrittenAgain() {
    TAutoSaver Saver(FFile, [this] { return FText; });
    FText = QStringLiteral("1");
    QCOMPARE(Saver.Write(), std::nullopt);
    QVERIFY(QFile::remove(FFile));
    QCOMPARE(Saver.Write(), std::nullopt);
    QCOMPARE(FileText(FFile), QStringLiteral("1\r\n"));
}

// Two windows share the file: the one that writes last leaves its text,
// although it wrote the same text before.
void TestAutoSave::fileWrittenByAnotherWindowIsReplaced() {
    const QString First = QStringLiteral("first window");
    const QString Second = QStringLiteral("second window");
    TAutoSaver A(FFile, [&] { return First; });
    TAutoSaver B(FFile, [&] { return Second; });
    QVERIFY(!A.Write());
    QVERIFY(!B.Write());
    QCOMPARE(FileText(FFile), Second + QStringLiteral("\r\n"));
    QVERIFY(!A.Write());
    QCOMPARE(FileText(FFile), First + QStringLiteral("\r\n"));
}

QTEST_MAIN(TestAutoSave)
#include "TestAutoSave.moc"
