// Build helper: writes a UTF-8 text file as UTF-16LE with a byte-order mark
// and CR LF line breaks, the form in which the calculator ships its text files.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {
// Appends the UTF-16 code units of the UTF-8 text; invalid input is refused.
bool ToUtf16(const std::string& In, std::u16string& Out) {
    for (std::size_t I = 0; I < In.size();) {
        const auto B = static_cast<unsigned char>(In[I]);
        const int Len = B < 0x80 ? 1 : (B >> 5) == 6 ? 2 : (B >> 4) == 14 ? 3 : (B >> 3) == 30 ? 4 : 0;
        if (Len == 0 || I + Len > In.size()) return false;
        char32_t C = Len == 1 ? B : B & (0x7F >> Len);
        for (int K = 1; K < Len; ++K) {
            const auto Next = static_cast<unsigned char>(In[I + K]);
            if ((Next >> 6) != 2) return false;
            C = (C << 6) | (Next & 0x3F);
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
    return true;
}
} // namespace

int main(int Argc, char** Argv) {
    if (Argc != 3) {
        std::fprintf(stderr, "usage: MakeUtf16 INPUT OUTPUT\n");
        return 2;
    }
    std::ifstream In(Argv[1], std::ios::binary);
    const std::string Bytes((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
    std::u16string Text;
    if (!In.good() && !In.eof()) return 1;
    if (!ToUtf16(Bytes, Text)) {
        std::fprintf(stderr, "MakeUtf16: %s is not valid UTF-8\n", Argv[1]);
        return 1;
    }
    std::u16string Out;
    for (char16_t C : Text) {
        if (C == u'\r') continue;
        if (C == u'\n') Out += u'\r';
        Out += C;
    }
    std::ofstream File(Argv[2], std::ios::binary);
    File.put('\xFF').put('\xFE');
    for (char16_t C : Out)
        File.put(static_cast<char>(C & 0xFF)).put(static_cast<char>(C >> 8));
    return File ? 0 : 1;
}
