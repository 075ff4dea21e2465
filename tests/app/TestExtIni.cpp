// The settings file: the exact text written, other keys kept, typed reads with
// ranges and defaults, colours, rectangles fitted into the work area, and lists.
#include "ExtIni.h"

#include "AppTestSupport.h"
#include "ShortCut.h"
#include "Utils.h"

#include <QGuiApplication>
#include <QLocale>
#include <QPalette>
#include <QTemporaryDir>
#include <QTest>

#include <climits>

namespace {
QString ReadText(const QString& FileName) {
    return QString::fromUtf8(ReadBytes(FileName));
}

void WriteBytes(const QString& FileName, const QByteArray& Bytes) {
    QFile File(FileName);
    if (!File.open(QIODevice::WriteOnly)) qFatal("cannot write");
    File.write(Bytes);
}
} // namespace

class TestExtIni : public QObject {
    Q_OBJECT
  private slots:
    void init();

    void writesPlainKeyValueLines();
    void writingOneKeyKeepsEverythingElse();
    void readsUtf16AndCrLfFiles();
    void getInt_data();
    void getInt();
    void getBool_data();
    void getBool();
    void getChar_data();
    void getChar();
    void getFilenameAcceptsBareNamesOnly_data();
    void getFilenameAcceptsBareNamesOnly();
    void colorsUseTheStoredEncoding_data();
    void colorsUseTheStoredEncoding();
    void fontRoundTripKeepsSizeInRange();
    void getRectFitsIntoEnvelope_data();
    void getRectFitsIntoEnvelope();
    void stringListsHonourCount_data();
    void stringListsHonourCount();
    void floatsUseLocaleAndRange();
    void unwritableFileThrows();
    void writtenValuesReadBackAndKeepOtherKeys_data();
    void writtenValuesReadBackAndKeepOtherKeys();
    void setCharWritesNamesThatReadBack_data();
    void setCharWritesNamesThatReadBack();
    void lineBreaksInValuesStayOnTheirLine();
    void damagedStringCountIsBoundedByTheFile();
    void hugeFileGivesDefaultsAndIsKept();
    void fullDiskKeepsTheOldFile();

  private:
    QTemporaryDir FDir;
    QString FFile;
};

void TestExtIni::init() {
    QVERIFY(FDir.isValid());
    FFile = FDir.filePath(QStringLiteral("t.ini"));
    QFile::remove(FFile);
}

void TestExtIni::writesPlainKeyValueLines() {
    TIniFileEx Ini(FFile);
    QCOMPARE(Ini.Section(), QStringLiteral("Default"));
    Ini.SetSection(QStringLiteral("Settings"));
    Ini.SetStr(QStringLiteral("FontName"), QStringLiteral("Courier New"));
    Ini.SetInt(QStringLiteral("FontSize"), 18);
    Ini.SetBool(QStringLiteral("OnTop"), false);
    Ini.SetColor(QStringLiteral("BackColor"), clBtnFace);
    Ini.SetRect(QStringLiteral("Form"), TRect{-5, 10, 300, 200});
    Ini.SetSection(QStringLiteral("Shortcuts"));
    Ini.SetHotkey(QStringLiteral("ParserIncreaseDigits"), scCtrl | vkUp);
    Ini.SetHotkey(QStringLiteral("FontGrow"), -1); // stored as an unsigned 16-bit number
    QCOMPARE(ReadText(FFile), QStringLiteral("[Settings]\nFontName=Courier New\nFontSize=18\nOnTop=0\n"
                                             "BackColor=-16777201\nFormLeft=-5\nFormTop=10\nFormRight=300\n"
                                             "FormBottom=200\n\n[Shortcuts]\nParserIncreaseDigits=16422\n"
                                             "FontGrow=65535\n"));
}

void TestExtIni::writingOneKeyKeepsEverythingElse() {
    WriteBytes(FFile,
               "; comment\n[Keyboard]\nFormLeft=1\n\n[Settings]\nfontsize = 12\nOther=x=y\n\n[Extra]\nk=v\n");
    TIniFileEx Ini(FFile);
    Ini.SetSection(QStringLiteral("Settings"));
    Ini.SetInt(QStringLiteral("FontSize"), 14); // keys and sections match in any letter case
    Ini.SetBool(QStringLiteral("Menu"), true);
    QCOMPARE(ReadText(FFile), QStringLiteral("; comment\n[Keyboard]\nFormLeft=1\n\n[Settings]\nFontSize=14\n"
                                             "Other=x=y\nMenu=1\n\n[Extra]\nk=v\n"));
    QCOMPARE(Ini.GetStr(QStringLiteral("Other"), QString()), QStringLiteral("x=y"));
    Ini.SetSection(QStringLiteral("keyboard"));
    QCOMPARE(Ini.GetInt(QStringLiteral("FormLeft"), 0), 1);
}

void TestExtIni::readsUtf16AndCrLfFiles() {
    QString Text = QStringLiteral("[Settings]\r\nFontName=\u0393rid\r\n");
    QByteArray Utf16("\xFF\xFE", 2);
    for (QChar C : Text)
        Utf16.append(static_cast<char>(C.unicode() & 0xFF)).append(static_cast<char>(C.unicode() >> 8));
    WriteBytes(FFile, Utf16);
    TIniFileEx Ini(FFile);
    Ini.SetSection(QStringLiteral("Settings"));
    QCOMPARE(Ini.GetStr(QStringLiteral("FontName"), QString()), QStringLiteral("\u0393rid"));
    Ini.SetInt(QStringLiteral("FontSize"), 9); // encoding and line breaks kept
    QCOMPARE(ReadBytes(FFile).left(2), QByteArray("\xFF\xFE"));
    QCOMPARE(Utf16Text(ReadBytes(FFile)),
             QStringLiteral("[Settings]\r\nFontName=\u0393rid\r\nFontSize=9\r\n"));
}

// Found while writing the settings fuzz target: each row once broke other keys
// or the value itself.
void TestExtIni::writtenValuesReadBackAndKeepOtherKeys_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("written"); // the file afterwards
    // A NUL byte made the next reading take the whole file for UTF-16LE.
    QTest::newRow("NUL character, UTF-8 file")
        << QByteArray("[Default]\nK=1\n") << QByteArray("\xEF\xBB\xBF[Default]\nK=1\nC=none\nV=a\0b\n", 30);
    // Read as UTF-16LE for its NUL bytes, written back as UTF-8: NULs again, and garbage.
    QTest::newRow("UTF-16LE file without mark")
        << QByteArray("[\0D\0e\0f\0a\0u\0l\0t\0]\0\n\0K\0=\0\x31\0\n\0", 28)
        << QByteArray("\xFF\xFE[\0D\0e\0f\0a\0u\0l\0t\0]\0\n\0K\0=\0\x31\0\n\0"
                      "C\0=\0n\0o\0n\0e\0\n\0V\0=\0a\0\0\0b\0\n\0",
                      56);
}

void TestExtIni::writtenValuesReadBackAndKeepOtherKeys() {
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, written);
    WriteBytes(FFile, file);
    TIniFileEx Ini(FFile);
    Ini.SetChar(QStringLiteral("C"), QChar(0));
    Ini.SetStr(QStringLiteral("V"), QString::fromUtf16(u"a\0b", 3));
    QCOMPARE(ReadBytes(FFile), written);
    QCOMPARE(Ini.GetInt(QStringLiteral("K"), 0), 1);
    QCOMPARE(Ini.GetChar(QStringLiteral("C"), u'x'), QChar(0));
    QCOMPARE(Ini.GetStr(QStringLiteral("V"), QString()), QString::fromUtf16(u"a\0b", 3));
}

void TestExtIni::setCharWritesNamesThatReadBack_data() {
    QTest::addColumn<QChar>("ch");
    QTest::addColumn<QString>("text");
    QTest::newRow("space (was trimmed away)") << QChar(u' ') << "space";
    QTest::newRow("tab (was trimmed away)") << QChar(u'\t') << "tab";
    QTest::newRow("NUL") << QChar(0) << "none";
    QTest::newRow("letter") << QChar(u's') << "s";
}

void TestExtIni::setCharWritesNamesThatReadBack() {
    QFETCH(QChar, ch);
    QFETCH(QString, text);
    TIniFileEx Ini(FFile);
    Ini.SetChar(QStringLiteral("C"), ch);
    QCOMPARE(Ini.GetStr(QStringLiteral("C"), QString()), text);
    QCOMPARE(Ini.GetChar(QStringLiteral("C"), u'x'), ch);
}

// A value with a line break used to start a line of its own: a key of its
// choosing, or a section that took the keys after it.
void TestExtIni::lineBreaksInValuesStayOnTheirLine() {
    WriteBytes(FFile, "[Settings]\nMenu=1\n");
    TIniFileEx Ini(FFile);
    Ini.SetSection(QStringLiteral("Settings"));
    Ini.SetStr(QStringLiteral("FontName"), QStringLiteral("x\n[Other]\r\nMenu=0"));
    Ini.SetBool(QStringLiteral("Titlebar"), false);
    QCOMPARE(ReadText(FFile), QStringLiteral("[Settings]\nMenu=1\nFontName=x [Other]  Menu=0\nTitlebar=0\n"));
    QCOMPARE(Ini.GetBool(QStringLiteral("Menu"), false), true);
}

// A damaged Count once made RestoreStrings read the file two billion times.
void TestExtIni::damagedStringCountIsBoundedByTheFile() {
    WriteBytes(FFile, "[Default]\nItemCount=2147483647\nItem1=a\nItem3=c\n");
    QStringList Read;
    TIniFileEx(FFile).RestoreStrings(QStringLiteral("Item"), Read, 0);
    QCOMPARE(Read, (QStringList{"a", "", "c"})); // as many as the section has keys
}

// Too large to be settings: read as missing, and never written over.
void TestExtIni::hugeFileGivesDefaultsAndIsKept() {
    {
        QFile File(FFile);
        QVERIFY(File.open(QIODevice::WriteOnly));
        File.write("[Default]\nA=7\n");
        QVERIFY(File.resize(MaxIniFileSize + 1));
    }
    TIniFileEx Ini(FFile);
    QCOMPARE(Ini.GetInt(QStringLiteral("A"), 5), 5);
    try {
        Ini.SetInt(QStringLiteral("A"), 1);
        QFAIL("no exception");
    } catch (const EFileError& E) {
        QCOMPARE(QString::fromUtf8(E.what()),
                 QStringLiteral("Cannot read '%1': it is larger than 1 MiB").arg(FFile));
    }
    QCOMPARE(QFileInfo(FFile).size(), MaxIniFileSize + 1);
}

// Qt counted a write cut short by a full disk as complete, so the settings
// file was replaced by its first part.
void TestExtIni::fullDiskKeepsTheOldFile() {
    QByteArray Old = "[Default]\n";
    for (int I = 0; I < 200; ++I)
        Old += "Key" + QByteArray::number(I) + "=" + QByteArray(20, 'v') + "\n";
    WriteBytes(FFile, Old);
    TIniFileEx Ini(FFile);
    {
        TFullDisk Disk(Old.size() / 2);
        QVERIFY_THROWS_EXCEPTION(EFileError, Ini.SetInt(QStringLiteral("A"), 1));
    }
    QCOMPARE(ReadBytes(FFile), Old);
    QCOMPARE(QDir(FDir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"t.ini"});
}

void TestExtIni::getInt_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("result");
    QTest::newRow("decimal") << "42" << 42;
    QTest::newRow("negative") << "-7" << -7;
    QTest::newRow("dollar hexadecimal") << "$1F" << 31;
    QTest::newRow("0x hexadecimal") << "0X1f" << 31;
    QTest::newRow("hexadecimal wraps to signed") << "$FFFFFFFF" << -1;
    QTest::newRow("lowest in range") << "-2147483647" << -2147483647;
    QTest::newRow("below the range gives the default") << "-2147483648" << 99;
    QTest::newRow("beyond 32 bits gives the default") << "2147483648" << 99;
    QTest::newRow("text gives the default") << "12a" << 99;
    QTest::newRow("empty gives the default") << "" << 99;
    QTest::newRow("missing gives the default") << "<missing>" << 99;
}

void TestExtIni::getInt() {
    QFETCH(QString, value);
    QFETCH(int, result);
    if (value != QLatin1String("<missing>")) WriteBytes(FFile, "[Default]\nKey=" + value.toUtf8() + "\n");
    const TIniFileEx Ini(FFile);
    QCOMPARE(Ini.GetInt(QStringLiteral("Key"), -2147483647, 2147483647, 99), result);
}

void TestExtIni::getBool_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("fallback");
    QTest::addColumn<bool>("result");
    QTest::newRow("TRUE in capitals") << "TRUE" << false << true;
    QTest::newRow("False") << "False" << true << false;
    QTest::newRow("1") << "1" << false << true;
    QTest::newRow("any non-zero number") << "-3" << false << true;
    QTest::newRow("0x0") << "0x0" << true << false;
    QTest::newRow("yes gives the default") << "yes" << true << true;
    QTest::newRow("yes gives the default (false)") << "yes" << false << false;
    QTest::newRow("missing gives the default") << "<missing>" << true << true;
}

void TestExtIni::getBool() {
    QFETCH(QString, value);
    QFETCH(bool, fallback);
    QFETCH(bool, result);
    if (value != QLatin1String("<missing>"))
        WriteBytes(FFile, "[Default]\nTitlebar=" + value.toUtf8() + "\n");
    QCOMPARE(TIniFileEx(FFile).GetBool(QStringLiteral("Titlebar"), fallback), result);
}

void TestExtIni::getChar_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("result");
    QTest::newRow("space") << "Space" << 0x20;
    QTest::newRow("tab") << "tab" << 0x09;
    QTest::newRow("none") << "none" << 0;
    QTest::newRow("first character") << "xyz" << int('x');
    QTest::newRow("empty gives the default") << "" << int('d');
    QTest::newRow("missing gives the default") << "<missing>" << int('d');
}

void TestExtIni::getChar() {
    QFETCH(QString, value);
    QFETCH(int, result);
    if (value != QLatin1String("<missing>")) WriteBytes(FFile, "[Default]\nC=" + value.toUtf8() + "\n");
    TIniFileEx Ini(FFile);
    QCOMPARE(Ini.GetChar(QStringLiteral("C"), u'd').unicode(), result);
    Ini.SetChar(QStringLiteral("C"), u'\u03A3');
    QCOMPARE(Ini.GetStr(QStringLiteral("C"), QString()), QStringLiteral("\u03A3"));
}

void TestExtIni::getFilenameAcceptsBareNamesOnly_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("result");
    QTest::newRow("bare name") << "defs.txt"
                               << "defs.txt";
    QTest::newRow("drive and colon") << "C:defs.txt"
                                     << "default.txt";
    QTest::newRow("backslash folder") << "dir\\defs.txt"
                                      << "default.txt";
    QTest::newRow("slash folder") << "dir/defs.txt"
                                  << "default.txt";
    QTest::newRow("empty") << ""
                           << "default.txt";
}

void TestExtIni::getFilenameAcceptsBareNamesOnly() {
    QFETCH(QString, value);
    QFETCH(QString, result);
    WriteBytes(FFile, "[Default]\nFile=" + value.toUtf8() + "\n");
    QCOMPARE(TIniFileEx(FFile).GetFilename(QStringLiteral("File"), QStringLiteral("default.txt")), result);
}

void TestExtIni::colorsUseTheStoredEncoding_data() {
    QTest::addColumn<int>("stored");
    QTest::addColumn<QColor>("color");
    QTest::newRow("maroon") << 128 << QColor(128, 0, 0);
    QTest::newRow("blue in bits 16-23") << 0xFF0000 << QColor(0, 0, 255);
    QTest::newRow("white") << 16777215 << QColor(255, 255, 255);
    QTest::newRow("button face comes from the palette")
        << int(clBtnFace) << QGuiApplication::palette().color(QPalette::Button);
    QTest::newRow("window text comes from the palette")
        << int(0xFF000008u) << QGuiApplication::palette().color(QPalette::Text);
}

void TestExtIni::colorsUseTheStoredEncoding() {
    QFETCH(int, stored);
    QFETCH(QColor, color);
    QCOMPARE(ColorToQColor(stored), color);
    QCOMPARE(ColorToQColor(QColorToColor(color)), color); // written as a direct colour, read back the same
    if ((stored & 0xFF000000) == 0) QCOMPARE(QColorToColor(color), stored);
}

void TestExtIni::fontRoundTripKeepsSizeInRange() {
    QFont Font(QStringLiteral("Courier New"));
    Font.setPointSize(12);
    Font.setItalic(true);
    Font.setUnderline(true);
    Font.setStrikeOut(true);
    TIniFileEx Ini(FFile);
    Ini.SaveFont(QStringLiteral("Font"), Font, QColor(1, 2, 3));
    QCOMPARE(ReadText(FFile),
             QStringLiteral("[Default]\nFontName=Courier New\nFontSize=12\nFontColor=197121\n"
                            "FontStyle=6\n"));
    QFont Read(QStringLiteral("Other"));
    Read.setPointSize(18);
    Read.setBold(true);
    QColor Color(Qt::black);
    Ini.RestoreFont(QStringLiteral("Font"), 8, 30, Read, Color);
    QCOMPARE(Read.family(), QStringLiteral("Courier New"));
    QCOMPARE(Read.pointSize(), 12);
    QCOMPARE(FontStyleBits(Read), 6);
    QCOMPARE(Color, QColor(1, 2, 3));
    Ini.SetInt(QStringLiteral("FontSize"), 40);
    Ini.RestoreFont(QStringLiteral("Font"), 8, 30, Read, Color);
    QCOMPARE(Read.pointSize(), 12); // out of range: the font's own size stays
}

void TestExtIni::getRectFitsIntoEnvelope_data() {
    QTest::addColumn<TRect>("stored");
    QTest::addColumn<TRect>("envelope");
    QTest::addColumn<TRect>("result");
    const TRect Work{0, 0, 1000, 700};
    QTest::newRow("inside stays") << TRect{10, 20, 310, 220} << Work << TRect{10, 20, 310, 220};
    QTest::newRow("wider than the work area takes its left and right")
        << TRect{-50, 20, 1200, 220} << Work << TRect{0, 20, 1000, 220};
    QTest::newRow("hanging off the right moves left, width kept")
        << TRect{900, 20, 1100, 220} << Work << TRect{800, 20, 1000, 220};
    QTest::newRow("left of the work area moves right")
        << TRect{-100, -30, 100, 170} << Work << TRect{0, 0, 200, 200};
    QTest::newRow("taller than the work area") << TRect{10, -5, 110, 900} << Work << TRect{10, 0, 110, 700};
    QTest::newRow("swapped edges are put in order")
        << TRect{310, 220, 10, 20} << Work << TRect{10, 20, 310, 220};
    QTest::newRow("on another monitor comes back")
        << TRect{1900, 100, 2300, 400} << TRect{0, 30, 1000, 730} << TRect{600, 100, 1000, 400};
    QTest::newRow("all-zero envelope leaves it")
        << TRect{-50, 20, 1200, 220} << TRect{} << TRect{-50, 20, 1200, 220};
}

void TestExtIni::getRectFitsIntoEnvelope() {
    QFETCH(TRect, stored);
    QFETCH(TRect, envelope);
    QFETCH(TRect, result);
    TIniFileEx Ini(FFile);
    Ini.SetRect(QStringLiteral("Form"), stored);
    QCOMPARE(Ini.GetRect(QStringLiteral("Form"), TRect{1, 2, 3, 4}, envelope), result);
}

void TestExtIni::stringListsHonourCount_data() {
    QTest::addColumn<int>("saveCount");
    QTest::addColumn<int>("restoreCount");
    QTest::addColumn<QStringList>("result");
    QTest::newRow("no limits") << 0 << 0 << QStringList{"a", "", "c"};
    QTest::newRow("saved two") << 2 << 0 << QStringList{"a", ""};
    QTest::newRow("restored one") << 0 << 1 << QStringList{"a"};
    QTest::newRow("negative means no limit") << -1 << -1 << QStringList{"a", "", "c"};
}

void TestExtIni::stringListsHonourCount() {
    QFETCH(int, saveCount);
    QFETCH(int, restoreCount);
    QFETCH(QStringList, result);
    TIniFileEx Ini(FFile);
    Ini.SaveStrings(QStringLiteral("Item"), {QStringLiteral("a"), QString(), QStringLiteral("c")}, saveCount);
    QStringList Read{QStringLiteral("old")};
    Ini.RestoreStrings(QStringLiteral("Item"), Read, restoreCount);
    QCOMPARE(Read, result);
    Ini.SetInt(QStringLiteral("ItemCount"), -2); // a negative count restores nothing
    Ini.RestoreStrings(QStringLiteral("Item"), Read, 0);
    QVERIFY(Read.isEmpty());
}

void TestExtIni::floatsUseLocaleAndRange() {
    TIniFileEx Ini(FFile);
    Ini.SetFloat(QStringLiteral("F"), 2.5);
    QCOMPARE(Ini.GetStr(QStringLiteral("F"), QString()), QLocale::system().toString(2.5));
    QCOMPARE(Ini.GetFloat(QStringLiteral("F"), 0.0), 2.5);
    QCOMPARE(Ini.GetFloat(QStringLiteral("F"), 3.0, 4.0, 3.5), 3.5);
    Ini.SetStr(QStringLiteral("F"), QStringLiteral("two"));
    QCOMPARE(Ini.GetFloat(QStringLiteral("F"), 1.25), 1.25);
}

void TestExtIni::unwritableFileThrows() {
    QVERIFY(QDir(FDir.path()).mkpath(QStringLiteral("t.ini")));
    TIniFileEx Ini(FFile);
    QVERIFY_THROWS_EXCEPTION(EFileError, Ini.SetInt(QStringLiteral("A"), 1));
    QCOMPARE(Ini.GetInt(QStringLiteral("A"), 5), 5);
    QDir(FFile).removeRecursively();
}

QTEST_MAIN(TestExtIni)
#include "TestExtIni.moc"
