// Sizing and moving a window that shows no title bar. Without a title the
// window manager draws no border either, so the window keeps a thin border of
// its own: a drag on it sizes the window, and a drag on a handle (the tool bar
// or the status bar, say) moves it. The window manager does the sizing and
// moving; this only starts them. Whether the title bar shows is the window's
// business: it switches the grip on and off.
#pragma once
#include <QObject>
#include <QPoint>
#include <QSize>

class QWidget;

// The edges a press at At sizes in a window of Size with a border Border
// pixels wide; corners reach further along the edges. None inside the border.
Qt::Edges GripEdges(const QSize& Size, const QPoint& At, int Border);

class TFrameGrip : public QObject {
    Q_OBJECT
  public:
    static constexpr int Border = 4; // pixels

    explicit TFrameGrip(QWidget& Window); // a child of Window
    // A press on Handle (not on its children that take the press) moves the window.
    void AddHandle(QWidget& Handle);
    bool Enabled() const { return FEnabled; }
    // Shows the border and lets it and the handles size and move the window.
    void SetEnabled(bool Value);

  protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

  private:
    bool WindowEvent(QEvent& Event);

    QWidget& FWindow;
    bool FEnabled = false;
};
