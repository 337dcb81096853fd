#include "ui/export/ReportComparison.h"

#include "analysis/Compare.h"
#include "analysis/Format.h"
#include "model/NumberText.h"
#include "model/SourceMatrices.h"
#include "ui/charts/DifferenceChart.h"
#include "ui/export/ComparisonText.h"
#include "ui/export/ReportRequest.h"
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
    table.ColumnHeads = { Tr(QT_TRANSLATE_NOOP("ReportContent", "Открытая оценка")),
        Tr(QT_TRANSLATE_NOOP("ReportContent", "Файл сравнения")), Tr(QT_TRANSLATE_NOOP("ReportContent", "Разность")),
        Tr(QT_TRANSLATE_NOOP("ReportContent", "Состояние")) };
    for (const ItemComparison& item : items)
        table.Rows.push_back({ QString::fromStdString(item.Name),
            { OptionalText(item.This), OptionalText(item.Other), OptionalText(item.Difference, DifferenceText),
                item.Added()         ? Tr(QT_TRANSLATE_NOOP("ReportContent", "добавлен"))
                    : item.Removed() ? Tr(QT_TRANSLATE_NOOP("ReportContent", "удалён"))
                                     : QString() } });
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

void Add(std::vector<ReportBlock>& blocks, TextStyle style, const QString& text, bool keepWithNext = false)
{
    blocks.emplace_back(std::in_place_type<ReportText>, style, text, keepWithNext);
}

} // namespace

void AppendComparisonSection(std::vector<ReportBlock>& blocks, const ReportComparison& comparison, int number)
{
    if (!comparison.Result)
        return;
    const AssessmentComparison& c = *comparison.Result;
    ReportText heading { TextStyle::Heading,
        Tr(QT_TRANSLATE_NOOP("ReportContent", "%1. Сравнение с файлом %2"))
            .arg(number)
            .arg(QString::fromStdString(comparison.FileName)),
        true, true };
    blocks.emplace_back(std::move(heading));
    Add(blocks, TextStyle::Note,
        Tr(QT_TRANSLATE_NOOP(
            "ReportContent", "Разность — файл сравнения минус открытая оценка; элементы сопоставлены по названиям.")));

    ReportTable ratings;
    ratings.Corner = Tr(QT_TRANSLATE_NOOP("ReportContent", "Показатель"));
    ratings.ColumnHeads = { Tr(QT_TRANSLATE_NOOP("ReportContent", "Открытая оценка")),
        Tr(QT_TRANSLATE_NOOP("ReportContent", "Файл сравнения")), Tr(QT_TRANSLATE_NOOP("ReportContent", "Разность")),
        Tr(QT_TRANSLATE_NOOP("ReportContent", "Изменение")) };
    for (const auto& [name, rating] : { std::pair { "Rm", &c.Rm }, std::pair { "Re", &c.Re } })
        ratings.Rows.push_back({ QString::fromLatin1(name),
            { ValueText(rating->This), ValueText(rating->Other), DifferenceText(rating->Difference),
                RelativeChangeText(rating->RelativeChange) } });
    Add(blocks, TextStyle::Subheading, Tr(QT_TRANSLATE_NOOP("ReportContent", "Рейтинговые показатели")));
    blocks.push_back(std::move(ratings));

    Add(blocks, TextStyle::Subheading, Tr(QT_TRANSLATE_NOOP("ReportContent", "Диагональ MM по механизмам защиты")));
    blocks.push_back(ItemTable(c.Mechanisms, Tr(QT_TRANSLATE_NOOP("ReportContent", "МЗ"))));
    Add(blocks, TextStyle::Subheading, Tr(QT_TRANSLATE_NOOP("ReportContent", "Диагональ EE по эшелонам")));
    blocks.push_back(ItemTable(c.Layers, Tr(QT_TRANSLATE_NOOP("ReportContent", "Эшелон"))));

    Add(blocks, TextStyle::Subheading, Tr(QT_TRANSLATE_NOOP("ReportContent", "Разности диагоналей")));
    blocks.push_back(DifferenceChart(comparison.Result));
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
    Add(blocks, TextStyle::Note, notes.join(QLatin1Char(' ')));

    Add(blocks, TextStyle::Subheading, Tr(QT_TRANSLATE_NOOP("ReportContent", "Изменённые суждения")), true);
    QStringList counts;
    for (std::size_t s = 0; s < kSourceMatrices.size(); ++s)
        counts.push_back(
            QStringLiteral("%1: %2").arg(QString::fromLatin1(kSourceMatrices[s].Name)).arg(c.ChangedPerSource[s]));
    Add(blocks, TextStyle::Body, counts.join(QStringLiteral("   ")), !c.Changed.empty());
    if (c.Changed.empty()) {
        Add(blocks, TextStyle::Body, Tr(QT_TRANSLATE_NOOP("ReportContent", "Все суждения совпадают.")));
        return;
    }
    ReportTable changes;
    changes.Corner = Tr(QT_TRANSLATE_NOOP("ReportContent", "Матрица: строка / столбец"));
    changes.ColumnHeads = { Tr(QT_TRANSLATE_NOOP("ReportContent", "Было")),
        Tr(QT_TRANSLATE_NOOP("ReportContent", "Стало")), Tr(QT_TRANSLATE_NOOP("ReportContent", "Разность")) };
    changes.Rows.reserve(c.Changed.size());
    for (const ChangedJudgement& j : c.Changed)
        changes.Rows.push_back(
            { QString::fromStdString(std::string(SourceMatrix(j.Source).Name) + ": " + j.Row + " / " + j.Column),
                { QString::fromStdString(FormatGeneral(j.This)), QString::fromStdString(FormatGeneral(j.Other)),
                    DifferenceText(static_cast<double>(j.Other) - static_cast<double>(j.This)) } });
    blocks.push_back(std::move(changes));
}
