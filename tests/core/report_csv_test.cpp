// vardun-report --csv end to end: the built tool writes the CSV files of an assessment;
// each reads back, strictly, to the values of the loaded store and of the tool's own JSON.
#include "ui/export/ReportJson.h"

#include "model/Data.h"
#include "model/Utf8Path.h"
#include "support/RandomAssessment.h"
#include "support/RecordingSink.h"
#include "support/ReportToolTest.h"
#include "support/StrictCsv.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kExample = PathFromUtf8(VARDUN_TEST_DATA) / "example.sav";

std::uint32_t Bits(float f)
{
    return std::bit_cast<std::uint32_t>(f);
}

// A number cell holds the float bit for bit; one that is not finite is empty.
::testing::AssertionResult CellIs(const std::string& field, float expected)
{
    if (!std::isfinite(expected))
        return field.empty() ? ::testing::AssertionSuccess()
                             : ::testing::AssertionFailure() << "'" << field << "' where an empty cell was expected";
    const std::optional<float> value = CsvNumber(field);
    if (!value || Bits(*value) != Bits(expected))
        return ::testing::AssertionFailure() << "'" << field << "' is not " << expected;
    return ::testing::AssertionSuccess();
}

// The report's null is the CSV's empty cell.
::testing::AssertionResult CellIs(const std::string& field, const ReportJson& expected)
{
    if (expected.is_null())
        return field.empty() ? ::testing::AssertionSuccess()
                             : ::testing::AssertionFailure() << "'" << field << "' where null was expected";
    return CellIs(field, expected.get<float>());
}

std::vector<std::string> Strings(const ReportJson& names)
{
    return names.get<std::vector<std::string>>();
}

class ReportCsv : public ReportToolTest {
protected:
    // A file the tool wrote, read strictly.
    static CsvRecords ReadCsv(const fs::path& file)
    {
        std::string error;
        const std::optional<CsvRecords> records = ReadStrictCsv(ReadBytes(Utf8FromPath(file)), &error);
        EXPECT_TRUE(records) << file << ": " << error;
        return records.value_or(CsvRecords {});
    }

    static std::set<std::string> FilesIn(const fs::path& dir)
    {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir))
            names.insert(Utf8FromPath(entry.path().filename()));
        return names;
    }

    // Header and row names, then every value against [row][column] of `values`, whose
    // rows may be shorter: their last cells must be empty.
    template <typename ValueAt>
    static void ExpectTable(const CsvRecords& records, const std::string& corner, const std::vector<std::string>& rows,
        const std::vector<std::string>& columns, ValueAt valueAt, const std::string& what)
    {
        SCOPED_TRACE(what);
        ASSERT_EQ(records.size(), rows.size() + 1);
        std::vector<std::string> header = { corner };
        header.insert(header.end(), columns.begin(), columns.end());
        ASSERT_EQ(records[0], header);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(records[i + 1][0], rows[i]);
            for (std::size_t j = 0; j < columns.size(); ++j)
                EXPECT_TRUE(valueAt(records[i + 1][j + 1], i, j)) << "(" << i << ", " << j << ")";
        }
    }

    // Every file of `dir` against the store of `file` and the JSON the same run printed.
    static void ExpectFiles(const fs::path& dir, const fs::path& file, const ReportJson& r, bool withRating)
    {
        std::set<std::string> expected = { "source-MT.csv", "source-TE.csv", "source-ET.csv", "source-TM.csv",
            "source-EF.csv", "source-FM.csv", "result-mode1.csv", "result-mode2.csv", "result-mode3.csv",
            "result-mode4.csv", "MM.csv", "EE.csv", "summary.csv" };
        if (withRating)
            expected.insert("rating-curves.csv");
        EXPECT_EQ(FilesIn(dir), expected);

        const CData d = Loaded(file);
        const auto layers = Strings(r["layers"]);
        const auto threats = Strings(r["threats"]);
        const auto mechanisms = Strings(r["mechanisms"]);

        struct Source {
            const char* Name;
            const Matrix& Values;
            const std::vector<std::string>& Rows;
            const std::vector<std::string>& Columns;
            const char* Corner;
        };
        const Source sources[] = {
            { "MT", d.MT, mechanisms, threats, "Матрица достоверности <МЗ-угрозы> MT:" },
            { "TE", d.TE, threats, layers, "Матрица достоверности <угрозы-эшелоны> TE:" },
            { "ET", d.ET, layers, threats, "Матрица потенциального ущерба <эшелоны-угрозы> ET:" },
            { "TM", d.TM, threats, mechanisms, "Матрица потенциального ущерба <угрозы-МЗ> TM:" },
            { "EF", d.EF, layers, threats, "Матрица частоты активации угроз <эшелоны-угрозы> EF:" },
            { "FM", d.FM, threats, mechanisms, "Матрица частоты активации угроз <угрозы-МЗ> FM:" },
        };
        for (const Source& s : sources) {
            ASSERT_EQ(s.Values.Rows(), static_cast<int>(s.Rows.size())) << s.Name;
            ExpectTable(
                ReadCsv(dir / (std::string("source-") + s.Name + ".csv")), s.Corner, s.Rows, s.Columns,
                [&s](const std::string& field, std::size_t i, std::size_t j) {
                    return CellIs(field, s.Values(static_cast<int>(i), static_cast<int>(j)));
                },
                s.Name);
        }

        for (std::size_t k = 0; k < 4; ++k) {
            const ReportJson& mode = r["modes"][k];
            const bool mechanismRows = k == 0;
            const auto& rows = mechanismRows ? mechanisms : layers;
            const auto& columns = mechanismRows ? layers : mechanisms;
            const CsvRecords records = ReadCsv(dir / ("result-mode" + std::to_string(k + 1) + ".csv"));
            ASSERT_EQ(records.size(), rows.size() + 2);
            // Names only; the corner and the distributions' titles are the mode's captions.
            ASSERT_EQ(records[0].size(), columns.size() + 2);
            EXPECT_EQ(std::vector<std::string>(records[0].begin() + 2, records[0].end()), columns) << k;
            EXPECT_EQ(records[0][1].rfind("Распределение Xi", 0), 0u) << records[0][1];
            EXPECT_EQ(records.back()[0].rfind("Распределение Xi", 0), 0u) << records.back()[0];
            EXPECT_EQ(records.back()[1], "");
            for (std::size_t i = 0; i < rows.size(); ++i) {
                EXPECT_EQ(records[i + 1][0], rows[i]);
                EXPECT_TRUE(CellIs(records[i + 1][1], mode["row_distribution"][i])) << k << " row " << i;
                for (std::size_t j = 0; j < columns.size(); ++j)
                    EXPECT_TRUE(CellIs(records[i + 1][j + 2], mode["result"][i][j])) << k << " " << i << ", " << j;
            }
            for (std::size_t j = 0; j < columns.size(); ++j)
                EXPECT_TRUE(CellIs(records.back()[j + 2], mode["column_distribution"][j])) << k << " column " << j;
        }

        struct Square {
            const char* Name;
            const std::vector<std::string>& Names;
        };
        for (const Square& square : { Square { "MM", mechanisms }, Square { "EE", layers } })
            ExpectTable(
                ReadCsv(dir / (std::string(square.Name) + ".csv")), square.Name, square.Names, square.Names,
                [&r, &square](const std::string& field, std::size_t i, std::size_t j) {
                    return CellIs(field, r[square.Name][i][j]);
                },
                square.Name);

        // Rm, Re, the thresholds and the levels as the JSON has them.
        const CsvRecords summary = ReadCsv(dir / "summary.csv");
        ASSERT_EQ(summary.size(), 13u);
        EXPECT_EQ(summary[0], (std::vector<std::string> { "Показатель", "Значение" }));
        std::vector<ReportJson> figures = { r["Rm"], r["Re"] };
        for (std::size_t k = 0; k < 4; ++k)
            for (std::size_t which = 0; which < 2; ++which)
                figures.push_back(r["thresholds"][k][which]);
        figures.push_back(r["high_level"]);
        figures.push_back(r["low_level"]);
        for (std::size_t i = 0; i < figures.size(); ++i)
            EXPECT_TRUE(CellIs(summary[i + 1][1], figures[i])) << summary[i + 1][0];
        EXPECT_EQ(summary[1][0], "Рейтинговый показатель Rm");
        EXPECT_EQ(summary[2][0], "Рейтинговый показатель Re");
        EXPECT_EQ(summary[10][0], "Режим 4: пороговое значение для средней величины");

        if (!withRating)
            return;
        const ReportJson& rating = r["rating"];
        const CsvRecords curves = ReadCsv(dir / "rating-curves.csv");
        ASSERT_EQ(curves.size(), 101u);
        ASSERT_EQ(curves[0].size(), 8u);
        const auto& s = rating["selection"];
        for (const std::string& name :
            { layers[s[0].get<std::size_t>()], threats[s[1].get<std::size_t>()], mechanisms[s[2].get<std::size_t>()] })
            EXPECT_NE(curves[0][0].find(name), std::string::npos) << curves[0][0];
        for (std::size_t i = 0; i < 100; ++i) {
            const std::vector<std::string>& row = curves[i + 1];
            EXPECT_TRUE(CellIs(row[1], rating["Rm"]["curves"]["current"][i][0])) << i;
            std::size_t column = 2;
            for (const char* level : { "current", "high", "low" })
                for (const char* kind : { "Rm", "Re" })
                    EXPECT_TRUE(CellIs(row[column++], rating[kind]["curves"][level][i][1]))
                        << i << " " << kind << " " << level;
        }
    }
};

} // namespace

TEST_F(ReportCsv, ExampleWithoutRatingIntoAFolderItMakes)
{
    const fs::path dir = Path("made/for/csv");
    const ReportJson r = Parse(Report({ Utf8FromPath(kExample), "--csv", Utf8FromPath(dir) }));
    ExpectFiles(dir, kExample, r, false);
}

TEST_F(ReportCsv, ExampleWithRatingCurves)
{
    const fs::path dir = Path("csv");
    const ReportJson r = Parse(Report(
        { Utf8FromPath(kExample), "--rating", "1,2,3", "--high", "2.5", "--low", "0.3", "--csv", Utf8FromPath(dir) }));
    ExpectFiles(dir, kExample, r, true);
}

// No weighted damage: the curves are not numbers, null in the JSON, empty in the CSV.
TEST_F(ReportCsv, CurvesThatAreNotNumbersAreEmptyCells)
{
    const CData data = WithoutDamage(RandomAssessment(3, 7));
    RecordingSink sink;
    const fs::path file = Path("zero.sav");
    ASSERT_TRUE(data.SaveToFile(Utf8FromPath(file), sink));
    const fs::path dir = Path("csv");
    const ReportJson r = Parse(Report({ Utf8FromPath(file), "--rating", "1,1,1", "--csv", Utf8FromPath(dir) }));
    ASSERT_TRUE(r["rating"]["Rm"]["curves"]["high"][50][1].is_null());
    ExpectFiles(dir, file, r, true);
}

TEST_F(ReportCsv, FailuresAreReportedWithTheirFiles)
{
    // A file where the folder should be.
    WriteBytes(Utf8FromPath(Path("taken")), "x");
    const ToolRun blocked = Report({ Utf8FromPath(kExample), "--csv", Utf8FromPath(Path("taken")) });
    EXPECT_EQ(blocked.Status, 1);
    EXPECT_EQ(blocked.Out, "");
    EXPECT_NE(blocked.Err.find(Utf8FromPath(Path("taken"))), std::string::npos) << blocked.Err;

    // One file that may not be replaced: it is named and kept, the others are written.
    const fs::path dir = Path("csv");
    fs::create_directory(dir);
    const std::string mm = Utf8FromPath(dir / "MM.csv");
    WriteBytes(mm, "old");
    ASSERT_TRUE(SetPermissions(mm, 0444));
    const ToolRun run = Report({ Utf8FromPath(kExample), "--csv", Utf8FromPath(dir) });
    SetPermissions(mm, 0644);
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "Не удалось сохранить файл " + mm + ".\n");
    EXPECT_EQ(ReadBytes(mm), "old");
    EXPECT_EQ(FilesIn(dir).size(), 13u);
    EXPECT_TRUE(ReadCsv(dir / "EE.csv").size() > 1);
}
