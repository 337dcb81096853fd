// The printable report of a 100-item assessment: computing, laying out, painting the PDF
// and writing it, as the rating window's "Отчёт..." does. The file's size and page count
// are counters.
#include "model/Messages.h"
#include "ui/export/AssessmentReport.h"
#include "ui/export/ReportContent.h"
#include "ui/export/ReportLayout.h"

#include "RandomAssessment.h"

#include <QDate>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <filesystem>
#include <stdexcept>

namespace {

struct ThrowingSink : IMessageSink {
    void ShowMessage(const std::string& text) override { throw std::runtime_error(text); }
};

void ReportWrite(benchmark::State& state)
{
    const CData assessment = RandomAssessment(static_cast<int>(state.range(0)), 7);
    ReportRequest request;
    request.FileName = "random.sav";
    request.Rating = RatingSelection { 1, 2, 3 };
    request.High = 2.0f;
    request.Low = 0.5f;
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

} // namespace
