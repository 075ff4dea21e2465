// The console runner's input decoding on arbitrary bytes: the bytes as a file
// (UTF-8, or UTF-16LE when detected), as a UTF-16LE file with its byte-order
// mark, and as UTF-8 text from standard input or -e; each then through the
// line-break normalisation the runner applies before a run.
//
// The decoders are checked against properties that follow from the encodings
// rather than from the code: valid UTF-8 comes back byte for byte, decoded text
// always encodes to valid UTF-8, a UTF-16LE file yields one code unit per byte
// pair, and normalised text holds line breaks only as CR LF pairs.
#include "FuzzCheck.h"
#include "Parse.Utils.h"
#include "Utils.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {
// Well-formed UTF-8 as the Unicode standard defines it (table 3-7).
bool IsValidUtf8(std::string_view S) {
    std::size_t I = 0;
    while (I < S.size()) {
        const auto B = static_cast<unsigned char>(S[I]);
        std::size_t Len;
        unsigned char Lo = 0x80, Hi = 0xBF; // bounds of the second byte
        if (B < 0x80) {
            ++I;
            continue;
        } else if (B >= 0xC2 && B <= 0xDF) {
            Len = 2;
        } else if (B >= 0xE0 && B <= 0xEF) {
            Len = 3;
            if (B == 0xE0) Lo = 0xA0;
            if (B == 0xED) Hi = 0x9F;
        } else if (B >= 0xF0 && B <= 0xF4) {
            Len = 4;
            if (B == 0xF0) Lo = 0x90;
            if (B == 0xF4) Hi = 0x8F;
        } else {
            return false;
        }
        if (I + Len > S.size()) return false;
        const auto B1 = static_cast<unsigned char>(S[I + 1]);
        if (B1 < Lo || B1 > Hi) return false;
        for (std::size_t K = 2; K < Len; ++K)
            if ((static_cast<unsigned char>(S[I + K]) & 0xC0) != 0x80) return false;
        I += Len;
    }
    return true;
}

bool HasLoneSurrogate(std::u16string_view T) {
    for (std::size_t I = 0; I < T.size(); ++I) {
        if (T[I] >= 0xD800 && T[I] <= 0xDBFF && I + 1 < T.size() && T[I + 1] >= 0xDC00 && T[I + 1] <= 0xDFFF)
            ++I;
        else if (T[I] >= 0xD800 && T[I] <= 0xDFFF)
            return true;
    }
    return false;
}

void CheckNormalized(std::u16string_view Text) {
    const std::u16string N = NormalizeLineBreaks(Text);
    if (Text.empty()) {
        FUZZ_CHECK(N.empty());
        return;
    }
    FUZZ_CHECK(N.size() >= 2 && N.ends_with(u"\r\n"));
    for (std::size_t I = 0; I < N.size(); ++I) {
        if (N[I] == u'\r') FUZZ_CHECK(I + 1 < N.size() && N[I + 1] == u'\n');
        if (N[I] == u'\n') FUZZ_CHECK(I > 0 && N[I - 1] == u'\r');
    }
    // Normalising twice changes nothing.
    FUZZ_CHECK(NormalizeLineBreaks(N) == N);
}

// Every decoded text encodes to valid UTF-8; without lone surrogates it comes back unchanged.
void CheckEncodes(std::u16string_view Text) {
    const std::string Utf8 = ToUtf8(Text);
    FUZZ_CHECK(IsValidUtf8(Utf8));
    if (!HasLoneSurrogate(Text)) FUZZ_CHECK(FromUtf8(Utf8) == Text);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::string_view Bytes(reinterpret_cast<const char*>(Data), Size);

    // Standard input and -e: UTF-8 whatever the bytes.
    const std::u16string Utf8Text = FromUtf8(Bytes);
    FUZZ_CHECK(Utf8Text.size() <= Bytes.size());
    FUZZ_CHECK(!HasLoneSurrogate(Utf8Text));
    if (IsValidUtf8(Bytes)) FUZZ_CHECK(ToUtf8(Utf8Text) == Bytes);
    CheckEncodes(Utf8Text);
    CheckNormalized(Utf8Text);

    // A file: the encoding is detected.
    const std::u16string FileText = DecodeText(Bytes);
    CheckEncodes(FileText);
    CheckNormalized(FileText);

    // A UTF-16LE file with its byte-order mark, odd lengths included.
    std::string Utf16File = "\xFF\xFE";
    Utf16File.append(Bytes);
    const std::u16string Utf16Text = DecodeText(Utf16File);
    FUZZ_CHECK(Utf16Text.size() == (Size + 1) / 2);
    for (std::size_t I = 0; I + 1 < Size; I += 2)
        FUZZ_CHECK(Utf16Text[I / 2] == static_cast<char16_t>(Data[I] | (Data[I + 1] << 8)));
    if (Size % 2 != 0) FUZZ_CHECK(Utf16Text.back() == u'\uFFFD');
    CheckEncodes(Utf16Text);
    CheckNormalized(Utf16Text);
    return 0;
}
