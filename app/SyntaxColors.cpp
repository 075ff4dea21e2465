#include "SyntaxColors.h"

#include "Memo.h"

#include <QPlainTextEdit>
#include <QTextBlock>

#include <algorithm>
#include <cmath>

namespace {
constexpr double WantedContrast = 4.5; // the usual minimum for text
constexpr double LightnessStep = 0.02;

// Hue in degrees and saturation of each class that has a colour of its own;
// a negative hue keeps the user's text colour. ORDER TSyntaxClass
struct THue {
    double Hue;
    double Saturation;
};
constexpr THue Hues[] = {
    {28, 0.8},   // number
    {275, 0.6},  // variable
    {215, 0.8},  // built-in
    {175, 0.8},  // user function
    {320, 0.7},  // undefined
    {-1, 0},     // operator
    {-1, 0},     // bracket
    {120, 0.45}, // comment
    {0, 0.85},   // error
};
static_assert(std::size(Hues) == syCount);

double Linear(double V) {
    return V <= 0.04045 ? V / 12.92 : std::pow((V + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor& C) {
    return 0.2126 * Linear(C.redF()) + 0.7152 * Linear(C.greenF()) + 0.0722 * Linear(C.blueF());
}

// The hue at the first lightness, going away from Back, that reaches Target.
QColor HueOn(const THue& H, const QColor& Back, double Target) {
    const bool Lighter = ContrastRatio(Qt::white, Back) > ContrastRatio(Qt::black, Back);
    double L = Lighter ? 0.65 : 0.35;
    QColor C = QColor::fromHslF(static_cast<float>(H.Hue / 360), static_cast<float>(H.Saturation), static_cast<float>(L));
    while (ContrastRatio(C, Back) < Target && L > 0 && L < 1) {
        L = std::clamp(L + (Lighter ? LightnessStep : -LightnessStep), 0.0, 1.0);
        C = QColor::fromHslF(static_cast<float>(H.Hue / 360), static_cast<float>(H.Saturation), static_cast<float>(L));
    }
    return C;
}

// The rows of a block: a Shift+Enter line break inside it starts a new one.
template <typename F>
void ForEachRow(const QString& Text, F&& Row) {
    qsizetype From = 0;
    for (;;) {
        const qsizetype To = Text.indexOf(QChar::LineSeparator, From);
        const qsizetype End = To < 0 ? Text.size() : To;
        Row(std::u16string_view(reinterpret_cast<const char16_t*>(Text.utf16()) + From, End - From),
            static_cast<int>(From));
        if (To < 0) return;
        From = To + 1;
    }
}
} // namespace

QColor Blend(const QColor& A, const QColor& B, double Share) {
    const auto Mix = [Share](double X, double Y) { return X + (Y - X) * Share; };
    return QColor::fromRgbF(static_cast<float>(Mix(A.redF(), B.redF())), static_cast<float>(Mix(A.greenF(), B.greenF())),
                            static_cast<float>(Mix(A.blueF(), B.blueF())));
}

double ContrastRatio(const QColor& A, const QColor& B) {
    const double LA = Luminance(A), LB = Luminance(B);
    return (std::max(LA, LB) + 0.05) / (std::min(LA, LB) + 0.05);
}

TSyntaxPalette DerivePalette(const QColor& Text, const QColor& Back) {
    const double Target = std::min(WantedContrast, ContrastRatio(Text, Back));
    TSyntaxPalette P;
    for (int Class = 0; Class < syCount; ++Class)
        P.Colors[Class] = Hues[Class].Hue < 0 ? Text : HueOn(Hues[Class], Back, Target);
    P.BracketBack = Blend(Back, P.Colors[syBuiltin], 0.25);
    P.UnmatchedBack = Blend(Back, P.Colors[syError], 0.35);
    return P;
}

TSyntaxColorer::TSyntaxColorer(QPlainTextEdit& Box, const TSymbols& Symbols)
    : QSyntaxHighlighter(Box.document()), FBox(Box), FSymbols(Symbols), FHighlighter(FSymbols) {
    SetColors(Box.palette().color(QPalette::Text), Box.palette().color(QPalette::Base));
    connect(&Box, &QPlainTextEdit::cursorPositionChanged, this, &TSyntaxColorer::MarkBracket);
}

void TSyntaxColorer::SetEnabled(bool Value) {
    if (Value == FEnabled) return;
    FEnabled = Value;
    Recolour();
    MarkBracket();
}

void TSyntaxColorer::SetNames(TNameClasses Names) {
    if (Names == FNames) return;
    FNames = std::move(Names);
    if (FEnabled) Recolour();
}

void TSyntaxColorer::SetColors(const QColor& Text, const QColor& Back) {
    FPalette = DerivePalette(Text, Back);
    for (int Class = 0; Class < syCount; ++Class) {
        QTextCharFormat& F = FFormats[Class];
        F = {};
        F.setForeground(FPalette.Colors[Class]);
    }
    FFormats[syComment].setFontItalic(true);
    FFormats[syError].setUnderlineStyle(QTextCharFormat::WaveUnderline);
    FFormats[syError].setUnderlineColor(FPalette.Colors[syError]);
    if (FEnabled) Recolour();
    MarkBracket();
}

// Re-colouring is no edit. With its undo stack off, a document counts any
// change as a modification and reports it; those who watch the text for edits
// (the history, the auto-save, the error mark) must not hear of this one.
void TSyntaxColorer::Recolour() {
    QTextDocument* Doc = document();
    const bool Modified = Doc->isModified();
    {
        const QSignalBlocker Quiet(Doc);
        rehighlight();
    }
    Doc->setModified(Modified);
}

void TSyntaxColorer::highlightBlock(const QString& Text) {
    if (!FEnabled) return;
    ForEachRow(Text, [this](std::u16string_view Row, int From) {
        for (const TSyntaxSpan& S : FHighlighter.Spans(Row, FNames))
            setFormat(From + S.Start, S.Length, FFormats[S.Class]);
    });
}

// Only a caret next to a bracket character costs a scan of its row.
void TSyntaxColorer::MarkBracket() {
    QList<QTextEdit::ExtraSelection> Marks;
    const QTextCursor Caret = FBox.textCursor();
    const QTextBlock Block = Caret.block();
    const QString Text = Block.text();
    const int At = Caret.positionInBlock();
    const auto IsBracket = [&](int I) {
        return I >= 0 && I < Text.size() &&
               (FSymbols.IsLeftBracket(Text[I].unicode()) || FSymbols.IsRightBracket(Text[I].unicode()));
    };
    if (FEnabled && !Caret.hasSelection() && (IsBracket(At) || IsBracket(At - 1))) {
        ForEachRow(Text, [&](std::u16string_view Row, int From) {
            if (At < From || At > From + static_cast<int>(Row.size())) return;
            const auto Pair = FHighlighter.MatchBracket(Row, At - From);
            if (!Pair) return;
            const bool Matched = Pair->Left >= 0 && Pair->Right >= 0;
            for (const int Pos : {Pair->Left, Pair->Right}) {
                if (Pos < 0) continue;
                QTextEdit::ExtraSelection Mark;
                Mark.cursor = QTextCursor(Block);
                Mark.cursor.setPosition(Block.position() + From + Pos);
                Mark.cursor.setPosition(Block.position() + From + Pos + 1, QTextCursor::KeepAnchor);
                Mark.format.setBackground(Matched ? FPalette.BracketBack : FPalette.UnmatchedBack);
                Marks.append(Mark);
            }
        });
    }
    SetSelectionLayer(FBox, slBracket, Marks);
}
