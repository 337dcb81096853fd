#include "ui/export/ReportSensitivity.h"

#include "analysis/Sensitivity.h"
#include "analysis/WidestSwings.h"
#include "model/Data.h"
#include "ui/charts/TornadoChart.h"
#include "ui/export/ReportContent.h"
#include "ui/export/ReportLayout.h"
#include "ui/export/SensitivityTables.h"
#include "ui/widgets/ChartView.h"
#include "ui/widgets/WindowFont.h"

#include <QCoreApplication>

#include <optional>
#include <vector>

namespace {

// The sensitivity window's chart: its size, the window's font.
constexpr QRect kTornadoArea { 0, 0, 804, 262 };

QString Tr(const char* source)
{
    return QCoreApplication::translate("ReportContent", source);
}

// The widest swings of Rm over the rating window's shifts, on a page of their own after
// the walk's sections, so that the pages before read as they did without it. At a hundred
// items per list the million triples take most of the preparation: the report is told
// between their pieces.
bool AppendSensitivity(const ReportSectionInput& input, ReportBlocks& blocks)
{
    const CData& data = input.Data;
    ReportText heading { TextStyle::Heading,
        Tr(QT_TRANSLATE_NOOP("ReportContent", "%1. Чувствительность рейтинговых показателей к ЧАУ")).arg(input.Number),
        true, true };
    blocks.List.emplace_back(std::move(heading));
    const SensitivityModel model(data);
    const std::optional<std::vector<TripleSensitivity>> widest = WidestSwings(
        model, kTornadoBars, RatingKind::Rm, [&input](std::size_t, std::size_t) { return input.Going(); });
    if (!widest)
        return false;
    if (widest->empty()) {
        blocks.Add(TextStyle::Body,
            Tr(QT_TRANSLATE_NOOP(
                "ReportContent", "Нет троек для ранжирования: в одном из списков нет анализируемых элементов.")));
        return true;
    }
    const std::size_t shown = widest->size();
    blocks.Add(TextStyle::Body,
        Tr(QT_TRANSLATE_NOOP("ReportContent",
               "Тройки «эшелон / угроза / МЗ» по размаху Rm при сдвиге ЧАУ от -10 до +10: первые %1 из %2."))
            .arg(shown)
            .arg(model.TripleCount()),
        true);
    ReportTable table;
    table.Corner = Tr(QT_TRANSLATE_NOOP("ReportContent", "№. Эшелон / угроза / МЗ"));
    // The heads of the sensitivity window's table.
    table.ColumnHeads = SwingHeads();
    std::vector<TornadoEntry> entries;
    for (std::size_t k = 0; k < shown; ++k) {
        const TripleSensitivity& t = (*widest)[k];
        const QString layer = ReportNameOf(data, ItemKind::Layer, t.Triple.Layer);
        const QString threat = ReportNameOf(data, ItemKind::Threat, t.Triple.Threat);
        const QString mechanism = ReportNameOf(data, ItemKind::Mechanism, t.Triple.Mechanism);
        ReportTableRow row { QStringLiteral("%1. %2 / %3 / %4").arg(k + 1).arg(layer, threat, mechanism), {} };
        for (const RatingSwing* s : { &t.Rm, &t.Re })
            row.Cells << ReportNumber(s->Min) << ReportNumber(s->AtZero) << ReportNumber(s->Max)
                      << ReportNumber(s->Swing());
        table.Rows.push_back(std::move(row));
        entries.push_back({ layer.toStdString(), threat.toStdString(), mechanism.toStdString(), t.Rm });
    }
    blocks.List.push_back(std::move(table));
    blocks.List.push_back(WindowChartBlock(kTornadoArea, [entries = std::move(entries)](Canvas& canvas) {
        DrawTornadoChart(canvas, { kTornadoArea.x(), kTornadoArea.y(), kTornadoArea.width(), kTornadoArea.height() },
            entries, "Rm", MeasureOf(WindowFont()));
    }));
    return true;
}

} // namespace

ReportSection SensitivitySection()
{
    return AppendSensitivity;
}
