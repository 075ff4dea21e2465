// The input box's editing aids: the edit each typed character makes for each
// option, first computed alone, then typed as real keys into the main window's
// input box, where the caret and the history are seen as well.
#include "AppTestSupport.h"

#include "EditAids.h"
#include "Main.h"
#include "Memo.h"
#include "Normalize.h"
#include "Parse.Tokenize.h"
#include "StatusBar.h"

#include <QAction>
#include <QClipboard>
#include <QMimeData>
#include <QTest>

namespace {
enum TOption { opNone = 0, opAssign = 1, opBracket = 2, opOperator = 4 };

TEditOptions OptionsOf(int Bits) {
    return {(Bits & opAssign) != 0, (Bits & opBracket) != 0, (Bits & opOperator) != 0};
}

TMemo* Input(const TMainForm& Form) {
    return Form.findChild<TMemo*>(QStringLiteral("Memo1"));
}

// The window shown and active, with Memo1 holding Text and Start..End selected.
bool Prepare(TMainForm& Form, const QString& Text, int Start, int End) {
    Form.show();
    Form.activateWindow();
    if (!QTest::qWaitForWindowActive(&Form)) return false;
    TMemo* M = Input(Form);
    M->setFocus();
    M->setPlainText(Text);
    QTextCursor C = M->textCursor();
    C.setPosition(Start);
    C.setPosition(End, QTextCursor::KeepAnchor);
    M->setTextCursor(C);
    return M->hasFocus();
}

void SetOptions(TMainForm& Form, int Bits) {
    const char* const Names[] = {"EditOptionsAssignOnColon", "EditOptionsEncloseOnBracket",
                                 "EditOptionsEncloseOnOperator"};
    for (int I = 0; I < 3; ++I) {
        QAction* A = Form.Action(QString::fromLatin1(Names[I]));
        if (A->isChecked() != ((Bits >> I) & 1)) A->trigger();
    }
}
} // namespace

class TestEditAids : public QObject {
    Q_OBJECT
  private slots:
    void handlerEdits_data();
    void handlerEdits();
    void typedKeysEditTheInput_data();
    void typedKeysEditTheInput();
    void keypadDecimalKeyTypesFullStop_data();
    void keypadDecimalKeyTypesFullStop();
    void anAidedEditIsOneHistoryStep();
    void completingAnAssignmentAddsNoStep();
    void ctrlKeysAreNotTyped();
    void replacedNoteNamesEachCharacterOnce_data();
    void replacedNoteNamesEachCharacterOnce();
    void pastedLookAlikesAreReplaced_data();
    void pastedLookAlikesAreReplaced();
    void aPasteIsOneHistoryStep();
    void droppedLookAlikesAreReplaced();
};

void TestEditAids::handlerEdits_data() {
    QTest::addColumn<int>("options");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("selection");
    QTest::addColumn<QString>("before"); // empty: the selection starts the text
    QTest::addColumn<bool>("handled");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caretBack");
    const int All = opAssign | opBracket | opOperator;
    QTest::newRow("colon at the start") << int(opAssign) << ":"
                                        << ""
                                        << "" << true << " := " << 0;
    QTest::newRow("colon after a letter") << int(opAssign) << ":"
                                          << ""
                                          << "x" << true << " := " << 0;
    QTest::newRow("colon after a blank") << int(opAssign) << ":"
                                         << ""
                                         << " " << true << ":= " << 0;
    QTest::newRow("equals after a blank") << int(opAssign) << "="
                                          << ""
                                          << " " << true << ":= " << 0;
    QTest::newRow("equals after the aid's := is already there") << int(opAssign) << "="
                                                                << ""
                                                                << "x := " << true << "" << 0;
    QTest::newRow("a blank after the aid's := is already there") << int(opAssign) << " "
                                                                 << ""
                                                                 << "x := " << true << "" << 0;
    QTest::newRow("equals after a typed colon completes it") << int(opAssign) << "="
                                                             << ""
                                                             << "x:" << true << "= " << 0;
    QTest::newRow("equals after := without its blank") << int(opAssign) << "="
                                                       << ""
                                                       << "x:=" << true << " := " << 0;
    QTest::newRow("equals over a selection after :=") << int(opAssign) << "="
                                                      << "2"
                                                      << ":= " << true << ":= " << 0;
    QTest::newRow("a blank elsewhere") << int(opAssign) << " "
                                       << ""
                                       << "x =" << false << "" << 0;
    QTest::newRow("equals after := without the option") << All - opAssign << "="
                                                        << ""
                                                        << "x := " << false << "" << 0;
    QTest::newRow("colon after a tab is not after a blank") << int(opAssign) << ":"
                                                            << ""
                                                            << "\t" << true << " := " << 0;
    QTest::newRow("colon replaces the selection") << int(opAssign) << ":"
                                                  << "abc"
                                                  << "x" << true << " := " << 0;
    QTest::newRow("colon without the option") << All - opAssign << ":"
                                              << ""
                                              << "x" << false << "" << 0;
    QTest::newRow("equals without the option") << int(opNone) << "="
                                               << ""
                                               << "x" << false << "" << 0;
    QTest::newRow("( empty") << int(opBracket) << "("
                             << ""
                             << "" << true << "()" << 1;
    QTest::newRow(") empty") << int(opBracket) << ")"
                             << ""
                             << "" << true << "()" << 1;
    QTest::newRow("[ empty") << int(opBracket) << "["
                             << ""
                             << "" << true << "[]" << 1;
    QTest::newRow("] empty") << int(opBracket) << "]"
                             << ""
                             << "" << true << "[]" << 1;
    QTest::newRow("( around a+b") << int(opBracket) << "("
                                  << "a+b"
                                  << "" << true << "(a+b)" << 0;
    QTest::newRow(") around a+b, caret before") << int(opBracket) << ")"
                                                << "a+b"
                                                << "" << true << "(a+b)" << 5;
    QTest::newRow("] around x") << int(opBracket) << "]"
                                << "x"
                                << "" << true << "[x]" << 3;
    QTest::newRow("bracket without the option") << All - opBracket << "("
                                                << "a"
                                                << "" << false << "" << 0;
    QTest::newRow("brackets are no operators") << int(opOperator) << ")"
                                               << "a"
                                               << "" << false << "" << 0;
    QTest::newRow("* around a+b") << int(opOperator) << "*"
                                  << "a+b"
                                  << "" << true << "(a+b)\u2219" << 0;
    QTest::newRow("/ around f(x) in square brackets") << int(opOperator) << "/"
                                                      << "f(x)"
                                                      << "" << true << "[f(x)]/" << 0;
    QTest::newRow("[ inside is not (") << int(opOperator) << "+"
                                       << "a[1]"
                                       << "" << true << "(a[1])+" << 0;
    QTest::newRow("\u2212 encloses and stays") << int(opOperator) << "\u2212"
                                               << "a"
                                               << "" << true << "(a)\u2212" << 0;
    QTest::newRow("\u2191 encloses") << int(opOperator) << "\u2191"
                                     << "2"
                                     << "" << true << "(2)\u2191" << 0;
    QTest::newRow("* without selection") << int(opOperator) << "*"
                                         << ""
                                         << "" << true << "\u2219" << 0;
    QTest::newRow("* with the options off") << int(opNone) << "*"
                                            << ""
                                            << "" << true << "\u2219" << 0;
    QTest::newRow("- with the options off") << int(opNone) << "-"
                                            << "a"
                                            << "" << true << "\u2013" << 0;
    QTest::newRow("\u00D7 unchanged") << int(opNone) << "\u00D7"
                                      << ""
                                      << "" << false << "" << 0;
    QTest::newRow("\u2212 unchanged") << int(opNone) << "\u2212"
                                      << ""
                                      << "" << false << "" << 0;
    QTest::newRow("^ unchanged") << int(opNone) << "^"
                                 << ""
                                 << "" << false << "" << 0;
    QTest::newRow("+ unchanged without selection") << All << "+"
                                                   << ""
                                                   << "" << false << "" << 0;
    QTest::newRow("a letter") << All << "x"
                              << "sel"
                              << "" << false << "" << 0;
    QTest::newRow("a full stop") << All << "."
                                 << ""
                                 << "1" << false << "" << 0;
}

void TestEditAids::handlerEdits() {
    QFETCH(int, options);
    QFETCH(QString, key);
    QFETCH(QString, selection);
    QFETCH(QString, before);
    QFETCH(bool, handled);
    QFETCH(QString, text);
    QFETCH(int, caretBack);
    const TSymbols Symbols;
    const auto Edit = TCharHandler(Symbols).Edit(OptionsOf(options), key.front(), selection, before);
    QCOMPARE(Edit.has_value(), handled);
    if (!Edit) return;
    QCOMPARE(Edit->Text, text);
    QCOMPARE(Edit->CaretBack, caretBack);
}

// The text box's own state after real key presses: text, caret, no selection.
void TestEditAids::typedKeysEditTheInput_data() {
    QTest::addColumn<int>("options");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selEnd");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("result");
    QTest::addColumn<int>("caret");
    QTest::newRow("x:2 gives an assignment") << int(opAssign) << "" << 0 << 0 << "x:2"
                                             << "x := 2" << 6;
    QTest::newRow("x =2 gives the same") << int(opAssign) << "" << 0 << 0 << "x =2"
                                         << "x := 2" << 6;
    QTest::newRow("x:=2 gives one assignment") << int(opAssign) << "" << 0 << 0 << "x:=2"
                                               << "x := 2" << 6;
    QTest::newRow("x := 2 typed as written") << int(opAssign) << "" << 0 << 0 << "x := 2"
                                             << "x := 2" << 6;
    QTest::newRow("x = 2 gives the same") << int(opAssign) << "" << 0 << 0 << "x = 2"
                                          << "x := 2" << 6;
    QTest::newRow("a=b") << int(opAssign) << "" << 0 << 0 << "a=b"
                         << "a := b" << 6;
    QTest::newRow("x: 2") << int(opAssign) << "" << 0 << 0 << "x: 2"
                          << "x := 2" << 6;
    QTest::newRow("f(t) := t^2 on a second line") << int(opAssign) << "1\n"
                                                  << 2 << 2 << "f(t) := t^2"
                                                  << "1\nf(t) := t^2" << 13;
    QTest::newRow("= after a colon typed with the aid off") << int(opAssign) << "x:" << 2 << 2 << "=1"
                                                            << "x:= 1" << 5;
    QTest::newRow("blanks elsewhere stay") << int(opAssign) << "" << 0 << 0 << "x := 2 + 1"
                                           << "x := 2 + 1" << 10;
    QTest::newRow("colon at the start") << int(opAssign) << "" << 0 << 0 << ":"
                                        << " := " << 4;
    QTest::newRow("colon after a line break") << int(opAssign) << "a\n"
                                              << 2 << 2 << ":"
                                              << "a\n := " << 6;
    QTest::newRow("colon off") << int(opNone) << "" << 0 << 0 << "x:=2"
                               << "x:=2" << 4;
    QTest::newRow("( between brackets") << int(opBracket) << "sin" << 3 << 3 << "(x"
                                        << "sin(x)" << 5;
    QTest::newRow(") between brackets") << int(opBracket) << "" << 0 << 0 << ")"
                                        << "()" << 1;
    QTest::newRow("( around a+b") << int(opBracket) << "a+b" << 0 << 3 << "("
                                  << "(a+b)" << 5;
    QTest::newRow(") around a+b") << int(opBracket) << "a+b" << 0 << 3 << ")"
                                  << "(a+b)" << 0;
    QTest::newRow(") around a backward selection") << int(opBracket) << "1+a+b" << 5 << 2 << ")"
                                                   << "1+(a+b)" << 2;
    QTest::newRow("] around two rows") << int(opBracket) << "a\nb" << 0 << 3 << "]"
                                       << "[a\nb]" << 0;
    QTest::newRow("* around a+b") << int(opOperator) << "a+b" << 0 << 3 << "*2"
                                  << "(a+b)\u22192" << 7;
    QTest::newRow("/ around f(x)") << int(opOperator) << "f(x)" << 0 << 4 << "/"
                                   << "[f(x)]/" << 7;
    QTest::newRow("- around a part") << int(opOperator) << "1+2+3" << 2 << 5 << "-"
                                     << "1+(2+3)\u2013" << 8;
    QTest::newRow("* and - with all off") << int(opNone) << "" << 0 << 0 << "2*x-3"
                                          << "2\u2219x\u20133" << 5;
    QTest::newRow("* replaces the selection with all off") << int(opNone) << "a+b" << 0 << 3 << "*"
                                                           << "\u2219" << 1;
    QTest::newRow("^ with all off") << int(opNone) << "2" << 1 << 1 << "^"
                                    << "2^" << 2;
}

void TestEditAids::typedKeysEditTheInput() {
    QFETCH(int, options);
    QFETCH(QString, text);
    QFETCH(int, selStart);
    QFETCH(int, selEnd);
    QFETCH(QString, keys);
    QFETCH(QString, result);
    QFETCH(int, caret);
    TStateFolder Dir;
    TMainForm Form(Dir.Dir());
    SetOptions(Form, options);
    QVERIFY(Prepare(Form, text, selStart, selEnd));
    QTest::keyClicks(Input(Form), keys);
    QCOMPARE(Input(Form)->toPlainText(), result);
    QVERIFY(!Input(Form)->textCursor().hasSelection());
    QCOMPARE(Input(Form)->textCursor().position(), caret);
}

void TestEditAids::keypadDecimalKeyTypesFullStop_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("result");
    QTest::newRow("keypad decimal comma") << int(Qt::Key_Comma) << "1.";
    QTest::newRow("keypad decimal point") << int(Qt::Key_Period) << "1.";
}

void TestEditAids::keypadDecimalKeyTypesFullStop() {
    QFETCH(int, key);
    QFETCH(QString, result);
    TStateFolder Dir;
    TMainForm Form(Dir.Dir());
    QVERIFY(Prepare(Form, QStringLiteral("1"), 1, 1));
    QTest::keyClick(Input(Form), Qt::Key(key), Qt::KeypadModifier);
    QCOMPARE(Input(Form)->toPlainText(), result);
    // The comma of the main keyboard stays a comma: it separates arguments.
    QTest::keyClick(Input(Form), Qt::Key_Comma);
    QCOMPARE(Input(Form)->toPlainText(), result + u',');
}

void TestEditAids::anAidedEditIsOneHistoryStep() {
    TStateFolder Dir;
    TMainForm Form(Dir.Dir());
    SetOptions(Form, opAssign | opBracket | opOperator);
    QVERIFY(Prepare(Form, QStringLiteral("a+b"), 0, 3));
    const qsizetype Steps = Form.History().Count();
    QTest::keyClicks(Input(Form), QStringLiteral("*"));
    QCOMPARE(Input(Form)->toPlainText(), QStringLiteral("(a+b)\u2219"));
    QCOMPARE(Form.History().Count(), Steps + 1);
    QTest::keyClicks(Input(Form), QStringLiteral("("));
    QCOMPARE(Form.History().Count(), Steps + 2);
    QTest::keyClick(Input(Form), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Input(Form)->toPlainText(), QStringLiteral("(a+b)\u2219"));
}

// The keys that find the assignment already typed change nothing, so they add
// no step: one undo takes back the whole ":= ".
void TestEditAids::completingAnAssignmentAddsNoStep() {
    TStateFolder Dir;
    TMainForm Form(Dir.Dir());
    SetOptions(Form, opAssign);
    QVERIFY(Prepare(Form, QStringLiteral("x"), 1, 1));
    const qsizetype Steps = Form.History().Count();
    QTest::keyClicks(Input(Form), QStringLiteral(":= "));
    QCOMPARE(Input(Form)->toPlainText(), QStringLiteral("x := "));
    QCOMPARE(Form.History().Count(), Steps + 1);
    QTest::keyClick(Input(Form), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Input(Form)->toPlainText(), QStringLiteral("x"));
}

// Ctrl+Shift+8 must not type a multiplication sign.
void TestEditAids::ctrlKeysAreNotTyped() {
    TStateFolder Dir;
    TMainForm Form(Dir.Dir());
    QVERIFY(Prepare(Form, QStringLiteral("2"), 1, 1));
    QKeyEvent Press(QEvent::KeyPress, Qt::Key_Asterisk, Qt::ControlModifier | Qt::ShiftModifier,
                    QStringLiteral("*"));
    QCoreApplication::sendEvent(Input(Form), &Press);
    QCOMPARE(Input(Form)->toPlainText(), QStringLiteral("2"));
}

void TestEditAids::replacedNoteNamesEachCharacterOnce_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("note");
    QTest::newRow("nothing replaced says nothing") << "6/2\u22193"
                                                   << "";
    QTest::newRow("one character") << "6\u00F72"
                                   << "Pasted text: 1 character replaced (\u00F7)";
    QTest::newRow("in order of appearance, each once")
        << "6\u00F72\u00B73\u00F71"
        << "Pasted text: 3 characters replaced (\u00F7 \u00B7)";
    QTest::newRow("blanks by their code") << "1\u00A0+\u3000\u00B2"
                                          << "Pasted text: 3 characters replaced (U+00A0 U+3000 \u00B2)";
}

void TestEditAids::replacedNoteNamesEachCharacterOnce() {
    QFETCH(QString, text);
    QFETCH(QString, note);
    TNormalizeReport Report;
    NormalizeText(text.toStdU16String(), &Report);
    QCOMPARE(ReplacedNote(Report), note);
}

// A real paste: the clipboard set, Ctrl+V on the input box, Enter to evaluate.
void TestEditAids::pastedLookAlikesAreReplaced_data() {
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("note"); // empty: the status bar keeps what it had
    QTest::addColumn<QString>("output");
    QTest::newRow("division sign and middle dot") << "6\u00F72\u00B73"
                                                  << "6/2\u22193"
                                                  << "Pasted text: 2 characters replaced (\u00F7 \u00B7)"
                                                  << "6/2\u22193 = 9";
    QTest::newRow("superscripts and a dash") << "10\u00B2\u2014\uFF11"
                                             << "10^2\u20131"
                                             << "Pasted text: 3 characters replaced (\u00B2 \u2014 \uFF11)"
                                             << "10^2\u20131 = 99";
    QTest::newRow("an angle with primes") << "30\u00B030\u2032"
                                          << "30\u00B030'"
                                          << "Pasted text: 1 character replaced (\u2032)"
                                          << "30\u00B030' = 0.53233";
    QTest::newRow("nothing to replace") << "1+2"
                                        << "1+2"
                                        << ""
                                        << "1+2 = 3";
}

void TestEditAids::pastedLookAlikesAreReplaced() {
    QFETCH(QString, clipboard);
    QFETCH(QString, input);
    QFETCH(QString, note);
    QFETCH(QString, output);
    TStateFolder Dir;
    TMainForm Form(Dir.Dir());
    QVERIFY(Prepare(Form, QString(), 0, 0));
    auto* Bar = Form.findChild<TStatusBar*>(QStringLiteral("StatusBar"));
    Bar->SetPanelText(0, QStringLiteral("before"));
    QGuiApplication::clipboard()->setText(clipboard);
    QTest::keyClick(Input(Form), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(Input(Form)->toPlainText(), input);
    QCOMPARE(Bar->PanelText(0), note.isEmpty() ? QStringLiteral("before") : note);
    QTest::keyClick(Input(Form), Qt::Key_Return);
    const QStringList Lines = Form.findChild<TMemo*>(QStringLiteral("Memo2"))->toPlainText().split(u'\n');
    QCOMPARE(Lines.last(), output);
}

void TestEditAids::aPasteIsOneHistoryStep() {
    TStateFolder Dir;
    TMainForm Form(Dir.Dir());
    QVERIFY(Prepare(Form, QStringLiteral("ab"), 0, 0));
    QTest::keyClicks(Input(Form), QStringLiteral("x"));
    QTest::keyClick(Input(Form), Qt::Key_Right, Qt::ShiftModifier); // "a" selected
    const qsizetype Steps = Form.History().Count();
    QGuiApplication::clipboard()->setText(QStringLiteral("2\u00B7\u00B3"));
    QTest::keyClick(Input(Form), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(Input(Form)->toPlainText(), QStringLiteral("x2\u2219^3b"));
    QCOMPARE(Form.History().Count(), Steps + 1);
    QTest::keyClick(Input(Form), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Input(Form)->toPlainText(), QStringLiteral("xab"));
}

// Dropped text takes the way of pasted text, whatever other formats it carries.
void TestEditAids::droppedLookAlikesAreReplaced() {
    TStateFolder Dir;
    TMainForm Form(Dir.Dir());
    QVERIFY(Prepare(Form, QString(), 0, 0));
    QWidget* Target = Input(Form)->viewport();
    QMimeData Data;
    Data.setText(QStringLiteral("8\u22157"));
    Data.setHtml(QStringLiteral("<b>8\u22157</b>"));
    const QPoint At(5, 5);
    QDragEnterEvent Enter(At, Qt::CopyAction, &Data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Target, &Enter);
    QVERIFY(Enter.isAccepted());
    QDragMoveEvent Move(At, Qt::CopyAction, &Data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Target, &Move);
    QDropEvent Drop(QPointF(At), Qt::CopyAction, &Data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Target, &Drop);
    QCOMPARE(Input(Form)->toPlainText(), QStringLiteral("8/7"));
    QCOMPARE(Form.findChild<TStatusBar*>(QStringLiteral("StatusBar"))->PanelText(0),
             QStringLiteral("Pasted text: 1 character replaced (\u2215)"));
}

QTEST_MAIN(TestEditAids)
#include "TestEditAids.moc"
