#include "ExtForm.h"

#include "Platform.h"

#include <QMoveEvent>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

TFormEx::TFormEx(QWidget* Parent) : QMainWindow(Parent) {}

bool TFormEx::CaptionVisible() const {
    return ::CaptionVisible(*this);
}

void TFormEx::SetCaptionVisible(bool Value) {
    ::SetCaptionVisible(*this, Value);
}

bool TFormEx::TopMost() const {
    return ::TopMost(*this);
}

void TFormEx::SetTopMost(bool Value) {
    ::SetTopMost(*this, Value);
}

void TFormEx::SetMovable(bool Value) {
    if (FMovable == Value) return;
    FMovable = Value;
#ifndef Q_OS_WIN
    if (Value) {
        setMinimumSize(FFreeMinimum);
        setMaximumSize(FFreeMaximum);
    } else {
        FFreeMinimum = minimumSize();
        FFreeMaximum = maximumSize();
        setFixedSize(size());
    }
#endif
}

void TFormEx::moveEvent(QMoveEvent* Event) {
    QMainWindow::moveEvent(Event);
    emit Moved();
}

bool TFormEx::nativeEvent(const QByteArray& EventType, void* Message, qintptr* Result) {
#ifdef Q_OS_WIN
    if (EventType == "windows_generic_MSG") {
        const MSG* Msg = static_cast<const MSG*>(Message);
        if (Msg->message == WM_NCHITTEST && !FMovable) {
            const LRESULT Hit = DefWindowProcW(Msg->hwnd, Msg->message, Msg->wParam, Msg->lParam);
            if (Hit == HTCAPTION || (Hit >= HTLEFT && Hit <= HTBOTTOMRIGHT)) {
                *Result = HTNOWHERE;
                return true;
            }
        } else if (Msg->message == WM_NCLBUTTONDBLCLK) {
            *Result = DefWindowProcW(Msg->hwnd, Msg->message, Msg->wParam, Msg->lParam);
            emit NclDblClicked();
            return true;
        }
    }
#endif
    return QMainWindow::nativeEvent(EventType, Message, Result);
}
