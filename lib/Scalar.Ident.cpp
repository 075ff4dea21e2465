#include "Scalar.Ident.h"

#include "Utils.h"

#include <algorithm>
#include <variant>

namespace {
std::string Utf8Name(const std::u16string& Name) {
    return ToUtf8(Name);
}

char16_t FoldAscii(char16_t C) {
    return (C >= u'a' && C <= u'z') ? static_cast<char16_t>(C - 32) : C;
}

bool NameLess(const std::unique_ptr<TIdent>& A, const std::unique_ptr<TIdent>& B) {
    const std::u16string& X = A->Name();
    const std::u16string& Y = B->Name();
    return std::lexicographical_compare(X.begin(), X.end(), Y.begin(), Y.end(),
                                        [](char16_t P, char16_t Q) { return FoldAscii(P) < FoldAscii(Q); });
}
} // namespace

std::u16string TIdent::ToStringC() const {
    if (FComment.empty()) return ToString();
    return ToString() + u"   //" + FComment;
}

std::u16string TVariable::ToString() const {
    return Name() + u" = " + CompToStr(FValue, 18);
}

template <typename TProc>
void TBuiltinFunction<TProc>::CheckCount(const TCompList& Args, std::int32_t Count) const {
    if (static_cast<std::int32_t>(Args.size()) != Count) throw ECountError(Utf8Name(Name()), Count);
}

TComp TScalarToScalarFunction::Eval(const TCompList& Args) {
    CheckCount(Args, 1);
    return FProc(Args[0]);
}

TComp T2scalarsToScalarFunction::Eval(const TCompList& Args) {
    CheckCount(Args, 2);
    return FProc(Args[0], Args[1]);
}

TComp TScalarToRealFunction::Eval(const TCompList& Args) {
    CheckCount(Args, 1);
    return FProc(Args[0]);
}

TComp TVoidToScalarFunction::Eval(const TCompList& Args) {
    CheckCount(Args, 0);
    return FProc();
}

void TIdentList::Add(std::unique_ptr<TIdent> Ident) {
    if (FIndexed) FIndex[Ident->Name()].push_back(Count());
    FItems.push_back(std::move(Ident));
    if (!FIndexed && Count() > SmallList) RebuildIndex();
}

void TIdentList::AddVar(const std::u16string& Name, TComp Value, const std::u16string& Comment) {
    Add(std::make_unique<TVariable>(Name, Value, Comment));
}

void TIdentList::AddFun(const std::u16string& Name, TScalarToScalar Proc, const std::u16string& Comment) {
    Add(std::make_unique<TScalarToScalarFunction>(Name, Proc, Comment));
}

void TIdentList::AddFun(const std::u16string& Name, T2scalarsToScalar Proc, const std::u16string& Comment) {
    Add(std::make_unique<T2scalarsToScalarFunction>(Name, Proc, Comment));
}

void TIdentList::AddFun(const std::u16string& Name, TVectorToScalar Proc, const std::u16string& Comment) {
    Add(std::make_unique<TVectorToScalarFunction>(Name, Proc, Comment));
}

std::int32_t TIdentList::IndexByName(std::u16string_view Name) const {
    if (!FIndexed) {
        for (std::int32_t I = 0; I < Count(); ++I)
            if (FItems[I]->Name() == Name) return I;
        return -1;
    }
    auto It = FIndex.find(Name);
    return It == FIndex.end() ? -1 : It->second.front();
}

void TIdentList::DeleteByName(std::u16string_view Name) {
    std::int32_t I = IndexByName(Name);
    if (I < 0) return;
    FItems.erase(FItems.begin() + I);
    RebuildIndex();
}

TIdent* TIdentList::Find(std::u16string_view Name) const {
    std::int32_t I = IndexByName(Name);
    return I < 0 ? nullptr : FItems[I].get();
}

void TIdentList::SetIdent(std::unique_ptr<TIdent> Ident) {
    std::int32_t I = IndexByName(Ident->Name());
    if (I < 0)
        Add(std::move(Ident));
    else
        FItems[I] = std::move(Ident);
}

void TIdentList::Sort() {
    std::stable_sort(FItems.begin(), FItems.end(), NameLess);
    RebuildIndex();
}

void TIdentList::Clear() {
    FIndex.clear();
    FIndexed = false;
    FItems.clear();
}

void TIdentList::RebuildIndex() {
    FIndex.clear();
    FIndexed = Count() > SmallList;
    if (!FIndexed) return;
    for (std::int32_t I = 0; I < Count(); ++I)
        FIndex[FItems[I]->Name()].push_back(I);
}

namespace {
// ORDER BUILTINS: the table order is the order of GlobalIdents after start-up.
using TProc = std::variant<TScalarToScalar, T2scalarsToScalar, TVectorToScalar, TScalarToReal, TVoidToScalar>;
struct TBuiltinRow {
    const char16_t* Name;
    TProc Proc;
    const char16_t* Comment;
};
const TBuiltinRow BuiltinFunctions[] = {
    {u"abs", FnAbs, u"absolute value"},
    {u"acosh", FnAcosh, u"inverse hyperbolic cosinus"},
    {u"ach", FnAcosh, u"inverse hyperbolic cosinus"},
    {u"acos", FnAcos, u"inverse cosinus"},
    {u"asinh", FnAsinh, u"inverse hyperbolic sinus"},
    {u"ash", FnAsinh, u"inverse hyperbolic sinus"},
    {u"asin", FnAsin, u"inverse sinus"},
    {u"atan", FnAtan, u"inverse tangens"},
    {u"atanh", FnAtanh, u"inverse hyperbolic tangens"},
    {u"atan2", FnAtan2, u"returns the arctan(y/x) in the correct quadrant"},
    {u"ath", FnAtanh, u"inverse hyperbolic tangens"},
    {u"binom", FnBinom, u"binomial coefficient"},
    {u"ceil", FnCeil, u"round up"},
    {u"comb", FnBinom, u"combinations of n things taken k at a time"},
    {u"cosh", FnCosh, u"hyperbolic cosinus"},
    {u"ch", FnCosh, u"hyperbolic cosinus"},
    {u"cos", FnCos, u"cosinus"},
    {u"deg", FnDeg, u"convert degrees, minutes and seconds to radians"},
    {u"div", FnDiv, u"integer division"},
    {u"exp", FnExp, u"exponential function"},
    {u"fact", FnFact, u"factorial"},
    {u"floor", FnFloor, u"round down"},
    {u"gcd", FnGcd, u"greatest common divisor"},
    {u"ln", FnLn, u"natural logarithm"},
    {u"log", FnLog, u""},
    {u"mean", FnMean, u"arithmetic mean"},
    {u"mod", FnMod, u"remainder of integer division"},
    {u"rem", FnMod, u"remainder of integer division"},
    {u"pow", FnPow, u"power"},
    {u"root", FnRoot, u"root"},
    {u"rnd", FnRnd, u"Generate uniformly distributed random number"},
    {u"round", FnRound, u"round to nearest integer"},
    {u"sinh", FnSinh, u"hyperbolic sinus"},
    {u"sh", FnSinh, u"hyperbolic sinus"},
    {u"sign", FnSign, u"signum"},
    {u"sin", FnSin, u"sinus"},
    {u"sqrt", FnSqrt, u"square root"},
    {u"\u221A", FnSqrt, u"square root"},
    {u"stdev", FnStdev, u"standard deviation"},
    {u"tan", FnTan, u"tangens"},
    {u"tanh", FnTanh, u"hyperbolic tangens"},
    {u"th", FnTanh, u"hyperbolic tangens"},
    {u"time", FnTime, u"the time passed since midnight"},
    {u"cc", FnCc, u"complex conjugate"},
    {u"arg", FnArg, u"argument (angle) of a complex number"},
    {u"Re", FnRe, u"real part"},
    {u"Im", FnIm, u"imaginary part"},
};

struct TConstantRow {
    const char16_t* Name;
    const char16_t* Comment;
    Extended Value; // exact bit patterns as hexadecimal floats
};
const TConstantRow BuiltinConstants[] = {
    {u"%", u"percent", 0xA3D70A3D70A3D70Ap-70L},
    {u"alpha", u"fine structure constant", 0xEF1EA15159190CF6p-71L},
    {u"b", u"Wien's displacement law constant (wavelength scale)", 0xBDE88C669849EA2Dp-72L},
    {u"c", u"speed of light in vacuum", 0x8EF3C25000000000p-35L},
    {u"deg", u"value of a degree in radians", 0x8EFA351294E9C8C0p-69L},
    {u"e", u"the base of natural logarithm", 0xADF85458A2BB4AB0p-62L},
    {u"eps", u"permittivity of vacuum", 0x9BC3B78A6F698342p-100L},
    {u"G", u"Newtonian constant of gravitation", 0x92C2611160B1EF78p-97L},
    {u"h", u"Planck constant", 0xDC305DACB52ACBD1p-174L},
    {u"hbar", u"h divided by 2\u03C0", 0x8C2D375F8293A1E2p-176L},
    {u"k", u"Boltzmann constant", 0x858735666E63EEC1p-139L},
    {u"me", u"mass of electron", 0x93CEE56E3E3F884Ep-163L},
    {u"mn", u"mass of neutron", 0x84B39005DAE5C1B6p-152L},
    {u"mp", u"mass of proton", 0x8484CCCC5910ECABp-152L},
    {u"mu", u"permeability of vacuum", 0xA8A9B87CCFB6586Fp-83L},
    {u"\u03BCb", u"Bohr magneton", 0xB362ABEFF7C4F1ADp-140L},
    {u"Na", u"Avogadro constant", 0xFF0C2FCB5498F3BDp15L},
    {u"phi", u"the golden ratio", 0xCF1BBCDCBFA53E1Cp-63L},
    {u"pi", u"the ratio of circle's circumference to its diameter in Euclidean geometry",
     0xC90FDAA22168C23Cp-62L},
    {u"\u03C0", u"the ratio of circle's circumference to its diameter in Euclidean geometry",
     0xC90FDAA22168C23Cp-62L},
    {u"q", u"elementary charge", 0xBD26D0BFB58A86CEp-126L},
    {u"R", u"molar gas constant", 0x85080969354DBFA6p-60L},
    {u"Ry", u"Rydberg constant", 0xA77223918BC59B80p-40L},
    {u"rb", u"Bohr radius", 0xE8BC0EA7CAD1CC61p-98L},
    {u"sb", u"Stefan-Boltzmann constant", 0xF38A6914C6B9FCC6p-88L},
};

// Builds the function kind that matches the callback's signature.
struct TBuiltinMaker {
    const TBuiltinRow& Row;
    template <typename TKind, typename TCallback>
    std::unique_ptr<TIdent> Make(TCallback Proc) const {
        return std::make_unique<TKind>(Row.Name, Proc, Row.Comment);
    }
    auto operator()(TScalarToScalar P) const { return Make<TScalarToScalarFunction>(P); }
    auto operator()(T2scalarsToScalar P) const { return Make<T2scalarsToScalarFunction>(P); }
    auto operator()(TVectorToScalar P) const { return Make<TVectorToScalarFunction>(P); }
    auto operator()(TScalarToReal P) const { return Make<TScalarToRealFunction>(P); }
    auto operator()(TVoidToScalar P) const { return Make<TVoidToScalarFunction>(P); }
};
} // namespace

void RegisterBuiltins(TIdentList& List) {
    for (const TBuiltinRow& Row : BuiltinFunctions)
        List.Add(std::visit(TBuiltinMaker{Row}, Row.Proc));
    for (const TConstantRow& Row : BuiltinConstants)
        List.AddVar(Row.Name, Row.Value, Row.Comment);
}

TIdentList& GlobalIdents() {
    static TIdentList List;
    static const bool Registered = (RegisterBuiltins(List), true);
    (void)Registered;
    return List;
}
