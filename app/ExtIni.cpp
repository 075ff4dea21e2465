#include "ExtIni.h"

#include "Parse.Utils.h"
#include "Utils.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QPalette>

#include <algorithm>
#include <limits>

namespace {
constexpr int MinCoord = -2147483647;
constexpr int MaxCoord = 2147483647;

struct TSystemColor {
    int Index;
    QPalette::ColorGroup Group;
    QPalette::ColorRole Role;
};
// The system colour indexes of the stored encoding and the palette entries that play their part.
constexpr TSystemColor SystemColors[] = {
    {0, QPalette::Active, QPalette::Button},             // scroll bar
    {1, QPalette::Active, QPalette::Dark},               // desktop
    {2, QPalette::Active, QPalette::Highlight},          // active caption
    {3, QPalette::Inactive, QPalette::Highlight},        // inactive caption
    {4, QPalette::Active, QPalette::Window},             // menu
    {5, QPalette::Active, QPalette::Base},               // window
    {6, QPalette::Active, QPalette::Shadow},             // window frame
    {7, QPalette::Active, QPalette::WindowText},         // menu text
    {8, QPalette::Active, QPalette::Text},               // window text
    {9, QPalette::Active, QPalette::HighlightedText},    // caption text
    {10, QPalette::Active, QPalette::Window},            // active border
    {11, QPalette::Inactive, QPalette::Window},          // inactive border
    {12, QPalette::Active, QPalette::Mid},               // application workspace
    {13, QPalette::Active, QPalette::Highlight},         // highlight
    {14, QPalette::Active, QPalette::HighlightedText},   // highlighted text
    {15, QPalette::Active, QPalette::Button},            // button face
    {16, QPalette::Active, QPalette::Dark},              // button shadow
    {17, QPalette::Disabled, QPalette::Text},            // grey text
    {18, QPalette::Active, QPalette::ButtonText},        // button text
    {19, QPalette::Inactive, QPalette::HighlightedText}, // inactive caption text
    {20, QPalette::Active, QPalette::Light},             // button highlight
    {21, QPalette::Active, QPalette::Shadow},            // 3-D dark shadow
    {22, QPalette::Active, QPalette::Midlight},          // 3-D light
    {23, QPalette::Active, QPalette::ToolTipText},       // info text
    {24, QPalette::Active, QPalette::ToolTipBase},       // info background
    {26, QPalette::Active, QPalette::Link},              // hot light
    {27, QPalette::Active, QPalette::Highlight},         // gradient active caption
    {28, QPalette::Inactive, QPalette::Highlight},       // gradient inactive caption
    {29, QPalette::Active, QPalette::Highlight},         // menu highlight
    {30, QPalette::Active, QPalette::Window},            // menu bar
};

bool IsSection(const QString& Line, QString* Name = nullptr) {
    const QString T = Line.trimmed();
    if (!T.startsWith(u'[')) return false;
    const qsizetype Close = T.indexOf(u']');
    if (Close < 0) return false;
    if (Name) *Name = T.mid(1, Close - 1).trimmed();
    return true;
}

// The key of a "key=value" line, or an empty text for any other line.
QString KeyOf(const QString& Line) {
    const qsizetype Eq = Line.indexOf(u'=');
    if (Eq <= 0 || Line.trimmed().startsWith(u';')) return {};
    return Line.left(Eq).trimmed();
}

bool SameName(const QString& A, const QString& B) {
    return A.compare(B, Qt::CaseInsensitive) == 0;
}

std::optional<std::uint32_t> ParseHex(QStringView Digits) {
    if (Digits.isEmpty() || Digits.size() > 8) return std::nullopt;
    bool Ok = false;
    const std::uint32_t V = Digits.toUInt(&Ok, 16);
    if (!Ok) return std::nullopt;
    return V;
}
} // namespace

QColor ColorToQColor(TColor Value) {
    const auto U = static_cast<std::uint32_t>(Value);
    if ((U & 0xFF000000u) == 0xFF000000u) {
        const int Index = static_cast<int>(U & 0xFFu);
        const QPalette Palette = QGuiApplication::palette();
        for (const TSystemColor& S : SystemColors)
            if (S.Index == Index) return Palette.color(S.Group, S.Role);
        return Palette.color(QPalette::Window);
    }
    return QColor(static_cast<int>(U & 0xFFu), static_cast<int>((U >> 8) & 0xFFu),
                  static_cast<int>((U >> 16) & 0xFFu));
}

TColor QColorToColor(const QColor& Color) {
    const QColor C = Color.toRgb();
    return static_cast<TColor>(static_cast<std::uint32_t>(C.red()) |
                               static_cast<std::uint32_t>(C.green()) << 8 |
                               static_cast<std::uint32_t>(C.blue()) << 16);
}

TRect FitRect(TRect R, const TRect& Envelope) {
    if (Envelope.IsNull()) return R;
    if (R.Right < R.Left) std::swap(R.Left, R.Right);
    if (R.Bottom < R.Top) std::swap(R.Top, R.Bottom);
    auto Fit = [](int& Lo, int& Hi, int EnvLo, int EnvHi) {
        const long long Size = static_cast<long long>(Hi) - Lo;
        if (static_cast<long long>(EnvHi) - EnvLo < Size) {
            Lo = EnvLo;
            Hi = EnvHi;
        } else if (Lo < EnvLo) {
            Lo = EnvLo;
            Hi = static_cast<int>(EnvLo + Size);
        } else if (Hi > EnvHi) {
            Hi = EnvHi;
            Lo = static_cast<int>(EnvHi - Size);
        }
    };
    Fit(R.Left, R.Right, Envelope.Left, Envelope.Right);
    Fit(R.Top, R.Bottom, Envelope.Top, Envelope.Bottom);
    return R;
}

int FontStyleBits(const QFont& Font) {
    return (Font.bold() ? 1 : 0) | (Font.italic() ? 2 : 0) | (Font.underline() ? 4 : 0) |
           (Font.strikeOut() ? 8 : 0);
}

void SetFontStyleBits(QFont& Font, int Bits) {
    Font.setBold((Bits & 1) != 0);
    Font.setItalic((Bits & 2) != 0);
    Font.setUnderline((Bits & 4) != 0);
    Font.setStrikeOut((Bits & 8) != 0);
}

std::optional<std::int32_t> ParseIniInt(const QString& Text) {
    QStringView S = QStringView(Text).trimmed();
    bool Negative = false;
    if (!S.isEmpty() && (S[0] == u'-' || S[0] == u'+')) {
        Negative = S[0] == u'-';
        S = S.mid(1);
    }
    long long V = 0;
    if (S.startsWith(u'$') || S.startsWith(u"0x", Qt::CaseInsensitive)) {
        const auto Hex = ParseHex(S.mid(S.startsWith(u'$') ? 1 : 2));
        if (!Hex) return std::nullopt;
        V = static_cast<std::int32_t>(*Hex);
    } else {
        if (S.isEmpty()) return std::nullopt;
        for (QChar C : S)
            if (!C.isDigit() || C.unicode() > u'9') return std::nullopt;
        bool Ok = false;
        V = S.toLongLong(&Ok);
        if (!Ok) return std::nullopt;
    }
    if (Negative) V = -V;
    if (V < std::numeric_limits<std::int32_t>::min() || V > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(V);
}

// The file's lines with their line break ("\r\n" when the file has any CR LF,
// else "\n") and the encoding to write them back in.
struct TIniFile::TContent {
    QStringList Lines;
    QString LineBreak = QStringLiteral("\n");
    bool Utf16 = false;    // read as UTF-16LE: written back so, with its byte-order mark
    bool Utf8Mark = false; // read as UTF-8 after a byte-order mark
};

TIniFile::TContent TIniFile::ReadContent(bool ForWriting) const {
    TContent C;
    if (!QFileInfo::exists(FFileName)) return C;
    QByteArray Bytes;
    try {
        Bytes = ReadFileBytes(FFileName, MaxIniFileSize);
    } catch (const EFileError&) {
        // Writing over a file we cannot read would lose its other keys.
        if (ForWriting) throw;
        return C;
    }
    const std::string_view View(Bytes.constData(), static_cast<std::size_t>(Bytes.size()));
    C.Utf8Mark = View.starts_with("\xEF\xBB\xBF");
    C.Utf16 = View.starts_with("\xFF\xFE") || (!C.Utf8Mark && View.find('\0') != std::string_view::npos);
    QString Text = QString::fromStdU16String(DecodeText(View));
    if (Text.contains(QStringLiteral("\r\n"))) C.LineBreak = QStringLiteral("\r\n");
    Text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    C.Lines = Text.split(u'\n');
    if (!C.Lines.isEmpty() && C.Lines.last().isEmpty()) C.Lines.removeLast();
    return C;
}

std::optional<QString> TIniFile::ReadValue(const QString& Section, const QString& Key) const {
    bool InSection = false;
    for (const QString& Line : ReadContent(false).Lines) {
        QString Name;
        if (IsSection(Line, &Name))
            InSection = SameName(Name, Section);
        else if (InSection && SameName(KeyOf(Line), Key))
            return Line.mid(Line.indexOf(u'=') + 1).trimmed();
    }
    return std::nullopt;
}

QHash<QString, QString> TIniFile::ReadSection(const QString& Section) const {
    QHash<QString, QString> Values;
    bool InSection = false;
    for (const QString& Line : ReadContent(false).Lines) {
        QString Name;
        if (IsSection(Line, &Name)) {
            InSection = SameName(Name, Section);
        } else if (InSection) {
            const QString Key = KeyOf(Line).toCaseFolded();
            if (!Key.isEmpty() && !Values.contains(Key))
                Values.insert(Key, Line.mid(Line.indexOf(u'=') + 1).trimmed());
        }
    }
    return Values;
}

QString TIniFile::ReadString(const QString& Section, const QString& Key, const QString& Default) const {
    return ReadValue(Section, Key).value_or(Default);
}

void TIniFile::WriteString(const QString& Section, const QString& Key, const QString& Value) {
    TContent Content = ReadContent(true);
    QStringList& Lines = Content.Lines;
    QString OneLine = Value;
    OneLine.replace(u'\r', u' ').replace(u'\n', u' ');
    const QString NewLine = Key + u'=' + OneLine;
    qsizetype SectionAt = -1; // the section's header line
    qsizetype InsertAt = -1;  // after the section's last non-blank line
    bool Done = false;
    for (qsizetype I = 0; I < Lines.size() && !Done; ++I) {
        QString Name;
        if (IsSection(Lines[I], &Name)) {
            if (SectionAt >= 0) break; // the next section begins
            if (SameName(Name, Section)) SectionAt = InsertAt = I;
        } else if (SectionAt >= 0) {
            if (SameName(KeyOf(Lines[I]), Key)) {
                Lines[I] = NewLine;
                Done = true;
            } else if (!Lines[I].trimmed().isEmpty()) {
                InsertAt = I;
            }
        }
    }
    if (!Done) {
        if (SectionAt >= 0) {
            Lines.insert(InsertAt + 1, NewLine);
        } else {
            if (!Lines.isEmpty() && !Lines.last().trimmed().isEmpty()) Lines.append(QString());
            Lines.append(u'[' + Section + u']');
            Lines.append(NewLine);
        }
    }
    const QString Text = Lines.join(Content.LineBreak) + Content.LineBreak;
    QByteArray Bytes;
    if (Content.Utf16) {
        Bytes = QByteArray("\xFF\xFE", 2);
        for (QChar Ch : Text)
            Bytes.append(static_cast<char>(Ch.unicode() & 0xFF)).append(static_cast<char>(Ch.unicode() >> 8));
    } else {
        // A NUL byte without the mark would make the file read as UTF-16LE.
        if (Content.Utf8Mark || Text.contains(QChar(0))) Bytes = QByteArray("\xEF\xBB\xBF");
        Bytes += Text.toUtf8();
    }
    WriteFileAtomically(FFileName, Bytes);
}

QString TIniFileEx::GetStr(const QString& Key, const QString& Default) const {
    return ReadString(FSection, Key, Default);
}

void TIniFileEx::SetStr(const QString& Key, const QString& Value) {
    WriteString(FSection, Key, Value);
}

int TIniFileEx::GetInt(const QString& Key, int Min, int Max, int Default) const {
    const auto Text = ReadValue(FSection, Key);
    if (!Text) return Default;
    const auto V = ParseIniInt(*Text);
    return V && *V >= Min && *V <= Max ? *V : Default;
}

int TIniFileEx::GetInt(const QString& Key, int Default) const {
    return GetInt(Key, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), Default);
}

void TIniFileEx::SetInt(const QString& Key, int Value) {
    SetStr(Key, QString::number(Value));
}

double TIniFileEx::GetFloat(const QString& Key, double Min, double Max, double Default) const {
    const auto Text = ReadValue(FSection, Key);
    if (!Text) return Default;
    bool Ok = false;
    const double V = QLocale::system().toDouble(*Text, &Ok);
    return Ok && V >= Min && V <= Max ? V : Default;
}

double TIniFileEx::GetFloat(const QString& Key, double Default) const {
    return GetFloat(Key, std::numeric_limits<double>::lowest(), std::numeric_limits<double>::max(), Default);
}

void TIniFileEx::SetFloat(const QString& Key, double Value) {
    QLocale Locale = QLocale::system();
    Locale.setNumberOptions(QLocale::OmitGroupSeparator);
    SetStr(Key, Locale.toString(Value, 'g', QLocale::FloatingPointShortest));
}

bool TIniFileEx::GetBool(const QString& Key, bool Default) const {
    const QString Text = GetStr(Key, QString()).toLower();
    if (Text == u"true") return true;
    if (Text == u"false") return false;
    return GetInt(Key, Default ? 1 : 0) != 0;
}

void TIniFileEx::SetBool(const QString& Key, bool Value) {
    SetStr(Key, Value ? QStringLiteral("1") : QStringLiteral("0"));
}

TColor TIniFileEx::GetColor(const QString& Key, TColor Default) const {
    return GetInt(Key, Default);
}

void TIniFileEx::SetColor(const QString& Key, TColor Value) {
    SetInt(Key, Value);
}

QChar TIniFileEx::GetChar(const QString& Key, QChar Default) const {
    const QString Text = GetStr(Key, QString(Default));
    if (Text.compare(u"space", Qt::CaseInsensitive) == 0) return u' ';
    if (Text.compare(u"tab", Qt::CaseInsensitive) == 0) return u'\t';
    if (Text.compare(u"none", Qt::CaseInsensitive) == 0) return QChar(0);
    return Text.isEmpty() ? Default : Text[0];
}

void TIniFileEx::SetChar(const QString& Key, QChar Value) {
    // Written as themselves, a space or tab would be trimmed away on reading
    // and a NUL would end the text for many editors.
    if (Value == u' ')
        SetStr(Key, QStringLiteral("space"));
    else if (Value == u'\t')
        SetStr(Key, QStringLiteral("tab"));
    else if (Value.isNull())
        SetStr(Key, QStringLiteral("none"));
    else
        SetStr(Key, QString(Value));
}

int TIniFileEx::GetFontStyle(const QString& Key, int Default) const {
    return GetInt(Key, 0, 7, Default & 7) & 7;
}

void TIniFileEx::SetFontStyle(const QString& Key, int Value) {
    SetInt(Key, Value & 7);
}

void TIniFileEx::SaveFont(const QString& Key, const QFont& Font, const QColor& Color) {
    SetStr(Key + QStringLiteral("Name"), Font.family());
    SetInt(Key + QStringLiteral("Size"), Font.pointSize());
    SetColor(Key + QStringLiteral("Color"), QColorToColor(Color));
    SetFontStyle(Key + QStringLiteral("Style"), FontStyleBits(Font));
}

void TIniFileEx::RestoreFont(const QString& Key, int MinSize, int MaxSize, QFont& Font, QColor& Color) const {
    Font.setFamily(GetStr(Key + QStringLiteral("Name"), Font.family()));
    Font.setPointSize(GetInt(Key + QStringLiteral("Size"), MinSize, MaxSize, Font.pointSize()));
    Color = ColorToQColor(GetColor(Key + QStringLiteral("Color"), QColorToColor(Color)));
    // Strike-out is never stored, so it stays as the font had it.
    SetFontStyleBits(Font, GetFontStyle(Key + QStringLiteral("Style"), FontStyleBits(Font)) |
                               (FontStyleBits(Font) & 8));
}

void TIniFileEx::SavePen(const QString& Key, const QPen& Pen) {
    SetInt(Key + QStringLiteral("Width"), Pen.width());
    SetColor(Key + QStringLiteral("Color"), QColorToColor(Pen.color()));
}

void TIniFileEx::RestorePen(const QString& Key, int MinWidth, int MaxWidth, QPen& Pen) const {
    Pen.setWidth(GetInt(Key + QStringLiteral("Width"), MinWidth, MaxWidth, Pen.width()));
    Pen.setColor(ColorToQColor(GetColor(Key + QStringLiteral("Color"), QColorToColor(Pen.color()))));
}

void TIniFileEx::SetPoint(const QString& Key, const QPoint& Value) {
    SetInt(Key + QStringLiteral("X"), Value.x());
    SetInt(Key + QStringLiteral("Y"), Value.y());
}

QPoint TIniFileEx::GetPoint(const QString& Key, const QPoint& Default) const {
    return {GetInt(Key + QStringLiteral("X"), MinCoord, MaxCoord, Default.x()),
            GetInt(Key + QStringLiteral("Y"), MinCoord, MaxCoord, Default.y())};
}

void TIniFileEx::SetRect(const QString& Key, const TRect& Value) {
    SetInt(Key + QStringLiteral("Left"), Value.Left);
    SetInt(Key + QStringLiteral("Top"), Value.Top);
    SetInt(Key + QStringLiteral("Right"), Value.Right);
    SetInt(Key + QStringLiteral("Bottom"), Value.Bottom);
}

TRect TIniFileEx::GetRect(const QString& Key, const TRect& Default) const {
    return {GetInt(Key + QStringLiteral("Left"), MinCoord, MaxCoord, Default.Left),
            GetInt(Key + QStringLiteral("Top"), MinCoord, MaxCoord, Default.Top),
            GetInt(Key + QStringLiteral("Right"), MinCoord, MaxCoord, Default.Right),
            GetInt(Key + QStringLiteral("Bottom"), MinCoord, MaxCoord, Default.Bottom)};
}

TRect TIniFileEx::GetRect(const QString& Key, const TRect& Default, const TRect& Envelope) const {
    return FitRect(GetRect(Key, Default), Envelope);
}

QString TIniFileEx::GetFilename(const QString& Key, const QString& Default) const {
    const QString Text = GetStr(Key, QString());
    return IsValidFileName(Text) ? Text : Default;
}

int TIniFileEx::GetHotkey(const QString& Key, int Default) const {
    return GetInt(Key, 0, 65535, Default);
}

void TIniFileEx::SetHotkey(const QString& Key, int Value) {
    SetInt(Key, Value & 0xFFFF);
}

void TIniFileEx::SaveStrings(const QString& Key, const QStringList& Strings, int Count) {
    qsizetype N = Strings.size();
    if (Count > 0 && Count < N) N = Count;
    SetInt(Key + QStringLiteral("Count"), static_cast<int>(N));
    for (qsizetype K = 1; K <= N; ++K)
        SetStr(Key + QString::number(K), Strings[K - 1]);
}

void TIniFileEx::RestoreStrings(const QString& Key, QStringList& Strings, int Count) const {
    Strings.clear();
    int N = GetInt(Key + QStringLiteral("Count"), 0);
    if (Count > 0 && Count < N) N = Count;
    if (N <= 0) return;
    // The file is read once for the whole list. A list written by SaveStrings
    // has a key for every entry, so a damaged Count cannot make the list longer
    // than the section has keys.
    const QHash<QString, QString> Values = ReadSection(FSection);
    N = static_cast<int>(std::min<qsizetype>(N, Values.size()));
    for (int K = 1; K <= N; ++K)
        Strings.append(Values.value((Key + QString::number(K)).toCaseFolded()));
}
