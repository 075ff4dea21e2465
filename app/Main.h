// The calculator's main window: the input box Memo1 above the output box
// Memo2, a tool bar, a status bar with two panels, the main menu and the input
// box's popup menu, all driven by one list of named actions. It owns the
// program runner (whose output writes into Memo2), the edit history of the
// input and the symbol map, reads the start-up files and the settings when it
// is created and writes them when it closes. The calculation itself is the
// runner's; the file formats belong to units Utils and ExtIni.
#pragma once
#include "ExtForm.h"
#include "ExtIni.h"
#include "History.h"
#include "SymbolMap.h"

#include <QString>

#include <memory>
#include <optional>

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;
class QToolBar;
class QKeyEvent;
class TActionList;
class TAutoSaver;
class TKeyboardForm;
class TMemo;
class TMemoLines;
class TProgramParser;
class TStatusBar;
enum TIdentKind : int;

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
    QAction* Action(const QString& Name) const;
    const QString& IniFileName() const { return FIniFile; }
    const QString& AutoSaveFile() const { return FAutoSaveFile; }
    TAutoSaver& AutoSaver() const { return *FAutoSaver; }
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
    void LocateFiles(const QString& StateDir);
    void RestoreSettings();
    void LoadSymbolMap();
    void RunInitDefs();
    void LoadAutoSave();
    void FillAboutInfo();

    void SaveSettings();
    void ApplyPendingBounds();
    void ApplyLayout();
    void UpdateStatusPosition();
    void UpdateActions();
    void UpdateEditActions();
    void ClipboardChanged();
    void ApplyFont(const QFont& Font);
    void ApplyColors(const QColor& FontColor, const QColor& BackColor);
    void SetInputText(const QString& Text);
    void InputChanged();
    TMemo* FocusedMemo() const;
    bool MenuClaims(QKeyEvent& Key) const;
    QString ReadFileOf(const QString& FileName) const; // the state folder first, then ExeDir
    // The editing aids: true when the key's character was handled here.
    bool TypeChar(const QKeyEvent& Key);
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
    void ViewTitlebar();
    void ViewMenubar();
    void ViewStatusbar();
    void ViewFullScreen();
    void ViewStayOnTop();
    void ViewForeColor();
    void ViewBackColor();
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
    void EditOptionsAssignOnColon();
    void EditOptionsEncloseOnBracket();
    void EditOptionsEncloseOnOperator();
    void SetFormat(int Format);
    QString PickIdent(const QString& Caption, TIdentKind Kind); // the name chosen, or empty

    QString FAutoSaveFile;
    QString FSymbolMapFile;
    QString FInitDefsFile;
    QString FIniFile;
    QStringList FReadDirs; // where the files that are only read are looked for, in order
    std::optional<TSymbolMap> FSymbolMap;
    std::unique_ptr<TProgramParser> FParser;
    std::unique_ptr<THistory> FHistory;
    TAutoSaver* FAutoSaver = nullptr; // a child: writes the input while it is edited
    bool FAssignOnColon = true;
    bool FEncloseOnBracket = false;
    bool FEncloseOnOperator = false;
    bool FShown = false; // the first show gives Memo1 the focus
    bool FClipboardHasText = false;
    std::optional<TRect> FPendingBounds; // applied again once the frame is known

    std::unique_ptr<TMemoLines> FOutputLines;
    QWidget* FClient = nullptr;
    TMemo* Memo1 = nullptr;
    TMemo* Memo2 = nullptr;
    QToolBar* ToolBar1 = nullptr;
    TStatusBar* StatusBar = nullptr;
    QMenuBar* mnuMain = nullptr;
    QMenu* mnuPopup = nullptr;
    TActionList* ActionList = nullptr;
    QActionGroup* FFormats = nullptr;
    TKeyboardForm* FKeyboard = nullptr; // made on first use, a child of this window
};
