// Number helpers shared by the tokenizer, the built-ins and the runner: the real
// gamma function, the integer gcd, and the conversions between numbers and the
// Roman, binary, hexadecimal and time texts. None of them adds a prefix
// character ("#", "&", "$"); callers do. A minus sign is always "-".
#pragma once
#include "Complex.h"

#include <cstdint>
#include <string>
#include <string_view>

Extended Gamma(Extended X); // X >= 0; negative X: "Argument out of domain in "Gamma()""
// Euclid on the magnitudes; unsigned so that the gcd of the most negative integer fits.
std::uint64_t Gcd64(std::int64_t A, std::int64_t B);

std::u16string IntToRoman(std::int32_t N);      // 1..3999, else throws
std::int32_t RomanToInt(std::u16string_view S); // canonical upper case only, else throws
std::u16string IntToBinStr(std::int64_t V);
std::u16string IntToHexStr(std::int64_t V);
// Hours (not wrapped at 24), minutes, and seconds and hundredths when not zero.
// The caller keeps |X| below 9e16.
std::u16string SecondsToStr(std::u16string_view Sep, std::u16string_view FracSep, Extended X);

// Converts a numeral of ASCII digits, "." and "e[-]digits" with "." whatever the
// locale. Beyond the extended range it throws "'<numeral>' is not a valid floating
// point value"; a value below the range becomes a subnormal or zero.
Extended StrToFloat(std::u16string_view Numeral);

// Bytes of stack left below the caller's frame on the current thread; the
// largest value when the platform cannot tell.
std::size_t StackRemaining();

// UTF-16 <-> UTF-8. Lone surrogates are written as U+FFFD; invalid UTF-8 is read
// with one U+FFFD for each bad sequence.
std::string ToUtf8(std::u16string_view Text);
void AppendUtf8(std::string& Out, std::u16string_view Text); // ToUtf8 onto the end of Out
std::u16string FromUtf8(std::string_view Bytes);
