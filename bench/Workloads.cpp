#include "Workloads.h"

#include <array>
#include <cctype>
#include <string_view>

namespace {
// Expression templates in the calculator's syntax; "k" stands for the statement
// number. ORDER TEMPLATES: statement K uses row K mod 5.
constexpr std::array<std::string_view, 5> IndependentTemplates = {
    "(k*3.5+sin(k/7))/(1+k^2)", "sqrt(k)*cos(k/3)-ln(k+1)",      "exp(-k/5000)*(k-2.25)/3",
    "(k/9)^3-sin(k)*cos(k)",    "ln(k^2+1)/sqrt(k+0.5)+k*0.001",
};
constexpr std::array<std::string_view, 5> ComplexTemplates = {
    "(3+4i)*(k-2i)/(1+1i)", "sqrt(-k)", "exp(1i*k/7)", "ln(k+2i)", "(1+2i)^(k/5000)",
};
constexpr std::array<std::string_view, 5> CallTemplates = {
    "f5(k/100,3)", "f1(k/7)", "f2(k,0.5)", "f3(k/1000)", "f4(k)",
};
constexpr std::array<std::string_view, 5> FunctionNames = {"f1(x)", "f2(x,y)", "f3(x)", "f4(x)", "f5(x,y)"};
constexpr std::array<std::string_view, 5> FunctionBodies = {
    "x^2+1", "x*y-3", "sin(x)+cos(x)", "sqrt(x+1)", "f1(x)+f2(x,y)*f4(y)-f3(x)",
};

constexpr std::int32_t StandardSizes[] = {20000, 10000, 20000, 10000, 2000, 200000, 1};

struct TRename {
    std::string_view From, Bc;
};
constexpr TRename BcNames[] = {{"sin", "s"}, {"cos", "c"}, {"ln", "l"}, {"exp", "e"}};

bool IsLetter(char C) {
    return std::isalpha(static_cast<unsigned char>(C)) != 0;
}
bool IsDigit(char C) {
    return std::isdigit(static_cast<unsigned char>(C)) != 0;
}

// Rewrites one expression of the calculator's syntax for Language: k becomes the
// number K, ^ becomes ** for python, the imaginary suffix i becomes j for python,
// and bc's math library names replace sin, cos, ln and exp.
std::string Translate(std::string_view Expr, std::int32_t K, TLanguage Language) {
    std::string Out;
    for (std::size_t I = 0; I < Expr.size();) {
        const char C = Expr[I];
        if (C == '^') {
            Out += Language == lgPython ? "**" : "^";
            ++I;
        } else if (IsDigit(C)) {
            while (I < Expr.size() && (IsDigit(Expr[I]) || Expr[I] == '.'))
                Out += Expr[I++];
            if (I < Expr.size() && Expr[I] == 'i') {
                Out += Language == lgPython ? 'j' : 'i';
                ++I;
            }
        } else if (IsLetter(C)) {
            std::size_t J = I;
            while (J < Expr.size() && (IsLetter(Expr[J]) || IsDigit(Expr[J])))
                ++J;
            std::string_view Word = Expr.substr(I, J - I);
            I = J;
            if (Word == "k") {
                Out += std::to_string(K);
                continue;
            }
            if (Language == lgBc)
                for (const TRename& R : BcNames)
                    if (Word == R.From) Word = R.Bc;
            Out += Word;
        } else {
            Out += C;
            ++I;
        }
    }
    return Out;
}

// One statement that prints the value of Expr.
std::string Printed(const std::string& Expr, TLanguage Language) {
    return Language == lgPython ? "print(" + Expr + ")" : Expr;
}

// A small deterministic generator, the same on every platform.
class TSplitMix {
  public:
    explicit TSplitMix(std::uint64_t Seed) : FState(Seed) {}
    std::uint64_t Next() {
        std::uint64_t Z = (FState += 0x9E3779B97F4A7C15ull);
        Z = (Z ^ (Z >> 30)) * 0xBF58476D1CE4E5B9ull;
        Z = (Z ^ (Z >> 27)) * 0x94D049BB133111EBull;
        return Z ^ (Z >> 31);
    }
    std::int32_t Below(std::int32_t N) {
        return static_cast<std::int32_t>(Next() % static_cast<std::uint64_t>(N));
    }

  private:
    std::uint64_t FState;
};

std::string Assignment(const std::string& Name, const std::string& Expr, TLanguage Language) {
    switch (Language) {
    case lgPython: return Name + " = " + Expr + "; print(" + Name + ")";
    case lgBc: return "(" + Name + " = " + Expr + ")";
    default: return Name + " := " + Expr;
    }
}

TWorkload Lines(std::int32_t Count, TLanguage Language, std::string Header,
                std::string (*Statement)(std::int32_t, TLanguage)) {
    TWorkload W{std::move(Header), Count};
    for (std::int32_t K = 1; K <= Count; ++K)
        W.Text += Statement(K, Language) + '\n';
    return W;
}

TWorkload Chained(std::int32_t Count, TLanguage Language) {
    TWorkload W{{}, 2 * Count};
    W.Text += Assignment("v1", "1", Language) + '\n';
    for (std::int32_t K = 2; K <= Count; ++K)
        W.Text +=
            Assignment("v" + std::to_string(K), "v" + std::to_string(K - 1) + "*1.0001+2", Language) + '\n';
    TSplitMix Rng(20240601);
    for (std::int32_t K = 0; K < Count; ++K) {
        auto Var = [&] { return "v" + std::to_string(1 + Rng.Below(Count)); };
        std::string A = Var(), B = Var(), C = Var();
        W.Text += Printed(A + "+" + B + "*0.5-" + C + "/3", Language) + '\n';
    }
    return W;
}

TWorkload Nested(std::int32_t Depth, TLanguage Language) {
    std::string E;
    for (std::int32_t I = 0; I < Depth; ++I)
        E += "(1+";
    E += '1';
    E.append(static_cast<std::size_t>(Depth), ')');
    return {Printed(E, Language) + '\n', 1};
}

TWorkload LongSum(std::int32_t Chars, TLanguage Language) {
    std::string E = "1";
    while (E.size() + 2 <= static_cast<std::size_t>(Chars))
        E += "+1";
    return {Printed(E, Language) + '\n', 1};
}
} // namespace

std::int32_t StandardSize(TWorkloadKind Kind) {
    return StandardSizes[Kind];
}

std::string IndependentStatement(std::int32_t K, TLanguage Language) {
    return Printed(Translate(IndependentTemplates[K % 5], K, Language), Language);
}

std::string ComplexStatement(std::int32_t K, TLanguage Language) {
    return Printed(Translate(ComplexTemplates[K % 5], K, Language), Language);
}

std::string CallStatement(std::int32_t K, TLanguage Language) {
    return Printed(Translate(CallTemplates[K % 5], K, Language), Language);
}

std::string CallDefinitions(TLanguage Language) {
    std::string S;
    for (std::size_t I = 0; I < FunctionNames.size(); ++I) {
        std::string Body = Translate(FunctionBodies[I], 0, Language);
        switch (Language) {
        case lgPython: S += "def " + std::string(FunctionNames[I]) + ": return " + Body + '\n'; break;
        case lgBc: S += "define " + std::string(FunctionNames[I]) + " { return (" + Body + "); }\n"; break;
        default: S += std::string(FunctionNames[I]) + " := " + Body + '\n'; break;
        }
    }
    return S;
}

TWorkload MakeWorkload(TWorkloadKind Kind, TLanguage Language, std::int32_t Size) {
    if (Size <= 0) Size = StandardSize(Kind);
    switch (Kind) {
    case wkIndependent:
        return Lines(Size, Language,
                     Language == lgPython ? "from math import sin, cos, sqrt, exp, log as ln\n" : "",
                     IndependentStatement);
    case wkChained: return Chained(Size, Language);
    case wkCalls:
        return Lines(Size, Language,
                     (Language == lgPython ? "from math import sin, cos, sqrt\n" : "") +
                         CallDefinitions(Language),
                     CallStatement);
    case wkComplex:
        return Lines(Size, Language, Language == lgPython ? "from cmath import sqrt, exp, log as ln\n" : "",
                     ComplexStatement);
    case wkDeep: return Nested(Size, Language);
    case wkLong: return LongSum(Size, Language);
    case wkStartup: return {Printed("1+2", Language) + '\n', 1};
    }
    return {};
}
