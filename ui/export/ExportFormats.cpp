#include "ui/export/ExportFormats.h"

#include "model/Csv.h"
#include "model/FileText.h"
#include "ui/export/workbook/Workbook.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

namespace {

std::optional<std::string> CsvBytes(const CsvTable& table)
{
    return CsvText(table);
}

const ChartFormat kChartFormats[] = {
    { QT_TRANSLATE_NOOP("ExportFormats", "Рисунок PNG (*.png)"), "png", ChartPng },
    { QT_TRANSLATE_NOOP("ExportFormats", "Рисунок SVG (*.svg)"), "svg", ChartSvg },
};

const TableFormat kTableFormats[] = {
    { QT_TRANSLATE_NOOP("ExportFormats", "Таблица CSV (*.csv)"), "csv", CsvBytes },
    // Names stay text and numbers numbers whatever the spreadsheet's locale.
    { QT_TRANSLATE_NOOP("ExportFormats", "Книга Excel (*.xlsx)"), "xlsx", TableWorkbook },
};

template <typename Item>
bool Export(
    std::span<const ExportFormat<Item>> formats, const std::string& path, const Item& item, IMessageSink& messages)
{
    return SaveText(path, FormatOfPath(formats, path).Write(item), messages);
}

} // namespace

std::span<const ChartFormat> ChartFormats()
{
    return kChartFormats;
}

std::span<const TableFormat> TableFormats()
{
    return kTableFormats;
}

template <typename Item> FileDialogOptions ExportDialog(std::span<const ExportFormat<Item>> formats)
{
    QStringList entries;
    for (const ExportFormat<Item>& format : formats)
        entries << QCoreApplication::translate("ExportFormats", format.FileType) + QStringLiteral("|*.")
                + QLatin1String(format.Extension);
    return { entries.join(QLatin1Char('|')), QLatin1String(formats.front().Extension) };
}

template <typename Item>
const ExportFormat<Item>& FormatOfPath(std::span<const ExportFormat<Item>> formats, const std::string& path)
{
    const QString suffix = QFileInfo(QString::fromStdString(path)).suffix();
    for (const ExportFormat<Item>& format : formats)
        if (suffix.compare(QLatin1String(format.Extension), Qt::CaseInsensitive) == 0)
            return format;
    return formats.front();
}

template FileDialogOptions ExportDialog(std::span<const ChartFormat>);
template FileDialogOptions ExportDialog(std::span<const TableFormat>);
template const ChartFormat& FormatOfPath(std::span<const ChartFormat>, const std::string&);
template const TableFormat& FormatOfPath(std::span<const TableFormat>, const std::string&);

bool ExportChart(const std::string& path, const ChartPicture& chart, IMessageSink& messages)
{
    return Export(ChartFormats(), path, chart, messages);
}

bool ExportTable(const std::string& path, const CsvTable& table, IMessageSink& messages)
{
    return Export(TableFormats(), path, table, messages);
}

void ExportChartAs(QWidget* owner, const ChartPicture& chart, IDialogs& dialogs)
{
    if (const std::optional<QString> path = dialogs.AskSaveFile(owner, ExportDialog(ChartFormats())))
        ExportChart(path->toStdString(), chart, dialogs);
}

void ExportTableAs(QWidget* owner, const CsvTable& table, IDialogs& dialogs)
{
    if (const std::optional<QString> path = dialogs.AskSaveFile(owner, ExportDialog(TableFormats())))
        ExportTable(path->toStdString(), table, dialogs);
}
