// sumtra-workloads: writes one benchmark workload to standard output.
//   sumtra-workloads [--count] KIND LANGUAGE [SIZE]
// KIND is w1, w2, w3, w4, w5deep, w5long or w6; LANGUAGE is sumtra, python, bc,
// qalc or muparser (W1, W5 and W6 only: it has no complex numbers, assignments
// or functions of the user's). With --count it prints how many value lines end the program's output.
#include "Workloads.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {
struct TKindName {
    std::string_view Name;
    TWorkloadKind Kind;
};
constexpr TKindName Kinds[] = {{"w1", wkIndependent}, {"w2", wkChained},  {"w3", wkCalls},  {"w4", wkComplex},
                               {"w5deep", wkDeep},    {"w5long", wkLong}, {"w6", wkStartup}};
struct TLanguageName {
    std::string_view Name;
    TLanguage Language;
};
constexpr TLanguageName Languages[] = {
    {"sumtra", lgSumtra}, {"python", lgPython}, {"bc", lgBc}, {"qalc", lgQalc}, {"muparser", lgMuparser}};

int Usage() {
    std::fputs(
        "usage: sumtra-workloads [--count] w1|w2|w3|w4|w5deep|w5long|w6 sumtra|python|bc|qalc|muparser [SIZE]\n",
        stderr);
    return 2;
}
} // namespace

int main(int Argc, char** Argv) {
    int I = 1;
    const bool Count = I < Argc && std::string_view(Argv[I]) == "--count";
    if (Count) ++I;
    if (Argc - I < 2 || Argc - I > 3) return Usage();
    const TKindName* Kind = nullptr;
    for (const auto& K : Kinds)
        if (K.Name == Argv[I]) Kind = &K;
    const TLanguageName* Language = nullptr;
    for (const auto& L : Languages)
        if (L.Name == Argv[I + 1]) Language = &L;
    if (!Kind || !Language) return Usage();
    const int Size = Argc - I == 3 ? std::atoi(Argv[I + 2]) : 0;
    const TWorkload W = MakeWorkload(Kind->Kind, Language->Language, Size);
    if (Count)
        std::printf("%d\n", W.Statements);
    else
        std::fwrite(W.Text.data(), 1, W.Text.size(), stdout);
    return 0;
}
