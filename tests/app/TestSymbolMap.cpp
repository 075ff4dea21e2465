// The look-alike map: cycles in file order, the first line holding a character
// wins, and the shipped map reads as UTF-16LE.
#include "SymbolMap.h"
#include "Utils.h"

#include "AppTestSupport.h"

#include <QTest>

class TestSymbolMap : public QObject {
    Q_OBJECT
  private slots:
    void toggleChar_data();
    void toggleChar();
    void shippedMapCyclesLookAlikes_data();
    void shippedMapCyclesLookAlikes();
};

void TestSymbolMap::toggleChar_data() {
    QTest::addColumn<QString>("ch");
    QTest::addColumn<QString>("result");
    QTest::newRow("next in its line") << "a"
                                      << "\u03B1";
    QTest::newRow("last wraps to the first") << "\u0430"
                                             << "a";
    QTest::newRow("first line holding it wins") << "o"
                                                << "\u03BF";
    QTest::newRow("absent stays") << "z"
                                  << "z";
    QTest::newRow("line of one maps to itself") << "q"
                                                << "q";
}

void TestSymbolMap::toggleChar() {
    QFETCH(QString, ch);
    QFETCH(QString, result);
    const TSymbolMap Map({QStringLiteral("a\u03B1\u0430"), QStringLiteral("o\u03BF"), QStringLiteral("o0"),
                          QStringLiteral("q")});
    QCOMPARE(QString(Map.ToggleChar(ch[0])), result);
}

void TestSymbolMap::shippedMapCyclesLookAlikes_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("cycle");
    QTest::newRow("Latin A, Greek Alpha, Cyrillic A") << "A" << 3;
    QTest::newRow("multiplication signs") << "*" << 3;
    QTest::newRow("minus signs") << "-" << 3;
}

// Toggling repeatedly returns to the start after as many steps as the cycle has members.
void TestSymbolMap::shippedMapCyclesLookAlikes() {
    QFETCH(QString, start);
    QFETCH(int, cycle);
    const QString FileName = QStringLiteral(SUMTRA_SYMBOL_MAP);
    QVERIFY(ReadBytes(FileName).startsWith("\xFF\xFE"));
    const TSymbolMap Map = TSymbolMap::Load(FileName);
    QChar C = start[0];
    for (int I = 1; I < cycle; ++I) {
        C = Map.ToggleChar(C);
        QVERIFY(C != start[0]);
    }
    QCOMPARE(Map.ToggleChar(C), start[0]);
}

QTEST_APPLESS_MAIN(TestSymbolMap)
#include "TestSymbolMap.moc"
