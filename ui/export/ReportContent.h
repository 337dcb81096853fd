// What the printed report of an assessment says, as blocks for the page layout: the three
// lists, each mode's sources, result, thresholds and chart, MM and EE with their ratings
// and charts, and the rating curves of one selection.
#pragma once

#include "ui/export/ReportLayout.h"

#include <QDate>

#include <vector>

class CData;
struct ReportRequest;

// Every result is computed here on a copy of `assessment`; the charts keep that copy.
std::vector<ReportBlock> AssessmentReportBlocks(const CData& assessment, const ReportRequest& request, QDate date);
