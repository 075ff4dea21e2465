// Reuse of results: the value of an output line copied, or inserted into the
// input; and the last run exported as a table.
#include "Main.h"

#include "Export.h"
#include "FormatPanel.h"

#include "Memo.h"
#include "Parse.Infix.h"
#include "Results.h"
#include "StatusBar.h"
#include "Utils.h"

#include <QClipboard>
#include <QDateTime>
#include <QFileDialog>
#include <QGuiApplication>
#include <QTextBlock>

// From the output box, the line at its caret; from the input box, the last
// value the output holds, which is the one a user most often wants next.
std::optional<QString> TMainForm::ChosenResult() {
    const std::vector<TStatementRange>& Ranges = FParser->StatementRanges();
    std::optional<QString> Value;
    if (FEditMemo == Memo2) {
        const QTextBlock Line = Memo2->textCursor().block();
        Value = ResultValue(Line.text(), LineKind(Ranges, Line.blockNumber()));
        if (!Value) StatusBar->SetPanelText(0, QStringLiteral("The line at the caret holds no value"));
    } else {
        const QTextDocument* Doc = Memo2->document();
        const int Count = Doc->isEmpty() ? 0 : Doc->blockCount();
        Value = LastResultValue(
            Count, [Doc](int I) { return Doc->findBlockByNumber(I).text(); }, Ranges);
        if (!Value) StatusBar->SetPanelText(0, QStringLiteral("The output holds no value"));
    }
    return Value;
}

void TMainForm::EditCopyResult() {
    if (const auto Value = ChosenResult()) {
        QGuiApplication::clipboard()->setText(*Value);
        StatusBar->SetPanelText(0, QStringLiteral("Copied %1").arg(*Value));
    }
}

// One edit of the box, so one step of the history.
void TMainForm::EditInsertResult() {
    const auto Value = ChosenResult();
    if (!Value) return;
    QTextCursor Cursor = Memo1->textCursor();
    Cursor.beginEditBlock();
    Cursor.insertText(*Value);
    Cursor.endEditBlock();
    Memo1->setTextCursor(Cursor);
    Memo1->setFocus();
    Memo1->ensureCursorVisible();
}

namespace {

QString Slice(const std::u16string& Text, std::int32_t First, std::int32_t Last) {
    return QString::fromStdU16String(Text.substr(First, Last - First));
}

// The comment without its "//" and the blanks after it.
QString CommentText(const std::u16string& Text, const TStatementRange& R) {
    if (R.CommentFirst < 0) return {};
    return Slice(Text, R.CommentFirst, R.CommentLast).mid(2).trimmed();
}

// The chosen file, or an empty text when the dialog was cancelled.
QString ChooseExportFile(QWidget* Owner) {
    QFileDialog Dialog(Owner, QStringLiteral("Export"));
    Dialog.setAcceptMode(QFileDialog::AcceptSave);
    Dialog.setFileMode(QFileDialog::AnyFile);
    Dialog.setDefaultSuffix(QStringLiteral("md"));
    Dialog.setNameFilters({QStringLiteral("Markdown table (*.md)"),
                           QStringLiteral("HTML page (*.html *.htm)"), QStringLiteral("CSV table (*.csv)")});
    if (Dialog.exec() != QDialog::Accepted || Dialog.selectedFiles().isEmpty()) return {};
    return Dialog.selectedFiles().first();
}
} // namespace

// The rows are the last run's, cut from the text that ran, whatever the input
// box holds now. A statement that wrote a value and then failed gives two rows.
std::vector<TExportRow> TMainForm::ExportRows() const {
    const std::u16string& Text = FParser->Tokenizer().Expression();
    const TStrings& Lines = FParser->Output().Strings();
    std::vector<TExportRow> Rows;
    Rows.reserve(FParser->StatementRanges().size());
    for (const TStatementRange& R : FParser->StatementRanges()) {
        if (R.LineIndex >= Lines.Count()) break;
        const QString Line = QString::fromStdU16String(Lines.Get(R.LineIndex));
        Rows.push_back(
            {Slice(Text, R.First, R.Last), ResultValue(Line, R.Kind).value_or(Line), CommentText(Text, R)});
    }
    return Rows;
}

void TMainForm::FileExport() {
    const QString FileName = ChooseExportFile(this);
    if (!FileName.isEmpty()) ExportTo(FileName);
}

void TMainForm::ExportTo(const QString& FileName) {
    const TExportHeader Header{QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")),
                               FormatName(FParser->NumberFormat()),
                               FParser->Precision()};
    try {
        const auto Format = ExportFormatOf(FileName);
        if (!Format)
            throw EFileError(QStringLiteral("Cannot export to '%1': the name must end in .md, .html or .csv")
                                 .arg(FileName)
                                 .toStdString());
        WriteFileAtomically(FileName, RenderExport(*Format, Header, ExportRows()).toUtf8());
    } catch (const std::exception& E) {
        WarningBox(QStringLiteral("%s"), {QString::fromUtf8(E.what())});
    }
}
