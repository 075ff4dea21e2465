// The calculator's main window: the input box Memo1 above the output box
// Memo2, a tool bar, a status bar with two panels, the main menu and the input
// box's popup menu, all driven by one list of named actions. It owns the
// program runner (whose output writes into Memo2), the edit history of the
// input and the symbol map, reads the start-up files and the settings when it
// is created and writes them when it closes. The calculation itself is the
// runner's; the file formats belong to units Utils and ExtIni. The action
// table, the menus and the tool bar are in Main.Actions.cpp, the way keys
// reach actions and the input box in Main.Keys.cpp.
#pragma once
#include "EditAids.h"
#include "ExtForm.h"
#include "ExtIni.h"
#include "History.h"
#include "Links.h"
#include "LiveResults.h"
#include "Settings.h"
#include "SymbolMap.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;
class QTimer;
class QToolBar;
class QKeyEvent;
class TActionList;
class TAutoSaver;
class TCompletionPopup;
class TErrorMarker;
class TKeyboardForm;
class TMemo;
class TMemoLines;
class TProgramParser;
class TFrameGrip;
class TStatusBar;
class TSyntaxColorer;
class TTextMirror;
class TWindowBounds;
struct TExportRow;
enum TIdentKind : int;

// The main window's actions, in the order of its action table. ORDER TActionId
enum TActionId : int {
    aiProgramHelp,
    aiProgramAbout,
    aiProgramExit,
    aiFileOpen,
    aiFileSave,
    aiFileExecute,
    aiFileExport,
    aiViewTitlebar,
    aiViewMenubar,
    aiViewStatusbar,
    aiViewFullScreen,
    aiViewStayOnTop,
    aiViewForeColor,
    aiViewBackColor,
    aiViewSyntaxColors,
    aiViewLiveResults,
    aiFontSelect,
    aiFontGrow,
    aiFontShrink,
    aiFontBold,
    aiFontItalic,
    aiFontToggleChar,
    aiParserEvaluate,
    aiParserIncreaseDigits,
    aiParserDecreaseDigits,
    aiParserRetainOutput,
    aiParserDecimal,
    aiParserBinary,
    aiParserHexadecimal,
    aiParserRoman,
    aiParserTime,
    aiParserAngle, // ORDER TNumberFormat
    aiToolsKeyboard,
    aiToolsInsertVariable,
    aiToolsInsertFunction,
    aiToolsSymbolList,
    aiToolsCustomize,
    aiEditSelectAll,
    aiEditCut,
    aiEditCopy,
    aiEditPaste,
    aiEditUndo,
    aiEditRedo,
    aiEditCopyResult,
    aiEditInsertResult,
    aiEditOptionsAssignOnColon,
    aiEditOptionsEncloseOnBracket,
    aiEditOptionsEncloseOnOperator,
    aiEditOptionsCompleteNames,
    aiCount
};

class TMainForm : public TFormEx {
    Q_OBJECT
  public:
    // StateDir is the folder of the settings file, "AutoSave.txt", "InitDefs.txt"
    // and "SymbolMap.txt"; when empty, the folder of the executable is used if it
    // can be written, else the user's configuration folder (and the two files that
    // are only read are then also looked for next to the executable).
    // CommandLine, when given, replaces the auto-saved input and is evaluated.
    explicit TMainForm(const QString& StateDir = {},
                       const std::optional<QString>& CommandLine = std::nullopt);
    ~TMainForm() override;

    TProgramParser& Parser() const { return *FParser; }
    const THistory& History() const { return *FHistory; }
    TActionList& Actions() const { return *ActionList; }
    QAction* Action(TActionId Id) const;
    QAction* Action(const QString& Name) const; // null when there is no such action
    const QString& IniFileName() const { return FFiles.Ini; }
    const QString& AutoSaveFile() const { return FFiles.AutoSave; }
    TAutoSaver& AutoSaver() const { return *FAutoSaver; }
    // The last run as a table in FileName, by its extension; a failure is shown
    // in a warning box and leaves an earlier file as it was.
    void ExportTo(const QString& FileName);
    // The window's outer bounds, and while maximised those it returns to.
    TRect NormalBounds() const;
    void SetBounds(const TRect& Outer);

  protected:
    bool event(QEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    void showEvent(QShowEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void changeEvent(QEvent* Event) override;
    void closeEvent(QCloseEvent* Event) override;

  private:
    struct TActionRow;
    static const TActionRow ActionRows[];

    // Start-up steps, in the order the constructor runs them.
    void CreateControls();
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void RestoreSettings();
    void LoadSymbolMap();
    void RunInitDefs();
    void LoadAutoSave();
    void FillAboutInfo();

    TSettings CurrentSettings() const;
    void SaveSettings();
    void ShowCaption(bool Value);
    void ApplyLayout();
    void UpdateStatusPosition();
    void StatusPanelClicked(int Index);
    // Runs the input, or its selection, as Evaluate does. A live run leaves the
    // caret where it is and replaces its own output when Preserve is on.
    void Evaluate(bool Live);
    void ShowRunOutcome(bool Ok, int From, bool MoveCaret); // From: where the text that ran starts in Memo1
    void LiveEdited();                                      // the input changed: plan the next live run
    // Linked results (Main.Links.cpp).
    void LinkRun(int From); // the last run's statements and lines, its text starting at From in Memo1
    void DropLinks();
    void ShowLinks();
    QColor LinkColor() const;
    bool OutputDoubleClicked(const QPoint& At); // true when it selected a statement
    void MarkOutputStale(bool Stale);                       // the output no longer shows the input's results
    void NamesChanged();                    // after a run: what the names are now
    void UpdateActions();
    void UpdateEditActions();
    void ClipboardChanged();
    QFont ChosenFont() const; // Memo1's font in the family the user chose
    void ApplyFont(QFont Font);
    void ApplyColors(const QColor& FontColor, const QColor& BackColor);
    void SetInputText(const QString& Text);
    void InputChanged();
    void FocusChanged(QWidget* Now);
    void ShowSnapshot(const QString& Text); // a step of the history
    bool MenuClaims(QKeyEvent& Key) const;
    // The editing aids: true when the key's character was handled here.
    bool TypeChar(const QKeyEvent& Key);
    QString FilterInserted(const QString& Text);
    void SendKey(int Key, const QString& Text); // a typed key, as if pressed in Memo1

    // The on-screen keyboard's events.
    void KeyboardInsertSymbol(QChar Symbol);
    void KeyboardCursorMove(int Delta);
    void KeyboardBackspace();
    void KeyboardClear();
    void KeyboardExecute();

    // Actions, in the order of the action table.
    void ProgramHelp();
    void ProgramAbout();
    void ProgramExit();
    void FileOpen();
    void FileSave();
    void FileExecute();
    void FileExport();
    void ViewTitlebar();
    void ViewMenubar();
    void ViewStatusbar();
    void ViewFullScreen();
    void ViewStayOnTop();
    void ViewForeColor();
    void ViewBackColor();
    void ViewSyntaxColors();
    void ViewLiveResults();
    void FontSelect();
    void FontGrow();
    void FontShrink();
    void FontBold();
    void FontItalic();
    void FontToggleChar();
    void ParserEvaluate();
    void ParserIncreaseDigits();
    void ParserDecreaseDigits();
    void ParserRetainOutput();
    void ParserDecimal();
    void ParserBinary();
    void ParserHexadecimal();
    void ParserRoman();
    void ParserTime();
    void ParserAngle();
    void ToolsKeyboard();
    void ToolsInsertVariable();
    void ToolsInsertFunction();
    void ToolsSymbolList();
    void ToolsCustomize();
    void EditSelectAll();
    void EditCut();
    void EditCopy();
    void EditPaste();
    void EditUndo();
    void EditRedo();
    void EditCopyResult();
    void EditInsertResult();
    void EditOptionsAssignOnColon();
    void EditOptionsEncloseOnBracket();
    void EditOptionsEncloseOnOperator();
    void EditOptionsCompleteNames();
    void SetFormat(int Format);
    QString PickIdent(const QString& Caption, TIdentKind Kind); // the name chosen, or empty
    // The value Copy result and Insert result take; says in the status bar when there is none.
    std::optional<QString> ChosenResult();
    std::vector<TExportRow> ExportRows() const; // the last run, one row per statement line

    TStateFiles FFiles;
    std::optional<TSymbolMap> FSymbolMap;
    std::unique_ptr<TProgramParser> FParser;
    std::unique_ptr<THistory> FHistory;
    TAutoSaver* FAutoSaver = nullptr;     // a child: writes the input while it is edited
    TErrorMarker* FErrorMarker = nullptr; // a child of Memo1
    TSyntaxColorer* FColorer = nullptr;   // a child of Memo1's document
    TTextMirror* FInputText = nullptr;    // Memo1's text, a child of its document
    TLiveSchedule FLive;
    QTimer* FLiveTimer = nullptr; // a child: the pause before a live run
    int FLiveOutputStart = -1;    // with Preserve on, the output line the last live run started at
    bool FOutputStale = false;
    std::vector<TLink> FLinks; // the last run's, until Memo1 is edited
    bool FRunShowing = false;  // a run is putting up its outcome: the output keeps its scroll
    TEditOptions FEditOptions;
    // A child: the names as the last run left them, offered at the caret.
    TCompletionPopup* FCompletion = nullptr;
    QString FFontFamily; // as chosen; the boxes may draw with another (see DrawnFamily)
    bool FShown = false; // the first show gives Memo1 the focus
    bool FClipboardHasText = false;
    TWindowBounds* FBounds = nullptr; // a child
    TFrameGrip* FGrip = nullptr;      // a child

    std::unique_ptr<TMemoLines> FOutputLines;
    QWidget* FClient = nullptr;
    TMemo* Memo1 = nullptr;
    TMemo* Memo2 = nullptr;
    TMemo* FEditMemo = nullptr; // the box that had the focus last
    QToolBar* ToolBar1 = nullptr;
    TStatusBar* StatusBar = nullptr;
    QMenuBar* mnuMain = nullptr;
    QMenu* mnuPopup = nullptr;
    QMenu* mnuOutputPopup = nullptr;
    QMenu* mnuFormats = nullptr; // Parser > Result format, also opened from the status bar
    TActionList* ActionList = nullptr;
    QActionGroup* FFormats = nullptr;
    TKeyboardForm* FKeyboard = nullptr; // made on first use, a child of this window
};
