// The printable report of a 100-item assessment: computing, laying out, painting the PDF
// and writing it, as the rating window's "Отчёт..." does. The file's size and page count
// are counters. Then the preparation of the report's content on its own, how long the
// window goes at most without hearing from it, and how soon a stop ends it.
#include "model/Messages.h"
#include "ui/export/AssessmentReport.h"
#include "ui/export/ReportContent.h"
#include "ui/export/ReportLayout.h"

#include "RandomAssessment.h"

#include <QCoreApplication>
#include <QDate>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct ThrowingSink : IMessageSink {
    void ShowMessage(const std::string& text) override { throw std::runtime_error(text); }
};

ReportRequest RatingRequest()
{
    ReportRequest request;
    request.FileName = "random.sav";
    request.Rating = RatingSelection { 1, 2, 3 };
    request.High = 2.0f;
    request.Low = 0.5f;
    return request;
}

double Milliseconds(Clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

void ReportWrite(benchmark::State& state)
{
    const CData assessment = RandomAssessment(static_cast<int>(state.range(0)), 7);
    const ReportRequest request = RatingRequest();
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("report.pdf")).toStdString();
    ThrowingSink messages;
    for (auto _ : state)
        WriteAssessmentReport(path, assessment, request, messages);
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    state.counters["pages"]
        = static_cast<double>(LayOutReport(AssessmentReportBlocks(assessment, request, QDate()), kA4Report).size());
}
BENCHMARK(ReportWrite)->Arg(15)->Arg(100)->Unit(benchmark::kMillisecond);

// What stands before the first page: the blocks of every section. Counters: the calls of
// the progress and the longest time between two of them (or before the first, or after the
// last), during which a window waiting on the report handles no event: the median of the
// runs, since a run the machine interrupted has one longer gap. With a second argument of 1
// each call also handles the events waiting, as the rating window does.
void ReportPrepare(benchmark::State& state)
{
    const CData assessment = RandomAssessment(static_cast<int>(state.range(0)), 7);
    const ReportRequest request = RatingRequest();
    int calls = 0;
    std::vector<double> longest;
    for (auto _ : state) {
        calls = 0;
        Clock::duration gap {};
        Clock::time_point last = Clock::now();
        const auto blocks = AssessmentReportBlocks(assessment, request, QDate(), [&](int, int) {
            const Clock::time_point now = Clock::now();
            gap = std::max(gap, now - last);
            last = now;
            ++calls;
            if (state.range(1) != 0)
                QCoreApplication::processEvents();
            return true;
        });
        gap = std::max(gap, Clock::now() - last);
        longest.push_back(Milliseconds(gap));
        benchmark::DoNotOptimize(blocks);
    }
    std::nth_element(longest.begin(), longest.begin() + longest.size() / 2, longest.end());
    state.counters["calls"] = calls;
    state.counters["longest_ms"] = longest[longest.size() / 2];
}
BENCHMARK(ReportPrepare)->Args({ 15, 0 })->Args({ 100, 0 })->Args({ 100, 1 })->Unit(benchmark::kMillisecond);

// The layout, also before the first page, where nothing is told.
void ReportLayOut(benchmark::State& state)
{
    const CData assessment = RandomAssessment(static_cast<int>(state.range(0)), 7);
    const auto blocks = AssessmentReportBlocks(assessment, RatingRequest(), QDate());
    for (auto _ : state)
        benchmark::DoNotOptimize(LayOutReport(blocks, kA4Report));
}
BENCHMARK(ReportLayOut)->Arg(15)->Arg(100)->Unit(benchmark::kMillisecond);

// From the progress's "stop" to the report's return, stopped at the middle call of the
// preparation (inside the sensitivity ranking at 100 items, with every section before it
// built) or at its last (everything built). Add the longest time between calls above for
// the most a stop can wait to be seen.
void ReportStop(benchmark::State& state)
{
    const CData assessment = RandomAssessment(static_cast<int>(state.range(0)), 7);
    const ReportRequest request = RatingRequest();
    int preparing = 0;
    AssessmentReportBlocks(assessment, request, QDate(), [&preparing](int, int) { return ++preparing > 0; });
    const int stopAt = state.range(1) == 0 ? preparing / 2 : preparing;
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("report.pdf")).toStdString();
    ThrowingSink messages;
    for (auto _ : state) {
        int calls = 0;
        Clock::time_point stopped;
        const bool written = WriteAssessmentReport(path, assessment, request, messages, {}, [&](ReportStage, int, int) {
            if (++calls < stopAt)
                return true;
            stopped = Clock::now();
            return false;
        });
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - stopped).count());
        if (written || std::filesystem::exists(path))
            state.SkipWithError("the stopped report was written");
    }
    state.counters["stop_call"] = stopAt;
}
BENCHMARK(ReportStop)->Args({ 100, 0 })->Args({ 100, 1 })->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
