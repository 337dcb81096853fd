// The kinds of file a chart or a table leaves the program as: the file type the save dialog
// offers, its extension and its writer. Every chart's and every grid's export reads these
// lists, so a new format is one entry.
#pragma once

#include "ui/dialogs/Dialogs.h"
#include "ui/export/ChartExport.h"

#include <optional>
#include <span>
#include <string>

struct CsvTable;
class IDialogs;
class IMessageSink;
class QWidget;

template <typename Item> struct ExportFormat {
    // The dialog's text for the type, a source text of the context "ExportFormats".
    const char* FileType;
    // Without the dot.
    const char* Extension;
    // The file's bytes; none when nothing could be made.
    std::optional<std::string> (*Write)(const Item& item);
};

using ChartFormat = ExportFormat<ChartPicture>;
using TableFormat = ExportFormat<CsvTable>;

// PNG (the window's area as on screen) and SVG (the chart's own shapes and its labels).
std::span<const ChartFormat> ChartFormats();
// CSV for spreadsheets, and the table alone as an Excel workbook.
std::span<const TableFormat> TableFormats();

// The save dialog offering every format of a list; the first is the default.
template <typename Item> FileDialogOptions ExportDialog(std::span<const ExportFormat<Item>> formats);
// The format a file name asks for by its extension; the first of the list for any other.
template <typename Item>
const ExportFormat<Item>& FormatOfPath(std::span<const ExportFormat<Item>> formats, const std::string& path);

// Writes `item` in the format `path` asks for, crash-safe; false, with the save-failure
// message, when the file was not written.
bool ExportChart(const std::string& path, const ChartPicture& chart, IMessageSink& messages);
bool ExportTable(const std::string& path, const CsvTable& table, IMessageSink& messages);
// Asks where to save, then writes; nothing when the analyst cancels.
void ExportChartAs(QWidget* owner, const ChartPicture& chart, IDialogs& dialogs);
void ExportTableAs(QWidget* owner, const CsvTable& table, IDialogs& dialogs);
