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

enum class Painting { Done, Failed, Stopped };

Painting PaintPdf(QByteArray& bytes, const std::vector<ReportBlock>& blocks, const std::vector<ReportPage>& pages,
    const ReportProgress& progress)
{
    const int count = static_cast<int>(pages.size());
    if (progress && !progress(ReportStage::Painting, 0, count))
        return Painting::Stopped;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        return Painting::Failed;
    QPdfWriter writer(&buffer);
    writer.setResolution(kResolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    writer.setTitle(QCoreApplication::translate("ReportContent", "Отчёт об оценке защищённости"));
    writer.setCreator(ProgramTitle());

    QPainter painter;
    if (!painter.begin(&writer))
        return Painting::Failed;
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !writer.newPage())
            return Painting::Failed;
        painter.resetTransform();
        painter.scale(kResolution / kPointsPerInch, kResolution / kPointsPerInch);
        PaintReportPage(painter, blocks, pages[static_cast<std::size_t>(i)], kA4Report, i + 1, count);
        if (progress && !progress(ReportStage::Painting, i + 1, count))
            return Painting::Stopped;
    }
    return painter.end() ? Painting::Done : Painting::Failed;
}

} // namespace

PaintedReport PaintAssessmentReport(
    const CData& assessment, const ReportRequest& request, const ReportProgress& progress)
{
    const std::optional<std::vector<ReportBlock>> prepared
        = AssessmentReportBlocks(assessment, request, QDate::currentDate(),
            [&progress](int done, int count) { return !progress || progress(ReportStage::Preparing, done, count); });
    if (!prepared)
        return { std::nullopt, true };
    const std::vector<ReportBlock>& blocks = *prepared;
    const std::vector<ReportPage> pages = LayOutReport(blocks, kA4Report);
    QByteArray bytes;
    const Painting painting = PaintPdf(bytes, blocks, pages, progress);
    if (painting == Painting::Stopped)
        return { std::nullopt, true };
    if (painting != Painting::Done || bytes.isEmpty())
        return {};
    return { bytes.toStdString(), false };
}

bool WriteAssessmentReport(const std::string& path, const CData& assessment, const ReportRequest& request,
    IMessageSink& messages, const SaveOptions& options, const ReportProgress& progress)
{
    // The document is in memory until its last page: stopped before, it never reaches the disk.
    const PaintedReport painted = PaintAssessmentReport(assessment, request, progress);
    if (painted.Stopped)
        return false;
    return SaveText(path, painted.Pdf, messages, options);
}
