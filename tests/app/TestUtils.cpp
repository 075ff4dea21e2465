// The shell helpers: file-name rules, the calculator's text files (encodings,
// line breaks, atomic replacement), the state folder and the command line.
#include "Utils.h"

#include "AppTestSupport.h"
#include "Platform.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class TestUtils : public QObject {
    Q_OBJECT
  private slots:
    void isValidFileName_data();
    void isValidFileName();
    void removeFileExt_data();
    void removeFileExt();
    void readTextFileDecodes_data();
    void readTextFileDecodes();
    void writeTextFileWritesUtf16WithBom_data();
    void writeTextFileWritesUtf16WithBom();
    void failedWriteKeepsTheOldFile();
    void missingFileNamesIt();
    void readTextFileRefusesWhatCannotBeText_data();
    void readTextFileRefusesWhatCannotBeText();
    void stateDirFallsBackToConfigDir();
    void commandLineJoinsArguments_data();
    void commandLineJoinsArguments();

  private:
    QTemporaryDir FDir;
};

void TestUtils::isValidFileName_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::newRow("empty") << "" << false;
    QTest::newRow("plain name with extension") << "InitDefs.txt" << true;
    QTest::newRow("question mark") << "what?.txt" << false;
    QTest::newRow("drive letter and colon") << "C:\\defs.txt" << false;
    QTest::newRow("slash") << "a/b" << false;
    QTest::newRow("pipe") << "a|b" << false;
    QTest::newRow("characters above U+00FF") << "\u03A3\u0436.txt" << true;
}

void TestUtils::isValidFileName() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(IsValidFileName(text), valid);
}

void TestUtils::removeFileExt_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("result");
    QTest::newRow("extension") << "Sumtra.exe"
                               << "Sumtra";
    QTest::newRow("no extension stays whole") << "sumtra"
                                              << "sumtra";
    QTest::newRow("only the last extension") << "a.b.c"
                                             << "a.b";
    QTest::newRow("only dot first gives empty") << ".hidden"
                                                << "";
    QTest::newRow("dot in a folder name") << "dir.x\\name"
                                          << "dir.x\\name";
    QTest::newRow("dot in a folder name, slash") << "/opt/dir.x/name"
                                                 << "/opt/dir.x/name";
}

void TestUtils::removeFileExt() {
    QFETCH(QString, name);
    QFETCH(QString, result);
    QCOMPARE(RemoveFileExt(name), result);
}

void TestUtils::readTextFileDecodes_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("UTF-16LE with byte-order mark") << QByteArray("\xFF\xFE"
                                                                 "a\0\xC0\x03\r\0\n\0"
                                                                 "b\0",
                                                                 12)
                                                   << "a\u03C0\nb";
    QTest::newRow("UTF-16LE without mark (NUL bytes)") << QByteArray("1\0+\0"
                                                                     "2\0",
                                                                     6)
                                                       << "1+2";
    QTest::newRow("UTF-8") << QByteArray("x \xE2\x88\x99 2\n") << "x \u2219 2";
    QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBFok") << "ok";
    QTest::newRow("one final line break dropped") << QByteArray("a\r\n\r\n") << "a\n";
    QTest::newRow("lone CR is a line break") << QByteArray("a\rb") << "a\nb";
    QTest::newRow("empty") << QByteArray() << "";
}

void TestUtils::readTextFileDecodes() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    const QString FileName = FDir.filePath(QStringLiteral("read.txt"));
    QFile File(FileName);
    QVERIFY(File.open(QIODevice::WriteOnly));
    File.write(bytes);
    File.close();
    QCOMPARE(ReadTextFile(FileName), text);
}

void TestUtils::writeTextFileWritesUtf16WithBom_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("every line ends with CR LF") << "a\nb"
                                                << QByteArray("\xFF\xFE"
                                                              "a\0\r\0\n\0"
                                                              "b\0\r\0\n\0",
                                                              14);
    QTest::newRow("empty text is the mark alone") << "" << QByteArray("\xFF\xFE");
    QTest::newRow("a last line break ends an empty line") << "a\n" << QByteArray("\xFF\xFE"
                                                                                  "a\0\r\0\n\0\r\0\n\0",
                                                                                  12);
    QTest::newRow("non-Latin characters") << "\u03C0" << QByteArray("\xFF\xFE\xC0\x03\r\0\n\0", 8);
}

void TestUtils::writeTextFileWritesUtf16WithBom() {
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    const QString FileName = FDir.filePath(QStringLiteral("write.txt"));
    WriteTextFile(FileName, text);
    QCOMPARE(ReadBytes(FileName), bytes);
    QCOMPARE(ReadTextFile(FileName), text);
}

void TestUtils::failedWriteKeepsTheOldFile() {
    const QString Sub = FDir.filePath(QStringLiteral("locked"));
    QVERIFY(QDir().mkpath(Sub));
    const QString FileName = Sub + QStringLiteral("/AutoSave.txt");
    WriteTextFile(FileName, QStringLiteral("old"));
    QFile::setPermissions(Sub, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool CanStillWrite = QFile(Sub + QStringLiteral("/probe")).open(QIODevice::WriteOnly);
    if (!CanStillWrite) {
        QVERIFY_THROWS_EXCEPTION(EFileError, WriteTextFile(FileName, QStringLiteral("new")));
        QCOMPARE(ReadTextFile(FileName), QStringLiteral("old"));
    }
    QFile::setPermissions(Sub, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    // Whatever the rights, a folder standing where the file goes cannot be replaced.
    const QString Blocked = FDir.filePath(QStringLiteral("blocked"));
    QVERIFY(QDir().mkpath(Blocked + QStringLiteral("/inside")));
    QVERIFY_THROWS_EXCEPTION(EFileError, WriteTextFile(Blocked, QStringLiteral("new")));
    QVERIFY(QFileInfo(Blocked + QStringLiteral("/inside")).isDir());
}

void TestUtils::missingFileNamesIt() {
    const QString FileName = FDir.filePath(QStringLiteral("absent.txt"));
    try {
        ReadTextFile(FileName);
        QFAIL("no error");
    } catch (const EFileError& E) {
        QVERIFY2(QString::fromUtf8(E.what()).startsWith(QStringLiteral("Cannot open '%1': ").arg(FileName)),
                 E.what());
    }
}

void TestUtils::readTextFileRefusesWhatCannotBeText_data() {
    QTest::addColumn<QString>("path"); // "<huge>" and "<folder>" are made by the test
    QTest::addColumn<QString>("message");
    QTest::newRow("folder") << "<folder>"
                            << "Cannot read '%1': it is a directory";
    QTest::newRow("one byte over the limit") << "<huge>"
                                             << "Cannot read '%1': it is larger than 16 MiB";
    QTest::newRow("endless device") << "/dev/zero"
                                    << "Cannot read '%1': it is larger than 16 MiB";
}

void TestUtils::readTextFileRefusesWhatCannotBeText() {
    QFETCH(QString, path);
    QFETCH(QString, message);
    if (path == QLatin1String("<folder>")) {
        path = FDir.filePath(QStringLiteral("folder"));
        QVERIFY(QDir().mkpath(path));
    } else if (path == QLatin1String("<pipe>")) {
        path = FDir.filePath(QStringLiteral("pipe"));
        QVERIFY(mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    } else if (path == QLatin1String("<huge>")) {
        path = FDir.filePath(QStringLiteral("huge.txt"));
        QFile File(path);
        QVERIFY(File.open(QIODevice::WriteOnly) && File.resize(MaxShellTextFileSize + 1));
    }
    try {
        ReadTextFile(path);
        QFAIL("no error");
    } catch (const EFileError& E) {
        QCOMPARE(QString::fromUtf8(E.what()), message.arg(path));
    }
}

void TestUtils::stateDirFallsBackToConfigDir() {
    const QString Exe = FDir.path() + u'/';
    const QString Config = FDir.filePath(QStringLiteral("config/Sumtra"));
    QCOMPARE(StateDirFor(Exe, Config), Exe);
    QVERIFY(!QFileInfo::exists(Config));
    // /proc refuses new files whoever asks.
    QCOMPARE(StateDirFor(QStringLiteral("/proc/"), Config), Config + u'/');
    QVERIFY(QFileInfo(Config).isDir());
}

void TestUtils::commandLineJoinsArguments_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("given");
    QTest::addColumn<QString>("text");
    QTest::newRow("no argument") << QStringList{"sumtra"} << false << "";
    QTest::newRow("one argument") << QStringList{"sumtra", "1+2"} << true << "1+2";
    QTest::newRow("several joined by spaces")
        << QStringList{"sumtra", "x", ":=", "2;", "x*3"} << true << "x := 2; x*3";
    QTest::newRow("empty argument still counts") << QStringList{"sumtra", ""} << true << "";
}

void TestUtils::commandLineJoinsArguments() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, given);
    QFETCH(QString, text);
    const auto Result = CommandLineText(arguments);
    QCOMPARE(Result.has_value(), given);
    if (given) QCOMPARE(*Result, text);
}

QTEST_MAIN(TestUtils)
#include "TestUtils.moc"
