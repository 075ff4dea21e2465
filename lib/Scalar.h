// The callbacks behind the built-in functions, one plain function per callback
// (aliases such as sinh and sh share one), and the errors they raise about their
// arguments. Argument counts are checked by the function kinds that call them,
// except for the vector callbacks rnd and deg, which check their own.
#pragma once
#include "Complex.h"

#include <cstdint>
#include <stdexcept>
#include <string>

class EParamError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

class EUnrealParamError : public EParamError {
  public:
    explicit EUnrealParamError(const std::string& Name);
};

class ECountError : public EParamError {
  public:
    ECountError(const std::string& Name, std::int32_t Count);
};

// Integer conversions of the integer built-ins. Out of range: "Invalid floating point operation".
std::int64_t round64(Extended V); // to nearest, ties to even
// Ceiling and floor; exact for every |V| < 2^63 (not only for the 32-bit range).
Extended ceil32(Extended V);
Extended floor32(Extended V);

// Uniform in [0, 1) from the process-wide generator, seeded from the clock at start-up.
Extended Random();

using TScalarToScalar = TComp (*)(TComp);
using T2scalarsToScalar = TComp (*)(TComp, TComp);
using TVectorToScalar = TComp (*)(const TCompList&);
using TScalarToReal = Extended (*)(TComp);
using TVoidToScalar = TComp (*)();

TComp FnAbs(TComp Z);
TComp FnAcos(TComp Z);
TComp FnAcosh(TComp Z);
TComp FnAsin(TComp Z);
TComp FnAsinh(TComp Z);
TComp FnAtan(TComp Z);
TComp FnAtanh(TComp Z);
TComp FnAtan2(TComp A, TComp B);
TComp FnBinom(TComp A, TComp B);
TComp FnCeil(TComp Z);
TComp FnCos(TComp Z);
TComp FnCosh(TComp Z);
TComp FnCc(TComp Z);
TComp FnDeg(const TCompList& List);
TComp FnDiv(TComp A, TComp B);
TComp FnExp(TComp Z);
TComp FnFact(TComp Z);
TComp FnFloor(TComp Z);
TComp FnGcd(TComp A, TComp B);
TComp FnLn(TComp Z);
TComp FnLog(TComp Z);
TComp FnMean(const TCompList& List);
TComp FnMod(TComp A, TComp B);
TComp FnPow(TComp A, TComp B);
TComp FnRnd(const TCompList& List);
TComp FnRoot(TComp A, TComp B);
TComp FnRound(TComp Z);
TComp FnSign(TComp Z);
TComp FnSin(TComp Z);
TComp FnSinh(TComp Z);
TComp FnSqrt(TComp Z);
TComp FnStdev(const TCompList& List);
TComp FnTan(TComp Z);
TComp FnTanh(TComp Z);
TComp FnTime();
Extended FnArg(TComp Z);
Extended FnRe(TComp Z);
Extended FnIm(TComp Z);

// Radians of one degree, one minute and one second of arc (3FF9:8EFA351294E9C8C0,
// 3FF3:98825ABE7CB51A73, 3FED:A2AD2D97FC7CE8EB).
inline constexpr Extended DegreeInRadians = 0x8EFA351294E9C8C0p-69L;
inline constexpr Extended MinuteInRadians = 0x98825ABE7CB51A73p-75L;
inline constexpr Extended SecondInRadians = 0xA2AD2D97FC7CE8EBp-81L;
