// The rows, and the few lines each needs to reach its own units: the report's and the
// workbook's writers, the sensitivity and comparison windows, their report sections and
// their JSON.
#include "ui/windows/AssessmentActions.h"

#include "analysis/Compare.h"
#include "model/Data.h"
#include "model/FileText.h"
#include "model/Messages.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/document/Document.h"
#include "ui/export/AssessmentReport.h"
#include "ui/export/CompareJson.h"
#include "ui/export/ReportComparison.h"
#include "ui/export/ReportSensitivity.h"
#include "ui/export/SensitivityJson.h"
#include "ui/export/workbook/Workbook.h"
#include "ui/widgets/BackgroundJob.h"
#include "ui/widgets/JobProgressDialog.h"
#include "ui/windows/Compare.h"
#include "ui/windows/Sensitivity.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QWidget>

#include <algorithm>
#include <charconv>
#include <memory>

namespace {

QString Tr(const char* source)
{
    return QCoreApplication::translate("AssessmentActions", source);
}

// The printed report: its sections, then its pages, counted off in a progress dialog while
// the worker prepares and paints it, and the file written only once it is whole. The
// dialog is modal, so that nothing changes meanwhile; the worker has a copy of the store
// anyway. "Отмена" at any point leaves no file.
void RunReport(IActionHost& host)
{
    const auto path = host.Dialogs().AskSaveFile(host.Window(),
        { Tr(QT_TRANSLATE_NOOP("AssessmentActions", "Отчёт PDF (*.pdf)|*.pdf")), QStringLiteral("pdf") });
    if (!path)
        return;
    auto data = std::make_shared<const CData>(host.Document().Store());
    const ReportRequest request = host.CurrentRequest();
    BackgroundJob job;
    PaintedReport painted;
    job.Start<PaintedReport>(
        [data, request](BackgroundJob::Work& work) {
            return PaintAssessmentReport(*data, request, [&work](ReportStage stage, int done, int count) {
                work.Tell(static_cast<int>(stage), static_cast<std::size_t>(done), static_cast<std::size_t>(count));
                return !work.StopRequested();
            });
        },
        [&painted](PaintedReport report) { painted = std::move(report); });
    JobProgressDialog progress(host.Window(), job, Tr(QT_TRANSLATE_NOOP("AssessmentActions", "Подготовка отчёта...")),
        [](int stage, qulonglong done, qulonglong count) {
            // One bar per stage: the sections take a fraction of the pages' time, and a bar
            // over both would guess at their shares.
            const int n = static_cast<int>(count);
            const int k = static_cast<int>(done);
            if (static_cast<ReportStage>(stage) == ReportStage::Preparing)
                // The section being prepared, the last once all are.
                return JobProgressDialog::Shown { Tr(QT_TRANSLATE_NOOP(
                                                         "AssessmentActions", "Подготовка отчёта: раздел %1 из %2"))
                                                      .arg(std::min(k + 1, n))
                                                      .arg(n),
                    k, n };
            return JobProgressDialog::Shown {
                Tr(QT_TRANSLATE_NOOP("AssessmentActions", "Отчёт: страница %1 из %2")).arg(k).arg(n), k, n
            };
        });
    progress.setObjectName(QStringLiteral("ReportProgress"));
    if (progress.Wait())
        SaveText(path->toStdString(), painted.Pdf, host.Dialogs());
}

bool WriteReport(const std::string& path, const CData& data, const ReportRequest& request, IMessageSink& messages)
{
    // One file named on the command line: "--pdf /dev/stdout" may feed a pipe.
    SaveOptions options;
    options.WriteStreams = true;
    return WriteAssessmentReport(path, data, request, messages, options);
}

void RunWorkbook(IActionHost& host)
{
    const auto path = host.Dialogs().AskSaveFile(host.Window(),
        { Tr(QT_TRANSLATE_NOOP("AssessmentActions", "Книга Excel (*.xlsx)|*.xlsx")), QStringLiteral("xlsx") });
    if (path)
        WriteAssessmentWorkbook(path->toStdString(), host.Document().Store(), host.CurrentRequest(), host.Dialogs());
}

bool WriteWorkbook(const std::string& path, const CData& data, const ReportRequest& request, IMessageSink& messages)
{
    return WriteAssessmentWorkbook(path, data, request, messages);
}

// The ranking needs no checked item, only something to rank: an item in every list.
bool EveryListHasItems(const CData& data)
{
    return !data.LayerIndices.empty() && !data.ThreatIndices.empty() && !data.MechanismIndices.empty();
}

// Opens (or raises) the one ranking window of the rating window.
void RunSensitivity(IActionHost& host)
{
    QWidget* owner = host.Window();
    auto* window = owner->findChild<TSensitivityForm*>(QString(), Qt::FindDirectChildrenOnly);
    if (!window) {
        window = new TSensitivityForm(host.Document(), host.Dialogs(), owner);
        QObject::connect(window, &TSensitivityForm::tripleChosen, window,
            [&host](const RatingSelection& triple) { host.SelectTriple(triple); });
    }
    window->ShowRanking();
}

// In every report, whether or not the window was opened.
ReportSection SensitivityInWindow(const QWidget*)
{
    return SensitivitySection();
}

std::optional<FlagPart> SensitivityPart(const FlagRun& run)
{
    FlagPart part;
    part.Section = SensitivitySection();
    if (run.Value) {
        // Checked when the command line was read.
        std::optional<std::size_t> top;
        if (std::size_t count = 0; !run.Value->empty()) {
            std::from_chars(run.Value->data(), run.Value->data() + run.Value->size(), count);
            top = count;
        }
        part.Json = [top](const CData& walked) { return SensitivityJson(walked, top); };
    }
    return part;
}

void RunCompare(IActionHost& host)
{
    TCompareForm::CompareWithFile(host.Window(), host.Document(), host.Dialogs());
}

// While the comparison window is open.
ReportSection CompareInWindow(const QWidget* host)
{
    const TCompareForm* window = TCompareForm::Of(host);
    if (!window || !window->isVisible())
        return {};
    const std::optional<ReportComparison> part = window->ReportPart();
    return part ? ComparisonSection(*part) : ReportSection();
}

std::optional<FlagPart> ComparePart(const FlagRun& run)
{
    if (!run.Value)
        return FlagPart {};
    // Read before anything is written, so that a rejected second file leaves no outputs.
    auto other = std::make_shared<CData>();
    const std::string& path = *run.Value;
    if (!other->LoadFromFile(path, run.Messages)) {
        run.Messages.ShowMessage("vardun-report: " + path + " was not loaded");
        return std::nullopt;
    }
    FlagPart part;
    part.Section = ComparisonSection({ QFileInfo(QString::fromStdString(path)).fileName().toStdString(),
        std::make_shared<AssessmentComparison>(CompareAssessments(run.Data, *other)) });
    part.Json = [other, path](const CData& walked) { return CompareJson(CompareAssessments(walked, *other), path); };
    return part;
}

// In the order of the menus, of the report's sections and of the JSON's members.
const AssessmentAction kActions[] = {
    {
        "Report",
        QT_TRANSLATE_NOOP("AssessmentActions", "Отчёт..."),
        ActionMenu::File,
        // Not in the window's first design: left of Back, where the row of buttons has room.
        ActionButton { ButtonRow::Bottom, { 10, 448, 97, 25 } },
        "exports",
        nullptr,
        nullptr,
        RunReport,
        nullptr,
        "--pdf",
        FlagValue::Path,
        "[--pdf OUT.pdf]",
        "  --pdf OUT.pdf   the printable report (with --rating: its rating curves too);\n"
        "                  /dev/stdout: the report alone on stdout, for a pipe\n",
        WriteReport,
        nullptr,
    },
    {
        "Workbook",
        QT_TRANSLATE_NOOP("AssessmentActions", "Экспорт в Excel..."),
        ActionMenu::File,
        std::nullopt,
        "exports",
        nullptr,
        nullptr,
        RunWorkbook,
        nullptr,
        "--xlsx",
        FlagValue::Path,
        "[--xlsx OUT.xlsx]",
        "  --xlsx OUT.xlsx every table of the assessment as one Excel workbook: a summary,\n"
        "                  the sources, the results, MM and EE, with the spreadsheet's own\n"
        "                  charts (with --rating: the rating curves and their chart too)\n",
        WriteWorkbook,
        nullptr,
    },
    {
        "Sensitivity",
        QT_TRANSLATE_NOOP("AssessmentActions", "Чувствительность..."),
        ActionMenu::Analysis,
        // Beside "Графики", where the panel has room.
        ActionButton { ButtonRow::Panel, { 490, 168, 150, 25 } },
        "sensitivity-window",
        "TSensitivityForm",
        EveryListHasItems,
        RunSensitivity,
        SensitivityInWindow,
        "--sensitivity",
        FlagValue::OptionalCount,
        "[--sensitivity [N]]",
        "  --sensitivity [N]\n"
        "                  also the layer, threat and mechanism triples ranked by how far a\n"
        "                  shift of the threat's frequency (-10..+10) moves Rm: the first N\n"
        "                  (a positive whole number right after the option), or all\n",
        nullptr,
        SensitivityPart,
    },
    {
        "Compare",
        QT_TRANSLATE_NOOP("AssessmentActions", "Сравнить с файлом..."),
        ActionMenu::Analysis,
        std::nullopt,
        "compare-window",
        "TCompareForm",
        nullptr,
        RunCompare,
        CompareInWindow,
        "--compare",
        FlagValue::Path,
        "[--compare OTHER.sav]",
        "  --compare OTHER.sav\n"
        "                  also compare with the assessment in OTHER.sav (read only): Rm and\n"
        "                  Re, each mechanism's and layer's diagonal element of MM and EE,\n"
        "                  and the judgements that differ; items are matched by name (with\n"
        "                  --pdf the report ends with the same comparison)\n",
        nullptr,
        ComparePart,
    },
};

} // namespace

std::span<const AssessmentAction> AssessmentActions()
{
    return kActions;
}

std::string JsonKey(const AssessmentAction& action)
{
    std::string key = action.Flag;
    return key.substr(key.find_first_not_of('-'));
}

std::vector<ReportSection> WindowReportSections(const QWidget* host)
{
    std::vector<ReportSection> sections;
    for (const AssessmentAction& action : AssessmentActions())
        if (action.WindowSection)
            if (ReportSection section = action.WindowSection(host))
                sections.push_back(std::move(section));
    return sections;
}
