// vardun-report: the analysis of a data file without a window, for batch use and for
// checking results. Prints one JSON object on stdout.
#include "tools/report/ChartImages.h"
#include "tools/report/Console.h"
#include "tools/report/CsvFiles.h"
#include "tools/report/OffscreenApplication.h"
#include "tools/report/Report.h"
#include "tools/report/ReportOptions.h"

#include "model/Data.h"
#include "model/Messages.h"
#include "model/Utf8Path.h"
#include "ui/windows/AssessmentActions.h"

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

int UsageError(const std::string& reason)
{
    std::cerr << "vardun-report: " << reason << "\n" << ReportUsage();
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
        std::cout << ReportUsage();
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
    // What each analysis of the rating window's brings to the run (a second file to compare
    // is read here, before anything is written, so that a rejected one leaves no outputs).
    const std::span<const AssessmentAction> actions = AssessmentActions();
    std::vector<std::optional<FlagPart>> parts(actions.size());
    for (std::size_t k = 0; k < actions.size(); ++k) {
        if (!actions[k].Part)
            continue;
        parts[k] = actions[k].Part({ data, options->Input, options->Actions[k], messages });
        if (!parts[k])
            return 1;
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
    ReportRequest request;
    request.FileName = Utf8FromPath(PathFromUtf8(options->Input).filename());
    if (rating) {
        request.Rating = rating->Selection;
        request.High = rating->High;
        request.Low = rating->Low;
    }
    for (const std::optional<FlagPart>& part : parts)
        if (part && part->Section)
            request.Sections.push_back(part->Section);
    // "--pdf /dev/stdout" sends the report down a pipe: the JSON then keeps off stdout,
    // where it would trail the output.
    bool outputOnStdout = false;
    for (std::size_t k = 0; k < actions.size(); ++k) {
        const std::optional<std::string>& path = options->Actions[k];
        if (!actions[k].Write || !path)
            continue;
        EnsureOffscreenApplication();
        if (!actions[k].Write(*path, data, request, messages))
            return 1;
        outputOnStdout = outputOnStdout || IsStandardOutput(*path);
    }

    ReportJson report = BuildReport(data, rating);
    // After the walk: the analyses read the derived matrices.
    for (std::size_t k = 0; k < actions.size(); ++k)
        if (parts[k] && parts[k]->Json)
            report[JsonKey(actions[k])] = parts[k]->Json(data);
    if (!outputOnStdout)
        std::cout << DumpReport(report) << '\n';
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "vardun-report: the report could not be written\n";
        return 1;
    }
    return 0;
}
