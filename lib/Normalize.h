// Typographic look-alikes in text that comes from elsewhere (a paste, a drop, a
// source given to the console runner) replaced by the characters the language
// reads: middle dots by its multiplication sign, division signs by "/", dashes
// by its minus, superscripts by "^" and digits (a negative exponent in
// brackets, as the language wants it), unusual spaces by a blank,
// full-width forms by ASCII, and primes after a digit by its minute and second
// marks. Characters the language accepts as they are stay, and so does
// everything else, lone surrogates and NUL included: the result either reads as
// its author meant or fails where the original would have failed.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

struct TNormalizeReport {
    std::size_t Replaced = 0; // characters of the input that were replaced
    std::u16string Distinct;  // each of them once, in the order of first appearance
};

// Linear in the length of Text. Applying it to its own result changes nothing.
std::u16string NormalizeText(std::u16string_view Text, TNormalizeReport* Report = nullptr);
