// The export of a run: each format's text for a small run, with the escaping
// each needs, and the choice of format by the file name.
#include "Export.h"

#include <QTest>

namespace {
const TExportHeader Header{QStringLiteral("2026-12-09 10:30"), QStringLiteral("Hex"), 7};
const std::vector<TExportRow> Rows = {
    {QStringLiteral("a | b"), QStringLiteral("3"), QStringLiteral("pipe, comma")},
    {QStringLiteral("x < 1 & y"), QStringLiteral("Unknown identifier 'y' (row 2, col 9)"), QString()},
    {QStringLiteral("f(x) :=\r\nx^2"), QStringLiteral("f(x) = \r\nx^2"), QStringLiteral("say \"hi\"")},
    {QStringLiteral("back\\slash"), QStringLiteral("\u22121"), QStringLiteral("\u03c0")},
};
} // namespace

Q_DECLARE_METATYPE(TExportFormat)

class TestExport : public QObject {
    Q_OBJECT
  private slots:
    void rendersEachFormat_data();
    void rendersEachFormat();
    void formatFollowsTheExtension_data();
    void formatFollowsTheExtension();
    void htmlPageStandsAloneAndEscapesCells();
};

void TestExport::rendersEachFormat_data() {
    QTest::addColumn<TExportFormat>("format");
    QTest::addColumn<QString>("expected");
    QTest::newRow("markdown escapes pipes and backslashes, breaks lines with <br>")
        << efMarkdown
        << QStringLiteral("# Sumtra run of 2026-12-09 10:30, format Hex, precision 7\n\n"
                          "| Statement | Result | Comment |\n| --- | --- | --- |\n"
                          "| a \\| b | 3 | pipe, comma |\n"
                          "| x < 1 & y | Unknown identifier 'y' (row 2, col 9) |  |\n"
                          "| f(x) :=<br>x^2 | f(x) = <br>x^2 | say \"hi\" |\n"
                          "| back\\\\slash | \u22121 | \u03c0 |\n");
    QTest::newRow("csv quotes fields with comma, quote or line break, and ends records in CR LF")
        << efCsv
        << QStringLiteral("# date,format,precision\r\n2026-12-09 10:30,Hex,7\r\nStatement,Result,Comment\r\n"
                          "a | b,3,\"pipe, comma\"\r\n"
                          "x < 1 & y,\"Unknown identifier 'y' (row 2, col 9)\",\r\n"
                          "\"f(x) :=\r\nx^2\",\"f(x) = \r\nx^2\",\"say \"\"hi\"\"\"\r\n"
                          "back\\slash,\u22121,\u03c0\r\n");
}

void TestExport::rendersEachFormat() {
    QFETCH(TExportFormat, format);
    QFETCH(QString, expected);
    QCOMPARE(RenderExport(format, Header, Rows), expected);
}

// The page is checked by its parts: it must stand alone and escape markup in every cell.
void TestExport::htmlPageStandsAloneAndEscapesCells() {
    const QString Page = RenderExport(efHtml, Header, Rows);
    QVERIFY(Page.startsWith(QStringLiteral("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">")));
    QVERIFY(
        Page.contains(QStringLiteral("<h1>Sumtra run of 2026-12-09 10:30, format Hex, precision 7</h1>")));
    QVERIFY(Page.contains(QStringLiteral(
        "<tr><td>x &lt; 1 &amp; y</td><td>Unknown identifier 'y' (row 2, col 9)</td><td></td></tr>")));
    QVERIFY(Page.contains(
        QStringLiteral("<td>f(x) :=<br>x^2</td><td>f(x) = <br>x^2</td><td>say &quot;hi&quot;</td>")));
    QVERIFY(Page.contains(QStringLiteral("<tr><td>a | b</td><td>3</td><td>pipe, comma</td></tr>")));
    QCOMPARE(Page.count(QStringLiteral("<tr>")), 1 + int(Rows.size()));
    for (const char* Outside : {"<link", "<script", "src=", "url(", "@import"})
        QVERIFY2(!Page.contains(QString::fromLatin1(Outside)), Outside);
    QVERIFY(Page.endsWith(QStringLiteral("</table>\n</body>\n</html>\n")));
}

void TestExport::formatFollowsTheExtension_data() {
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("format"); // -1: none
    QTest::newRow("md") << "/tmp/run.md" << int(efMarkdown);
    QTest::newRow("upper case") << "RUN.CSV" << int(efCsv);
    QTest::newRow("html") << "a.b/run.html" << int(efHtml);
    QTest::newRow("htm") << "run.htm" << int(efHtml);
    QTest::newRow("text file") << "run.txt" << -1;
    QTest::newRow("no extension") << "run" << -1;
    QTest::newRow("md only in the folder") << "x.md/run" << -1;
}

void TestExport::formatFollowsTheExtension() {
    QFETCH(QString, fileName);
    QFETCH(int, format);
    const auto Got = ExportFormatOf(fileName);
    QCOMPARE(Got ? int(*Got) : -1, format);
}

QTEST_MAIN(TestExport)
#include "TestExport.moc"
