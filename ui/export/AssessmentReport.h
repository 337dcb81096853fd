// The printable report of an assessment: one PDF document with the lists, every matrix
// and result, the charts as vector drawings and the rating curves of one selection.
#pragma once

#include "model/FileBytes.h"
#include "ui/export/ReportRequest.h"

#include <functional>
#include <optional>
#include <string>

class CData;
class IMessageSink;

// What the report is doing when it tells how far it has got.
enum class ReportStage {
    Preparing, // the tables and results of each section: `done` sections of `count`
    Painting, // the PDF: `done` pages of `count`
};

// Told first the sections prepared of how many, from none before the first to all, then the
// pages painted of how many, from none once they are laid out to all; both counts stay the
// same within their stage. A long section tells the same numbers again between its pieces,
// some milliseconds apart, so that a window can paint and see a stop meanwhile. False stops
// the report at once: it then touches no file and says nothing.
using ReportProgress = std::function<bool(ReportStage stage, int done, int count)>;

// The report of `assessment` as a PDF document in memory (every result is computed for
// the report), told along the way as above. `Pdf` holds it when painted; `Stopped` says that
// `progress` stopped it; neither means the painting failed.
struct PaintedReport {
    std::optional<std::string> Pdf;
    bool Stopped = false;
};
PaintedReport PaintAssessmentReport(
    const CData& assessment, const ReportRequest& request, const ReportProgress& progress = {});

// Writes the report of `assessment` (its source matrices and thresholds; every result is
// computed for the report) crash-safe; false with a message when it was not written, and
// false without one when `progress` stopped it. `options` say whether a stream (a pipe,
// /dev/stdout) may take it.
bool WriteAssessmentReport(const std::string& path, const CData& assessment, const ReportRequest& request,
    IMessageSink& messages, const SaveOptions& options = {}, const ReportProgress& progress = {});
