#include "Completion.h"

#include "Parse.Tokenize.h"
#include "Scalar.Ident.h"

#include <QSet>

#include <algorithm>

namespace {
TNameKind KindOf(const TIdent& Ident) {
    switch (Ident.IdentKind()) {
    case TIdent::ikVariable: return nkVariable;
    case TIdent::ikFunction: return nkFunction;
    default: return nkOther;
    }
}
} // namespace

void TNameIndex::Take(const TIdentList& List) {
    std::vector<TNameEntry> Entries;
    Entries.reserve(static_cast<std::size_t>(List.Count()));
    for (const auto& Ident : List)
        Entries.push_back({QString::fromStdU16String(Ident->Name()), KindOf(*Ident),
                           QString::fromStdU16String(Ident->ToStringC())});
    Take(std::move(Entries));
}

void TNameIndex::Take(std::vector<TNameEntry> Entries) {
    QSet<QString> Seen;
    Seen.reserve(static_cast<qsizetype>(Entries.size()));
    std::erase_if(Entries, [&Seen](const TNameEntry& E) {
        if (Seen.contains(E.Name)) return true;
        Seen.insert(E.Name);
        return false;
    });
    FEntries = std::move(Entries);
    FFolded.clear();
    FByFolded.resize(FEntries.size());
    std::vector<QString> Folded;
    Folded.reserve(FEntries.size());
    for (std::size_t I = 0; I < FEntries.size(); ++I) {
        Folded.push_back(FEntries[I].Name.toLower());
        FByFolded[I] = static_cast<int>(I);
    }
    std::sort(FByFolded.begin(), FByFolded.end(), [&](int A, int B) {
        if (const int C = Folded[A].compare(Folded[B])) return C < 0;
        return FEntries[A].Name < FEntries[B].Name;
    });
    FFolded.reserve(FEntries.size());
    for (const int I : FByFolded)
        FFolded.push_back(std::move(Folded[I]));
}

// Every name that starts with Prefix in its own case also starts with it
// folded, so one range of the folded order holds both groups, already sorted.
std::vector<int> TNameIndex::Matches(QStringView Prefix) const {
    const QString Folded = Prefix.toString().toLower();
    const auto First = std::lower_bound(FFolded.begin(), FFolded.end(), Folded);
    std::vector<int> Result;
    std::vector<int> OtherCase;
    for (auto It = First; It != FFolded.end() && It->startsWith(Folded); ++It) {
        const int Index = FByFolded[It - FFolded.begin()];
        (FEntries[Index].Name.startsWith(Prefix) ? Result : OtherCase).push_back(Index);
    }
    Result.insert(Result.end(), OtherCase.begin(), OtherCase.end());
    return Result;
}

qsizetype NameStart(const TSymbols& Symbols, QStringView Line, qsizetype Caret) {
    qsizetype Start = Caret;
    while (Start > 0 && Symbols.IsNameChar(Line[Start - 1].unicode()))
        --Start;
    while (Start < Caret && !Symbols.Alpha().Contains(Line[Start].unicode()))
        ++Start;
    return Start;
}

QString CompletionText(const TNameEntry& Entry, QChar LeftBracket, QChar Next) {
    if (Entry.Kind != nkFunction || Next == LeftBracket) return Entry.Name;
    return Entry.Name + LeftBracket;
}
