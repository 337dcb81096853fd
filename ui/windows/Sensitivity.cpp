// The sensitivity window: its controls from the table below, the ranking as a background
// job, its table (SensitivityTable) and the tornado chart of the top of the ranking.
#include "ui/windows/Sensitivity.h"

#include "analysis/Format.h"
#include "analysis/Sensitivity.h"
#include "model/Csv.h"
#include "model/Data.h"
#include "ui/charts/TornadoChart.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/document/Document.h"
#include "ui/export/ExportFormats.h"
#include "ui/widgets/BackgroundJob.h"
#include "ui/widgets/ChartView.h"
#include "ui/widgets/Controls.h"
#include "ui/widgets/SortedTable.h"
#include "ui/windows/SensitivityTable.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTableView>
#include <QTimer>

#include <algorithm>
#include <charconv>

namespace {

constexpr QSize kClientSize { 820, 640 };

const LabelPlace kIndicatorLabel { "IndicatorLabel", QT_TRANSLATE_NOOP("TSensitivityForm", "Показатель:"), { 8, 12 } };
constexpr QRect kIndicatorCombo { 78, 8, 60, 22 };
constexpr QPoint kFilterLabel { 156, 12 };
constexpr QRect kFilterEdit { 198, 8, 280, 22 };
const ButtonPlace kRecomputeButton { "RecomputeButton", QT_TRANSLATE_NOOP("TSensitivityForm", "Пересчитать"),
    { 606, 7, 100, 25 } };
constexpr QRect kCancelButton { 712, 7, 100, 25 };
constexpr QRect kProgressBar { 8, 38, 200, 18 };
constexpr QPoint kStatus { 216, 39 };
constexpr QRect kTable { 8, 62, 804, 250 };
constexpr QPoint kChartTitle { 8, 318 };
constexpr QRect kChart { 8, 334, 804, 262 };
const ButtonPlace kExportButton { "ExportButton", QT_TRANSLATE_NOOP("TSensitivityForm", "Экспорт в CSV..."),
    { 8, 606, 120, 25 } };
const ButtonPlace kCloseButton { "CloseButton", QT_TRANSLATE_NOOP("TSensitivityForm", "Закрыть"),
    { 712, 606, 100, 25 } };

// Typing in the filter waits this long for the next key: a million rows take a moment.
constexpr int kFilterDelayMs = 150;

using Column = SensitivityTableModel::Column;

QString CountText(std::size_t value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

QString Fixed(float value)
{
    return QString::fromStdString(FormatFixed(value, 2));
}

} // namespace

TSensitivityForm::TSensitivityForm(AssessmentDocument& document, IDialogs& dialogs, QWidget* owner)
    : CompanionWindow(owner, kClientSize, tr("Чувствительность"))
    , document_(document)
    , dialogs_(dialogs)
{
    setObjectName(QStringLiteral("SensitivityForm"));
    Build();
    // A new file in the store, or one saved: the ranking may no longer be the store's.
    connect(&document_, &AssessmentDocument::loaded, this, &TSensitivityForm::CheckInputs);
    connect(&document_, &AssessmentDocument::savedChanged, this, &TSensitivityForm::CheckInputs);
    UpdateStatus();
}

// The job, a child, stops its worker and waits for it as the window goes.
TSensitivityForm::~TSensitivityForm() = default;

void TSensitivityForm::Build()
{
    QWidget* client = centralWidget();
    // Created in tab order.
    QLabel* indicatorLabel = MakeLabel(client, kIndicatorLabel, "TSensitivityForm");
    indicatorCombo_ = new QComboBox(client);
    indicatorCombo_->setObjectName(QStringLiteral("IndicatorCombo"));
    indicatorCombo_->setGeometry(kIndicatorCombo);
    indicatorCombo_->addItem(QStringLiteral("Rm"));
    indicatorCombo_->addItem(QStringLiteral("Re"));
    indicatorLabel->setBuddy(indicatorCombo_);
    indicatorCombo_->setAccessibleName(tr("Показатель"));
    indicatorCombo_->setAccessibleDescription(tr("По размаху какого показателя ранжировать тройки"));

    filterEdit_ = MakeFilterEdit(client, kFilterLabel, kFilterEdit, tr("слова из названий эшелона, угрозы, МЗ"),
        tr("Показывать только тройки, в названиях которых есть все слова"));

    recomputeButton_ = MakeButton(client, kRecomputeButton, "TSensitivityForm");
    cancelButton_ = MakeButton(client, "CancelButton", CancelCaption(), kCancelButton);

    progressBar_ = new QProgressBar(client);
    progressBar_->setObjectName(QStringLiteral("ProgressBar"));
    progressBar_->setGeometry(kProgressBar);
    progressBar_->setRange(0, 1000);
    progressBar_->setAccessibleName(tr("Ход расчёта"));
    statusLabel_ = MakeLabel(client, "StatusLabel", QString(), kStatus);
    statusLabel_->setAccessibleName(tr("Состояние расчёта"));

    model_ = new SensitivityTableModel(this);
    table_ = new SortedTableView(client, [this] { ExportTable(); });
    table_->setObjectName(QStringLiteral("RankingTable"));
    table_->setGeometry(kTable);
    table_->setModel(model_);
    for (int column = 0; column < Column::kColumns; ++column)
        table_->setColumnWidth(column, SensitivityTableModel::ColumnWidth(column));
    table_->setSortingEnabled(true);
    table_->sortByColumn(Column::kRank, Qt::AscendingOrder);
    table_->setAccessibleName(tr("Тройки по размаху показателя"));
    table_->setAccessibleDescription(tr("Двойной щелчок или Enter выбирает тройку в окне рейтинга"));

    chartTitle_ = MakeLabel(client, "ChartTitle", QString(), kChartTitle);
    QFont bold = chartTitle_->font();
    bold.setBold(true);
    chartTitle_->setFont(bold);
    chart_ = new ChartView(client);
    chart_->setObjectName(QStringLiteral("TornadoChart"));
    chart_->setGeometry(kChart);
    chart_->ShowOnWhite();
    chart_->setAccessibleName(tr("Торнадо-диаграмма"));
    chart_->SetDrawing([this](Canvas& canvas) {
        if (!outcome_)
            return;
        std::vector<TornadoEntry> entries;
        const bool rm = Indicator() == RatingKind::Rm;
        const std::size_t count = std::min<std::size_t>(outcome_->Rows.size(), kTornadoBars);
        for (std::size_t k = 0; k < count; ++k) {
            const TripleSensitivity& t = outcome_->Ranked(Indicator(), k);
            const SensitivitySnapshot& from = *outcome_->From;
            entries.push_back(
                { from.NameOf(0, t.Triple.Layer).toStdString(), from.NameOf(1, t.Triple.Threat).toStdString(),
                    from.NameOf(2, t.Triple.Mechanism).toStdString(), t.Of(Indicator()) });
        }
        DrawTornadoChart(
            canvas, { 0, 0, kChart.width(), kChart.height() }, entries, rm ? "Rm" : "Re", MeasureOf(chart_->font()));
    });

    exportButton_ = MakeButton(client, kExportButton, "TSensitivityForm");
    closeButton_ = MakeButton(client, kCloseButton, "TSensitivityForm");

    filterTimer_ = new QTimer(this);
    filterTimer_->setSingleShot(true);
    filterTimer_->setInterval(kFilterDelayMs);

    job_ = new BackgroundJob(this);
    connect(job_, &BackgroundJob::progressed, this,
        [this](int, qulonglong done, qulonglong total) { Progressed(done, total); });

    connect(indicatorCombo_, &QComboBox::currentIndexChanged, this, &TSensitivityForm::IndicatorChanged);
    connect(filterEdit_, &QLineEdit::textChanged, filterTimer_, qOverload<>(&QTimer::start));
    connect(filterTimer_, &QTimer::timeout, this, &TSensitivityForm::ApplyFilter);
    // Enter filters at once.
    connect(filterEdit_, &QLineEdit::returnPressed, this, &TSensitivityForm::ApplyFilter);
    connect(recomputeButton_, &QPushButton::clicked, this, &TSensitivityForm::Recompute);
    connect(cancelButton_, &QPushButton::clicked, this, &TSensitivityForm::Cancel);
    connect(table_, &QAbstractItemView::activated, this, &TSensitivityForm::RowActivated);
    connect(chart_, &ChartView::saveRequested, this, &TSensitivityForm::SaveChart);
    connect(exportButton_, &QPushButton::clicked, this, &TSensitivityForm::ExportTable);
    connect(closeButton_, &QPushButton::clicked, this, &QWidget::close);
}

QStringList TSensitivityForm::Words() const
{
    return FilterWords(filterEdit_->text());
}

RatingKind TSensitivityForm::Indicator() const
{
    return indicatorCombo_->currentIndex() == 1 ? RatingKind::Re : RatingKind::Rm;
}

bool TSensitivityForm::HasRanking() const
{
    return outcome_ && !outOfDate_;
}

void TSensitivityForm::ShowRanking()
{
    show();
    raise();
    activateWindow();
    CheckInputs();
    if (!outcome_ && !job_->Running())
        Recompute();
}

bool TSensitivityForm::Computing() const
{
    return job_->Running();
}

void TSensitivityForm::Recompute()
{
    auto snapshot = std::make_shared<const SensitivitySnapshot>(SensitivitySnapshot::Of(document_.Store()));
    cancelled_ = false;
    done_ = 0;
    total_ = 0;
    job_->Start<std::shared_ptr<const SensitivityOutcome>>(
        [snapshot](BackgroundJob::Work& work) {
            SensitivityOptions options;
            options.RankBy = RatingKind::Rm;
            options.Stop = work.Stop();
            options.Progress = [&work](std::size_t done, std::size_t total) { work.Tell(0, done, total); };
            SensitivityResult result = RankSensitivity(snapshot->Data, options);
            auto outcome = std::make_shared<SensitivityOutcome>();
            outcome->From = snapshot;
            outcome->Stopped = result.Stopped;
            if (!result.Stopped) {
                outcome->Rows = std::move(result.Ranking);
                outcome->ByRe = OrderBy(outcome->Rows, RatingKind::Re);
            }
            return std::shared_ptr<const SensitivityOutcome>(std::move(outcome));
        },
        [this](std::shared_ptr<const SensitivityOutcome> outcome) { Finished(std::move(outcome)); });
    UpdateStatus();
}

void TSensitivityForm::Cancel()
{
    if (!job_->Running())
        return;
    // The window does not wait for the worker: its last report is dropped.
    job_->Cancel();
    cancelled_ = true;
    UpdateStatus();
}

void TSensitivityForm::Progressed(std::size_t done, std::size_t total)
{
    done_ = done;
    total_ = total;
    UpdateStatus();
}

void TSensitivityForm::Finished(std::shared_ptr<const SensitivityOutcome> outcome)
{
    if (outcome->Stopped) {
        cancelled_ = true;
        UpdateStatus();
        return;
    }
    outcome_ = std::move(outcome);
    outOfDate_ = false;
    model_->SetOutcome(outcome_, Indicator(), Words());
    UpdateChart();
    UpdateStatus();
    emit rankingShown();
}

void TSensitivityForm::CheckInputs()
{
    if (!outcome_ || outOfDate_ || outcome_->From->Matches(document_.Store()))
        return;
    outOfDate_ = true;
    UpdateStatus();
}

void TSensitivityForm::UpdateStatus()
{
    const bool computing = job_->Running();
    cancelButton_->setEnabled(computing);
    progressBar_->setVisible(computing);
    if (computing) {
        progressBar_->setValue(total_ > 0 ? static_cast<int>(1000.0 * static_cast<double>(done_) / total_) : 0);
        progressBar_->setAccessibleDescription(tr("Вычислено %1 из %2 троек").arg(CountText(done_), CountText(total_)));
    }
    QString status;
    if (computing)
        status = total_ > 0 ? tr("Расчёт: вычислено %1 из %2 троек.").arg(CountText(done_), CountText(total_))
                            : tr("Расчёт...");
    else if (outOfDate_)
        status = tr("Результаты устарели: нажмите «Пересчитать».");
    else if (cancelled_ && !outcome_)
        status = tr("Расчёт прерван: нажмите «Пересчитать».");
    else if (cancelled_)
        status = tr("Расчёт прерван; показан прежний результат.");
    else if (outcome_)
        status = tr("Троек: %1, показано: %2.")
                     .arg(CountText(outcome_->Rows.size()), CountText(static_cast<std::size_t>(model_->rowCount())));
    SetLabelText(statusLabel_, status);
    exportButton_->setEnabled(outcome_ != nullptr);
}

void TSensitivityForm::UpdateChart()
{
    const bool rm = Indicator() == RatingKind::Rm;
    const QString indicator = rm ? QStringLiteral("Rm") : QStringLiteral("Re");
    SetLabelText(chartTitle_,
        tr("Наибольшие размахи %1 при сдвиге ЧАУ от -10 до +10 (до %2 троек)").arg(indicator).arg(kTornadoBars));
    QString description;
    if (!outcome_ || outcome_->Rows.empty()) {
        description = tr("Нет троек для диаграммы.");
    } else {
        const TripleSensitivity& top = outcome_->Ranked(Indicator(), 0);
        const RatingSwing& swing = top.Of(Indicator());
        const std::size_t shown = std::min<std::size_t>(outcome_->Rows.size(), kTornadoBars);
        description
            = tr("Полосы от наименьшего до наибольшего %1 у %2 троек, вертикальная линия — текущее значение %3.")
                  .arg(indicator, CountText(shown), Fixed(swing.AtZero));
        if (swing.Finite())
            description += QLatin1Char(' ')
                + tr("Наибольший размах %1 (от %2 до %3): %4 / %5 / %6.")
                      .arg(Fixed(swing.Swing()), Fixed(swing.Min), Fixed(swing.Max),
                          outcome_->From->NameOf(0, top.Triple.Layer), outcome_->From->NameOf(1, top.Triple.Threat),
                          outcome_->From->NameOf(2, top.Triple.Mechanism));
    }
    chart_->setAccessibleDescription(description);
    chart_->Invalidate();
}

void TSensitivityForm::IndicatorChanged()
{
    model_->SetIndicator(Indicator());
    table_->sortByColumn(Column::kRank, Qt::AscendingOrder);
    UpdateChart();
}

void TSensitivityForm::ApplyFilter()
{
    filterTimer_->stop();
    model_->SetWords(Words());
    UpdateStatus();
}

void TSensitivityForm::RowActivated(const QModelIndex& index)
{
    if (!index.isValid() || !outcome_)
        return;
    emit tripleChosen(model_->Row(model_->DataRow(index.row())).Triple);
}

CsvTable TSensitivityForm::TableCsv() const
{
    return model_->Csv();
}

void TSensitivityForm::ExportTable()
{
    if (!outcome_)
        return;
    ExportTableAs(this, TableCsv(), dialogs_);
}

void TSensitivityForm::SaveChart()
{
    ExportChartAs(this, { chart_, [this](Canvas& canvas) { chart_->DrawOn(canvas); }, {} }, dialogs_);
}

void TSensitivityForm::closeEvent(QCloseEvent* event)
{
    // Closed, the window computes nothing for no one.
    Cancel();
    CompanionWindow::closeEvent(event);
}

void TSensitivityForm::showEvent(QShowEvent* event)
{
    CompanionWindow::showEvent(event);
    CheckInputs();
}

void TSensitivityForm::changeEvent(QEvent* event)
{
    CompanionWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        CheckInputs();
}
