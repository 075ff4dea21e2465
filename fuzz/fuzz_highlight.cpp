// Syntax colouring on arbitrary UTF-16 text, read as in fuzz_tokenizer
// (little-endian code units, an odd last byte dropped); the first unit, when
// there is one, places the caret for the bracket match.
//
// Beyond "no crash, no hang": the spans come in order, never overlap, never
// leave the line and are never empty; a matched bracket pair names bracket
// characters, the left one before the right one, one of them next to the caret.
#include "FuzzCheck.h"
#include "Parse.Highlight.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    static const TSymbols Symbols;
    static THighlighter Highlighter(Symbols);
    static const TNameClasses Names = [] {
        TNameClasses N;
        N.Set(u"x", syVariable);
        N.Set(u"sin", syBuiltin);
        N.Set(u"f", syUserFunction);
        return N;
    }();
    std::u16string Text(Size / 2, u'\0');
    for (std::size_t I = 0; I < Text.size(); ++I)
        Text[I] = static_cast<char16_t>(Data[2 * I] | (Data[2 * I + 1] << 8));
    const std::int32_t Caret = Text.empty() ? 0 : static_cast<std::int32_t>(Text[0] % (Text.size() + 1));
    const auto Length = static_cast<std::int32_t>(Text.size());

    std::int32_t End = 0;
    for (const TSyntaxSpan& S : Highlighter.Spans(Text, Names)) {
        FUZZ_CHECK(S.Start >= End && S.Length > 0 && S.Start + S.Length <= Length);
        FUZZ_CHECK(S.Class < syCount);
        End = S.Start + S.Length;
    }

    const auto IsBracket = [&](std::int32_t P) {
        return P >= 0 && P < Length && (Symbols.IsLeftBracket(Text[P]) || Symbols.IsRightBracket(Text[P]));
    };
    if (const auto Pair = Highlighter.MatchBracket(Text, Caret)) {
        FUZZ_CHECK(Pair->Left >= 0 || Pair->Right >= 0);
        FUZZ_CHECK(Pair->Left < 0 || (IsBracket(Pair->Left) && Symbols.IsLeftBracket(Text[Pair->Left])));
        FUZZ_CHECK(Pair->Right < 0 || (IsBracket(Pair->Right) && Symbols.IsRightBracket(Text[Pair->Right])));
        FUZZ_CHECK(Pair->Left < 0 || Pair->Right < 0 || Pair->Left < Pair->Right);
        const bool Near = [&] {
            for (const std::int32_t P : {Pair->Left, Pair->Right})
                if (P >= 0 && (P == Caret || P == Caret - 1)) return true;
            return false;
        }();
        FUZZ_CHECK(Near);
    }
    return 0;
}
