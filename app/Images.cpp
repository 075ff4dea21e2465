#include "Images.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {
using TPainterFn = void (*)(QPainter&, qreal);

const QColor Ink(40, 60, 110);
const QColor Paper(250, 250, 245);
const QColor Accent(200, 60, 40);

QFont GlyphFont(qreal Size, bool Italic = false) {
    QFont F(QStringLiteral("DejaVu Serif"));
    F.setStyleHint(QFont::Serif);
    F.setPixelSize(qMax(1, qRound(Size)));
    F.setBold(true);
    F.setItalic(Italic);
    return F;
}

// Letters in ink with a pale outline, so they read on a light tool bar and on
// a dark one alike.
void Glyph(QPainter& P, qreal S, const QString& Text, qreal Scale, bool Italic = false) {
    const QFont Font = GlyphFont(S * Scale, Italic);
    QPainterPath Path;
    Path.addText(0, 0, Font, Text);
    const QRectF Box = Path.boundingRect();
    Path.translate(QRectF(0, 0, S, S).center() - Box.center());
    P.setPen(QPen(Paper, qMax<qreal>(1.5, S / 14), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    P.setBrush(Qt::NoBrush);
    P.drawPath(Path);
    P.fillPath(Path, Ink);
}

void Sheet(QPainter& P, QRectF R, qreal S) {
    P.setPen(QPen(Ink, qMax<qreal>(1, S / 24)));
    P.setBrush(Paper);
    P.drawRect(R);
    for (qreal Y = R.top() + R.height() * 0.3; Y < R.bottom() - R.height() * 0.15; Y += R.height() * 0.2)
        P.drawLine(QPointF(R.left() + R.width() * 0.2, Y), QPointF(R.right() - R.width() * 0.2, Y));
}

void DrawCopy(QPainter& P, qreal S) {
    Sheet(P, QRectF(S * 0.12, S * 0.1, S * 0.5, S * 0.6), S);
    Sheet(P, QRectF(S * 0.38, S * 0.3, S * 0.5, S * 0.6), S);
}

void DrawPaste(QPainter& P, qreal S) {
    P.setPen(QPen(Ink, qMax<qreal>(1, S / 24)));
    P.setBrush(QColor(190, 140, 80));
    P.drawRoundedRect(QRectF(S * 0.15, S * 0.12, S * 0.55, S * 0.78), S * 0.05, S * 0.05);
    P.setBrush(QColor(160, 160, 170));
    P.drawRect(QRectF(S * 0.3, S * 0.06, S * 0.25, S * 0.12));
    Sheet(P, QRectF(S * 0.42, S * 0.38, S * 0.46, S * 0.54), S);
}

void DrawToggle(QPainter& P, qreal S) {
    Glyph(P, S, QStringLiteral("a\u03B1"), 0.55);
}
void DrawVariable(QPainter& P, qreal S) {
    Glyph(P, S, QStringLiteral("x"), 0.8, true);
}
void DrawFunction(QPainter& P, qreal S) {
    Glyph(P, S, QStringLiteral("f()"), 0.5, true);
}

void DrawKeyboard(QPainter& P, qreal S) {
    P.setPen(QPen(Ink, qMax<qreal>(1, S / 32)));
    P.setBrush(QColor(220, 225, 235));
    P.drawRoundedRect(QRectF(S * 0.06, S * 0.22, S * 0.88, S * 0.56), S * 0.06, S * 0.06);
    P.setBrush(Paper);
    const qreal K = S * 0.16;
    for (int Row = 0; Row < 3; ++Row)
        for (int Col = 0; Col < 4; ++Col)
            P.drawRect(
                QRectF(S * 0.13 + Col * (K + S * 0.035), S * 0.27 + Row * (K - S * 0.005), K, K * 0.8));
}

void DrawMenu(QPainter& P, qreal S) {
    P.setPen(QPen(Ink, qMax<qreal>(1, S / 24)));
    P.setBrush(Paper);
    P.drawRect(QRectF(S * 0.1, S * 0.12, S * 0.8, S * 0.76));
    P.setBrush(QColor(120, 150, 210));
    P.drawRect(QRectF(S * 0.1, S * 0.12, S * 0.8, S * 0.16));
    for (int I = 0; I < 3; ++I)
        P.drawLine(QPointF(S * 0.22, S * (0.42 + I * 0.14)), QPointF(S * 0.6, S * (0.42 + I * 0.14)));
}

void DrawHelp(QPainter& P, qreal S) {
    P.setPen(Qt::NoPen);
    P.setBrush(QColor(60, 110, 200));
    P.drawEllipse(QRectF(S * 0.1, S * 0.1, S * 0.8, S * 0.8));
    P.setFont(GlyphFont(S * 0.6));
    P.setPen(Qt::white);
    P.drawText(QRectF(0, 0, S, S), Qt::AlignCenter, QStringLiteral("?"));
}

void DrawExit(QPainter& P, qreal S) {
    P.setPen(Qt::NoPen);
    P.setBrush(Accent);
    P.drawEllipse(QRectF(S * 0.1, S * 0.1, S * 0.8, S * 0.8));
    P.setPen(QPen(Qt::white, S * 0.1, Qt::SolidLine, Qt::RoundCap));
    P.drawLine(QPointF(S * 0.35, S * 0.35), QPointF(S * 0.65, S * 0.65));
    P.drawLine(QPointF(S * 0.65, S * 0.35), QPointF(S * 0.35, S * 0.65));
}

// The same picture as the installed icon, app/org.sumtra.Sumtra.svg (drawn on a 64 grid).
void DrawApp(QPainter& P, qreal S) {
    const qreal U = S / 64;
    QLinearGradient G(0, 0, 0, S);
    G.setColorAt(0, QColor(0x46, 0x6e, 0xbe));
    G.setColorAt(1, QColor(0x1e, 0x37, 0x78));
    P.setPen(Qt::NoPen);
    P.setBrush(G);
    P.drawRoundedRect(QRectF(2.5 * U, 2.5 * U, 59 * U, 59 * U), 11.5 * U, 11.5 * U);
    P.setBrush(Paper);
    P.drawRoundedRect(QRectF(9 * U, 10 * U, 46 * U, 19 * U), 3 * U, 3 * U);
    P.drawRoundedRect(QRectF(22 * U, 38 * U, 20 * U, 4.5 * U), U, U);
    P.drawRoundedRect(QRectF(22 * U, 47 * U, 20 * U, 4.5 * U), U, U);
    P.setFont(GlyphFont(14 * U, true));
    P.setPen(QColor(0x28, 0x3c, 0x6e));
    P.drawText(QRectF(9 * U, 10 * U, 43 * U, 19 * U), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("f(x)"));
}

QIcon Draw(TPainterFn Fn) {
    QIcon Icon;
    for (int Size : {16, 24, 32, 48, 64}) {
        QPixmap Pixmap(Size, Size);
        Pixmap.fill(Qt::transparent);
        QPainter P(&Pixmap);
        P.setRenderHint(QPainter::Antialiasing);
        P.setRenderHint(QPainter::TextAntialiasing);
        Fn(P, Size);
        P.end();
        Icon.addPixmap(Pixmap);
    }
    return Icon;
}

struct TActionImage {
    const char* Name;
    TPainterFn Fn;
};
constexpr TActionImage ActionImages[] = {
    {"EditCopy", DrawCopy},
    {"EditPaste", DrawPaste},
    {"FontToggleChar", DrawToggle},
    {"ToolsInsertVariable", DrawVariable},
    {"ToolsInsertFunction", DrawFunction},
    {"ToolsKeyboard", DrawKeyboard},
    {"ViewMenubar", DrawMenu},
    {"ProgramHelp", DrawHelp},
    {"ProgramExit", DrawExit},
};
} // namespace

QIcon AppIcon() {
    return Draw(DrawApp);
}

QIcon ActionIcon(const QString& ActionName) {
    for (const TActionImage& A : ActionImages)
        if (ActionName == QLatin1String(A.Name)) return Draw(A.Fn);
    return {};
}
