// Generic lists and the ordered character set. Insertion order matters: item 0
// of several character sets is the canonical character that output uses.
// Items are kept in a std::vector; the capacity is tracked as its own number so
// that growth (32 first, then doubling) is observable and repeatable.
#pragma once
#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

template <typename T>
class TList;

template <typename T>
class TListEnumerator {
  public:
    explicit TListEnumerator(const TList<T>& List) : FList(&List) {}
    // Never moves past the last item.
    bool MoveNext() {
        if (FIndex >= FList->Count() - 1) return false;
        ++FIndex;
        return true;
    }
    const T& Current() const { return (*FList)[FIndex]; }

  private:
    std::int32_t FIndex = -1;
    const TList<T>* FList; // borrowed
};

template <typename T>
class TList {
  public:
    TList() = default;
    explicit TList(std::int32_t Capacity) : FCapacity(std::max(Capacity, 0)) { FData.reserve(FCapacity); }
    TList(const TList& Source) { Assign(Source); }
    TList& operator=(const TList& Source) {
        if (this != &Source) Assign(Source);
        return *this;
    }
    virtual ~TList() = default;

    // Value may be an item of this very list: it is copied before the storage grows.
    std::int32_t Add(const T& Value) {
        if (Count() < FCapacity) {
            FData.push_back(Value);
            return Count() - 1;
        }
        return Add(T(Value));
    }
    std::int32_t Add(T&& Value) {
        // Below the capacity the storage does not move, so Value may be pushed as it is.
        if (Count() < FCapacity) {
            FData.push_back(std::move(Value));
            return Count() - 1;
        }
        T Item(std::move(Value));
        Grow();
        FData.push_back(std::move(Item));
        return Count() - 1;
    }
    // Appends an item built in place from Args, which must not refer to items of this list.
    template <typename... TArgs>
    std::int32_t Emplace(TArgs&&... Args) {
        Grow();
        FData.emplace_back(std::forward<TArgs>(Args)...);
        return Count() - 1;
    }
    void Add(const TList& Source) {
        for (std::int32_t I = 0, N = Source.Count(); I < N; ++I)
            Add(Source[I]);
    }
    virtual void Assign(const TList& Source) { Assign(Source, 0, Source.Count() - 1); }
    virtual void Assign(const TList& Source, std::int32_t FromIndex, std::int32_t ToIndex) {
        std::int32_t N = ToIndex >= FromIndex ? ToIndex - FromIndex + 1 : 0;
        std::vector<T> Copy;
        if (N > 0) Copy.assign(Source.FData.begin() + FromIndex, Source.FData.begin() + FromIndex + N);
        FData = std::move(Copy); // Source may be this list
        FCapacity = N;
    }
    void Clear() {
        FData.clear();
        FData.shrink_to_fit();
        FCapacity = 0;
    }
    virtual void Delete(std::int32_t Index) = 0;
    std::int32_t Remove(const T& Value) {
        std::int32_t I = IndexOf(Value);
        if (I >= 0) Delete(I);
        return I;
    }
    bool Contains(const T& Value) const { return IndexOf(Value) != -1; }
    std::int32_t IndexOf(const T& Value) const {
        for (std::int32_t I = 0, N = Count(); I < N; ++I)
            if (FData[I] == Value) return I;
        return -1;
    }
    TListEnumerator<T> GetEnumerator() const { return TListEnumerator<T>(*this); }

    T& operator[](std::int32_t I) { return FData[I]; }
    const T& operator[](std::int32_t I) const { return FData[I]; }
    std::int32_t Count() const { return static_cast<std::int32_t>(FData.size()); }
    std::int32_t Capacity() const { return FCapacity; }
    auto begin() const { return FData.begin(); }
    auto end() const { return FData.end(); }

  protected:
    std::vector<T> FData;

  private:
    void Grow() {
        if (Count() < FCapacity) return;
        FCapacity = FCapacity == 0 ? 32 : FCapacity * 2;
        FData.reserve(FCapacity);
    }
    std::int32_t FCapacity = 0;
};

// Deleting moves the last item into the hole: order is not kept.
template <typename T>
class TSet : public TList<T> {
  public:
    using TList<T>::TList;
    void Delete(std::int32_t Index) override {
        auto& Data = this->FData;
        if (Index < static_cast<std::int32_t>(Data.size()) - 1) Data[Index] = std::move(Data.back());
        Data.pop_back();
    }
};

// Deleting shifts the following items down: order is kept.
template <typename T>
class TOrdered : public TList<T> {
  public:
    using TList<T>::TList;
    void Delete(std::int32_t Index) override { this->FData.erase(this->FData.begin() + Index); }
    const T& First() const { return this->FData.front(); }
    const T& Last() const { return this->FData.back(); }
};

// An ordered set of UTF-16 code units. Membership is exact (no case folding);
// a bitmap beside the list answers Contains in constant time.
class TCharSet : public TSet<char16_t> {
  public:
    TCharSet() = default;
    explicit TCharSet(std::u16string_view Chars);
    TCharSet(char16_t FromChar, char16_t ToChar);

    // Every way in keeps the bitmap in step with the items: the inherited Add,
    // Clear and writable Items are hidden.
    std::int32_t Add(char16_t C);
    void Add(std::u16string_view Chars);
    void Add(char16_t FromChar, char16_t ToChar);
    void Add(const TCharSet& Source);
    std::int32_t Include(char16_t C); // the new index, or -1 when already present
    void Include(std::u16string_view Chars);
    void Include(char16_t FromChar, char16_t ToChar);
    void Include(const TCharSet& List);
    void Clear();
    void Delete(std::int32_t Index) override;
    void Assign(const TList<char16_t>& Source, std::int32_t FromIndex, std::int32_t ToIndex) override;
    using TList<char16_t>::Assign;

    bool Contains(char16_t C) const {
        const std::uint16_t Block = FBlockOf[C >> 8];
        return Block != 0 && ((FBlocks[Block - 1u][(C & 0xFF) >> 6] >> (C & 63)) & 1) != 0;
    }
    std::int32_t IndexOf(char16_t C) const { return Contains(C) ? TList::IndexOf(C) : -1; }
    const char16_t& operator[](std::int32_t I) const { return FData[I]; }

  private:
    void Rebuild();
    void SetMember(char16_t C);
    void ResetMember(char16_t C);
    // Membership in blocks of 256 characters: FBlockOf[C >> 8] is 0 for a block
    // without members, else 1 + the index of its bitmap in FBlocks. A set holds
    // a few blocks (ASCII, Greek, Cyrillic), so it takes well under a kilobyte
    // instead of a bitmap of all 65,536 characters that every start-up clears.
    using TBlock = std::array<std::uint64_t, 4>;
    std::array<std::uint16_t, 256> FBlockOf{};
    std::vector<TBlock> FBlocks;
};

// The global character sets, created on first use (before any TSymbols) and
// alive until the program ends.
const TCharSet& DecDigits();
const TCharSet& HexDigits();
const TCharSet& BinDigits();
const TCharSet& RomanDigits();
const TCharSet& LatinLetters();
const TCharSet& GreekLetters();
const TCharSet& CyrillicLetters();
