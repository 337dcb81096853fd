// vardun-report: the analysis of a data file without a window, for batch use and for
// checking results. Prints one JSON object on stdout.
#include "tools/report/ChartImages.h"
#include "tools/report/CompareJson.h"
#include "tools/report/Console.h"
#include "tools/report/CsvFiles.h"
#include "tools/report/OffscreenApplication.h"
#include "tools/report/PdfReport.h"
#include "tools/report/Report.h"
#include "tools/report/ReportOptions.h"
#include "tools/report/SensitivityJson.h"

#include "analysis/Compare.h"
#include "model/Data.h"
#include "model/Messages.h"
#include "model/Utf8Path.h"
#include "ui/export/workbook/Workbook.h"

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

// The loader's and the writer's messages go to stderr, one per line, as UTF-8.
class StderrSink : public IMessageSink {
public:
    void ShowMessage(const std::string& text) override
    {
        std::cerr << text << '\n';
        said_ = true;
    }
    bool Said() const { return said_; }

private:
    bool said_ = false;
};

bool WriteWorkbookFile(const CData& data, const std::string& input, const std::string& path,
    const std::optional<RatingRequest>& rating, IMessageSink& messages)
{
    ReportRequest request;
    request.FileName = Utf8FromPath(PathFromUtf8(input).filename());
    if (rating) {
        request.Rating = rating->Selection;
        request.High = rating->High;
        request.Low = rating->Low;
    }
    return WriteAssessmentWorkbook(path, data, request, messages);
}

int UsageError(const std::string& reason)
{
    std::cerr << "vardun-report: " << reason << "\n" << kReportUsage;
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    const OffscreenApplicationScope application;
    UseBinaryStandardStreams();
    std::string error;
    const std::optional<ReportOptions> options = ParseReportOptions(CommandLineArguments(argc, argv), error);
    if (!options)
        return UsageError(error);
    if (options->Help) {
        std::cout << kReportUsage;
        return 0;
    }

    CData data;
    StderrSink messages;
    if (!data.LoadFromFile(options->Input, messages)) {
        if (!messages.Said())
            std::cerr << "vardun-report: " << options->Input << " was not loaded\n";
        return 1;
    }
    std::optional<RatingRequest> rating;
    if (options->Rating) {
        if (!SelectionFits(data, *options->Rating))
            return UsageError("--rating names a position outside the analysed items");
        rating = RatingRequest { *options->Rating, options->High.value_or(data.HighLevel),
            options->Low.value_or(data.LowLevel) };
    }
    // Read before anything is written, so that a rejected second file leaves no outputs.
    std::optional<CData> other;
    if (options->CompareWith) {
        other.emplace();
        if (!other->LoadFromFile(*options->CompareWith, messages)) {
            std::cerr << "vardun-report: " << *options->CompareWith << " was not loaded\n";
            return 1;
        }
    }
    // The store as loaded; the walk below writes back only copies of what it read.
    if (options->SaveTo && !data.SaveToFile(*options->SaveTo, messages)) {
        if (!messages.Said())
            std::cerr << "vardun-report: " << *options->SaveTo << " was not saved\n";
        return 1;
    }

    // From the store as loaded, before the walk below changes its derived matrices.
    if (options->ChartsDir && !WriteChartImages(data, *options->ChartsDir, rating, messages))
        return 1;
    if (options->SvgDir && !WriteChartSvgs(data, *options->SvgDir, rating, messages))
        return 1;
    if (options->CsvDir && !WriteCsvFiles(data, *options->CsvDir, rating, messages))
        return 1;
    if (options->XlsxPath && !WriteWorkbookFile(data, options->Input, *options->XlsxPath, rating, messages))
        return 1;
    // "--pdf /dev/stdout" sends the report down a pipe: the JSON then keeps off stdout,
    // where it would trail the PDF.
    const bool pdfOnStdout = options->PdfPath && IsStandardOutput(*options->PdfPath);
    if (options->PdfPath
        && !WritePdfReport(data, options->Input, *options->PdfPath, rating, messages, other ? &*other : nullptr,
            options->CompareWith.value_or("")))
        return 1;

    ReportJson report = BuildReport(data, rating);
    if (other)
        report["compare"] = CompareJson(CompareAssessments(data, *other), *options->CompareWith);
    // After the walk: the ranking reads the derived matrices.
    if (options->Sensitivity)
        report["sensitivity"] = SensitivityJson(data, options->SensitivityTop);
    if (!pdfOnStdout)
        std::cout << DumpReport(report) << '\n';
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "vardun-report: the report could not be written\n";
        return 1;
    }
    return 0;
}
