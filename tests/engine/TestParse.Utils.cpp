// The program output, positions to rows and columns, and program-file decoding.
#include "Parse.Utils.h"
#include "TestSupport.h"

namespace {
std::vector<std::string> LinesOf(const TStrings& S) {
    std::vector<std::string> L;
    for (int I = 0; I < S.Count(); ++I)
        L.push_back(U8(S.Get(I)));
    return L;
}
using TLines = std::vector<std::string>;
} // namespace

TEST(ProgramOutput, PreserveKeepsRunsApartWithTheDivider) {
    TProgramOutput O;
    O.Reset();
    O.Emit(u"a");
    O.Reset();
    O.Emit(u"b");
    EXPECT_EQ(LinesOf(O.Strings()), TLines{"b"});
    O.SetPreserve(true);
    TProgramOutput Empty;
    Empty.SetPreserve(true);
    Empty.Reset();
    EXPECT_EQ(Empty.Strings().Count(), 0); // no divider before the first run
    O.Reset();
    O.Emit(u"c");
    EXPECT_EQ(LinesOf(O.Strings()), (TLines{"b", std::string(40, '='), "c"}));
}

TEST(ProgramOutput, SilentChangesNothing) {
    for (bool Preserve : {false, true}) {
        SCOPED_TRACE(Preserve);
        TProgramOutput O;
        O.Emit(u"kept");
        O.SetPreserve(Preserve);
        O.SetSilent(true);
        O.Reset();
        O.Clear();
        O.Emit(u"dropped");
        EXPECT_EQ(LinesOf(O.Strings()), TLines{"kept"});
    }
}

TEST(ProgramOutput, ConnectMovesLinesAndNeverFreesTheOutsideList) {
    TStringList First, Second;
    First.Add(u"old");
    {
        TProgramOutput O;
        O.Emit(u"1");
        O.Emit(u"2");
        O.Connect(First);
        EXPECT_EQ(LinesOf(First), (TLines{"1", "2"}));
        O.Emit(u"3");
        O.Connect(Second);
        EXPECT_EQ(LinesOf(Second), (TLines{"1", "2", "3"}));
        EXPECT_EQ(First.Count(), 3); // the previous list keeps its lines
        O.Disconnect();
        O.Emit(u"4");
        EXPECT_EQ(LinesOf(O.Strings()), (TLines{"1", "2", "3", "4"}));
        EXPECT_EQ(Second.Count(), 3);
    }
    EXPECT_EQ(Second.Count(), 3); // still alive after the output is gone
}

TEST(PosToRowCol, OnlyCrLfStartsARow) {
    struct TCase {
        std::u16string_view Text;
        int Pos, Row, Col;
    };
    const TCase Cases[] = {
        {u"abc", 1, 1, 1},   {u"abc", 3, 1, 3},       {u"a\r\nb", 4, 2, 1}, {u"a\nb", 3, 1, 3},
        {u"a\rb", 3, 1, 3},  {u"\r\n\r\nx", 5, 3, 1}, {u"\tx", 2, 1, 2},    {u"ab", 9, 1, 9},
        {u"a\r\n", 3, 2, 1}, {u"", 0, 1, 1},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(U8(C.Text) + " @" + std::to_string(C.Pos));
        TRowCol R = PosToRowCol(C.Text, C.Pos);
        EXPECT_EQ(R.Row, C.Row);
        EXPECT_EQ(R.Col, C.Col);
    }
}

TEST(DecodeText, ChoosesTheEncodingByMarkAndNulBytes) {
    struct TCase {
        const char* Name;
        std::string Bytes;
        std::u16string Text;
    };
    const TCase Cases[] = {
        {"UTF-16LE with mark",
         std::string("\xFF\xFE"
                     "a\0\xC0\x03",
                     6),
         u"a\u03C0"},
        {"UTF-16LE by NUL bytes", std::string("1\0+\0", 4), u"1+"},
        {"odd length keeps a replacement",
         std::string("\xFF\xFE"
                     "1\0"
                     "2",
                     5),
         u"1\uFFFD"},
        {"UTF-8 with mark", "\xEF\xBB\xBF\xCF\x80", u"\u03C0"},
        {"UTF-8 mark wins over NUL bytes",
         std::string("\xEF\xBB\xBF"
                     "a\0",
                     5),
         std::u16string(u"a\0", 2)},
        {"plain UTF-8", "x := 2", u"x := 2"},
        {"invalid UTF-8", "a\xC3(", u"a\uFFFD("},
        {"empty", "", u""},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        EXPECT_EQ(DecodeText(C.Bytes), C.Text);
    }
}

TEST(NormalizeLineBreaks, EndsEveryLineWithCrLf) {
    const std::pair<std::u16string_view, std::u16string_view> Cases[] = {
        {u"", u""},
        {u"a", u"a\r\n"},
        {u"a\r\n", u"a\r\n"},
        {u"a\nb", u"a\r\nb\r\n"},
        {u"a\rb", u"a\r\nb\r\n"},
        {u"a\n\nb", u"a\r\n\r\nb\r\n"},
        {u"a\r\r\n", u"a\r\n\r\n"},
    };
    for (auto [In, Out] : Cases) {
        SCOPED_TRACE(U8(In));
        EXPECT_EQ(NormalizeLineBreaks(In), Out);
    }
}

// Long ASCII runs are copied several units at a time: a break, or a unit that
// only looks like one in its other byte, must be found at every offset.
TEST(NormalizeLineBreaks, FindsABreakAtEveryOffsetOfARun) {
    const std::pair<std::u16string_view, std::u16string_view> Units[] = {
        {u"\r", u"\r\n"}, {u"\n", u"\r\n"}, {u"\r\n", u"\r\n"}, {u"\u0D0A", u"\u0D0A"}, {u"\u0A0D", u"\u0A0D"},
    };
    for (auto [Unit, Normal] : Units)
        for (std::size_t At = 0; At <= 9; ++At) {
            const std::u16string Before(At, u'x'), After(9 - At, u'y');
            SCOPED_TRACE(std::to_string(At) + " " + U8(Normal));
            EXPECT_EQ(NormalizeLineBreaks(Before + std::u16string(Unit) + After),
                      Before + std::u16string(Normal) + After + (After.empty() && Normal == u"\r\n" ? u"" : u"\r\n"));
        }
}

TEST(ReadTextFile, ReportsMissingFilesAndDirectories) {
    EXPECT_THROW(ReadTextFile("/nonexistent/sumtra/file.txt"), std::runtime_error);
    EXPECT_THROW(ReadTextFile(std::filesystem::temp_directory_path()), std::runtime_error);
}
