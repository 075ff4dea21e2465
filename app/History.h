// The undo/redo store of the input box: whole snapshots of the text, oldest
// first, with the position of the one the box shows. It knows nothing of the
// box; the main window decides when a change is worth a snapshot.
#pragma once
#include <QString>
#include <QStringList>
#include <QStringView>

class THistory {
  public:
    explicit THistory(const QString& InitText);

    // Drops the redo entries (or, when the list is full, the oldest snapshot)
    // and makes Text the current snapshot. Equal texts are recorded all the same.
    void Add(const QString& Text);
    bool CanUndo() const { return FIndex > 0; }
    bool CanRedo() const { return FIndex < FStrings.size() - 1; }
    // Callers check CanUndo/CanRedo first.
    QString Undo();
    QString Redo();

    qsizetype Count() const { return FStrings.size(); }
    qsizetype Index() const { return FIndex; }
    qsizetype Capacity() const { return FCapacity; }

  private:
    QStringList FStrings;
    qsizetype FIndex = 0;
    qsizetype FCapacity = 100;
};

// Where the caret goes when Old is replaced by New: behind the part of New
// that differs from Old (the common start and end left out).
qsizetype ChangeEnd(QStringView Old, QStringView New);
