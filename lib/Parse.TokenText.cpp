#include "Parse.TokenText.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <new>

const char16_t* TTokenText::Block() const {
    return std::bit_cast<const char16_t*>(FUnits);
}

std::u16string_view TTokenText::View() const {
    if (InBlock()) {
        const char16_t* B = Block();
        std::uint32_t Length;
        std::memcpy(&Length, B, sizeof Length);
        return {B + 2, Length};
    }
    std::size_t Length = 0;
    while (Length < FUnits.size() && FUnits[Length] != Pad && FUnits[Length] != 0)
        ++Length;
    return {FUnits.data(), Length};
}

char16_t* TTokenText::CopyTo(char16_t* D) const {
    const std::u16string_view V = View();
    return std::copy(V.begin(), V.end(), D);
}

void TTokenText::Init(std::u16string_view S) {
    FUnits = {};
    if (S.empty()) return;
    if (S.size() <= FUnits.size() && S.find(Pad) == S.npos && S.find(u'\0') == S.npos) {
        FUnits.fill(Pad);
        std::copy(S.begin(), S.end(), FUnits.begin());
        return;
    }
    // Token texts are bounded by the program's length limit, far below 2^32 units.
    const auto Length = static_cast<std::uint32_t>(S.size());
    auto* B = new char16_t[S.size() + 2];
    if (reinterpret_cast<std::uintptr_t>(B) >> 48 != 0) {
        delete[] B;
        throw std::bad_alloc(); // not a user-space address this layout can tell from text
    }
    std::memcpy(B, &Length, sizeof Length);
    std::copy(S.begin(), S.end(), B + 2);
    FUnits = std::bit_cast<std::array<char16_t, 4>>(B);
}

void TTokenText::Release() noexcept {
    if (InBlock()) delete[] Block();
    FUnits = {};
}
