// Syntax colours in the input box. The colours are derived from the box's own
// text and background colours (DerivePalette), so that every class keeps its
// contrast on a light and on a dark background. TSyntaxColorer colours each
// line of the box from the engine's spans (see Parse.Highlight.h) as the text
// changes, which re-colours only the lines an edit touched, and marks the
// bracket matching the one at the caret. It reads names from the snapshot it
// is given, taken after a run; it never runs anything itself.
#pragma once
#include "Parse.Highlight.h"

#include <QColor>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>

#include <array>

class QPlainTextEdit;

struct TSyntaxPalette {
    std::array<QColor, syCount> Colors; // ORDER TSyntaxClass
    QColor BracketBack;                 // behind a bracket and its partner
    QColor UnmatchedBack;               // behind a bracket without one
};

// A mixed with Share (0 to 1) of B.
QColor Blend(const QColor& A, const QColor& B, double Share);
// The WCAG contrast ratio of two colours, 1 to 21.
double ContrastRatio(const QColor& A, const QColor& B);
// Each class's colour has a contrast with Back of at least 4.5, or of the
// user's own Text colour when that is lower, as far as Back allows.
TSyntaxPalette DerivePalette(const QColor& Text, const QColor& Back);

class TSyntaxColorer : public QSyntaxHighlighter {
    Q_OBJECT
  public:
    // Box is borrowed; the colorer becomes a child of its document.
    TSyntaxColorer(QPlainTextEdit& Box, const TSymbols& Symbols);

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    // The names as they are now; the text is re-coloured only if they changed.
    void SetNames(TNameClasses Names);
    void SetColors(const QColor& Text, const QColor& Back);

  protected:
    void highlightBlock(const QString& Text) override;

  private:
    void Recolour(); // every line, as if nothing was edited
    void MarkBracket();

    QPlainTextEdit& FBox;
    const TSymbols FSymbols;
    THighlighter FHighlighter;
    TNameClasses FNames;
    TSyntaxPalette FPalette;
    std::array<QTextCharFormat, syCount> FFormats;
    bool FEnabled = true;
};
