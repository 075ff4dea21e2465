// A status bar of fixed panels, each a width and a text, drawn side by side
// from the left. The main window sizes the panels; the bar only draws them.
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

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* Event) override;

  private:
    struct TPanel {
        int Width;
        QString Text;
    };
    std::vector<TPanel> FPanels;
};
