// The sensitivity ranking of every layer, threat and mechanism, on generated assessments
// of 15, 40 and 100 items per list: the whole ranking on every core and on one, an
// assessment with negative values (every shift evaluated), and one triple the
// straightforward way for comparison.
#include "analysis/Damage.h"
#include "analysis/Derived.h"
#include "analysis/Rating.h"
#include "analysis/Sensitivity.h"
#include "model/Data.h"
#include "tests/core/support/RandomAssessment.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>

namespace {

// As the rating window finds it: after modes 1 to 4 and the damage matrices.
CData Analysed(int itemsPerList)
{
    CData data = RandomAssessment(itemsPerList, 20240u + static_cast<unsigned>(itemsPerList));
    ComputeAllModes(data);
    ComputeDamageMatrices(data);
    return data;
}

double Triples(int n)
{
    return static_cast<double>(n) * n * n;
}

void Rank(benchmark::State& state, const CData& data, unsigned threads)
{
    const int n = static_cast<int>(state.range(0));
    SensitivityOptions options;
    options.Threads = threads;
    for (auto _ : state) {
        SensitivityResult r = RankSensitivity(data, options);
        if (r.Ranking.size() != static_cast<std::size_t>(Triples(n))) {
            state.SkipWithError("the ranking is incomplete");
            break;
        }
        benchmark::DoNotOptimize(r.Ranking.data());
    }
    state.counters["triples"] = benchmark::Counter(Triples(n));
    state.counters["triples_per_second"]
        = benchmark::Counter(Triples(n) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// The whole ranking with one thread per core: what a caller gets from RankSensitivity.
void SensitivityRanking(benchmark::State& state)
{
    Rank(state, Analysed(static_cast<int>(state.range(0))), 0);
}
BENCHMARK(SensitivityRanking)->Arg(15)->Arg(40)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same on one thread: the cost per triple.
void SensitivityRankingOneThread(benchmark::State& state)
{
    Rank(state, Analysed(static_cast<int>(state.range(0))), 1);
}
BENCHMARK(SensitivityRankingOneThread)->Arg(15)->Arg(40)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();

// Negative values, which no window admits but a file may hold: every shift of the closed
// form and of its absolute counterpart, and the exact evaluation where the bound cannot
// vouch for the tolerance.
void SensitivityRankingNegativeValues(benchmark::State& state)
{
    CData data = Analysed(static_cast<int>(state.range(0)));
    // Every fourth frequency below zero, far enough to stay clamped at some shifts.
    for (Matrix* m : { &data.EF, &data.FM })
        for (int i = 0; i < m->Rows(); ++i)
            for (int j = (i % 4); j < m->Cols(); j += 4)
                (*m)(i, j) = -(*m)(i, j) - 1.0f;
    for (int i = 0; i < data.DamageEM.Rows(); i += 3)
        for (int j = 0; j < data.DamageEM.Cols(); j += 2)
            data.DamageEM(i, j) = -data.DamageEM(i, j);
    Rank(state, data, 0);
}
BENCHMARK(SensitivityRankingNegativeValues)->Arg(15)->Arg(40)->Unit(benchmark::kMillisecond)->UseRealTime();

// One triple the straightforward way: RatingRange of both indicators (201 full
// evaluations each) and both values at shift 0; with what the whole ranking would take so.
void SensitivityTripleStraightforward(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const CData data = Analysed(n);
    const RatingSelection s { n / 2, n / 3, n - 1 };
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        for (RatingKind kind : { RatingKind::Rm, RatingKind::Re }) {
            benchmark::DoNotOptimize(RatingRange(data, kind, s, 1.0f, -10.0f, 10.0f));
            benchmark::DoNotOptimize(RatingAtShift(data, kind, s, 0.0f, 1.0f));
        }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.counters["triples_per_second"]
        = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["whole_ranking_hours"]
        = benchmark::Counter(seconds / static_cast<double>(state.iterations()) * Triples(n) / 3600.0);
}
BENCHMARK(SensitivityTripleStraightforward)->Arg(15)->Arg(40)->Arg(100)->Unit(benchmark::kMillisecond);

} // namespace
