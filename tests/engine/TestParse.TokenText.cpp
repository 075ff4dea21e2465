#include "Parse.TokenText.h"
#include "TestSupport.h"

// Texts around the in-place limit of four units, and short texts holding the
// units that mark padding or a heap block, must all read back as given through
// copies, moves and assignments in every direction.
TEST(TTokenText, KeepsEveryTextThroughCopiesAndMoves) {
    const std::u16string Texts[] = {
        u"",
        u"x",
        u"ab",
        u"3.5",
        u"sqrt",
        u"12345",
        u"Unknown identifier",
        std::u16string(1, u'\0'),
        std::u16string(u"a\0b", 3),
        std::u16string(u"abc\0", 4),
        u"\uFFFF",
        u"ab\uFFFF",
        u"\uFFFFabc",
        u"\U0001D70B\u00B0",
        u"\u00A0\u00A0\u00A0\u00A0",
    };
    for (const auto& A : Texts)
        for (const auto& B : Texts) {
            SCOPED_TRACE(U8(A) + " / " + U8(B));
            TTokenText Ta(A), Tb(B);
            ASSERT_EQ(Ta.View(), A);
            EXPECT_EQ(Ta.size(), A.size());
            EXPECT_EQ(Ta.empty(), A.empty());
            EXPECT_EQ(Ta == Tb, A == B);
            TTokenText Copy(Ta);
            Copy = Tb;
            EXPECT_EQ(Copy.View(), B);
            EXPECT_EQ(Ta.View(), A);
            TTokenText Moved(std::move(Copy));
            EXPECT_EQ(Moved.View(), B);
            EXPECT_TRUE(Copy.empty());
            Moved = std::move(Ta);
            EXPECT_EQ(Moved.View(), A);
            Moved.assign(B);
            EXPECT_EQ(Moved.str(), B);
            Moved = Moved;
            EXPECT_EQ(Moved.View(), B);
        }
    EXPECT_EQ(sizeof(TTokenText), 8u);
}
