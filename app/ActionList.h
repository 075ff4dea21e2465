// The main window's commands in one ordered list: each action with its
// category, its shortcut code (see ShortCut.h) and the code it was added with,
// its default. Setting a shortcut binds the action's keys at once. ChangeMark
// starts at 0; the hotkeys editor sets it to 1 after an assignment or a reset,
// and only then are the shortcuts written to the settings.
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

    // The action stays owned by its Qt parent; ShortCut becomes its default too.
    void Add(QAction* Action, const QString& Category, TShortCut ShortCut);
    int Count() const { return static_cast<int>(FItems.size()); }
    QAction* Action(int Index) const { return FItems[Index].Action; }
    QString Name(int Index) const;
    const QString& Category(int Index) const { return FItems[Index].Category; }
    TShortCut ShortCut(int Index) const { return FItems[Index].ShortCut; }
    void SetShortCut(int Index, TShortCut Code);
    TShortCut DefaultShortCut(int Index) const { return FItems[Index].DefaultShortCut; }
    void ResetShortCuts(); // every action back to its default; the change mark is the caller's
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
        TShortCut DefaultShortCut;
    };
    std::vector<TItem> FItems;
    int FChangeMark = 0;
};
