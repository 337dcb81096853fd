// The whole assessment as one Excel workbook (.xlsx) made with libxlsxwriter: a summary
// sheet, the six source matrices, the four results with their distributions, MM and EE,
// and the rating curves of one selection, with the spreadsheet's own charts. Names are
// always text cells, whatever they look like; numbers are number cells shown as "0.00";
// a value that is not a finite number leaves its cell empty. No Qt here: the report tool
// writes the same workbook without windows.
#pragma once

#include "model/FileBytes.h"
#include "ui/export/ReportRequest.h"

#include <optional>
#include <string>

class CData;
class IMessageSink;
struct CsvTable;

struct WorkbookDate {
    int Year = 0;
    int Month = 0;
    int Day = 0;
};

// The local calendar date, for the summary sheet.
WorkbookDate TodaysDate();

// The cell value of a judgement or result: the number that the float's shortest decimal
// text reads back as (what a CSV import gives and what the spreadsheet shows). It turns
// back into the same float, and it survives the 16 significant digits in which the
// library writes numbers, which the float's own double does not always do.
double WorkbookNumber(float value);

// The workbook's bytes, every result computed from the assessment's sources as the walk
// would; none when the library failed. The request names the file (for the summary) and
// the rating selection whose curves get a sheet of their own.
std::optional<std::string> AssessmentWorkbook(
    const CData& assessment, const ReportRequest& request, const WorkbookDate& date);

// Writes the workbook crash-safe in place of `path`; false, with the usual save-failure
// message, when it was not written.
bool WriteAssessmentWorkbook(const std::string& path, const CData& assessment, const ReportRequest& request,
    IMessageSink& messages, const SaveOptions& options = {});

// One table alone as a workbook of one sheet: the grids' "Экспорт в CSV..." offers it.
std::optional<std::string> TableWorkbook(const CsvTable& table);
