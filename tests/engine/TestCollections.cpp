#include "Collections.h"
#include "TestSupport.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {
template <typename T>
std::vector<T> Items(const TList<T>& L) {
    return {L.begin(), L.end()};
}

std::u16string Chars(const TCharSet& S) {
    return {S.begin(), S.end()};
}
} // namespace

TEST(TList, GrowsTo32ThenDoubles) {
    struct TGrowthCase {
        int Adds;
        std::int32_t Capacity;
    };
    constexpr TGrowthCase Cases[] = {{0, 0}, {1, 32}, {32, 32}, {33, 64}, {65, 128}};
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Adds);
        TOrdered<int> L;
        for (int I = 0; I < C.Adds; ++I)
            EXPECT_EQ(L.Add(I * 3), I);
        EXPECT_EQ(L.Capacity(), C.Capacity);
        for (int I = 0; I < C.Adds; ++I)
            ASSERT_EQ(L[I], I * 3);
    }
}

TEST(TList, GrowsFromGivenCapacityByDoubling) {
    TOrdered<int> L(5);
    for (int I = 0; I < 6; ++I)
        L.Add(I);
    EXPECT_EQ(L.Capacity(), 10);
}

// Regression: the item was read after growing had moved the storage.
TEST(TList, AddsItsOwnItemWhileGrowing) {
    TOrdered<std::string> L;
    for (int I = 0; I < 32; ++I)
        L.Add(std::string(40, static_cast<char>('a' + I % 26)));
    L.Add(L[0]);
    L.Add(L);
    ASSERT_EQ(L.Count(), 66);
    EXPECT_EQ(L[32], std::string(40, 'a'));
    EXPECT_EQ(L[65], std::string(40, 'a'));
    EXPECT_EQ(L.Capacity(), 128);
}

TEST(TList, AssignCopiesARangeAndFitsCapacity) {
    TOrdered<int> Source;
    for (int I = 0; I < 10; ++I)
        Source.Add(I);
    TOrdered<int> L;
    L.Assign(Source, 4, 6);
    EXPECT_EQ(Items(L), (std::vector<int>{4, 5, 6}));
    EXPECT_EQ(L.Capacity(), 3);
    L.Assign(Source, 10, 9);
    EXPECT_EQ(L.Count(), 0);
    EXPECT_EQ(L.Capacity(), 0);
    Source.Assign(Source, 8, 9);
    EXPECT_EQ(Items(Source), (std::vector<int>{8, 9}));
}

TEST(TList, DeleteKeepsOrderOnlyInTOrdered) {
    struct TDeleteCase {
        int Index;
        std::vector<int> Set, Ordered;
    };
    const TDeleteCase Cases[] = {
        {0, {4, 1, 2, 3}, {1, 2, 3, 4}},
        {2, {0, 1, 4, 3}, {0, 1, 3, 4}},
        {4, {0, 1, 2, 3}, {0, 1, 2, 3}},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Index);
        TSet<int> S;
        TOrdered<int> O;
        for (int I = 0; I < 5; ++I) {
            S.Add(I);
            O.Add(I);
        }
        S.Delete(C.Index);
        O.Delete(C.Index);
        EXPECT_EQ(Items(S), C.Set);
        EXPECT_EQ(Items(O), C.Ordered);
    }
}

TEST(TList, RemoveAnswersTheIndexOrMinusOne) {
    TOrdered<int> L;
    for (int V : {7, 8, 7})
        L.Add(V);
    EXPECT_EQ(L.Remove(7), 0);
    EXPECT_EQ(Items(L), (std::vector<int>{8, 7}));
    EXPECT_EQ(L.Remove(9), -1);
    EXPECT_EQ(L.Count(), 2);
}

TEST(TListEnumerator, VisitsEachItemOnceAndStopsAtTheLast) {
    TOrdered<int> L;
    EXPECT_FALSE(L.GetEnumerator().MoveNext());
    for (int V : {5, 6, 7})
        L.Add(V);
    auto E = L.GetEnumerator();
    std::vector<int> Seen;
    while (E.MoveNext())
        Seen.push_back(E.Current());
    EXPECT_EQ(Seen, (std::vector<int>{5, 6, 7}));
    EXPECT_FALSE(E.MoveNext());
    EXPECT_EQ(E.Current(), 7);
}

TEST(TCharSet, AddKeepsDuplicatesIncludeDoesNot) {
    TCharSet Added(u"abca");
    EXPECT_EQ(Chars(Added), u"abca");
    TCharSet Included;
    Included.Include(u"abca");
    EXPECT_EQ(Chars(Included), u"abc");
    EXPECT_EQ(Included.Include(u'b'), -1);
    EXPECT_EQ(Included.Include(u'z'), 3);
    Included.Include(TCharSet(u"zy"));
    EXPECT_EQ(Chars(Included), u"abczy");
}

TEST(TCharSet, RangesAreInclusiveAndEmptyWhenReversed) {
    struct TRangeCase {
        char16_t From, To;
        std::int32_t Count;
    };
    constexpr TRangeCase Cases[] = {
        {u'a', u'c', 3}, {u'c', u'a', 0}, {u'x', u'x', 1}, {u'\xFFFD', u'\xFFFF', 3}};
    for (const auto& C : Cases) {
        SCOPED_TRACE(static_cast<int>(C.From));
        TCharSet Created(C.From, C.To), Added, Included;
        Added.Add(C.From, C.To);
        Included.Include(C.From, C.To);
        EXPECT_EQ(Created.Count(), C.Count);
        EXPECT_EQ(Added.Count(), C.Count);
        EXPECT_EQ(Included.Count(), C.Count);
        EXPECT_EQ(Created.Contains(C.To), C.Count > 0);
    }
}

TEST(TCharSet, MembershipFollowsEveryChange) {
    TCharSet S(u"abab");
    S.Delete(0);
    EXPECT_TRUE(S.Contains(u'a')) << "a second copy is still there";
    EXPECT_EQ(S.Remove(u'a'), 2);
    EXPECT_FALSE(S.Contains(u'a'));
    EXPECT_EQ(S.IndexOf(u'a'), -1);
    EXPECT_EQ(S.IndexOf(u'b'), 0);
    S.Assign(TCharSet(u"xyz"), 1, 2);
    EXPECT_EQ(Chars(S), u"yz");
    EXPECT_FALSE(S.Contains(u'b'));
    EXPECT_TRUE(S.Contains(u'z'));
    S.Clear();
    EXPECT_FALSE(S.Contains(u'y'));
    EXPECT_EQ(S.Add(u'q'), 0);
    EXPECT_TRUE(S.Contains(u'q'));
    TCharSet Copy = S;
    EXPECT_TRUE(Copy.Contains(u'q'));
}

// Membership is kept in blocks of 256 characters that appear as they are
// needed; checked against a plain count of each character's copies over random
// changes that reach every block, both ends of a block and U+FFFF.
TEST(TCharSet, MembershipMatchesTheItemsOverRandomChanges) {
    std::uint64_t Seed = 0x9E3779B97F4A7C15ull;
    const auto Next = [&Seed] {
        Seed ^= Seed << 13;
        Seed ^= Seed >> 7;
        Seed ^= Seed << 17;
        return Seed;
    };
    const auto AnyChar = [&Next] {
        const std::uint64_t R = Next();
        const char16_t Block = static_cast<char16_t>((R >> 8) % 4 == 0 ? (R >> 16) % 256 : (R >> 16) % 2 * 255);
        const char16_t Low[] = {0, 1, 63, 64, 127, 128, 191, 192, 254, 255};
        return static_cast<char16_t>(Block << 8 | (R % 2 ? Low[(R >> 1) % 10] : (R >> 1) % 256));
    };
    TCharSet S;
    std::vector<int> Copies(65536, 0);
    for (int Step = 0; Step < 20000; ++Step) {
        const std::uint64_t Op = Next() % 100;
        if (Op < 45) {
            const char16_t C = AnyChar();
            S.Add(C);
            ++Copies[C];
        } else if (Op < 60) {
            const char16_t C = AnyChar();
            if (S.Include(C) >= 0) ++Copies[C];
        } else if (Op < 90 && S.Count() > 0) {
            const auto Index = static_cast<std::int32_t>(Next() % static_cast<std::uint64_t>(S.Count()));
            --Copies[S[Index]];
            S.Delete(Index);
        } else if (Op < 92) {
            S.Clear();
            std::fill(Copies.begin(), Copies.end(), 0);
        } else if (Op < 94 && S.Count() > 1) {
            const TCharSet Source = S; // a copy keeps its members
            S.Assign(Source, 1, Source.Count() - 1);
            --Copies[Source[0]];
        } else {
            const char16_t C = AnyChar();
            ASSERT_EQ(S.Contains(C), Copies[C] > 0) << "step " << Step << ", U+" << std::hex << int(C);
        }
    }
    for (std::int32_t C = 0; C < 65536; ++C)
        ASSERT_EQ(S.Contains(static_cast<char16_t>(C)), Copies[C] > 0) << "U+" << std::hex << C;
}

TEST(GlobalCharSets, HoldTheirCharactersInOrder) {
    struct TSetCase {
        const char* Name;
        const TCharSet& Set;
        std::int32_t Count;
        char16_t First, Last;
    };
    const TSetCase Cases[] = {
        {"DecDigits", DecDigits(), 10, u'0', u'9'},
        {"HexDigits", HexDigits(), 16, u'0', u'F'},
        {"BinDigits", BinDigits(), 2, u'0', u'1'},
        {"RomanDigits", RomanDigits(), 7, u'I', u'M'},
        {"LatinLetters", LatinLetters(), 52, u'a', u'Z'},
        {"GreekLetters", GreekLetters(), 50, u'\u03B1', u'\u03A9'},
        {"CyrillicLetters", CyrillicLetters(), 64, u'\u0430', u'\u042F'},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        ASSERT_EQ(C.Set.Count(), C.Count);
        EXPECT_EQ(C.Set[0], C.First);
        EXPECT_EQ(C.Set[C.Count - 1], C.Last);
    }
    EXPECT_EQ(LatinLetters()[26], u'A');
    EXPECT_TRUE(GreekLetters().Contains(u'\u03C2'));
    EXPECT_TRUE(GreekLetters().Contains(u'\u03A2'));
    for (char16_t C : std::u16string_view(u"abcdef\u0401\u0451"))
        EXPECT_FALSE(HexDigits().Contains(C) || CyrillicLetters().Contains(C)) << static_cast<int>(C);
}
