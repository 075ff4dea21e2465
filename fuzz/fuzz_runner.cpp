// Whole program runs through the runner, against fresh built-ins each time.
// The first byte picks the result format and the precision, so every
// formatter is reached; the rest is the program as UTF-8. Inputs are capped
// at MaxProgramBytes so that one case stays cheap: linear work on longer texts
// is the business of the hostile-input tests, not of the fuzzer.
//
// Beyond "no crash, no hang, no leak": a failed run ends with a line, and a
// later run of a trivial program still works, so no run leaves its nesting
// count or a function's busy flag behind.
#include "FuzzCheck.h"
#include "Parse.Infix.h"
#include "Parse.Utils.h"
#include "Utils.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {
constexpr std::size_t MaxProgramBytes = 4096;
constexpr TNumberFormat Formats[] = {nfDec, nfBin, nfHex, nfRoman, nfTime, nfAngle}; // ORDER TNumberFormat
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    if (Size == 0 || Size > MaxProgramBytes + 1) return 0;
    const std::uint8_t Options = Data[0];
    const std::string_view Bytes(reinterpret_cast<const char*>(Data + 1), Size - 1);

    GlobalIdents().Clear();
    RegisterBuiltins(GlobalIdents());
    TProgramParser Parser;
    Parser.SetNumberFormat(Formats[Options % 5]);
    Parser.SetPrecision(2 + (Options / 5 + 3) % 17);

    const bool Ok = Parser.Execute(NormalizeLineBreaks(FromUtf8(Bytes)), false);
    const TStrings& Lines = Parser.Output().Strings();
    if (!Ok) FUZZ_CHECK(Lines.Count() >= 1);
    for (std::int32_t I = 0; I < Lines.Count(); ++I)
        (void)ToUtf8(Lines.Get(I));

    // Repeating the run from the kept tokens must not crash either.
    (void)Parser.Execute(true);

    Parser.SetNumberFormat(nfDec);
    FUZZ_CHECK(Parser.Execute(u"1", false));
    FUZZ_CHECK(Parser.Output().Strings().Count() == 1);
    FUZZ_CHECK(Parser.Output().Strings().Get(0) == u"1 = 1");
    return 0;
}
