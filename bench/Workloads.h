// The benchmark workloads, generated deterministically: the same arguments give
// the same text on every machine. Each workload is written in the calculator's
// own language and, where the peer can express it, in the languages of the
// programs it is compared with (python3, bc -l, qalc, muparser), so that every program
// computes the same values and prints one line per statement.
#pragma once
#include <cstdint>
#include <string>

enum TLanguage { lgSumtra, lgPython, lgBc, lgQalc, lgMuparser };

enum TWorkloadKind {
    wkIndependent, // W1: independent real expressions
    wkChained,     // W2: chained assignments, then reads of random earlier variables
    wkCalls,       // W3: five user functions, then calls
    wkComplex,     // W4: complex expressions
    wkDeep,        // W5: one expression nested Size brackets deep
    wkLong,        // W5: one line 1+1+...+1 of about Size characters
    wkStartup,     // W6: the program 1+2
};

struct TWorkload {
    std::string Text;        // UTF-8, one statement per line
    std::int32_t Statements; // lines of output the program writes
};

// Size is the number of statements (W1, W3 calls, W4), of assignments and of
// reads each (W2), the depth (deep) or the character count (long); 0 gives the
// standard size.
TWorkload MakeWorkload(TWorkloadKind Kind, TLanguage Language, std::int32_t Size = 0);
std::int32_t StandardSize(TWorkloadKind Kind);

// Statement K (1-based) of the independent, complex and call workloads, for the
// per-statement benchmarks; the call workload's definitions are CallDefinitions.
std::string IndependentStatement(std::int32_t K, TLanguage Language);
std::string ComplexStatement(std::int32_t K, TLanguage Language);
std::string CallStatement(std::int32_t K, TLanguage Language);
std::string CallDefinitions(TLanguage Language);
