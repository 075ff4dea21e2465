#include "SymbolMap.h"

#include "Utils.h"

TSymbolMap TSymbolMap::Load(const QString& FileName) {
    return TSymbolMap(ReadTextFile(FileName).split(u'\n'));
}

QChar TSymbolMap::ToggleChar(QChar Ch) const {
    for (const QString& Line : FLines) {
        const qsizetype P = Line.indexOf(Ch);
        if (P >= 0) return P + 1 < Line.size() ? Line[P + 1] : Line[0];
    }
    return Ch;
}

QString TSymbolMap::Toggle(const QString& Text) const {
    QString Result = Text;
    for (QChar& C : Result)
        C = ToggleChar(C);
    return Result;
}
