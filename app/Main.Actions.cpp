// The main window's action table, and the menus and the tool bar built from it.
#include "Main.h"

#include "ActionList.h"
#include "Images.h"
#include "Memo.h"
#include "ShortCut.h"

#include <QAction>
#include <QActionGroup>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include <iterator>

namespace {
// The Tools menu's entry for Insert function carries this key of its own; while
// the menu is attached it is looked up before the action list (see MenuClaims).
constexpr TShortCut MenuFunctionKey = scCtrl | 'F';

// In a list of menu entries, a separator line.
constexpr TActionId Separator = aiCount;

constexpr TActionId ToolBarActions[] = {
    aiEditCopy,      aiEditPaste,   aiFontToggleChar, aiToolsInsertVariable, aiToolsInsertFunction,
    aiToolsKeyboard, aiViewMenubar, aiProgramHelp,    aiProgramExit};

} // namespace

struct TMainForm::TActionRow {
    TActionId Id;
    const char* Name;
    const char* Category;
    const char* Caption;
    TShortCut ShortCut;
    const char* Hint;
    void (TMainForm::*Slot)();
    bool Checkable;
};

// The order of this table is the order of the action list, of the "Shortcuts"
// section of the settings file and of the hotkeys editor. ORDER TActionId
const TMainForm::TActionRow TMainForm::ActionRows[] = {
    {aiProgramHelp, "ProgramHelp", "Program", "Help", vkF1, "Shows help", &TMainForm::ProgramHelp, false},
    {aiProgramAbout, "ProgramAbout", "Program", "About", 0, "Shows infromation about the program",
     &TMainForm::ProgramAbout, false},
    {aiProgramExit, "ProgramExit", "Program", "Exit", vkEscape, "Exits the program", &TMainForm::ProgramExit,
     false},
    {aiFileOpen, "FileOpen", "File", "Open...", scCtrl | 'O', "Opens an existing file", &TMainForm::FileOpen,
     false},
    {aiFileSave, "FileSave", "File", "Save...", scCtrl | 'S', "Saves the document to a file",
     &TMainForm::FileSave, false},
    {aiFileExecute, "FileExecute", "File", "Execute...", 0, "Executes all commands in a file",
     &TMainForm::FileExecute, false},
    {aiFileExport, "FileExport", "File", "Export...", scCtrl | 'E',
     "Saves the last run as a table: Markdown, HTML or CSV", &TMainForm::FileExport, false},
    {aiViewTitlebar, "ViewTitlebar", "View", "Titlebar", 0, "Toggles visibility of titlebar",
     &TMainForm::ViewTitlebar, true},
    {aiViewMenubar, "ViewMenubar", "View", "Main menu", scAlt | 'M', "Toggles visibility of main menu",
     &TMainForm::ViewMenubar, true},
    {aiViewStatusbar, "ViewStatusbar", "View", "Statusbar", scAlt | 'S', "Toggles visibility of statusbar",
     &TMainForm::ViewStatusbar, true},
    {aiViewFullScreen, "ViewFullScreen", "View", "Full screen", scAlt | vkReturn, "Toggles fullscreen",
     &TMainForm::ViewFullScreen, true},
    {aiViewStayOnTop, "ViewStayOnTop", "View", "Stay on top", scCtrl | 'T',
     "When checked the window stays on top of all other windows", &TMainForm::ViewStayOnTop, true},
    {aiViewForeColor, "ViewForeColor", "View", "Forecolor...", 0, "Selects foreground color",
     &TMainForm::ViewForeColor, false},
    {aiViewBackColor, "ViewBackColor", "View", "Backcolor...", 0, "Selects background color",
     &TMainForm::ViewBackColor, false},
    {aiViewSyntaxColors, "ViewSyntaxColors", "View", "Syntax colours", 0,
     "Colours numbers, names, operators and comments in the input box", &TMainForm::ViewSyntaxColors, true},
    {aiViewLiveResults, "ViewLiveResults", "View", "Live results", scCtrl | 'L',
     "Evaluates the input a moment after each edit", &TMainForm::ViewLiveResults, true},
    {aiFontSelect, "FontSelect", "Font", "Select...", scCtrl | 'F', "Enables to select font",
     &TMainForm::FontSelect, false},
    {aiFontGrow, "FontGrow", "Font", "Grow", scAlt | vkUp, "Increases font size by 2 points",
     &TMainForm::FontGrow, false},
    {aiFontShrink, "FontShrink", "Font", "Shrink", scAlt | vkDown, "Decreases font size by 2 points",
     &TMainForm::FontShrink, false},
    {aiFontBold, "FontBold", "Font", "Bold", scCtrl | 'B', "Toggles font style bold", &TMainForm::FontBold,
     true},
    {aiFontItalic, "FontItalic", "Font", "Italic", scCtrl | 'I', "Toggles font style italic",
     &TMainForm::FontItalic, true},
    {aiFontToggleChar, "FontToggleChar", "Font", "Toggle symbol", scCtrl | 'G',
     "Toggle selected character(s) between latin, greek and cyrillic alphabet", &TMainForm::FontToggleChar,
     false},
    {aiParserEvaluate, "ParserEvaluate", "Parser", "Evaluate", vkReturn, "Execute all statements",
     &TMainForm::ParserEvaluate, false},
    {aiParserIncreaseDigits, "ParserIncreaseDigits", "Parser", "Increase precision", scCtrl | vkUp,
     "Increases the number of significant digits", &TMainForm::ParserIncreaseDigits, false},
    {aiParserDecreaseDigits, "ParserDecreaseDigits", "Parser", "Decrease precision", scCtrl | vkDown,
     "Decreases the number of significant digits", &TMainForm::ParserDecreaseDigits, false},
    {aiParserRetainOutput, "ParserRetainOutput", "Parser", "Preserve output", 0,
     "If enabled, calculation results will accumulate in the output text box", &TMainForm::ParserRetainOutput,
     true},
    {aiParserDecimal, "ParserDecimal", "Parser", "Decimal", scAlt | 'D',
     "Display numerical results in decimal", &TMainForm::ParserDecimal, true},
    {aiParserBinary, "ParserBinary", "Parser", "Binary", scAlt | 'B',
     "Display numerical results in binary (real part only)", &TMainForm::ParserBinary, true},
    {aiParserHexadecimal, "ParserHexadecimal", "Parser", "Hexadecimal", scAlt | 'H',
     "Display numerical results in hexadecimal (real part only)", &TMainForm::ParserHexadecimal, true},
    {aiParserRoman, "ParserRoman", "Parser", "Roman", scAlt | 'R',
     "Display numerical results in Roman (real part only)", &TMainForm::ParserRoman, true},
    {aiParserTime, "ParserTime", "Parser", "Time", scAlt | 'T',
     "Display numerical results as time (real part only)", &TMainForm::ParserTime, true},
    // Alt+A is the Parser menu's mnemonic; G as in degrees.
    {aiParserAngle, "ParserAngle", "Parser", "Angle", scAlt | 'G',
     "Display numerical results as degrees, minutes and seconds (real part only)", &TMainForm::ParserAngle,
     true},
    {aiToolsKeyboard, "ToolsKeyboard", "Tools", "Keyboard", 0, "Displays on-screen keyboard",
     &TMainForm::ToolsKeyboard, true},
    {aiToolsInsertVariable, "ToolsInsertVariable", "Tools", "Insert variable...", 0,
     "Displays the list of defined variables", &TMainForm::ToolsInsertVariable, false},
    {aiToolsInsertFunction, "ToolsInsertFunction", "Tools", "Insert function...", 0,
     "Displays the list of defined functions", &TMainForm::ToolsInsertFunction, false},
    {aiToolsSymbolList, "ToolsSymbolList", "Tools", "List of defined symbols", 0,
     "Displays the list of defined symbols in memory", &TMainForm::ToolsSymbolList, false},
    {aiToolsCustomize, "ToolsCustomize", "Tools", "Customize hotkeys...", 0, "Customize the shortcut keys",
     &TMainForm::ToolsCustomize, false},
    {aiEditSelectAll, "EditSelectAll", "Edit", "Select All", scCtrl | 'A', "Selects all text",
     &TMainForm::EditSelectAll, false},
    {aiEditCut, "EditCut", "Edit", "Cut", scCtrl | 'X', "Cuts the selection to the Clipboard",
     &TMainForm::EditCut, false},
    {aiEditCopy, "EditCopy", "Edit", "Copy", scCtrl | 'C', "Copies the selection to the Clipboard",
     &TMainForm::EditCopy, false},
    {aiEditPaste, "EditPaste", "Edit", "Paste", scCtrl | 'V', "Inserts Clipboard contents",
     &TMainForm::EditPaste, false},
    {aiEditUndo, "EditUndo", "Edit", "Undo", scCtrl | 'Z', "Reverts the last action", &TMainForm::EditUndo,
     false},
    {aiEditRedo, "EditRedo", "Edit", "Redo", scShift | scCtrl | 'Z', "Redoes the last undone action",
     &TMainForm::EditRedo, false},
    {aiEditCopyResult, "EditCopyResult", "Edit", "Copy result", scShift | scCtrl | 'C',
     "Copies the value of the result line at the caret", &TMainForm::EditCopyResult, false},
    {aiEditInsertResult, "EditInsertResult", "Edit", "Insert result", scCtrl | 'R',
     "Inserts the value of the result line at the caret into the input", &TMainForm::EditInsertResult, false},
    {aiEditOptionsAssignOnColon, "EditOptionsAssignOnColon", "Edit", "Assign on colon/equal", 0,
     "Enter assignment operator on colon", &TMainForm::EditOptionsAssignOnColon, true},
    {aiEditOptionsEncloseOnBracket, "EditOptionsEncloseOnBracket", "Edit", "Enclose on bracket", 0,
     "Enclose selection in brackets when a bracket is pressed", &TMainForm::EditOptionsEncloseOnBracket,
     true},
    {aiEditOptionsEncloseOnOperator, "EditOptionsEncloseOnOperator", "Edit", "Enclose on operator", 0,
     "Enclose selection in brackets when an operator is pressed", &TMainForm::EditOptionsEncloseOnOperator,
     true},
    {aiEditOptionsCompleteNames, "EditOptionsCompleteNames", "Edit", "Complete names", 0,
     "When checked, a list of matching names opens after two letters", &TMainForm::EditOptionsCompleteNames,
     true},
};

QAction* TMainForm::Action(TActionId Id) const {
    return ActionList->Action(Id);
}

QAction* TMainForm::Action(const QString& Name) const {
    const int Index = ActionList->IndexOf(Name);
    return Index < 0 ? nullptr : ActionList->Action(Index);
}

void TMainForm::CreateActions() {
    ActionList = new TActionList(this);
    ActionList->setObjectName(QStringLiteral("ActionList"));
    FFormats = new QActionGroup(this);
    static_assert(std::size(ActionRows) == aiCount);
    for (const TActionRow& Row : ActionRows) {
        Q_ASSERT(Row.Id == ActionList->Count());
        const QString Name = QString::fromLatin1(Row.Name);
        auto* A = new QAction(QString::fromUtf8(Row.Caption), this);
        A->setObjectName(Name);
        A->setStatusTip(QString::fromUtf8(Row.Hint));
        A->setToolTip(QString::fromUtf8(Row.Hint));
        A->setCheckable(Row.Checkable);
        A->setIcon(ActionIcon(Name));
        connect(A, &QAction::triggered, this, Row.Slot);
        connect(A, &QAction::triggered, this, &TMainForm::UpdateActions);
        addAction(A); // so that shortcuts work with the menu detached
        ActionList->Add(A, QString::fromLatin1(Row.Category), Row.ShortCut);
        if (Row.Id >= aiParserDecimal && Row.Id <= aiParserAngle) FFormats->addAction(A);
    }
    QAction* InsertFunction = Action(aiToolsInsertFunction);
    InsertFunction->setText(InsertFunction->text() + u'\t' + ShortCutToText(MenuFunctionKey));
}

void TMainForm::CreateMenus() {
    mnuMain = new QMenuBar(this);
    mnuMain->setObjectName(QStringLiteral("mnuMain"));
    setMenuBar(mnuMain);
    auto Fill = [this](QMenu* Menu, std::initializer_list<TActionId> Ids) {
        for (const TActionId Id : Ids)
            if (Id != Separator)
                Menu->addAction(Action(Id));
            else
                Menu->addSeparator();
    };
    Fill(mnuMain->addMenu(QStringLiteral("&Program")), {aiProgramHelp, aiProgramAbout, aiProgramExit});
    Fill(mnuMain->addMenu(QStringLiteral("&File")), {aiFileOpen, aiFileSave, aiFileExecute, aiFileExport});
    Fill(mnuMain->addMenu(QStringLiteral("&View")),
         {aiViewTitlebar, aiViewMenubar, aiViewStatusbar, aiViewFullScreen, aiViewStayOnTop, aiViewForeColor,
          aiViewBackColor, aiViewSyntaxColors, aiViewLiveResults});
    Fill(mnuMain->addMenu(QStringLiteral("Fo&nt")),
         {aiFontSelect, aiFontGrow, aiFontShrink, aiFontBold, aiFontItalic, aiFontToggleChar});
    QMenu* Parser = mnuMain->addMenu(QStringLiteral("P&arser"));
    Fill(Parser, {aiParserIncreaseDigits, aiParserDecreaseDigits, aiParserRetainOutput});
    mnuFormats = Parser->addMenu(QStringLiteral("Result format"));
    mnuFormats->setObjectName(QStringLiteral("mnuFormats"));
    Fill(mnuFormats,
         {aiParserDecimal, aiParserBinary, aiParserHexadecimal, aiParserRoman, aiParserTime, aiParserAngle});
    Fill(
        mnuMain->addMenu(QStringLiteral("Tools")),
        {aiToolsKeyboard, aiToolsInsertVariable, aiToolsInsertFunction, aiToolsSymbolList, aiToolsCustomize});

    mnuPopup = new QMenu(this);
    mnuPopup->setObjectName(QStringLiteral("mnuPopup"));
    Fill(mnuPopup, {aiEditUndo, aiEditRedo, Separator, aiEditCut, aiEditCopy, aiEditPaste, Separator});
    Fill(mnuPopup->addMenu(QStringLiteral("Options")),
         {aiEditOptionsAssignOnColon, aiEditOptionsEncloseOnBracket, aiEditOptionsEncloseOnOperator,
          aiEditOptionsCompleteNames});
    connect(Memo1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& At) { mnuPopup->popup(Memo1->mapToGlobal(At)); });

    mnuOutputPopup = new QMenu(this);
    mnuOutputPopup->setObjectName(QStringLiteral("mnuOutputPopup"));
    Fill(mnuOutputPopup, {aiEditCopy, aiEditCopyResult, aiEditInsertResult, Separator, aiEditSelectAll});
    Memo2->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Memo2, &QWidget::customContextMenuRequested, this, [this](const QPoint& At) {
        FEditMemo = Memo2; // its entries act on this box, wherever the focus was
        UpdateEditActions();
        mnuOutputPopup->popup(Memo2->mapToGlobal(At));
    });
}

void TMainForm::CreateToolBar() {
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setIconSize(QSize(48, 48));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    addToolBar(Qt::TopToolBarArea, ToolBar1);
    for (const TActionId Id : ToolBarActions) {
        QAction* A = Action(Id);
        ToolBar1->addAction(A);
        if (QWidget* Button = ToolBar1->widgetForAction(A)) Button->setFixedSize(55, 54);
    }
}

bool TMainForm::MenuClaims(QKeyEvent& Key) const {
    return KeyToShortCut(Key.keyCombination()) == MenuFunctionKey && !mnuMain->isHidden() &&
           Action(aiToolsInsertFunction)->isEnabled();
}
