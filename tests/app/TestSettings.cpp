// The settings value without a window: what Write stores Read gives back,
// and stored bounds outside the work area are moved into it.
#include "AppTestSupport.h"
#include "Settings.h"

#include <QFile>
#include <QTest>

namespace {
const TRect Work{0, 0, 1280, 1000};

TSettings Defaults() {
    TSettings S;
    S.Font = QFont(QStringLiteral("DejaVu Sans Mono"), 18);
    S.FontColor = QColor(128, 0, 0);
    S.BackColor = Qt::white;
    S.Bounds = {350, 208, 880, 700};
    S.ShortCuts = {{QStringLiteral("ProgramHelp"), vkF1}, {QStringLiteral("FontBold"), scCtrl | 'B'}};
    return S;
}
} // namespace

class TestSettings : public QObject {
    Q_OBJECT
  private slots:
    void writtenValuesReadBack();
    void boundsOutsideWorkAreaMoveIn_data();
    void boundsOutsideWorkAreaMoveIn();
};

void TestSettings::writtenValuesReadBack() {
    TStateFolder F;
    TSettings W = Defaults();
    W.Font.setPointSize(24);
    W.Font.setItalic(true);
    W.FontColor = QColor(1, 2, 3);
    W.BackColor = QColor(40, 50, 60);
    W.Bounds = {10, 20, 610, 520};
    W.Maximized = true;
    W.OnTop = true;
    W.Titlebar = false;
    W.Statusbar = false;
    W.Menu = false;
    W.SyntaxColors = false;
    W.EditOptions = {false, true, true, false};
    W.ShortCuts[1].ShortCut = scAlt | 'X';
    W.WriteShortCuts = true;
    W.Write(F.IniFile());
    TSettings R = Defaults();
    R.Read(F.IniFile(), Work);
    QCOMPARE(R.Font.pointSize(), 24);
    QVERIFY(R.Font.italic());
    QCOMPARE(R.FontColor, W.FontColor);
    QCOMPARE(R.BackColor, W.BackColor);
    QCOMPARE(R.Bounds, W.Bounds);
    QVERIFY(R.Maximized && R.OnTop && !R.Titlebar && !R.Statusbar && !R.Menu && !R.SyntaxColors);
    QCOMPARE(R.EditOptions.AssignOnColon, false);
    QCOMPARE(R.EditOptions.EncloseOnBracket, true);
    QCOMPARE(R.EditOptions.EncloseOnOperator, true);
    QCOMPARE(R.EditOptions.CompleteNames, false);
    QCOMPARE(R.ShortCuts[1].ShortCut, TShortCut(scAlt | 'X'));
}

void TestSettings::boundsOutsideWorkAreaMoveIn_data() {
    QTest::addColumn<TRect>("stored");
    QTest::addColumn<TRect>("read");
    QTest::newRow("inside stays") << TRect{0, 0, 500, 400} << TRect{0, 0, 500, 400};
    QTest::newRow("title bar above the screen") << TRect{100, -25, 600, 375} << TRect{100, 0, 600, 400};
    QTest::newRow("right of the screen") << TRect{1000, 10, 1500, 410} << TRect{780, 10, 1280, 410};
    QTest::newRow("taller than the screen") << TRect{0, -50, 500, 1100} << TRect{0, 0, 500, 1000};
}

void TestSettings::boundsOutsideWorkAreaMoveIn() {
    QFETCH(TRect, stored);
    QFETCH(TRect, read);
    TStateFolder F;
    TSettings W = Defaults();
    W.Bounds = stored;
    W.Write(F.IniFile());
    TSettings R = Defaults();
    R.Read(F.IniFile(), Work);
    QCOMPARE(R.Bounds, read);
}

QTEST_MAIN(TestSettings)
#include "TestSettings.moc"
