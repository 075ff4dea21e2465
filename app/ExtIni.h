// The settings file: a plain ini file of "[Section]" lines and "key=value"
// lines. TIniFile reads and writes single values, going to the file on every
// call: a write replaces the file at once (atomically) and leaves every other
// line as it was. TIniFileEx adds a current section and typed values with
// defaults and accepted ranges. Neither keeps anything between calls, so two
// accessors of one file never overwrite each other's keys.
#pragma once
#include <QColor>
#include <QFont>
#include <QHash>
#include <QPen>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// Colours in the stored encoding: 0x00BBGGRR for a direct colour, and values
// with the top byte 0xFF for the system colours, whose low byte is the index of
// a system colour (15 is the button face). System colours are read from the
// application palette; writing always stores the direct colour.
using TColor = std::int32_t;
inline constexpr TColor clBtnFace = static_cast<TColor>(0xFF00000Fu);
QColor ColorToQColor(TColor Value);
TColor QColorToColor(const QColor& Color);

// A rectangle with exclusive Right and Bottom, as the file stores window bounds.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsNull() const { return Left == 0 && Top == 0 && Right == 0 && Bottom == 0; }
    QRect ToQRect() const { return {Left, Top, Width(), Height()}; }
    static TRect FromQRect(const QRect& R) {
        return {R.left(), R.top(), R.left() + R.width(), R.top() + R.height()};
    }
    friend bool operator==(const TRect&, const TRect&) = default;
};

// Moves (and if need be shrinks) Rect into Envelope; an all-zero envelope leaves it.
TRect FitRect(TRect Rect, const TRect& Envelope);

// Font style bits as stored: 1 bold, 2 italic, 4 underline, 8 strike-out.
int FontStyleBits(const QFont& Font);
void SetFontStyleBits(QFont& Font, int Bits);

// Settings files larger than this are not read: a reading accessor gives the
// defaults, a writing one throws rather than replace the file.
inline constexpr qint64 MaxIniFileSize = qint64(1) << 20;

// Decimal, "$" hexadecimal or "0x" hexadecimal, with an optional sign; hexadecimal
// numbers of up to 8 digits wrap into the signed 32-bit range.
std::optional<std::int32_t> ParseIniInt(const QString& Text);

class TIniFile {
  public:
    explicit TIniFile(QString FileName) : FFileName(std::move(FileName)) {}
    virtual ~TIniFile() = default;

    const QString& FileName() const { return FFileName; }
    // The trimmed value, or nothing when the file, the section or the key is missing.
    std::optional<QString> ReadValue(const QString& Section, const QString& Key) const;
    QString ReadString(const QString& Section, const QString& Key, const QString& Default) const;
    // Creates the file or section when needed. Line breaks in Value are written
    // as spaces, so a value never reaches beyond its line. The file keeps its
    // encoding: UTF-16LE stays UTF-16LE, anything else is written as UTF-8.
    // Throws EFileError when the file cannot be written, or exists but cannot be
    // read or is larger than MaxIniFileSize (it is then left as it was).
    void WriteString(const QString& Section, const QString& Key, const QString& Value);

  protected:
    // The values of every key of the section, by case-folded key; the first of equal keys wins.
    QHash<QString, QString> ReadSection(const QString& Section) const;

  private:
    struct TContent;
    TContent ReadContent(bool ForWriting) const;
    QString FFileName;
};

class TIniFileEx : public TIniFile {
  public:
    explicit TIniFileEx(const QString& FileName) : TIniFile(FileName) {}

    const QString& Section() const { return FSection; }
    void SetSection(const QString& Value) { FSection = Value; }

    QString GetStr(const QString& Key, const QString& Default) const;
    void SetStr(const QString& Key, const QString& Value);
    // The value read if it is an integer within Min..Max, else Default.
    int GetInt(const QString& Key, int Min, int Max, int Default) const;
    int GetInt(const QString& Key, int Default) const;
    void SetInt(const QString& Key, int Value);
    // Numbers use the decimal separator of the user's locale.
    double GetFloat(const QString& Key, double Min, double Max, double Default) const;
    double GetFloat(const QString& Key, double Default) const;
    void SetFloat(const QString& Key, double Value);
    // "true"/"false" in any letter case, or an integer (non-zero is true).
    bool GetBool(const QString& Key, bool Default) const;
    void SetBool(const QString& Key, bool Value);
    TColor GetColor(const QString& Key, TColor Default) const;
    void SetColor(const QString& Key, TColor Value);
    // "space", "tab" and "none" name U+0020, U+0009 and U+0000; other texts give
    // their first character, and an empty value gives Default.
    QChar GetChar(const QString& Key, QChar Default) const;
    // Writes those three characters by their names, so that they read back.
    void SetChar(const QString& Key, QChar Value);
    int GetFontStyle(const QString& Key, int Default) const;
    void SetFontStyle(const QString& Key, int Value);
    // Key + "Name", "Size", "Color", "Style".
    void SaveFont(const QString& Key, const QFont& Font, const QColor& Color);
    void RestoreFont(const QString& Key, int MinSize, int MaxSize, QFont& Font, QColor& Color) const;
    // Key + "Width", "Color".
    void SavePen(const QString& Key, const QPen& Pen);
    void RestorePen(const QString& Key, int MinWidth, int MaxWidth, QPen& Pen) const;
    // Key + "X", "Y".
    void SetPoint(const QString& Key, const QPoint& Value);
    QPoint GetPoint(const QString& Key, const QPoint& Default) const;
    // Key + "Left", "Top", "Right", "Bottom".
    void SetRect(const QString& Key, const TRect& Value);
    TRect GetRect(const QString& Key, const TRect& Default) const;
    TRect GetRect(const QString& Key, const TRect& Default, const TRect& Envelope) const;
    // A bare file name only: a value naming a folder or drive gives Default.
    QString GetFilename(const QString& Key, const QString& Default) const;
    // Shortcut codes, 0..65535.
    int GetHotkey(const QString& Key, int Default) const;
    void SetHotkey(const QString& Key, int Value);
    // Key + "Count", then Key + "1" .. Key + N. A positive Count limits how many are kept.
    void SaveStrings(const QString& Key, const QStringList& Strings, int Count);
    void RestoreStrings(const QString& Key, QStringList& Strings, int Count) const;

  private:
    QString FSection = QStringLiteral("Default");
};
