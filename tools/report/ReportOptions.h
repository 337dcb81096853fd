// The command line of vardun-report: its own options, and those of the rating window's
// actions (AssessmentActions), taken from their table.
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
    // Per row of the actions, in the table's order: its option's value; none when the option
    // was not given, empty when given without its optional value.
    std::vector<std::optional<std::string>> Actions;
    bool Help = false;
};

// The --help text.
std::string ReportUsage();

// The options, or the reason the command line is not understood in `error`.
std::optional<ReportOptions> ParseReportOptions(const std::vector<std::string>& args, std::string& error);
