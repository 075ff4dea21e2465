// Runs every program in tests/programs through the runner and compares its
// output with the "// expect: " comments of the file, in order. A file may
// start with "// format: bin|hex|roman|time|angle" and "// precision: N".
#include "Parse.Infix.h"
#include "TestSupport.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {
struct TProgramCase {
    std::filesystem::path File;
    std::vector<std::string> Expected;
    TNumberFormat Format = nfDec;
    int Precision = 5;
};

TProgramCase ReadCase(const std::filesystem::path& File) {
    TProgramCase C{File, {}};
    std::ifstream In(File);
    const std::string Expect = "// expect: ";
    for (std::string Line; std::getline(In, Line);) {
        if (auto At = Line.find(Expect); At != std::string::npos)
            C.Expected.push_back(Line.substr(At + Expect.size()));
        if (Line.starts_with("// precision: ")) C.Precision = std::stoi(Line.substr(14));
        if (Line.starts_with("// format: ")) {
            std::string F = Line.substr(11);
            C.Format = F == "bin"     ? nfBin
                       : F == "hex"   ? nfHex
                       : F == "roman" ? nfRoman
                       : F == "time"  ? nfTime
                       : F == "angle" ? nfAngle
                                      : nfDec;
        }
    }
    return C;
}
} // namespace

TEST(Programs, EveryProgramWritesItsExpectedLines) {
    std::vector<std::filesystem::path> Files;
    for (const auto& Entry : std::filesystem::directory_iterator(SUMTRA_TEST_PROGRAMS))
        if (Entry.path().extension() == ".txt") Files.push_back(Entry.path());
    std::sort(Files.begin(), Files.end());
    ASSERT_GE(Files.size(), 20u);
    for (const auto& File : Files) {
        SCOPED_TRACE(File.filename().string());
        TProgramCase C = ReadCase(File);
        GlobalIdents().Clear();
        RegisterBuiltins(GlobalIdents());
        TProgramParser Parser;
        Parser.SetNumberFormat(C.Format);
        Parser.SetPrecision(C.Precision);
        bool Ok = Parser.ExecuteFile(File, false);
        std::vector<std::string> Actual;
        for (int I = 0; I < Parser.Output().Strings().Count(); ++I)
            Actual.push_back(U8(Parser.Output().Strings().Get(I)));
        EXPECT_EQ(Actual, C.Expected);
        bool ExpectsError = !C.Expected.empty() && C.Expected.back().find("(row ") != std::string::npos;
        EXPECT_EQ(Ok, !ExpectsError);
    }
}
