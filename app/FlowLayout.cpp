#include "FlowLayout.h"

#include <QWidget>

TFlowLayout::TFlowLayout(QWidget* Parent) : QLayout(Parent) {
    setContentsMargins(0, 0, 0, 0);
}

TFlowLayout::~TFlowLayout() {
    while (QLayoutItem* Item = takeAt(0))
        delete Item; // layout items are not QObjects; the layout owns them
}

void TFlowLayout::SetItemMargins(const QMargins& Value) {
    FItemMargins = Value;
    invalidate();
}

void TFlowLayout::addItem(QLayoutItem* Item) {
    FItems.append(Item);
    invalidate();
}

QLayoutItem* TFlowLayout::itemAt(int Index) const {
    return Index >= 0 && Index < FItems.size() ? FItems[Index] : nullptr;
}

QLayoutItem* TFlowLayout::takeAt(int Index) {
    if (Index < 0 || Index >= FItems.size()) return nullptr;
    QLayoutItem* Item = FItems.takeAt(Index);
    invalidate();
    return Item;
}

int TFlowLayout::heightForWidth(int Width) const {
    return Arrange(QRect(0, 0, Width, 0), false);
}

// As wide as the widest item, so that every item fits in a row of its own.
QSize TFlowLayout::minimumSize() const {
    QSize Size;
    for (const QLayoutItem* Item : FItems)
        Size = Size.expandedTo(Item->sizeHint().grownBy(FItemMargins));
    const QMargins M = contentsMargins();
    return Size + QSize(M.left() + M.right(), M.top() + M.bottom());
}

QSize TFlowLayout::sizeHint() const {
    return minimumSize();
}

void TFlowLayout::setGeometry(const QRect& Rect) {
    QLayout::setGeometry(Rect);
    Arrange(Rect, true);
}

int TFlowLayout::Arrange(const QRect& Rect, bool Apply) const {
    const QRect Area = Rect.marginsRemoved(contentsMargins());
    int X = Area.x();
    int Y = Area.y();
    int RowHeight = 0;
    for (QLayoutItem* Item : FItems) {
        if (Item->isEmpty()) continue; // hidden widgets take no room
        const QSize Cell = Item->sizeHint().grownBy(FItemMargins);
        if (X > Area.x() && X + Cell.width() > Area.right() + 1) {
            X = Area.x();
            Y += RowHeight;
            RowHeight = 0;
        }
        if (Apply) Item->setGeometry(QRect(QPoint(X, Y), Cell).marginsRemoved(FItemMargins));
        X += Cell.width();
        RowHeight = qMax(RowHeight, Cell.height());
    }
    return Y + RowHeight - Rect.y() + contentsMargins().bottom();
}
