// The look-alike filter on arbitrary UTF-16 text, read as in fuzz_tokenizer
// (little-endian code units, an odd last byte dropped).
//
// Beyond "no crash, no hang": the result grows by at most "^(" and ")" per input
// character, a second pass changes nothing and reports nothing, the report
// names only non-ASCII characters of the input, and an input without
// replacements comes back unchanged.
#include "FuzzCheck.h"
#include "Normalize.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    std::u16string Text(Size / 2, u'\0');
    for (std::size_t I = 0; I < Text.size(); ++I)
        Text[I] = static_cast<char16_t>(Data[2 * I] | (Data[2 * I + 1] << 8));

    TNormalizeReport Report;
    const std::u16string Once = NormalizeText(Text, &Report);
    FUZZ_CHECK(Once.size() >= Text.size() && Once.size() <= 4 * Text.size()); // a lone "⁻" becomes "^(–)"
    FUZZ_CHECK(Report.Replaced <= Text.size());
    FUZZ_CHECK(Report.Distinct.size() <= Report.Replaced);
    FUZZ_CHECK((Report.Replaced == 0) == (Once == Text));
    for (const char16_t C : Report.Distinct)
        FUZZ_CHECK(Text.find(C) != std::u16string::npos && C >= 0x80);

    TNormalizeReport Again;
    FUZZ_CHECK(NormalizeText(Once, &Again) == Once);
    FUZZ_CHECK(Again.Replaced == 0 && Again.Distinct.empty());
    return 0;
}
