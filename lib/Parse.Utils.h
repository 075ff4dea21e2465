// Where the runner's lines go (TProgramOutput over an abstract list of lines),
// the error that carries a position, the row and column of a position, and the
// decoding of program files.
#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Every parse and evaluation error that names a position. The message is UTF-8.
class EParseError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// An error that ends the statement as it is: evaluators of user functions pass it
// on without wrapping it, so that its reason (a recursive call, nesting too deep)
// reaches the output line instead of being dropped at the first function level.
class EAbortError : public EParseError {
    using EParseError::EParseError;
};

// A list of text lines: what the output needs of the output pane, the console or a test.
// BeginUpdate/EndUpdate bracket one run, so a pane can show a run's lines in one update.
class TStrings {
  public:
    virtual ~TStrings() = default;
    virtual void Add(const std::u16string& Line) = 0;
    virtual void Clear() = 0;
    virtual std::int32_t Count() const = 0;
    virtual std::u16string Get(std::int32_t Index) const = 0;
    virtual void Assign(const TStrings& Source); // replaces all lines by those of Source
    virtual void BeginUpdate() {}
    virtual void EndUpdate() {}
};

class TStringList : public TStrings {
  public:
    void Add(const std::u16string& Line) override { FLines.push_back(Line); }
    void Clear() override { FLines.clear(); }
    std::int32_t Count() const override { return static_cast<std::int32_t>(FLines.size()); }
    std::u16string Get(std::int32_t Index) const override { return FLines[Index]; }
    const std::vector<std::u16string>& Lines() const { return FLines; }

  private:
    std::vector<std::u16string> FLines;
};

// The sink of result lines. Holds its own list until it is connected to an
// outside list (which it never frees); Silent suppresses writing, Preserve keeps
// earlier runs' lines and separates runs with the divider.
class TProgramOutput {
  public:
    TProgramOutput();

    void Connect(TStrings& Strings); // Strings is borrowed and must outlive the connection
    void Disconnect();
    void Clear();
    void Emit(const std::u16string& Text);
    void Reset();
    void BeginUpdate() { FStrings->BeginUpdate(); }
    void EndUpdate() { FStrings->EndUpdate(); }

    const TStrings& Strings() const { return *FStrings; }
    bool Silent() const { return FSilent; }
    void SetSilent(bool Value) { FSilent = Value; }
    bool Preserve() const { return FPreserve; }
    void SetPreserve(bool Value) { FPreserve = Value; }
    bool Connected() const { return FConnected; }
    const std::u16string& Divider() const { return FDivider; }

  private:
    std::unique_ptr<TStringList> FOwnStrings;
    TStrings* FStrings; // FOwnStrings, or the borrowed outside list
    bool FSilent = false;
    bool FPreserve = false;
    bool FConnected = false;
    std::u16string FDivider = std::u16string(40, u'=');
};

struct TRowCol {
    std::int32_t Row;
    std::int32_t Col;
};
// Only CR LF starts a new row; a lone CR or LF is one column like any character.
TRowCol PosToRowCol(std::u16string_view Text, std::int32_t Pos);

// Program files: UTF-16LE when they start with FF FE, or hold NUL bytes and have no
// UTF-8 byte-order mark; UTF-8 otherwise (a leading EF BB BF is skipped).
std::u16string DecodeText(std::string_view Bytes);
// Splits at CR LF, CR or LF and ends every line, the last one included, with CR LF.
std::u16string NormalizeLineBreaks(std::u16string_view Text);
// The decoded text of a file; throws std::runtime_error with a readable message.
// Files over MaxTextFileSize are refused: no program that long would run.
std::u16string ReadTextFile(const std::filesystem::path& FileName);
inline constexpr std::uintmax_t MaxTextFileSize = std::uintmax_t(32) << 20;
