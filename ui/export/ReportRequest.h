// What the printed report is asked for beyond the assessment itself.
#pragma once

#include "analysis/RatingBasics.h"

#include <memory>
#include <optional>
#include <string>

struct AssessmentComparison;

// A second assessment set beside this one (the comparison window's), as the report shows it.
struct ReportComparison {
    // The other data file's name.
    std::string FileName;
    std::shared_ptr<const AssessmentComparison> Result;
};

struct ReportRequest {
    // The data file's name, as the title page gives it; empty for an unsaved assessment.
    std::string FileName;
    // The layer, threat and mechanism of the rating curves, with their levels; none: the
    // report ends with MM and EE.
    std::optional<RatingSelection> Rating;
    float High = 0.0f;
    float Low = 0.0f;
    // None: the report has no comparison section.
    std::optional<ReportComparison> Comparison;
};
