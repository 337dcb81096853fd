// The printable report of an assessment: one PDF document with the lists, every matrix
// and result, the charts as vector drawings and the rating curves of one selection.
#pragma once

#include "analysis/Rating.h"

#include <optional>
#include <string>

class CData;
class IMessageSink;

struct ReportRequest {
    // The data file's name, as the title page gives it; empty for an unsaved assessment.
    std::string FileName;
    // The layer, threat and mechanism of the rating curves, with their levels; none: the
    // report ends with MM and EE.
    std::optional<RatingSelection> Rating;
    float High = 0.0f;
    float Low = 0.0f;
};

// Writes the report of `assessment` (its source matrices and thresholds; every result is
// computed for the report) crash-safe; false with a message when it was not written.
bool WriteAssessmentReport(
    const std::string& path, const CData& assessment, const ReportRequest& request, IMessageSink& messages);
