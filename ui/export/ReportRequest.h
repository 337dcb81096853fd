// What the printed report is asked for beyond the assessment itself.
#pragma once

#include "analysis/RatingBasics.h"
#include "ui/export/ReportSection.h"

#include <optional>
#include <string>
#include <vector>

struct ReportRequest {
    // The data file's name, as the title page gives it; empty for an unsaved assessment.
    std::string FileName;
    // The layer, threat and mechanism of the rating curves, with their levels; none: the
    // report ends with MM and EE.
    std::optional<RatingSelection> Rating;
    float High = 0.0f;
    float Low = 0.0f;
    // The analyses' sections after the walk's, in this order, each numbered on from the last.
    std::vector<ReportSection> Sections;
};
