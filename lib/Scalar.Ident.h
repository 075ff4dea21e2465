// Identifiers: variables holding one complex value, and functions (the five
// built-in kinds here, user-defined functions in the parser). TIdentList owns its
// identifiers; names need not be unique and every lookup takes the first match in
// list order, by exact (case-sensitive) name. An index beside the ordered list
// keeps lookups in constant time on average without changing that behaviour.
#pragma once
#include "Complex.h"
#include "Scalar.h"

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <vector>

class TIdent {
  public:
    // Which of the two families an identifier belongs to, so that lookups by
    // kind need no run-time type query; other kinds of identifier are ikOther.
    enum TIdentKind : std::uint8_t { ikOther, ikVariable, ikFunction };

    TIdent(std::u16string Name, std::u16string Comment)
        : TIdent(std::move(Name), std::move(Comment), ikOther) {}
    virtual ~TIdent() = default;
    TIdent(const TIdent&) = delete;
    TIdent& operator=(const TIdent&) = delete;

    const std::u16string& Name() const { return FName; }
    const std::u16string& Comment() const { return FComment; }
    virtual std::u16string ToString() const = 0;
    std::u16string ToStringC() const; // ToString, then "   //" and the comment if there is one
    TIdentKind IdentKind() const { return FKind; }

  protected:
    TIdent(std::u16string Name, std::u16string Comment, TIdentKind Kind)
        : FName(std::move(Name)), FComment(std::move(Comment)), FKind(Kind) {}

  private:
    std::u16string FName;
    std::u16string FComment;
    TIdentKind FKind;
};

class TVariable : public TIdent {
  public:
    TVariable(std::u16string Name, TComp Value, std::u16string Comment)
        : TIdent(std::move(Name), std::move(Comment), ikVariable), FValue(Value) {}
    TComp Value() const { return FValue; }
    void SetValue(TComp Value) { FValue = Value; }
    std::u16string ToString() const override; // name = value with 18 digits

  private:
    TComp FValue;
};

class TFunction : public TIdent {
  public:
    TFunction(std::u16string Name, std::u16string Comment)
        : TIdent(std::move(Name), std::move(Comment), ikFunction) {}
    virtual TComp Eval(const TCompList& Args) = 0;
    // True while an evaluation of this function is under way (user functions only).
    virtual bool Busy() const { return false; }
    // What one call counts against a statement's user-function work; 0 for a built-in.
    virtual std::int64_t CallWork() const { return 0; }
};

// The five built-in kinds: each checks the argument count and calls its callback.
// ORDER FUNCTIONKIND
template <typename TProc>
class TBuiltinFunction : public TFunction {
  public:
    TBuiltinFunction(std::u16string Name, TProc Proc, std::u16string Comment)
        : TFunction(std::move(Name), std::move(Comment)), FProc(Proc) {}
    TProc Proc() const { return FProc; }

  protected:
    void CheckCount(const TCompList& Args, std::int32_t Count) const;
    TProc FProc;
};

class TScalarToScalarFunction : public TBuiltinFunction<TScalarToScalar> {
  public:
    using TBuiltinFunction::TBuiltinFunction;
    TComp Eval(const TCompList& Args) override;
    std::u16string ToString() const override { return Name() + u"(scalar)->scalar"; }
};

class T2scalarsToScalarFunction : public TBuiltinFunction<T2scalarsToScalar> {
  public:
    using TBuiltinFunction::TBuiltinFunction;
    TComp Eval(const TCompList& Args) override;
    std::u16string ToString() const override { return Name() + u"(scalar,scalar)->scalar"; }
};

class TVectorToScalarFunction : public TBuiltinFunction<TVectorToScalar> {
  public:
    using TBuiltinFunction::TBuiltinFunction;
    TComp Eval(const TCompList& Args) override { return FProc(Args); }
    std::u16string ToString() const override { return Name() + u"(vector)->scalar"; }
};

class TScalarToRealFunction : public TBuiltinFunction<TScalarToReal> {
  public:
    using TBuiltinFunction::TBuiltinFunction;
    TComp Eval(const TCompList& Args) override;
    std::u16string ToString() const override { return Name() + u"(scalar)->real"; }
};

class TVoidToScalarFunction : public TBuiltinFunction<TVoidToScalar> {
  public:
    using TBuiltinFunction::TBuiltinFunction;
    TComp Eval(const TCompList& Args) override;
    std::u16string ToString() const override { return Name() + u"()->scalar"; }
};

class TIdentList {
  public:
    TIdentList() = default;
    TIdentList(const TIdentList&) = delete;
    TIdentList& operator=(const TIdentList&) = delete;

    void Add(std::unique_ptr<TIdent> Ident); // appends; no check for an existing name
    void AddVar(const std::u16string& Name, TComp Value, const std::u16string& Comment);
    void AddFun(const std::u16string& Name, TScalarToScalar Proc, const std::u16string& Comment);
    void AddFun(const std::u16string& Name, T2scalarsToScalar Proc, const std::u16string& Comment);
    void AddFun(const std::u16string& Name, TVectorToScalar Proc, const std::u16string& Comment);

    std::int32_t IndexByName(std::u16string_view Name) const; // -1 when absent
    void DeleteByName(std::u16string_view Name);
    TIdent* Find(std::u16string_view Name) const;
    // The first item of class T (or derived from it) with that name; null when none.
    template <typename T>
    T* Find(std::u16string_view Name) const {
        if (!FIndexed) {
            for (const auto& Item : FItems)
                if (Item->Name() == Name)
                    if (auto* Typed = As<T>(Item.get())) return Typed;
            return nullptr;
        }
        auto It = FIndex.find(Name);
        if (It == FIndex.end()) return nullptr;
        for (std::int32_t I : It->second)
            if (auto* Typed = As<T>(FItems[I].get())) return Typed;
        return nullptr;
    }
    // Replaces the first item of the same name in place (freeing it), or appends.
    void SetIdent(std::unique_ptr<TIdent> Ident);
    // Orders by name, ASCII letters folded to upper case; for good.
    void Sort();
    void Clear();

    std::int32_t Count() const { return static_cast<std::int32_t>(FItems.size()); }
    TIdent& operator[](std::int32_t Index) const { return *FItems[Index]; }
    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }

  private:
    // Ident as a T, or null: the two families by their kind, any other class by its type.
    template <typename T>
    static T* As(TIdent* Ident) {
        if constexpr (std::is_same_v<T, TVariable>)
            return Ident->IdentKind() == TIdent::ikVariable ? static_cast<TVariable*>(Ident) : nullptr;
        else if constexpr (std::is_same_v<T, TFunction>)
            return Ident->IdentKind() == TIdent::ikFunction ? static_cast<TFunction*>(Ident) : nullptr;
        else
            return dynamic_cast<T*>(Ident);
    }
    void RebuildIndex();
    std::vector<std::unique_ptr<TIdent>> FItems;
    // For each name, the indexes of its items in list order. Rebuilt after the
    // rare operations that move items (DeleteByName, Sort). A list of at most
    // SmallList items (a user function's parameters) has none and is searched
    // in order, which answers the same and spares building a map per call.
    static constexpr std::int32_t SmallList = 8;
    bool FIndexed = false;
    // Looked up by a view of the name: a token's text, with no string built for it.
    struct TNameHash {
        using is_transparent = void;
        std::size_t operator()(std::u16string_view Name) const { return std::hash<std::u16string_view>{}(Name); }
    };
    std::unordered_map<std::u16string, std::vector<std::int32_t>, TNameHash, std::equal_to<>> FIndex;
};

// Appends the 72 built-in functions and constants to List, in table order.
void RegisterBuiltins(TIdentList& List);

// The one global symbol table, filled with the built-in functions and constants
// on first use (see RegisterBuiltins) and alive until the program ends.
TIdentList& GlobalIdents();
