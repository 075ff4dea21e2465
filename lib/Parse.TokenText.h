// The owned text of a token in eight bytes, so that a token takes 32 bytes and a
// long program's token list half the memory a std::u16string would need.
#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

// Texts of one to four units are kept in place (most numerals and names), padded
// with U+FFFF; longer ones, and short ones holding U+0000 or U+FFFF, live in one
// heap block of their own. The last unit tells the two apart: it is never 0 in
// place, and it is the top of a user-space pointer, always 0, for a block.
class TTokenText {
  public:
    TTokenText() = default;
    TTokenText(std::u16string_view S) { Init(S); }
    TTokenText(const std::u16string& S) : TTokenText(std::u16string_view(S)) {}
    TTokenText(const char16_t* S) : TTokenText(std::u16string_view(S)) {}
    TTokenText(const TTokenText& Source) { Init(Source.View()); }
    TTokenText(TTokenText&& Source) noexcept : FUnits(Source.FUnits) { Source.FUnits = {}; }
    TTokenText& operator=(const TTokenText& Source) {
        if (this != &Source) TTokenText(Source).Swap(*this);
        return *this;
    }
    TTokenText& operator=(TTokenText&& Source) noexcept {
        TTokenText(std::move(Source)).Swap(*this);
        return *this;
    }
    ~TTokenText() { Release(); }

    void assign(std::u16string_view S) { TTokenText(S).Swap(*this); }
    std::u16string_view View() const;
    operator std::u16string_view() const { return View(); }
    std::u16string str() const { return std::u16string(View()); }
    char16_t* CopyTo(char16_t* D) const; // writes View() at D, answers the end
    std::size_t size() const { return View().size(); }
    bool empty() const { return FUnits[0] == 0 && FUnits[1] == 0 && FUnits[2] == 0 && FUnits[3] == 0; }
    char16_t operator[](std::size_t I) const { return View()[I]; }
    void Swap(TTokenText& Other) noexcept { std::swap(FUnits, Other.FUnits); }

    friend bool operator==(const TTokenText& A, const TTokenText& B) { return A.View() == B.View(); }
    friend bool operator==(const TTokenText& A, std::u16string_view B) { return A.View() == B; }
    friend bool operator==(const TTokenText& A, const std::u16string& B) { return A.View() == B; }
    friend bool operator==(const TTokenText& A, const char16_t* B) { return A.View() == B; }

  private:
    static constexpr char16_t Pad = u'\uFFFF';
    bool InBlock() const { return FUnits[3] == 0 && !empty(); }
    const char16_t* Block() const; // the heap block: the length in two units, then the text
    void Init(std::u16string_view S);
    void Release() noexcept;
    std::array<char16_t, 4> FUnits{};
};
