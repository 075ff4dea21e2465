#include "Memo.h"

#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextBlock>

#include <algorithm>
#include <array>

namespace {
// Every layer's selections of one box, kept as a child of the box.
class TSelectionLayers : public QObject {
  public:
    using QObject::QObject;
    std::array<QList<QTextEdit::ExtraSelection>, slCount> Layers;
};
} // namespace

void SetSelectionLayer(QPlainTextEdit& Box, TSelectionLayer Layer, const QList<QTextEdit::ExtraSelection>& Selections) {
    TSelectionLayers* Kept = nullptr;
    for (QObject* Child : Box.children())
        if ((Kept = dynamic_cast<TSelectionLayers*>(Child))) break;
    if (!Kept) {
        if (Selections.isEmpty()) return;
        Kept = new TSelectionLayers(&Box);
    }
    Kept->Layers[Layer] = Selections;
    QList<QTextEdit::ExtraSelection> All;
    for (const auto& L : Kept->Layers)
        All.append(L);
    Box.setExtraSelections(All);
}

TMemo::TMemo(QWidget* Parent) : QPlainTextEdit(Parent) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setAutoFillBackground(true); // fills the margins outside the viewport
}

void TMemo::insertFromMimeData(const QMimeData* Source) {
    if (!FInsertFilter || !Source || !Source->hasText()) {
        QPlainTextEdit::insertFromMimeData(Source);
        return;
    }
    // Only the text goes on: other formats would carry the unfiltered content.
    QMimeData Filtered;
    Filtered.setText(FInsertFilter(Source->text()));
    QPlainTextEdit::insertFromMimeData(&Filtered); // one change, selection and all
}

void TMemo::SetMargins(int Left, int Right) {
    setViewportMargins(Left, 0, Right, 0);
}

QColor TMemo::FontColor() const {
    return palette().color(QPalette::Text);
}

void TMemo::SetFontColor(const QColor& Color) {
    QPalette P = palette();
    for (auto Group : {QPalette::Active, QPalette::Inactive})
        P.setColor(Group, QPalette::Text, Color);
    setPalette(P);
}

QColor TMemo::BackColor() const {
    return palette().color(QPalette::Base);
}

void TMemo::SetBackColor(const QColor& Color) {
    QPalette P = palette();
    for (auto Group : {QPalette::Active, QPalette::Inactive}) {
        P.setColor(Group, QPalette::Base, Color);
        P.setColor(Group, QPalette::Window, Color);
    }
    setPalette(P);
}

namespace {
// The characters toPlainText turns into a line break or a space.
void PlainCharacters(QString& S) {
    for (QChar& C : S) {
        switch (C.unicode()) {
        case 0xFDD0: // the start and end marks of a frame
        case 0xFDD1:
        case QChar::ParagraphSeparator:
        case QChar::LineSeparator: C = u'\n'; break;
        case QChar::Nbsp: C = u' '; break;
        default: break;
        }
    }
}
} // namespace

TTextMirror::TTextMirror(QTextDocument& Doc) : QObject(&Doc), FDoc(Doc), FText(Doc.toPlainText()) {
    connect(&Doc, &QTextDocument::contentsChange, this, &TTextMirror::ContentsChange);
}

// The document reports the range that changed; the changed part is read back
// from the document, which has already taken the change.
void TTextMirror::ContentsChange(int Position, int Removed, int Added) {
    const int Length = FDoc.characterCount() - 1; // without the end of the last block
    const int End = std::min(Position + Added, Length);
    if (Position < 0 || Position > FText.size() || Position + Removed > FText.size() ||
        FText.size() - Removed + (End - Position) != Length) {
        FText = FDoc.toPlainText();
        return;
    }
    QTextCursor Changed(&FDoc);
    Changed.setPosition(Position);
    Changed.setPosition(End, QTextCursor::KeepAnchor);
    QString Part = Changed.selectedText();
    PlainCharacters(Part);
    FText.replace(Position, Removed, Part);
}

namespace {
// How many of the box's lines a text makes: CR LF, CR and LF each end one.
std::int32_t BoxLineCount(QStringView Text) {
    std::int32_t Count = 1;
    for (qsizetype I = 0; I < Text.size(); ++I) {
        if (Text[I] == u'\n' || (Text[I] == u'\r' && (I + 1 == Text.size() || Text[I + 1] != u'\n'))) ++Count;
    }
    return Count;
}

// The box's lines a text makes.
QStringList BoxLines(const QString& Text) {
    QString Lf = Text;
    Lf.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Lf.replace(u'\r', u'\n');
    return Lf.split(u'\n');
}
} // namespace

void TMemoLines::Add(const std::u16string& Line) {
    if (FUpdates > 0) {
        if (FPendingLines > 0) FPending += u'\n';
        const qsizetype From = FPending.size();
        FPending.append(reinterpret_cast<const QChar*>(Line.data()), static_cast<qsizetype>(Line.size()));
        FPendingLines += BoxLineCount(QStringView(FPending).sliced(From));
    } else
        FMemo.appendPlainText(QString::fromStdU16String(Line));
}

void TMemoLines::Clear() {
    FPending.clear();
    FPendingLines = 0;
    if (FUpdates > 0)
        FCleared = true;
    else
        FMemo.clear();
}

void TMemoLines::Truncate(std::int32_t Count) {
    if (Count <= 0) {
        Clear();
        return;
    }
    if (Count >= MemoCount()) return;
    QTextCursor Rest(FMemo.document()->findBlockByNumber(Count - 1));
    Rest.movePosition(QTextCursor::EndOfBlock);
    Rest.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    Rest.removeSelectedText();
}

std::int32_t TMemoLines::Count() const {
    return (FCleared ? 0 : MemoCount()) + FPendingLines;
}

std::u16string TMemoLines::Get(std::int32_t Index) const {
    const std::int32_t Shown = FCleared ? 0 : MemoCount();
    if (Index < Shown) return FMemo.document()->findBlockByNumber(Index).text().toStdU16String();
    const std::int32_t Line = Index - Shown;
    if (Line >= FPendingLines) return {};
    return BoxLines(FPending)[Line].toStdU16String();
}

void TMemoLines::EndUpdate() {
    if (FUpdates == 0 || --FUpdates > 0) return;
    // The document's own setPlainText: the box's would also re-apply the
    // caret's character format to all of it, which adds a tenth to the cost.
    if (FCleared) {
        FMemo.document()->setPlainText(FPending);
        FMemo.setTextCursor(QTextCursor(FMemo.document())); // at the top, as after the box's own
    } else if (FPendingLines > 0)
        FMemo.appendPlainText(FPending);
    FCleared = false;
    FPending.clear();
    FPendingLines = 0;
}

std::int32_t TMemoLines::MemoCount() const {
    // An empty box holds one empty block, which is no line at all.
    const QTextDocument* Doc = FMemo.document();
    return Doc->isEmpty() ? 0 : Doc->blockCount();
}
