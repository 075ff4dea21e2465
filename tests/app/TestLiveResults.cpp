// Live results: when a run follows an edit, and the main window running the
// input while the user types, with real keys to the focused input box.
#include "AppTestSupport.h"

#include "LiveResults.h"
#include "Main.h"
#include "Memo.h"

#include <QAction>
#include <QApplication>
#include <QTest>

namespace {
TMemo* Memo(const TMainForm& Form, const char* Name) {
    return Form.findChild<TMemo*>(QString::fromLatin1(Name));
}

QString Output(const TMainForm& Form) {
    return Memo(Form, "Memo2")->toPlainText();
}

bool Start(TMainForm& Form) {
    Form.show();
    return ShowActive(Form, *Memo(Form, "Memo1"));
}

// Ctrl+L as the user types it into the input box.
void SwitchLive(TMainForm& Form) {
    QTest::keyClick(Memo(Form, "Memo1"), Qt::Key_L, Qt::ControlModifier);
}

bool Faded(const TMainForm& Form) {
    return Memo(Form, "Memo2")->FontColor() != Memo(Form, "Memo1")->FontColor();
}
} // namespace

class TestLiveResults : public QObject {
    Q_OBJECT
  private slots:
    void scheduleFollowsTheLastRun_data();
    void scheduleFollowsTheLastRun();
    void resultsFollowThePauseAfterTyping();
    void anErrorIsMarkedWithoutMovingTheCaret();
    void preservedOutputKeepsOneLiveRun();
    void switchIsStored();
};

void TestLiveResults::scheduleFollowsTheLastRun_data() {
    QTest::addColumn<int>("run");
    QTest::addColumn<int>("delay");
    QTest::addColumn<bool>("note");
    QTest::newRow("no run yet") << 0 << TLiveSchedule::Pause << false;
    QTest::newRow("as long as the pause") << TLiveSchedule::Pause << TLiveSchedule::Pause << false;
    QTest::newRow("longer than the pause") << TLiveSchedule::Pause + 1 << 3 * (TLiveSchedule::Pause + 1) << true;
    QTest::newRow("just short of too long") << TLiveSchedule::LongRun - 1 << 3 * (TLiveSchedule::LongRun - 1) << true;
    QTest::newRow("too long to repeat") << TLiveSchedule::LongRun << -1 << true;
}

void TestLiveResults::scheduleFollowsTheLastRun() {
    QFETCH(int, run);
    QFETCH(int, delay);
    QFETCH(bool, note);
    TLiveSchedule S;
    S.RunTook(run);
    const TLivePlan Plan = S.AfterEdit();
    QCOMPARE(Plan.Delay, delay);
    QCOMPARE(!Plan.Note.isEmpty(), note);
}

// Nothing runs while keys come faster than the pause; the output fades until
// the run after the last key shows the current text's results.
void TestLiveResults::resultsFollowThePauseAfterTyping() {
    TStateFolder S;
    TMainForm Form(S.Dir());
    QVERIFY(Start(Form));
    TMemo* In = Memo(Form, "Memo1");
    SwitchLive(Form);
    QVERIFY(Form.Action(QStringLiteral("ViewLiveResults"))->isChecked());
    QTest::keyClicks(In, QStringLiteral("1+2"));
    QTRY_COMPARE(Output(Form), QStringLiteral("1+2 = 3"));
    QVERIFY(!Faded(Form));
    QTest::keyClicks(In, QStringLiteral("*5"));
    QVERIFY(Faded(Form)); // out of date at once
    QCOMPARE(Output(Form), QStringLiteral("1+2 = 3"));
    QTRY_COMPARE(Output(Form), QStringLiteral("1+2\u22195 = 11"));
    QVERIFY(!Faded(Form));
    SwitchLive(Form);
    QTest::keyClicks(In, QStringLiteral("0"));
    QTest::qWait(2 * TLiveSchedule::Pause);
    QCOMPARE(Output(Form), QStringLiteral("1+2\u22195 = 11")); // switched off: no run
}

void TestLiveResults::anErrorIsMarkedWithoutMovingTheCaret() {
    TStateFolder S;
    TMainForm Form(S.Dir());
    QVERIFY(Start(Form));
    TMemo* In = Memo(Form, "Memo1");
    SwitchLive(Form);
    QTest::keyClicks(In, QStringLiteral("bb+1"));
    QTRY_VERIFY(Output(Form).startsWith(QStringLiteral("Unknown identifier 'bb'")));
    QCOMPARE(In->textCursor().position(), 4); // still where the user types
    QVERIFY(!In->extraSelections().isEmpty());
}

void TestLiveResults::preservedOutputKeepsOneLiveRun() {
    TStateFolder S;
    TMainForm Form(S.Dir());
    QVERIFY(Start(Form));
    TMemo* In = Memo(Form, "Memo1");
    QTest::keyClicks(In, QStringLiteral("1"));
    QTest::keyClick(In, Qt::Key_Return); // an Evaluate the live runs must keep
    Form.Action(QStringLiteral("ParserRetainOutput"))->trigger();
    SwitchLive(Form);
    QTest::keyClicks(In, QStringLiteral("+1"));
    QTRY_VERIFY(Output(Form).endsWith(QStringLiteral("1+1 = 2")));
    QTest::keyClicks(In, QStringLiteral("+1"));
    QTRY_VERIFY(Output(Form).endsWith(QStringLiteral("1+1+1 = 3")));
    const QStringList Lines = Output(Form).split(u'\n');
    QCOMPARE(Lines.first(), QStringLiteral("1 = 1"));
    QCOMPARE(Lines.size(), 3); // the Evaluate, one divider, the newest live run
}

void TestLiveResults::switchIsStored() {
    TStateFolder S;
    {
        TMainForm Form(S.Dir());
        QVERIFY(Start(Form));
        SwitchLive(Form);
        Form.close();
    }
    QVERIFY(S.ReadIni().contains(QStringLiteral("LiveResults=1")));
    TMainForm Again(S.Dir());
    QVERIFY(Again.Action(QStringLiteral("ViewLiveResults"))->isChecked());
}

QTEST_MAIN(TestLiveResults)
#include "TestLiveResults.moc"
