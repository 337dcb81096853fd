// The Excel workbook read back cell by cell with a reader of our own (zip, XML): names
// are text cells equal to the names whatever they look like, numbers are number cells
// that read back as the exported floats, the charts point at the right ranges, and a
// failed save leaves nothing behind.
#include "ui/export/workbook/Workbook.h"

#include "analysis/Damage.h"
#include "analysis/Derived.h"
#include "analysis/ExportTables.h"
#include "analysis/Modes.h"
#include "model/Csv.h"
#include "model/Data.h"
#include "model/Utf8Path.h"
#include "support/Environment.h"
#include "support/RandomAssessment.h"
#include "support/RecordingSink.h"
#include "support/ReportTool.h"
#include "support/StrictXml.h"
#include "support/TempFolder.h"
#include "support/XlsxReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kHostileNames = {
    "=1+2",
    "@SUM(A1)",
    "-2+3",
    "+1",
    "01",
    "1,5",
    "2024-01-02",
    "(5)",
    "1 000",
    "1e5",
    "ИСТИНА",
    "TRUE",
    "50%",
    "a\tb",
    "_x0041_",
    " пробел по краям ",
    // 255 bytes in code page 1251, the longest name a data file line holds.
    [] {
        std::string name;
        for (int k = 0; k < 255; ++k)
            name += k % 2 ? "ж" : "Щ";
        return name;
    }(),
};

// The first eight floats have a double that 16 significant digits do not hold exactly,
// so the library would change it; the last four are held.
const float kAwkward[] = { 0.1f, 0.02f, 0.13f, 0.29f, 0.45f, 1.01f, 1.03f, 1.04f, 1.0f / 3.0f, 9.99f, 7.0f, 0.0f };

CheckList Checked(const std::vector<std::string>& names, std::size_t count)
{
    CheckList list { { "не анализируется", false } };
    for (std::size_t k = 0; k < count; ++k)
        list.push_back({ names[k % names.size()], true });
    return list;
}

// Every source matrix of the selection's shape, with awkward floats within its range.
void FillSources(CData& data)
{
    int n = 0;
    for (Matrix* m : { &data.MT, &data.TE, &data.ET, &data.TM, &data.EF, &data.FM }) {
        const bool reliability = m == &data.MT || m == &data.TE;
        const int rows = m == &data.MT                        ? data.MechanismCount
            : m == &data.TE || m == &data.TM || m == &data.FM ? data.ThreatCount
                                                              : data.LayerCount;
        const int cols = m == &data.MT || m == &data.ET || m == &data.EF ? data.ThreatCount
            : m == &data.TE                                              ? data.LayerCount
                                                                         : data.MechanismCount;
        m->Resize(rows, cols);
        for (int i = 0; i < rows; ++i)
            for (int j = 0; j < cols; ++j) {
                const float v = kAwkward[static_cast<std::size_t>(n++) % std::size(kAwkward)];
                (*m)(i, j) = reliability ? v / 10.0f : v;
            }
    }
    for (std::size_t k = 0; k < data.Thresholds.size(); ++k)
        data.Thresholds[k] = { 0.1f * static_cast<float>(k + 1), 0.7f * static_cast<float>(k + 1) };
    data.HighLevel = 2.675f;
    data.LowLevel = 0.1f;
}

// Every list holds the hostile names (each kind from a different start), every source
// matrix awkward floats within its range; saved to a data file in code page 1251 and
// loaded back, so the names reach the workbook as the program holds them.
CData HostileAssessment(const TempFolder& folder)
{
    std::vector<std::string> layers = kHostileNames;
    std::vector<std::string> threats(kHostileNames.rbegin(), kHostileNames.rend());
    std::vector<std::string> mechanisms = kHostileNames;
    std::rotate(mechanisms.begin(), mechanisms.begin() + 5, mechanisms.end());
    CData data;
    data.CollectSelection(Checked(layers, layers.size()), Checked(threats, 6), Checked(mechanisms, 7));
    FillSources(data);

    RecordingSink sink;
    const std::string path = folder.Path("hostile.sav");
    if (!data.SaveToFile(path, sink))
        throw std::runtime_error("hostile assessment not saved");
    CData loaded;
    if (!loaded.LoadFromFile(path, sink))
        throw std::runtime_error("hostile assessment not loaded");
    return loaded;
}

double ParsedDouble(const std::string& text)
{
    double value = std::numeric_limits<double>::quiet_NaN();
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    EXPECT_TRUE(ec == std::errc() && ptr == text.data() + text.size()) << text;
    return value;
}

using Cells = std::map<std::pair<int, int>, xlsx::Cell>;

void ExpectText(
    const xlsx::Book& book, const Cells& cells, int row, int column, const std::string& text, const std::string& where)
{
    const auto found = cells.find({ row, column });
    if (text.empty()) {
        EXPECT_EQ(found, cells.end()) << where << " row " << row << " column " << column;
        return;
    }
    ASSERT_NE(found, cells.end()) << where << " row " << row << " column " << column << ": " << text;
    EXPECT_EQ(found->second.Type, 's') << where << " " << text;
    EXPECT_EQ(book.NumberFormat(found->second.Style), "@") << where << " " << text;
    EXPECT_EQ(found->second.Value, text) << where << " row " << row << " column " << column;
}

// A float as the workbook holds it: a number cell whose double is exactly the one the
// float's shortest text reads as, which is the float again; nothing for a non-finite one.
void ExpectNumber(
    const xlsx::Book& book, const Cells& cells, int row, int column, float value, const std::string& where)
{
    const auto found = cells.find({ row, column });
    if (!std::isfinite(value)) {
        EXPECT_EQ(found, cells.end()) << where << " row " << row << " column " << column;
        return;
    }
    ASSERT_NE(found, cells.end()) << where << " row " << row << " column " << column;
    EXPECT_EQ(found->second.Type, 'n') << where;
    const double cell = ParsedDouble(found->second.Value);
    EXPECT_EQ(cell, WorkbookNumber(value)) << where << " row " << row << " column " << column;
    EXPECT_EQ(static_cast<float>(cell), value) << where << " row " << row << " column " << column;
    EXPECT_EQ(book.NumberFormat(found->second.Style), "0.00") << where;
}

// A table as the sheet must hold it: names in the top row and the first column, values
// inside.
void ExpectTable(const xlsx::Book& book, const std::string& sheet, const CsvTable& table)
{
    const Cells cells = book.Cells(sheet);
    ExpectText(book, cells, 0, 0, table.Corner, sheet);
    for (std::size_t j = 0; j < table.ColumnNames.size(); ++j)
        ExpectText(book, cells, 0, static_cast<int>(j + 1), table.ColumnNames[j], sheet);
    for (std::size_t i = 0; i < table.RowNames.size(); ++i) {
        ExpectText(book, cells, static_cast<int>(i + 1), 0, table.RowNames[i], sheet);
        for (std::size_t j = 0; j < table.ColumnNames.size(); ++j) {
            const float v = i < table.Values.size() && j < table.Values[i].size()
                ? table.Values[i][j]
                : std::numeric_limits<float>::quiet_NaN();
            ExpectNumber(book, cells, static_cast<int>(i + 1), static_cast<int>(j + 1), v, sheet);
        }
    }
}

struct Made {
    CData Computed;
    std::array<GraphWorkingData, 4> Works;
    xlsx::Book Book;
};

const RatingSelection kSelection { 2, 1, 3 };

ReportRequest Request()
{
    ReportRequest request;
    request.FileName = "оценка & отчёт.sav";
    request.Rating = kSelection;
    request.High = 2.675f;
    request.Low = 0.1f;
    return request;
}

} // namespace

TEST(Workbook, NumbersThatSixteenDigitsWouldChangeStayTheFloat)
{
    // The library writes "%.16G": the cell value must survive that exactly, which the
    // float's own double does not always do.
    const auto sixteenDigits = [](double value) {
        char text[40];
        std::snprintf(text, sizeof text, "%.16G", value);
        return ParsedDouble(text);
    };
    for (std::size_t k = 0; k < std::size(kAwkward); ++k) {
        const float v = kAwkward[k];
        const double cell = WorkbookNumber(v);
        EXPECT_EQ(static_cast<float>(cell), v);
        EXPECT_EQ(sixteenDigits(cell), cell) << v;
        EXPECT_EQ(sixteenDigits(static_cast<double>(v)) == static_cast<double>(v), k >= 8) << v;
    }
}

class WorkbookOfHostileNames : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder_ = new TempFolder;
        data_ = new CData(HostileAssessment(*folder_));
        const std::optional<std::string> bytes = AssessmentWorkbook(*data_, Request(), { 2026, 3, 9 });
        ASSERT_TRUE(bytes);
        book_ = new xlsx::Book(*bytes);
        computed_ = new CData(*data_);
        works_ = new std::array<GraphWorkingData, 4>(ComputeAllModes(*computed_));
        ComputeDamageMatrices(*computed_);
    }
    static void TearDownTestSuite()
    {
        delete works_;
        delete computed_;
        delete book_;
        delete data_;
        delete folder_;
    }

    static TempFolder* folder_;
    static CData* data_;
    static CData* computed_;
    static std::array<GraphWorkingData, 4>* works_;
    static xlsx::Book* book_;
};

TempFolder* WorkbookOfHostileNames::folder_ = nullptr;
CData* WorkbookOfHostileNames::data_ = nullptr;
CData* WorkbookOfHostileNames::computed_ = nullptr;
std::array<GraphWorkingData, 4>* WorkbookOfHostileNames::works_ = nullptr;
xlsx::Book* WorkbookOfHostileNames::book_ = nullptr;

TEST_F(WorkbookOfHostileNames, HasTheSheetsInOrder)
{
    const std::vector<std::string> expected = { "Сводка", "MT", "TE", "ET", "TM", "EF", "FM", "Режим 1", "Режим 2",
        "Режим 3", "Режим 4", "MM", "EE", "Рейтинг" };
    EXPECT_EQ(book_->SheetNames(), expected);
}

TEST_F(WorkbookOfHostileNames, EveryTableHoldsItsNamesAsTextAndItsFloatsExactly)
{
    // The loaded names are the hostile ones, unchanged by the trip through code page 1251.
    ASSERT_EQ(data_->LayerCount, static_cast<int>(kHostileNames.size()));
    for (int k = 0; k < data_->LayerCount; ++k)
        ASSERT_EQ(data_->LayerName(k), kHostileNames[static_cast<std::size_t>(k)]);

    const char* sources[] = { "MT", "TE", "ET", "TM", "EF", "FM" };
    int s = 0;
    for (AnalysisMode mode : kAnalysisModes) {
        if (!Describe(mode).EditableSources)
            continue;
        for (int k = 0; k < 2; ++k) {
            const Matrix& values = computed_->*Describe(mode).Sources[static_cast<std::size_t>(k)].Member;
            ExpectTable(*book_, sources[s++], SourceTable(*computed_, mode, k, values));
        }
    }
    for (const GraphWorkingData& work : *works_)
        ExpectTable(*book_, "Режим " + std::to_string(ModeNumber(work.Mode)), ResultTable(*computed_, work));
    ExpectTable(*book_, "MM", DamageTable(*computed_, ItemKind::Mechanism, computed_->MM));
    ExpectTable(*book_, "EE", DamageTable(*computed_, ItemKind::Layer, computed_->EE));
    ExpectTable(*book_, "Рейтинг", CurveTable(*computed_, kSelection, 2.675f, 0.1f));
}

TEST_F(WorkbookOfHostileNames, DiagonalOfMMAndEEIsMarkedAndRepeatedBelow)
{
    for (const auto& [sheet, square] :
        { std::pair<std::string, const Matrix*> { "MM", &computed_->MM }, { "EE", &computed_->EE } }) {
        const Cells cells = book_->Cells(sheet);
        const int n = square->Rows();
        ASSERT_GT(n, 1);
        const int diagonalStyle = cells.at({ 1, 1 }).Style;
        const int otherStyle = cells.at({ 1, 2 }).Style;
        EXPECT_NE(diagonalStyle, otherStyle);
        EXPECT_NE(book_->FillOf(diagonalStyle).find("solid"), std::string::npos) << book_->FillOf(diagonalStyle);
        EXPECT_EQ(book_->FillOf(otherStyle).find("solid"), std::string::npos);
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j)
                EXPECT_EQ(cells.at({ i + 1, j + 1 }).Style, i == j ? diagonalStyle : otherStyle) << sheet;
        // Below the matrix: the diagonal under each item's column, then the indicator.
        ExpectText(*book_, cells, n + 2, 0, "Диагональ " + sheet, sheet);
        for (int k = 0; k < n; ++k) {
            ExpectNumber(*book_, cells, n + 2, k + 1, (*square)(k, k), sheet);
            EXPECT_EQ(cells.at({ n + 2, k + 1 }).Style, diagonalStyle);
        }
        ExpectText(
            *book_, cells, n + 3, 0, "Рейтинговый показатель " + std::string(sheet == "MM" ? "Rm" : "Re"), sheet);
        ExpectNumber(*book_, cells, n + 3, 1, RatingIndicator(*square), sheet);
    }
}

TEST_F(WorkbookOfHostileNames, SummaryHoldsFileDateFiguresAndTheListsWithTheirMarks)
{
    const Cells cells = book_->Cells("Сводка");
    ExpectText(*book_, cells, 1, 0, "Файл данных", "summary");
    ExpectText(*book_, cells, 1, 1, Request().FileName, "summary");
    ExpectText(*book_, cells, 2, 0, "Дата", "summary");
    // 9 March 2026 as the spreadsheet counts days (from 1899-12-30), shown as a date.
    EXPECT_EQ(cells.at({ 2, 1 }).Type, 'n');
    EXPECT_EQ(ParsedDouble(cells.at({ 2, 1 }).Value), 46090.0);
    EXPECT_EQ(book_->NumberFormat(cells.at({ 2, 1 }).Style), "dd.mm.yyyy");

    const CsvTable figures = SummaryTable(*computed_);
    int row = 3;
    for (std::size_t i = 0; i < figures.RowNames.size(); ++i, ++row) {
        ExpectText(*book_, cells, row, 0, figures.RowNames[i], "summary");
        ExpectNumber(*book_, cells, row, 1, figures.Values[i][0], "summary");
    }
    for (ItemKind kind : kItemKinds) {
        ++row;
        ++row; // the list's title
        const std::vector<std::string>& names = data_->NamesOf(kind);
        for (std::size_t k = 0; k < names.size(); ++k, ++row) {
            ExpectText(*book_, cells, row, 0, names[k], "summary");
            // The first item of every list is the one left out of the analysis.
            ExpectText(*book_, cells, row, 1, k == 0 ? "нет" : "да", "summary");
        }
    }
    EXPECT_EQ(cells.rbegin()->first.first, row - 1);
}

TEST_F(WorkbookOfHostileNames, ChartsPointAtTheirRanges)
{
    const int mechanisms = data_->MechanismCount;
    const int layers = data_->LayerCount;
    // Mode 1: mechanisms down, layers across.
    const std::vector<xlsx::Chart> mode1 = book_->Charts("Режим 1");
    ASSERT_EQ(mode1.size(), 2u);
    for (const xlsx::Chart& chart : mode1) {
        EXPECT_EQ(chart.Kind, "column");
        ASSERT_EQ(chart.Series.size(), 1u);
    }
    EXPECT_EQ(mode1[0].Series[0].Categories, "'Режим 1'!$A$2:$A$" + std::to_string(mechanisms + 1));
    EXPECT_EQ(mode1[0].Series[0].Values, "'Режим 1'!$B$2:$B$" + std::to_string(mechanisms + 1));
    // Layers from column C on: 17 layers end at column S.
    ASSERT_EQ(layers, 17);
    EXPECT_EQ(mode1[1].Series[0].Categories, "'Режим 1'!$C$1:$S$1");
    EXPECT_EQ(mode1[1].Series[0].Values,
        "'Режим 1'!$C$" + std::to_string(mechanisms + 2) + ":$S$" + std::to_string(mechanisms + 2));
    for (int mode = 2; mode <= 4; ++mode)
        EXPECT_EQ(book_->Charts("Режим " + std::to_string(mode)).size(), 2u);

    // MM: the mechanisms' names across the top, the diagonal row below the matrix.
    const std::vector<xlsx::Chart> mm = book_->Charts("MM");
    ASSERT_EQ(mm.size(), 1u);
    EXPECT_EQ(mm[0].Kind, "column");
    ASSERT_EQ(mm[0].Series.size(), 1u);
    EXPECT_EQ(mm[0].Series[0].Categories, "'MM'!$B$1:$H$1");
    EXPECT_EQ(mm[0].Series[0].Values, "'MM'!$B$10:$H$10");
    const std::vector<xlsx::Chart> ee = book_->Charts("EE");
    ASSERT_EQ(ee.size(), 1u);
    EXPECT_EQ(ee[0].Series[0].Categories, "'EE'!$B$1:$R$1");
    EXPECT_EQ(ee[0].Series[0].Values, "'EE'!$B$20:$R$20");

    // The rating curves: one line per level and indicator against the shift column.
    const std::vector<xlsx::Chart> rating = book_->Charts("Рейтинг");
    ASSERT_EQ(rating.size(), 1u);
    EXPECT_EQ(rating[0].Kind, "line");
    ASSERT_EQ(rating[0].Series.size(), 6u);
    const std::string columns = "CDEFGH";
    for (std::size_t c = 0; c < 6; ++c) {
        EXPECT_EQ(rating[0].Series[c].Categories, "'Рейтинг'!$B$2:$B$101");
        EXPECT_EQ(
            rating[0].Series[c].Values, "'Рейтинг'!$" + columns.substr(c, 1) + "$2:$" + columns.substr(c, 1) + "$101");
        EXPECT_EQ(rating[0].Series[c].Name, "'Рейтинг'!$" + columns.substr(c, 1) + "$1");
    }
    EXPECT_TRUE(book_->Charts("Сводка").empty());
    EXPECT_TRUE(book_->Charts("MT").empty());
    // Every chart of the workbook is one of these: 8 + 2 + 1.
    int parts = 0;
    for (const auto& [name, content] : book_->Parts())
        parts += name.rfind("xl/charts/chart", 0) == 0;
    EXPECT_EQ(parts, 11);
}

TEST_F(WorkbookOfHostileNames, EverySheetPrintsOnA4AcrossWithItsTitleAndFrozenNames)
{
    for (const std::string& sheet : book_->SheetNames()) {
        const std::string& xml = book_->SheetXml(sheet);
        EXPECT_NE(xml.find("<pageSetUpPr fitToPage=\"1\"/>"), std::string::npos) << sheet;
        const auto setup = xlsx::Elements(xml, "pageSetup");
        ASSERT_EQ(setup.size(), 1u) << sheet;
        EXPECT_EQ(xlsx::Attribute(setup[0].first, "paperSize"), "9") << sheet;
        EXPECT_EQ(xlsx::Attribute(setup[0].first, "orientation"), "landscape") << sheet;
        EXPECT_EQ(xlsx::Attribute(setup[0].first, "fitToHeight"), "0") << sheet;
        EXPECT_EQ(xlsx::Attribute(setup[0].first, "fitToWidth").value_or("1"), "1") << sheet;
        const auto header = xlsx::Elements(xml, "oddHeader");
        ASSERT_EQ(header.size(), 1u) << sheet;
        EXPECT_EQ(xlsx::Unescape(header[0].second).rfind("&C" + sheet, 0), 0u) << sheet;
        const auto pane = xlsx::Elements(xml, "pane");
        ASSERT_EQ(pane.size(), 1u) << sheet;
        EXPECT_EQ(xlsx::Attribute(pane[0].first, "xSplit"), "1") << sheet;
        EXPECT_EQ(xlsx::Attribute(pane[0].first, "ySplit"), "1") << sheet;
        EXPECT_EQ(xlsx::Attribute(pane[0].first, "state"), "frozen") << sheet;
    }
    // An "&" of the file name stays text in the summary's header.
    EXPECT_NE(
        xlsx::Unescape(xlsx::Elements(book_->SheetXml("Сводка"), "oddHeader")[0].second).find("оценка && отчёт.sav"),
        std::string::npos);
}

TEST_F(WorkbookOfHostileNames, ColumnsAreWideForNamesUpToALimit)
{
    // The first column of a source sheet fits its longest name but no more than 60.
    const auto columns = xlsx::Elements(book_->SheetXml("EF"), "col");
    ASSERT_FALSE(columns.empty());
    EXPECT_EQ(xlsx::Attribute(columns[0].first, "min"), "1");
    const double first = ParsedDouble(*xlsx::Attribute(columns[0].first, "width"));
    EXPECT_GT(first, 55.0);
    EXPECT_LT(first, 62.0);
    for (std::size_t k = 1; k < columns.size(); ++k) {
        const double width = ParsedDouble(*xlsx::Attribute(columns[k].first, "width"));
        EXPECT_GE(width, 9.0);
        EXPECT_LT(width, 26.0);
    }
}

TEST(Workbook, ValuesThatAreNoNumbersLeaveTheirCellsEmpty)
{
    // Nothing entered: the weighted damage is all zero and every rating is not a number.
    CData data = RandomAssessment(3, 7);
    for (Matrix* m : { &data.ET, &data.TM })
        for (int i = 0; i < m->Rows(); ++i)
            for (int j = 0; j < m->Cols(); ++j)
                (*m)(i, j) = 0.0f;
    ReportRequest request;
    request.Rating = RatingSelection { 0, 0, 0 };
    request.High = 2.0f;
    request.Low = 0.5f;
    const std::optional<std::string> bytes = AssessmentWorkbook(data, request, { 2026, 1, 1 });
    ASSERT_TRUE(bytes);
    const xlsx::Book book(*bytes);
    const Cells cells = book.Cells("Рейтинг");
    int shifts = 0;
    for (const auto& [at, cell] : cells) {
        if (at.first == 0 || at.second == 0)
            continue;
        // Only the shift column holds numbers.
        EXPECT_EQ(at.second, 1) << at.first;
        shifts += cell.Type == 'n';
    }
    EXPECT_EQ(shifts, kCurveSamples);
}

TEST(Workbook, NumbersKeepTheirPointUnderALocaleWithADecimalComma)
{
    // POSIX names, then Windows ones.
    const char* commaLocales[]
        = { "ru_RU.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8", "Russian_Russia.1251", "German_Germany.1252" };
    const char* used = nullptr;
    for (const char* name : commaLocales)
        if (std::setlocale(LC_ALL, name)) {
            used = name;
            break;
        }
    if (!used)
        GTEST_SKIP() << "no locale with a decimal comma installed";
    const CData data = RandomAssessment(4, 3);
    const std::optional<std::string> bytes = AssessmentWorkbook(data, {}, { 2026, 1, 1 });
    std::setlocale(LC_ALL, "C");
    ASSERT_TRUE(bytes);
    const xlsx::Book book(*bytes);
    const Cells cells = book.Cells("MT");
    for (int i = 0; i < data.MechanismCount; ++i)
        for (int j = 0; j < data.ThreatCount; ++j)
            ExpectNumber(book, cells, i + 1, j + 1, data.MT(i, j), used);
}

TEST(Workbook, WithoutASelectionThereIsNoRatingSheet)
{
    const std::optional<std::string> bytes = AssessmentWorkbook(RandomAssessment(2, 1), {}, { 2026, 1, 1 });
    ASSERT_TRUE(bytes);
    const xlsx::Book book(*bytes);
    EXPECT_EQ(book.SheetNames().size(), 13u);
    EXPECT_EQ(book.SheetNames().back(), "EE");
    // A file never saved has no name to give.
    EXPECT_EQ(book.Cells("Сводка").count({ 1, 1 }), 0u);
}

TEST(Workbook, AnEmptyAssessmentHasItsSheetsButNoCharts)
{
    const std::optional<std::string> bytes = AssessmentWorkbook(CData {}, {}, { 2026, 1, 1 });
    ASSERT_TRUE(bytes);
    const xlsx::Book book(*bytes);
    EXPECT_EQ(book.SheetNames().size(), 13u);
    for (const std::string& sheet : book.SheetNames())
        EXPECT_TRUE(book.Charts(sheet).empty()) << sheet;
    // The mode's table is its corner, its distribution's title and its bottom row's name.
    const Cells cells = book.Cells("Режим 2");
    EXPECT_EQ(cells.size(), 3u);
}

TEST(Workbook, OneTableAloneIsASheetOfItsOwn)
{
    CsvTable table;
    table.Corner = "=угол";
    table.ColumnNames = { "1e5", "ИСТИНА" };
    table.RowNames = { "01", "-2+3" };
    table.Values = { { 0.1f, std::numeric_limits<float>::infinity() }, { 2.675f } };
    const std::optional<std::string> bytes = TableWorkbook(table);
    ASSERT_TRUE(bytes);
    const xlsx::Book book(*bytes);
    ASSERT_EQ(book.SheetNames(), std::vector<std::string> { "Таблица" });
    ExpectTable(book, "Таблица", table);
}

TEST(Workbook, AFailedSaveSaysSoAndLeavesNoFile)
{
    const TempFolder folder;
    const CData data = RandomAssessment(2, 5);
    fs::create_directory(PathFromUtf8(folder.Path("folder.xlsx")));
    for (const std::string name : { "missing/book.xlsx", "folder.xlsx" }) {
        RecordingSink sink;
        const std::string path = folder.Path(name);
        EXPECT_FALSE(WriteAssessmentWorkbook(path, data, {}, sink)) << name;
        EXPECT_EQ(sink.Messages, std::vector<std::string> { "Не удалось сохранить файл " + path + "." });
    }
    EXPECT_FALSE(fs::exists(PathFromUtf8(folder.Path("missing"))));
    EXPECT_TRUE(fs::is_directory(PathFromUtf8(folder.Path("folder.xlsx"))));
    EXPECT_TRUE(fs::is_empty(PathFromUtf8(folder.Path("folder.xlsx"))));
    // Nothing else appeared beside the target.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Root()), fs::directory_iterator()), 1);
}

TEST(Workbook, ASaveReplacesTheTargetWhole)
{
    const TempFolder folder;
    const std::string path = folder.Path("book.xlsx");
    WriteBytes(path, "old contents");
    RecordingSink sink;
    ASSERT_TRUE(WriteAssessmentWorkbook(path, RandomAssessment(3, 2), {}, sink));
    EXPECT_TRUE(sink.Messages.empty());
    const xlsx::Book book(ReadBytes(path));
    EXPECT_EQ(book.SheetNames().front(), "Сводка");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Root()), fs::directory_iterator()), 1);
}

// The library's working files go to the user's temporary folder, whose name may hold
// letters (of a Cyrillic user name, say) that the library's own C calls cannot take as
// they come; the folder it made is gone afterwards.
TEST(Workbook, IsMadeInATemporaryFolderWithACyrillicName)
{
    const TempFolder folder;
    const std::string temporary = folder.Path("Временные файлы");
    ASSERT_TRUE(fs::create_directory(PathFromUtf8(temporary)));
    std::optional<std::string> bytes;
    {
        const ScopedEnvironmentVariable variable(TemporaryFolderVariable(), temporary);
        // Windows gives it with a separator at its end.
        ASSERT_TRUE(fs::temp_directory_path() / "" == PathFromUtf8(temporary) / "");
        bytes = AssessmentWorkbook(RandomAssessment(3, 2), {}, { 2026, 1, 1 });
    }
    ASSERT_TRUE(bytes);
    const xlsx::Book book(*bytes);
    EXPECT_EQ(book.SheetNames().front(), "Сводка");
    EXPECT_TRUE(fs::is_empty(PathFromUtf8(temporary)));
}

TEST(StrictXml, RefusesWhatAStrictParserRefuses)
{
    // The check the tests below and the pipeline fuzzer rely on: each case as expat has it,
    // but for a declared encoding other than UTF-8, which expat would decode and the check
    // refuses (what we read back is UTF-8).
    const struct {
        std::string_view Xml;
        bool WellFormed;
    } cases[] = {
        { "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<a b=\"&amp;&lt;&quot;\">t&#65;&#x42;</a>",
            true },
        { "<c:v xmlns:c=\"u\">\t\n\r\x7F\xD0\x96\xEF\xBF\xBD<![CDATA[<&]]><!-- - --><?pi x?></c:v>", true },
        { "<a xml:space=\"preserve\"><b xmlns=\"\"/></a>", true },
        { std::string_view("<a>\x01</a>"), false },
        { std::string_view("<a b=\"\x1F\"/>"), false },
        { std::string_view("<a>\x00</a>", 9), false },
        { "<a>&#1;</a>", false },
        { "<a>&#xFFFE;</a>", false },
        { "<a>\xEF\xBF\xBF</a>", false },
        { "<a>\xCE\xF6</a>", false },
        { "<a>\xED\xA0\x80</a>", false },
        { "<a>\xC0\xAF</a>", false },
        { "<a>&</a>", false },
        { "<a>&nbsp;</a>", false },
        { "<a b=\"<\"/>", false },
        { "<a b=\"1\" b=\"2\"/>", false },
        { "<a xmlns:p=\"u\" xmlns:q=\"u\" p:b=\"1\" q:b=\"2\"/>", false },
        { "<a b=1/>", false },
        { "<a></b>", false },
        { "<a><b></a></b>", false },
        { "<a>", false },
        { "<a/><b/>", false },
        { "</a>", false },
        { "<p:a/>", false },
        { "<a>]]></a>", false },
        { "<a><!-- -- --></a>", false },
        { " <?xml version=\"1.0\"?><a/>", false },
        { "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a/>", false },
        { "", false },
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_EQ(IsWellFormedXml(c.Xml, &error), c.WellFormed) << c.Xml << ": " << error;
        EXPECT_EQ(error.empty(), c.WellFormed) << c.Xml;
    }
}

namespace {

// A text and what the workbook must give back for it: the same text, but for bytes that
// are no UTF-8 and characters XML refuses, which become U+FFFD.
struct HostileText {
    std::string Text;
    std::string ReadBack;
};

HostileText Same(std::string text)
{
    return { text, text };
}

// Names a data file can hold though no analyst types them: every control character (the
// code page gives each byte its character), DEL, XML's and the print header's special
// characters, the spreadsheet's own escapes, a long name of them and one of nothing else.
std::vector<std::string> ControlNames()
{
    std::vector<std::string> names;
    for (char c = 1; c < 0x20; ++c)
        names.push_back("до" + std::string(1, c) + "после");
    names.push_back(std::string("нуль\0внутри", 21));
    names.push_back("DEL\x7F");
    for (const char* name : { "R&G", "&G", "&[Picture]", "<тег>", "\"кавычки\"", "_x0041_", "_xABCD\x01", "& &&" })
        names.push_back(name);
    std::string only;
    for (char c = 1; c < 0x20; ++c)
        only += c;
    names.push_back(only);
    std::string longName;
    for (int k = 0; k < 85; ++k)
        longName += k % 2 ? "\x01ж" : "&\x1F";
    names.push_back(longName);
    return names;
}

// Each list holds every name, each kind from another start, with sources to compute.
CData ControlAssessment(const std::vector<std::string>& names)
{
    std::vector<std::string> threats = names;
    std::rotate(threats.begin(), threats.begin() + 11, threats.end());
    std::vector<std::string> mechanisms = names;
    std::rotate(mechanisms.begin(), mechanisms.begin() + 23, mechanisms.end());
    CData data;
    data.CollectSelection(
        Checked(names, names.size()), Checked(threats, threats.size()), Checked(mechanisms, mechanisms.size()));
    FillSources(data);
    return data;
}

int AnalysedPosition(const CData& data, ItemKind kind, const std::string& name)
{
    for (int k = 0; k < data.CountOf(kind); ++k)
        if (data.AnalysedName(kind, k) == name)
            return k;
    throw std::runtime_error("no item " + name);
}

// A print header as printed: its codes ("&C", "&\"font,style\"", "&12", ...) left out and
// "&&" one ampersand. A lone "&" at the end is no header the spreadsheet reads.
std::string PrintedHeader(const std::string& codes)
{
    std::string text;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (codes[i] != '&') {
            text += codes[i];
            continue;
        }
        if (++i == codes.size())
            throw std::runtime_error("a header ending in a lone &");
        if (codes[i] == '&') {
            text += '&';
        } else if (codes[i] == '"') {
            i = codes.find('"', i + 1);
            if (i == std::string::npos)
                throw std::runtime_error("a font code not closed");
        } else {
            while (i + 1 < codes.size() && codes[i] >= '0' && codes[i] <= '9' && codes[i + 1] >= '0'
                && codes[i + 1] <= '9')
                ++i;
        }
    }
    return text;
}

std::string SheetHeader(const xlsx::Book& book, const std::string& sheet)
{
    const auto header = xlsx::Elements(book.SheetXml(sheet), "oddHeader");
    if (header.size() != 1)
        throw std::runtime_error("no single header on " + sheet);
    return xlsx::Unescape(header[0].second);
}

// The texts of a range "'Sheet'!$A$1:$C$1" row by row, as its cells hold them.
std::vector<std::string> RangeTexts(const xlsx::Book& book, const std::string& formula)
{
    const std::size_t bang = formula.rfind('!');
    std::string sheet = formula.substr(1, bang - 2);
    for (std::size_t at = sheet.find("''"); at != std::string::npos; at = sheet.find("''", at + 1))
        sheet.erase(at, 1);
    std::string corners = formula.substr(bang + 1);
    std::erase(corners, '$');
    const std::size_t colon = corners.find(':');
    const auto [firstRow, firstColumn] = xlsx::CellPosition(corners.substr(0, colon));
    const auto [lastRow, lastColumn] = xlsx::CellPosition(corners.substr(colon + 1));
    const Cells cells = book.Cells(sheet);
    std::vector<std::string> texts;
    for (int row = firstRow; row <= lastRow; ++row)
        for (int column = firstColumn; column <= lastColumn; ++column) {
            const auto found = cells.find({ row, column });
            texts.push_back(found == cells.end() ? std::string() : found->second.Value);
        }
    return texts;
}

// Every text a chart keeps of its cells (the categories' names, a series' name from its
// cell) read as the spreadsheet reads it, against the cells; how many were compared.
int ExpectChartCachesAreTheCells(const xlsx::Book& book)
{
    int compared = 0;
    for (const auto& [part, xml] : book.Parts()) {
        if (!part.starts_with("xl/charts/chart"))
            continue;
        for (const auto& [tag, reference] : xlsx::Elements(xml, "c:strRef")) {
            const std::string formula = xlsx::Unescape(xlsx::Elements(reference, "c:f").at(0).second);
            std::vector<std::string> cached;
            for (const auto& [ptTag, point] : xlsx::Elements(reference, "c:pt"))
                cached.push_back(xlsx::Unescape(xlsx::Elements(point, "c:v").at(0).second));
            EXPECT_EQ(cached, RangeTexts(book, formula)) << part << " " << formula;
            ++compared;
        }
    }
    return compared;
}

void ExpectEveryPartWellFormed(const xlsx::Book& book)
{
    for (const auto& [part, xml] : book.Parts()) {
        std::string error;
        EXPECT_TRUE(IsWellFormedXml(xml, &error)) << part << ": " << error;
    }
}

} // namespace

TEST(WorkbookOfControlCharacters, EveryPartIsWellFormedXmlAndEveryNameReadsBack)
{
    const std::vector<std::string> names = ControlNames();
    const CData data = ControlAssessment(names);
    CData computed = data;
    const std::array<GraphWorkingData, 4> works = ComputeAllModes(computed);
    ComputeDamageMatrices(computed);
    const std::string fileName = "файл\x01\x1B & <\"R&G\">.sav";
    const RatingSelection selection { AnalysedPosition(data, ItemKind::Layer, "&G"),
        AnalysedPosition(data, ItemKind::Threat, "&[Picture]"),
        AnalysedPosition(data, ItemKind::Mechanism, "до\x01после") };

    for (const bool curves : { false, true }) {
        SCOPED_TRACE(curves ? "with the rating curves" : "without the rating curves");
        ReportRequest request;
        request.FileName = fileName;
        if (curves) {
            request.Rating = selection;
            request.High = data.HighLevel;
            request.Low = data.LowLevel;
        }
        const std::optional<std::string> bytes = AssessmentWorkbook(data, request, { 2026, 3, 9 });
        ASSERT_TRUE(bytes);
        const xlsx::Book book(*bytes);
        ExpectEveryPartWellFormed(book);
        ASSERT_EQ(book.SheetNames().size(), curves ? 14u : 13u);

        // Every name in every table reads back exactly, a control character included.
        const char* sources[] = { "MT", "TE", "ET", "TM", "EF", "FM" };
        int s = 0;
        for (AnalysisMode mode : kAnalysisModes) {
            if (!Describe(mode).EditableSources)
                continue;
            for (int k = 0; k < 2; ++k) {
                const Matrix& values = computed.*Describe(mode).Sources[static_cast<std::size_t>(k)].Member;
                ExpectTable(book, sources[s++], SourceTable(computed, mode, k, values));
            }
        }
        for (const GraphWorkingData& work : works)
            ExpectTable(book, "Режим " + std::to_string(ModeNumber(work.Mode)), ResultTable(computed, work));
        ExpectTable(book, "MM", DamageTable(computed, ItemKind::Mechanism, computed.MM));
        ExpectTable(book, "EE", DamageTable(computed, ItemKind::Layer, computed.EE));
        ExpectText(book, book.Cells("Сводка"), 1, 1, fileName, "summary");

        // The charts' copies of their categories (and of the curves' names) are the cells:
        // a column chart of each of the eight distributions and of the two diagonals.
        EXPECT_EQ(ExpectChartCachesAreTheCells(book), curves ? 16 : 10);

        // The print headers name the file and the curves' items as they are.
        EXPECT_EQ(PrintedHeader(SheetHeader(book, "Сводка")), "Сводка: " + fileName);
        if (curves) {
            ExpectTable(book, "Рейтинг", CurveTable(computed, selection, data.HighLevel, data.LowLevel));
            EXPECT_EQ(PrintedHeader(SheetHeader(book, "Рейтинг")),
                "Рейтинг. Эшелон: &G. Угроза: &[Picture]. МЗ: до\x01после.");
        }
    }
}

TEST(WorkbookOfControlCharacters, AnyFileNameGivesItsCellAndItsHeader)
{
    const std::string controls = std::string(200, '\x01') + ".sav";
    const std::string ampersands(200, '&');
    const HostileText fileNames[] = {
        Same("оценка\x01\x09\x0A\x0D\x1F.sav"),
        Same("R&G.sav"),
        Same("&[Picture] &G &&G.sav"),
        Same("_x0041_ _xABCD\x0E.sav"),
        // The name's bytes in code page 1251, as a file from an older system may be called.
        { "\xCE\xF6\xE5\xED\xEA\xE0.sav",
            "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD.sav" },
        { "\xEF\xBF\xBE\xED\xA0\x80.sav", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD.sav" },
        Same(controls),
        Same(ampersands),
    };
    const CData data = RandomAssessment(3, 4);
    for (const HostileText& name : fileNames) {
        ReportRequest request;
        request.FileName = name.Text;
        const std::optional<std::string> bytes = AssessmentWorkbook(data, request, { 2026, 1, 1 });
        ASSERT_TRUE(bytes) << name.Text;
        const xlsx::Book book(*bytes);
        ExpectEveryPartWellFormed(book);
        ExpectText(book, book.Cells("Сводка"), 1, 1, name.ReadBack, name.Text);
        // A header too long for the library is cut, never refused.
        const std::string title = "Сводка: " + name.ReadBack;
        const std::string printed = PrintedHeader(SheetHeader(book, "Сводка"));
        if (name.Text.size() < 100) {
            EXPECT_EQ(printed, title);
        } else {
            EXPECT_TRUE(title.starts_with(printed)) << printed;
            EXPECT_GT(printed.size(), std::string("Сводка: ").size() + 30) << printed;
        }
    }
}

#ifndef VARDUN_REPORT_TOOL_BUILT
#define VARDUN_REPORT_TOOL_BUILT 0
#endif

// The report tool comes with the windows: a build of the core alone has none to run.
class WorkbookReportTool : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!VARDUN_REPORT_TOOL_BUILT)
            GTEST_SKIP() << "vardun-report is built with the windows";
    }
};

TEST_F(WorkbookReportTool, WritesTheWorkbookOfAFileWithItsCurves)
{
    const TempFolder folder;
    const fs::path example = PathFromUtf8(VARDUN_TEST_DATA) / "example.sav";
    const ToolRun run
        = RunReportTool({ Utf8FromPath(example), "--rating", "1,2,3", "--xlsx", folder.Path("out.xlsx") }, folder);
    ASSERT_EQ(run.Status, 0) << run.Err;
    const xlsx::Book book(ReadBytes(folder.Path("out.xlsx")));
    EXPECT_EQ(book.SheetNames().size(), 14u);
    ExpectText(book, book.Cells("Сводка"), 1, 1, "example.sav", "summary");

    CData data;
    RecordingSink sink;
    ASSERT_TRUE(data.LoadFromFile(Utf8FromPath(example), sink));
    ComputeAllModes(data);
    ComputeDamageMatrices(data);
    ExpectTable(book, "Рейтинг", CurveTable(data, { 1, 2, 3 }, data.HighLevel, data.LowLevel));
}

TEST_F(WorkbookReportTool, WritesTheWorkbookOfTwoHundredItemsPerList)
{
    const TempFolder folder;
    RecordingSink sink;
    const CData data = RandomAssessment(200, 11);
    ASSERT_TRUE(data.SaveToFile(folder.Path("large.sav"), sink));
    const ToolRun run = RunReportTool({ folder.Path("large.sav"), "--xlsx", folder.Path("large.xlsx") }, folder);
    ASSERT_EQ(run.Status, 0) << run.Err;
    const xlsx::Book book(ReadBytes(folder.Path("large.xlsx")));
    const Cells cells = book.Cells("FM");
    ExpectNumber(book, cells, 200, 200, data.FM(199, 199), "FM");
    ExpectText(book, cells, 0, 200, data.MechanismName(199), "FM");
}

TEST_F(WorkbookReportTool, AnUnwritableTargetFailsTheRun)
{
    const TempFolder folder;
    const fs::path example = PathFromUtf8(VARDUN_TEST_DATA) / "example.sav";
    const ToolRun run = RunReportTool({ Utf8FromPath(example), "--xlsx", folder.Path("none/out.xlsx") }, folder);
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("Не удалось сохранить файл"), std::string::npos) << run.Err;
    EXPECT_FALSE(fs::exists(PathFromUtf8(folder.Path("none"))));
}
