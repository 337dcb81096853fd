// The sensitivity window: its controls from the table below, the ranking on a worker
// thread, a table model over the ranking's vector (a million rows at a hundred items per
// list, so no item objects), and the tornado chart of the top of the ranking.
#include "ui/windows/Sensitivity.h"

#include "analysis/Format.h"
#include "analysis/Sensitivity.h"
#include "model/Csv.h"
#include "model/Data.h"
#include "ui/charts/TornadoChart.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/document/Document.h"
#include "ui/export/ExportFormats.h"
#include "ui/widgets/ChartView.h"
#include "ui/widgets/Controls.h"
#include "ui/widgets/SortedTable.h"

#include <QCloseEvent>
#include <QCollator>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTableView>
#include <QTimer>

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <numeric>

namespace {

constexpr QSize kClientSize { 820, 640 };

const LabelPlace kIndicatorLabel { "IndicatorLabel", QT_TRANSLATE_NOOP("TSensitivityForm", "Показатель:"), { 8, 12 } };
constexpr QRect kIndicatorCombo { 78, 8, 60, 22 };
constexpr QPoint kFilterLabel { 156, 12 };
constexpr QRect kFilterEdit { 198, 8, 280, 22 };
const ButtonPlace kRecomputeButton { "RecomputeButton", QT_TRANSLATE_NOOP("TSensitivityForm", "Пересчитать"),
    { 606, 7, 100, 25 } };
const ButtonPlace kCancelButton { "CancelButton", QT_TRANSLATE_NOOP("TSensitivityForm", "Отмена"),
    { 712, 7, 100, 25 } };
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
// At most this many words of the filter count.
constexpr int kFilterWords = 32;

enum Column {
    kRank,
    kLayer,
    kThreat,
    kMechanism,
    kRmMin,
    kRmAtZero,
    kRmMax,
    kRmSwing,
    kReMin,
    kReAtZero,
    kReMax,
    kReSwing,
    kColumns
};

struct ColumnDescription {
    const char* Head;
    int Width;
};

// "0.00" values with a sign and four digits before the point fit the number columns.
constexpr ColumnDescription kColumnsTable[kColumns] = {
    { QT_TRANSLATE_NOOP("TSensitivityForm", "№"), 40 },
    { QT_TRANSLATE_NOOP("TSensitivityForm", "Эшелон"), 88 },
    { QT_TRANSLATE_NOOP("TSensitivityForm", "Угроза"), 88 },
    { QT_TRANSLATE_NOOP("TSensitivityForm", "МЗ"), 88 },
    { QT_TRANSLATE_NOOP("TSensitivityForm", "Rm мин."), 60 },
    { QT_TRANSLATE_NOOP("TSensitivityForm", "Rm при 0"), 60 },
    { QT_TRANSLATE_NOOP("TSensitivityForm", "Rm макс."), 60 },
    { QT_TRANSLATE_NOOP("TSensitivityForm", "Rm размах"), 60 },
    { QT_TRANSLATE_NOOP("TSensitivityForm", "Re мин."), 60 },
    { QT_TRANSLATE_NOOP("TSensitivityForm", "Re при 0"), 60 },
    { QT_TRANSLATE_NOOP("TSensitivityForm", "Re макс."), 60 },
    { QT_TRANSLATE_NOOP("TSensitivityForm", "Re размах"), 60 },
};

QString Tr(const char* source)
{
    return QCoreApplication::translate("TSensitivityForm", source);
}

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

bool SameBits(const Matrix& a, const Matrix& b)
{
    if (a.Rows() != b.Rows() || a.Cols() != b.Cols())
        return false;
    for (int i = 0; i < a.Rows(); ++i)
        if (!std::equal(a.RowData(i), a.RowData(i) + a.Cols(), b.RowData(i),
                [](float x, float y) { return std::bit_cast<std::uint32_t>(x) == std::bit_cast<std::uint32_t>(y); }))
            return false;
    return true;
}

// The names' order as the analyst reads them: numbers by value ("Эшелон 2" before
// "Эшелон 10"), letters as the language has them. In the C locale (LANG=C.UTF-8 and the
// like) Qt's collator does neither and compares code points: there the names collate as
// Russian, the program's language.
QCollator NameCollator()
{
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::Russian, QLocale::Russia);
    QCollator collator(locale);
    collator.setNumericMode(true);
    return collator;
}

constexpr std::array<ItemKind, 3> kNameKinds { ItemKind::Layer, ItemKind::Threat, ItemKind::Mechanism };

} // namespace

// What a ranking is made from: a copy of the store, so that the worker never reads the one
// the windows change.
struct TSensitivityForm::Snapshot {
    CData Data;
    // Per kind (layer, threat, mechanism), the names of the analysed items, and a name for
    // any position the lists do not have.
    std::array<std::vector<QString>, 3> Names;

    QString NameOf(std::size_t kind, int position) const
    {
        const std::vector<QString>& names = Names[kind];
        if (position >= 0 && static_cast<std::size_t>(position) < names.size())
            return names[static_cast<std::size_t>(position)];
        return QStringLiteral("№ %1").arg(position + 1);
    }
};

struct TSensitivityForm::Outcome {
    std::shared_ptr<const Snapshot> From;
    // Ranked by the swing of Rm.
    std::vector<TripleSensitivity> Rows;
    // The row of each place in the ranking by Re, and each row's place (from 1) by both.
    std::vector<std::uint32_t> ReOrder;
    std::vector<std::uint32_t> ReRank;
    bool Stopped = false;
};

// The ranking as a table: data rows in the order of the Rm ranking, texts made when asked
// for.
class TSensitivityForm::TableModel : public SortedTableModel {
public:
    using SortedTableModel::SortedTableModel;

    // The words of the filter come with it: the new rows are filtered and sorted once.
    void SetOutcome(std::shared_ptr<const Outcome> outcome, RatingKind kind, const QStringList& words)
    {
        ResetRows([&] {
            outcome_ = std::move(outcome);
            kind_ = kind;
            MaskWords(words);
            // The names' order, once per item: sorting compares numbers, not texts.
            const QCollator collator = NameCollator();
            for (std::size_t kind = 0; kind < kNameKinds.size(); ++kind) {
                const std::vector<QString>& names = outcome_->From->Names[kind];
                std::vector<int> order(names.size());
                std::iota(order.begin(), order.end(), 0);
                std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
                    return collator.compare(names[static_cast<std::size_t>(a)], names[static_cast<std::size_t>(b)]) < 0;
                });
                nameRank_[kind].assign(names.size(), 0);
                for (std::size_t k = 0; k < order.size(); ++k)
                    nameRank_[kind][static_cast<std::size_t>(order[k])] = static_cast<int>(k);
            }
        });
    }

    // Every rank changes, and the selection with them: a reset, as for a new ranking.
    void SetIndicator(RatingKind kind)
    {
        if (kind != kind_)
            ResetRows([&] { kind_ = kind; });
    }
    RatingKind Indicator() const { return kind_; }

    void SetWords(const QStringList& words)
    {
        MaskWords(words);
        Refilter();
    }

    const TripleSensitivity& Row(std::uint32_t row) const { return outcome_->Rows[row]; }
    std::uint32_t Rank(std::uint32_t row) const { return kind_ == RatingKind::Rm ? row + 1 : outcome_->ReRank[row]; }
    static int Position(const TripleSensitivity& t, std::size_t kind)
    {
        return kind == 0 ? t.Triple.Layer : kind == 1 ? t.Triple.Threat : t.Triple.Mechanism;
    }
    QString Name(std::uint32_t row, std::size_t kind) const
    {
        return outcome_->From->NameOf(kind, Position(Row(row), kind));
    }
    static float Value(const TripleSensitivity& t, int column)
    {
        const RatingSwing& s = column < kReMin ? t.Rm : t.Re;
        switch ((column - kRmMin) % 4) {
        case 0:
            return s.Min;
        case 1:
            return s.AtZero;
        case 2:
            return s.Max;
        default:
            return s.Swing();
        }
    }
    QString Text(std::uint32_t row, int column) const
    {
        if (column == kRank)
            return CountText(Rank(row));
        if (column <= kMechanism)
            return Name(row, static_cast<std::size_t>(column - kLayer));
        return Fixed(Value(Row(row), column));
    }

    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : kColumns; }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || section < 0 || section >= kColumns)
            return {};
        if (role == Qt::DisplayRole)
            return Tr(kColumnsTable[section].Head);
        return {};
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }

protected:
    std::size_t DataRowCount() const override { return outcome_ ? outcome_->Rows.size() : 0; }

    QVariant CellData(std::uint32_t row, int column, int role) const override
    {
        switch (role) {
        case Qt::DisplayRole:
            return Text(row, column);
        case Qt::ToolTipRole:
            // A long name is cut by its column.
            if (column >= kLayer && column <= kMechanism)
                return Text(row, column);
            return {};
        case Qt::TextAlignmentRole:
            if (column >= kLayer && column <= kMechanism)
                return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        default:
            return {};
        }
    }

    // Numbers by value (a value that is not finite after every finite one), names by the
    // names' order; ties stay in the Rm ranking's order.
    bool SortKeys(int column, std::vector<std::uint32_t>& keys) const override
    {
        if (column < 0 || column >= kColumns)
            return false;
        const std::uint32_t n = static_cast<std::uint32_t>(keys.size());
        if (column == kRank) {
            for (std::uint32_t row = 0; row < n; ++row)
                keys[row] = Rank(row);
        } else if (column <= kMechanism) {
            const std::size_t kind = static_cast<std::size_t>(column - kLayer);
            for (std::uint32_t row = 0; row < n; ++row)
                keys[row] = IntSortKey(NameRank(kind, Position(Row(row), kind)));
        } else {
            for (std::uint32_t row = 0; row < n; ++row)
                keys[row] = FloatSortKey(Value(Row(row), column));
        }
        return true;
    }

    bool Filtering() const override { return all_ != 0; }
    // Every word is in one of the row's three names.
    bool Accepts(std::uint32_t row) const override
    {
        std::uint32_t found = 0;
        for (std::size_t kind = 0; kind < kNameKinds.size(); ++kind) {
            const int k = Position(Row(row), kind);
            if (k >= 0 && static_cast<std::size_t>(k) < wordMasks_[kind].size())
                found |= wordMasks_[kind][static_cast<std::size_t>(k)];
        }
        return (found & all_) == all_;
    }

private:
    // Which items of each kind hold each word of the filter, one bit per word.
    void MaskWords(const QStringList& words)
    {
        all_ = words.isEmpty() ? 0 : (words.size() >= kFilterWords ? ~0u : (1u << words.size()) - 1);
        for (std::size_t kind = 0; kind < kNameKinds.size(); ++kind) {
            wordMasks_[kind].clear();
            if (!outcome_)
                continue;
            const std::vector<QString>& names = outcome_->From->Names[kind];
            wordMasks_[kind].assign(names.size(), 0);
            for (std::size_t k = 0; k < names.size(); ++k)
                for (qsizetype w = 0; w < words.size() && w < kFilterWords; ++w)
                    if (names[k].contains(words[w], Qt::CaseInsensitive))
                        wordMasks_[kind][k] |= 1u << w;
        }
    }

    int NameRank(std::size_t kind, int position) const
    {
        const std::vector<int>& ranks = nameRank_[kind];
        return position >= 0 && static_cast<std::size_t>(position) < ranks.size()
            ? ranks[static_cast<std::size_t>(position)]
            : position;
    }

    std::shared_ptr<const Outcome> outcome_;
    RatingKind kind_ = RatingKind::Rm;
    std::array<std::vector<int>, 3> nameRank_;
    std::array<std::vector<std::uint32_t>, 3> wordMasks_;
    std::uint32_t all_ = 0;
};

TSensitivityForm::TSensitivityForm(AssessmentDocument& document, IDialogs& dialogs, QWidget* owner)
    : CompanionWindow(owner, kClientSize, tr("Чувствительность"))
    , document_(document)
    , dialogs_(dialogs)
    , progressQueued_(std::make_shared<std::atomic<bool>>(false))
{
    setObjectName(QStringLiteral("SensitivityForm"));
    Build();
    // A new file in the store, or one saved: the ranking may no longer be the store's.
    connect(&document_, &AssessmentDocument::loaded, this, &TSensitivityForm::CheckInputs);
    connect(&document_, &AssessmentDocument::savedChanged, this, &TSensitivityForm::CheckInputs);
    UpdateStatus();
}

TSensitivityForm::~TSensitivityForm()
{
    StopWorker();
}

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
    cancelButton_ = MakeButton(client, kCancelButton, "TSensitivityForm");

    progressBar_ = new QProgressBar(client);
    progressBar_->setObjectName(QStringLiteral("ProgressBar"));
    progressBar_->setGeometry(kProgressBar);
    progressBar_->setRange(0, 1000);
    progressBar_->setAccessibleName(tr("Ход расчёта"));
    statusLabel_ = MakeLabel(client, "StatusLabel", QString(), kStatus);
    statusLabel_->setAccessibleName(tr("Состояние расчёта"));

    model_ = new TableModel(this);
    table_ = new SortedTableView(client, [this] { ExportTable(); });
    table_->setObjectName(QStringLiteral("RankingTable"));
    table_->setGeometry(kTable);
    table_->setModel(model_);
    for (int column = 0; column < kColumns; ++column)
        table_->setColumnWidth(column, kColumnsTable[column].Width);
    table_->setSortingEnabled(true);
    table_->sortByColumn(kRank, Qt::AscendingOrder);
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
            const TripleSensitivity& t = outcome_->Rows[rm ? k : outcome_->ReOrder[k]];
            const Snapshot& from = *outcome_->From;
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
    if (!outcome_ && !computing_)
        Recompute();
}

void TSensitivityForm::StopWorker()
{
    if (worker_.joinable()) {
        worker_.request_stop();
        worker_.join();
    }
}

void TSensitivityForm::Recompute()
{
    StopWorker();
    auto snapshot = std::make_shared<Snapshot>();
    const CData& store = document_.Store();
    // Only what the ranking reads, and the names it is shown with.
    snapshot->Data.EF = store.EF;
    snapshot->Data.FM = store.FM;
    snapshot->Data.DamageEM = store.DamageEM;
    snapshot->Data.ReliabilityME = store.ReliabilityME;
    snapshot->Data.WeightedDamageMax = store.WeightedDamageMax;
    for (std::size_t kind = 0; kind < kNameKinds.size(); ++kind) {
        const std::size_t count = store.IndicesOf(kNameKinds[kind]).size();
        for (std::size_t k = 0; k < count; ++k)
            snapshot->Names[kind].push_back(
                QString::fromStdString(store.AnalysedName(kNameKinds[kind], static_cast<int>(k))));
    }

    const std::uint64_t generation = ++generation_;
    computing_ = true;
    cancelled_ = false;
    done_ = 0;
    total_ = 0;
    progressQueued_->store(false);
    UpdateStatus();

    worker_ = std::jthread([this, snapshot, generation, queued = progressQueued_](std::stop_token stop) {
        SensitivityOptions options;
        options.RankBy = RatingKind::Rm;
        options.Stop = stop;
        // A report waits in the queue until the window has taken the one before.
        options.Progress = [this, generation, queued](std::size_t done, std::size_t total) {
            if (queued->exchange(true))
                return;
            QMetaObject::invokeMethod(
                this,
                [this, generation, queued, done, total] {
                    queued->store(false);
                    Progressed(generation, done, total);
                },
                Qt::QueuedConnection);
        };
        SensitivityResult result = RankSensitivity(snapshot->Data, options);
        auto outcome = std::make_shared<Outcome>();
        outcome->From = snapshot;
        outcome->Stopped = result.Stopped;
        if (!result.Stopped) {
            outcome->Rows = std::move(result.Ranking);
            const std::size_t n = outcome->Rows.size();
            outcome->ReOrder.resize(n);
            std::iota(outcome->ReOrder.begin(), outcome->ReOrder.end(), std::uint32_t { 0 });
            std::sort(outcome->ReOrder.begin(), outcome->ReOrder.end(), [&](std::uint32_t a, std::uint32_t b) {
                return RanksBefore(outcome->Rows[a], outcome->Rows[b], RatingKind::Re);
            });
            outcome->ReRank.resize(n);
            for (std::size_t k = 0; k < n; ++k)
                outcome->ReRank[outcome->ReOrder[k]] = static_cast<std::uint32_t>(k + 1);
        }
        QMetaObject::invokeMethod(
            this, [this, generation, outcome] { Finished(generation, outcome); }, Qt::QueuedConnection);
    });
}

void TSensitivityForm::Cancel()
{
    if (!computing_)
        return;
    worker_.request_stop();
    // The window does not wait for the worker: its last report is dropped.
    ++generation_;
    computing_ = false;
    cancelled_ = true;
    UpdateStatus();
}

void TSensitivityForm::Progressed(std::uint64_t generation, std::size_t done, std::size_t total)
{
    if (generation != generation_)
        return;
    done_ = done;
    total_ = total;
    UpdateStatus();
}

void TSensitivityForm::Finished(std::uint64_t generation, std::shared_ptr<Outcome> outcome)
{
    if (generation != generation_)
        return;
    computing_ = false;
    if (outcome->Stopped) {
        cancelled_ = true;
        UpdateStatus();
        return;
    }
    outcome_ = outcome;
    shown_ = outcome->From;
    outOfDate_ = false;
    model_->SetOutcome(outcome_, Indicator(), Words());
    UpdateChart();
    UpdateStatus();
    emit rankingShown();
}

void TSensitivityForm::CheckInputs()
{
    if (!shown_ || outOfDate_)
        return;
    const CData& store = document_.Store();
    const CData& was = shown_->Data;
    bool names = true;
    for (std::size_t kind = 0; kind < kNameKinds.size() && names; ++kind) {
        const std::size_t count = store.IndicesOf(kNameKinds[kind]).size();
        names = count == shown_->Names[kind].size();
        for (std::size_t k = 0; k < count && names; ++k)
            names = shown_->Names[kind][k]
                == QString::fromStdString(store.AnalysedName(kNameKinds[kind], static_cast<int>(k)));
    }
    const bool same = names && SameBits(store.EF, was.EF) && SameBits(store.FM, was.FM)
        && SameBits(store.DamageEM, was.DamageEM) && SameBits(store.ReliabilityME, was.ReliabilityME)
        && std::bit_cast<std::uint32_t>(store.WeightedDamageMax) == std::bit_cast<std::uint32_t>(was.WeightedDamageMax);
    if (same)
        return;
    outOfDate_ = true;
    UpdateStatus();
}

void TSensitivityForm::UpdateStatus()
{
    cancelButton_->setEnabled(computing_);
    progressBar_->setVisible(computing_);
    if (computing_) {
        progressBar_->setValue(total_ > 0 ? static_cast<int>(1000.0 * static_cast<double>(done_) / total_) : 0);
        progressBar_->setAccessibleDescription(tr("Вычислено %1 из %2 троек").arg(CountText(done_), CountText(total_)));
    }
    QString status;
    if (computing_)
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
        const TripleSensitivity& top = outcome_->Rows[rm ? 0 : outcome_->ReOrder[0]];
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
    table_->sortByColumn(kRank, Qt::AscendingOrder);
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
    CsvTable table;
    table.Corner = tr("Эшелон / угроза / МЗ").toStdString();
    table.ColumnNames.push_back(Tr(kColumnsTable[kRank].Head).toStdString());
    for (int column = kRmMin; column < kColumns; ++column)
        table.ColumnNames.push_back(Tr(kColumnsTable[column].Head).toStdString());
    const int rows = model_->rowCount();
    table.RowNames.reserve(static_cast<std::size_t>(rows));
    table.Values.reserve(static_cast<std::size_t>(rows));
    for (int r = 0; r < rows; ++r) {
        const std::uint32_t row = model_->DataRow(r);
        table.RowNames.push_back((model_->Name(row, 0) + QStringLiteral(" / ") + model_->Name(row, 1)
            + QStringLiteral(" / ") + model_->Name(row, 2))
                                     .toStdString());
        std::vector<float> values { static_cast<float>(model_->Rank(row)) };
        for (int column = kRmMin; column < kColumns; ++column)
            values.push_back(TableModel::Value(model_->Row(row), column));
        table.Values.push_back(std::move(values));
    }
    return table;
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
