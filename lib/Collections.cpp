#include "Collections.h"

TCharSet::TCharSet(std::u16string_view Chars) : TSet(static_cast<std::int32_t>(Chars.size())) {
    Add(Chars);
}

TCharSet::TCharSet(char16_t FromChar, char16_t ToChar) : TSet(ToChar - FromChar + 1) {
    Add(FromChar, ToChar);
}

std::int32_t TCharSet::Add(char16_t C) {
    SetMember(C);
    return TSet::Add(C);
}

void TCharSet::Add(std::u16string_view Chars) {
    for (char16_t C : Chars)
        Add(C);
}

// The counter is wider than char16_t so that a range ending at U+FFFF stops.
void TCharSet::Add(char16_t FromChar, char16_t ToChar) {
    for (std::int32_t C = FromChar; C <= ToChar; ++C)
        Add(static_cast<char16_t>(C));
}

void TCharSet::Add(const TCharSet& Source) {
    for (std::int32_t I = 0, N = Source.Count(); I < N; ++I)
        Add(Source[I]);
}

std::int32_t TCharSet::Include(char16_t C) {
    return Contains(C) ? -1 : Add(C);
}

void TCharSet::Include(std::u16string_view Chars) {
    for (char16_t C : Chars)
        Include(C);
}

void TCharSet::Include(char16_t FromChar, char16_t ToChar) {
    for (std::int32_t C = FromChar; C <= ToChar; ++C)
        Include(static_cast<char16_t>(C));
}

void TCharSet::Include(const TCharSet& List) {
    for (std::int32_t I = 0, N = List.Count(); I < N; ++I)
        Include(List[I]);
}

void TCharSet::Clear() {
    TSet::Clear();
    FBlockOf.fill(0);
    FBlocks.clear();
}

void TCharSet::Delete(std::int32_t Index) {
    const char16_t C = FData[Index];
    TSet::Delete(Index);
    if (TList::IndexOf(C) == -1) ResetMember(C); // a duplicate keeps it a member
}

void TCharSet::Assign(const TList<char16_t>& Source, std::int32_t FromIndex, std::int32_t ToIndex) {
    TSet::Assign(Source, FromIndex, ToIndex);
    Rebuild();
}

void TCharSet::Rebuild() {
    FBlockOf.fill(0);
    FBlocks.clear();
    for (char16_t C : FData)
        SetMember(C);
}

void TCharSet::SetMember(char16_t C) {
    std::uint16_t& Block = FBlockOf[C >> 8];
    if (Block == 0) {
        FBlocks.push_back({});
        Block = static_cast<std::uint16_t>(FBlocks.size());
    }
    FBlocks[Block - 1u][(C & 0xFF) >> 6] |= std::uint64_t{1} << (C & 63);
}

// A block left empty keeps its place; only Clear and Rebuild drop blocks.
void TCharSet::ResetMember(char16_t C) {
    if (const std::uint16_t Block = FBlockOf[C >> 8])
        FBlocks[Block - 1u][(C & 0xFF) >> 6] &= ~(std::uint64_t{1} << (C & 63));
}

const TCharSet& DecDigits() {
    static const TCharSet Set(u'0', u'9');
    return Set;
}

const TCharSet& HexDigits() {
    static const TCharSet Set = [] {
        TCharSet S(DecDigits());
        S.Add(u'A', u'F');
        return S;
    }();
    return Set;
}

const TCharSet& BinDigits() {
    static const TCharSet Set(u"01");
    return Set;
}

const TCharSet& RomanDigits() {
    static const TCharSet Set(u"IVXLCDM");
    return Set;
}

const TCharSet& LatinLetters() {
    static const TCharSet Set = [] {
        TCharSet S(u'a', u'z');
        S.Add(u'A', u'Z');
        return S;
    }();
    return Set;
}

// Both cases run over the whole block: final sigma U+03C2 and the unassigned U+03A2 are in.
const TCharSet& GreekLetters() {
    static const TCharSet Set = [] {
        TCharSet S(u'\u03B1', u'\u03C9');
        S.Add(u'\u0391', u'\u03A9');
        return S;
    }();
    return Set;
}

// The 32 basic letters of each case; U+0401 and U+0451 are not among them.
const TCharSet& CyrillicLetters() {
    static const TCharSet Set = [] {
        TCharSet S(u'\u0430', u'\u044F');
        S.Add(u'\u0410', u'\u042F');
        return S;
    }();
    return Set;
}
