// A status bar of fixed panels, each a width and a text, drawn side by side
// from the left. The main window sizes the panels and decides what a click on
// one does; the bar only draws them and reports the click.
#pragma once
#include <QStatusBar>
#include <QString>
#include <vector>

class TStatusBar : public QStatusBar {
    Q_OBJECT
  public:
    TStatusBar(std::vector<int> PanelWidths, QWidget* Parent = nullptr);

    int PanelCount() const { return static_cast<int>(FPanels.size()); }
    QString PanelText(int Index) const { return FPanels[Index].Text; }
    void SetPanelText(int Index, const QString& Text);
    int PanelWidth(int Index) const { return FPanels[Index].Width; }
    void SetPanelWidth(int Index, int Width);
    QRect PanelRect(int Index) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  signals:
    void PanelClicked(int Index); // a left click released on the panel

  protected:
    void paintEvent(QPaintEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;

  private:
    struct TPanel {
        int Width;
        QString Text;
    };
    std::vector<TPanel> FPanels;
};
