#include "ui/export/ReportComparison.h"

#include "analysis/Compare.h"
#include "model/SourceMatrices.h"
#include "ui/charts/DifferenceChart.h"
#include "ui/export/ComparisonTables.h"
#include "ui/export/ReportLayout.h"
#include "ui/widgets/ChartView.h"
#include "ui/widgets/VectorCanvas.h"
#include "ui/widgets/WindowFont.h"

#include <QCoreApplication>
#include <QPainter>

#include <cmath>
#include <limits>
#include <memory>

namespace {

// The comparison window's chart: its size, its two halves.
constexpr QRect kChartArea { 0, 0, 844, 166 };
constexpr int kChartHalf = 422;
constexpr double kPageWide = std::numeric_limits<double>::infinity();

QString Tr(const char* source)
{
    return QCoreApplication::translate("ReportContent", source);
}

ReportTable ItemTable(const std::vector<ItemComparison>& items, const QString& corner)
{
    ReportTable table;
    table.Corner = corner;
    table.ColumnHeads = ItemHeads(false);
    for (const ItemComparison& item : items)
        table.Rows.push_back({ QString::fromStdString(item.Name), ItemCells(item) });
    return table;
}

ReportChart DifferenceChart(std::shared_ptr<const AssessmentComparison> comparison)
{
    ReportChart chart;
    chart.Source = QRectF(kChartArea);
    chart.Width = kPageWide;
    chart.Paint = [comparison = std::move(comparison)](QPainter& painter) {
        painter.setFont(WindowFont());
        VectorCanvas canvas(painter);
        const TextMeasure measure = MeasureOf(WindowFont());
        // The window's captions.
        DrawDifferenceChart(canvas, { 0, 0, kChartHalf, kChartArea.height() },
            QCoreApplication::translate("TCompareForm", "MM: разности по механизмам защиты").toStdString(),
            comparison->Mechanisms, measure);
        DrawDifferenceChart(canvas, { kChartHalf, 0, kChartArea.width() - kChartHalf, kChartArea.height() },
            QCoreApplication::translate("TCompareForm", "EE: разности по эшелонам").toStdString(), comparison->Layers,
            measure);
    };
    return chart;
}

} // namespace

namespace {

void AppendComparison(ReportBlocks& blocks, const ReportComparison& comparison, int number)
{
    if (!comparison.Result)
        return;
    const AssessmentComparison& c = *comparison.Result;
    ReportText heading { TextStyle::Heading,
        Tr(QT_TRANSLATE_NOOP("ReportContent", "%1. Сравнение с файлом %2"))
            .arg(number)
            .arg(QString::fromStdString(comparison.FileName)),
        true, true };
    blocks.List.emplace_back(std::move(heading));
    blocks.Add(TextStyle::Note,
        Tr(QT_TRANSLATE_NOOP(
            "ReportContent", "Разность — файл сравнения минус открытая оценка; элементы сопоставлены по названиям.")));

    ReportTable ratings;
    ratings.Corner = RatingsCorner();
    ratings.ColumnHeads = RatingsHeads();
    for (const auto& [name, rating] : { std::pair { "Rm", &c.Rm }, std::pair { "Re", &c.Re } })
        ratings.Rows.push_back({ QString::fromLatin1(name), RatingCells(*rating) });
    blocks.Add(TextStyle::Subheading, Tr(QT_TRANSLATE_NOOP("ReportContent", "Рейтинговые показатели")));
    blocks.List.push_back(std::move(ratings));

    blocks.Add(TextStyle::Subheading, Tr(QT_TRANSLATE_NOOP("ReportContent", "Диагональ MM по механизмам защиты")));
    blocks.List.push_back(ItemTable(c.Mechanisms, MechanismsCorner()));
    blocks.Add(TextStyle::Subheading, Tr(QT_TRANSLATE_NOOP("ReportContent", "Диагональ EE по эшелонам")));
    blocks.List.push_back(ItemTable(c.Layers, LayersCorner()));

    blocks.Add(TextStyle::Subheading, Tr(QT_TRANSLATE_NOOP("ReportContent", "Разности диагоналей")));
    blocks.List.push_back(DifferenceChart(comparison.Result));
    QStringList notes;
    if (c.Mechanisms.size() > static_cast<std::size_t>(kDifferenceBars))
        notes.push_back(
            Tr(QT_TRANSLATE_NOOP("ReportContent", "На графике показаны только первые %1 механизмов защиты."))
                .arg(kDifferenceBars));
    if (c.Layers.size() > static_cast<std::size_t>(kDifferenceBars))
        notes.push_back(Tr(QT_TRANSLATE_NOOP("ReportContent", "На графике показаны только первые %1 эшелонов."))
                            .arg(kDifferenceBars));
    notes.push_back(Tr(QT_TRANSLATE_NOOP(
        "ReportContent", "Вверх — больше в файле сравнения, вниз — меньше; + добавлен, − удалён, ? нет значения.")));
    blocks.Add(TextStyle::Note, notes.join(QLatin1Char(' ')));

    blocks.Add(TextStyle::Subheading, Tr(QT_TRANSLATE_NOOP("ReportContent", "Изменённые суждения")), true);
    QStringList counts;
    for (std::size_t s = 0; s < kSourceMatrices.size(); ++s)
        counts.push_back(
            QStringLiteral("%1: %2").arg(QString::fromLatin1(kSourceMatrices[s].Name)).arg(c.ChangedPerSource[s]));
    blocks.Add(TextStyle::Body, counts.join(QStringLiteral("   ")), !c.Changed.empty());
    if (c.Changed.empty()) {
        blocks.Add(TextStyle::Body, Tr(QT_TRANSLATE_NOOP("ReportContent", "Все суждения совпадают.")));
        return;
    }
    ReportTable changes;
    changes.Corner = ChangesCorner();
    changes.ColumnHeads = ChangeHeads();
    changes.Rows.reserve(c.Changed.size());
    for (const ChangedJudgement& j : c.Changed)
        changes.Rows.push_back({ ChangeName(j), ChangeCells(j) });
    blocks.List.push_back(std::move(changes));
}

} // namespace

ReportSection ComparisonSection(ReportComparison comparison)
{
    return [comparison = std::move(comparison)](const ReportSectionInput& input, ReportBlocks& blocks) {
        AppendComparison(blocks, comparison, input.Number);
        return true;
    };
}
