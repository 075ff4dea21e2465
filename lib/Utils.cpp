#include "Utils.h"


#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <locale.h>
#if defined(_WIN32)
#include <windows.h>
#elif defined(__linux__)
#include <pthread.h>
#include <sys/auxv.h>
#include <sys/resource.h>
#include <unistd.h>
#endif
#include <stdexcept>

Extended Gamma(Extended X) {
    if (X < 0) throw std::runtime_error("Argument out of domain in \"Gamma()\"");
    // X - 1 is exact from 1/2 up; below, G(X) = X! / X keeps the argument exact.
    if (X >= 0.5L) return RealFactorial(X - 1);
    return FP::Div(RealFactorial(X), X);
}

std::uint64_t Gcd64(std::int64_t A, std::int64_t B) {
    auto Magnitude = [](std::int64_t V) {
        return V < 0 ? 0 - static_cast<std::uint64_t>(V) : std::uint64_t(V);
    };
    std::uint64_t U = Magnitude(A);
    std::uint64_t V = Magnitude(B);
    while (V != 0) {
        std::uint64_t R = U % V;
        U = V;
        V = R;
    }
    return U;
}

namespace {
// ORDER ROMAN: one row per decimal place, thousands first; index = digit.
constexpr std::u16string_view RomanDigitsTable[4][10] = {
    {u"", u"M", u"MM", u"MMM"},
    {u"", u"C", u"CC", u"CCC", u"CD", u"D", u"DC", u"DCC", u"DCCC", u"CM"},
    {u"", u"X", u"XX", u"XXX", u"XL", u"L", u"LX", u"LXX", u"LXXX", u"XC"},
    {u"", u"I", u"II", u"III", u"IV", u"V", u"VI", u"VII", u"VIII", u"IX"},
};

struct TRomanCandidate {
    std::u16string_view Text;
    std::int32_t Value;
};
// The candidates of each group in the order they are tried; the first that matches wins.
constexpr TRomanCandidate RomanThousands[] = {{u"MMM", 3000}, {u"MM", 2000}, {u"M", 1000}};
constexpr TRomanCandidate RomanHundreds[] = {{u"CM", 900},  {u"DCCC", 800}, {u"DCC", 700},
                                             {u"DC", 600},  {u"D", 500},    {u"CD", 400},
                                             {u"CCC", 300}, {u"CC", 200},   {u"C", 100}};
constexpr TRomanCandidate RomanTens[] = {{u"XC", 90}, {u"LXXX", 80}, {u"LXX", 70}, {u"LX", 60}, {u"L", 50},
                                         {u"XL", 40}, {u"XXX", 30},  {u"XX", 20},  {u"X", 10}};
constexpr TRomanCandidate RomanUnits[] = {{u"IX", 9}, {u"VIII", 8}, {u"VII", 7}, {u"VI", 6}, {u"V", 5},
                                          {u"IV", 4}, {u"III", 3},  {u"II", 2},  {u"I", 1}};

template <std::size_t N>
std::int32_t ReadRomanGroup(std::u16string_view& S, const TRomanCandidate (&Candidates)[N]) {
    for (const auto& C : Candidates) {
        if (S.starts_with(C.Text)) {
            S.remove_prefix(C.Text.size());
            return C.Value;
        }
    }
    return 0;
}

std::u16string UnsignedToBase(std::int64_t V, unsigned Bits) {
    if (V == 0) return u"0";
    std::uint64_t M = V < 0 ? 0 - static_cast<std::uint64_t>(V) : static_cast<std::uint64_t>(V);
    const std::uint64_t Mask = (1u << Bits) - 1;
    std::u16string Digits;
    for (; M != 0; M >>= Bits)
        Digits.insert(Digits.begin(), u"0123456789ABCDEF"[M & Mask]);
    if (V < 0) Digits.insert(Digits.begin(), u'-');
    return Digits;
}

void AppendTwoDigits(std::u16string& S, std::int64_t V) {
    S += static_cast<char16_t>(u'0' + V / 10);
    S += static_cast<char16_t>(u'0' + V % 10);
}

} // namespace

std::u16string IntToRoman(std::int32_t N) {
    if (N < 1 || N > 3999) throw std::runtime_error("Only numbers from 1 to 3999 can be converted to Roman");
    std::u16string S;
    S += RomanDigitsTable[0][N / 1000];
    S += RomanDigitsTable[1][N / 100 % 10];
    S += RomanDigitsTable[2][N / 10 % 10];
    S += RomanDigitsTable[3][N % 10];
    return S;
}

std::int32_t RomanToInt(std::u16string_view S) {
    if (S.empty()) throw std::runtime_error("Not a Roman numeral");
    std::int32_t Sum = ReadRomanGroup(S, RomanThousands);
    if (S.empty()) return Sum;
    Sum += ReadRomanGroup(S, RomanHundreds);
    if (S.empty()) return Sum;
    Sum += ReadRomanGroup(S, RomanTens);
    if (S.empty()) return Sum;
    Sum += ReadRomanGroup(S, RomanUnits);
    if (!S.empty()) throw std::runtime_error("Not a Roman numeral");
    return Sum;
}

std::u16string IntToBinStr(std::int64_t V) {
    return UnsignedToBase(V, 1);
}
std::u16string IntToHexStr(std::int64_t V) {
    return UnsignedToBase(V, 4);
}

std::u16string SecondsToStr(std::u16string_view Sep, std::u16string_view FracSep, Extended X) {
    std::u16string S = X < 0 ? u"-" : u"";
    auto C = static_cast<std::int64_t>(std::nearbyint(std::fabs(X) * 100));
    std::int64_t Hundredths = C % 100;
    std::int64_t Secs = C / 100;
    std::int64_t Seconds = Secs % 60;
    std::int64_t M = Secs / 60;
    std::int64_t Minutes = M % 60;
    std::int64_t Hours = M / 60;
    for (char Ch : std::to_string(Hours))
        S += static_cast<char16_t>(Ch);
    S += Sep;
    AppendTwoDigits(S, Minutes);
    if (Seconds != 0 || Hundredths != 0) {
        S += Sep;
        AppendTwoDigits(S, Seconds);
    }
    if (Hundredths != 0) {
        S += FracSep;
        AppendTwoDigits(S, Hundredths);
    }
    return S;
}

namespace {
// 10^0 .. 10^27: every one is exact in the 64-bit significand (5^27 < 2^64).
constexpr Extended ExactPowersOfTen[] = {
    1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,  1e10L, 1e11L, 1e12L, 1e13L,
    1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L, 1e20L, 1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L,
};

// Digits with at most one "." and no exponent, at most 19 significant positions:
// the numeral is M / 10^F with M < 10^19 < 2^64 and 10^F exact, so the one
// correctly rounded division gives the correctly rounded value, the same bits as
// strtold. Answers false for every other numeral.
bool ShortDecimalToFloat(std::u16string_view Numeral, Extended& Value) {
    if (Numeral.empty() || Numeral.size() > 20) return false;
    std::uint64_t M = 0;
    std::int32_t Digits = 0;
    std::int32_t Fraction = -1; // digits after the ".", or -1 before it
    for (char16_t C : Numeral) {
        if (C == u'.' && Fraction < 0) {
            Fraction = 0;
            continue;
        }
        if (C < u'0' || C > u'9') return false;
        M = M * 10 + (C - u'0');
        ++Digits;
        if (Fraction >= 0) ++Fraction;
    }
    if (Digits == 0 || Digits > 19) return false;
    Value = Fraction > 0 ? static_cast<Extended>(M) / ExactPowersOfTen[Fraction] : static_cast<Extended>(M);
    return true;
}

#if defined(_WIN32)
// MinGW has no strtold_l: its strtold reads the locale's decimal point, and it
// caps a written exponent at 19999 (0.<20010 zeros>5e20011 would read as 5e-12).
// So the numeral is rewritten as 0.<significant digits>e<exponent> with the
// locale's point; that exponent is small for every value in range.
bool LongNumeralToFloat(const std::string& Ascii, Extended& Value) {
    std::string Digits;
    std::int64_t Exponent = 0; // of the point before Digits
    bool SeenDigit = false, SeenPoint = false;
    std::size_t I = 0;
    for (; I < Ascii.size() && Ascii[I] != 'e' && Ascii[I] != 'E'; ++I) {
        const char C = Ascii[I];
        if (C == '.' && !SeenPoint) {
            SeenPoint = true;
            continue;
        }
        if (C < '0' || C > '9') return false;
        SeenDigit = true;
        if (Digits.empty() && C == '0') {
            if (SeenPoint) --Exponent; // a leading zero after the point
            continue;
        }
        Digits += C;
        if (!SeenPoint) ++Exponent;
    }
    if (!SeenDigit) return false;
    if (I < Ascii.size()) {
        ++I;
        const bool Negative = I < Ascii.size() && Ascii[I] == '-';
        if (I < Ascii.size() && (Ascii[I] == '-' || Ascii[I] == '+')) ++I;
        if (I == Ascii.size()) return false;
        std::int64_t Written = 0;
        for (; I < Ascii.size(); ++I) {
            if (Ascii[I] < '0' || Ascii[I] > '9') return false;
            Written = std::min<std::int64_t>(Written * 10 + (Ascii[I] - '0'), 1'000'000'000);
        }
        Exponent += Negative ? -Written : Written;
    }
    if (Digits.empty()) {
        Value = 0;
        return true;
    }
    const std::lconv* Conv = std::localeconv();
    const char* Point = Conv && Conv->decimal_point && *Conv->decimal_point ? Conv->decimal_point : ".";
    const std::string Normal = std::string("0") + Point + Digits + "e" + std::to_string(Exponent);
    Value = std::strtold(Normal.c_str(), nullptr);
    return true;
}
#else
locale_t CLocale() {
    static locale_t L = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return L;
}

bool LongNumeralToFloat(const std::string& Ascii, Extended& Value) {
    char* End = nullptr;
    Value = strtold_l(Ascii.c_str(), &End, CLocale());
    return End != Ascii.c_str() && *End == 0;
}
#endif
} // namespace

Extended StrToFloat(std::u16string_view Numeral) {
    Extended Fast;
    if (ShortDecimalToFloat(Numeral, Fast)) return Fast;
    std::string Ascii;
    Ascii.reserve(Numeral.size());
    for (char16_t C : Numeral)
        Ascii += C < 0x80 ? static_cast<char>(C) : '?';
    Extended V;
    if (!LongNumeralToFloat(Ascii, V) || !std::isfinite(V))
        throw std::runtime_error("'" + Ascii + "' is not a valid floating point value");
    return V;
}

void AppendUtf8(std::string& Out, std::u16string_view Text) {
    // Written into room for the longest form (an ASCII unit takes one byte, any
    // other at most three; a surrogate pair takes four of its six), then cut to
    // what was written. Counting first keeps a long ASCII line from zeroing, and
    // so touching, three times the memory it needs.
    std::size_t Room = Text.size();
    for (const char16_t C : Text)
        Room += C < 0x80 ? 0 : 2;
    const std::size_t Start = Out.size();
    Out.resize(Start + Room);
    char* D = Out.data() + Start;
    for (std::size_t I = 0; I < Text.size(); ++I) {
        // Runs of ASCII, the bulk of every line, go four units at a time.
        while (I + 4 <= Text.size()) {
            std::uint64_t Four;
            std::memcpy(&Four, Text.data() + I, sizeof Four);
            if ((Four & 0xFF80FF80FF80FF80ull) != 0) break;
            for (int K = 0; K < 4; ++K)
                *D++ = static_cast<char>(Four >> (16 * K));
            I += 4;
        }
        if (I == Text.size()) break;
        char32_t C = Text[I];
        if (C < 0x80) {
            *D++ = static_cast<char>(C);
            continue;
        }
        if (C >= 0xD800 && C <= 0xDBFF && I + 1 < Text.size() && Text[I + 1] >= 0xDC00 &&
            Text[I + 1] <= 0xDFFF) {
            C = 0x10000 + ((C - 0xD800) << 10) + (Text[I + 1] - 0xDC00);
            ++I;
        } else if (C >= 0xD800 && C <= 0xDFFF) {
            C = 0xFFFD;
        }
        if (C < 0x800) {
            *D++ = static_cast<char>(0xC0 | (C >> 6));
            *D++ = static_cast<char>(0x80 | (C & 0x3F));
        } else if (C < 0x10000) {
            *D++ = static_cast<char>(0xE0 | (C >> 12));
            *D++ = static_cast<char>(0x80 | ((C >> 6) & 0x3F));
            *D++ = static_cast<char>(0x80 | (C & 0x3F));
        } else {
            *D++ = static_cast<char>(0xF0 | (C >> 18));
            *D++ = static_cast<char>(0x80 | ((C >> 12) & 0x3F));
            *D++ = static_cast<char>(0x80 | ((C >> 6) & 0x3F));
            *D++ = static_cast<char>(0x80 | (C & 0x3F));
        }
    }
    Out.resize(static_cast<std::size_t>(D - Out.data()));
}

std::string ToUtf8(std::u16string_view Text) {
    std::string Out;
    AppendUtf8(Out, Text);
    return Out;
}

std::u16string FromUtf8(std::string_view Bytes) {
    std::u16string Out;
    const std::size_t N = Bytes.size();
    // The ASCII prefix (usually the whole text) is widened in place.
    std::size_t I = 0;
    Out.resize(N);
    for (; I < N && static_cast<unsigned char>(Bytes[I]) < 0x80; ++I)
        Out[I] = static_cast<char16_t>(Bytes[I]);
    Out.resize(I);
    if (I == N) return Out;
    auto Cont = [&](std::size_t K) { return K < N && (static_cast<unsigned char>(Bytes[K]) & 0xC0) == 0x80; };
    while (I < N) {
        unsigned char B = static_cast<unsigned char>(Bytes[I]);
        char32_t C = 0;
        std::size_t Len = 0;
        if (B < 0x80) {
            C = B;
            Len = 1;
        } else if (B >= 0xC2 && B <= 0xDF && Cont(I + 1)) {
            C = ((B & 0x1F) << 6) | (Bytes[I + 1] & 0x3F);
            Len = 2;
        } else if (B >= 0xE0 && B <= 0xEF && Cont(I + 1) && Cont(I + 2)) {
            C = ((B & 0x0F) << 12) | ((Bytes[I + 1] & 0x3F) << 6) | (Bytes[I + 2] & 0x3F);
            Len = (C >= 0x800 && (C < 0xD800 || C > 0xDFFF)) ? 3 : 0;
        } else if (B >= 0xF0 && B <= 0xF4 && Cont(I + 1) && Cont(I + 2) && Cont(I + 3)) {
            C = ((B & 0x07) << 18) | ((Bytes[I + 1] & 0x3F) << 12) | ((Bytes[I + 2] & 0x3F) << 6) |
                (Bytes[I + 3] & 0x3F);
            Len = (C >= 0x10000 && C <= 0x10FFFF) ? 4 : 0;
        }
        if (Len == 0) {
            // One replacement for the lead byte and the continuation bytes that follow it.
            Out += u'\uFFFD';
            ++I;
            while (I < N && Cont(I) && B >= 0xC0)
                ++I;
            continue;
        }
        if (C >= 0x10000) {
            C -= 0x10000;
            Out += static_cast<char16_t>(0xD800 + (C >> 10));
            Out += static_cast<char16_t>(0xDC00 + (C & 0x3FF));
        } else {
            Out += static_cast<char16_t>(C);
        }
        I += Len;
    }
    return Out;
}

std::size_t StackRemaining() {
#if defined(__linux__)
    thread_local const char* Low = [] {
        const char* Bottom = nullptr;
        // The main thread's stack may grow to its size limit below the top of its
        // mapping, which ends with the program's file name (kept by the kernel for
        // AT_EXECFN) and a null pointer. pthread_getattr_np answers the same for it
        // but reads /proc/self/maps to find that mapping, which costs more than a
        // whole short run of the console runner.
        rlimit Limit;
        const auto* ExecFn = reinterpret_cast<const char*>(getauxval(AT_EXECFN));
        if (ExecFn && getpid() == gettid() && getrlimit(RLIMIT_STACK, &Limit) == 0 &&
            Limit.rlim_cur != RLIM_INFINITY) {
            const auto Page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
            const auto Here = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
            const std::uintptr_t End = reinterpret_cast<std::uintptr_t>(ExecFn) + std::strlen(ExecFn) + 1;
            const std::uintptr_t Top = (End + Page - 1) & ~(Page - 1);
            if (Top > Here && Top - Here < Limit.rlim_cur)
                return reinterpret_cast<const char*>(Top - Limit.rlim_cur);
        }
        pthread_attr_t Attr;
        if (pthread_getattr_np(pthread_self(), &Attr) == 0) {
            void* Addr = nullptr;
            std::size_t Size = 0;
            if (pthread_attr_getstack(&Attr, &Addr, &Size) == 0) Bottom = static_cast<const char*>(Addr);
            pthread_attr_destroy(&Attr);
        }
        return Bottom;
    }();
    const char* Here = static_cast<const char*>(__builtin_frame_address(0));
    if (Low && Here > Low) return static_cast<std::size_t>(Here - Low);
#elif defined(_WIN32)
    // The whole reservation, down to its guard pages, whatever has been committed yet.
    thread_local const char* Low = [] {
        ULONG_PTR Bottom = 0, Top = 0;
        GetCurrentThreadStackLimits(&Bottom, &Top);
        return reinterpret_cast<const char*>(Bottom);
    }();
    const char* Here = static_cast<const char*>(__builtin_frame_address(0));
    if (Low && Here > Low) return static_cast<std::size_t>(Here - Low);
#endif
    return std::numeric_limits<std::size_t>::max();
}
