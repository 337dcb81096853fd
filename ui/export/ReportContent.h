// What the printed report of an assessment says, as blocks for the page layout: the three
// lists, each mode's sources, result, thresholds and chart, MM and EE with their ratings
// and charts, and the rating curves of one selection.
#pragma once

#include "ui/export/ReportLayout.h"

#include <QDate>

#include <functional>
#include <optional>
#include <vector>

class CData;
struct ReportRequest;

// Told the sections prepared of how many: once with none done before the first, then after
// each. A section that takes long (the sensitivity ranking of a large assessment) tells the
// same numbers again between its pieces, some milliseconds apart, so that a window can
// paint and see a stop meanwhile. False stops the preparation.
using SectionProgress = std::function<bool(int done, int count)>;

// Every result is computed here on a copy of `assessment`; the charts keep that copy.
std::vector<ReportBlock> AssessmentReportBlocks(const CData& assessment, const ReportRequest& request, QDate date);
// The same blocks, told along the way; nothing when `progress` stopped it.
std::optional<std::vector<ReportBlock>> AssessmentReportBlocks(
    const CData& assessment, const ReportRequest& request, QDate date, const SectionProgress& progress);
