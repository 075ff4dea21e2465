// The base of the calculator's main window: a main window with switches for its
// title bar and for staying above other windows, a signal after every move and
// after a double click on its frame, and a Movable switch. The switches are the
// window's own state (read from and written to the window itself); the
// platform work is done by the helpers of unit Platform.
#pragma once
#include <QMainWindow>

class TFormEx : public QMainWindow {
    Q_OBJECT
  public:
    explicit TFormEx(QWidget* Parent = nullptr);

    bool CaptionVisible() const;
    // Nothing happens for a frameless window. Position and size stay.
    void SetCaptionVisible(bool Value);
    bool TopMost() const;
    void SetTopMost(bool Value);
    // When false, the title bar and the sizing borders no longer move or size the
    // window. On Windows the frame reports "nowhere" to the pointer; on X11 the
    // window manager owns the frame, so there the size is locked but a drag
    // cannot be refused.
    bool Movable() const { return FMovable; }
    void SetMovable(bool Value);

  signals:
    void Moved();         // OnMove
    void NclDblClicked(); // OnNclDblClick: only Windows reports clicks on the frame

  protected:
    void moveEvent(QMoveEvent* Event) override;
    bool nativeEvent(const QByteArray& EventType, void* Message, qintptr* Result) override;

  private:
    bool FMovable = true;
    QSize FFreeMinimum; // the size limits while movable
    QSize FFreeMaximum;
};
