#include "MiscLabels.h"

#include "Utils.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMouseEvent>

THotTrackLabel::THotTrackLabel(QWidget* Parent) : QLabel(Parent) {
    setAutoFillBackground(true);
    FNormalFont = font();
    FNormalFontColor = QColor(0, 0, 255);
    FHoverFont = font();
    FHoverFontColor = QColor(255, 0, 0);
    FNormalColor = FHoverColor = QApplication::palette().color(QPalette::Button);
    Show(FNormalFont, FNormalFontColor, FNormalColor);
}

void THotTrackLabel::SetHoverFont(const QFont& Font, const QColor& Color) {
    FHoverFont = Font;
    FHoverFontColor = Color;
}

void THotTrackLabel::SetNormalFont(const QFont& Font, const QColor& Color) {
    FNormalFont = Font;
    FNormalFontColor = Color;
    if (!underMouse()) Show(FNormalFont, FNormalFontColor, FNormalColor);
}

void THotTrackLabel::enterEvent(QEnterEvent* Event) {
    Show(FHoverFont, FHoverFontColor, FHoverColor);
    QLabel::enterEvent(Event);
}

void THotTrackLabel::leaveEvent(QEvent* Event) {
    Show(FNormalFont, FNormalFontColor, FNormalColor);
    QLabel::leaveEvent(Event);
}

void THotTrackLabel::Show(const QFont& Font, const QColor& FontColor, const QColor& Back) {
    setFont(Font);
    QPalette P = palette();
    P.setColor(QPalette::WindowText, FontColor);
    if (P.color(QPalette::Window) != Back) P.setColor(QPalette::Window, Back);
    setPalette(P);
}

TUrlLabel::TUrlLabel(QWidget* Parent) : THotTrackLabel(Parent), FPopup(new QMenu(this)) {
    QFont Hover = HoverFont();
    Hover.setBold(false);
    Hover.setItalic(false);
    Hover.setStrikeOut(false);
    Hover.setUnderline(true);
    SetHoverFont(Hover, HoverFontColor());
    FPopup->addAction(QStringLiteral("Open URL"), this, &TUrlLabel::Click);
    FPopup->addAction(QStringLiteral("Copy URL"), this, [this] { QApplication::clipboard()->setText(FURL); });
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& At) { FPopup->popup(mapToGlobal(At)); });
}

void TUrlLabel::SetURL(const QString& Value) {
    FURL = Value;
    setToolTip(Value);
    if (Value.isEmpty())
        unsetCursor();
    else
        setCursor(Qt::PointingHandCursor);
}

void TUrlLabel::SetCaptionAndURL(const QString& Text) {
    setText(Text);
    SetURL(Text);
}

void TUrlLabel::mouseReleaseEvent(QMouseEvent* Event) {
    QLabel::mouseReleaseEvent(Event);
    if (Event->button() == Qt::LeftButton && rect().contains(Event->position().toPoint())) Click();
}

void TUrlLabel::Click() {
    if (!FURL.isEmpty()) OpenDocument(FURL);
    emit Clicked();
}
