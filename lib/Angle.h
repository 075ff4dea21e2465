// The angle result format: a value in radians written as degrees, minutes and
// seconds of arc in the form the tokenizer's angle literal reads back. The
// runner supplies the marks and the decimal point and turns "-" into its minus.
#pragma once
#include "Complex.h"

#include <cstdint>
#include <optional>
#include <string>

struct TAngleMarks {
    char16_t Degree;
    char16_t Minute;
    char16_t Second;
    char16_t Period;
};

// Angles of this many seconds of arc (about 2.8e13 degrees, 4.8e11 radians) or
// more cannot be written: from there on the value, and the degree constant the
// tokenizer multiplies by, no longer hold whole seconds.
inline constexpr Extended MaxAngleSeconds = 1e17L;

// Always degrees and minutes, so 0 is 0°0'; seconds only when they are not zero
// after rounding, with at most Precision significant digits, at most 17 decimals,
// none beyond the 17th digit of the whole angle, and no trailing zeros. A negative
// angle starts with "-" unless it rounds to zero. Nothing for NaN, infinities and
// angles at or beyond MaxAngleSeconds once rounded.
std::optional<std::u16string> RadiansToAngleStr(Extended X, std::int32_t Precision, TAngleMarks Marks);
