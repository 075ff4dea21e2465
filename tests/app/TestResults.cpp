// The value taken from an output line for Copy result and Insert result: by
// the runner's kind of the line when it is known, by its look when not.
#include "Results.h"

#include <QTest>

Q_DECLARE_METATYPE(std::optional<TLineKind>)

class TestResults : public QObject {
    Q_OBJECT
  private slots:
    void resultValue_data();
    void resultValue();
    void lastValueSkipsLinesWithout();
};

void TestResults::resultValue_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<std::optional<TLineKind>>("kind");
    QTest::addColumn<QString>("value"); // empty: none
    const std::optional<TLineKind> Unknown, Value = lkValue, Definition = lkDefinition, Error = lkError;
    QTest::newRow("expression") << "1+2 = 3" << Value << "3";
    QTest::newRow("assignment") << "x = 2.5" << Value << "2.5";
    QTest::newRow("negative with the output's minus") << "0\u22122 = \u22122" << Value << "\u22122";
    QTest::newRow("complex") << "sqrt(\u22124) = 2i" << Value << "2i";
    QTest::newRow("exponent") << "10^30 = 1E+30" << Value << "1E+30";
    QTest::newRow("remark left out") << "\u22121 = \u22121 //cannot convert to binary" << Value << "\u22121";
    QTest::newRow("only the first equals sign splits") << "s = a = b" << Value << "a = b";
    QTest::newRow("definition echo, even when it reads like a value") << "f(x) = 2" << Definition << "";
    QTest::newRow("error") << "Unknown identifier 'y' (row 1, col 1)" << Error << "";
    QTest::newRow("error naming an equals sign") << "x = 1 failed" << Error << "";
    QTest::newRow("no equals sign") << "Factor expected (row 1, col 3)" << Unknown << "";
    QTest::newRow("divider") << QString(40, u'=') << Unknown << "";
    QTest::newRow("empty line") << "" << Unknown << "";
    QTest::newRow("nothing after the equals sign") << "f(x) = " << Value << "";
    QTest::newRow("earlier run: decimal") << "pi = 3.1416" << Unknown << "3.1416";
    QTest::newRow("earlier run: time") << "t = 1:02:03.5" << Unknown << "1:02:03.5";
    QTest::newRow("earlier run: hexadecimal") << "255 = $FF" << Unknown << "$FF";
    QTest::newRow("earlier run: Roman") << "1994 = #MCMXCIV" << Unknown << "#MCMXCIV";
    QTest::newRow("earlier run: complex") << "z = 3+4i" << Unknown << "3+4i";
    QTest::newRow("earlier run: definition body") << "f(t) = t^2+1" << Unknown << "";
    QTest::newRow("earlier run: body of a name") << "g(x) = pi" << Unknown << "";
    QTest::newRow("earlier run: a lone prefix") << "a = $" << Unknown << "";
}

void TestResults::resultValue() {
    QFETCH(QString, line);
    QFETCH(std::optional<TLineKind>, kind);
    QFETCH(QString, value);
    const std::optional<QString> Got = ResultValue(line, kind);
    QCOMPARE(Got.value_or(QString()), value);
    QCOMPARE(Got.has_value(), !value.isEmpty());
}

void TestResults::lastValueSkipsLinesWithout() {
    const QStringList Lines = {"pi = 3.1416", "1+1 = 2", "f(x) = 2", "Factor expected (row 4, col 3)"};
    const auto Line = [&Lines](int I) { return Lines[I]; };
    // Line 2 is a definition of the last run; lines 0 and 1 came from an earlier one.
    std::vector<TStatementRange> Ranges(2);
    Ranges[0].LineIndex = 2;
    Ranges[0].Kind = lkDefinition;
    Ranges[1].LineIndex = 3;
    Ranges[1].Kind = lkError;
    QCOMPARE(LastResultValue(4, Line, Ranges).value_or(QString()), QStringLiteral("2"));
    QCOMPARE(LastResultValue(1, Line, Ranges).value_or(QString()), QStringLiteral("3.1416"));
    QVERIFY(!LastResultValue(0, Line, Ranges));
    Ranges.insert(Ranges.begin(), TStatementRange{});
    Ranges[0].LineIndex = 1;
    Ranges[0].Kind = lkError;
    QCOMPARE(LastResultValue(4, Line, Ranges).value_or(QString()), QStringLiteral("3.1416"));
}

QTEST_MAIN(TestResults)
#include "TestResults.moc"
