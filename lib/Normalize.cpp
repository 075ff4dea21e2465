#include "Normalize.h"

#include <optional>

namespace {
// The multiplication, minus, minute and second marks are the tokenizer's; the
// minus is the first of its set, the one the output writes.
enum TContext { cxAnywhere, cxAfterDigit };

struct TLookAlike {
    char16_t From;
    char16_t To;
    TContext Context;
};

constexpr TLookAlike LookAlikes[] = {
    {u'\u00B7', u'\u2219', cxAnywhere}, // middle dot
    {u'\u22C5', u'\u2219', cxAnywhere}, // dot operator
    {u'\u00F7', u'/', cxAnywhere},      // division sign
    {u'\u2215', u'/', cxAnywhere},      // division slash
    {u'\u2012', u'\u2013', cxAnywhere}, // figure dash
    {u'\u2014', u'\u2013', cxAnywhere}, // em dash
    {u'\u2015', u'\u2013', cxAnywhere}, // horizontal bar
    {u'\u00A0', u' ', cxAnywhere},      // no-break space
    {u'\u2007', u' ', cxAnywhere},      // figure space
    {u'\u2009', u' ', cxAnywhere},      // thin space
    {u'\u202F', u' ', cxAnywhere},      // narrow no-break space
    {u'\u3000', u' ', cxAnywhere},      // ideographic space
    {u'\u2032', u'\'', cxAfterDigit},   // prime
    {u'\u2019', u'\'', cxAfterDigit},   // right single quotation mark
    {u'\u2033', u'"', cxAfterDigit},    // double prime
    {u'\u201D', u'"', cxAfterDigit},    // right double quotation mark
};

struct TSuperscript {
    char16_t From;
    char16_t To;
};

constexpr TSuperscript Superscripts[] = {
    {u'\u2070', u'0'}, {u'\u00B9', u'1'}, {u'\u00B2', u'2'}, {u'\u00B3', u'3'},
    {u'\u2074', u'4'}, {u'\u2075', u'5'}, {u'\u2076', u'6'}, {u'\u2077', u'7'},
    {u'\u2078', u'8'}, {u'\u2079', u'9'}, {u'\u207B', u'-'},
};

constexpr char16_t FullWidthFirst = u'\uFF01', FullWidthLast = u'\uFF5E';
constexpr char16_t FullWidthOffset = FullWidthFirst - u'!';

bool IsDigit(char16_t C) {
    return C >= u'0' && C <= u'9';
}

std::optional<char16_t> SuperscriptOf(char16_t C) {
    for (const TSuperscript& S : Superscripts)
        if (S.From == C) return S.To;
    return std::nullopt;
}

// C's replacement when it follows Previous in the result, or C itself.
char16_t Replacement(char16_t C, std::optional<char16_t> Previous) {
    if (C < 0x80) return C;
    if (C >= FullWidthFirst && C <= FullWidthLast) return static_cast<char16_t>(C - FullWidthOffset);
    const bool AfterDigit = Previous && IsDigit(*Previous);
    for (const TLookAlike& L : LookAlikes)
        if (L.From == C) return L.Context == cxAnywhere || AfterDigit ? L.To : C;
    return C;
}

void Note(TNormalizeReport* Report, char16_t C) {
    if (!Report) return;
    ++Report->Replaced;
    // The distinct characters are few (the tables' size), so the search is short.
    if (Report->Distinct.find(C) == std::u16string::npos) Report->Distinct += C;
}
} // namespace

std::u16string NormalizeText(std::u16string_view Text, TNormalizeReport* Report) {
    std::u16string Out;
    Out.reserve(Text.size());
    // A run of superscripts is one exponent after one "^"; a negative one is
    // bracketed, since the language takes no sign right after "^".
    bool InExponent = false, Bracketed = false;
    auto EndExponent = [&] {
        if (Bracketed) Out += u')';
        InExponent = Bracketed = false;
    };
    for (const char16_t C : Text) {
        if (const std::optional<char16_t> Digit = SuperscriptOf(C)) {
            if (!InExponent) {
                Bracketed = *Digit == u'-';
                Out += Bracketed ? u"^(" : u"^";
            }
            Out += *Digit == u'-' ? u'\u2013' : *Digit;
            InExponent = true;
            Note(Report, C);
            continue;
        }
        EndExponent();
        const std::optional<char16_t> Previous = Out.empty() ? std::nullopt : std::optional(Out.back());
        const char16_t R = Replacement(C, Previous);
        if (R != C) Note(Report, C);
        Out += R;
    }
    EndExponent();
    return Out;
}
