// The printed report's comparison section: what the comparison window shows (Rm and Re of
// both assessments, both diagonals matched by name, the judgements that differ, and the
// difference chart as a vector drawing), on pages of its own after the rest.
#pragma once

#include "ui/export/ReportLayout.h"

#include <vector>

struct ReportComparison;

// Appends the section, numbered `number`; nothing without a comparison result.
void AppendComparisonSection(std::vector<ReportBlock>& blocks, const ReportComparison& comparison, int number);
