// A section that an analysis beyond the walk adds at the end of the printed report (the
// sensitivity ranking, a comparison): the report hands it the assessment with every result
// computed and its heading's number, and the section appends its blocks. No Qt here: the
// request that carries the sections is the workbook's too.
#pragma once

#include <functional>

class CData;
// Where a section puts its blocks (ReportLayout.h).
struct ReportBlocks;

struct ReportSectionInput {
    // The assessment as the walk leaves it: derived matrices, MM and EE computed.
    const CData& Data;
    // The number its heading carries.
    int Number = 0;
    // Told between the pieces of a long section, some milliseconds apart; false stops it.
    std::function<bool()> Going;
};

// Appends the section's blocks; false when stopped.
using ReportSection = std::function<bool(const ReportSectionInput& input, ReportBlocks& blocks)>;
