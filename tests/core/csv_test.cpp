// The spreadsheet CSV: read back by a strict RFC 4180 reader, names and floats come back
// exactly; quoting, formula protection, and saving that never leaves half a file.
#include "model/Csv.h"

#include "model/Utf8Path.h"
#include "support/RecordingSink.h"
#include "support/StrictCsv.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

namespace {

std::uint32_t Bits(float f)
{
    return std::bit_cast<std::uint32_t>(f);
}

// The separators of the imports the file must survive: the dialect's own alone, and with
// the comma and the tab that LibreOffice's import ticks by default (Gnumeric's guess
// splits at commas as well).
const char* const kImports[] = { ";", ",;\t", ",;", ";\t" };

CsvRecords Read(const std::string& text, std::string_view separators = ";")
{
    std::string error;
    const std::optional<CsvRecords> records = ReadStrictCsv(text, &error, separators);
    EXPECT_TRUE(records.has_value()) << error << "\n" << text;
    return records.value_or(CsvRecords {});
}

// Every import reads the cells the dialect's own reader reads.
CsvRecords ReadEveryWay(const std::string& text)
{
    const CsvRecords records = Read(text);
    for (const char* separators : kImports)
        EXPECT_EQ(Read(text, separators), records) << "separators \"" << separators << "\"";
    return records;
}

CsvTable OneCell(float value)
{
    return { "K", { "c" }, { "r" }, { { value } } };
}

// The text a single number cell gets.
std::string NumberField(float value)
{
    const CsvRecords records = Read(CsvText(OneCell(value)));
    return records.size() == 2 && records[1].size() == 2 ? records[1][1] : "<malformed>";
}

} // namespace

// The reader the other tests rely on refuses what a spreadsheet could misread.
TEST(StrictCsvReader, RefusesMalformedInput)
{
    const std::string bom = "\xEF\xBB\xBF";
    EXPECT_TRUE(ReadStrictCsv(bom + "a;\"b;\"\"c\"\"\"\r\n1;2\r\n"));
    EXPECT_EQ((*ReadStrictCsv(bom + "a;\"b;\"\"c\"\"\r\n\"\r\n"))[0][1], "b;\"c\"\r\n");
    const std::string bad[] = {
        "a;b\r\n", // no byte-order mark
        bom,
        bom + "a;b\n",
        bom + "a;b\r",
        bom + "a;b",
        bom + "a\rb\r\n",
        bom + "a;b\"c\r\n",
        bom + "a;\"b\r\n",
        bom + "a;\"b\"c\r\n",
        bom + "a;b\r\n1\r\n",
        bom + "a;b\r\n1;2;3\r\n",
    };
    for (const std::string& text : bad)
        EXPECT_FALSE(ReadStrictCsv(text)) << text;

    // Several separators at once split where any of them stands, outside quotes only.
    const std::string mixed = bom + "a,b;c\td;\"e,f\tg\"\r\n";
    EXPECT_EQ(*ReadStrictCsv(mixed, nullptr, ",;\t"), (CsvRecords { { "a", "b", "c", "d", "e,f\tg" } }));
    EXPECT_EQ(*ReadStrictCsv(mixed, nullptr, ";"), (CsvRecords { { "a,b", "c\td", "e,f\tg" } }));
}

TEST(Csv, ExactBytesOfASmallTable)
{
    const CsvTable table { "Угол", { "Столбец 1", "Столбец 2" }, { "Строка" }, { { 1.0f, 0.5f } } };
    EXPECT_EQ(CsvText(table),
        "\xEF\xBB\xBF"
        "\"Угол\";\"Столбец 1\";\"Столбец 2\"\r\n"
        "\"Строка\";\"1\";\"0,5\"\r\n");
}

TEST(Csv, RoundTripGivesNamesAndFloatsBackBitForBit)
{
    const std::vector<float> awkward = { 0.1f, 1.0f / 3.0f, 1e-7f, 123456.78f, -2.5f, 0.0f, -0.0f, 0.7f, 16777217.0f,
        1e10f, std::numeric_limits<float>::max(), std::numeric_limits<float>::denorm_min(),
        -std::numeric_limits<float>::min() };
    CsvTable table;
    table.Corner = "Матрица достоверности <МЗ-угрозы> MT:";
    table.ColumnNames = { "Межсетевой экран", "Антивирус", "" };
    table.RowNames = { "Периметр сети", "Сетевой уровень" };
    for (std::size_t r = 0; r < 2; ++r) {
        std::vector<float> row;
        for (std::size_t k = r; k < awkward.size(); k += 2)
            row.push_back(awkward[k]);
        table.Values.push_back(row);
    }
    // Numbers with a decimal comma and names holding separators and control characters
    // come back the same whichever separators the spreadsheet splits at.
    table.ColumnNames[1] = "Антивирус, сканер\tпочты";
    const CsvRecords records = ReadEveryWay(CsvText(table));
    ASSERT_EQ(records.size(), 3u);
    const std::size_t width = 1 + table.Values[0].size(); // wider than the names
    EXPECT_EQ(records[0],
        (std::vector<std::string> {
            table.Corner, "Межсетевой экран", "Антивирус, сканер\tпочты", "", "", "", "", "" }));
    ASSERT_EQ(records[0].size(), width);
    for (std::size_t r = 0; r < 2; ++r) {
        EXPECT_EQ(records[r + 1][0], table.RowNames[r]);
        for (std::size_t k = 0; k < table.Values[r].size(); ++k) {
            const std::string& field = records[r + 1][k + 1];
            const std::optional<float> back = CsvNumber(field);
            ASSERT_TRUE(back) << field;
            EXPECT_EQ(Bits(*back), Bits(table.Values[r][k])) << field;
        }
        for (std::size_t k = 1 + table.Values[r].size(); k < width; ++k)
            EXPECT_EQ(records[r + 1][k], "");
    }
}

TEST(Csv, NumbersAreShortWithADecimalComma)
{
    const std::pair<float, const char*> cases[] = {
        { 0.1f, "0,1" },
        { 0.5f, "0,5" },
        { 1.0f / 3.0f, "0,33333334" },
        { 123456.78f, "123456,78" },
        { -2.5f, "-2,5" },
        { 0.0f, "0" },
        { -0.0f, "-0" },
        { 10.0f, "10" },
        { 1e-7f, "1e-07" },
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(NumberField(value), text);
}

// Not a number and the infinities leave their cells empty, as the report's null does.
TEST(Csv, ValuesThatAreNotFiniteAreEmptyCells)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const CsvTable table { "K", { "a", "b", "c", "d" }, { "r" }, { { nan, inf, -inf, 2.0f } } };
    const CsvRecords records = ReadEveryWay(CsvText(table));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1], (std::vector<std::string> { "r", "", "", "", "2" }));
}

// Short rows, and values without names (or names without values), still give records of
// one width.
TEST(Csv, RaggedTablesGiveEvenRecords)
{
    const CsvTable table { "K", { "a", "b" }, { "r1", "r2", "r3" }, { { 1.0f }, {} } };
    const CsvRecords records = ReadEveryWay(CsvText(table));
    const CsvRecords expected = { { "K", "a", "b" }, { "r1", "1", "" }, { "r2", "", "" }, { "r3", "", "" } };
    EXPECT_EQ(records, expected);
    const CsvTable unnamed { "K", { "a" }, {}, { { 1.0f }, { 2.0f } } };
    EXPECT_EQ(Read(CsvText(unnamed)), (CsvRecords { { "K", "a" }, { "", "1" }, { "", "2" } }));
}

// Quoting every field keeps a spreadsheet from cutting a decimal comma, a separator, a
// tab or any other control character out of its cell.
TEST(Csv, EveryFieldIsQuoted)
{
    struct Case {
        std::string Name;
        std::string Field; // as written between the separators
    };
    const Case cases[] = {
        { "Вирус", "\"Вирус\"" },
        { "", "\"\"" },
        { "a,b", "\"a,b\"" },
        { "a;b", "\"a;b\"" },
        { "тест\tтаб", "\"тест\tтаб\"" },
        { "say \"hi\"", "\"say \"\"hi\"\"\"" },
        { "two\r\nlines", "\"two\r\nlines\"" },
        { "lf\nonly", "\"lf\nonly\"" },
        { "cr\ronly", "\"cr\ronly\"" },
        { "\"", "\"\"\"\"" },
        { std::string("nul\0bell\a", 9), std::string("\"nul\0bell\a\"", 11) },
        { "esc\x1B[0m\x7F", "\"esc\x1B[0m\x7F\"" },
    };
    for (const Case& c : cases) {
        const std::string text = CsvText({ "K", { c.Name }, {}, {} });
        EXPECT_EQ(text,
            "\xEF\xBB\xBF"
            "\"K\";"
                + c.Field + "\r\n")
            << c.Name;
        // The same name in every place a name goes comes back as it was.
        const CsvRecords records = ReadEveryWay(CsvText({ c.Name, { c.Name }, { c.Name }, { { 0.84f } } }));
        EXPECT_EQ(records, (CsvRecords { { c.Name, c.Name }, { c.Name, "0,84" } })) << c.Name;
    }
}

// A name from a shared dictionary must be shown, never run as a formula.
TEST(Csv, NamesThatLookLikeFormulasAreShownAsText)
{
    const std::pair<std::string, std::string> cases[] = {
        { "=HYPERLINK(\"x\")", "'=HYPERLINK(\"x\")" },
        { "+1", "'+1" },
        { "-2", "'-2" },
        { "@SUM(A1)", "'@SUM(A1)" },
        { "\t=1+1", "'\t=1+1" },
        { "\r=1+1", "'\r=1+1" },
        { "a=b", "a=b" },
        { "1+1", "1+1" },
        { "'quoted", "'quoted" },
    };
    for (const auto& [name, shown] : cases) {
        const CsvRecords records = ReadEveryWay(CsvText({ name, { name }, { name }, { { -2.5f } } }));
        EXPECT_EQ(records, (CsvRecords { { shown, shown }, { shown, "-2,5" } })) << name;
    }
}

class CsvSave : public ::testing::Test {
protected:
    const CsvTable table { "K", { "a" }, { "r" }, { { 0.25f } } };
    TempFolder folder;
    RecordingSink sink;

    std::vector<std::string> FolderContents() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.Root()))
            names.push_back(Utf8FromPath(entry.path().filename()));
        return names;
    }
};

TEST_F(CsvSave, WritesTheTextAndSaysNothing)
{
    const std::string path = folder.Path("table.csv");
    ASSERT_TRUE(SaveCsv(path, table, sink));
    EXPECT_EQ(ReadBytes(path), CsvText(table));
    EXPECT_TRUE(sink.Messages.empty());
    // Replacing a file works too.
    const CsvTable other { "K", { "a" }, { "r" }, { { 0.5f } } };
    ASSERT_TRUE(SaveCsv(path, other, sink));
    EXPECT_EQ(ReadBytes(path), CsvText(other));
    EXPECT_EQ(FolderContents(), std::vector<std::string> { "table.csv" });
}

TEST_F(CsvSave, MissingFolderIsReportedAndNothingIsWritten)
{
    const std::string path = folder.Path("no-such-folder/table.csv");
    EXPECT_FALSE(SaveCsv(path, table, sink));
    EXPECT_EQ(sink.Messages, std::vector<std::string> { "Не удалось сохранить файл " + path + "." });
    EXPECT_TRUE(FolderContents().empty());
}

TEST_F(CsvSave, ReadOnlyTargetIsReportedAndKept)
{
    const std::string path = folder.Path("table.csv");
    WriteBytes(path, "old");
    ASSERT_TRUE(SetPermissions(path, 0444));
    EXPECT_FALSE(SaveCsv(path, table, sink));
    SetPermissions(path, 0644);
    EXPECT_EQ(sink.Messages, std::vector<std::string> { "Не удалось сохранить файл " + path + "." });
    EXPECT_EQ(ReadBytes(path), "old");
    EXPECT_EQ(FolderContents(), std::vector<std::string> { "table.csv" });
}
