#include "StatusBar.h"

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

QSize TStatusBar::sizeHint() const {
    return {0, qMax(19, fontMetrics().height() + 6)};
}

QSize TStatusBar::minimumSizeHint() const {
    return sizeHint();
}

void TStatusBar::paintEvent(QPaintEvent*) {
    QPainter P(this);
    int X = 0;
    for (const TPanel& Panel : FPanels) {
        const QRect R(X, 0, Panel.Width, height());
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
        X += Panel.Width;
    }
}
