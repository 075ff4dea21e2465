// Hints for common slips: each program is run by a real runner on a fresh
// symbol table, and the hint for the finished run is compared exactly.
#include "Hints.h"

#include <QTest>

class TestHints : public QObject {
    Q_OBJECT
  private slots:
    void hintForRun_data();
    void hintForRun();
};

void TestHints::hintForRun_data() {
    QTest::addColumn<QString>("program"); // rows separated by \n
    QTest::addColumn<QString>("hint");
    const QString Brackets = QStringLiteral("put a negative operand in brackets: ");
    QTest::newRow("clean run") << "1 + 2"
                               << "";
    QTest::newRow("leading sign") << "-1 + 2"
                                  << "";
    QTest::newRow("sign after power") << "2^-1" << Brackets + "2^(-1)";
    QTest::newRow("sign after product") << "1\n2*-3" << Brackets + "2*(-3)";
    QTest::newRow("sign after minus, before a name") << "5 - -x" << Brackets + "5-(-x)";
    QTest::newRow("sign after an operator after a bracket") << "(2)/+y" << Brackets + "/(+y)";
    QTest::newRow("equals after a name") << "x = 3"
                                         << "an assignment is written :=, as in x := \u2026";
    QTest::newRow("equals elsewhere") << "1 = 2"
                                      << "an assignment is written :=";
    QTest::newRow("constant in other case") << "Pi*2"
                                            << "did you mean 'pi'?";
    QTest::newRow("function in other case") << "SIN(1)"
                                            << "did you mean 'sin'?";
    QTest::newRow("own name in other case") << "Total := 1\nTOTAL + 1"
                                            << "did you mean 'Total'?";
    QTest::newRow("unknown name without a twin") << "bb + 1"
                                                 << "";
    QTest::newRow("constant replaced") << "e := 3"
                                       << "'e' now holds 3, not the built-in constant (the base of natural "
                                          "logarithm); restart to get it back";
    QTest::newRow("replaced in a later row, before an error")
        << "1\nsin := 2; 1/0"
        << "'sin' now holds 2, not the built-in function (sinus); restart to get it back";
    QTest::newRow("assignment after the error never ran") << "1/0; e := 3"
                                                          << "";
    QTest::newRow("own variable") << "ee := 3"
                                  << "";
    QTest::newRow("percent added")
        << "100 + 5%"
        << "5% is just 5/100 here; for 5 percent more or less, multiply by (1 + 5%)";
    QTest::newRow("percent taken from a bracket")
        << "(100) - 10%"
        << "10% is just 10/100 here; for 10 percent more or less, multiply by (1 - 10%)";
    QTest::newRow("percent alone") << "5%"
                                   << "";
    QTest::newRow("percent of a product") << "200 * 5%"
                                          << "";
    QTest::newRow("a text too long to read") << QString(MaxProgramLength + 1, u'=') << "";
    QTest::newRow("the error's hint comes first") << "e := 3; 2^-1" << Brackets + "2^(-1)";
}

void TestHints::hintForRun() {
    QFETCH(QString, program);
    QFETCH(QString, hint);
    GlobalIdents().Clear();
    RegisterBuiltins(GlobalIdents());
    TProgramParser Parser;
    QString Text = program;
    Text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    const bool Ok = Parser.Execute(Text.toStdU16String(), true);
    const TRunReport Run{Parser.Tokenizer().Expression(), Parser.Tokenizer(), !Ok, Parser.ErrorSpan()};
    QCOMPARE(RunHint(Run, GlobalIdents()), hint);
}

QTEST_MAIN(TestHints)
#include "TestHints.moc"
