// What the printed report of an assessment says, as blocks for the page layout: the three
// lists, each mode's sources, result, thresholds and chart, MM and EE with their ratings
// and charts, and the rating curves of one selection.
#pragma once

#include "model/Kinds.h"
#include "ui/export/ReportLayout.h"

#include <QDate>
#include <QRect>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class Canvas;
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

// For the sections of the analyses (ReportSection.h), written as the walk's are: the k-th
// analysed name of a kind (its number where a matrix is larger than the lists), a value
// with two decimals, and a window's chart cut to `area` of it, as wide as the page allows,
// in the windows' font.
QString ReportNameOf(const CData& data, ItemKind kind, int k);
QString ReportNumber(double value);
ReportChart WindowChartBlock(const QRect& area, std::function<void(Canvas&)> draw);
