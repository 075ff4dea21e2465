// Sine, cosine and tangent of extended floats with the argument reduced by the
// engine, not by the C library: x = N * pi/2 + R with |R| <= pi/4, and R's sine
// and cosine are the engine's own, carried wide (Exact::CosSin); only |x| <= pi/4
// asks the library. So every platform gives the same digits for large
// arguments (MinGW's sinl reduces with a 66-bit pi and is wrong from about 1000
// on), and the remainder keeps its digits near a multiple of pi/2.
//
// Moderate arguments are reduced by Cody and Waite with pi/2 in four words;
// beyond 2^31, and where that remainder cancels too far, by Payne and Hanek with
// 2/pi to 16640 bits.
#pragma once
#include "Exact.h"

#include <cstdint>

inline constexpr Extended PiQuarter = 0.785398163397448309616L; // pi/4: no reduction up to here

struct TReduced {
    std::int32_t Quadrant; // N mod 4
    Exact::TPair R;        // x - N * pi/2 to about twice the extended precision
};
TReduced ReduceHalfPi(Extended X); // X finite

// Finite X only; the callers check infinities and NaNs.
Extended ReducedSin(Extended X);
Extended ReducedCos(Extended X);
Extended ReducedTan(Extended X);
void ReducedCosSin(Extended X, Extended& Cos, Extended& Sin); // one reduction for both
