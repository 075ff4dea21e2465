#include "Scalar.Ident.h"

#include "Utils.h"

#include <algorithm>

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
