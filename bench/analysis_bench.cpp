// What one repaint of the rating window computes, and loading and saving a large file,
// on generated assessments of growing size.
#include "analysis/Damage.h"
#include "analysis/Derived.h"
#include "analysis/Rating.h"
#include "model/Data.h"
#include "model/Messages.h"
#include "tests/core/support/RandomAssessment.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

class SilentSink : public IMessageSink {
public:
    void ShowMessage(const std::string&) override { ++count; }
    int count = 0;
};

// An assessment after the walk through modes 1 to 4 and the damage matrices, as the
// rating window finds it.
CData Analysed(int itemsPerList)
{
    CData data = RandomAssessment(itemsPerList, 20240u + static_cast<unsigned>(itemsPerList));
    ComputeAllModes(data);
    ComputeDamageMatrices(data);
    return data;
}

// Per chart: the unscaled range, then for each of the three levels its range and its
// 100 samples; 2 x (201 + 3 x (201 + 100)) = 2,208 evaluations.
void RepaintFast(const CData& data, const RatingSelection& selection)
{
    const float levels[] = { 1.0f, data.HighLevel, data.LowLevel };
    const RatingEvaluator evaluator(data, selection);
    for (RatingKind kind : { RatingKind::Rm, RatingKind::Re }) {
        benchmark::DoNotOptimize(evaluator.Range(kind, 1.0f));
        for (float level : levels) {
            const float factor = DamageFactor(level);
            benchmark::DoNotOptimize(evaluator.Range(kind, factor));
            benchmark::DoNotOptimize(evaluator.Samples(kind, factor));
        }
    }
}

// The same evaluations through the straightforward functions, one full evaluation each.
void RepaintReference(const CData& data, const RatingSelection& selection)
{
    const float levels[] = { 1.0f, data.HighLevel, data.LowLevel };
    for (RatingKind kind : { RatingKind::Rm, RatingKind::Re }) {
        benchmark::DoNotOptimize(RatingRange(data, kind, selection, 1.0f, -10.0f, 10.0f));
        for (float level : levels) {
            const float factor = DamageFactor(level);
            benchmark::DoNotOptimize(RatingRange(data, kind, selection, factor, -10.0f, 10.0f));
            for (int i = 0; i < kCurveSamples; ++i) {
                const float shift = static_cast<float>(i) * 0.2f + (-10.0f);
                benchmark::DoNotOptimize(RatingAtShift(data, kind, selection, shift, factor));
            }
        }
    }
}

RatingSelection MiddleSelection(int n)
{
    return { n / 2, n / 3, n - 1 };
}

void RatingRepaint(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const CData data = Analysed(n);
    for (auto _ : state)
        RepaintFast(data, MiddleSelection(n));
    state.counters["evaluations"] = benchmark::Counter(2208, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(RatingRepaint)->Arg(15)->Arg(40)->Arg(100)->Arg(120)->Unit(benchmark::kMillisecond);

// Both paths on the same assessment in one run: their CPU times per repaint and the
// ratio, as counters (reference_ms, fast_ms, speedup).
void RatingRepaintSpeedup(benchmark::State& state)
{
    using Clock = std::chrono::steady_clock;
    const int n = static_cast<int>(state.range(0));
    const CData data = Analysed(n);
    double referenceSeconds = 0.0, fastSeconds = 0.0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        RepaintReference(data, MiddleSelection(n));
        const auto t1 = Clock::now();
        // Enough fast repaints to time them well.
        int repeats = 0;
        auto t2 = t1;
        do {
            RepaintFast(data, MiddleSelection(n));
            ++repeats;
            t2 = Clock::now();
        } while (t2 - t1 < std::chrono::milliseconds(200));
        referenceSeconds = std::chrono::duration<double>(t1 - t0).count();
        fastSeconds = std::chrono::duration<double>(t2 - t1).count() / repeats;
        state.SetIterationTime(referenceSeconds + fastSeconds);
    }
    state.counters["reference_ms"] = referenceSeconds * 1e3;
    state.counters["fast_ms"] = fastSeconds * 1e3;
    state.counters["speedup"] = referenceSeconds / fastSeconds;
}
BENCHMARK(RatingRepaintSpeedup)
    ->Arg(15)
    ->Arg(40)
    ->Arg(100)
    ->Arg(120)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

std::string TempFile(const std::string& name)
{
    return (std::filesystem::temp_directory_path() / ("vardun-bench-" + std::to_string(::getpid()) + "-" + name))
        .string();
}

void LoadFile(benchmark::State& state)
{
    const std::string path = TempFile("load.sav");
    SilentSink sink;
    if (!RandomAssessment(static_cast<int>(state.range(0)), 7).SaveToFile(path, sink)) {
        state.SkipWithError("the file could not be written");
        return;
    }
    for (auto _ : state) {
        CData data;
        if (!data.LoadFromFile(path, sink)) {
            state.SkipWithError("the file was rejected");
            break;
        }
        benchmark::DoNotOptimize(data.FM);
    }
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(std::filesystem::file_size(path)));
    std::filesystem::remove(path);
}
BENCHMARK(LoadFile)->Arg(100)->Unit(benchmark::kMillisecond);

void SaveFile(benchmark::State& state)
{
    const std::string path = TempFile("save.sav");
    const CData data = RandomAssessment(static_cast<int>(state.range(0)), 7);
    SilentSink sink;
    for (auto _ : state) {
        if (!data.SaveToFile(path, sink)) {
            state.SkipWithError("the file could not be written");
            break;
        }
    }
    if (std::filesystem::exists(path)) {
        state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations())
            * static_cast<std::int64_t>(std::filesystem::file_size(path)));
        std::filesystem::remove(path);
    }
}
BENCHMARK(SaveFile)->Arg(100)->Unit(benchmark::kMillisecond);

} // namespace
