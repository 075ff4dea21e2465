#include "ActionList.h"

#include <QAction>

void TActionList::Add(QAction* Action, const QString& Category, TShortCut ShortCut) {
    FItems.push_back({Action, Category, 0, ShortCut});
    SetShortCut(Count() - 1, ShortCut);
}

QString TActionList::Name(int Index) const {
    return FItems[Index].Action->objectName();
}

void TActionList::SetShortCut(int Index, TShortCut Code) {
    FItems[Index].ShortCut = Code;
    FItems[Index].Action->setShortcuts(ShortCutToKeys(Code));
}

void TActionList::ResetShortCuts() {
    for (int I = 0; I < Count(); ++I)
        SetShortCut(I, DefaultShortCut(I));
}

int TActionList::IndexOf(const QString& Name) const {
    for (int I = 0; I < Count(); ++I)
        if (this->Name(I) == Name) return I;
    return -1;
}

QAction* TActionList::FindEnabled(TShortCut Code) const {
    if (Code == 0) return nullptr;
    for (const TItem& Item : FItems)
        if (Item.ShortCut == Code && Item.Action->isEnabled()) return Item.Action;
    return nullptr;
}
