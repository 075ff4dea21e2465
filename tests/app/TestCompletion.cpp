// Name completion: the matches for a word and the word before the caret,
// computed alone, then the list in the main window driven by real keys to the
// focused input box.
#include "AppTestSupport.h"

#include "Completion.h"
#include "Forms.Symbols.h"
#include "Main.h"
#include "Memo.h"
#include "Parse.Infix.h"
#include "Parse.Tokenize.h"
#include "Scalar.Ident.h"
#include "Settings.h"

#include <QAction>
#include <QFile>
#include <QListView>
#include <QPlainTextEdit>
#include <QTest>

namespace {
TNameIndex SampleIndex() {
    TNameIndex Index;
    Index.Take({{"sin", nkFunction, "sin(scalar)->scalar"},
                {"sinh", nkFunction, "sinh(scalar)->scalar"},
                {"Sin2", nkVariable, "Sin2 = 1"},
                {"sqrt", nkFunction, "sqrt(scalar)->scalar"},
                {"sum", nkFunction, "sum(vector)->scalar"},
                {"sumSq", nkFunction, "sumSq(x) = x^2"},
                {"Sum", nkVariable, "Sum = 2"},
                {"total_sum", nkVariable, "total_sum = 5"},
                {"TOTAL", nkVariable, "TOTAL = 6"},
                {"x", nkVariable, "x = 1"},
                {"x", nkVariable, "x = 2"}}); // only the first is found, so only it is offered
    return Index;
}

QString MatchedNames(const TNameIndex& Index, const QString& Prefix) {
    QStringList Names;
    for (const int I : Index.Matches(Prefix))
        Names.append(Index.Entry(I).Name);
    return Names.join(u',');
}

TMemo* Memo(const TMainForm& Form, const char* Name) {
    return Form.findChild<TMemo*>(QString::fromLatin1(Name));
}

QListView* Popup(const TMainForm& Form) {
    return Form.findChild<QListView*>(QStringLiteral("CompletionPopup"));
}

// The window shown with these names defined by a run, the input box empty and focused.
bool Prepare(TMainForm& Form) {
    TMemo* Input = Memo(Form, "Memo1");
    if (!ShowActive(Form, *Input)) return false;
    Input->setPlainText(QStringLiteral("total_sum := 5; totem := 1; twice(t) := 2*t"));
    QTest::keyClick(Input, Qt::Key_Return);
    Input->clear();
    return Input->hasFocus();
}
} // namespace

class TestCompletion : public QObject {
    Q_OBJECT
  private slots:
    void matchesSameCaseFirst_data();
    void matchesSameCaseFirst();
    void nameStartFindsTheWordBeforeTheCaret_data();
    void nameStartFindsTheWordBeforeTheCaret();
    void completionTextAddsTheBracketToFunctions_data();
    void completionTextAddsTheBracketToFunctions();
    void descriptionsAreTheSymbolListLines();
    void keysInTheInputBox_data();
    void keysInTheInputBox();
    void optionOffOpensNoListAfterTwoLetters();
    void optionMissingFromAnOldFileStaysOn();
};

void TestCompletion::matchesSameCaseFirst_data() {
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("names");
    QTest::newRow("same case first, then other case") << "s"
                                                      << "sin,sinh,sqrt,sum,sumSq,Sin2,Sum";
    QTest::newRow("capital prefix") << "Su"
                                    << "Sum,sum,sumSq";
    QTest::newRow("underscore in the name") << "tot"
                                            << "total_sum,TOTAL";
    QTest::newRow("whole name still matches") << "sinh"
                                              << "sinh";
    QTest::newRow("longer than every name") << "sinhx"
                                            << "";
    QTest::newRow("no name starts so") << "q"
                                       << "";
    QTest::newRow("a name defined twice is listed once") << "x"
                                                         << "x";
    QTest::newRow("empty prefix lists all") << ""
                                            << "sin,Sin2,sinh,sqrt,Sum,sum,sumSq,TOTAL,total_sum,x";
}

void TestCompletion::matchesSameCaseFirst() {
    QFETCH(QString, prefix);
    QFETCH(QString, names);
    const TNameIndex Index = SampleIndex();
    QCOMPARE(MatchedNames(Index, prefix), names);
    if (prefix == u"x")
        QCOMPARE(Index.Entry(Index.Matches(prefix).front()).Description, QStringLiteral("x = 1"));
}

void TestCompletion::nameStartFindsTheWordBeforeTheCaret_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("word");
    QTest::newRow("start of the line") << "sq" << 2 << "sq";
    QTest::newRow("after an operator") << "1+sq" << 4 << "sq";
    QTest::newRow("after a bracket") << "f(ab" << 4 << "ab";
    QTest::newRow("digits before the name") << "2pi" << 3 << "pi";
    QTest::newRow("digits and underscore inside") << "x_1" << 3 << "x_1";
    QTest::newRow("caret inside a word") << "total" << 3 << "tot";
    QTest::newRow("caret before a blank") << "ab cd" << 2 << "ab";
    QTest::newRow("only digits") << "12" << 2 << "";
    QTest::newRow("after an operator, no name") << "a+" << 2 << "";
    QTest::newRow("Greek letters") << QStringLiteral("1+\u03b1\u03b2") << 4 << QStringLiteral("\u03b1\u03b2");
}

void TestCompletion::nameStartFindsTheWordBeforeTheCaret() {
    QFETCH(QString, line);
    QFETCH(int, caret);
    QFETCH(QString, word);
    const TSymbols Symbols;
    const qsizetype Start = NameStart(Symbols, line, caret);
    QCOMPARE(line.mid(Start, caret - Start), word);
}

void TestCompletion::completionTextAddsTheBracketToFunctions_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("next");
    QTest::addColumn<QString>("text");
    QTest::newRow("variable") << int(nkVariable) << ""
                              << "name";
    QTest::newRow("function") << int(nkFunction) << ""
                              << "name(";
    QTest::newRow("function before its bracket") << int(nkFunction) << "("
                                                 << "name";
}

void TestCompletion::completionTextAddsTheBracketToFunctions() {
    QFETCH(int, kind);
    QFETCH(QString, next);
    QFETCH(QString, text);
    const TNameEntry Entry{QStringLiteral("name"), static_cast<TNameKind>(kind), {}};
    QCOMPARE(CompletionText(Entry, u'(', next.isEmpty() ? QChar() : next.front()), text);
}

void TestCompletion::descriptionsAreTheSymbolListLines() {
    TProgramParser Parser;
    QVERIFY(Parser.Execute(u"cmp_v := 5 // five\r\ncmp_f(t) := t^2+1", true));
    TNameIndex Index;
    Index.Take(GlobalIdents());
    TSymbolForm Form(nullptr);
    Form.Fill(GlobalIdents());
    const QStringList Lines =
        Form.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))->toPlainText().split(u'\n');
    const struct {
        const char* Name;
        TNameKind Kind;
    } Cases[] = {{"cmp_v", nkVariable}, {"cmp_f", nkFunction}, {"sin", nkFunction}};
    for (const auto& C : Cases) {
        const QString Name = QString::fromLatin1(C.Name);
        const std::vector<int> Rows = Index.Matches(Name);
        QVERIFY2(!Rows.empty(), C.Name);
        const TNameEntry& Entry = Index.Entry(Rows.front());
        QCOMPARE(Entry.Name, Name);
        QCOMPARE(Entry.Kind, C.Kind);
        QVERIFY2(Lines.contains(Entry.Description), qPrintable(Entry.Description));
    }
}

void TestCompletion::keysInTheInputBox_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("mods");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("open");
    const int None = int(Qt::NoModifier);
    QTest::newRow("two letters open the list") << "to" << 0 << None << "to" << true;
    QTest::newRow("one letter does not") << "t" << 0 << None << "t" << false;
    QTest::newRow("typing on filters") << "tote" << 0 << None << "tote" << true;
    QTest::newRow("Tab inserts a user's name") << "tot" << int(Qt::Key_Tab) << None << "total_sum" << false;
    QTest::newRow("a function gets its bracket") << "twi" << int(Qt::Key_Tab) << None << "twice(" << false;
    QTest::newRow("Enter accepts without evaluating")
        << "tot" << int(Qt::Key_Return) << None << "total_sum" << false;
    QTest::newRow("keypad Enter accepts too")
        << "tot" << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << "total_sum" << false;
    QTest::newRow("Down picks the next name") << "tot" << int(Qt::Key_Down) << None << "tot" << true;
    QTest::newRow("Esc closes and nothing else") << "tot" << int(Qt::Key_Escape) << None << "tot" << false;
    QTest::newRow("a character outside names closes") << "tot+" << 0 << None << "tot+" << false;
    QTest::newRow("no match closes") << "toq" << 0 << None << "toq" << false;
    QTest::newRow("a name typed in full closes") << "totem" << 0 << None << "totem" << false;
    QTest::newRow("Backspace filters back") << "tote" << int(Qt::Key_Backspace) << None << "tot" << true;
    QTest::newRow("Ctrl+Space opens after one letter")
        << "t" << int(Qt::Key_Space) << int(Qt::ControlModifier) << "t" << true;
    QTest::newRow("Ctrl+Space on a full name")
        << "totem" << int(Qt::Key_Space) << int(Qt::ControlModifier) << "totem" << true;
}

void TestCompletion::keysInTheInputBox() {
    QFETCH(QString, typed);
    QFETCH(int, key);
    QFETCH(int, mods);
    QFETCH(QString, text);
    QFETCH(bool, open);
    TStateFolder Dir;
    TMainForm Form(Dir.Dir());
    QVERIFY(Prepare(Form));
    TMemo* Input = Memo(Form, "Memo1");
    const QString Output = Memo(Form, "Memo2")->toPlainText();
    QVERIFY(Output.startsWith(QStringLiteral("total_sum = 5")));
    QTest::keyClicks(Input, typed);
    if (key != 0) QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::KeyboardModifiers(mods));
    QCOMPARE(Input->toPlainText(), text);
    QCOMPARE(Popup(Form)->isVisible(), open);
    QCOMPARE(Memo(Form, "Memo2")->toPlainText(), Output); // nothing was evaluated
    QVERIFY(Form.isVisible());                            // nor did the window close
    QVERIFY(Input->hasFocus());
    if (open) QVERIFY(Popup(Form)->model()->rowCount() > 0);
    if (key == Qt::Key_Down) {
        QTest::keyClick(Input, Qt::Key_Tab);
        QCOMPARE(Input->toPlainText(), QStringLiteral("totem"));
    }
}

void TestCompletion::optionOffOpensNoListAfterTwoLetters() {
    TStateFolder Dir;
    TMainForm Form(Dir.Dir());
    QVERIFY(Prepare(Form));
    QAction* Option = Form.Action(QStringLiteral("EditOptionsCompleteNames"));
    QVERIFY(Option->isChecked());
    Option->trigger();
    QVERIFY(!Option->isChecked());
    TMemo* Input = Memo(Form, "Memo1");
    QTest::keyClicks(Input, QStringLiteral("tot"));
    QVERIFY(!Popup(Form)->isVisible());
    QTest::keyClick(Input, Qt::Key_Tab); // as without completion
    QVERIFY(!Input->toPlainText().startsWith(QStringLiteral("total_sum")));
    Input->setPlainText(QStringLiteral("tot"));
    Input->moveCursor(QTextCursor::End);
    QTest::keyClick(Input, Qt::Key_Space, Qt::ControlModifier); // asked for, it still opens
    QVERIFY(Popup(Form)->isVisible());
}

void TestCompletion::optionMissingFromAnOldFileStaysOn() {
    TStateFolder Dir;
    QFile File(Dir.IniFile());
    QVERIFY(File.open(QIODevice::WriteOnly));
    File.write("[Settings]\nAssignOnColon=0\n");
    File.close();
    TSettings S;
    S.Read(Dir.IniFile(), {0, 0, 1280, 1024});
    QVERIFY(!S.EditOptions.AssignOnColon); // the file was read
    QVERIFY(S.EditOptions.CompleteNames);
}

QTEST_MAIN(TestCompletion)
#include "TestCompletion.moc"
