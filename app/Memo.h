// The calculator's multi-line text boxes, and the line list through which the
// program runner writes into the output box.
#pragma once
#include "Parse.Utils.h"

#include <QList>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTextEdit>

#include <functional>

// A plain-text box without word wrap whose left and right inner margins can be
// set in pixels. The margins are painted in the box's background colour. Text
// pasted or dropped into it can be passed through a filter; what the filter
// does is the owner's business.
class TMemo : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit TMemo(QWidget* Parent = nullptr);

    void SetMargins(int Left, int Right);
    int LeftMargin() const { return viewportMargins().left(); }
    int RightMargin() const { return viewportMargins().right(); }
    // Text colour and background colour, kept in the palette.
    QColor FontColor() const;
    void SetFontColor(const QColor& Color);
    QColor BackColor() const;
    void SetBackColor(const QColor& Color);
    // Pasted or dropped text goes in as Filter returns it, in one step of the
    // undo stack; an empty Filter lets it in as it is.
    void SetInsertFilter(std::function<QString(const QString&)> Filter) { FInsertFilter = std::move(Filter); }

  protected:
    void insertFromMimeData(const QMimeData* Source) override;

  private:
    std::function<QString(const QString&)> FInsertFilter;
};

// A box shows the extra selections of several owners at once (the matching
// bracket, an error's underline): each owner sets only its own layer.
enum TSelectionLayer { slLinked, slBracket, slError, slCount };
void SetSelectionLayer(QPlainTextEdit& Box, TSelectionLayer Layer, const QList<QTextEdit::ExtraSelection>& Selections);

// The text of a document as toPlainText gives it, kept up to date from the
// document's change reports, so that a keystroke in a long text costs a copy of
// the changed part instead of a walk over the whole document. A change it
// cannot place is made good by reading the whole text again.
class TTextMirror : public QObject {
    Q_OBJECT
  public:
    explicit TTextMirror(QTextDocument& Doc); // Doc is borrowed and becomes the parent
    const QString& Text() const { return FText; }

  private:
    void ContentsChange(int Position, int Removed, int Added);

    QTextDocument& FDoc;
    QString FText;
};

// The output box seen as a list of lines. Between BeginUpdate and EndUpdate the
// lines are collected and the box is updated once at the end, so that a run of
// many thousand lines lays the box out once, not once per line. Count and Get
// see the pending lines as well, and count them as the box will: a line with a
// line break in it (a function whose body starts on a new line) is two.
class TMemoLines : public TStrings {
  public:
    explicit TMemoLines(QPlainTextEdit& Memo) : FMemo(Memo) {} // Memo is borrowed

    void Add(const std::u16string& Line) override;
    void Clear() override;
    void Truncate(std::int32_t Count); // keeps the first Count lines
    std::int32_t Count() const override;
    std::u16string Get(std::int32_t Index) const override;
    void BeginUpdate() override { ++FUpdates; }
    void EndUpdate() override;

  private:
    std::int32_t MemoCount() const;

    QPlainTextEdit& FMemo;
    int FUpdates = 0;
    bool FCleared = false; // the box is to be emptied before the pending lines go in
    QString FPending; // the lines to come, each after a line feed but the first
    std::int32_t FPendingLines = 0; // the box's lines FPending will make: a line break inside one starts another
};
