// Every table of an assessment as CSV files for spreadsheets: the six sources, the four
// results with their distributions, MM and EE, a summary (Rm, Re, the thresholds and the
// levels), and the rating curves of a selection.
#pragma once

#include "tools/report/Report.h"

#include <optional>
#include <string>

class CData;
class IMessageSink;

// Into `folder` (made if missing); false, with a message, when a file was not written.
bool WriteCsvFiles(
    const CData& loaded, const std::string& folder, const std::optional<RatingRequest>& rating, IMessageSink& messages);
