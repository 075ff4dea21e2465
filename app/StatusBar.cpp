#include "StatusBar.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

TStatusBar::TStatusBar(std::vector<int> PanelWidths, QWidget* Parent) : QStatusBar(Parent) {
    setSizeGripEnabled(false);
    for (int W : PanelWidths)
        FPanels.push_back({W, {}});
}

void TStatusBar::SetPanelText(int Index, const QString& Text) {
    if (FPanels[Index].Text == Text) return;
    FPanels[Index].Text = Text;
    update();
}

void TStatusBar::SetPanelWidth(int Index, int Width) {
    FPanels[Index].Width = qMax(0, Width);
    update();
}

QRect TStatusBar::PanelRect(int Index) const {
    int X = 0;
    for (int I = 0; I < Index; ++I)
        X += FPanels[I].Width;
    return {X, 0, FPanels[Index].Width, height()};
}

void TStatusBar::mouseReleaseEvent(QMouseEvent* Event) {
    QStatusBar::mouseReleaseEvent(Event);
    if (Event->button() != Qt::LeftButton) return;
    for (int I = 0; I < PanelCount(); ++I)
        if (PanelRect(I).contains(Event->position().toPoint())) emit PanelClicked(I);
}

QSize TStatusBar::sizeHint() const {
    return {0, qMax(19, fontMetrics().height() + 6)};
}

QSize TStatusBar::minimumSizeHint() const {
    return sizeHint();
}

void TStatusBar::paintEvent(QPaintEvent*) {
    QPainter P(this);
    for (int I = 0; I < PanelCount(); ++I) {
        const TPanel& Panel = FPanels[I];
        const QRect R = PanelRect(I);
        QStyleOptionFrame Frame;
        Frame.initFrom(this);
        Frame.rect = R.adjusted(1, 1, -1, -1);
        Frame.frameShape = QFrame::Panel;
        Frame.state |= QStyle::State_Sunken;
        Frame.lineWidth = 1;
        style()->drawPrimitive(QStyle::PE_Frame, &Frame, &P, this);
        P.setPen(palette().color(QPalette::WindowText));
        const QRect TextRect = R.adjusted(5, 0, -4, 0);
        P.drawText(TextRect, Qt::AlignLeft | Qt::AlignVCenter,
                   fontMetrics().elidedText(Panel.Text, Qt::ElideRight, TextRect.width()));
    }
}
