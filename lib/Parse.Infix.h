// The recursive-descent parser that evaluates while it parses, the evaluator of
// user-defined functions, the program runner and the built-in table.
//
// No syntax tree is built: every grammar rule returns the value of what it read,
// and a user function is parsed again from its tokens at each call. Errors leave
// through Error(), which each owner formats with its own kind of position.
#pragma once
#include "Complex.h"
#include "Parse.Tokenize.h"
#include "Parse.Utils.h"
#include "Scalar.Ident.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

// How deep brackets, roots, powers, arguments and nested user-function calls may
// go in one statement, counted together. One level takes at most about 2.4 KB of
// stack (a user-function call in a Debug build; 0.2 to 1.6 KB otherwise), so the
// deepest statement stays within 6 MB, inside the 8 MB main-thread stack of a
// desktop program (the Windows build asks the linker for 8 MB as well). As a
// second guard, a level is also refused when less than MinStackReserve bytes of
// the thread's stack are left, which protects smaller threads and
// instrumented builds whose frames are larger.
inline constexpr std::int32_t MaxNestingDepth = 2500;
inline constexpr std::size_t MinStackReserve = 256 * 1024;
inline constexpr const char* MsgTooDeep = "Expression is nested too deeply";

// How much user-function work one statement may do: each call counts the tokens
// of its body plus one, against MaxCallWork plus CallWorkPerToken for each token
// of the statement itself, so long sums of calls stay allowed. There are no loops
// and no recursion: only functions that call others more than once, down a chain,
// or huge bodies called very often come near it. It stops a few lines of such
// definitions from running for hours.
inline constexpr std::int64_t MaxCallWork = 2'000'000;
inline constexpr std::int64_t CallWorkPerToken = 100;
inline constexpr const char* MsgTooMuchWork = "Too many function calls in one statement";

// The longest program text a run accepts, in UTF-16 code units. Tokens take
// about 70 bytes of memory per character of a dense text, so this keeps a run
// below about a gigabyte whatever is pasted or loaded.
inline constexpr std::size_t MaxProgramLength = std::size_t(1) << 23;
inline constexpr const char* MsgProgramTooLong = "Program too long (more than 8388608 characters)";

class TParserBase {
  public:
    virtual ~TParserBase() = default;

    // expression = [ sign ] term { ( + | - ) term }
    TComp ParseExpression();

  protected:
    // Raises EParseError naming Pos (a token position); Detail is an inner error's message or empty.
    // Both raising calls tell Raising first.
    [[noreturn]] void Error(const std::string& Msg, std::int32_t Pos, const std::string& Detail);
    // Raises EAbortError, located like Error.
    [[noreturn]] void Abort(const std::string& Msg, std::int32_t Pos);
    [[noreturn]] void ErrorHere(const std::string& Msg);
    // The message of an error at Pos, in the owner's own kind of position.
    virtual std::string Located(const std::string& Msg, std::int32_t Pos,
                                const std::string& Detail) const = 0;
    virtual bool IsProgram() const { return false; }
    virtual void Raising(std::int32_t /*Pos*/) {}

    TComp ParseTerm();
    TComp ParsePower();
    TComp ParseFactor();
    TComp ParseBracket();
    TComp ParseIdent();
    void ParseArgs(TCompList& Args);

    TTokens* FTokens = nullptr;
    const TIdentList* FLocals = nullptr; // borrowed; the parameters of one user-function call

  private:
    class TDepthGuard;
    TComp Factorial(TComp Z, std::int32_t Pos);
    template <typename TOp>
    TComp Checked(TOp Op, std::int32_t Pos);
};

// Evaluates one stored token list (a user function's body) against a list of
// local identifiers. Owns its tokens. Errors read "message (at position p)".
class TEvaluatorBase : public TParserBase {
  public:
    TComp Eval(const TIdentList& Args); // Args stays the caller's
    TTokens& Tokens() const { return *FTokens; }

  protected:
    // "message (at position p)"; the detail of an inner error is dropped.
    std::string Located(const std::string& Msg, std::int32_t Pos, const std::string& Detail) const override;
    std::unique_ptr<TTokens> FOwnTokens;
};

class TEvaluator : public TEvaluatorBase {
  public:
    TEvaluator();
};

// A function of the user's own: its parameter names and a copy of its body's
// tokens, evaluated afresh at every call. A call while an evaluation of the same
// function is under way is refused by the parser (see Busy).
class TParsedFunction : public TFunction {
  public:
    TParsedFunction(std::u16string Name, std::u16string Comment);
    TComp Eval(const TCompList& Args) override;
    bool Busy() const override { return FBusy; }
    std::int64_t CallWork() const override { return FEvaluator->Tokens().Count() + 1; } // body tokens + 1
    std::u16string ToString() const override;                                           // f(x,y) = body

    TEvaluator& Evaluator() const { return *FEvaluator; }
    std::vector<std::u16string>& Params() { return FParams; }
    const std::vector<std::u16string>& Params() const { return FParams; }

  private:
    std::unique_ptr<TEvaluator> FEvaluator;
    std::vector<std::u16string> FParams;
    bool FBusy = false;
};

// ORDER TNumberFormat: the result formats; the shell's format actions and the
// command line's format names follow this order.
enum TNumberFormat { nfDec, nfBin, nfHex, nfRoman, nfTime, nfAngle };

// Where in the program text a run's error was raised: the token's first UTF-16
// unit (0-based) and its length in units; a line break has length 0. Offset
// is -1 when the run ended without error, or with one that names no place.
struct TErrorSpan {
    std::int32_t Offset = -1;
    std::int32_t Length = 0;
    bool operator==(const TErrorSpan&) const = default;
};

// What an output line of a statement holds: a value (of an expression or an
// assignment), the echo of a definition, or the error that ended the run.
enum TLineKind { lkValue, lkDefinition, lkError };

// Where the statement that wrote an output line stands in the text that was
// run: First is the 0-based UTF-16 offset of its first token's first unit and
// Last one past its last token's last unit, its comment left out. The comment
// (the "//" up to the line break, before the statement's separator) is
// [CommentFirst, CommentLast), or -1 and -1 when there is none. LineIndex
// counts the output's lines, those kept from earlier runs included.
struct TStatementRange {
    std::int32_t LineIndex = 0;
    std::int32_t First = 0;
    std::int32_t Last = 0;
    std::int32_t CommentFirst = -1;
    std::int32_t CommentLast = -1;
    TLineKind Kind = lkValue;
    bool operator==(const TStatementRange&) const = default;
};

// Runs whole program texts statement by statement against GlobalIdents and writes
// one line per statement to its output. The first failing statement writes its
// message as the last line and ends the run. Keeps the tokens of the last text,
// so a run can be repeated (after a change of precision) without tokenizing.
class TProgramParser : public TParserBase {
  public:
    TProgramParser();
    ~TProgramParser() override;

    // Each returns true when the run ended without an error line.
    bool Execute(std::u16string Text, bool Silent);
    bool Execute(bool Silent);
    // Reading errors are thrown to the caller (std::runtime_error with a message).
    bool ExecuteFile(const std::filesystem::path& FileName, bool Silent);

    TProgramOutput& Output() { return *FOutput; }
    std::int32_t Precision() const { return FPrec; }
    void SetPrecision(std::int32_t Value); // clamped to 2..18
    TNumberFormat NumberFormat() const { return FNumberFormat; }
    void SetNumberFormat(TNumberFormat Value) { FNumberFormat = Value; }
    const TSymbols& Symbols() const { return *FSymbols; }
    const TTokenizer& Tokenizer() const { return *FTokenizer; }

    std::u16string FormatResult(TComp Value) const;
    // The error that ended the last run: its place, and its message as written.
    // An error inside a user function is placed at the call in the program text.
    TErrorSpan ErrorSpan() const { return FErrorSpan; }
    const std::u16string& ErrorMessage() const { return FErrorMessage; }
    // The statements of the last run's written lines, in line order. A line of no
    // statement (the divider, an error raised before the first statement) has
    // none; a silent run writes no lines and so has none at all.
    const std::vector<TStatementRange>& StatementRanges() const { return FStatementRanges; }

  protected:
    // "message (row r, col c)", then ": detail" when there is one.
    std::string Located(const std::string& Msg, std::int32_t Pos, const std::string& Detail) const override;
    bool IsProgram() const override { return true; }
    void Raising(std::int32_t Pos) override;

  private:
    void ParseStatement();
    bool ParseAssignment();
    bool ParseDefinition();
    bool ParseParams(std::vector<std::u16string>& Names);
    [[noreturn]] void TokenError();
    void Emit(const std::u16string& Line, TLineKind Kind); // writes Line as one of the current statement's
    void AddStatementRange(std::int32_t LineIndex, TLineKind Kind);

    std::unique_ptr<TSymbols> FSymbols;
    std::unique_ptr<TTokenizer> FTokenizer;
    std::unique_ptr<TProgramOutput> FOutput;
    std::int32_t FPrec = 5;
    TNumberFormat FNumberFormat = nfDec;
    TErrorSpan FErrorSpan;
    std::u16string FErrorMessage;
    std::vector<TStatementRange> FStatementRanges;
    std::int32_t FStatementStart = -1; // the current statement's first token, -1 before the first
};
