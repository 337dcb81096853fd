// The command line of vardun-report.
#pragma once

#include "analysis/Rating.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

struct ReportOptions {
    std::string Input;
    std::optional<RatingSelection> Rating;
    std::optional<float> High;
    std::optional<float> Low;
    std::optional<std::string> SaveTo;
    std::optional<std::string> ChartsDir;
    std::optional<std::string> CsvDir;
    std::optional<std::string> SvgDir;
    std::optional<std::string> PdfPath;
    std::optional<std::string> XlsxPath;
    // A second assessment to set beside the first.
    std::optional<std::string> CompareWith;
    // The sensitivity ranking, and how many of its first triples (all when absent).
    bool Sensitivity = false;
    std::optional<std::size_t> SensitivityTop;
    bool Help = false;
};

extern const char* const kReportUsage;

// The options, or the reason the command line is not understood in `error`.
std::optional<ReportOptions> ParseReportOptions(const std::vector<std::string>& args, std::string& error);
