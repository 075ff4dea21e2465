// Error marks in the input box. After a run that ended with an error, the caret
// goes to the error's place and the offending token is underlined with a wavy
// red line, whose tooltip is the whole message, until the text is next edited.
// Where the place lies in the box is worked out by MarkInBox, which knows no
// widgets; TErrorMarker only draws a mark it is given. The output line and the
// status bar are left to the runner and the main window.
#pragma once
#include "Parse.Infix.h"

#include <QObject>
#include <QString>

#include <string_view>

class QPlainTextEdit;

// An error's place in the box, in the box's positions (a line break is one).
// Caret is -1 when the error names no place. The underline is Start..Start+Length;
// an error at a line break underlines the character before it, so that there is
// something to see and to hover over.
struct TErrorMark {
    int Caret = -1;
    int Start = -1;
    int Length = 0;
    bool operator==(const TErrorMark&) const = default;
};

// Program is the text the runner was given: the box's text, or its selection,
// with every line break written as CR LF. From is where that text starts in the
// box (the selection's start, or 0).
TErrorMark MarkInBox(std::u16string_view Program, TErrorSpan Span, int From);

class TErrorMarker : public QObject {
    Q_OBJECT
  public:
    explicit TErrorMarker(QPlainTextEdit& Box); // Box is borrowed and becomes the parent

    // Moves the caret to Mark.Caret (unless MoveCaret is false) and underlines
    // the mark; a mark without a place only clears the last one.
    void Show(const TErrorMark& Mark, const QString& Message, bool MoveCaret = true);
    void Clear();
    bool Shown() const { return FMark.Caret >= 0; }
    const TErrorMark& Mark() const { return FMark; }

  protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override; // the tooltip over the underline

  private:
    void ContentsChange(int Position, int Removed, int Added);

    QPlainTextEdit& FBox;
    TErrorMark FMark;
    QString FMessage;
};
