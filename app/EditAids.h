// The input box's editing aids: what a typed character does to the text
// around the caret. Assignment on ":" and "=", brackets around the selection,
// and the calculator's own multiplication and minus signs for "*" and "-"; and
// what the status bar says of look-alikes replaced in pasted text. It only
// computes the edit and the note; the main window reads the box and applies them.
#pragma once
#include <QString>
#include <QStringView>

#include <optional>

class TSymbols;
struct TNormalizeReport;

struct TEditOptions {
    bool AssignOnColon = true;
    bool EncloseOnBracket = false;
    bool EncloseOnOperator = false;
    bool CompleteNames = true; // a list of matching names opens after two letters (CompletionPopup.h)
};

// Replace the selection with Text, then move the caret CaretBack characters to
// the left, with nothing selected.
struct TTypedEdit {
    QString Text;
    int CaretBack = 0;
    friend bool operator==(const TTypedEdit&, const TTypedEdit&) = default;
};

// Brackets and operators come from Symbols (borrowed), never from constants.
class TCharHandler {
  public:
    explicit TCharHandler(const TSymbols& Symbols) : FSymbols(Symbols) {}

    // The edit that typing K makes. Before is the text just before the
    // selection start; its last three characters are enough. Nothing means: K
    // is inserted as the text box inserts it.
    std::optional<TTypedEdit> Edit(const TEditOptions& Options, QChar K, QStringView Selection,
                                   QStringView Before) const;

  private:
    std::optional<TTypedEdit> CompleteAssign(QChar K, QStringView Before) const;
    QChar Canonical(QChar K) const;

    const TSymbols& FSymbols;
};

// "Pasted text: N characters replaced (…)", each replaced character once, blanks
// by their code; empty when nothing was replaced.
QString ReplacedNote(const TNormalizeReport& Report);
