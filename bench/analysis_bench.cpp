// What one repaint of the rating window computes, and loading and saving a large file,
// on generated assessments of growing size.
#include "analysis/Damage.h"
#include "analysis/Derived.h"
#include "analysis/Rating.h"
#include "model/Data.h"
#include "model/Messages.h"
#include "tests/core/support/RandomAssessment.h"

#include <benchmark/benchmark.h>

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
void RatingRepaint(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const CData data = Analysed(n);
    const RatingSelection selection { n / 2, n / 3, n - 1 };
    const float levels[] = { 1.0f, data.HighLevel, data.LowLevel };
    for (auto _ : state) {
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
    state.counters["evaluations"] = benchmark::Counter(2208, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(RatingRepaint)->Arg(15)->Arg(40)->Arg(100)->Unit(benchmark::kMillisecond);

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
