#include "Main.h"

#include "About.h"
#include "ActionList.h"
#include "AutoSave.h"
#include "CompletionPopup.h"
#include "EditAids.h"
#include "ErrorMark.h"
#include "FontChoice.h"
#include "FormatPanel.h"
#include "Forms.InsIdent.h"
#include "Forms.Keyboard.h"
#include "Forms.Symbols.h"
#include "FrameGrip.h"
#include "HelpViewer.h"
#include "Hints.h"
#include "Hotkeys.h"
#include "Images.h"
#include "Memo.h"
#include "Parse.Infix.h"
#include "Platform.h"
#include "Settings.h"
#include "ShortCut.h"
#include "StatusBar.h"
#include "SyntaxColors.h"
#include "Utils.h"
#include "WindowBounds.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStatusTipEvent>
#include <QTextBlock>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <filesystem>

namespace {
constexpr int DesignedClientWidth = 529;
constexpr int DesignedClientHeight = 456;
constexpr QPoint DesignedPosition(350, 208);
constexpr int MemoMargin = 6;
constexpr TColor DefaultBackColor = 16777215; // white

// The text of the input box as the runner reads it: rows separated by CR LF.
std::u16string ProgramText(const QString& Text) {
    std::u16string Program;
    Program.reserve(static_cast<std::size_t>(Text.size()) + static_cast<std::size_t>(Text.size()) / 16);
    const char16_t* Rest = reinterpret_cast<const char16_t*>(Text.utf16());
    const char16_t* const End = Rest + Text.size();
    for (const char16_t* At = Rest; At != End; ++At)
        if (*At == u'\n' || *At == QChar::ParagraphSeparator || *At == QChar::LineSeparator) { // Shift+Enter
            Program.append(Rest, At).append(u"\r\n");
            Rest = At + 1;
        }
    return Program.append(Rest, End);
}

// Errors of file commands and start-up files are shown and the window carries on.
void ShowError(const std::exception& E) {
    WarningBox(QStringLiteral("%s"), {QString::fromUtf8(E.what())});
}
} // namespace

TMainForm::TMainForm(const QString& StateDir, const std::optional<QString>& CommandLine) {
    setWindowTitle(QCoreApplication::applicationName());
    setWindowIcon(AppIcon());
    CreateControls();
    CreateActions();
    CreateMenus();
    CreateToolBar();
    resize(DesignedClientWidth, DesignedClientHeight + mnuMain->sizeHint().height());
    move(DesignedPosition);
    FBounds = new TWindowBounds(*this);
    FGrip = new TFrameGrip(*this);
    FGrip->AddHandle(*ToolBar1);
    FGrip->AddHandle(*StatusBar);
    SetMemoMargins(*Memo1, MemoMargin);
    SetMemoMargins(*Memo2, MemoMargin);

    FParser = std::make_unique<TProgramParser>();
    FOutputLines = std::make_unique<TMemoLines>(*Memo2);
    FParser->Output().Connect(*FOutputLines);
    FColorer = new TSyntaxColorer(*Memo1, FParser->Symbols());
    FCompletion = new TCompletionPopup(*Memo1, FParser->Symbols(), *this);
    const QString ExeName = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    FFiles = LocateStateFiles(StateDir, RemoveFileExt(ExeName) + QStringLiteral(".ini"));
    FAutoSaver = new TAutoSaver(
        FFiles.AutoSave, [this] { return FInputText->Text(); }, this);
    connect(Memo1->document(), &QTextDocument::contentsChanged, FAutoSaver, &TAutoSaver::Changed);
    RestoreSettings();
    LoadSymbolMap();
    RunInitDefs();
    NamesChanged();
    LoadAutoSave();
    FHistory = std::make_unique<THistory>(Memo1->toPlainText());
    if (CommandLine) {
        SetInputText(*CommandLine);
        FHistory->Add(*CommandLine);
        Action(aiParserEvaluate)->trigger();
    }
    FillAboutInfo();
    UpdateActions();
    qApp->installEventFilter(this);
}

TMainForm::~TMainForm() {
    // Closing the native window during destruction still reports focus and
    // selection changes; this part of the object is gone by then.
    for (QObject* Sender : std::initializer_list<QObject*>{qApp, QGuiApplication::clipboard(), Memo1, Memo2})
        disconnect(Sender, nullptr, this, nullptr);
    FParser.reset(); // its output writes into lines that refer to Memo2
}

void TMainForm::CreateControls() {
    setMinimumSize(250, 200);
    setContextMenuPolicy(Qt::NoContextMenu); // no menu for hiding the tool bar
    FClient = new QWidget(this);
    setCentralWidget(FClient);
    Memo1 = new TMemo(FClient);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setUndoRedoEnabled(false); // the history is the undo of the input box
    Memo1->setContextMenuPolicy(Qt::CustomContextMenu);
    Memo1->SetInsertFilter([this](const QString& Text) { return FilterInserted(Text); });
    FErrorMarker = new TErrorMarker(*Memo1);
    FInputText = new TTextMirror(*Memo1->document());
    Memo2 = new TMemo(FClient);
    Memo2->setObjectName(QStringLiteral("Memo2"));
    FEditMemo = Memo1;
    setTabOrder(Memo1, Memo2);
    StatusBar = new TStatusBar({200, 120, FormatPanelWidth}, this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    setStatusBar(StatusBar);
    connect(StatusBar, &TStatusBar::PanelClicked, this, &TMainForm::StatusPanelClicked);

    QFont Font(QStringLiteral("Courier New"));
    Font.setStyleHint(QFont::TypeWriter);
    Font.setPointSize(18);
    Font.setBold(true);
    ApplyFont(Font);
    ApplyColors(QColor(128, 0, 0), ColorToQColor(DefaultBackColor));

    FClient->installEventFilter(this);
    Memo1->installEventFilter(this);
    Memo1->viewport()->installEventFilter(this);
    connect(Memo1, &QPlainTextEdit::textChanged, this, &TMainForm::InputChanged);
    FLiveTimer = new QTimer(this);
    FLiveTimer->setSingleShot(true);
    FLiveTimer->setTimerType(Qt::PreciseTimer);
    connect(FLiveTimer, &QTimer::timeout, this, [this] { Evaluate(true); });
    connect(Memo1, &QPlainTextEdit::textChanged, this, &TMainForm::LiveEdited);
    connect(Memo1->document(), &QTextDocument::contentsChange, this, [this](int, int Removed, int Added) {
        if (Removed != 0 || Added != 0) DropLinks(); // the positions no longer hold
    });
    for (TMemo* M : {Memo1, Memo2})
        connect(M, &QPlainTextEdit::cursorPositionChanged, this, &TMainForm::ShowLinks);
    for (TMemo* M : {Memo1, Memo2}) {
        connect(M, &QPlainTextEdit::selectionChanged, this, &TMainForm::UpdateEditActions);
        connect(M, &QPlainTextEdit::textChanged, this, &TMainForm::UpdateEditActions);
    }
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* Now) { FocusChanged(Now); });
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &TMainForm::ClipboardChanged);
    ClipboardChanged();
}

void TMainForm::RestoreSettings() {
    TSettings S;
    S.Font = ChosenFont();
    S.FontColor = Memo1->FontColor();
    S.BackColor = ColorToQColor(DefaultBackColor);
    S.Bounds = NormalBounds();
    for (int I = 0; I < ActionList->Count(); ++I)
        S.ShortCuts.push_back({ActionList->Name(I), ActionList->ShortCut(I)});
    S.Read(FFiles.Ini, TRect::FromQRect(WorkArea()));
    ApplyColors(S.FontColor, S.BackColor);
    ApplyFont(S.Font);
    SetBounds(S.Bounds);
    if (S.Maximized) ViewFullScreen();
    SetTopMost(S.OnTop);
    ShowCaption(S.Titlebar);
    StatusBar->setHidden(!S.Statusbar);
    mnuMain->setHidden(!S.Menu);
    FColorer->SetEnabled(S.SyntaxColors);
    Action(aiViewLiveResults)->setChecked(S.LiveResults);
    FEditOptions = S.EditOptions;
    for (int I = 0; I < ActionList->Count(); ++I)
        ActionList->SetShortCut(I, S.ShortCuts[I].ShortCut);
}

TSettings TMainForm::CurrentSettings() const {
    TSettings S;
    S.Font = ChosenFont();
    S.FontColor = Memo1->FontColor();
    S.BackColor = Memo1->BackColor();
    S.MemoHeight = Memo1->height();
    S.Maximized = isMaximized();
    S.Bounds = NormalBounds(); // so a maximised window comes back at its normal place
    S.OnTop = TopMost();
    S.Titlebar = CaptionVisible();
    S.Statusbar = !StatusBar->isHidden();
    S.Menu = !mnuMain->isHidden();
    S.SyntaxColors = FColorer->Enabled();
    S.LiveResults = Action(aiViewLiveResults)->isChecked();
    S.EditOptions = FEditOptions;
    for (int I = 0; I < ActionList->Count(); ++I)
        S.ShortCuts.push_back({ActionList->Name(I), ActionList->ShortCut(I)});
    S.WriteShortCuts = ActionList->ChangeMark() != 0;
    return S;
}

void TMainForm::SaveSettings() {
    QStringList Errors;
    try {
        CurrentSettings().Write(FFiles.Ini);
    } catch (const std::exception& E) {
        Errors.append(QString::fromUtf8(E.what()));
    }
    if (const auto Error = FAutoSaver->Write()) Errors.append(*Error);
    for (const QString& Error : Errors)
        WarningBox(QStringLiteral("%s"), {Error});
}

void TMainForm::LoadSymbolMap() {
    QAction* Toggle = Action(aiFontToggleChar);
    FSymbolMap.reset();
    if (!QFileInfo::exists(FFiles.SymbolMap)) {
        Toggle->setEnabled(false);
        WarningBox(
            QStringLiteral("The file '%s' was not found. The command 'Font > Toggle symbol' is disabled."),
            {FFiles.SymbolMap});
        return;
    }
    try {
        FSymbolMap = TSymbolMap::Load(FFiles.SymbolMap);
    } catch (const std::exception& E) {
        Toggle->setEnabled(false);
        WarningBox(
            QStringLiteral("An error occurred while loading '%s': %s. The command 'Font > Toggle symbol' is "
                           "disabled."),
            {FFiles.SymbolMap, QString::fromUtf8(E.what())});
    }
}

void TMainForm::RunInitDefs() {
    if (!QFileInfo::exists(FFiles.InitDefs)) return;
    try {
        RefusePipe(FFiles.InitDefs);
        FParser->ExecuteFile(std::filesystem::path(FFiles.InitDefs.toStdU16String()), false);
    } catch (const std::exception& E) {
        ShowError(E);
    }
}

void TMainForm::LoadAutoSave() {
    if (!QFileInfo::exists(FFiles.AutoSave)) return;
    try {
        SetInputText(ReadTextFile(FFiles.AutoSave));
    } catch (const std::exception& E) {
        FAutoSaver->KeepUnread(); // not replaced by an empty box
        ShowError(E);
    }
}

void TMainForm::FillAboutInfo() {
    AboutInfo.Major = QStringLiteral("3");
    AboutInfo.Minor = QStringLiteral("0");
    AboutInfo.Build = QStringLiteral("6");
    AboutInfo.Date = QDate(2015, 1, 18);
    AboutInfo.License = QStringLiteral("Free");
    AboutInfo.Description =
        QStringLiteral("The program evaluates complex-valued floating-point expressions in infix notation");
    AboutInfo.Author = QStringLiteral("The Sumtra developers");
    AboutInfo.Homepage = QStringLiteral("https://sumtra.example.org/");
}

TRect TMainForm::NormalBounds() const {
    if (!(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized)) ||
        FBounds->Pending())
        return FBounds->Bounds();
    const QRect Normal = normalGeometry(); // restored maximised and never shown normal since
    return TRect::FromQRect((Normal.isValid() ? Normal : geometry()).marginsAdded(FrameMargins(*this)));
}

void TMainForm::SetBounds(const TRect& Outer) {
    FBounds->SetBounds(Outer);
}

bool TMainForm::event(QEvent* Event) {
    if (Event->type() == QEvent::StatusTip) {
        StatusBar->SetPanelText(0, static_cast<QStatusTipEvent*>(Event)->tip());
        return true;
    }
    return TFormEx::event(Event);
}

void TMainForm::showEvent(QShowEvent* Event) {
    TFormEx::showEvent(Event);
    if (Event->spontaneous()) return;
    ApplyLayout();
    if (!FShown) {
        FShown = true;
        Memo1->setFocus();
        Memo1->selectAll();
    }
}

void TMainForm::resizeEvent(QResizeEvent* Event) {
    TFormEx::resizeEvent(Event);
    ApplyLayout();
    if (isVisible() && !isMinimized()) Action(aiViewFullScreen)->setChecked(isMaximized());
}

void TMainForm::changeEvent(QEvent* Event) {
    TFormEx::changeEvent(Event);
    if (Event->type() == QEvent::WindowStateChange && isVisible() && !isMinimized()) {
        Action(aiViewFullScreen)->setChecked(isMaximized());
    }
}

void TMainForm::closeEvent(QCloseEvent* Event) {
    // Closing is never refused; a settings or input file that cannot be
    // written is reported and the window closes all the same.
    SaveSettings();
    Event->accept();
}

void TMainForm::ApplyLayout() {
    int H = height() - (mnuMain->isHidden() ? 0 : mnuMain->sizeHint().height());
    const int ToolBarHeight = ToolBar1->sizeHint().height();
    const bool ShowToolBar = 3 * ToolBarHeight < H;
    if (ToolBar1->isHidden() == ShowToolBar) ToolBar1->setVisible(ShowToolBar);
    if (ShowToolBar) H -= ToolBarHeight;
    if (!StatusBar->isHidden()) H -= StatusBar->sizeHint().height();
    const int Top = qMax(0, H / 2);
    Memo1->setGeometry(0, 0, FClient->width(), Top);
    Memo2->setGeometry(0, Top, FClient->width(), qMax(0, FClient->height() - Top));
    StatusBar->SetPanelWidth(0, width() - StatusBar->PanelWidth(1) - StatusBar->PanelWidth(2));
}

// The format panel opens the format menu just above itself.
void TMainForm::StatusPanelClicked(int Index) {
    if (Index != 2) return;
    const QPoint At = StatusBar->mapToGlobal(StatusBar->PanelRect(Index).topLeft());
    mnuFormats->popup(At - QPoint(0, mnuFormats->sizeHint().height()));
}

void TMainForm::UpdateStatusPosition() {
    const int Start = Memo1->textCursor().selectionStart();
    const QTextBlock Line = Memo1->document()->findBlock(Start);
    StatusBar->SetPanelText(
        1, QStringLiteral("Line %1  Position %2").arg(Line.blockNumber() + 1).arg(Start - Line.position()));
}

void TMainForm::UpdateActions() {
    auto Check = [this](TActionId Id, bool Value) { Action(Id)->setChecked(Value); };
    Check(aiViewTitlebar, CaptionVisible());
    Check(aiViewMenubar, !mnuMain->isHidden());
    Check(aiViewStatusbar, !StatusBar->isHidden());
    Check(aiViewStayOnTop, TopMost());
    Check(aiViewSyntaxColors, FColorer->Enabled());
    if (!isMinimized()) Check(aiViewFullScreen, isMaximized());
    Check(aiFontBold, Memo1->font().bold());
    Check(aiFontItalic, Memo1->font().italic());
    Check(aiParserRetainOutput, FParser->Output().Preserve());
    for (int F = nfDec; F <= nfAngle; ++F)
        Check(static_cast<TActionId>(aiParserDecimal + F), FParser->NumberFormat() == F);
    StatusBar->SetPanelText(2, FormatPanelText(FParser->NumberFormat(), FParser->Precision()));
    Check(aiEditOptionsAssignOnColon, FEditOptions.AssignOnColon);
    Check(aiEditOptionsEncloseOnBracket, FEditOptions.EncloseOnBracket);
    Check(aiEditOptionsEncloseOnOperator, FEditOptions.EncloseOnOperator);
    Check(aiEditOptionsCompleteNames, FEditOptions.CompleteNames);
    Check(aiToolsKeyboard, FKeyboard && FKeyboard->isVisible());
    Action(aiFontToggleChar)->setEnabled(FSymbolMap.has_value());
    Action(aiEditUndo)->setEnabled(FHistory && FHistory->CanUndo());
    Action(aiEditRedo)->setEnabled(FHistory && FHistory->CanRedo());
    UpdateEditActions();
}

void TMainForm::UpdateEditActions() {
    if (!ActionList) return;
    const TMemo* M = FEditMemo;
    const bool Selected = M && M->textCursor().hasSelection();
    Action(aiEditCut)->setEnabled(Selected && !M->isReadOnly());
    Action(aiEditCopy)->setEnabled(Selected);
    Action(aiEditPaste)->setEnabled(M && !M->isReadOnly() && FClipboardHasText);
    Action(aiEditSelectAll)->setEnabled(M && !M->document()->isEmpty());
}

// Asking the clipboard may take a round trip to another program, so it is
// asked when its content changes, not at every move of the caret.
void TMainForm::ClipboardChanged() {
    const QMimeData* Data = QGuiApplication::clipboard()->mimeData();
    FClipboardHasText = Data && Data->hasText();
    UpdateEditActions();
}

// The focus leaves both boxes while a menu or a dialog is open, and comes back
// late or not at all; the edit commands act on the box that had it last.
void TMainForm::FocusChanged(QWidget* Now) {
    if (Now == Memo1 || Now == Memo2) FEditMemo = static_cast<TMemo*>(Now);
    UpdateEditActions();
}

QFont TMainForm::ChosenFont() const {
    QFont Font = Memo1->font();
    Font.setFamily(FFontFamily);
    return Font;
}

void TMainForm::ApplyFont(QFont Font) {
    FFontFamily = Font.family();
    Font.setFamily(DrawnFamily(FFontFamily));
    Memo1->setFont(Font);
    Memo2->setFont(Font);
    SetMemoMargins(*Memo1, MemoMargin);
    SetMemoMargins(*Memo2, MemoMargin);
}

void TMainForm::ApplyColors(const QColor& FontColor, const QColor& BackColor) {
    for (TMemo* M : {Memo1, Memo2}) {
        M->SetFontColor(FontColor);
        M->SetBackColor(BackColor);
        SetMemoMargins(*M, MemoMargin);
    }
    if (FColorer) FColorer->SetColors(FontColor, BackColor);
    if (FOutputStale) { // drawn anew in the new colours
        FOutputStale = false;
        MarkOutputStale(true);
    }
}

void TMainForm::SetInputText(const QString& Text) {
    const QSignalBlocker Block(Memo1);
    FCompletion->hide(); // its word is gone
    Memo1->setPlainText(Text);
    Memo1->document()->setModified(false);
    if (FHistory) UpdateActions();
}

// Every change made by the user is one step of the history; setting the whole
// text from the program clears the modified mark and so records nothing. An
// edit that empties the box is not recorded: the mark stays set, so the next
// change is.
void TMainForm::InputChanged() {
    if (!FHistory) return;
    QTextDocument* Doc = Memo1->document();
    if (!Doc->isModified() || Doc->isEmpty()) return;
    FHistory->Add(FInputText->Text());
    Doc->setModified(false);
    Action(aiEditUndo)->setEnabled(FHistory->CanUndo());
    Action(aiEditRedo)->setEnabled(FHistory->CanRedo());
}

void TMainForm::ProgramHelp() {
    QString Path = ExeDir() + HelpFile();
    for (const QString& Dir : ShippedDirs())
        if (QFileInfo::exists(Dir + HelpFile())) {
            Path = Dir + HelpFile();
            break;
        }
    if (ShowHelp(this, Path)) showMinimized(); // the system's viewer took the page
}

void TMainForm::ProgramAbout() {
    TAboutForm::ShowDlg(this);
}

void TMainForm::ProgramExit() {
    close();
}

namespace {
const QStringList FileFilters = {QStringLiteral("Text documents (*.txt)"), QStringLiteral("All files (*)")};

// The chosen file, or an empty text when the dialog was cancelled.
QString ChooseFile(QWidget* Owner, QFileDialog::AcceptMode Mode, const QString& Caption,
                   const QString& Preset = {}) {
    QFileDialog Dialog(Owner, Caption);
    Dialog.setAcceptMode(Mode);
    Dialog.setFileMode(Mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    Dialog.setDefaultSuffix(QStringLiteral("txt"));
    Dialog.setNameFilters(FileFilters);
    Dialog.setFilter(Dialog.filter() | QDir::Hidden);
    if (!Preset.isEmpty()) {
        Dialog.setDirectory(QFileInfo(Preset).absolutePath());
        Dialog.selectFile(Preset);
    }
    if (Dialog.exec() != QDialog::Accepted || Dialog.selectedFiles().isEmpty()) return {};
    return Dialog.selectedFiles().first();
}
} // namespace

void TMainForm::FileOpen() {
    const QString FileName = ChooseFile(this, QFileDialog::AcceptOpen, QStringLiteral("Open"));
    if (FileName.isEmpty()) return;
    try {
        const QString Text = ReadTextFile(FileName);
        SetInputText(Text);
        FHistory->Add(Text);
    } catch (const std::exception& E) {
        ShowError(E);
    }
}

void TMainForm::FileSave() {
    const QString FileName = ChooseFile(this, QFileDialog::AcceptSave, QStringLiteral("Save As"));
    if (FileName.isEmpty()) return;
    try {
        WriteTextFile(FileName, Memo1->toPlainText());
    } catch (const std::exception& E) {
        ShowError(E);
    }
}

void TMainForm::FileExecute() {
    const QString FileName =
        ChooseFile(this, QFileDialog::AcceptOpen, QStringLiteral("Execute"), FFiles.InitDefs);
    if (FileName.isEmpty()) return;
    try {
        FParser->ExecuteFile(std::filesystem::path(FileName.toStdU16String()), false);
    } catch (const std::exception& E) {
        ShowError(E);
    }
    DropLinks(); // the file's statements are not in the input box
    NamesChanged();
}

void TMainForm::ParserEvaluate() {
    Evaluate(false);
}

void TMainForm::Evaluate(bool Live) {
    FLiveTimer->stop();
    const QTextCursor Cursor = Memo1->textCursor();
    const QString Text = Cursor.hasSelection() ? Cursor.selectedText() : FInputText->Text();
    const int From = Cursor.hasSelection() ? Cursor.selectionStart() : 0;
    FAutoSaver->Save(); // before the run, so that a run that never ends cannot take the text with it
    const bool Preserve = FParser->Output().Preserve();
    if (Live && Preserve && FLiveOutputStart >= 0) FOutputLines->Truncate(FLiveOutputStart);
    // With Preserve on, the run starts on the line after the earlier ones: its
    // divider. That line goes to the top of the box.
    const int Start = Preserve ? FOutputLines->Count() : 0;
    FLiveOutputStart = Live ? Start : -1;
    const int Scrolled = Memo2->verticalScrollBar()->value();
    QElapsedTimer Clock;
    Clock.start();
    const bool Ok = FParser->Execute(ProgramText(Text), false);
    FLive.RunTook(static_cast<int>(Clock.elapsed()));
    if (Live) {
        Memo2->verticalScrollBar()->setValue(Scrolled); // the reader's place stays
    } else {
        QTextCursor First(Memo2->document()->findBlockByNumber(Start));
        Memo2->setTextCursor(First);
        Memo2->verticalScrollBar()->setValue(First.blockNumber());
    }
    MarkOutputStale(false);
    const QScopedValueRollback<bool> Showing(FRunShowing, true);
    LinkRun(From);
    ShowRunOutcome(Ok, From, !Live);
}

// Typing never waits for a run: each edit only restarts the pause, and until
// the run the output is drawn faded as out of date.
void TMainForm::LiveEdited() {
    if (!Action(aiViewLiveResults)->isChecked()) return;
    MarkOutputStale(true);
    const TLivePlan Plan = FLive.AfterEdit();
    if (!Plan.Note.isEmpty()) StatusBar->SetPanelText(0, Plan.Note);
    if (Plan.Delay >= 0)
        FLiveTimer->start(Plan.Delay);
    else
        FLiveTimer->stop();
}

void TMainForm::MarkOutputStale(bool Stale) {
    if (Stale == FOutputStale) return;
    FOutputStale = Stale;
    Memo2->SetFontColor(Stale ? Blend(Memo1->FontColor(), Memo1->BackColor(), 0.5) : Memo1->FontColor());
}

// The output line of an error may be cut off at the box's edge; the status bar
// and the underline's tooltip show all of it, and the caret goes to its place.
// A hint for a likely slip follows in the status bar; the output never has one.
void TMainForm::ShowRunOutcome(bool Ok, int From, bool MoveCaret) {
    NamesChanged(); // re-colouring first: the error mark stays until the next edit
    const std::u16string& Program = FParser->Tokenizer().Expression();
    const QString Message = QString::fromStdU16String(FParser->ErrorMessage());
    const TErrorSpan Span = FParser->ErrorSpan();
    FErrorMarker->Show(MarkInBox(Program, Span, From), Message, MoveCaret);
    QStringList Status;
    if (!Message.isEmpty()) Status.append(Message);
    const QString Hint = RunHint({Program, FParser->Tokenizer(), !Ok, Span}, GlobalIdents());
    if (!Hint.isEmpty()) Status.append(Hint);
    StatusBar->SetPanelText(0, Status.join(QStringLiteral(" \u2014 ")));
    UpdateStatusPosition();
}

void TMainForm::NamesChanged() {
    FColorer->SetNames(TNameClasses(GlobalIdents()));
    FCompletion->Take(GlobalIdents());
}

void TMainForm::ParserIncreaseDigits() {
    if (FParser->Precision() >= 18) return;
    FParser->SetPrecision(FParser->Precision() + 1);
    FParser->Execute(false);
}

void TMainForm::ParserDecreaseDigits() {
    if (FParser->Precision() <= 2) return;
    FParser->SetPrecision(FParser->Precision() - 1);
    FParser->Execute(false);
}

void TMainForm::ParserRetainOutput() {
    FParser->Output().SetPreserve(Action(aiParserRetainOutput)->isChecked());
}

void TMainForm::SetFormat(int Format) {
    FParser->SetNumberFormat(static_cast<TNumberFormat>(Format));
    ParserEvaluate();
}

void TMainForm::ParserDecimal() {
    SetFormat(nfDec);
}
void TMainForm::ParserBinary() {
    SetFormat(nfBin);
}
void TMainForm::ParserHexadecimal() {
    SetFormat(nfHex);
}
void TMainForm::ParserRoman() {
    SetFormat(nfRoman);
}
void TMainForm::ParserTime() {
    SetFormat(nfTime);
}
void TMainForm::ParserAngle() {
    SetFormat(nfAngle);
}

void TMainForm::ToolsKeyboard() {
    if (!FKeyboard) {
        FKeyboard = new TKeyboardForm(FFiles.Ini, this);
        connect(FKeyboard, &TKeyboardForm::OnInsertSymbol, this, &TMainForm::KeyboardInsertSymbol);
        connect(FKeyboard, &TKeyboardForm::OnCursorMove, this, &TMainForm::KeyboardCursorMove);
        connect(FKeyboard, &TKeyboardForm::OnBackspace, this, &TMainForm::KeyboardBackspace);
        connect(FKeyboard, &TKeyboardForm::OnClear, this, &TMainForm::KeyboardClear);
        connect(FKeyboard, &TKeyboardForm::OnExecute, this, &TMainForm::KeyboardExecute);
    }
    FKeyboard->setVisible(!FKeyboard->isVisible());
}

// The on-screen keyboard steps aside while the picker is shown.
QString TMainForm::PickIdent(const QString& Caption, TIdentKind Kind) {
    TKeyboardForm::SuspendForm();
    QString Name;
    {
        TInsIdentForm Picker(this, Caption);
        Picker.Init(GlobalIdents(), Kind);
        if (Picker.exec() == QDialog::Accepted) Name = Picker.IdentName();
    }
    TKeyboardForm::ResumeForm();
    Memo1->setFocus();
    return Name;
}

// Goes through the box's own replacement of the selection, so the history
// records it; the typing aids do not see it.
void TMainForm::ToolsInsertVariable() {
    const QString Name = PickIdent(QStringLiteral("Insert variable"), ikVariable);
    if (!Name.isEmpty()) Memo1->insertPlainText(Name);
}

void TMainForm::ToolsInsertFunction() {
    const QString Name = PickIdent(QStringLiteral("Insert function"), ikFunction);
    if (Name.isEmpty()) return;
    QTextCursor Cursor = Memo1->textCursor();
    QChar Next;
    if (!Cursor.hasSelection() && !Cursor.atEnd()) Next = Memo1->document()->characterAt(Cursor.position());
    const TSymbols& Symbols = FParser->Symbols();
    const TBrackets Brackets{Symbols.LeftBra1(), Symbols.RightBra1(), Symbols.LeftBra2(),
                             Symbols.RightBra2()};
    const TIdentInsertion Insertion = FunctionInsertion(Name, Cursor.selectedText(), Next, Brackets);
    Cursor.insertText(Insertion.Text);
    Cursor.movePosition(QTextCursor::Left, QTextCursor::MoveAnchor, Insertion.CaretBack);
    Memo1->setTextCursor(Cursor);
}

void TMainForm::ToolsSymbolList() {
    TSymbolForm::ShowDlg(GlobalIdents(), this);
}

void TMainForm::ToolsCustomize() {
    THotkeysEditor::ShowDlg(*ActionList, this);
}

void TMainForm::EditSelectAll() {
    if (TMemo* M = FEditMemo) M->selectAll();
}

void TMainForm::EditCut() {
    if (TMemo* M = FEditMemo) M->cut();
}

void TMainForm::EditCopy() {
    if (TMemo* M = FEditMemo) M->copy();
}

void TMainForm::EditPaste() {
    if (TMemo* M = FEditMemo) M->paste();
}

void TMainForm::EditUndo() {
    if (FHistory->CanUndo()) ShowSnapshot(FHistory->Undo());
}

void TMainForm::EditRedo() {
    if (FHistory->CanRedo()) ShowSnapshot(FHistory->Redo());
}

// The caret goes behind the text that differs, and the box scrolls to it.
void TMainForm::ShowSnapshot(const QString& Text) {
    const qsizetype At = ChangeEnd(Memo1->toPlainText(), Text);
    SetInputText(Text);
    QTextCursor Cursor = Memo1->textCursor();
    Cursor.setPosition(static_cast<int>(At));
    Memo1->setTextCursor(Cursor);
    Memo1->ensureCursorVisible();
    UpdateStatusPosition();
}

void TMainForm::EditOptionsAssignOnColon() {
    FEditOptions.AssignOnColon = !FEditOptions.AssignOnColon;
}
void TMainForm::EditOptionsEncloseOnBracket() {
    FEditOptions.EncloseOnBracket = !FEditOptions.EncloseOnBracket;
}
void TMainForm::EditOptionsEncloseOnOperator() {
    FEditOptions.EncloseOnOperator = !FEditOptions.EncloseOnOperator;
}
void TMainForm::EditOptionsCompleteNames() {
    FEditOptions.CompleteNames = !FEditOptions.CompleteNames;
}
