// The outer bounds (frame included) of a top-level window, as the settings
// keep them. The frame is known only once a window manager has framed the
// shown window, so bounds set before are applied at once as far as they can
// be (the frame's corner and the whole size) and again when the frame is
// known. Without a window manager there is no frame, and the outer bounds are
// the window's own. A window opened this way also never opens with its title
// bar off the screen's work area: the first framed show moves it in. What the
// bounds are, and when they are read and written, is the window's business.
#pragma once
#include "ExtIni.h"

#include <QMargins>
#include <QObject>
#include <QTimer>

#include <optional>

class QWidget;

// The frame's width on each side; null while the frame is not known.
QMargins FrameMargins(const QWidget& Window);
// The client area of a window framed by Frame whose outer bounds are Outer.
QRect ClientRect(const TRect& Outer, const QMargins& Frame);

class TWindowBounds : public QObject {
    Q_OBJECT
  public:
    explicit TWindowBounds(QWidget& Window); // a child of Window that watches its events

    // The bounds set last while they are not yet shown framed, else the
    // window's outer bounds.
    TRect Bounds() const;
    bool Pending() const { return FPending.has_value(); }
    void SetBounds(const TRect& Outer);

  protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

  private:
    void Place(const TRect& Outer);
    void Settle();
    void GiveUpOnFrame();
    void FitOnScreen();

    QWidget& FWindow;
    std::optional<TRect> FPending;
    bool FOnScreen = false; // checked since the window was last shown
    QTimer FNoFrame;        // without a window manager no frame comes
};
