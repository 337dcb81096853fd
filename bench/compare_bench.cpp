// Comparing two assessments: both walked afresh from their judgements, the items paired by
// name and every shared judgement compared. The target is well under half a second for
// two 100-item assessments.
#include "analysis/Compare.h"
#include "model/Data.h"
#include "tests/core/support/RandomAssessment.h"

#include <benchmark/benchmark.h>

namespace {

// The usual case: the second assessment is the first with one judgement changed.
void CompareOneChange(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const CData before = RandomAssessment(n, 11);
    CData after = before;
    after.MT(n / 2, n / 3) = after.MT(n / 2, n / 3) == 0.5f ? 0.25f : 0.5f;
    for (auto _ : state) {
        const AssessmentComparison c = CompareAssessments(before, after);
        if (c.Changed.size() != 1) {
            state.SkipWithError("not exactly one changed judgement");
            break;
        }
        benchmark::DoNotOptimize(c.Rm);
    }
}
BENCHMARK(CompareOneChange)->Arg(15)->Arg(100)->Unit(benchmark::kMillisecond);

// The worst case: the same items with every judgement drawn anew, so nearly every cell of
// the six sources is listed.
void CompareAllChanged(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const CData before = RandomAssessment(n, 11);
    const CData after = RandomAssessment(n, 12);
    std::size_t changed = 0;
    for (auto _ : state) {
        const AssessmentComparison c = CompareAssessments(before, after);
        changed = c.Changed.size();
        benchmark::DoNotOptimize(c.Rm);
    }
    state.counters["changed"] = static_cast<double>(changed);
}
BENCHMARK(CompareAllChanged)->Arg(15)->Arg(100)->Unit(benchmark::kMillisecond);

} // namespace
