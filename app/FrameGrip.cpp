#include "FrameGrip.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <QWindow>

namespace {
constexpr int CornerReach = 16; // pixels along an edge that size both ways

Qt::CursorShape CursorFor(Qt::Edges Edges) {
    const bool Horizontal = Edges & (Qt::LeftEdge | Qt::RightEdge);
    const bool Vertical = Edges & (Qt::TopEdge | Qt::BottomEdge);
    if (Horizontal && Vertical)
        return (Edges == (Qt::TopEdge | Qt::LeftEdge) || Edges == (Qt::BottomEdge | Qt::RightEdge))
                   ? Qt::SizeFDiagCursor
                   : Qt::SizeBDiagCursor;
    if (Horizontal) return Qt::SizeHorCursor;
    if (Vertical) return Qt::SizeVerCursor;
    return Qt::ArrowCursor;
}
} // namespace

Qt::Edges GripEdges(const QSize& Size, const QPoint& At, int Border) {
    if (!QRect(QPoint(0, 0), Size).contains(At)) return {};
    const bool Left = At.x() < Border, Right = At.x() >= Size.width() - Border;
    const bool Top = At.y() < Border, Bottom = At.y() >= Size.height() - Border;
    if (!(Left || Right || Top || Bottom)) return {};
    Qt::Edges Edges;
    if (Left || ((Top || Bottom) && At.x() < CornerReach)) Edges |= Qt::LeftEdge;
    if (Right || ((Top || Bottom) && At.x() >= Size.width() - CornerReach)) Edges |= Qt::RightEdge;
    if (Top || ((Left || Right) && At.y() < CornerReach)) Edges |= Qt::TopEdge;
    if (Bottom || ((Left || Right) && At.y() >= Size.height() - CornerReach)) Edges |= Qt::BottomEdge;
    return Edges;
}

TFrameGrip::TFrameGrip(QWidget& Window) : QObject(&Window), FWindow(Window) {
    Window.installEventFilter(this);
}

void TFrameGrip::AddHandle(QWidget& Handle) {
    Handle.installEventFilter(this);
}

void TFrameGrip::SetEnabled(bool Value) {
    FEnabled = Value;
    const int B = Value ? Border : 0;
    FWindow.setContentsMargins(B, B, B, B);
    FWindow.setMouseTracking(Value);
    if (!Value) FWindow.unsetCursor();
    FWindow.update();
}

bool TFrameGrip::eventFilter(QObject* Watched, QEvent* Event) {
    if (!FEnabled) return false;
    if (Watched == &FWindow) return WindowEvent(*Event);
    if (Event->type() == QEvent::MouseButtonPress) {
        const auto& Mouse = static_cast<QMouseEvent&>(*Event);
        QWindow* Native = FWindow.windowHandle();
        if (Mouse.button() == Qt::LeftButton && Native && Native->startSystemMove()) return true;
    }
    return false;
}

bool TFrameGrip::WindowEvent(QEvent& Event) {
    switch (Event.type()) {
    case QEvent::Paint: {
        // Under the window's own painting, which leaves the margins alone.
        QPainter P(&FWindow);
        P.setPen(QPen(FWindow.palette().color(QPalette::Dark), 1));
        P.setBrush(FWindow.palette().color(QPalette::Window));
        P.drawRect(FWindow.rect().adjusted(0, 0, -1, -1));
        return false;
    }
    case QEvent::MouseMove: {
        const auto& Mouse = static_cast<QMouseEvent&>(Event);
        if (Mouse.buttons() == Qt::NoButton)
            FWindow.setCursor(CursorFor(GripEdges(FWindow.size(), Mouse.position().toPoint(), Border)));
        return false;
    }
    case QEvent::MouseButtonPress: {
        const auto& Mouse = static_cast<QMouseEvent&>(Event);
        const Qt::Edges Edges = GripEdges(FWindow.size(), Mouse.position().toPoint(), Border);
        QWindow* Native = FWindow.windowHandle();
        return Mouse.button() == Qt::LeftButton && Edges && Native && Native->startSystemResize(Edges);
    }
    case QEvent::Leave: FWindow.unsetCursor(); return false;
    default: return false;
    }
}
