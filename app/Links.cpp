#include "Links.h"

#include <algorithm>
#include <iterator>

std::vector<TLink> LinksInBox(std::u16string_view Program, const std::vector<TStatementRange>& Ranges, int From) {
    // Where each CR LF stands: the box has one character for the pair.
    std::vector<int> Pairs;
    for (std::size_t I = 0; I + 1 < Program.size(); ++I)
        if (Program[I] == u'\r' && Program[I + 1] == u'\n') Pairs.push_back(static_cast<int>(I));
    // The statements come in the order of the text, so the count of pairs before
    // an offset mostly moves on; only a step back needs a search.
    std::size_t Before = 0;
    const auto Box = [&](int Offset) {
        if (Before > 0 && Pairs[Before - 1] >= Offset)
            Before = static_cast<std::size_t>(std::lower_bound(Pairs.begin(), Pairs.end(), Offset) - Pairs.begin());
        while (Before < Pairs.size() && Pairs[Before] < Offset)
            ++Before;
        return From + Offset - static_cast<int>(Before);
    };
    std::vector<TLink> Links;
    Links.reserve(Ranges.size());
    for (const TStatementRange& R : Ranges)
        Links.push_back({R.LineIndex, Box(R.First), Box(R.Last)});
    return Links;
}

std::vector<TLink> LinksAtCaret(const std::vector<TLink>& Links, int Caret) {
    const auto Hit =
        std::find_if(Links.begin(), Links.end(), [Caret](const TLink& L) { return L.Start <= Caret && Caret <= L.End; });
    std::vector<TLink> Found;
    if (Hit == Links.end()) return Found;
    std::copy_if(Hit, Links.end(), std::back_inserter(Found),
                 [&](const TLink& L) { return L.Start == Hit->Start && L.End == Hit->End; });
    return Found;
}

const TLink* LinkOfLine(const std::vector<TLink>& Links, int Line) {
    const auto It = std::find_if(Links.begin(), Links.end(), [Line](const TLink& L) { return L.Line == Line; });
    return It == Links.end() ? nullptr : &*It;
}
