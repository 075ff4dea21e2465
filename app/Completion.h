// Name completion in the input box: the names the last run left defined, each
// with its kind and the line the symbol list shows for it, and the matches for
// the word before the caret. It keeps a copy, not the live identifier list, so
// the list can change during a run without the popup seeing half of it. Showing
// the matches and editing the box are the popup's job (CompletionPopup.h).
#pragma once
#include <QString>
#include <QStringView>

#include <vector>

class TIdentList;
class TSymbols;

enum TNameKind { nkVariable, nkFunction, nkOther };

struct TNameEntry {
    QString Name;
    TNameKind Kind = nkOther;
    QString Description; // as the list of defined symbols writes it
};

class TNameIndex {
  public:
    // Replaces the copy. Of names defined twice only the first in list order is
    // kept: it is the one a lookup finds.
    void Take(const TIdentList& List);
    void Take(std::vector<TNameEntry> Entries);

    // Indexes into Entries(): names starting with Prefix in the same case first,
    // then those that start with it only when case is ignored. Each group is in
    // alphabetical order, case ignored, then in code order.
    std::vector<int> Matches(QStringView Prefix) const;
    const TNameEntry& Entry(int Index) const { return FEntries[Index]; }
    int Count() const { return static_cast<int>(FEntries.size()); }

  private:
    std::vector<TNameEntry> FEntries; // in code order of the name
    std::vector<QString> FFolded;     // each name in lower case, same order as FByFolded
    std::vector<int> FByFolded;       // indexes into FEntries in order of the folded name
};

// Where the name before Caret starts in Line: it runs back over name characters
// and begins with a letter, so "2pi" gives the start of "pi". Caret when there is none.
qsizetype NameStart(const TSymbols& Symbols, QStringView Line, qsizetype Caret);

// The text that replaces the partial name: a function's name is followed by
// its opening bracket, unless Next (the character after the caret) already is one.
QString CompletionText(const TNameEntry& Entry, QChar LeftBracket, QChar Next);
