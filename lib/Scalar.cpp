#include "Scalar.h"

#include "Exact.h"
#include "Utils.h"

#include <algorithm>
#include <cmath>

#include <chrono>
#include <ctime>
#include <random>

EUnrealParamError::EUnrealParamError(const std::string& Name)
    : EParamError("The argument(s) passed to '" + Name + "()' must be real") {}

namespace {
std::string CountMessage(const std::string& Name, std::int32_t Count) {
    if (Count == 0) return "Function '" + Name + "' takes no arguments";
    if (Count == 1) return "Function '" + Name + "' takes 1 argument";
    return "Function '" + Name + "' takes " + std::to_string(Count) + " arguments";
}

constexpr Extended TwoTo63 = 9223372036854775808.0L;

void RequireReal(TComp A, TComp B, const char* Name) {
    if (!A.IsReal() || !B.IsReal()) throw EUnrealParamError(Name);
}

std::mt19937_64& Generator() {
    static std::mt19937_64 G(
        static_cast<std::uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count()));
    return G;
}
// Seed at start-up, not at the first draw.
[[maybe_unused]] const bool GeneratorSeeded = (Generator(), true);

// The truncation toward zero, checked against the 64-bit range.
Extended Truncated(Extended V) {
    if (!(std::fabs(V) < TwoTo63)) FP::Raise(MsgInvalidOp);
    return std::trunc(V);
}

// Integer quotient and remainder of two rounded reals; the quotient of the most
// negative integer by -1 is 2^63, which an extended float holds exactly.
struct TIntPair {
    std::int64_t A, B;
};
TIntPair IntegerOperands(TComp A, TComp B, const char* Name) {
    RequireReal(A, B, Name);
    TIntPair P{round64(A.X), round64(B.X)};
    if (P.B == 0) throw EMathError(MsgIntDivByZero);
    return P;
}
bool IsWholeNumber(Extended V) {
    return std::trunc(V) == V;
}

constexpr Extended Ln10 = 2.30258509299404568402L;

// binom(N, K) of whole 0 <= K <= N < 2^63 as a running product of quotients
// (N - K + I) / I, carried wide so the result is correctly rounded. From
// K = 16385 up (with K <= N / 2) it exceeds 2^K and so the range.
Extended WholeBinomial(Extended N, Extended K) {
    K = std::min(K, N - K);
    if (K > 16384) FP::Raise(MsgOverflow);
    Exact::TWide R(1);
    for (Extended I = 1; I <= K; ++I) {
        R.MulBy(N - K + I);
        R.DivBy(I);
    }
    return FP::Checked(R.Value());
}

} // namespace

ECountError::ECountError(const std::string& Name, std::int32_t Count)
    : EParamError(CountMessage(Name, Count)) {}

std::int64_t round64(Extended V) {
    Extended R = std::nearbyint(V);
    if (!(R >= -TwoTo63 && R < TwoTo63)) FP::Raise(MsgInvalidOp);
    return static_cast<std::int64_t>(R);
}

Extended ceil32(Extended V) {
    Extended T = Truncated(V);
    return V > T ? T + 1 : T;
}

Extended floor32(Extended V) {
    Extended T = Truncated(V);
    return V < T ? T - 1 : T;
}

Extended Random() {
    return static_cast<Extended>(Generator()() >> 1) * 0x1p-63L;
}

TComp FnAbs(TComp Z) {
    return Abs(Z);
}
TComp FnAcos(TComp Z) {
    return ArcCos(Z);
}
TComp FnAcosh(TComp Z) {
    return ArcCosh(Z);
}
TComp FnAsin(TComp Z) {
    if (Z.Y == 0 && std::fabs(Z.X) <= 1) return std::asin(Z.X);
    return ArcSinh(Cmplx(-Z.Y, Z.X)) / CompI;
}
TComp FnAsinh(TComp Z) {
    return ArcSinh(Z);
}
TComp FnAtan(TComp Z) {
    if (Z.Y == 0) return std::atan(Z.X);
    return ArcTanh(CompI * Z) * Cmplx(0, -1);
}
TComp FnAtanh(TComp Z) {
    return ArcTanh(Z);
}

TComp FnAtan2(TComp A, TComp B) {
    RequireReal(A, B, "atan2");
    return FP::Atan2(A.X, B.X);
}

TComp FnBinom(TComp A, TComp B) {
    if (A.IsReal() && B.IsReal() && IsWholeNumber(A.X) && IsWholeNumber(B.X) && B.X >= 0 && B.X <= A.X &&
        A.X < TwoTo63)
        return WholeBinomial(A.X, B.X);
    return BinomialOf(A, B);
}

TComp FnCeil(TComp Z) {
    return {ceil32(Z.X), ceil32(Z.Y)};
}
TComp FnCos(TComp Z) {
    return Cos(Z);
}
TComp FnCosh(TComp Z) {
    return Cosh(Z);
}
TComp FnCc(TComp Z) {
    return Conj(Z);
}

TComp FnDeg(const TCompList& List) {
    if (List.size() == 2) return (List[0] * 60 + List[1]) * MinuteInRadians;
    if (List.size() == 3) {
        TComp Minutes = List[1] * 60;
        return ((List[0] * 3600 + Minutes) + List[2]) * SecondInRadians;
    }
    throw EParamError("Function 'deg' takes 2 or 3 arguments");
}

TComp FnDiv(TComp A, TComp B) {
    TIntPair P = IntegerOperands(A, B, "div");
    if (P.A == INT64_MIN && P.B == -1) return TwoTo63;
    return static_cast<Extended>(P.A / P.B);
}

TComp FnExp(TComp Z) {
    return Exp(Z);
}
TComp FnFact(TComp Z) {
    if (Z.IsReal()) return RealFactorial(Z.X);
    return FactorialOf(Z);
}

TComp FnFloor(TComp Z) {
    return {floor32(Z.X), floor32(Z.Y)};
}

TComp FnGcd(TComp A, TComp B) {
    RequireReal(A, B, "gcd");
    return static_cast<Extended>(Gcd64(round64(A.X), round64(B.X)));
}

TComp FnLn(TComp Z) {
    return Ln(Z);
}
TComp FnLog(TComp Z) {
    if (Z.Y == 0 && Z.X > 0) return std::log10(Z.X); // exact at powers of ten
    return Ln(Z) / Ln10;
}
TComp FnMean(const TCompList& List) {
    return Mean(List);
}

TComp FnMod(TComp A, TComp B) {
    TIntPair P = IntegerOperands(A, B, "mod");
    if (P.B == -1) return CompZero; // also the most negative integer, whose % -1 traps
    return static_cast<Extended>(P.A % P.B);
}

TComp FnPow(TComp A, TComp B) {
    return Power(A, B);
}

TComp FnRnd(const TCompList& List) {
    if (List.size() > 2) throw EParamError("Function 'rnd' takes 0, 1 or 2 arguments");
    Extended R = Random();
    if (List.empty()) return R;
    if (List.size() == 1) return List[0] * R;
    return List[0] + (List[1] - List[0]) * R;
}

TComp FnRoot(TComp A, TComp B) {
    return Root(A, B);
}
TComp FnRound(TComp Z) {
    return {static_cast<Extended>(round64(Z.X)), static_cast<Extended>(round64(Z.Y))};
}
TComp FnSign(TComp Z) {
    return Sgn(Z);
}
TComp FnSin(TComp Z) {
    return Sin(Z);
}
TComp FnSinh(TComp Z) {
    return Sinh(Z);
}
TComp FnSqrt(TComp Z) {
    return Sqrt(Z);
}
TComp FnStdev(const TCompList& List) {
    return StdDev(List);
}

TComp FnTan(TComp Z) {
    return Tan(Z);
}

TComp FnTanh(TComp Z) {
    return Tanh(Z);
}

TComp FnTime() {
    using namespace std::chrono;
    auto Now = system_clock::now();
    std::time_t T = system_clock::to_time_t(Now);
    std::tm Local{};
#ifdef _WIN32
    localtime_s(&Local, &T);
#else
    localtime_r(&T, &Local);
#endif
    auto Millis = duration_cast<milliseconds>(Now.time_since_epoch()).count() % 1000;
    double SecondsOfDay = Local.tm_hour * 3600.0 + Local.tm_min * 60.0 + Local.tm_sec + Millis / 1000.0;
    double DayFraction = SecondsOfDay / 86400.0;
    return static_cast<Extended>(DayFraction) * 86400;
}

Extended FnArg(TComp Z) {
    return Arg(Z);
}
Extended FnRe(TComp Z) {
    return Z.X;
}
Extended FnIm(TComp Z) {
    return Z.Y;
}
