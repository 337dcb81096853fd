// The CSV dialect of Russian spreadsheets: what is written, cell by cell.
#include "model/Csv.h"

#include "model/FileText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

namespace {

// A spreadsheet in a Russian locale reads "0,5" as a number and "0.5" as text or a date.
// Every number of the file gets its decimal separator here and nowhere else.
constexpr char kDecimalSeparator = ',';
constexpr char kFieldSeparator = ';';
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

// A spreadsheet takes a cell starting with one of these for a formula (a tab or CR can
// hide one in front of it); the apostrophe makes it text and is not shown.
bool LooksLikeFormula(std::string_view text)
{
    return !text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos;
}

void AppendName(std::string& out, std::string_view name)
{
    std::string field;
    if (LooksLikeFormula(name))
        field += '\'';
    field += name;
    if (field.find_first_of("\";\r\n") == std::string::npos) {
        out += field;
        return;
    }
    out += '"';
    for (char c : field) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

// The shortest text that reads back as the same float. Not-a-number and the infinities
// leave the cell empty, as the JSON report writes them as null: a spreadsheet's sums
// and charts skip an empty cell, where a word would break them.
void AppendNumber(std::string& out, float value)
{
    if (!std::isfinite(value))
        return;
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (error != std::errc())
        return;
    for (const char* p = buffer; p != end; ++p)
        out += *p == '.' ? kDecimalSeparator : *p;
}

} // namespace

std::string CsvText(const CsvTable& table)
{
    // Every line has as many fields as the widest one, so that no reader has to guess
    // what a short line means.
    std::size_t width = 1 + table.ColumnNames.size();
    for (const std::vector<float>& row : table.Values)
        width = std::max(width, 1 + row.size());
    const std::size_t rows = std::max(table.RowNames.size(), table.Values.size());

    std::string out(kByteOrderMark);
    AppendName(out, table.Corner);
    for (const std::string& name : table.ColumnNames) {
        out += kFieldSeparator;
        AppendName(out, name);
    }
    out.append(width - 1 - table.ColumnNames.size(), kFieldSeparator);
    out += kLineEnd;

    for (std::size_t i = 0; i < rows; ++i) {
        if (i < table.RowNames.size())
            AppendName(out, table.RowNames[i]);
        std::size_t written = 0;
        if (i < table.Values.size()) {
            for (float value : table.Values[i]) {
                out += kFieldSeparator;
                AppendNumber(out, value);
            }
            written = table.Values[i].size();
        }
        out.append(width - 1 - written, kFieldSeparator);
        out += kLineEnd;
    }
    return out;
}

bool SaveCsv(const std::string& path, const CsvTable& table, IMessageSink& messages)
{
    return SaveText(path, CsvText(table), messages);
}
