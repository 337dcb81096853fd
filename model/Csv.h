// Tables for spreadsheets: the CSV dialect that Russian spreadsheets open with a double
// click (";" between fields, decimal comma, UTF-8 with a byte-order mark, CR LF, quoting as
// RFC 4180, every field quoted so that an import splitting at "," or a tab as well reads
// the same cells). Names head the columns and the rows; numbers are written in full, the
// shortest text that reads back as the same float; a value that is no number is an empty
// cell. A name that a spreadsheet would take for a formula is written so that it is shown,
// never run.
#pragma once

#include <string>
#include <vector>

class IMessageSink;

struct CsvTable {
    // The top-left cell, above the row names.
    std::string Corner;
    std::vector<std::string> ColumnNames;
    std::vector<std::string> RowNames;
    // [row][column]; a row may be shorter than the names (its last cells stay empty).
    std::vector<std::vector<float>> Values;
};

std::string CsvText(const CsvTable& table);

// Crash-safe, like the data file; false with "Не удалось сохранить файл %s." otherwise.
bool SaveCsv(const std::string& path, const CsvTable& table, IMessageSink& messages);
