// The settings file reader and writer (TIniFileEx) on arbitrary file contents:
// the input bytes are the file. Every typed read runs on the keys the file
// holds and on the calculator's own keys; then a few values are written, in
// sections and under keys picked by a hash of the input.
//
// Beyond "no crash, no hang, no leak": typed reads stay in their ranges or give
// the default, a rectangle read with an envelope lies inside it, every value
// written reads back (a text with its line breaks as spaces and trimmed), and
// every key that was not written reads as it did before, in whatever encoding
// the file came.
#include "ExtIni.h"
#include "FuzzCheck.h"
#include "Parse.Utils.h"
#include "Utils.h" // the shell's (app/), for IsValidFileName

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace {
QString GFile;

constexpr std::size_t MaxProbes = 32; // keys of the file compared before and after writing
constexpr std::size_t ReadProbes =
    6; // keys every typed read runs on: as many of the file's first and of ours
const char* const OwnSections[] = {"Settings", "Keyboard"};
const char* const OwnKeys[] = {"FontName",  "FontSize",  "FontColor",     "FontStyle",
                               "BackColor", "Maximized", "FormLeft",      "FormBottom",
                               "OnTop",     "Menu",      "ParserEvaluate"};

struct TProbe {
    QString Section;
    QString Key;
};

// The sections and keys as a simple reading of the lines finds them; what
// counts as a key or section is the reader's business, so some probes miss.
std::vector<TProbe> Probes(const QString& Text) {
    std::vector<TProbe> P;
    QString Section = QStringLiteral("Default");
    for (QStringView Line : QStringView(Text).split(u'\n')) {
        if (P.size() >= MaxProbes) break;
        const QStringView T = Line.trimmed();
        if (T.startsWith(u'[') && T.contains(u']'))
            Section = T.mid(1, T.indexOf(u']') - 1).trimmed().toString();
        else if (const qsizetype Eq = Line.indexOf(u'='); Eq > 0)
            P.push_back({Section, Line.left(Eq).trimmed().toString()});
    }
    for (const char* S : OwnSections)
        for (const char* K : OwnKeys)
            P.push_back({QString::fromLatin1(S), QString::fromLatin1(K)});
    return P;
}

// Names the calculator could write: the reader does not take every text as a key.
bool IsPlainName(const QString& Name) {
    return !Name.isEmpty() && std::all_of(Name.begin(), Name.end(), [](QChar C) {
        return (C >= u'a' && C <= u'z') || (C >= u'A' && C <= u'Z') || (C >= u'0' && C <= u'9');
    });
}

bool Same(const TProbe& A, const TProbe& B) {
    return A.Section.compare(B.Section, Qt::CaseInsensitive) == 0 &&
           A.Key.compare(B.Key, Qt::CaseInsensitive) == 0;
}

void CheckReads(TIniFileEx& Ini, const std::vector<TProbe>& Probes) {
    const TRect Envelope{0, 0, 1920, 1080};
    const std::size_t Ours = Probes.size() - std::size(OwnSections) * std::size(OwnKeys);
    for (std::size_t K = 0; K < Probes.size(); ++K) {
        if ((K >= ReadProbes && K < Ours) || K >= Ours + ReadProbes) continue;
        const TProbe& P = Probes[K];
        Ini.SetSection(P.Section);
        const int I = Ini.GetInt(P.Key, -10, 10, 99);
        FUZZ_CHECK(I == 99 || (I >= -10 && I <= 10));
        const int Style = Ini.GetFontStyle(P.Key, 5);
        FUZZ_CHECK(Style >= 0 && Style <= 7);
        const int Hotkey = Ini.GetHotkey(P.Key, 70000);
        FUZZ_CHECK(Hotkey == 70000 || (Hotkey >= 0 && Hotkey <= 65535));
        const double F = Ini.GetFloat(P.Key, -1.0, 1.0, 5.0);
        FUZZ_CHECK(F == 5.0 || (F >= -1.0 && F <= 1.0));
        (void)Ini.GetBool(P.Key, true);
        (void)Ini.GetChar(P.Key, u'x');
        (void)Ini.GetColor(P.Key, clBtnFace);
        const QString Name = Ini.GetFilename(P.Key, QStringLiteral("default"));
        FUZZ_CHECK(Name == QLatin1String("default") || IsValidFileName(Name));
        const TRect R = Ini.GetRect(P.Key, TRect{10, 10, 20, 20}, Envelope);
        FUZZ_CHECK(R.Left >= Envelope.Left && R.Right <= Envelope.Right && R.Left <= R.Right);
        FUZZ_CHECK(R.Top >= Envelope.Top && R.Bottom <= Envelope.Bottom && R.Top <= R.Bottom);
        (void)Ini.GetPoint(P.Key, QPoint(1, 2));
        QStringList Strings;
        Ini.RestoreStrings(P.Key, Strings, 0); // a huge Count must not make it hang
        QFont Font;
        QColor Color;
        Ini.RestoreFont(P.Key, 8, 30, Font, Color);
        FUZZ_CHECK(Font.pointSize() == QFont().pointSize() ||
                   (Font.pointSize() >= 8 && Font.pointSize() <= 30));
        QPen Pen;
        Ini.RestorePen(P.Key, 1, 5, Pen);
    }
}

// A text for a value: some input bytes as UTF-8, so without lone surrogates.
QString ValueText(std::string_view Bytes, std::size_t Hash) {
    if (Bytes.empty()) return {};
    const std::size_t At = Hash % Bytes.size();
    const std::string_view Part = Bytes.substr(At, 40);
    return QString::fromUtf8(Part.data(), static_cast<qsizetype>(Part.size()));
}

QString Expected(QString Value) {
    return Value.replace(u'\r', u' ').replace(u'\n', u' ').trimmed();
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Its own arguments, so that Qt takes none of libFuzzer's.
    static int Argc = 1;
    static char Name[] = "fuzz_ini";
    static char* Argv[] = {Name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QGuiApplication(Argc, Argv); // for the palette and fonts; lives as long as the process
    GFile =
        QDir::tempPath() + QStringLiteral("/sumtra-fuzz-ini-%1.ini").arg(QCoreApplication::applicationPid());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::string_view Bytes(reinterpret_cast<const char*>(Data), Size);
    {
        QFile File(GFile);
        FUZZ_CHECK(File.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(File.write(Bytes.data(), static_cast<qint64>(Size)) == static_cast<qint64>(Size));
    }
    TIniFileEx Ini(GFile);
    const std::vector<TProbe> All = Probes(
        QString::fromStdU16String(DecodeText(Bytes)).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    CheckReads(Ini, All);

    std::vector<std::optional<QString>> Before;
    for (const TProbe& P : All)
        Before.push_back(Ini.ReadValue(P.Section, P.Key));

    // What is written: the calculator's sections and keys, and some of the file's own.
    std::vector<TProbe> Plain;
    for (const TProbe& P : All)
        if (IsPlainName(P.Section) && IsPlainName(P.Key)) Plain.push_back(P);
    const std::size_t Hash = std::hash<std::string_view>()(Bytes);
    auto Pick = [&](std::size_t Salt) { return Plain[(Hash >> Salt) % Plain.size()]; };
    const TProbe IntAt = Pick(3), TextAt = Pick(11), CharAt = Pick(19);
    const int IntValue = static_cast<int>(static_cast<std::uint32_t>(Hash));
    const QString Text = ValueText(Bytes, Hash >> 7);
    const QChar Char(static_cast<char16_t>(Hash >> 13));
    const TRect Rect{static_cast<int>(Hash % 4000) - 2000, 7, 2147483647, -2147483647};
    const TProbe RectAt{QStringLiteral("Keyboard"), QStringLiteral("Form")};
    double Float = 0;
    std::memcpy(&Float, &Hash, sizeof Float);
    if (!std::isnormal(Float)) Float = -0.125; // no NaN, infinity or subnormal

    Ini.SetSection(IntAt.Section);
    Ini.SetInt(IntAt.Key, IntValue);
    Ini.SetSection(TextAt.Section);
    Ini.SetStr(TextAt.Key, Text);
    Ini.SetSection(CharAt.Section);
    Ini.SetChar(CharAt.Key, Char);
    Ini.SetSection(RectAt.Section);
    Ini.SetRect(RectAt.Key, Rect);
    Ini.SetFloat(QStringLiteral("Float"), Float);
    Ini.SaveStrings(QStringLiteral("Item"), {Text, QString(), QStringLiteral("x")}, 0);

    // Written values read back; a later write of the same key wins.
    std::vector<TProbe> Written = {IntAt,
                                   TextAt,
                                   CharAt,
                                   {RectAt.Section, QStringLiteral("FormLeft")},
                                   {RectAt.Section, QStringLiteral("FormTop")},
                                   {RectAt.Section, QStringLiteral("FormRight")},
                                   {RectAt.Section, QStringLiteral("FormBottom")},
                                   {RectAt.Section, QStringLiteral("Float")},
                                   {RectAt.Section, QStringLiteral("ItemCount")},
                                   {RectAt.Section, QStringLiteral("Item1")},
                                   {RectAt.Section, QStringLiteral("Item2")},
                                   {RectAt.Section, QStringLiteral("Item3")}};
    auto WrittenLater = [&](std::size_t I) {
        for (std::size_t J = I + 1; J < Written.size(); ++J)
            if (Same(Written[I], Written[J])) return true;
        return false;
    };
    if (!WrittenLater(0)) {
        Ini.SetSection(IntAt.Section);
        FUZZ_CHECK(Ini.GetInt(IntAt.Key, 0) == IntValue);
    }
    if (!WrittenLater(1)) FUZZ_CHECK(Ini.ReadValue(TextAt.Section, TextAt.Key) == Expected(Text));
    const bool CharReads = !Char.isSpace() && !Char.isSurrogate(); // what trimming or UTF-8 would lose
    if (!WrittenLater(2) && (CharReads || Char == u' ' || Char == u'\t' || Char.isNull())) {
        Ini.SetSection(CharAt.Section);
        FUZZ_CHECK(Ini.GetChar(CharAt.Key, u'?') == Char);
    }
    Ini.SetSection(RectAt.Section);
    FUZZ_CHECK(Ini.GetRect(RectAt.Key, TRect{}) == Rect);
    FUZZ_CHECK(Ini.GetFloat(QStringLiteral("Float"), 0.0) == Float);
    QStringList Items;
    Ini.RestoreStrings(QStringLiteral("Item"), Items, 0);
    FUZZ_CHECK((Items == QStringList{Expected(Text), QString(), QStringLiteral("x")}));

    // Everything else is as it was.
    for (std::size_t I = 0; I < All.size(); ++I) {
        bool WasWritten = false;
        for (const TProbe& W : Written)
            WasWritten = WasWritten || Same(All[I], W);
        if (!WasWritten) FUZZ_CHECK(Ini.ReadValue(All[I].Section, All[I].Key) == Before[I]);
    }
    return 0;
}
