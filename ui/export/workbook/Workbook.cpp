// The workbook is made by libxlsxwriter, which writes only to a named file: it writes into
// a private temporary folder, and the finished bytes go to the target through the same
// crash-safe save as every other file of the program.
#include "ui/export/workbook/Workbook.h"

#include "analysis/Damage.h"
#include "analysis/Derived.h"
#include "analysis/ExportTables.h"
#include "analysis/Modes.h"
#include "model/Csv.h"
#include "model/Data.h"
#include "model/FileText.h"
#include "model/PrivateFolder.h"
#include "model/SourceMatrices.h"
#include "model/Texts.h"
#include "model/Utf8Path.h"
#include "ui/export/workbook/WorkbookSystem.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

// Every sheet prints on A4 across, as wide as the page and as long as it needs.
constexpr std::uint8_t kPaperA4 = 9;
// Column widths in characters: the names' column, then each column of values, wide
// enough for its name up to a limit past which the name wraps in the header row.
constexpr double kNameColumnMin = 12.0;
constexpr double kNameColumnMax = 60.0;
constexpr double kValueColumnMin = 9.0;
constexpr double kValueColumnMax = 24.0;
// The header row grows a line for each wrapped line of its longest name, up to this.
constexpr int kHeaderLinesMax = 6;
constexpr double kLinePoints = 15.0;
// A print header's title longer than this is cut (and shorter where its escapes would
// take the header past the library's 255 characters).
constexpr std::size_t kTitleMaxCharacters = 120;
constexpr const char* kNumberFormat = "0.00";
constexpr const char* kDateFormat = "dd.mm.yyyy";
constexpr const char* kTextFormat = "@";

// Colours: the distributions and the diagonals in blue, as the windows show them.
constexpr lxw_color_t kValueBlue = 0x0000FF;
constexpr lxw_color_t kDiagonalFill = 0xDDEBF7;
constexpr lxw_color_t kHeaderFill = 0xF2F2F2;

// Charts: the library's default size (480 x 288 pixels) grows with the number of bars,
// so that every name below a bar can still be read, up to a limit.
constexpr double kBarsAtDefaultWidth = 20.0;
constexpr double kChartScaleMax = 4.0;
// Rows a chart of the default height covers, with a row of space below it.
constexpr int kChartRows = 16;
// The rating curves: the window's three levels, Rm drawn solid and Re dashed.
struct CurveStyle {
    lxw_color_t Colour;
    std::uint8_t Dash;
};
constexpr CurveStyle kCurveStyles[] = {
    { LXW_COLOR_BLACK, LXW_CHART_LINE_DASH_SOLID },
    { LXW_COLOR_BLACK, LXW_CHART_LINE_DASH_DASH },
    { 0xC00000, LXW_CHART_LINE_DASH_SOLID },
    { 0xC00000, LXW_CHART_LINE_DASH_DASH },
    { 0x008000, LXW_CHART_LINE_DASH_SOLID },
    { 0x008000, LXW_CHART_LINE_DASH_DASH },
};
constexpr double kCurveChartScaleX = 2.0;
constexpr double kCurveChartScaleY = 1.6;
// The shift axis is labelled every tenth sample: about every two units of shift.
constexpr std::uint16_t kCurveLabelInterval = 10;

const char* const kSummarySheet = VARDUN_TEXT("Workbook", "Сводка");
const char* const kModeSheet = VARDUN_TEXT("Workbook", "Режим %1");
const char* const kRatingSheet = VARDUN_TEXT("Workbook", "Рейтинг");
const char* const kTableSheet = VARDUN_TEXT("Workbook", "Таблица");

// Characters, not bytes: a Cyrillic letter is two bytes of UTF-8 and one column wide.
std::size_t TextWidth(const std::string& text)
{
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string CutToCharacters(const std::string& text, std::size_t characters)
{
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && seen++ == characters)
            return text.substr(0, i);
    }
    return text;
}

bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The control characters XML cannot carry as they are; a tab and a line feed it can.
bool IsEscapedControl(unsigned char c)
{
    return c < 0x20 && c != '\t' && c != '\n';
}

// The length of the well-formed UTF-8 sequence at `at`; 0 for bytes that are none (a
// surrogate's included).
std::size_t Utf8Length(std::string_view text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : (lead & 0xF8) == 0xF0 ? 4 : 0;
    if (length == 0 || at + length > text.size())
        return 0;
    std::uint32_t c = lead & (0x7Fu >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[at + k]);
        if ((next & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (next & 0x3Fu);
    }
    constexpr std::uint32_t kLeast[] = { 0, 0, 0x80, 0x800, 0x10000 };
    return c >= kLeast[length] && !(c >= 0xD800 && c <= 0xDFFF) && c <= 0x10FFFF ? length : 0;
}

// Every text of ours as the library is given it, for a cell, a chart or a print header.
// The library escapes a control character of a cell as the spreadsheet's "_xHHHH_" (which
// reads back as the character), but copies the cell raw into a chart's cache of its
// categories and a header raw into its sheet, where such a byte makes the part malformed
// XML; names from a data file may hold them. So every control character gets that escape
// here, the same everywhere, and the cell keeps the name exactly. A sequence that reads as
// such an escape, typed or formed with the escape after it, gets its underscore escaped so
// that it reads back as typed; bytes that are no UTF-8 (a file name may be any bytes) and
// characters XML refuses become U+FFFD.
std::string LibraryText(std::string_view text)
{
    constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
    std::string out;
    out.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const bool readsAsEscape = c == '_' && i + 6 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X')
            && IsHexDigit(text[i + 2]) && IsHexDigit(text[i + 3]) && IsHexDigit(text[i + 4]) && IsHexDigit(text[i + 5])
            && (text[i + 6] == '_' || IsEscapedControl(static_cast<unsigned char>(text[i + 6])));
        if (readsAsEscape || IsEscapedControl(c)) {
            constexpr const char* kDigits = "0123456789ABCDEF";
            const unsigned code = readsAsEscape ? 0x5Fu : c;
            out += "_x00";
            out += kDigits[code >> 4];
            out += kDigits[code & 0xFu];
            out += '_';
            ++i;
        } else if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
        } else if (const std::size_t length = Utf8Length(text, i)) {
            // U+FFFE and U+FFFF are UTF-8 but no characters of XML.
            const std::string_view character = text.substr(i, length);
            out.append(character == "\xEF\xBF\xBE" || character == "\xEF\xBF\xBF" ? kReplacement : character);
            i += length;
        } else {
            out += kReplacement;
            ++i;
        }
    }
    return out;
}

// The print header: the title centred, cut to a readable length and to what the library
// takes. A header's codes start with "&", so one in the title is doubled. The library
// counts "&G" and "&[Picture]" as a picture's place even after a doubled "&", and refuses
// a header whose places have no pictures (version 1.1.4 then frees memory it does not own
// when the workbook closes): there an empty font code, the same font in its regular style
// as before, stands between, so that "R&G.sav" prints as it is called.
std::string HeaderText(const std::string& title)
{
    constexpr std::string_view kSameFont = "&\"-,Regular\"";
    for (std::size_t characters = std::min(kTitleMaxCharacters, TextWidth(title));; --characters) {
        const std::string text = LibraryText(CutToCharacters(title, characters));
        std::string header = "&C";
        for (std::size_t i = 0; i < text.size(); ++i) {
            header += text[i];
            if (text[i] != '&')
                continue;
            header += '&';
            const std::string_view rest = std::string_view(text).substr(i + 1);
            if (rest.starts_with('G') || rest.starts_with("[Picture]"))
                header += kSameFont;
        }
        if (TextWidth(header) <= LXW_HEADER_FOOTER_MAX || characters == 0)
            return header;
    }
}

std::string ColumnLetters(int column)
{
    std::string letters;
    for (int n = column + 1; n > 0; n = (n - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
    return letters;
}

std::string CellName(int row, int column)
{
    return "$" + ColumnLetters(column) + "$" + std::to_string(row + 1);
}

// A range for a chart, the sheet's name always quoted (ours hold spaces and Cyrillic).
std::string RangeText(const std::string& sheet, int firstRow, int firstColumn, int lastRow, int lastColumn)
{
    std::string quoted;
    for (char c : sheet) {
        quoted += c;
        if (c == '\'')
            quoted += '\'';
    }
    return "='" + quoted + "'!" + CellName(firstRow, firstColumn) + ":" + CellName(lastRow, lastColumn);
}

// A folder of our own for the library's file and its working files; gone afterwards.
constexpr const char* kScratchFile = "workbook.xlsx";
class ScratchFolder {
public:
    ScratchFolder()
        : path_(CreatePrivateFolder("vardun-workbook-").value_or(""))
    {
    }
    ~ScratchFolder()
    {
        if (!path_.empty()) {
            std::error_code error;
            std::filesystem::remove_all(PathFromUtf8(path_), error);
        }
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

using CellFormatOf = std::function<lxw_format*(std::size_t row, std::size_t column)>;

// One workbook being filled. Every library call that can fail is counted: a workbook
// with a cell missing is not saved.
class Book {
public:
    Book(const std::string& file, std::string scratch)
        : scratch_(std::move(scratch))
    {
        lxw_workbook_options options {};
        options.tmpdir = scratch_.data();
        book_ = workbook_new_opt(file.c_str(), &options);
        if (!book_)
            return;
        // Names are formatted as text too, so that one edited in the spreadsheet stays text.
        header_ = workbook_add_format(book_);
        format_set_num_format(header_, kTextFormat);
        format_set_bold(header_);
        format_set_text_wrap(header_);
        format_set_align(header_, LXW_ALIGN_VERTICAL_TOP);
        format_set_bg_color(header_, kHeaderFill);
        format_set_bottom(header_, LXW_BORDER_THIN);
        name_ = workbook_add_format(book_);
        format_set_num_format(name_, kTextFormat);
        format_set_bold(name_);
        text_ = workbook_add_format(book_);
        format_set_num_format(text_, kTextFormat);
        number_ = workbook_add_format(book_);
        format_set_num_format(number_, kNumberFormat);
        blue_ = workbook_add_format(book_);
        format_set_num_format(blue_, kNumberFormat);
        format_set_font_color(blue_, kValueBlue);
        diagonal_ = workbook_add_format(book_);
        format_set_num_format(diagonal_, kNumberFormat);
        format_set_font_color(diagonal_, kValueBlue);
        format_set_bold(diagonal_);
        format_set_bg_color(diagonal_, kDiagonalFill);
        date_ = workbook_add_format(book_);
        format_set_num_format(date_, kDateFormat);
        format_set_align(date_, LXW_ALIGN_LEFT);
    }
    ~Book()
    {
        if (book_)
            workbook_close(book_);
    }
    Book(const Book&) = delete;
    Book& operator=(const Book&) = delete;

    bool Opened() const { return book_ != nullptr; }
    // Writes the file; true when it and every cell before it were written.
    bool Close()
    {
        const lxw_error closed = workbook_close(book_);
        book_ = nullptr;
        return closed == LXW_NO_ERROR && ok_;
    }

    lxw_format* Number() const { return number_; }
    lxw_format* Blue() const { return blue_; }
    lxw_format* Diagonal() const { return diagonal_; }
    lxw_format* Name() const { return name_; }
    lxw_format* Header() const { return header_; }

    // A sheet with its print setup: A4 across, one page wide, its title at the top.
    lxw_worksheet* AddSheet(const std::string& name, const std::string& title)
    {
        lxw_worksheet* sheet = workbook_add_worksheet(book_, name.c_str());
        if (!sheet) {
            ok_ = false;
            return nullptr;
        }
        worksheet_set_landscape(sheet);
        worksheet_set_paper(sheet, kPaperA4);
        worksheet_fit_to_pages(sheet, 1, 0);
        Check(worksheet_set_header(sheet, HeaderText(title).c_str()));
        return sheet;
    }

    // Always a text cell: the library stores it among the shared strings as it is, so no
    // name is ever taken for a number, a date, a truth value or a formula.
    void Text(lxw_worksheet* sheet, int row, int column, const std::string& text, lxw_format* format = nullptr)
    {
        if (text.empty())
            return;
        Check(worksheet_write_string(sheet, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(column),
            LibraryText(text).c_str(), format ? format : text_));
    }

    // A value that is not a finite number leaves its cell empty, as in the windows' tables.
    void Value(lxw_worksheet* sheet, int row, int column, float value, lxw_format* format)
    {
        if (!std::isfinite(value))
            return;
        Check(worksheet_write_number(
            sheet, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(column), WorkbookNumber(value), format));
    }

    void Date(lxw_worksheet* sheet, int row, int column, const WorkbookDate& date)
    {
        if (date.Year <= 0)
            return;
        lxw_datetime value { date.Year, date.Month, date.Day, 0, 0, 0.0 };
        Check(worksheet_write_datetime(
            sheet, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(column), &value, date_));
    }

    // The names across the top row and down the first column, both frozen and printed on
    // every page; the values inside with the format `formatOf` gives each cell.
    void Table(lxw_worksheet* sheet, const CsvTable& table, const CellFormatOf& formatOf)
    {
        Text(sheet, 0, 0, table.Corner, header_);
        for (std::size_t j = 0; j < table.ColumnNames.size(); ++j)
            Text(sheet, 0, static_cast<int>(j + 1), table.ColumnNames[j], header_);
        for (std::size_t i = 0; i < table.RowNames.size(); ++i) {
            Text(sheet, static_cast<int>(i + 1), 0, table.RowNames[i], name_);
            if (i >= table.Values.size())
                continue;
            const std::vector<float>& row = table.Values[i];
            for (std::size_t j = 0; j < row.size() && j < table.ColumnNames.size(); ++j)
                Value(sheet, static_cast<int>(i + 1), static_cast<int>(j + 1), row[j], formatOf(i, j));
        }
        SetWidths(sheet, table.RowNames, table.Corner, table.ColumnNames);
        worksheet_freeze_panes(sheet, 1, 1);
        Check(worksheet_repeat_rows(sheet, 0, 0));
        Check(worksheet_repeat_columns(sheet, 0, 0));
    }

    // The first column as wide as its longest text, the others as their names; the
    // header row as tall as its most wrapped name.
    void SetWidths(lxw_worksheet* sheet, const std::vector<std::string>& firstColumn, const std::string& corner,
        const std::vector<std::string>& columnNames)
    {
        std::size_t longest = 0;
        for (const std::string& text : firstColumn)
            longest = std::max(longest, TextWidth(text));
        const double nameWidth = std::clamp(static_cast<double>(longest) + 1.0, kNameColumnMin, kNameColumnMax);
        Check(worksheet_set_column(sheet, 0, 0, nameWidth, nullptr));
        int lines = static_cast<int>(std::ceil(static_cast<double>(TextWidth(corner)) / nameWidth));
        for (std::size_t j = 0; j < columnNames.size(); ++j) {
            const double width = static_cast<double>(TextWidth(columnNames[j])) + 1.0;
            const double columnWidth = std::clamp(width, kValueColumnMin, kValueColumnMax);
            const lxw_col_t column = static_cast<lxw_col_t>(j + 1);
            Check(worksheet_set_column(sheet, column, column, columnWidth, nullptr));
            lines = std::max(lines, static_cast<int>(std::ceil(width / columnWidth)));
        }
        lines = std::clamp(lines, 1, kHeaderLinesMax);
        Check(worksheet_set_row(sheet, 0, kLinePoints * lines, nullptr));
    }

    // A column chart of one series, its bars named by `categories`, below or beside a table.
    void ColumnChart(lxw_worksheet* sheet, const std::string& title, const std::string& categories,
        const std::string& values, std::size_t bars, int row, int column)
    {
        lxw_chart* chart = workbook_add_chart(book_, LXW_CHART_COLUMN);
        if (!chart) {
            ok_ = false;
            return;
        }
        lxw_chart_series* series = chart_add_series(chart, categories.c_str(), values.c_str());
        if (!series) {
            ok_ = false;
            return;
        }
        chart_series_set_name(series, LibraryText(title).c_str());
        lxw_chart_fill fill {};
        fill.color = kValueBlue;
        chart_series_set_fill(series, &fill);
        ChartTitle(chart, title);
        chart_legend_set_position(chart, LXW_CHART_LEGEND_NONE);
        chart_axis_set_num_format(chart->y_axis, kNumberFormat);
        Insert(sheet, chart, row, column,
            std::clamp(static_cast<double>(bars) / kBarsAtDefaultWidth, 1.0, kChartScaleMax), 1.0);
    }

    // A chart's own texts, as every text, through LibraryText (a category's comes from its cell).
    void ChartTitle(lxw_chart* chart, const std::string& title)
    {
        chart_title_set_name(chart, LibraryText(title).c_str());
    }
    void AxisName(lxw_chart_axis* axis, const std::string& name)
    {
        chart_axis_set_name(axis, LibraryText(name).c_str());
    }

    lxw_chart* LineChart()
    {
        lxw_chart* chart = workbook_add_chart(book_, LXW_CHART_LINE);
        if (!chart)
            ok_ = false;
        return chart;
    }

    void Insert(lxw_worksheet* sheet, lxw_chart* chart, int row, int column, double scaleX, double scaleY)
    {
        lxw_chart_options options {};
        options.x_scale = scaleX;
        options.y_scale = scaleY;
        Check(worksheet_insert_chart_opt(
            sheet, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(column), chart, &options));
    }

    void Check(lxw_error error)
    {
        if (error != LXW_NO_ERROR)
            ok_ = false;
    }

private:
    std::string scratch_;
    lxw_workbook* book_ = nullptr;
    lxw_format* header_ = nullptr;
    lxw_format* name_ = nullptr;
    lxw_format* text_ = nullptr;
    lxw_format* number_ = nullptr;
    lxw_format* blue_ = nullptr;
    lxw_format* diagonal_ = nullptr;
    lxw_format* date_ = nullptr;
    bool ok_ = true;
};

// Makes a workbook with `fill` and returns the file's bytes.
std::optional<std::string> MakeWorkbook(const std::function<void(Book&)>& fill)
{
    const ScratchFolder scratch;
    if (scratch.Path().empty())
        return std::nullopt;
    const std::optional<std::string> libraryFolder = LibraryFolderName(scratch.Path());
    if (!libraryFolder)
        return std::nullopt;
    {
        const ClassicNumbers classic;
        if (!classic.Active())
            return std::nullopt;
        Book book(*libraryFolder + "/" + kScratchFile, *libraryFolder);
        if (!book.Opened())
            return std::nullopt;
        fill(book);
        if (!book.Close())
            return std::nullopt;
    }
    return ReadFileBytes(Utf8FromPath(PathFromUtf8(scratch.Path()) / kScratchFile));
}

std::string KindTitle(ItemKind kind)
{
    switch (kind) {
    case ItemKind::Layer:
        return Translate("Workbook", "Эшелоны");
    case ItemKind::Threat:
        return Translate("Workbook", "Угрозы");
    case ItemKind::Mechanism:
        break;
    }
    return Translate("Workbook", "Механизмы защиты");
}

void SummarySheet(Book& book, const CData& data, const ReportRequest& request, const WorkbookDate& date)
{
    const std::string name = Translate("Workbook", kSummarySheet);
    lxw_worksheet* sheet = book.AddSheet(name, request.FileName.empty() ? name : name + ": " + request.FileName);
    if (!sheet)
        return;
    const CsvTable figures = SummaryTable(data);
    std::vector<std::string> firstColumn;
    int row = 0;
    auto label = [&](const std::string& text, lxw_format* format) {
        book.Text(sheet, row, 0, text, format);
        firstColumn.push_back(text);
    };
    label(figures.Corner, book.Header());
    book.Text(sheet, row, 1, figures.ColumnNames.front(), book.Header());
    ++row;
    label(Translate("Workbook", "Файл данных"), book.Name());
    book.Text(sheet, row++, 1, request.FileName);
    label(Translate("Workbook", "Дата"), book.Name());
    book.Date(sheet, row++, 1, date);
    for (std::size_t i = 0; i < figures.RowNames.size(); ++i) {
        label(figures.RowNames[i], book.Name());
        book.Value(sheet, row++, 1, figures.Values[i].front(), book.Number());
    }
    const std::string analysed = Translate("Workbook", "Анализируется");
    const std::string yes = Translate("Workbook", "да");
    const std::string no = Translate("Workbook", "нет");
    for (ItemKind kind : kItemKinds) {
        ++row;
        label(KindTitle(kind), book.Name());
        book.Text(sheet, row++, 1, analysed, book.Name());
        std::set<int> marked;
        for (const std::string& entry : data.IndicesOf(kind))
            marked.insert(IndexValue(entry));
        const std::vector<std::string>& names = data.NamesOf(kind);
        for (std::size_t k = 0; k < names.size(); ++k) {
            label(names[k], nullptr);
            book.Text(sheet, row++, 1, marked.count(static_cast<int>(k)) ? yes : no);
        }
    }
    book.SetWidths(sheet, firstColumn, {}, { analysed });
    worksheet_freeze_panes(sheet, 1, 1);
}

void SourceSheets(Book& book, const CData& data)
{
    const CellFormatOf plain = [&book](std::size_t, std::size_t) { return book.Number(); };
    for (AnalysisMode mode : kAnalysisModes) {
        const ModeDescription& about = Describe(mode);
        if (!about.EditableSources)
            continue;
        for (int s = 0; s < 2; ++s) {
            Matrix CData::*const member = about.Sources[static_cast<std::size_t>(s)].Member;
            const CsvTable table = SourceTable(data, mode, s, data.*member);
            const std::string name = FindSourceMatrix(member)->Name;
            if (lxw_worksheet* sheet = book.AddSheet(name, name + ": " + table.Corner))
                book.Table(sheet, table, plain);
        }
    }
}

void ModeSheet(Book& book, const CData& data, const GraphWorkingData& work)
{
    const std::string name = FillIn(Translate("Workbook", kModeSheet), { std::to_string(ModeNumber(work.Mode)) });
    const CsvTable table = ResultTable(data, work);
    lxw_worksheet* sheet = book.AddSheet(name, name + ": " + table.Corner);
    if (!sheet)
        return;
    // The first column and the bottom row hold the distributions, in blue as in the window.
    const std::size_t bottom = table.RowNames.size() - 1;
    book.Table(sheet, table,
        [&book, bottom](std::size_t i, std::size_t j) { return i == bottom || j == 0 ? book.Blue() : book.Number(); });
    const int rows = static_cast<int>(bottom);
    const int columns = static_cast<int>(table.ColumnNames.size()) - 1;
    int chartRow = rows + 3;
    if (rows > 0) {
        book.ColumnChart(sheet, table.ColumnNames.front(), RangeText(name, 1, 0, rows, 0),
            RangeText(name, 1, 1, rows, 1), static_cast<std::size_t>(rows), chartRow, 1);
        chartRow += kChartRows;
    }
    if (columns > 0)
        book.ColumnChart(sheet, table.RowNames.back(), RangeText(name, 0, 2, 0, columns + 1),
            RangeText(name, rows + 1, 2, rows + 1, columns + 1), static_cast<std::size_t>(columns), chartRow, 1);
}

// MM or EE with its diagonal marked, the diagonal again in a row of its own below the
// matrix (under the column of each item) for the chart, and the rating indicator.
void DamageSheet(Book& book, const CData& data, ItemKind kind)
{
    const bool layers = kind == ItemKind::Layer;
    const Matrix& square = layers ? data.EE : data.MM;
    const CsvTable table = DamageTable(data, kind, square);
    const std::string name = table.Corner;
    lxw_worksheet* sheet = book.AddSheet(name, name);
    if (!sheet)
        return;
    book.Table(
        sheet, table, [&book](std::size_t i, std::size_t j) { return i == j ? book.Diagonal() : book.Number(); });
    const int n = static_cast<int>(std::min(table.RowNames.size(), table.ColumnNames.size()));
    const int diagonalRow = static_cast<int>(table.RowNames.size()) + 2;
    const std::string diagonalTitle = FillIn(Translate("Workbook", "Диагональ %1"), { name });
    book.Text(sheet, diagonalRow, 0, diagonalTitle, book.Name());
    for (int k = 0; k < n; ++k) {
        if (k < square.Rows() && k < square.Cols())
            book.Value(sheet, diagonalRow, k + 1, square(k, k), book.Diagonal());
    }
    book.Text(sheet, diagonalRow + 1, 0,
        layers ? Translate("Workbook", "Рейтинговый показатель Re")
               : Translate("Workbook", "Рейтинговый показатель Rm"),
        book.Name());
    book.Value(sheet, diagonalRow + 1, 1, RatingIndicator(square), book.Number());
    if (n > 0)
        book.ColumnChart(sheet, diagonalTitle, RangeText(name, 0, 1, 0, n),
            RangeText(name, diagonalRow, 1, diagonalRow, n), static_cast<std::size_t>(n), diagonalRow + 3, 1);
}

void RatingSheet(Book& book, const CData& data, const RatingSelection& selection, float high, float low)
{
    const std::string name = Translate("Workbook", kRatingSheet);
    const CsvTable table = CurveTable(data, selection, high, low);
    lxw_worksheet* sheet = book.AddSheet(name, name + ". " + table.Corner);
    if (!sheet)
        return;
    book.Table(sheet, table, [&book](std::size_t, std::size_t) { return book.Number(); });
    lxw_chart* chart = book.LineChart();
    if (!chart)
        return;
    const int samples = static_cast<int>(table.RowNames.size());
    const int curves = static_cast<int>(table.ColumnNames.size()) - 1;
    const std::string shifts = RangeText(name, 1, 1, samples, 1);
    for (int c = 0; c < curves && c < static_cast<int>(std::size(kCurveStyles)); ++c) {
        const int column = c + 2;
        lxw_chart_series* series
            = chart_add_series(chart, shifts.c_str(), RangeText(name, 1, column, samples, column).c_str());
        if (!series) {
            book.Check(LXW_ERROR_MEMORY_MALLOC_FAILED);
            return;
        }
        chart_series_set_name_range(series, name.c_str(), 0, static_cast<lxw_col_t>(column));
        lxw_chart_line line {};
        line.color = kCurveStyles[c].Colour;
        line.dash_type = kCurveStyles[c].Dash;
        line.width = 1.5f;
        chart_series_set_line(series, &line);
    }
    book.ChartTitle(chart, Translate("Workbook", "Рейтинговые показатели Rm и Re"));
    book.AxisName(chart->x_axis, table.ColumnNames.front());
    chart_axis_set_num_format(chart->x_axis, "0.0");
    chart_axis_set_interval_unit(chart->x_axis, kCurveLabelInterval);
    chart_axis_set_num_format(chart->y_axis, kNumberFormat);
    chart_legend_set_position(chart, LXW_CHART_LEGEND_BOTTOM);
    book.Insert(sheet, chart, 1, curves + 3, kCurveChartScaleX, kCurveChartScaleY);
}

} // namespace

WorkbookDate TodaysDate()
{
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    if (!LocalTime(now, local))
        return {};
    return { local.tm_year + 1900, local.tm_mon + 1, local.tm_mday };
}

double WorkbookNumber(float value)
{
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value);
    double number = static_cast<double>(value);
    std::from_chars(text, written.ptr, number);
    return number;
}

std::optional<std::string> AssessmentWorkbook(
    const CData& assessment, const ReportRequest& request, const WorkbookDate& date)
{
    // The walk runs on a copy, as the report's does: the sources as they are, every
    // result as the windows would compute it.
    CData data = assessment;
    const std::array<GraphWorkingData, 4> works = ComputeAllModes(data);
    ComputeDamageMatrices(data);
    return MakeWorkbook([&](Book& book) {
        SummarySheet(book, data, request, date);
        SourceSheets(book, data);
        for (const GraphWorkingData& work : works)
            ModeSheet(book, data, work);
        DamageSheet(book, data, ItemKind::Mechanism);
        DamageSheet(book, data, ItemKind::Layer);
        if (request.Rating)
            RatingSheet(book, data, *request.Rating, request.High, request.Low);
    });
}

bool WriteAssessmentWorkbook(const std::string& path, const CData& assessment, const ReportRequest& request,
    IMessageSink& messages, const SaveOptions& options)
{
    return SaveText(path, AssessmentWorkbook(assessment, request, TodaysDate()), messages, options);
}

std::optional<std::string> TableWorkbook(const CsvTable& table)
{
    return MakeWorkbook([&table](Book& book) {
        if (lxw_worksheet* sheet = book.AddSheet(Translate("Workbook", kTableSheet), table.Corner))
            book.Table(sheet, table, [&book](std::size_t, std::size_t) { return book.Number(); });
    });
}
