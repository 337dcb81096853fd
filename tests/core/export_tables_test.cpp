// The tables the windows and the report tool export: captions, names in the order of the
// analysed items, values where the grids show them, and the rating curves' samples.
#include "analysis/ExportTables.h"

#include "analysis/Damage.h"
#include "analysis/Derived.h"
#include "model/Data.h"
#include "support/RandomAssessment.h"
#include "support/StrictCsv.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

std::uint32_t Bits(float f)
{
    return std::bit_cast<std::uint32_t>(f);
}

// Analysed items picked out of order, with items left out, so that a name taken by its
// position instead of through the index list is caught.
CData Store()
{
    CData d;
    d.LayerNames = { "Эшелон A", "Эшелон B", "Эшелон C", "Эшелон D" };
    d.ThreatNames = { "Угроза A", "Угроза B", "Угроза C" };
    d.MechanismNames = { "МЗ A", "МЗ B", "МЗ C" };
    d.LayerIndices = { "3", "0", "2" };
    d.ThreatIndices = { "1", "2" };
    d.MechanismIndices = { "2", "0" };
    d.LayerCount = 3;
    d.ThreatCount = 2;
    d.MechanismCount = 2;
    return d;
}
const Names kLayers = { "Эшелон D", "Эшелон A", "Эшелон C" };
const Names kThreats = { "Угроза B", "Угроза C" };
const Names kMechanisms = { "МЗ C", "МЗ A" };

// Distinct values: 10 * row + column + 1, scaled.
Matrix Numbered(int rows, int columns, float scale)
{
    Matrix m;
    m.Resize(rows, columns);
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < columns; ++j)
            m(i, j) = static_cast<float>(10 * i + j + 1) * scale;
    return m;
}

void ExpectValues(const CsvTable& table, const Matrix& m, std::size_t firstColumn = 0)
{
    ASSERT_GE(table.Values.size(), static_cast<std::size_t>(m.Rows()));
    for (int i = 0; i < m.Rows(); ++i) {
        const std::vector<float>& row = table.Values[static_cast<std::size_t>(i)];
        ASSERT_EQ(row.size(), firstColumn + static_cast<std::size_t>(m.Cols())) << "row " << i;
        for (int j = 0; j < m.Cols(); ++j)
            EXPECT_EQ(Bits(row[firstColumn + static_cast<std::size_t>(j)]), Bits(m(i, j))) << i << ", " << j;
    }
}

} // namespace

TEST(SourceTable, CaptionNamesAndTheWindowsCopy)
{
    struct Case {
        AnalysisMode Mode;
        int Source;
        const char* Corner;
        const Names& Rows;
        const Names& Columns;
    };
    const Case cases[] = {
        { AnalysisMode::Reliability, 0, "Матрица достоверности <МЗ-угрозы> MT:", kMechanisms, kThreats },
        { AnalysisMode::Reliability, 1, "Матрица достоверности <угрозы-эшелоны> TE:", kThreats, kLayers },
        { AnalysisMode::Damage, 0, "Матрица потенциального ущерба <эшелоны-угрозы> ET:", kLayers, kThreats },
        { AnalysisMode::Damage, 1, "Матрица потенциального ущерба <угрозы-МЗ> TM:", kThreats, kMechanisms },
        { AnalysisMode::Frequency, 0, "Матрица частоты активации угроз <эшелоны-угрозы> EF:", kLayers, kThreats },
        { AnalysisMode::Frequency, 1, "Матрица частоты активации угроз <угрозы-МЗ> FM:", kThreats, kMechanisms },
    };
    const CData d = Store();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Corner);
        // The window's copy, not the store's (which is empty here).
        const Matrix copy = Numbered(static_cast<int>(c.Rows.size()), static_cast<int>(c.Columns.size()), 0.01f);
        const CsvTable table = SourceTable(d, c.Mode, c.Source, copy);
        EXPECT_EQ(table.Corner, c.Corner);
        EXPECT_EQ(table.RowNames, c.Rows);
        EXPECT_EQ(table.ColumnNames, c.Columns);
        ExpectValues(table, copy);
        EXPECT_EQ(table.Values.size(), c.Rows.size());
    }
}

// A copy that never had values (a source not yet entered) gives the names and empty cells.
TEST(SourceTable, EmptyCopyGivesNamesOnly)
{
    const CsvTable table = SourceTable(Store(), AnalysisMode::Damage, 0, Matrix());
    EXPECT_EQ(table.RowNames, kLayers);
    EXPECT_EQ(table.ColumnNames, kThreats);
    const std::optional<CsvRecords> read = ReadStrictCsv(CsvText(table));
    ASSERT_TRUE(read);
    ASSERT_EQ(read->size(), 4u);
    EXPECT_EQ((*read)[1], (std::vector<std::string> { "Эшелон D", "", "" }));
}

TEST(ResultTable, DistributionsWhereTheGridShowsThem)
{
    struct Case {
        AnalysisMode Mode;
        const char* Corner;
        const Names& Rows;
        const Names& Columns;
        const char* RowDistribution; // heads the first column
        const char* ColumnDistribution; // names the bottom row
    };
    const Case cases[] = {
        { AnalysisMode::Reliability, "Матрица достоверности активации МЗ <МЗ-эшелоны>", kMechanisms, kLayers,
            "Распределение Xi по МЗ", "Распределение Xi по эшелонам" },
        { AnalysisMode::Damage, "Матрица потенциального ущерба <эшелоны-МЗ>", kLayers, kMechanisms,
            "Распределение Xi по эшелонам", "Распределение Xi по МЗ" },
        { AnalysisMode::Frequency, "Матрица частоты активации угроз <эшелоны-МЗ>", kLayers, kMechanisms,
            "Распределение Xi по эшелонам", "Распределение Xi по МЗ" },
        { AnalysisMode::WeightedDamage, "Матрица ОПУ <эшелоны-МЗ>(с учётом ЧАУ)", kLayers, kMechanisms,
            "Распределение Xi по эшелонам", "Распределение Xi по МЗ" },
    };
    CData d = Store();
    d.MT = Numbered(2, 2, 0.05f);
    d.TE = Numbered(2, 3, 0.03f);
    d.ET = Numbered(3, 2, 0.2f);
    d.TM = Numbered(2, 2, 0.3f);
    d.EF = Numbered(3, 2, 0.1f);
    d.FM = Numbered(2, 2, 0.4f);
    const std::array<GraphWorkingData, 4> works = ComputeAllModes(d);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Corner);
        const GraphWorkingData& work = works[ModeIndex(c.Mode)];
        ASSERT_EQ(work.ResultMatrix.Rows(), static_cast<int>(c.Rows.size()));
        const CsvTable table = ResultTable(d, work);
        EXPECT_EQ(table.Corner, c.Corner);
        Names columns = { c.RowDistribution };
        columns.insert(columns.end(), c.Columns.begin(), c.Columns.end());
        EXPECT_EQ(table.ColumnNames, columns);
        Names rows = c.Rows;
        rows.push_back(c.ColumnDistribution);
        EXPECT_EQ(table.RowNames, rows);

        ASSERT_EQ(table.Values.size(), rows.size());
        ExpectValues(table, work.ResultMatrix, 1);
        for (int i = 0; i < work.ResultMatrix.Rows(); ++i)
            EXPECT_EQ(Bits(table.Values[static_cast<std::size_t>(i)][0]), Bits(work.RowDistribution(i))) << i;
        const std::vector<float>& bottom = table.Values.back();
        ASSERT_EQ(bottom.size(), columns.size());
        EXPECT_TRUE(std::isnan(bottom[0]));
        for (int j = 0; j < work.ColumnDistribution.Size(); ++j)
            EXPECT_EQ(Bits(bottom[static_cast<std::size_t>(j) + 1]), Bits(work.ColumnDistribution(j))) << j;

        // In the file the bottom-left cell is empty, as in the grid.
        const std::optional<CsvRecords> read = ReadStrictCsv(CsvText(table));
        ASSERT_TRUE(read);
        EXPECT_EQ(read->back()[0], c.ColumnDistribution);
        EXPECT_EQ(read->back()[1], "");
        EXPECT_EQ(CsvNumber(read->back()[2]), work.ColumnDistribution(0));
    }
}

TEST(DamageTable, SquareWithTheSameNamesOnBothSides)
{
    CData d = RandomAssessment(4, 11);
    ComputeAllModes(d);
    ComputeDamageMatrices(d);
    ASSERT_EQ(d.MM.Rows(), 4);
    const Names mechanisms = { "Механизм 1", "Механизм 2", "Механизм 3", "Механизм 4" };
    const Names layers = { "Эшелон 1", "Эшелон 2", "Эшелон 3", "Эшелон 4" };
    const CsvTable mm = DamageTable(d, ItemKind::Mechanism, d.MM);
    EXPECT_EQ(mm.Corner, "MM");
    EXPECT_EQ(mm.RowNames, mechanisms);
    EXPECT_EQ(mm.ColumnNames, mechanisms);
    ExpectValues(mm, d.MM);
    const CsvTable ee = DamageTable(d, ItemKind::Layer, d.EE);
    EXPECT_EQ(ee.Corner, "EE");
    EXPECT_EQ(ee.RowNames, layers);
    EXPECT_EQ(ee.ColumnNames, layers);
    ExpectValues(ee, d.EE);
}

TEST(CurveTable, SamplesOfTheEvaluatorAtTheThreeLevels)
{
    CData d = RandomAssessment(5, 3);
    ComputeAllModes(d);
    ComputeDamageMatrices(d);
    const RatingSelection selection { 4, 1, 2 };
    const float high = 2.5f;
    const float low = 0.3f;
    const CsvTable table = CurveTable(d, selection, high, low);

    for (const char* name : { "Эшелон 5", "Угроза 2", "Механизм 3" })
        EXPECT_NE(table.Corner.find(name), std::string::npos) << table.Corner;
    ASSERT_EQ(table.ColumnNames.size(), 7u);
    ASSERT_EQ(table.RowNames.size(), static_cast<std::size_t>(kCurveSamples));
    ASSERT_EQ(table.Values.size(), static_cast<std::size_t>(kCurveSamples));

    const RatingEvaluator evaluator(d, selection);
    // Column by column: Rm and Re at the current level 1, then at the high, then the low.
    const CurveSamples curves[] = { evaluator.Samples(RatingKind::Rm, 1.0f), evaluator.Samples(RatingKind::Re, 1.0f),
        evaluator.Samples(RatingKind::Rm, DamageFactor(high)), evaluator.Samples(RatingKind::Re, DamageFactor(high)),
        evaluator.Samples(RatingKind::Rm, DamageFactor(low)), evaluator.Samples(RatingKind::Re, DamageFactor(low)) };
    // The levels give different curves, so a column in the wrong place is caught.
    ASSERT_NE(Bits(curves[0][0].Value), Bits(curves[2][0].Value));
    ASSERT_NE(Bits(curves[0][0].Value), Bits(curves[1][0].Value));
    for (std::size_t i = 0; i < static_cast<std::size_t>(kCurveSamples); ++i) {
        const std::vector<float>& row = table.Values[i];
        ASSERT_EQ(row.size(), 7u);
        EXPECT_EQ(Bits(row[0]), Bits(curves[0][i].Shift)) << i;
        for (std::size_t k = 0; k < 6; ++k)
            EXPECT_EQ(Bits(row[k + 1]), Bits(curves[k][i].Value)) << i << " column " << k + 1;
    }
    EXPECT_EQ(table.Values.front()[0], -10.0f);
    // Samples run from -10 in steps of 0.2 up to the last one below 10.
    EXPECT_NEAR(table.Values.back()[0], 9.8f, 1e-5f);
}

// Rm and Re are no cell of any other table: the summary has them beside the thresholds
// and levels the analyst typed, every value a distinct one so that a row mixed up with
// another is caught.
TEST(SummaryTable, RatingsThresholdsAndLevelsEachInItsRow)
{
    CData d = RandomAssessment(4, 5);
    for (AnalysisMode mode : kAnalysisModes) {
        d.ThresholdsOf(mode).Small = 0.125f * static_cast<float>(ModeNumber(mode));
        d.ThresholdsOf(mode).Medium = 1.5f * static_cast<float>(ModeNumber(mode));
    }
    d.HighLevel = 2.75f;
    d.LowLevel = 0.375f;
    ComputeAllModes(d);
    ComputeDamageMatrices(d);
    const float rm = RatingIndicator(d.MM);
    const float re = RatingIndicator(d.EE);
    ASSERT_NE(Bits(rm), Bits(re));

    const CsvTable table = SummaryTable(d);
    EXPECT_EQ(table.Corner, "Показатель");
    EXPECT_EQ(table.ColumnNames, Names { "Значение" });
    const std::vector<std::pair<std::string, float>> expected = {
        { "Рейтинговый показатель Rm", rm },
        { "Рейтинговый показатель Re", re },
        { "Режим 1: пороговое значение для малой величины", 0.125f },
        { "Режим 1: пороговое значение для средней величины", 1.5f },
        { "Режим 2: пороговое значение для малой величины", 0.25f },
        { "Режим 2: пороговое значение для средней величины", 3.0f },
        { "Режим 3: пороговое значение для малой величины", 0.375f },
        { "Режим 3: пороговое значение для средней величины", 4.5f },
        { "Режим 4: пороговое значение для малой величины", 0.5f },
        { "Режим 4: пороговое значение для средней величины", 6.0f },
        { "Высокий уровень потенциального ущерба", 2.75f },
        { "Низкий уровень потенциального ущерба", 0.375f },
    };
    ASSERT_EQ(table.RowNames.size(), expected.size());
    ASSERT_EQ(table.Values.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(table.RowNames[i], expected[i].first);
        ASSERT_EQ(table.Values[i].size(), 1u) << i;
        EXPECT_EQ(Bits(table.Values[i][0]), Bits(expected[i].second)) << expected[i].first;
    }
}
