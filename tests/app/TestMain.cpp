// The main window as a user meets it: start-up order, keys sent to the focused
// text box, the commands' effects, the layout rule, and the settings and input
// kept across runs. Every window gets a fresh temporary state folder.
#include "AppTestSupport.h"

#include "ActionList.h"
#include "ExtIni.h"
#include "FontChoice.h"
#include "Main.h"
#include "Memo.h"
#include "Parse.Infix.h"
#include "StatusBar.h"
#include "Utils.h"

#include <QAction>
#include <QClipboard>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QToolBar>
#include <QToolTip>

#include <optional>

namespace {
// Latin, Greek and Cyrillic look-alikes; "o" is in two lines, so the first one maps it.
const QString SymbolMapText = QStringLiteral("a\u03B1\u0430\nb\u03B2\no\u03BF\no0\n*\u2219\u00D7");

class TState {
  public:
    TState() {
        if (!FDir.isValid()) qFatal("no temporary folder");
        WriteUtf16File(Path(QStringLiteral("SymbolMap.txt")), SymbolMapText);
    }
    QString Path(const QString& Name) const { return FDir.filePath(Name); }
    QString Dir() const { return FDir.path(); }
    // Named after the executable, as the calculator's own settings file is.
    QString IniFile() const {
        return Path(QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() +
                    QStringLiteral(".ini"));
    }
    void WriteIni(const QString& Text) const {
        QFile File(IniFile());
        if (!File.open(QIODevice::WriteOnly)) qFatal("cannot write ini");
        File.write(Text.toUtf8());
    }
    QString ReadIni() const { return QString::fromUtf8(ReadBytes(IniFile())); }

  private:
    QTemporaryDir FDir;
};

TMemo* Memo(const TMainForm& Form, const char* Name) {
    return Form.findChild<TMemo*>(QString::fromLatin1(Name));
}
QString Input(const TMainForm& Form) {
    return Memo(Form, "Memo1")->toPlainText();
}
QString Output(const TMainForm& Form) {
    return Memo(Form, "Memo2")->toPlainText();
}

// Shows the window and makes it the active one, so keys reach Memo1 as typed
// keys do. Without a window manager nobody else activates it after a dialog.
bool ShowActive(TMainForm& Form) {
    Form.show();
    Form.activateWindow();
    // The offscreen platform keeps a re-created window focused without telling
    // the widgets, so they do not learn that it is active again.
    if (QTest::qWaitForWindowActive(Form.windowHandle()) && !QApplication::activeWindow())
        QApplication::setActiveWindow(&Form);
    return QTest::qWaitForWindowActive(&Form) && Memo(Form, "Memo1")->hasFocus();
}

// Typed, or pasted when it holds line breaks (Enter evaluates) or characters
// the test keyboard lacks; either way the history sees it.
void SetInput(TMainForm& Form, const QString& Text) {
    TMemo* M = Memo(Form, "Memo1");
    M->selectAll();
    const bool Typeable =
        std::all_of(Text.begin(), Text.end(), [](QChar C) { return C >= u' ' && C < u'\x7F'; });
    if (Typeable)
        QTest::keyClicks(M, Text);
    else
        M->insertPlainText(Text);
}

void Key(TMainForm& Form, Qt::Key K, Qt::KeyboardModifiers Mods = Qt::NoModifier) {
    QTest::keyClick(Memo(Form, "Memo1"), K, Mods);
}

void Select(TMainForm& Form, int Start, int End) {
    TMemo* M = Memo(Form, "Memo1");
    QTextCursor C = M->textCursor();
    C.setPosition(Start);
    C.setPosition(End, QTextCursor::KeepAnchor);
    M->setTextCursor(C);
}
} // namespace

class TestMain : public QObject {
    Q_OBJECT

  public slots:
    void OpenUrl(const QUrl& Url) { FOpened.append(Url); }

  private slots:
    void initTestCase();
    void init() { FOpened.clear(); }
    void cleanupTestCase();

    void startupRunsInitDefsAndLoadsAutoSave();
    void commandLineReplacesAutoSaveAndIsEvaluated();
    void missingSymbolMapWarnsAndDisablesToggle();
    void unreadableAutoSaveIsReportedAndNotOverwritten();
    void controlsAndActionsCarryTheirNames();
    void defaultShortcutsReachTheirActions_data();
    void defaultShortcutsReachTheirActions();
    void ctrlFOpensFunctionPickerOnlyWhileMenuAttached();
    void evaluateTakesSelectionOrWholeText_data();
    void evaluateTakesSelectionOrWholeText();
    void errorMarksItsPlaceInTheInput_data();
    void errorMarksItsPlaceInTheInput();
    void nextEditClearsTheErrorMark();
    void hintsShowInTheStatusBarOnly_data();
    void hintsShowInTheStatusBarOnly();
    void resultFormatsReevaluate_data();
    void resultFormatsReevaluate();
    void precisionRerunsLastStatementsWithinLimits_data();
    void precisionRerunsLastStatementsWithinLimits();
    void preserveOutputAddsDivider();
    void fontGrowAndShrinkStopAtLimits_data();
    void fontGrowAndShrinkStopAtLimits();
    void layoutSplitsClientHeight_data();
    void layoutSplitsClientHeight();
    void statusPanelShowsCaretPosition_data();
    void statusPanelShowsCaretPosition();
    void formatPanelFollowsFormatAndPrecision_data();
    void formatPanelFollowsFormatAndPrecision();
    void clickOnFormatPanelOpensFormatMenu_data();
    void clickOnFormatPanelOpensFormatMenu();
    void hintsShowInFirstPanel();
    void toggleSymbolCyclesThroughMap_data();
    void toggleSymbolCyclesThroughMap();
    void undoAndRedoFollowTyping();
    void shiftOrCtrlEnterBreaksTheLine_data();
    void shiftOrCtrlEnterBreaksTheLine();
    void emptyingTheInputAddsNoStep();
    void viewSwitchesFollowState();
    void fontDialogAppliesToBothBoxes_data();
    void fontDialogAppliesToBothBoxes();
    void helpOpensPageAndMinimises();
    void fileCommandsReadAndWriteUtf16();
    void escClosesAndWritesFiles();
    void settingsRoundTrip();
    void maximisedWindowKeepsItsNormalBounds();
    void settingsOutOfRangeFallBack_data();
    void settingsOutOfRangeFallBack();
    void shortcutsWrittenOnlyAfterChange();
    void storedShortcutsAreUsed();
    void failedWritesOnCloseAreReported_data();
    void failedWritesOnCloseAreReported();
    void editActionsStayEnabledAfterMenuCommand_data();
    void editActionsStayEnabledAfterMenuCommand();
    void preserveShowsTheNewestRun();
    void undoShowsWhereTheChangeWas_data();
    void undoShowsWhereTheChangeWas();
    void fontDialogOkWithoutChangeKeepsTheFont_data();
    void fontDialogOkWithoutChangeKeepsTheFont();
    void resultKeysTakeTheValueOfALine_data();
    void resultKeysTakeTheValueOfALine();
    void outputPopupOffersResultReuse();
    void exportWritesTheLastRunOrReportsTheFailure();

  private:
    QList<QUrl> FOpened;
};

void TestMain::initTestCase() {
    QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "OpenUrl");
    QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "OpenUrl");
}

void TestMain::cleanupTestCase() {
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
}

void TestMain::startupRunsInitDefsAndLoadsAutoSave() {
    TState S;
    WriteUtf16File(S.Path(QStringLiteral("InitDefs.txt")), QStringLiteral("a := 5\nf(x) := x^2"));
    WriteUtf16File(S.Path(QStringLiteral("AutoSave.txt")), QStringLiteral("f(a)\n1+1"));
    TMainForm Form(S.Dir());
    QCOMPARE(Output(Form), QStringLiteral("a = 5\nf(x) = x^2"));
    QCOMPARE(Input(Form), QStringLiteral("f(a)\n1+1"));
    QCOMPARE(Form.History().Count(), 1);
    QVERIFY(!Form.Action(QStringLiteral("EditUndo"))->isEnabled());
    QVERIFY(ShowActive(Form));
    QVERIFY(Memo(Form, "Memo1")->textCursor().hasSelection()); // all text selected when shown
    QCOMPARE(Memo(Form, "Memo1")->textCursor().selectedText().size(), Input(Form).size());
}

void TestMain::commandLineReplacesAutoSaveAndIsEvaluated() {
    TState S;
    WriteUtf16File(S.Path(QStringLiteral("InitDefs.txt")), QStringLiteral("a := 5"));
    WriteUtf16File(S.Path(QStringLiteral("AutoSave.txt")), QStringLiteral("saved text"));
    TMainForm Form(S.Dir(), QStringLiteral("a*2; \"x\""));
    QCOMPARE(Input(Form), QStringLiteral("a*2; \"x\""));
    QVERIFY2(Output(Form).startsWith(QStringLiteral("a\u22192 = 10\n")), qPrintable(Output(Form)));
    // The auto-saved text was loaded first: it is the step before.
    QCOMPARE(Form.History().Count(), 2);
    QVERIFY(Form.Action(QStringLiteral("EditUndo"))->isEnabled());
}

void TestMain::missingSymbolMapWarnsAndDisablesToggle() {
    TState S;
    QFile::remove(S.Path(QStringLiteral("SymbolMap.txt")));
    auto Answer = DismissDialogs();
    TMainForm Form(S.Dir());
    QCOMPARE(Answer.Texts(),
             QStringList{QStringLiteral("The file '%1' was not found. The command 'Font > Toggle "
                                        "symbol' is disabled.")
                             .arg(S.Path(QStringLiteral("SymbolMap.txt")))});
    QVERIFY(!Form.Action(QStringLiteral("FontToggleChar"))->isEnabled());
}

void TestMain::unreadableAutoSaveIsReportedAndNotOverwritten() {
    TState S;
    // A folder where the file should be cannot be read, whoever runs the test.
    const QString AutoSave = S.Path(QStringLiteral("AutoSave.txt"));
    QVERIFY(QDir().mkpath(AutoSave + QStringLiteral("/kept")));
    auto Answer = DismissDialogs();
    TMainForm Form(S.Dir());
    QCOMPARE(Answer.Count(), 1);
    QVERIFY2(Answer.Texts().first().startsWith(
                 QStringLiteral("Cannot read '%1': it is a directory").arg(AutoSave)),
             qPrintable(Answer.Texts().first()));
    QCOMPARE(Input(Form), QString());
    QCOMPARE(Form.History().Count(), 1); // start-up went on to the end
    QVERIFY(ShowActive(Form));
    Form.close();
    QCOMPARE(Answer.Count(), 1); // the empty box is not written over it
    QVERIFY(QFileInfo(AutoSave + QStringLiteral("/kept")).isDir());

    // Once something is typed, the unreadable one is moved aside, not lost.
    TMainForm Again(S.Dir());
    QCOMPARE(Answer.Count(), 2);
    QVERIFY(ShowActive(Again));
    QTest::keyClicks(Memo(Again, "Memo1"), QStringLiteral("7"));
    Again.close();
    QCOMPARE(Answer.Count(), 2);
    QCOMPARE(ReadBytes(AutoSave), QByteArray("\xFF\xFE"
                                             "7\0\r\0\n\0",
                                             8));
    QVERIFY(QFileInfo(AutoSave + QStringLiteral(".unread/kept")).isDir());
}

void TestMain::controlsAndActionsCarryTheirNames() {
    TState S;
    TMainForm Form(S.Dir());
    for (const char* Name :
         {"Memo1", "Memo2", "ToolBar1", "StatusBar", "mnuMain", "mnuPopup", "mnuOutputPopup", "ActionList"})
        QVERIFY2(Form.findChild<QObject*>(QString::fromLatin1(Name)), Name);
    // The settings file and the hotkeys editor list the actions in this order.
    const TActionList& A = Form.Actions();
    QStringList Categories;
    for (int I = 0; I < A.Count(); ++I)
        if (Categories.isEmpty() || Categories.last() != A.Category(I)) Categories.append(A.Category(I));
    QCOMPARE(Categories, (QStringList{"Program", "File", "View", "Font", "Parser", "Tools", "Edit"}));
    QCOMPARE(A.Count(), 49);
    QCOMPARE(A.Name(0), QStringLiteral("ProgramHelp"));
    QCOMPARE(A.Name(6), QStringLiteral("FileExport"));
    QCOMPARE(A.Name(22), QStringLiteral("ParserEvaluate"));
    QCOMPARE(A.Name(30), QStringLiteral("ParserTime"));
    QCOMPARE(A.Name(31), QStringLiteral("ParserAngle"));
    QCOMPARE(A.Name(32), QStringLiteral("ToolsKeyboard"));
    QCOMPARE(A.Name(43), QStringLiteral("EditCopyResult"));
    QCOMPARE(A.Name(44), QStringLiteral("EditInsertResult"));
    QCOMPARE(A.Name(47), QStringLiteral("EditOptionsEncloseOnOperator"));
    QCOMPARE(A.Name(48), QStringLiteral("EditOptionsCompleteNames"));
    QCOMPARE(A.ChangeMark(), 0);
    QVERIFY(Form.Action(QStringLiteral("ToolsKeyboard"))->isEnabled());
    for (const char* Name :
         {"ToolsInsertVariable", "ToolsInsertFunction", "ToolsSymbolList", "ToolsCustomize"})
        QVERIFY2(Form.Action(QString::fromLatin1(Name))->isEnabled(), Name);
}

void TestMain::defaultShortcutsReachTheirActions_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    const int Ctrl = Qt::ControlModifier, Alt = Qt::AltModifier, Shift = Qt::ShiftModifier;
    QTest::newRow("F1 help") << "ProgramHelp" << int(Qt::Key_F1) << 0;
    QTest::newRow("Esc exit") << "ProgramExit" << int(Qt::Key_Escape) << 0;
    QTest::newRow("Ctrl+O open") << "FileOpen" << int(Qt::Key_O) << Ctrl;
    QTest::newRow("Ctrl+S save") << "FileSave" << int(Qt::Key_S) << Ctrl;
    QTest::newRow("Ctrl+E export") << "FileExport" << int(Qt::Key_E) << Ctrl;
    QTest::newRow("Alt+M main menu") << "ViewMenubar" << int(Qt::Key_M) << Alt;
    QTest::newRow("Alt+S status bar") << "ViewStatusbar" << int(Qt::Key_S) << Alt;
    QTest::newRow("Alt+Enter full screen") << "ViewFullScreen" << int(Qt::Key_Return) << Alt;
    QTest::newRow("Alt+keypad Enter full screen")
        << "ViewFullScreen" << int(Qt::Key_Enter) << (Alt | int(Qt::KeypadModifier));
    QTest::newRow("Ctrl+T stay on top") << "ViewStayOnTop" << int(Qt::Key_T) << Ctrl;
    QTest::newRow("Ctrl+F function picker (the menu's key)")
        << "ToolsInsertFunction" << int(Qt::Key_F) << Ctrl;
    QTest::newRow("Alt+Up grow") << "FontGrow" << int(Qt::Key_Up) << Alt;
    QTest::newRow("Alt+Down shrink") << "FontShrink" << int(Qt::Key_Down) << Alt;
    QTest::newRow("Ctrl+B bold") << "FontBold" << int(Qt::Key_B) << Ctrl;
    QTest::newRow("Ctrl+I italic") << "FontItalic" << int(Qt::Key_I) << Ctrl;
    QTest::newRow("Ctrl+G toggle symbol") << "FontToggleChar" << int(Qt::Key_G) << Ctrl;
    QTest::newRow("Enter evaluates") << "ParserEvaluate" << int(Qt::Key_Return) << 0;
    QTest::newRow("keypad Enter evaluates")
        << "ParserEvaluate" << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
    QTest::newRow("Ctrl+Up more digits") << "ParserIncreaseDigits" << int(Qt::Key_Up) << Ctrl;
    QTest::newRow("Ctrl+Down fewer digits") << "ParserDecreaseDigits" << int(Qt::Key_Down) << Ctrl;
    QTest::newRow("Alt+D decimal") << "ParserDecimal" << int(Qt::Key_D) << Alt;
    QTest::newRow("Alt+B binary") << "ParserBinary" << int(Qt::Key_B) << Alt;
    QTest::newRow("Alt+H hexadecimal") << "ParserHexadecimal" << int(Qt::Key_H) << Alt;
    QTest::newRow("Alt+R roman") << "ParserRoman" << int(Qt::Key_R) << Alt;
    QTest::newRow("Alt+T time") << "ParserTime" << int(Qt::Key_T) << Alt;
    QTest::newRow("Alt+G angle (Alt+A opens the Parser menu)") << "ParserAngle" << int(Qt::Key_G) << Alt;
    QTest::newRow("Ctrl+A select all") << "EditSelectAll" << int(Qt::Key_A) << Ctrl;
    QTest::newRow("Ctrl+X cut") << "EditCut" << int(Qt::Key_X) << Ctrl;
    QTest::newRow("Ctrl+C copy") << "EditCopy" << int(Qt::Key_C) << Ctrl;
    QTest::newRow("Ctrl+V paste") << "EditPaste" << int(Qt::Key_V) << Ctrl;
    QTest::newRow("Ctrl+Z undo") << "EditUndo" << int(Qt::Key_Z) << Ctrl;
    QTest::newRow("Shift+Ctrl+Z redo") << "EditRedo" << int(Qt::Key_Z) << (Ctrl | Shift);
    QTest::newRow("Shift+Ctrl+C copy result") << "EditCopyResult" << int(Qt::Key_C) << (Ctrl | Shift);
    QTest::newRow("Ctrl+R insert result") << "EditInsertResult" << int(Qt::Key_R) << Ctrl;
}

void TestMain::defaultShortcutsReachTheirActions() {
    QFETCH(QString, action);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    TState S;
    auto Answer = DismissDialogs(); // file and font dialogs
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form));
    // Text typed, then undone once: every edit command has something to act on.
    SetInput(Form, QStringLiteral("ab"));
    Form.Action(QStringLiteral("EditUndo"))->trigger();
    Memo(Form, "Memo1")->selectAll();
    QGuiApplication::clipboard()->setText(QStringLiteral("7"));
    QVERIFY(Form.Action(action)->isEnabled());

    std::vector<std::unique_ptr<QSignalSpy>> Spies;
    for (int I = 0; I < Form.Actions().Count(); ++I)
        Spies.push_back(std::make_unique<QSignalSpy>(Form.Actions().Action(I), &QAction::triggered));
    Key(Form, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    for (int I = 0; I < Form.Actions().Count(); ++I) {
        const bool Expected = Form.Actions().Name(I) == action;
        QVERIFY2(Spies[I]->count() == (Expected ? 1 : 0), qPrintable(Form.Actions().Name(I)));
    }
}

void TestMain::ctrlFOpensFunctionPickerOnlyWhileMenuAttached() {
    TState S;
    auto Answer = DismissDialogs();
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form));
    QAction* Picker = Form.Action(QStringLiteral("ToolsInsertFunction"));
    QSignalSpy PickerSpy(Picker, &QAction::triggered);
    QSignalSpy FontSpy(Form.Action(QStringLiteral("FontSelect")), &QAction::triggered);
    // While the picker is not available, the key falls to the font dialog.
    Picker->setEnabled(false);
    Key(Form, Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(FontSpy.count(), 1);
    QVERIFY(ShowActive(Form)); // back from the dialog
    // An enabled menu entry is looked up first.
    Picker->setEnabled(true);
    Key(Form, Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(PickerSpy.count(), 1);
    QCOMPARE(FontSpy.count(), 1);
    // With the menu detached, the action list decides.
    QVERIFY(ShowActive(Form)); // back from the picker
    Key(Form, Qt::Key_M, Qt::AltModifier);
    QVERIFY(Form.menuBar()->isHidden());
    QVERIFY(ShowActive(Form));
    Key(Form, Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(PickerSpy.count(), 1);
    QCOMPARE(FontSpy.count(), 2);
}

void TestMain::evaluateTakesSelectionOrWholeText_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<QString>("output");
    QTest::addColumn<int>("caretStart"); // after the run: at an error, else the selection kept
    QTest::addColumn<int>("caretEnd");
    QTest::newRow("no selection: the whole text")
        << 2 << 2 << "1+2 = 3\n3\u22194 = 12\nUnknown identifier 'y' (row 3, col 1)" << 8 << 8;
    QTest::newRow("selection: only the selected text") << 4 << 7 << "3\u22194 = 12" << 4 << 7;
    QTest::newRow("selection across lines: rows count from it")
        << 4 << 11 << "3\u22194 = 12\nUnknown identifier 'y' (row 2, col 1)" << 8 << 8;
}

void TestMain::evaluateTakesSelectionOrWholeText() {
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(QString, output);
    QFETCH(int, caretStart);
    QFETCH(int, caretEnd);
    TState S;
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form));
    SetInput(Form, QStringLiteral("1+2\n3*4\ny+1"));
    Select(Form, start, end);
    Key(Form, Qt::Key_Return);
    QCOMPARE(Output(Form), output);
    QCOMPARE(Input(Form), QStringLiteral("1+2\n3*4\ny+1")); // Enter did not break the line
    QCOMPARE(Memo(Form, "Memo1")->textCursor().selectionStart(), caretStart);
    QCOMPARE(Memo(Form, "Memo1")->textCursor().selectionEnd(), caretEnd);
    QCOMPARE(Memo(Form, "Memo2")->textCursor().position(), 0);
}

void TestMain::errorMarksItsPlaceInTheInput_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("caret"); // -1: no error, the selection stays
    QTest::addColumn<QString>("message");
    QTest::newRow("whole text: row 3 of 5") << 0 << 0 << 12 << "Unknown identifier 'bb' (row 3, col 5)";
    QTest::newRow("selection from row 2: its row 2")
        << 4 << 16 << 12 << "Unknown identifier 'bb' (row 2, col 5)";
    QTest::newRow("selection of the name alone")
        << 12 << 14 << 12 << "Unknown identifier 'bb' (row 1, col 1)";
    QTest::newRow("selection without the error") << 15 << 18 << -1 << "";
}

void TestMain::errorMarksItsPlaceInTheInput() {
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(int, caret);
    QFETCH(QString, message);
    TState S;
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form));
    const QString Program = QStringLiteral("1+2\n3*4\n5 + bb\n7\n8*9");
    SetInput(Form, Program);
    Select(Form, start, end);
    Key(Form, Qt::Key_Return);
    TMemo* M = Memo(Form, "Memo1");
    auto* Status = Form.findChild<TStatusBar*>(QStringLiteral("StatusBar"));
    QCOMPARE(Input(Form), Program);
    QCOMPARE(Status->PanelText(0), message);
    if (caret < 0) {
        QCOMPARE(M->textCursor().selectionStart(), start);
        QCOMPARE(M->textCursor().selectionEnd(), end);
        QVERIFY(M->extraSelections().isEmpty());
        return;
    }
    QCOMPARE(Output(Form).split(u'\n').last(), message); // the output line is the message itself
    QCOMPARE(M->textCursor().position(), caret);
    QVERIFY(!M->textCursor().hasSelection());
    QCOMPARE(Status->PanelText(1), QStringLiteral("Line 3  Position 4"));
    const QList<QTextEdit::ExtraSelection> Marks = M->extraSelections();
    QCOMPARE(Marks.size(), 1);
    QCOMPARE(Marks[0].cursor.selectedText(), QStringLiteral("bb"));
    QCOMPARE(Marks[0].format.underlineStyle(), QTextCharFormat::WaveUnderline);
    // Hovering over the underline shows the whole message.
    QTextCursor Over(M->document());
    Over.setPosition(caret + 1);
    const QPoint At = M->cursorRect(Over).center() - QPoint(2, 0);
    QTest::mouseMove(M->viewport(), QPoint(1, 1)); // the mouse may rest there from an earlier row
    QTest::mouseMove(M->viewport(), At);
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), message);
    QToolTip::hideText();
}

void TestMain::nextEditClearsTheErrorMark() {
    TState S;
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form));
    SetInput(Form, QStringLiteral("1\nzz"));
    Key(Form, Qt::Key_Return);
    TMemo* M = Memo(Form, "Memo1");
    QCOMPARE(M->extraSelections().size(), 1);
    QCOMPARE(M->textCursor().position(), 2);
    Key(Form, Qt::Key_Right); // moving the caret keeps the mark
    QCOMPARE(M->extraSelections().size(), 1);
    QTest::keyClicks(M, QStringLiteral("z"));
    QCOMPARE(Input(Form), QStringLiteral("1\nzzz"));
    QVERIFY(M->extraSelections().isEmpty());
    // A run without error leaves no mark and no message.
    SetInput(Form, QStringLiteral("1 + 1"));
    Key(Form, Qt::Key_Return);
    QCOMPARE(Output(Form), QStringLiteral("1+1 = 2"));
    QVERIFY(M->extraSelections().isEmpty());
    QCOMPARE(Form.findChild<TStatusBar*>(QStringLiteral("StatusBar"))->PanelText(0), QString());
}

void TestMain::hintsShowInTheStatusBarOnly_data() {
    QTest::addColumn<QString>("program"); // pasted, so that the typing aids leave it as it is
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("status");
    QTest::newRow("after an error, behind its message")
        << "2^-1"
        << "Factor expected (row 1, col 3)"
        << "Factor expected (row 1, col 3) \u2014 put a negative operand in brackets: 2^(-1)";
    QTest::newRow("after a surprising result, alone")
        << "100 + 5%"
        << "100+5% = 100.05"
        << "5% is just 5/100 here; for 5 percent more or less, multiply by (1 + 5%)";
}

void TestMain::hintsShowInTheStatusBarOnly() {
    QFETCH(QString, program);
    QFETCH(QString, output);
    QFETCH(QString, status);
    TState S;
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form));
    Memo(Form, "Memo1")->insertPlainText(program);
    Key(Form, Qt::Key_Return);
    QCOMPARE(Output(Form), output);
    QCOMPARE(Form.findChild<TStatusBar*>(QStringLiteral("StatusBar"))->PanelText(0), status);
}

void TestMain::resultFormatsReevaluate_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("checked");
    QTest::addColumn<QString>("output");
    QTest::newRow("binary") << int(Qt::Key_B) << "ParserBinary"
                            << "10+4 = &1110";
    QTest::newRow("hexadecimal") << int(Qt::Key_H) << "ParserHexadecimal"
                                 << "10+4 = $E";
    QTest::newRow("roman") << int(Qt::Key_R) << "ParserRoman"
                           << "10+4 = #XIV";
    QTest::newRow("time") << int(Qt::Key_T) << "ParserTime"
                          << "10+4 = 0:00:14";
    QTest::newRow("angle") << int(Qt::Key_G) << "ParserAngle"
                           << "10+4 = 802°8'27.287\"";
    QTest::newRow("decimal") << int(Qt::Key_D) << "ParserDecimal"
                             << "10+4 = 14";
}

void TestMain::resultFormatsReevaluate() {
    QFETCH(int, key);
    QFETCH(QString, checked);
    QFETCH(QString, output);
    TState S;
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form));
    QVERIFY(Form.Action(QStringLiteral("ParserDecimal"))->isChecked()); // every run starts decimal
    SetInput(Form, QStringLiteral("2*3\n10+4"));
    Select(Form, 4, 8); // the format commands follow the selection rule too
    if (key == Qt::Key_D) Form.Action(QStringLiteral("ParserRoman"))->trigger();
    Key(Form, Qt::Key(key), Qt::AltModifier);
    QCOMPARE(Output(Form), output);
    for (const char* Name :
         {"ParserDecimal", "ParserBinary", "ParserHexadecimal", "ParserRoman", "ParserTime", "ParserAngle"})
        QCOMPARE(Form.Action(QString::fromLatin1(Name))->isChecked(), checked == QLatin1String(Name));
}

void TestMain::precisionRerunsLastStatementsWithinLimits_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("output");
    QTest::newRow("increase re-runs") << 5 << int(Qt::Key_Up) << 6 << "1/3 = 0.333333";
    QTest::newRow("decrease re-runs") << 5 << int(Qt::Key_Down) << 4 << "1/3 = 0.3333";
    QTest::newRow("increase at 18 does nothing") << 18 << int(Qt::Key_Up) << 18 << "untouched";
    QTest::newRow("decrease at 2 does nothing") << 2 << int(Qt::Key_Down) << 2 << "untouched";
    QTest::newRow("increase at 17 reaches 18") << 17 << int(Qt::Key_Up) << 18 << "1/3 = 0.333333333333333333";
}

void TestMain::precisionRerunsLastStatementsWithinLimits() {
    QFETCH(int, from);
    QFETCH(int, key);
    QFETCH(int, to);
    QFETCH(QString, output);
    TState S;
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form));
    QCOMPARE(Form.Parser().Precision(), 5);
    SetInput(Form, QStringLiteral("1/3"));
    Key(Form, Qt::Key_Return);
    Form.Parser().SetPrecision(from);
    // The re-run takes the statements last given, not the input box.
    SetInput(Form, QStringLiteral("2/3"));
    Memo(Form, "Memo2")->setPlainText(QStringLiteral("untouched"));
    Key(Form, Qt::Key(key), Qt::ControlModifier);
    QCOMPARE(Form.Parser().Precision(), to);
    QCOMPARE(Output(Form), output);
}

void TestMain::preserveOutputAddsDivider() {
    TState S;
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form));
    SetInput(Form, QStringLiteral("1+2"));
    QAction* Preserve = Form.Action(QStringLiteral("ParserRetainOutput"));
    QVERIFY(!Preserve->isChecked());
    Preserve->trigger();
    QVERIFY(Preserve->isChecked());
    Key(Form, Qt::Key_Return);
    Key(Form, Qt::Key_Return);
    const QString Divider(40, u'=');
    QCOMPARE(Output(Form), QStringLiteral("1+2 = 3\n") + Divider + QStringLiteral("\n1+2 = 3"));
    Preserve->trigger();
    Key(Form, Qt::Key_Return);
    QCOMPARE(Output(Form), QStringLiteral("1+2 = 3"));
}

void TestMain::fontGrowAndShrinkStopAtLimits_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("once");
    QTest::addColumn<int>("twice");
    QTest::newRow("grow from 29") << 29 << int(Qt::Key_Up) << 30 << 30;
    QTest::newRow("shrink from 9") << 9 << int(Qt::Key_Down) << 8 << 8;
    QTest::newRow("grow from 18") << 18 << int(Qt::Key_Up) << 20 << 22;
}

void TestMain::fontGrowAndShrinkStopAtLimits() {
    QFETCH(int, size);
    QFETCH(int, key);
    QFETCH(int, once);
    QFETCH(int, twice);
    TState S;
    S.WriteIni(QStringLiteral("[Settings]\nFontSize=%1\n").arg(size));
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form));
    QCOMPARE(Memo(Form, "Memo1")->font().pointSize(), size);
    Key(Form, Qt::Key(key), Qt::AltModifier);
    QCOMPARE(Memo(Form, "Memo1")->font().pointSize(), once);
    QCOMPARE(Memo(Form, "Memo2")->font().pointSize(), once);
    Key(Form, Qt::Key(key), Qt::AltModifier);
    QCOMPARE(Memo(Form, "Memo1")->font().pointSize(), twice);
    QCOMPARE(Memo(Form, "Memo2")->font().pointSize(), twice);
}

void TestMain::layoutSplitsClientHeight_data() {
    QTest::addColumn<int>("toolBarHeights"); // client height as a multiple of the tool bar's height
    QTest::addColumn<int>("extra");
    QTest::addColumn<bool>("statusBar");
    QTest::addColumn<bool>("toolBarShown");
    QTest::newRow("tall window shows the tool bar") << 6 << 1 << true << true;
    QTest::newRow("just above three tool bars") << 3 << 1 << true << true;
    QTest::newRow("exactly three tool bars hides it") << 3 << 0 << true << false;
    QTest::newRow("no status bar") << 6 << 3 << false << true;
}

void TestMain::layoutSplitsClientHeight() {
    QFETCH(int, toolBarHeights);
    QFETCH(int, extra);
    QFETCH(bool, statusBar);
    QFETCH(bool, toolBarShown);
    TState S;
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form));
    if (!statusBar) Key(Form, Qt::Key_S, Qt::AltModifier);
    auto* ToolBar = Form.findChild<QToolBar*>(QStringLiteral("ToolBar1"));
    auto* Status = Form.findChild<TStatusBar*>(QStringLiteral("StatusBar"));
    const int MenuHeight = Form.menuBar()->sizeHint().height();
    const int ToolBarHeight = ToolBar->sizeHint().height();
    const int Client = toolBarHeights * ToolBarHeight + extra;
    Form.resize(400, Client + MenuHeight);
    QCoreApplication::sendPostedEvents();
    QTRY_COMPARE(ToolBar->isVisible(), toolBarShown);
    const int Rest =
        Client - (toolBarShown ? ToolBarHeight : 0) - (statusBar ? Status->sizeHint().height() : 0);
    QTRY_COMPARE(Memo(Form, "Memo1")->height(), Rest / 2);
    QCOMPARE(Memo(Form, "Memo2")->geometry().top(), Memo(Form, "Memo1")->geometry().bottom() + 1);
    QCOMPARE(Status->PanelWidth(0), Form.width() - 120 - 110);
    QCOMPARE(Status->PanelWidth(1), 120);
    if (statusBar)
        QCOMPARE(Status->PanelRect(2).right(), Status->width() - 1); // the format panel ends at the edge
}

void TestMain::statusPanelShowsCaretPosition_data() {
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("panel");
    QTest::newRow("start of the text") << QList<int>{Qt::Key_Home} << "Line 1  Position 0";
    QTest::newRow("end of the first line") << QList<int>{Qt::Key_End} << "Line 1  Position 3";
    QTest::newRow("first character of the second line")
        << QList<int>{Qt::Key_End, Qt::Key_Right} << "Line 2  Position 0";
    QTest::newRow("inside the third line")
        << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_End, Qt::Key_Left} << "Line 3  Position 1";
}

void TestMain::statusPanelShowsCaretPosition() {
    QFETCH(QList<int>, keys);
    QFETCH(QString, panel);
    TState S;
    WriteUtf16File(S.Path(QStringLiteral("AutoSave.txt")), QStringLiteral("abc\nde\nfg"));
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form));
    Select(Form, 0, 0);
    for (int K : keys)
        Key(Form, Qt::Key(K));
    QCOMPARE(Form.findChild<TStatusBar*>(QStringLiteral("StatusBar"))->PanelText(1), panel);
}

void TestMain::formatPanelFollowsFormatAndPrecision_data() {
    // Each key is a QKeyCombination in its combined form.
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("panel");
    auto Combo = [](Qt::KeyboardModifier M, Qt::Key K) { return QKeyCombination(M, K).toCombined(); };
    const int CtrlUp = Combo(Qt::ControlModifier, Qt::Key_Up);
    const int CtrlDown = Combo(Qt::ControlModifier, Qt::Key_Down);
    QTest::newRow("start-up: decimal, five digits") << QList<int>{} << "Dec \u00B7 5 digits";
    QTest::newRow("Ctrl+Up adds a digit") << QList<int>{CtrlUp} << "Dec \u00B7 6 digits";
    QTest::newRow("Ctrl+Down takes one away") << QList<int>{CtrlDown} << "Dec \u00B7 4 digits";
    QTest::newRow("fewer digits stop at two")
        << QList<int>{CtrlDown, CtrlDown, CtrlDown, CtrlDown} << "Dec \u00B7 2 digits";
    QTest::newRow("Alt+H hexadecimal")
        << QList<int>{Combo(Qt::AltModifier, Qt::Key_H)} << "Hex \u00B7 5 digits";
    QTest::newRow("Alt+G angle keeps the digits")
        << QList<int>{CtrlUp, Combo(Qt::AltModifier, Qt::Key_G)} << "Angle \u00B7 6 digits";
    QTest::newRow("Alt+D back to decimal")
        << QList<int>{Combo(Qt::AltModifier, Qt::Key_R), Combo(Qt::AltModifier, Qt::Key_D)}
        << "Dec \u00B7 5 digits";
}

void TestMain::formatPanelFollowsFormatAndPrecision() {
    QFETCH(QList<int>, keys);
    QFETCH(QString, panel);
    TState S;
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form));
    SetInput(Form, QStringLiteral("1/3"));
    for (int K : keys) {
        const QKeyCombination C = QKeyCombination::fromCombined(K);
        Key(Form, C.key(), C.keyboardModifiers());
    }
    QCOMPARE(Form.findChild<TStatusBar*>(QStringLiteral("StatusBar"))->PanelText(2), panel);
}

void TestMain::clickOnFormatPanelOpensFormatMenu_data() {
    QTest::addColumn<int>("panel");
    QTest::addColumn<bool>("opens");
    QTest::newRow("format panel opens the menu") << 2 << true;
    QTest::newRow("caret position panel does not") << 1 << false;
    QTest::newRow("hint panel does not") << 0 << false;
}

void TestMain::clickOnFormatPanelOpensFormatMenu() {
    QFETCH(int, panel);
    QFETCH(bool, opens);
    TState S;
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form));
    auto* Status = Form.findChild<TStatusBar*>(QStringLiteral("StatusBar"));
    auto* Formats = Form.findChild<QMenu*>(QStringLiteral("mnuFormats"));
    QVERIFY(Formats);
    QVERIFY(Formats->actions().contains(Form.Action(QStringLiteral("ParserAngle"))));
    QTest::mouseClick(Status, Qt::LeftButton, {}, Status->PanelRect(panel).center());
    QCoreApplication::processEvents();
    QCOMPARE(Formats->isVisible(), opens);
    Formats->close();
}

void TestMain::hintsShowInFirstPanel() {
    TState S;
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form));
    auto* ToolBar = Form.findChild<QToolBar*>(QStringLiteral("ToolBar1"));
    QWidget* Help = ToolBar->widgetForAction(Form.Action(QStringLiteral("ProgramHelp")));
    QTest::mouseMove(Help);
    auto* Status = Form.findChild<TStatusBar*>(QStringLiteral("StatusBar"));
    QTRY_COMPARE(Status->PanelText(0), QStringLiteral("Shows help"));
    QTest::mouseMove(Memo(Form, "Memo2"));
    QTRY_COMPARE(Status->PanelText(0), QString());
}

void TestMain::toggleSymbolCyclesThroughMap_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<QString>("result");
    QTest::addColumn<int>("caret");
    QTest::newRow("caret at the start does nothing") << "ab" << 0 << 0 << "ab" << 0;
    QTest::newRow("character before the caret") << "ab" << 1 << 1 << "\u03B1b" << 1;
    QTest::newRow("last of its line wraps to the first") << "x\u0430" << 2 << 2 << "xa" << 2;
    // A typed "*" is already the multiplication sign, which the map turns into the next one.
    QTest::newRow("selection toggles every character") << "ab*c" << 0 << 4 << "\u03B1\u03B2\u00D7c" << 4;
    QTest::newRow("first line holding it wins") << "o" << 1 << 1 << "\u03BF" << 1;
    QTest::newRow("character not in the map stays") << "q" << 1 << 1 << "q" << 1;
}

void TestMain::toggleSymbolCyclesThroughMap() {
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(QString, result);
    QFETCH(int, caret);
    TState S;
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form));
    SetInput(Form, text);
    Select(Form, start, end);
    Key(Form, Qt::Key_G, Qt::ControlModifier);
    QCOMPARE(Input(Form), result);
    QCOMPARE(Memo(Form, "Memo1")->textCursor().position(), caret);
    QVERIFY(!Memo(Form, "Memo1")->textCursor().hasSelection());
}

void TestMain::undoAndRedoFollowTyping() {
    TState S;
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form));
    QTest::keyClicks(Memo(Form, "Memo1"), QStringLiteral("123"));
    Key(Form, Qt::Key_Z, Qt::ControlModifier);
    Key(Form, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Input(Form), QStringLiteral("1"));
    Key(Form, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(Input(Form), QStringLiteral("12"));
    QVERIFY(Form.Action(QStringLiteral("EditRedo"))->isEnabled());
    // Typing drops what could be redone.
    Memo(Form, "Memo1")->moveCursor(QTextCursor::End);
    QTest::keyClicks(Memo(Form, "Memo1"), QStringLiteral("9"));
    QCOMPARE(Input(Form), QStringLiteral("129"));
    QVERIFY(!Form.Action(QStringLiteral("EditRedo"))->isEnabled());
    Key(Form, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Input(Form), QStringLiteral("12"));
}

void TestMain::shiftOrCtrlEnterBreaksTheLine_data() {
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Shift+Enter") << int(Qt::ShiftModifier);
    QTest::newRow("Ctrl+Enter") << int(Qt::ControlModifier);
}

void TestMain::shiftOrCtrlEnterBreaksTheLine() {
    QFETCH(int, modifiers);
    TState S;
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form));
    QTest::keyClicks(Memo(Form, "Memo1"), QStringLiteral("x:4")); // the colon types " := "
    Key(Form, Qt::Key_Return, Qt::KeyboardModifiers(modifiers));
    QTest::keyClicks(Memo(Form, "Memo1"), QStringLiteral("x/2"));
    QCOMPARE(Memo(Form, "Memo1")->document()->blockCount(), 2);
    QCOMPARE(Output(Form), QString());
    Key(Form, Qt::Key_Return);
    QCOMPARE(Output(Form), QStringLiteral("x = 4\nx/2 = 2"));
    for (int I = 0; I < 3; ++I)
        Key(Form, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Input(Form), QStringLiteral("x := 4\n")); // the line break was one step
}

void TestMain::emptyingTheInputAddsNoStep() {
    TState S;
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form));
    QTest::keyClicks(Memo(Form, "Memo1"), QStringLiteral("a"));
    QCOMPARE(Form.History().Count(), 2);
    Key(Form, Qt::Key_Backspace);
    QCOMPARE(Input(Form), QString());
    QCOMPARE(Form.History().Count(), 2);
    QTest::keyClicks(Memo(Form, "Memo1"), QStringLiteral("b"));
    QCOMPARE(Form.History().Count(), 3);
    Key(Form, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Input(Form), QStringLiteral("a"));
}

void TestMain::viewSwitchesFollowState() {
    TState S;
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form));
    const QRect Before = Form.frameGeometry();
    Form.Action(QStringLiteral("ViewTitlebar"))->trigger();
    QVERIFY(!Form.CaptionVisible());
    QVERIFY(!Form.Action(QStringLiteral("ViewTitlebar"))->isChecked());
    QCOMPARE(Form.contentsMargins(), QMargins(4, 4, 4, 4)); // a border to size the window by
    Form.Action(QStringLiteral("ViewTitlebar"))->trigger();
    QVERIFY(Form.CaptionVisible());
    QCOMPARE(Form.contentsMargins(), QMargins());
    QTRY_COMPARE(Form.frameGeometry(), Before);
    QVERIFY(Form.isVisible());

    QVERIFY(ShowActive(Form));
    Key(Form, Qt::Key_T, Qt::ControlModifier);
    QVERIFY(Form.TopMost());
    QVERIFY(Form.Action(QStringLiteral("ViewStayOnTop"))->isChecked());

    QVERIFY(ShowActive(Form));
    Key(Form, Qt::Key_Return, Qt::AltModifier);
    QTRY_VERIFY(Form.isMaximized());
    QTRY_VERIFY(Form.Action(QStringLiteral("ViewFullScreen"))->isChecked());
    Key(Form, Qt::Key_Return, Qt::AltModifier);
    QTRY_VERIFY(!Form.isMaximized());
    QTRY_VERIFY(!Form.Action(QStringLiteral("ViewFullScreen"))->isChecked());

    Key(Form, Qt::Key_B, Qt::ControlModifier);
    QVERIFY(!Memo(Form, "Memo1")->font().bold());
    QVERIFY(!Memo(Form, "Memo2")->font().bold());
    QVERIFY(!Form.Action(QStringLiteral("FontBold"))->isChecked());
    QCOMPARE(Memo(Form, "Memo2")->LeftMargin(), 6);
}

void TestMain::fontDialogAppliesToBothBoxes_data() {
    QTest::addColumn<bool>("apply"); // Apply then Cancel, or OK
    QTest::newRow("OK") << false;
    QTest::newRow("Apply, then Cancel") << true;
}

void TestMain::fontDialogAppliesToBothBoxes() {
    QFETCH(bool, apply);
    TState S;
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form));
    QFont Chosen(QStringLiteral("DejaVu Serif"));
    Chosen.setPointSize(12);
    Chosen.setItalic(true);
    TModalAnswer Answer([&Chosen, apply](QWidget* Modal) {
        auto* Dialog = qobject_cast<QFontDialog*>(Modal);
        QVERIFY(Dialog);
        QCOMPARE(Dialog->currentFont().pointSize(), 18); // it opens with the input box's font
        Dialog->setCurrentFont(Chosen);
        if (apply) {
            Dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Apply)->click();
            Dialog->reject();
        } else {
            Dialog->accept();
        }
    });
    // Ctrl+F is the function picker's while the menu shows.
    Form.Action(QStringLiteral("FontSelect"))->trigger();
    QCOMPARE(Answer.Count(), 1);
    for (const char* Name : {"Memo1", "Memo2"}) {
        QCOMPARE(Memo(Form, Name)->font().family(), QStringLiteral("DejaVu Serif"));
        QCOMPARE(Memo(Form, Name)->font().pointSize(), 12);
        QVERIFY(Memo(Form, Name)->font().italic());
        QCOMPARE(Memo(Form, Name)->LeftMargin(), 6);
    }
    QVERIFY(Form.Action(QStringLiteral("FontItalic"))->isChecked());
}

void TestMain::helpOpensPageAndMinimises() {
    TState S;
    // The page beside the test program, as the build puts it beside the calculator;
    // a missing page is reported instead (see TestHelpViewer).
    const QString Page = ExeDir() + HelpFile();
    const bool Made = !QFileInfo::exists(Page);
    if (Made) {
        QVERIFY(QDir().mkpath(QFileInfo(Page).path()));
        QFile F(Page);
        QVERIFY(F.open(QIODevice::WriteOnly));
        F.write("<html><body>Help</body></html>");
    }
    auto Cleanup = qScopeGuard([&] {
        if (Made) QFile::remove(Page);
    });
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form));
    Key(Form, Qt::Key_F1);
    QCOMPARE(FOpened.size(), 1);
    QVERIFY2(FOpened.first().toLocalFile().endsWith(QStringLiteral("/Help/Sumtra.htm")),
             qPrintable(FOpened.first().toString()));
    QTRY_VERIFY(Form.isMinimized());
}

void TestMain::fileCommandsReadAndWriteUtf16() {
    TState S;
    // Opened files may be UTF-16LE (with or without a byte-order mark) or UTF-8.
    const QString Utf8File = S.Path(QStringLiteral("utf8.txt"));
    QFile F(Utf8File);
    QVERIFY(F.open(QIODevice::WriteOnly));
    F.write(QStringLiteral("\u03C0*2\r\n").toUtf8());
    F.close();
    const QString Program = S.Path(QStringLiteral("program.txt"));
    WriteUtf16File(Program, QStringLiteral("b := 7\nb*2"));
    const QString Saved = S.Path(QStringLiteral("saved.txt"));

    // The answer goes to the chosen file's folder and types its name into the
    // name box, as a user would.
    // (QFileDialog::selectFile leaves that box alone while it has the focus,
    // which made the answer depend on how fast the dialog got activated.)
    // Any other modal box, such as "File not found", is closed and counted,
    // so that a wrong choice fails the test instead of hanging it.
    QString Choice;
    int Unexpected = 0;
    TModalAnswer Answer([&Choice, &Unexpected](QWidget* Modal) {
        auto* Dialog = qobject_cast<QFileDialog*>(Modal);
        if (!Dialog) {
            ++Unexpected;
            if (auto* Other = qobject_cast<QDialog*>(Modal)) Other->reject();
            return;
        }
        auto* Name = Dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!Name || Unexpected) {
            ++Unexpected;
            static_cast<QDialog*>(Dialog)->reject();
            return;
        }
        const QFileInfo Chosen(Choice);
        Dialog->setDirectory(Chosen.absolutePath());
        Name->setText(Chosen.fileName());
        static_cast<QDialog*>(Dialog)->accept();
    });
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form));
    Choice = Utf8File;
    Key(Form, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(Input(Form), QStringLiteral("\u03C0*2"));
    QCOMPARE(Form.History().Count(), 2);

    QVERIFY(ShowActive(Form));
    Choice = Saved;
    Key(Form, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(ReadBytes(Saved), QByteArray("\xFF\xFE\xC0\x03*\0"
                                          "2\0\r\0\n\0",
                                          12));

    QVERIFY(ShowActive(Form));
    Choice = Program;
    Form.Action(QStringLiteral("FileExecute"))->trigger();
    QCOMPARE(Output(Form), QStringLiteral("b = 7\nb\u22192 = 14"));
    QCOMPARE(Input(Form), QStringLiteral("\u03C0*2"));
    QCOMPARE(Unexpected, 0);
    QCOMPARE(Answer.Count(), 3);
}

void TestMain::escClosesAndWritesFiles() {
    TState S;
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form));
    SetInput(Form, QStringLiteral("x:1"));                // typed as "x := 1"
    QTest::keyClick(Memo(Form, "Memo2"), Qt::Key_Escape); // from either box
    QVERIFY(!Form.isVisible());
    QCOMPARE(ReadBytes(S.Path(QStringLiteral("AutoSave.txt"))), QByteArray("\xFF\xFEx\0 \0:\0=\0 \0"
                                                                           "1\0\r\0\n\0",
                                                                           18));
    QVERIFY(
        S.ReadIni().startsWith(QStringLiteral("[Settings]\nFontName=Courier New\nFontSize=18\nFontColor=128\n"
                                              "FontStyle=1\nBackColor=16777215\n")));
}

void TestMain::settingsRoundTrip() {
    TState S;
    const QRect Work = QGuiApplication::primaryScreen()->availableGeometry();
    const TRect Bounds{Work.left() + 20, Work.top() + 30, Work.left() + 520, Work.top() + 430};
    {
        TMainForm Form(S.Dir());
        QVERIFY(ShowActive(Form));
        SetInput(Form, QStringLiteral("first\nsecond"));
        Key(Form, Qt::Key_Up, Qt::AltModifier);
        Key(Form, Qt::Key_I, Qt::ControlModifier);
        Key(Form, Qt::Key_S, Qt::AltModifier);
        Key(Form, Qt::Key_M, Qt::AltModifier);
        Form.Action(QStringLiteral("EditOptionsEncloseOnBracket"))->trigger();
        TModalAnswer Answer([](QWidget* Modal) {
            auto* Dialog = qobject_cast<QColorDialog*>(Modal);
            QVERIFY(Dialog);
            Dialog->setCurrentColor(QColor(10, 20, 30));
            Dialog->accept();
        });
        Form.Action(QStringLiteral("ViewBackColor"))->trigger();
        QCOMPARE(Memo(Form, "Memo2")->BackColor(), QColor(10, 20, 30));
        Form.SetBounds(Bounds);
        QCOMPARE(Form.NormalBounds(), Bounds);
        Form.close();
    }
    const QString Ini = S.ReadIni();
    QVERIFY2(Ini.contains(QStringLiteral("\nBackColor=1971210\n")), qPrintable(Ini)); // 0x001E140A
    QVERIFY(!Ini.contains(QStringLiteral("[Shortcuts]")));

    TMainForm Form(S.Dir());
    QCOMPARE(Input(Form), QStringLiteral("first\nsecond"));
    for (const char* Name : {"Memo1", "Memo2"}) {
        QCOMPARE(Memo(Form, Name)->font().family(), DrawnFamily(QStringLiteral("Courier New")));
        QCOMPARE(Memo(Form, Name)->font().pointSize(), 20);
        QVERIFY(Memo(Form, Name)->font().italic());
        QVERIFY(Memo(Form, Name)->font().bold());
        QCOMPARE(Memo(Form, Name)->BackColor(), QColor(10, 20, 30));
        QCOMPARE(Memo(Form, Name)->FontColor(), QColor(128, 0, 0));
    }
    QCOMPARE(Form.NormalBounds(), Bounds);
    QVERIFY(Form.findChild<TStatusBar*>(QStringLiteral("StatusBar"))->isHidden());
    QVERIFY(Form.menuBar()->isHidden());
    QVERIFY(Form.Action(QStringLiteral("EditOptionsEncloseOnBracket"))->isChecked());
    QVERIFY(Form.Action(QStringLiteral("EditOptionsAssignOnColon"))->isChecked());
    QVERIFY(!Form.Action(QStringLiteral("ViewStatusbar"))->isChecked());
}

void TestMain::maximisedWindowKeepsItsNormalBounds() {
    TState S;
    const QRect Work = QGuiApplication::primaryScreen()->availableGeometry();
    const TRect Bounds{Work.left() + 10, Work.top() + 10, Work.left() + 410, Work.top() + 310};
    S.WriteIni(
        QStringLiteral("[Settings]\nMaximized=1\nFormLeft=%1\nFormTop=%2\nFormRight=%3\nFormBottom=%4\n")
            .arg(Bounds.Left)
            .arg(Bounds.Top)
            .arg(Bounds.Right)
            .arg(Bounds.Bottom));
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form));
    QTRY_VERIFY(Form.isMaximized());
    QTRY_VERIFY(Form.Action(QStringLiteral("ViewFullScreen"))->isChecked());
    Form.close();
    const QString Ini = S.ReadIni();
    QVERIFY2(
        Ini.contains(QStringLiteral("\nMaximized=1\nFormLeft=%1\nFormTop=%2\nFormRight=%3\nFormBottom=%4\n")
                         .arg(Bounds.Left)
                         .arg(Bounds.Top)
                         .arg(Bounds.Right)
                         .arg(Bounds.Bottom)),
        qPrintable(Ini));
    // Restored to normal, it takes those bounds, frame included.
    TMainForm Again(S.Dir());
    QVERIFY(ShowActive(Again));
    QTRY_VERIFY(Again.isMaximized());
    Key(Again, Qt::Key_Return, Qt::AltModifier);
    QTRY_VERIFY(!Again.isMaximized());
    QTRY_COMPARE(Again.NormalBounds(), Bounds);
}

void TestMain::settingsOutOfRangeFallBack_data() {
    QTest::addColumn<QString>("ini");
    QTest::newRow("no file") << QString();
    QTest::newRow("values out of range or unreadable")
        << "[Settings]\nFontSize=40\nFontStyle=9\nFormLeft=-2147483648\nFormTop=abc\nTitlebar=yes\n"
           "Statusbar=maybe\nMenu=\nOnTop=0x0\nMaximized=FALSE\nAssignOnColon=2\n";
}

void TestMain::settingsOutOfRangeFallBack() {
    QFETCH(QString, ini);
    TState S;
    if (!ini.isEmpty()) S.WriteIni(ini);
    auto Answer = DismissDialogs(); // the empty folder has no symbol map
    TMainForm Designed(S.Dir() + QStringLiteral("/nothing-here"));
    TMainForm Form(S.Dir());
    const QFont Font = Memo(Form, "Memo1")->font();
    QCOMPARE(Font.family(), DrawnFamily(QStringLiteral("Courier New")));
    QCOMPARE(Font.pointSize(), 18);
    QVERIFY(Font.bold());
    QVERIFY(!Font.italic());
    QCOMPARE(Memo(Form, "Memo1")->FontColor(), QColor(128, 0, 0));
    QCOMPARE(Memo(Form, "Memo1")->BackColor(), QColor(Qt::white));
    QCOMPARE(Form.NormalBounds(), Designed.NormalBounds());
    QVERIFY(Form.CaptionVisible());
    QVERIFY(!Form.TopMost());
    QVERIFY(!Form.menuBar()->isHidden());
    QVERIFY(!Form.findChild<TStatusBar*>(QStringLiteral("StatusBar"))->isHidden());
    QVERIFY(!(Form.windowState() & Qt::WindowMaximized));
    QVERIFY(Form.Action(QStringLiteral("EditOptionsAssignOnColon"))->isChecked());
    QVERIFY(!Form.Action(QStringLiteral("EditOptionsEncloseOnBracket"))->isChecked());
    QVERIFY(!Form.Action(QStringLiteral("EditOptionsEncloseOnOperator"))->isChecked());
}

void TestMain::shortcutsWrittenOnlyAfterChange() {
    TState S;
    {
        TMainForm Form(S.Dir());
        Form.Action(QStringLiteral("FontBold"))->trigger();
        Form.close();
    }
    QVERIFY(!S.ReadIni().contains(QStringLiteral("[Shortcuts]")));
    {
        TMainForm Form(S.Dir());
        TActionList& Actions = Form.Actions();
        Actions.SetShortCut(Actions.IndexOf(QStringLiteral("FontItalic")), scCtrl | 'J');
        Actions.SetChangeMark(1);
        Form.close();
    }
    const QString Ini = S.ReadIni();
    const QString Shortcuts = Ini.mid(Ini.indexOf(QStringLiteral("[Shortcuts]")));
    QStringList Expected{QStringLiteral("[Shortcuts]")};
    TMainForm Form(S.Dir());
    for (int I = 0; I < Form.Actions().Count(); ++I)
        Expected.append(Form.Actions().Name(I) + u'=' + QString::number(Form.Actions().ShortCut(I)));
    QCOMPARE(Shortcuts.trimmed().split(u'\n'), Expected);
    QVERIFY(Shortcuts.contains(QStringLiteral("\nProgramHelp=112\n")));
    QVERIFY(Shortcuts.contains(QStringLiteral("\nProgramExit=27\n")));
    QVERIFY(Shortcuts.contains(QStringLiteral("\nParserEvaluate=13\n")));
    QVERIFY(Shortcuts.contains(QStringLiteral("\nParserIncreaseDigits=16422\n")));
    QVERIFY(Shortcuts.contains(QStringLiteral("\nFontItalic=16458\n")));
    QVERIFY(Shortcuts.contains(QStringLiteral("\nEditRedo=24666\n")));
}

void TestMain::storedShortcutsAreUsed() {
    TState S;
    S.WriteIni(QStringLiteral("[Shortcuts]\nFontBold=0\nFontItalic=16450\nParserEvaluate=70000\n"));
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form));
    QSignalSpy Bold(Form.Action(QStringLiteral("FontBold")), &QAction::triggered);
    QSignalSpy Italic(Form.Action(QStringLiteral("FontItalic")), &QAction::triggered);
    Key(Form, Qt::Key_B, Qt::ControlModifier);
    QCOMPARE(Bold.count(), 0);
    QCOMPARE(Italic.count(), 1);
    // Out of range: the designed Enter stays.
    SetInput(Form, QStringLiteral("2+2"));
    Key(Form, Qt::Key_Return);
    QCOMPARE(Output(Form), QStringLiteral("2+2 = 4"));
}

void TestMain::failedWritesOnCloseAreReported_data() {
    QTest::addColumn<QString>("blocked");
    QTest::newRow("input file") << "AutoSave.txt";
    QTest::newRow("settings file") << "AppTestMain.ini";
}

void TestMain::failedWritesOnCloseAreReported() {
    QFETCH(QString, blocked);
    TState S;
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form));
    SetInput(Form, QStringLiteral("1"));
    // A folder in the file's place cannot be replaced by a file.
    QVERIFY(QDir(S.Dir()).mkpath(blocked + QStringLiteral("/inside")));
    auto Answer = DismissDialogs();
    Form.close();
    QVERIFY(!Form.isVisible());
    QCOMPARE(Answer.Count(), 1);
    QVERIFY2(Answer.Texts().first().contains(S.Path(blocked)), qPrintable(Answer.Texts().first()));
    // The other file is still written.
    const QString Other =
        blocked == QLatin1String("AutoSave.txt") ? S.IniFile() : S.Path(QStringLiteral("AutoSave.txt"));
    QVERIFY(QFileInfo(Other).isFile());
}

// A command chosen from the menu leaves the selection and the clipboard as
// they were, so Cut, Copy and Paste can still act.
void TestMain::editActionsStayEnabledAfterMenuCommand_data() {
    QTest::addColumn<QString>("action");
    QTest::newRow("a command") << "ParserIncreaseDigits";
    QTest::newRow("a command with a dialog") << "ViewForeColor";
}

void TestMain::editActionsStayEnabledAfterMenuCommand() {
    QFETCH(QString, action);
    TState S;
    auto Answer = DismissDialogs();
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form));
    SetInput(Form, QStringLiteral("12345"));
    Select(Form, 1, 3);
    QGuiApplication::clipboard()->setText(QStringLiteral("7"));
    auto* Bar = Form.findChild<QMenuBar*>(QStringLiteral("mnuMain"));
    QAction* Command = Form.Action(action);
    QMenu* Menu = nullptr;
    for (QAction* M : Bar->actions())
        if (M->menu() && M->menu()->actions().contains(Command)) Menu = M->menu();
    QVERIFY(Menu);
    QTest::mouseClick(Bar, Qt::LeftButton, {}, Bar->actionGeometry(Menu->menuAction()).center());
    QTRY_VERIFY(Menu->isVisible());
    QTest::mouseClick(Menu, Qt::LeftButton, {}, Menu->actionGeometry(Command).center());
    QTRY_VERIFY(!Menu->isVisible());
    for (const char* Name : {"EditCut", "EditCopy", "EditPaste"})
        QVERIFY2(Form.Action(QString::fromLatin1(Name))->isEnabled(), Name);
    Form.Action(QStringLiteral("EditCopy"))->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("23"));
}

// With Preserve on the output box opens at the newest run's divider; the
// earlier runs are above it.
void TestMain::preserveShowsTheNewestRun() {
    TState S;
    TMainForm Form(S.Dir());
    Form.resize(500, 400);
    QVERIFY(ShowActive(Form));
    QString Program;
    for (int I = 1; I <= 60; ++I)
        Program += QStringLiteral("%1\n").arg(I);
    Memo(Form, "Memo1")->setPlainText(Program);
    Form.Action(QStringLiteral("ParserRetainOutput"))->trigger();
    TMemo* Out = Memo(Form, "Memo2");
    for (int Run = 1; Run <= 3; ++Run) {
        Key(Form, Qt::Key_Return);
        const int Divider = Run == 1 ? 0 : 60 + (Run - 2) * 61; // 60 result lines, then a divider
        // Without word wrap the scroll bar counts lines: its value is the top line.
        const QTextBlock First = Out->document()->findBlockByNumber(Out->verticalScrollBar()->value());
        QCOMPARE(First.blockNumber(), Divider);
        if (Run > 1) QCOMPARE(First.text(), QString(40, u'='));
        QCOMPARE(Out->textCursor().blockNumber(), Divider);
    }
    Form.Action(QStringLiteral("ParserRetainOutput"))->trigger();
    Key(Form, Qt::Key_Return);
    QCOMPARE(Out->verticalScrollBar()->value(), 0);
}

void TestMain::undoShowsWhereTheChangeWas_data() {
    QTest::addColumn<int>("at"); // the line where a character is typed
    QTest::newRow("last line") << 19999;
    QTest::newRow("middle") << 10000;
    QTest::newRow("first line") << 0;
}

// A long program, one character typed on one line: undo and redo put the
// caret behind the change and scroll it into view.
void TestMain::undoShowsWhereTheChangeWas() {
    QFETCH(int, at);
    TState S;
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form));
    QStringList Lines;
    for (int I = 0; I < 20000; ++I)
        Lines.append(QStringLiteral("x%1 := %1").arg(I));
    TMemo* M = Memo(Form, "Memo1");
    M->insertPlainText(Lines.join(u'\n'));
    const QTextBlock Line = M->document()->findBlockByNumber(at);
    QTextCursor C(Line);
    C.movePosition(QTextCursor::EndOfBlock);
    M->setTextCursor(C);
    QTest::keyClick(M, Qt::Key_7);
    const int Typed = M->textCursor().position(); // behind the 7
    auto Shown = [M] { return M->viewport()->rect().contains(M->cursorRect()); };
    Key(Form, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(M->textCursor().position(), Typed - 1);
    QVERIFY(Shown());
    M->verticalScrollBar()->setValue(at > 10000 ? 0 : M->verticalScrollBar()->maximum());
    Key(Form, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(M->textCursor().position(), Typed);
    QVERIFY(Shown());
}

void TestMain::fontDialogOkWithoutChangeKeepsTheFont_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("style"); // 1 bold, 2 italic, 4 underline
    QTest::newRow("the default, not installed here") << "Courier New" << 18 << 1;
    QTest::newRow("installed, italic and underlined") << "DejaVu Serif" << 12 << 6;
    QTest::newRow("installed, bold italic") << "DejaVu Sans Mono" << 24 << 3;
}

// The dialog opens on the font the boxes show; OK without a change changes
// nothing, and a family that is not installed stays in the settings.
void TestMain::fontDialogOkWithoutChangeKeepsTheFont() {
    QFETCH(QString, family);
    QFETCH(int, size);
    QFETCH(int, style);
    TState S;
    S.WriteIni(QStringLiteral("[Settings]\nFontName=%1\nFontSize=%2\nFontStyle=%3\n")
                   .arg(family)
                   .arg(size)
                   .arg(style));
    {
        TMainForm Form(S.Dir());
        QVERIFY(ShowActive(Form));
        const QFont Before = Memo(Form, "Memo1")->font();
        QVERIFY(QFontDatabase::hasFamily(Before.family()));
        if (!QFontDatabase::hasFamily(family)) QVERIFY(QFontInfo(Before).fixedPitch());
        TModalAnswer Answer([&Before](QWidget* Modal) {
            auto* Dialog = qobject_cast<QFontDialog*>(Modal);
            QVERIFY(Dialog);
            QCOMPARE(Dialog->currentFont().family(), Before.family());
            Dialog->accept();
        });
        Form.Action(QStringLiteral("FontSelect"))->trigger();
        QCOMPARE(Answer.Count(), 1);
        for (const char* Name : {"Memo1", "Memo2"}) {
            const QFont After = Memo(Form, Name)->font();
            QCOMPARE(After.family(), Before.family());
            QCOMPARE(After.pointSize(), size);
            QCOMPARE(After.bold(), (style & 1) != 0);
            QCOMPARE(After.italic(), (style & 2) != 0);
            QCOMPARE(After.underline(), (style & 4) != 0);
            QVERIFY(!After.strikeOut());
        }
        Form.close();
    }
    const QString Ini = S.ReadIni();
    QVERIFY2(Ini.contains(QStringLiteral("FontName=%1\n").arg(family)), qPrintable(Ini));
    QVERIFY2(Ini.contains(QStringLiteral("\nFontSize=%1\n").arg(size)), qPrintable(Ini));
    QVERIFY2(Ini.contains(QStringLiteral("\nFontStyle=%1\n").arg(style)), qPrintable(Ini));
}

void TestMain::resultKeysTakeTheValueOfALine_data() {
    QTest::addColumn<QString>("program"); // typed, so ":" becomes " := "
    QTest::addColumn<int>("outputLine");  // -1: the keys go to the input box
    QTest::addColumn<QString>("value");   // empty: there is none
    QTest::newRow("from the input: the last value") << "1+2;3*4" << -1 << "12";
    QTest::newRow("from the input: a trailing error is skipped") << "5;7;yy" << -1 << "7";
    QTest::newRow("from the input: a definition is skipped") << "2*4;f(x):2" << -1 << "8";
    QTest::newRow("from the input: no value at all") << "g(x):x" << -1 << "";
    QTest::newRow("from the output: the caret's line") << "1+2;3*4" << 0 << "3";
    QTest::newRow("from the output: an assignment") << "x:2.5;x" << 0 << "2.5";
    QTest::newRow("from the output: a definition has none") << "f(x):2;f(1)" << 0 << "";
    QTest::newRow("from the output: an error has none") << "1;yy" << 1 << "";
}

// Each key goes to the box that has the focus, as typed keys do; the text
// boxes claim Ctrl+Shift+C for themselves unless the window hands it on.
void TestMain::resultKeysTakeTheValueOfALine() {
    QFETCH(QString, program);
    QFETCH(int, outputLine);
    QFETCH(QString, value);
    TState S;
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form));
    SetInput(Form, program);
    Key(Form, Qt::Key_Return);
    TMemo* In = Memo(Form, "Memo1");
    TMemo* Out = Memo(Form, "Memo2");
    const QString Before = Input(Form);
    auto Press = [&](Qt::Key K, Qt::KeyboardModifiers Mods) {
        TMemo* Box = outputLine < 0 ? In : Out;
        Box->setFocus();
        if (outputLine >= 0) Out->setTextCursor(QTextCursor(Out->document()->findBlockByNumber(outputLine)));
        QVERIFY(Box->hasFocus());
        QTest::keyClick(Box, K, Mods);
    };
    auto* Status = Form.findChild<TStatusBar*>(QStringLiteral("StatusBar"));
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    Press(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), value.isEmpty() ? QStringLiteral("before") : value);
    if (value.isEmpty())
        QVERIFY2(Status->PanelText(0).contains(QStringLiteral("no value")), qPrintable(Status->PanelText(0)));

    In->moveCursor(QTextCursor::End);
    const int Steps = Form.History().Count();
    Press(Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(Input(Form), Before + value);
    QCOMPARE(Form.History().Count(), Steps + (value.isEmpty() ? 0 : 1));
    if (value.isEmpty()) return;
    QVERIFY(In->hasFocus());
    Form.Action(QStringLiteral("EditUndo"))->trigger(); // one step takes all of it back
    QCOMPARE(Input(Form), Before);
}

void TestMain::outputPopupOffersResultReuse() {
    TState S;
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form));
    auto* Popup = Form.findChild<QMenu*>(QStringLiteral("mnuOutputPopup"));
    QVERIFY(Popup);
    QStringList Names;
    for (const QAction* A : Popup->actions())
        if (!A->isSeparator()) Names.append(A->objectName());
    QCOMPARE(Names, (QStringList{"EditCopy", "EditCopyResult", "EditInsertResult", "EditSelectAll"}));
    // Asked for from the output box, its entries act on that box.
    SetInput(Form, QStringLiteral("6*7"));
    Key(Form, Qt::Key_Return);
    TMemo* Out = Memo(Form, "Memo2");
    QVERIFY(Memo(Form, "Memo1")->hasFocus());
    emit Out->customContextMenuRequested(QPoint(5, 5));
    QTRY_VERIFY(Popup->isVisible());
    Popup->hide();
    Form.Action(QStringLiteral("EditSelectAll"))->trigger();
    QCOMPARE(Out->textCursor().selectedText(), QStringLiteral("6\u22197 = 42"));
}

void TestMain::exportWritesTheLastRunOrReportsTheFailure() {
    TState S;
    QString Choice;
    TModalAnswer Answer([&Choice](QWidget* Modal) {
        if (auto* Box = qobject_cast<QMessageBox*>(Modal)) { // replace the old file; close the warning
            if (QAbstractButton* Yes = Box->button(QMessageBox::Yes))
                Yes->click();
            else
                Box->reject();
            return;
        }
        auto* Dialog = qobject_cast<QFileDialog*>(Modal);
        auto* Name = Dialog ? Dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")) : nullptr;
        if (!Name) {
            if (auto* Other = qobject_cast<QDialog*>(Modal)) Other->reject();
            return;
        }
        const QFileInfo Chosen(Choice);
        Dialog->setDirectory(Chosen.absolutePath());
        Name->setText(Chosen.fileName());
        static_cast<QDialog*>(Dialog)->accept();
    });
    TMainForm Form(S.Dir());
    QVERIFY(ShowActive(Form));
    SetInput(Form, QStringLiteral("1+2 // sum\nyy"));
    Key(Form, Qt::Key_Return);
    QVERIFY(ShowActive(Form));
    Choice = S.Path(QStringLiteral("run.csv"));
    Key(Form, Qt::Key_E, Qt::ControlModifier);
    const QByteArray Written = ReadBytes(Choice);
    const QStringList Records = QString::fromUtf8(Written).split(QStringLiteral("\r\n"));
    QCOMPARE(Records.size(), 6);
    QVERIFY2(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d,Dec,5$"))
                 .match(Records[1])
                 .hasMatch(),
             qPrintable(Records[1]));
    QCOMPARE(Records.mid(2), (QStringList{"Statement,Result,Comment", "1+2,3,sum",
                                          "yy,\"Unknown identifier 'yy' (row 2, col 1)\",", ""}));
    QCOMPARE(Answer.Count(), 1);

    // The disk fills up: the one warning box names the file, and the old file stays.
    QVERIFY(ShowActive(Form));
    {
        TFullDisk Disk(20);
        Form.Action(QStringLiteral("FileExport"))->trigger();
    }
    QCOMPARE(Answer.Count(), 4); // the dialog, replacing the file, the warning
    QVERIFY2(Answer.Texts().last().contains(Choice), qPrintable(Answer.Texts().join(u'\n')));
    QCOMPARE(ReadBytes(Choice), Written);
}

QTEST_MAIN(TestMain)
#include "TestMain.moc"
