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

// Every field is quoted, numbers and empty cells too. LibreOffice's and Gnumeric's import
// split at commas, semicolons and tabs at once unless told otherwise, and would cut an
// unquoted "0,84" in two; a tab or another control character inside a name must not end
// its cell either.
void AppendField(std::string& out, std::string_view text)
{
    out += '"';
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

void AppendName(std::string& out, std::string_view name)
{
    if (!LooksLikeFormula(name)) {
        AppendField(out, name);
        return;
    }
    std::string field(1, '\'');
    field += name;
    AppendField(out, field);
}

// The shortest text that reads back as the same float. Not-a-number and the infinities
// leave the cell empty, as the JSON report writes them as null: a spreadsheet's sums
// and charts skip an empty cell, where a word would break them.
void AppendNumber(std::string& out, float value)
{
    char buffer[32];
    std::size_t length = 0;
    if (std::isfinite(value)) {
        const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
        if (error == std::errc())
            length = static_cast<std::size_t>(end - buffer);
    }
    std::replace(buffer, buffer + length, '.', kDecimalSeparator);
    AppendField(out, std::string_view(buffer, length));
}

// The cells that make a short line as wide as the widest one.
void AppendEmptyFields(std::string& out, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        out += kFieldSeparator;
        AppendField(out, {});
    }
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
    AppendEmptyFields(out, width - 1 - table.ColumnNames.size());
    out += kLineEnd;

    for (std::size_t i = 0; i < rows; ++i) {
        AppendName(out, i < table.RowNames.size() ? std::string_view(table.RowNames[i]) : std::string_view());
        std::size_t written = 0;
        if (i < table.Values.size()) {
            for (float value : table.Values[i]) {
                out += kFieldSeparator;
                AppendNumber(out, value);
            }
            written = table.Values[i].size();
        }
        AppendEmptyFields(out, width - 1 - written);
        out += kLineEnd;
    }
    return out;
}

bool SaveCsv(const std::string& path, const CsvTable& table, IMessageSink& messages)
{
    return SaveText(path, CsvText(table), messages);
}
