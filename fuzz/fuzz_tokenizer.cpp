// The tokenizer on arbitrary UTF-16 text: the input bytes are read as
// little-endian code units (an odd last byte is dropped), so every code unit,
// lone surrogates and NUL included, reaches the scanners.
//
// Beyond "no crash, no hang", every token list must be well formed: positions
// inside the text and never decreasing, literal and name texts copied from the
// text at their position, at most one error token and only at the end, and
// the same list from a second scan.
#include "FuzzCheck.h"
#include "Parse.Tokenize.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    std::u16string Text(Size / 2, u'\0');
    for (std::size_t I = 0; I < Text.size(); ++I)
        Text[I] = static_cast<char16_t>(Data[2 * I] | (Data[2 * I + 1] << 8));

    static const TSymbols Symbols;
    TTokenizer Tokens(Symbols, Text);
    const auto Len = static_cast<std::int32_t>(Text.size());
    const std::int32_t N = Tokens.Count();
    // Each character yields at most one token, plus one implied multiplication.
    FUZZ_CHECK(N <= 2 * Len + 1);
    std::int32_t LastPos = 1;
    for (std::int32_t I = 0; I < N; ++I) {
        const TToken& T = Tokens[I];
        FUZZ_CHECK(T.Pos >= 1 && T.Pos <= (Len > 0 ? Len : 1));
        FUZZ_CHECK(T.Pos >= LastPos);
        LastPos = T.Pos;
        FUZZ_CHECK(T.Kind != tkError || I == N - 1);
        if ((T.Kind == tkNumber || T.Kind == tkIdent) && !T.Text.empty())
            FUZZ_CHECK(Text.compare(T.Pos - 1, T.Text.size(), T.Text) == 0);
        // Literals and names fill their text; operators and brackets carry none.
        if (T.Kind == tkIdent) FUZZ_CHECK(!T.Text.empty());
        if (T.Kind == tkSeparator && I > 0) FUZZ_CHECK(Tokens[I - 1].Kind != tkSeparator);
        (void)T.Fmt(Symbols);
    }
    (void)Tokens.ToString();

    TTokenizer Again(Symbols, Text);
    FUZZ_CHECK(Again.Count() == N);
    for (std::int32_t I = 0; I < N; ++I)
        FUZZ_CHECK(Again[I] == Tokens[I]);
    return 0;
}
