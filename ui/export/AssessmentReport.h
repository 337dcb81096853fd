// The printable report of an assessment: one PDF document with the lists, every matrix
// and result, the charts as vector drawings and the rating curves of one selection.
#pragma once

#include "model/FileBytes.h"
#include "ui/export/ReportRequest.h"

#include <functional>
#include <string>

class CData;
class IMessageSink;

// Told how many pages are painted of how many: once with none done when the pages are laid
// out, then after each page. False stops the report, which then touches no file.
using ReportProgress = std::function<bool(int done, int count)>;

// Writes the report of `assessment` (its source matrices and thresholds; every result is
// computed for the report) crash-safe; false with a message when it was not written, and
// false without one when `progress` stopped it. `options` say whether a stream (a pipe,
// /dev/stdout) may take it.
bool WriteAssessmentReport(const std::string& path, const CData& assessment, const ReportRequest& request,
    IMessageSink& messages, const SaveOptions& options = {}, const ReportProgress& progress = {});
