#include "History.h"

THistory::THistory(const QString& InitText) : FStrings{InitText} {}

void THistory::Add(const QString& Text) {
    if (FIndex + 1 == FCapacity) {
        // The current snapshot sits in the last slot: the list is full and has
        // no redo entries, so the oldest snapshot makes room.
        FStrings.removeFirst();
    } else {
        while (FStrings.size() > FIndex + 1)
            FStrings.removeLast();
        ++FIndex;
    }
    FStrings.append(Text);
}

QString THistory::Undo() {
    --FIndex;
    return FStrings[FIndex];
}

QString THistory::Redo() {
    ++FIndex;
    return FStrings[FIndex];
}
