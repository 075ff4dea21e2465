#include "Parse.Utils.h"

#include "Utils.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

void TStrings::Assign(const TStrings& Source) {
    if (&Source == this) return;
    Clear();
    for (std::int32_t I = 0, N = Source.Count(); I < N; ++I)
        Add(Source.Get(I));
}

TProgramOutput::TProgramOutput()
    : FOwnStrings(std::make_unique<TStringList>()), FStrings(FOwnStrings.get()) {}

void TProgramOutput::Connect(TStrings& Strings) {
    Strings.Assign(*FStrings);
    FOwnStrings.reset();
    FStrings = &Strings;
    FConnected = true;
}

void TProgramOutput::Disconnect() {
    if (!FConnected) return;
    auto Own = std::make_unique<TStringList>();
    Own->Assign(*FStrings);
    FOwnStrings = std::move(Own);
    FStrings = FOwnStrings.get();
    FConnected = false;
}

void TProgramOutput::Clear() {
    if (!FSilent) FStrings->Clear();
}

void TProgramOutput::Emit(const std::u16string& Text) {
    if (!FSilent) FStrings->Add(Text);
}

void TProgramOutput::Reset() {
    if (!FPreserve)
        Clear();
    else if (FStrings->Count() > 0)
        Emit(FDivider);
}

TRowCol PosToRowCol(std::u16string_view Text, std::int32_t Pos) {
    TRowCol R{1, 1};
    const auto N = static_cast<std::int32_t>(Text.size());
    for (std::int32_t I = 1; I < Pos;) {
        if (I < N && Text[I - 1] == u'\r' && Text[I] == u'\n') {
            ++R.Row;
            R.Col = 1;
            I += 2;
        } else {
            ++R.Col;
            ++I;
        }
    }
    return R;
}

std::u16string DecodeText(std::string_view Bytes) {
    const bool Utf16Bom = Bytes.size() >= 2 && Bytes[0] == '\xFF' && Bytes[1] == '\xFE';
    const bool Utf8Bom = Bytes.starts_with("\xEF\xBB\xBF");
    const bool HasNul = Bytes.find('\0') != std::string_view::npos;
    if (Utf16Bom || (HasNul && !Utf8Bom)) {
        if (Utf16Bom) Bytes.remove_prefix(2);
        std::u16string Text;
        Text.reserve(Bytes.size() / 2 + 1);
        for (std::size_t I = 0; I + 1 < Bytes.size(); I += 2)
            Text += static_cast<char16_t>(static_cast<unsigned char>(Bytes[I]) |
                                          (static_cast<unsigned char>(Bytes[I + 1]) << 8));
        if (Bytes.size() % 2 != 0) Text += u'\uFFFD'; // a dangling half of a code unit
        return Text;
    }
    if (Utf8Bom) Bytes.remove_prefix(3);
    return FromUtf8(Bytes);
}

std::u16string NormalizeLineBreaks(std::u16string_view Text) {
    // Every break may grow by one unit (a lone CR or LF becomes CR LF), and one CR LF may follow the end.
    std::size_t Breaks = 0;
    for (char16_t C : Text)
        Breaks += (C == u'\r' || C == u'\n');
    std::u16string Out;
    Out.resize(Text.size() + Breaks + 2);
    char16_t* D = Out.data();
    const std::size_t N = Text.size();
    for (std::size_t I = 0; I < N; ++I) {
        // Four units at a time while none of them is CR or LF (a zero unit of X ^ CR
        // or X ^ LF shows up in the borrow test of the classic has-zero trick).
        while (I + 4 <= N) {
            std::uint64_t Four;
            std::memcpy(&Four, Text.data() + I, sizeof Four);
            constexpr std::uint64_t Ones = 0x0001000100010001ull, Highs = 0x8000800080008000ull;
            const std::uint64_t Cr = Four ^ (Ones * u'\r'), Lf = Four ^ (Ones * u'\n');
            if ((((Cr - Ones) & ~Cr) | ((Lf - Ones) & ~Lf)) & Highs) break;
            std::memcpy(D, Text.data() + I, sizeof Four);
            D += 4;
            I += 4;
        }
        if (I == N) break;
        const char16_t C = Text[I];
        if (C != u'\r' && C != u'\n') {
            *D++ = C;
            continue;
        }
        *D++ = u'\r';
        *D++ = u'\n';
        if (C == u'\r' && I + 1 < N && Text[I + 1] == u'\n') ++I;
    }
    // The last line ends with a break as well.
    if (N > 0 && Text[N - 1] != u'\r' && Text[N - 1] != u'\n') {
        *D++ = u'\r';
        *D++ = u'\n';
    }
    Out.resize(static_cast<std::size_t>(D - Out.data()));
    return Out;
}

namespace {
// The path as UTF-8 for a message; on Windows string() would use the ANSI code page.
std::string Shown(const std::filesystem::path& FileName) {
    const std::u8string Text = FileName.u8string();
    return std::string(Text.begin(), Text.end());
}
} // namespace

std::u16string ReadTextFile(const std::filesystem::path& FileName) {
    std::error_code Ec;
    if (std::filesystem::is_directory(FileName, Ec))
        throw std::runtime_error("Cannot read '" + Shown(FileName) + "': it is a directory");
    std::ifstream In(FileName, std::ios::binary);
    if (!In) throw std::runtime_error("Cannot open '" + Shown(FileName) + "': " + std::strerror(errno));
    // Read in pieces up to one byte past the limit, so that an endless device
    // such as /dev/zero is refused as well.
    std::string Bytes;
    // A regular file's size spares the copies of growing piece by piece.
    if (std::filesystem::is_regular_file(FileName, Ec)) {
        const std::uintmax_t Size = std::filesystem::file_size(FileName, Ec);
        if (!Ec) Bytes.reserve(static_cast<std::size_t>(std::min<std::uintmax_t>(Size, MaxTextFileSize) + 1));
    }
    char Buffer[1 << 16];
    while (Bytes.size() <= MaxTextFileSize && In.read(Buffer, sizeof Buffer).gcount() > 0)
        Bytes.append(Buffer, static_cast<std::size_t>(In.gcount()));
    if (In.bad()) throw std::runtime_error("Cannot read '" + Shown(FileName) + "'");
    if (Bytes.size() > MaxTextFileSize)
        throw std::runtime_error("Cannot read '" + Shown(FileName) + "': it is larger than 32 MiB");
    return DecodeText(Bytes);
}
