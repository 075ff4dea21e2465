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

qsizetype ChangeEnd(QStringView Old, QStringView New) {
    const qsizetype Shorter = qMin(Old.size(), New.size());
    qsizetype Head = 0;
    while (Head < Shorter && Old[Head] == New[Head])
        ++Head;
    qsizetype Tail = 0;
    while (Tail < Shorter - Head && Old[Old.size() - 1 - Tail] == New[New.size() - 1 - Tail])
        ++Tail;
    return New.size() - Tail;
}
