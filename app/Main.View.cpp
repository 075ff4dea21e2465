// The main window's View and Font commands: the window's frame, bars and
// colours, and the font of the two boxes.
#include "FontChoice.h"
#include "FrameGrip.h"
#include "Main.h"
#include "Memo.h"
#include "Settings.h"
#include "StatusBar.h"
#include "SyntaxColors.h"

#include <QAction>
#include <QColorDialog>
#include <QMenuBar>
#include <QTimer>

void TMainForm::ViewTitlebar() {
    ShowCaption(!CaptionVisible());
}

// Without its title bar the window keeps a border to size it by, and the tool
// bar and the status bar move it.
void TMainForm::ShowCaption(bool Value) {
    SetCaptionVisible(Value);
    FGrip->SetEnabled(!CaptionVisible());
}

void TMainForm::ViewMenubar() {
    mnuMain->setHidden(!mnuMain->isHidden());
    ApplyLayout();
}

void TMainForm::ViewStatusbar() {
    StatusBar->setHidden(!StatusBar->isHidden());
    ApplyLayout();
}

void TMainForm::ViewFullScreen() {
    const Qt::WindowStates State = windowState();
    if (State.testFlag(Qt::WindowMaximized))
        setWindowState(State & ~Qt::WindowMaximized);
    else
        setWindowState((State & ~Qt::WindowMinimized) | Qt::WindowMaximized);
}

void TMainForm::ViewStayOnTop() {
    SetTopMost(!TopMost());
}

void TMainForm::ViewForeColor() {
    const QColor Color = QColorDialog::getColor(Memo1->FontColor(), this, QStringLiteral("Forecolor"));
    if (Color.isValid()) ApplyColors(Color, Memo1->BackColor());
}

void TMainForm::ViewBackColor() {
    const QColor Color = QColorDialog::getColor(Memo1->BackColor(), this, QStringLiteral("Backcolor"));
    if (Color.isValid()) ApplyColors(Memo1->FontColor(), Color);
}

void TMainForm::ViewSyntaxColors() {
    FColorer->SetEnabled(!FColorer->Enabled());
}

// Switched on, the input runs at once; switched off, what is shown stays.
void TMainForm::ViewLiveResults() {
    if (Action(aiViewLiveResults)->isChecked())
        Evaluate(true);
    else
        FLiveTimer->stop();
}

// The family the boxes draw with stands in for the chosen one, which may not
// be installed: the dialog's font in that family keeps the chosen family.
void TMainForm::FontSelect() {
    const auto Apply = [this](QFont Font) {
        if (Font.family() == Memo1->font().family()) Font.setFamily(FFontFamily);
        ApplyFont(Font);
    };
    if (const std::optional<QFont> Font = ChooseFont(Memo1->font(), this, Apply)) Apply(*Font);
}

void TMainForm::FontGrow() {
    QFont Font = Memo1->font();
    Font.setPointSize(qMin(Font.pointSize() + 2, TSettings::MaxFontSize));
    Memo1->setFont(Font);
    QFont Output = Memo2->font();
    Output.setPointSize(Font.pointSize());
    Memo2->setFont(Output);
}

void TMainForm::FontShrink() {
    QFont Font = Memo1->font();
    Font.setPointSize(qMax(Font.pointSize() - 2, TSettings::MinFontSize));
    Memo1->setFont(Font);
    QFont Output = Memo2->font();
    Output.setPointSize(Font.pointSize());
    Memo2->setFont(Output);
}

void TMainForm::FontBold() {
    QFont Font = ChosenFont();
    Font.setBold(!Font.bold());
    ApplyFont(Font);
}

void TMainForm::FontItalic() {
    QFont Font = ChosenFont();
    Font.setItalic(!Font.italic());
    ApplyFont(Font);
}

void TMainForm::FontToggleChar() {
    if (!FSymbolMap || !Memo1->hasFocus()) return;
    QTextCursor Cursor = Memo1->textCursor();
    if (!Cursor.hasSelection()) {
        if (Cursor.position() == 0) return;
        Cursor.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor);
    }
    QString Text = Cursor.selectedText();
    Text.replace(QChar::ParagraphSeparator, u'\n');
    Cursor.insertText(FSymbolMap->Toggle(Text));
    Memo1->setTextCursor(Cursor);
}
