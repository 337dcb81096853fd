// The Excel workbook of a whole assessment: every result computed, every sheet and chart
// written by the library, the file read back into memory, ready for the crash-safe save.
#include "ui/export/workbook/Workbook.h"

#include "tests/core/support/RandomAssessment.h"

#include <benchmark/benchmark.h>

#include <optional>
#include <string>

namespace {

void AssessmentWorkbookOf(benchmark::State& state)
{
    const int items = static_cast<int>(state.range(0));
    const CData data = RandomAssessment(items, 4711u + static_cast<unsigned>(items));
    ReportRequest request;
    request.FileName = "assessment.sav";
    request.Rating = RatingSelection { items / 2, items / 3, items / 4 };
    request.High = data.HighLevel;
    request.Low = data.LowLevel;
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::optional<std::string> book = AssessmentWorkbook(data, request, { 2026, 1, 1 });
        if (!book) {
            state.SkipWithError("the workbook was not made");
            break;
        }
        bytes = book->size();
        benchmark::DoNotOptimize(book->data());
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(AssessmentWorkbookOf)->Arg(15)->Arg(40)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);

} // namespace
