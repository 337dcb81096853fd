#include "analysis/ExportTables.h"

#include "analysis/Damage.h"
#include "analysis/Modes.h"
#include "model/Data.h"
#include "model/Texts.h"

#include <algorithm>
#include <limits>

namespace {

std::vector<std::string> NamesOfKind(const CData& data, ItemKind kind)
{
    std::vector<std::string> names;
    const int count = static_cast<int>(data.IndicesOf(kind).size());
    for (int k = 0; k < count; ++k)
        names.push_back(data.AnalysedName(kind, k));
    return names;
}

// The matrix's rows, cut to the names: a grid shows no more than the analysed items, and
// a matrix that is smaller leaves its cells empty.
std::vector<std::vector<float>> ValuesOf(const Matrix& m, std::size_t rows, std::size_t columns)
{
    std::vector<std::vector<float>> values(std::min(rows, static_cast<std::size_t>(m.Rows())));
    const int width = static_cast<int>(std::min(columns, static_cast<std::size_t>(m.Cols())));
    for (std::size_t i = 0; i < values.size(); ++i)
        for (int j = 0; j < width; ++j)
            values[i].push_back(m(static_cast<int>(i), j));
    return values;
}

CsvTable MatrixTable(const CData& data, std::string corner, ItemKind rows, ItemKind columns, const Matrix& values)
{
    CsvTable table;
    table.Corner = std::move(corner);
    table.ColumnNames = NamesOfKind(data, columns);
    table.RowNames = NamesOfKind(data, rows);
    table.Values = ValuesOf(values, table.RowNames.size(), table.ColumnNames.size());
    return table;
}

constexpr float kNoValue = std::numeric_limits<float>::quiet_NaN();

// A distribution shorter than the names (a result not computed for these items) leaves
// its cells empty.
float At(const Vector& v, std::size_t k)
{
    return k < static_cast<std::size_t>(v.Size()) ? v(static_cast<int>(k)) : kNoValue;
}

// The selection's item, or nothing for a position outside the analysed items.
std::string SelectedName(const CData& data, ItemKind kind, int k)
{
    if (k < 0 || static_cast<std::size_t>(k) >= data.IndicesOf(kind).size())
        return {};
    return data.AnalysedName(kind, k);
}

} // namespace

CsvTable SourceTable(const CData& data, AnalysisMode mode, int source, const Matrix& values)
{
    const SourceDescription& about = Describe(mode).Sources[static_cast<std::size_t>(source)];
    return MatrixTable(data, ModeText(about.Caption), about.Rows, about.Cols, values);
}

CsvTable ResultTable(const CData& data, const GraphWorkingData& work)
{
    const ModeDescription& about = Describe(work.Mode);
    const CsvTable result
        = MatrixTable(data, ModeText(about.ResultCaption), about.ResultRows, about.ResultCols, work.ResultMatrix);
    // Laid out as the result grid: the distribution over the rows in the first column, the
    // one over the columns in the bottom row. The chart's wall titles name the two.
    CsvTable table;
    table.Corner = result.Corner;
    table.ColumnNames.push_back(
        FillIn(Translate("ExportTables", "Распределение Xi %1"), { ModeText(about.RowsTitle) }));
    table.ColumnNames.insert(table.ColumnNames.end(), result.ColumnNames.begin(), result.ColumnNames.end());
    table.RowNames = result.RowNames;
    for (std::size_t i = 0; i < result.RowNames.size(); ++i) {
        std::vector<float> row { At(work.RowDistribution, i) };
        if (i < result.Values.size())
            row.insert(row.end(), result.Values[i].begin(), result.Values[i].end());
        table.Values.push_back(std::move(row));
    }
    // The grid leaves the bottom-left cell empty, and so does a value that is not a number.
    std::vector<float> bottom { kNoValue };
    for (std::size_t j = 0; j < result.ColumnNames.size(); ++j)
        bottom.push_back(At(work.ColumnDistribution, j));
    table.RowNames.push_back(ModeText(about.ColumnsTitle));
    table.Values.push_back(std::move(bottom));
    return table;
}

CsvTable DamageTable(const CData& data, ItemKind kind, const Matrix& square)
{
    return MatrixTable(data, kind == ItemKind::Layer ? "EE" : "MM", kind, kind, square);
}

CsvTable CurveTable(const CData& data, const RatingSelection& selection, float high, float low)
{
    CsvTable table;
    table.Corner = FillIn(Translate("ExportTables", "Эшелон: %1. Угроза: %2. МЗ: %3."),
        { SelectedName(data, ItemKind::Layer, selection.Layer), SelectedName(data, ItemKind::Threat, selection.Threat),
            SelectedName(data, ItemKind::Mechanism, selection.Mechanism) });
    for (const char* column : { VARDUN_TEXT("ExportTables", "Сдвиг ЧАУ"), VARDUN_TEXT("ExportTables", "Rm, уровень 1"),
             VARDUN_TEXT("ExportTables", "Re, уровень 1"), VARDUN_TEXT("ExportTables", "Rm, высокий уровень"),
             VARDUN_TEXT("ExportTables", "Re, высокий уровень"), VARDUN_TEXT("ExportTables", "Rm, низкий уровень"),
             VARDUN_TEXT("ExportTables", "Re, низкий уровень") })
        table.ColumnNames.push_back(Translate("ExportTables", column));

    const RatingEvaluator evaluator(data, selection);
    std::vector<CurveSamples> curves;
    for (float level : { 1.0f, high, low })
        for (RatingKind kind : { RatingKind::Rm, RatingKind::Re })
            curves.push_back(evaluator.Samples(kind, DamageFactor(level)));
    for (int i = 0; i < kCurveSamples; ++i) {
        const std::size_t s = static_cast<std::size_t>(i);
        table.RowNames.push_back(std::to_string(i + 1));
        std::vector<float> row { curves.front()[s].Shift };
        for (const CurveSamples& curve : curves)
            row.push_back(curve[s].Value);
        table.Values.push_back(std::move(row));
    }
    return table;
}

CsvTable SummaryTable(const CData& data)
{
    CsvTable table;
    table.Corner = Translate("ExportTables", "Показатель");
    table.ColumnNames.push_back(Translate("ExportTables", "Значение"));
    auto add = [&table](std::string name, float value) {
        table.RowNames.push_back(std::move(name));
        table.Values.push_back({ value });
    };
    // As the MM and EE window names them.
    add(Translate("ExportTables", "Рейтинговый показатель Rm"), RatingIndicator(data.MM));
    add(Translate("ExportTables", "Рейтинговый показатель Re"), RatingIndicator(data.EE));
    for (AnalysisMode mode : kAnalysisModes) {
        const std::string number = std::to_string(ModeNumber(mode));
        const CData::ThresholdPair& thresholds = data.ThresholdsOf(mode);
        add(FillIn(Translate("ExportTables", "Режим %1: пороговое значение для малой величины"), { number }),
            thresholds.Small);
        add(FillIn(Translate("ExportTables", "Режим %1: пороговое значение для средней величины"), { number }),
            thresholds.Medium);
    }
    add(Translate("ExportTables", "Высокий уровень потенциального ущерба"), data.HighLevel);
    add(Translate("ExportTables", "Низкий уровень потенциального ущерба"), data.LowLevel);
    return table;
}
