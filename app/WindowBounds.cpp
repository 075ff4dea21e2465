#include "WindowBounds.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>

namespace {
// A window manager frames a new window within a few event-loop rounds; a
// session without one gets its bounds as they were set.
constexpr int FrameWait = 1500; // milliseconds

bool IsNormal(const QWidget& W) {
    return !(W.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized));
}
} // namespace

QMargins FrameMargins(const QWidget& W) {
    const QRect F = W.frameGeometry();
    const QRect C = W.geometry();
    return {C.left() - F.left(), C.top() - F.top(), F.right() - C.right(), F.bottom() - C.bottom()};
}

QRect ClientRect(const TRect& Outer, const QMargins& Frame) {
    return Outer.ToQRect().marginsRemoved(Frame);
}

TWindowBounds::TWindowBounds(QWidget& Window) : QObject(&Window), FWindow(Window) {
    FNoFrame.setSingleShot(true);
    FNoFrame.setInterval(FrameWait);
    connect(&FNoFrame, &QTimer::timeout, this, &TWindowBounds::GiveUpOnFrame);
    Window.installEventFilter(this);
}

TRect TWindowBounds::Bounds() const {
    if (FPending) return *FPending;
    return TRect::FromQRect(FWindow.frameGeometry());
}

void TWindowBounds::SetBounds(const TRect& Outer) {
    FPending = Outer;
    Place(Outer);
    Settle();
}

// Moving a window places its frame's corner, so before the frame is known
// the corner is right and the client area is as large as the whole window.
void TWindowBounds::Place(const TRect& Outer) {
    const QRect Client = ClientRect(Outer, FrameMargins(FWindow));
    FWindow.resize(Client.size());
    FWindow.move(Outer.Left, Outer.Top);
}

void TWindowBounds::Settle() {
    if (!FWindow.isVisible() || !IsNormal(FWindow) || FrameMargins(FWindow).isNull()) return;
    FNoFrame.stop();
    if (FPending) {
        const TRect Outer = *FPending;
        FPending.reset();
        Place(Outer);
    }
    FitOnScreen();
}

void TWindowBounds::GiveUpOnFrame() {
    if (!FWindow.isVisible() || !IsNormal(FWindow)) return;
    FPending.reset();
    FitOnScreen();
}

// Once per show: the whole frame, title bar first, into the work area.
void TWindowBounds::FitOnScreen() {
    if (FOnScreen) return;
    FOnScreen = true;
    const QScreen* Screen = FWindow.screen();
    if (!Screen) return;
    const TRect Frame = TRect::FromQRect(FWindow.frameGeometry());
    const TRect Fitted = FitRect(Frame, TRect::FromQRect(Screen->availableGeometry()));
    if (Fitted != Frame) Place(Fitted);
}

bool TWindowBounds::eventFilter(QObject* Watched, QEvent* Event) {
    if (Watched == &FWindow) {
        switch (Event->type()) {
        case QEvent::Show:
            FOnScreen = false;
            FNoFrame.start();
            Settle();
            break;
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::WindowStateChange:
            if (!FNoFrame.isActive() && FPending && IsNormal(FWindow) && FWindow.isVisible())
                FNoFrame.start();
            Settle();
            break;
        default: break;
        }
    }
    return QObject::eventFilter(Watched, Event);
}
