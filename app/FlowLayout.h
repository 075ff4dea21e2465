// A layout that places its items left to right in rows, starting a new row when
// the next item would cross the right edge, like words in a paragraph. Every
// item keeps its size hint and gets ItemMargins around it; a row is as high as
// its highest item. The widget's height follows from its width (heightForWidth),
// so a scroll area or a window can ask how tall the rows come out.
#pragma once
#include <QLayout>
#include <QList>
#include <QMargins>

class TFlowLayout : public QLayout {
    Q_OBJECT
  public:
    explicit TFlowLayout(QWidget* Parent = nullptr);
    ~TFlowLayout() override;

    QMargins ItemMargins() const { return FItemMargins; }
    void SetItemMargins(const QMargins& Value);

    void addItem(QLayoutItem* Item) override; // takes ownership
    int count() const override { return static_cast<int>(FItems.size()); }
    QLayoutItem* itemAt(int Index) const override;
    QLayoutItem* takeAt(int Index) override;
    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int Width) const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect& Rect) override;

  private:
    // Lays the items out in Rect (moving them only when Apply) and returns the
    // height used, contents margins included.
    int Arrange(const QRect& Rect, bool Apply) const;

    QList<QLayoutItem*> FItems;
    QMargins FItemMargins;
};
