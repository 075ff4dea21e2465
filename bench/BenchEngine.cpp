// The engine's parts under Google Benchmark: tokenizing, one statement of each
// workload kind through the whole runner, FloatToGeneral, identifier lookup at
// three list sizes, a user-function call, and the cost floor of a W1 statement
// (its extended-precision functions and its printing done directly, with no
// scanning, parsing or checking). Every benchmark runs the real code on real
// input; results are kept with DoNotOptimize so that no work is skipped.
#include "Parse.Infix.h"
#include "Parse.Utils.h"
#include "Utils.h"
#include "Workloads.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <random>

namespace {
std::u16string Program(const std::string& Utf8) {
    return NormalizeLineBreaks(FromUtf8(Utf8));
}

void ResetGlobals() {
    GlobalIdents().Clear();
    RegisterBuiltins(GlobalIdents());
}

// Runs one statement per iteration, cycling through Count prepared statements.
void RunStatements(benchmark::State& State, TProgramParser& Parser,
                   const std::vector<std::u16string>& Lines) {
    std::size_t I = 0;
    for (auto _ : State) {
        bool Ok = Parser.Execute(Lines[I], false);
        benchmark::DoNotOptimize(Ok);
        if (!Ok) State.SkipWithError("a statement failed");
        if (++I == Lines.size()) I = 0;
    }
    State.SetItemsProcessed(State.iterations());
}

std::vector<std::u16string> Statements(std::string (*Make)(std::int32_t, TLanguage), std::int32_t Count) {
    std::vector<std::u16string> Lines;
    for (std::int32_t K = 1; K <= Count; ++K)
        Lines.push_back(Program(Make(K, lgSumtra)));
    return Lines;
}

void BM_Tokenize(benchmark::State& State) {
    const std::string Utf8 = MakeWorkload(wkIndependent, lgSumtra).Text;
    const std::u16string Text = Program(Utf8);
    TSymbols Symbols;
    TTokenizer Tokenizer(Symbols);
    for (auto _ : State) {
        Tokenizer.SetExpression(Text);
        benchmark::DoNotOptimize(Tokenizer.Count());
    }
    State.SetBytesProcessed(State.iterations() * static_cast<std::int64_t>(Utf8.size()));
    State.counters["tokens"] = Tokenizer.Count();
}
BENCHMARK(BM_Tokenize)->Unit(benchmark::kMillisecond);

void BM_StatementW1(benchmark::State& State) {
    ResetGlobals();
    TProgramParser Parser;
    RunStatements(State, Parser, Statements(IndependentStatement, 1000));
}
BENCHMARK(BM_StatementW1);

// A read of three variables among 10,000 defined ones.
void BM_StatementW2(benchmark::State& State) {
    ResetGlobals();
    TProgramParser Parser;
    const std::string W = MakeWorkload(wkChained, lgSumtra).Text;
    const std::size_t Reads = W.find("\n", W.find("v10000 :=")) + 1;
    Parser.Execute(Program(W.substr(0, Reads)), true);
    std::vector<std::u16string> Lines;
    for (std::size_t At = Reads; At < W.size() && Lines.size() < 1000;) {
        std::size_t End = W.find('\n', At);
        Lines.push_back(Program(W.substr(At, End - At)));
        At = End + 1;
    }
    RunStatements(State, Parser, Lines);
}
BENCHMARK(BM_StatementW2);

void BM_StatementW3(benchmark::State& State) {
    ResetGlobals();
    TProgramParser Parser;
    Parser.Execute(Program(CallDefinitions(lgSumtra)), true);
    RunStatements(State, Parser, Statements(CallStatement, 1000));
}
BENCHMARK(BM_StatementW3);

void BM_StatementW4(benchmark::State& State) {
    ResetGlobals();
    TProgramParser Parser;
    RunStatements(State, Parser, Statements(ComplexStatement, 1000));
}
BENCHMARK(BM_StatementW4);

void BM_StatementW5(benchmark::State& State, TWorkloadKind Kind) {
    ResetGlobals();
    TProgramParser Parser;
    RunStatements(State, Parser, {Program(MakeWorkload(Kind, lgSumtra).Text)});
}
BENCHMARK_CAPTURE(BM_StatementW5, deep2000, wkDeep)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_StatementW5, long200k, wkLong)->Unit(benchmark::kMillisecond);

// One call of f5, which calls f1, f2, f4 and f3, straight through Eval.
void BM_UserFunctionCall(benchmark::State& State) {
    ResetGlobals();
    TProgramParser Parser;
    Parser.Execute(Program(CallDefinitions(lgSumtra)), true);
    TFunction* F5 = GlobalIdents().Find<TFunction>(u"f5");
    const TCompList Args{1.5L, 3};
    for (auto _ : State)
        benchmark::DoNotOptimize(F5->Eval(Args));
}
BENCHMARK(BM_UserFunctionCall);

// Args: precision, and the binary exponents spanned by the values: 40 gives
// results from about 1e-6 to 1e6, 400 from about 1e-60 to 1e60.
void BM_FloatToGeneral(benchmark::State& State) {
    std::mt19937_64 Rng(7);
    std::vector<Extended> Values(4096);
    const auto Span = static_cast<int>(State.range(1));
    for (Extended& V : Values)
        V = std::ldexp(static_cast<Extended>(Rng()), static_cast<int>(Rng() % Span) - Span / 2 - 64);
    const auto Precision = static_cast<std::int32_t>(State.range(0));
    std::size_t I = 0;
    for (auto _ : State) {
        benchmark::DoNotOptimize(FloatToGeneral(Values[I], Precision, u'.'));
        I = (I + 1) & 4095;
    }
}
BENCHMARK(BM_FloatToGeneral)->Args({5, 40})->Args({18, 40})->Args({5, 400})->Args({5, 10});

// Find<TVariable> of a random existing name in a list of N variables.
void BM_IdentLookup(benchmark::State& State) {
    const auto N = static_cast<std::int32_t>(State.range(0));
    TIdentList List;
    std::vector<std::u16string> Names;
    for (std::int32_t I = 0; I < N; ++I) {
        Names.push_back(FromUtf8("v" + std::to_string(I)));
        List.AddVar(Names.back(), I, u"");
    }
    std::mt19937 Rng(3);
    std::vector<std::u16string> Queries;
    for (int I = 0; I < 4096; ++I)
        Queries.push_back(Names[Rng() % Names.size()]);
    std::size_t I = 0;
    for (auto _ : State) {
        benchmark::DoNotOptimize(List.Find<TVariable>(Queries[I]));
        I = (I + 1) & 4095;
    }
}
BENCHMARK(BM_IdentLookup)->Arg(100)->Arg(10000)->Arg(100000);

// The floor of a W1 statement: the same extended-precision functions the
// engine calls (a power as exp(y ln x), as the engine computes it) and one
// correctly rounded 18-digit conversion, with no scanning, parsing or checking.
Extended FloorValue(std::int32_t K) {
    const Extended X = K;
    auto Pow = [](Extended B, Extended E) { return std::exp(E * std::log(B)); };
    switch (K % 5) {
    case 0: return (X * 3.5L + std::sin(X / 7)) / (1 + Pow(X, 2));
    case 1: return std::exp(0.5L * std::log(X)) * std::cos(X / 3) - std::log(X + 1);
    case 2: return std::exp(-X / 5000) * (X - 2.25L) / 3;
    case 3: return Pow(X / 9, 3) - std::sin(X) * std::cos(X);
    default: return std::log(Pow(X, 2) + 1) / std::exp(0.5L * std::log(X + 0.5L)) + X * 0.001L;
    }
}

void BM_FloorW1(benchmark::State& State) {
    std::int32_t K = 1;
    char Buf[64];
    for (auto _ : State) {
        std::snprintf(Buf, sizeof Buf, "%.17Le", FloorValue(K));
        benchmark::DoNotOptimize(Buf);
        K = K == 1000 ? 1 : K + 1;
    }
}
BENCHMARK(BM_FloorW1);
} // namespace

BENCHMARK_MAIN();
