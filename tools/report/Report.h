// The whole analysis of one assessment as a JSON report: modes 1 to 4, MM and EE with
// their ratings, and optionally the rating curves of one selection.
#pragma once

#include "ui/export/ReportJson.h"

#include "analysis/Rating.h"

#include <optional>

class CData;

struct RatingRequest {
    RatingSelection Selection;
    float High;
    float Low;
};

// Whether the selection names an analysed layer, threat and mechanism of the store.
bool SelectionFits(const CData& data, const RatingSelection& selection);

// Runs the walk on the store (it receives the derived matrices, MM and EE as the
// windows would leave them) and describes the results. The rating request must fit.
ReportJson BuildReport(CData& data, const std::optional<RatingRequest>& rating);
