// The report as one PDF: laid out, painted into memory, then written in one go, so a
// failure never leaves part of a file.
#include "ui/export/AssessmentReport.h"

#include "model/FileText.h"
#include "ui/export/ReportContent.h"
#include "ui/export/ReportLayout.h"
#include "ui/widgets/Texts.h"

#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QDate>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace {

// The layout is in points; the writer's device is finer, so nothing it rounds shows.
constexpr int kResolution = 1200;
constexpr double kPointsPerInch = 72.0;

bool PaintPdf(QByteArray& bytes, const std::vector<ReportBlock>& blocks, const std::vector<ReportPage>& pages)
{
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        return false;
    QPdfWriter writer(&buffer);
    writer.setResolution(kResolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    writer.setTitle(QCoreApplication::translate("ReportContent", "Отчёт об оценке защищённости"));
    writer.setCreator(ProgramTitle());

    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    const int count = static_cast<int>(pages.size());
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !writer.newPage())
            return false;
        painter.resetTransform();
        painter.scale(kResolution / kPointsPerInch, kResolution / kPointsPerInch);
        PaintReportPage(painter, blocks, pages[static_cast<std::size_t>(i)], kA4Report, i + 1, count);
    }
    return painter.end();
}

} // namespace

bool WriteAssessmentReport(const std::string& path, const CData& assessment, const ReportRequest& request,
    IMessageSink& messages, const SaveOptions& options)
{
    const std::vector<ReportBlock> blocks = AssessmentReportBlocks(assessment, request, QDate::currentDate());
    const std::vector<ReportPage> pages = LayOutReport(blocks, kA4Report);
    QByteArray bytes;
    const bool painted = PaintPdf(bytes, blocks, pages) && !bytes.isEmpty();
    return SaveText(path, painted ? std::optional(bytes.toStdString()) : std::nullopt, messages, options);
}
