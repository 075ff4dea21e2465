// Labels that react to the mouse: THotTrackLabel swaps to a hover font and
// background while the pointer is over it; TUrlLabel is a link that opens its
// address through the desktop and offers to open or copy it from a popup menu.
#pragma once
#include <QColor>
#include <QFont>
#include <QLabel>

class QMenu;

class THotTrackLabel : public QLabel {
    Q_OBJECT
  public:
    explicit THotTrackLabel(QWidget* Parent = nullptr);

    // The colour of a font is its text colour; setting copies the given values.
    const QFont& HoverFont() const { return FHoverFont; }
    QColor HoverFontColor() const { return FHoverFontColor; }
    void SetHoverFont(const QFont& Font, const QColor& Color);
    const QFont& NormalFont() const { return FNormalFont; }
    QColor NormalFontColor() const { return FNormalFontColor; }
    void SetNormalFont(const QFont& Font, const QColor& Color);
    QColor HoverColor() const { return FHoverColor; }
    void SetHoverColor(const QColor& Color) { FHoverColor = Color; }
    QColor NormalColor() const { return FNormalColor; }
    void SetNormalColor(const QColor& Color) { FNormalColor = Color; }

  protected:
    void enterEvent(QEnterEvent* Event) override;
    void leaveEvent(QEvent* Event) override;

  private:
    void Show(const QFont& Font, const QColor& FontColor, const QColor& Back);

    QFont FHoverFont;
    QFont FNormalFont;
    QColor FHoverFontColor;
    QColor FNormalFontColor;
    QColor FHoverColor;
    QColor FNormalColor;
};

class TUrlLabel : public THotTrackLabel {
    Q_OBJECT
  public:
    explicit TUrlLabel(QWidget* Parent = nullptr);

    const QString& URL() const { return FURL; }
    // Also the label's hint; a non-empty address shows a hand cursor.
    void SetURL(const QString& Value);
    void SetCaptionAndURL(const QString& Text);
    QMenu& PopupMenu() const { return *FPopup; }

  signals:
    void Clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* Event) override;

  private:
    void Click();

    QString FURL;
    QMenu* FPopup; // owned by the label as its child
};
