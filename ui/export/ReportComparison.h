// The printed report's comparison section: what the comparison window shows (Rm and Re of
// both assessments, both diagonals matched by name, the judgements that differ, and the
// difference chart as a vector drawing), on pages of its own after the rest.
#pragma once

#include "ui/export/ReportSection.h"

#include <memory>
#include <string>

struct AssessmentComparison;

// A second assessment set beside this one (the comparison window's), as the report shows it.
struct ReportComparison {
    // The other data file's name.
    std::string FileName;
    std::shared_ptr<const AssessmentComparison> Result;
};

// The section of `comparison`; it adds nothing without a comparison result.
ReportSection ComparisonSection(ReportComparison comparison);
