// The main window's commands in one ordered list: each action with its
// category and its shortcut code (see ShortCut.h). Setting a shortcut binds the
// action's keys at once. ChangeMark starts at 0; the hotkeys editor sets it to 1
// after an assignment, and only then are the shortcuts written to the settings.
#pragma once
#include "ShortCut.h"

#include <QObject>
#include <QString>
#include <vector>

class QAction;

class TActionList : public QObject {
    Q_OBJECT
  public:
    explicit TActionList(QObject* Parent = nullptr) : QObject(Parent) {}

    // The action stays owned by its Qt parent.
    void Add(QAction* Action, const QString& Category, TShortCut ShortCut);
    int Count() const { return static_cast<int>(FItems.size()); }
    QAction* Action(int Index) const { return FItems[Index].Action; }
    QString Name(int Index) const;
    const QString& Category(int Index) const { return FItems[Index].Category; }
    TShortCut ShortCut(int Index) const { return FItems[Index].ShortCut; }
    void SetShortCut(int Index, TShortCut Code);
    int IndexOf(const QString& Name) const; // -1 when absent
    // The first enabled action whose shortcut is Code, or null.
    QAction* FindEnabled(TShortCut Code) const;

    int ChangeMark() const { return FChangeMark; }
    void SetChangeMark(int Value) { FChangeMark = Value; }

  private:
    struct TItem {
        QAction* Action;
        QString Category;
        TShortCut ShortCut;
    };
    std::vector<TItem> FItems;
    int FChangeMark = 0;
};
