// The comparison window: its controls from the table below, table models over the
// comparison's vectors (a hundred items per list can differ in tens of thousands of
// judgements, so no item objects), and the difference chart of both diagonals.
#include "ui/windows/Compare.h"

#include "model/Csv.h"
#include "model/SourceMatrices.h"
#include "ui/charts/DifferenceChart.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/document/Document.h"
#include "ui/export/ComparisonTables.h"
#include "ui/export/ComparisonText.h"
#include "ui/export/ExportFormats.h"
#include "ui/widgets/ChartView.h"
#include "ui/widgets/Controls.h"
#include "ui/widgets/SortedTable.h"
#include "ui/widgets/WindowFont.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include <cmath>
#include <functional>
#include <span>
#include <vector>

namespace {

constexpr QSize kClientSize { 860, 706 };

constexpr QPoint kFilesLabel { 8, 12 };
const ButtonPlace kOtherButton { "OtherFileButton", QT_TRANSLATE_NOOP("TCompareForm", "Другой файл..."),
    { 732, 7, 120, 25 } };
const LabelPlace kRatingsLabel { "RatingsLabel", QT_TRANSLATE_NOOP("TCompareForm", "Рейтинговые показатели"),
    { 8, 40 } };
constexpr QRect kRatingsTable { 8, 56, 480, 68 };
const LabelPlace kMechanismsLabel { "MechanismsLabel",
    QT_TRANSLATE_NOOP("TCompareForm", "Диагональ MM по механизмам защиты"), { 8, 132 } };
constexpr QRect kMechanismsTable { 8, 148, 418, 150 };
const LabelPlace kLayersLabel { "LayersLabel", QT_TRANSLATE_NOOP("TCompareForm", "Диагональ EE по эшелонам"),
    { 434, 132 } };
constexpr QRect kLayersTable { 434, 148, 418, 150 };
const LabelPlace kChangesLabel { "ChangesLabel", QT_TRANSLATE_NOOP("TCompareForm", "Изменённые суждения"), { 8, 306 } };
constexpr QPoint kCountsLabel { 140, 306 };
constexpr QPoint kFilterLabel { 560, 306 };
constexpr QRect kFilterEdit { 602, 302, 250, 22 };
constexpr QRect kChangesTable { 8, 328, 844, 140 };
constexpr QPoint kChangesStatus { 8, 472 };
constexpr QRect kChart { 8, 490, 844, 166 };
constexpr QPoint kChartNotice { 8, 659 };
const ButtonPlace kSaveChartButton { "SaveChartButton", QT_TRANSLATE_NOOP("TCompareForm", "Сохранить график..."),
    { 8, 676, 130, 25 } };
const ButtonPlace kSummaryButton { "SummaryButton", QT_TRANSLATE_NOOP("TCompareForm", "Экспорт в CSV..."),
    { 146, 676, 120, 25 } };
const ButtonPlace kChangesButton { "ChangesButton", QT_TRANSLATE_NOOP("TCompareForm", "Изменения в CSV..."),
    { 274, 676, 130, 25 } };
const ButtonPlace kCloseButton { "CloseButton", QT_TRANSLATE_NOOP("TCompareForm", "Закрыть"), { 752, 676, 100, 25 } };

// Column widths of the tables, left to right.
constexpr int kRatingColumns[] = { 110, 90, 90, 90, 90 };
constexpr int kItemColumns[] = { 150, 64, 64, 64, 64 };
constexpr int kChangeColumns[] = { 70, 250, 250, 80, 80, 80 };

// The chart's two halves: the mechanisms' MM on the left, the layers' EE on the right.
constexpr int kChartHalf = 422;

// The main window's load dialog, whose file type the analysts know.
FileDialogOptions OpenDataDialog()
{
    return { QCoreApplication::translate("TMainForm", "Файлы данных Vardun 2.1|*.sav"), QStringLiteral("sav") };
}

QString FileNameOf(const std::string& path)
{
    return QFileInfo(QString::fromStdString(path)).fileName();
}

} // namespace

// Rows of texts made once per comparison; the filter looks in a lower-case copy.
class TCompareForm::TableModel : public SortedTableModel {
public:
    struct Row {
        QStringList Cells;
        QString Search;
        // Added or removed: shown in italics.
        bool Marked = false;
    };

    TableModel(QStringList heads, QObject* parent)
        : SortedTableModel(parent)
        , heads_(std::move(heads))
    {
    }

    void SetRows(std::vector<Row> rows)
    {
        ResetRows([&] { rows_ = std::move(rows); });
    }

    // Every word typed must be in the row's texts.
    void SetWords(QStringList words)
    {
        for (QString& word : words)
            word = word.toLower();
        words_ = std::move(words);
        Refilter();
    }

    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(heads_.size());
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < heads_.size())
            return heads_[section];
        return QAbstractTableModel::headerData(section, orientation, role);
    }

protected:
    std::size_t DataRowCount() const override { return rows_.size(); }

    QVariant CellData(std::uint32_t dataRow, int column, int role) const override
    {
        const Row& row = rows_[dataRow];
        switch (role) {
        case Qt::DisplayRole:
        case Qt::AccessibleTextRole:
            return column < row.Cells.size() ? row.Cells[column] : QString();
        case Qt::TextAlignmentRole: {
            // Names and states to the left, numbers (and the dash of none) to the right.
            const QString text = row.Cells.value(column);
            const bool word = column == 0 || (!text.isEmpty() && text.front().isLetter());
            return QVariant(word ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
        }
        case Qt::FontRole:
            if (row.Marked) {
                QFont italic = WindowFont();
                italic.setItalic(true);
                return italic;
            }
            return {};
        default:
            return {};
        }
    }

    bool Filtering() const override { return !words_.isEmpty(); }
    bool Accepts(std::uint32_t dataRow) const override
    {
        const QString& search = rows_[dataRow].Search;
        for (const QString& word : words_)
            if (!search.contains(word))
                return false;
        return true;
    }

private:
    QStringList heads_;
    std::vector<Row> rows_;
    QStringList words_;
};

namespace {

// A table of the window with its name and place.
SortedTableView* MakeTable(QWidget* parent, const char* name, const QRect& geometry, std::function<void()> exportTable)
{
    auto* view = new SortedTableView(parent, std::move(exportTable));
    view->setObjectName(QString::fromLatin1(name));
    view->setGeometry(geometry);
    return view;
}

void SetColumnWidths(QTableView* view, std::span<const int> widths)
{
    for (std::size_t column = 0; column < widths.size(); ++column)
        view->setColumnWidth(static_cast<int>(column), widths[column]);
}

// The heads of a window's table: its first column's, then the others'.
QStringList Heads(const QString& first, const QStringList& others)
{
    return QStringList { first } + others;
}

} // namespace

TCompareForm::TCompareForm(AssessmentDocument& document, IDialogs& dialogs, QWidget* owner)
    : CompanionWindow(owner, kClientSize, tr("Сравнение"))
    , document_(document)
    , dialogs_(dialogs)
{
    setObjectName(QStringLiteral("CompareForm"));
    Build();
}

TCompareForm::~TCompareForm() = default;

void TCompareForm::Build()
{
    QWidget* client = centralWidget();
    // Created in tab order.
    filesLabel_ = MakeLabel(client, "FilesLabel", QString(), kFilesLabel);
    otherButton_ = MakeButton(client, kOtherButton, "TCompareForm");
    otherButton_->setAccessibleName(tr("Сравнить с другим файлом"));

    const auto table = [&](const LabelPlace& label, const char* name, const QRect& geometry, TableModel* model,
                           std::function<void()> exportTable) {
        QLabel* caption = MakeLabel(client, label, "TCompareForm");
        SortedTableView* view = MakeTable(client, name, geometry, std::move(exportTable));
        view->setModel(model);
        caption->setBuddy(view);
        view->setAccessibleName(caption->text());
        return view;
    };
    ratingsModel_ = new TableModel(Heads(RatingsCorner(), RatingsHeads()), this);
    ratings_ = table(kRatingsLabel, "RatingsTable", kRatingsTable, ratingsModel_, [this] { ExportSummary(); });
    mechanismsModel_ = new TableModel(Heads(MechanismsCorner(), ItemHeads(true)), this);
    mechanisms_
        = table(kMechanismsLabel, "MechanismsTable", kMechanismsTable, mechanismsModel_, [this] { ExportSummary(); });
    layersModel_ = new TableModel(Heads(LayersCorner(), ItemHeads(true)), this);
    layers_ = table(kLayersLabel, "LayersTable", kLayersTable, layersModel_, [this] { ExportSummary(); });
    SetColumnWidths(ratings_, kRatingColumns);
    SetColumnWidths(mechanisms_, kItemColumns);
    SetColumnWidths(layers_, kItemColumns);

    QLabel* changesLabel = MakeLabel(client, kChangesLabel, "TCompareForm");
    countsLabel_ = MakeLabel(client, "CountsLabel", QString(), kCountsLabel);
    countsLabel_->setAccessibleName(tr("Изменённых суждений по матрицам"));
    filterEdit_ = MakeFilterEdit(client, kFilterLabel, kFilterEdit, tr("матрица или названия элементов"),
        tr("Показывать только суждения, в которых есть все слова"));

    changesModel_ = new TableModel(ChangePlaceHeads() + ChangeHeads(), this);
    changes_ = MakeTable(client, "ChangesTable", kChangesTable, [this] { ExportChanges(); });
    changes_->setModel(changesModel_);
    changesLabel->setBuddy(changes_);
    changes_->setAccessibleName(changesLabel->text());
    SetColumnWidths(changes_, kChangeColumns);
    changesStatus_ = MakeLabel(client, "ChangesStatus", QString(), kChangesStatus);
    changesStatus_->setAccessibleName(tr("Показано суждений"));

    chart_ = new ChartView(client);
    chart_->setObjectName(QStringLiteral("DifferenceChart"));
    chart_->setGeometry(kChart);
    chart_->ShowOnWhite();
    chart_->setAccessibleName(tr("Разности диагоналей MM и EE"));
    chart_->SetDrawing([this](Canvas& canvas) {
        if (!comparison_)
            return;
        const TextMeasure measure = MeasureOf(chart_->font());
        DrawDifferenceChart(canvas, { 0, 0, kChartHalf, kChart.height() },
            tr("MM: разности по механизмам защиты").toStdString(), comparison_->Mechanisms, measure);
        DrawDifferenceChart(canvas, { kChartHalf, 0, kChart.width() - kChartHalf, kChart.height() },
            tr("EE: разности по эшелонам").toStdString(), comparison_->Layers, measure);
    });
    chartNotice_ = MakeLabel(client, "ChartNotice", QString(), kChartNotice);

    saveChartButton_ = MakeButton(client, kSaveChartButton, "TCompareForm");
    summaryButton_ = MakeButton(client, kSummaryButton, "TCompareForm");
    summaryButton_->setAccessibleDescription(tr("Рейтинговые показатели и диагонали MM и EE в CSV"));
    changesButton_ = MakeButton(client, kChangesButton, "TCompareForm");
    changesButton_->setAccessibleDescription(tr("Показанные изменённые суждения в CSV"));
    closeButton_ = MakeButton(client, kCloseButton, "TCompareForm");

    connect(otherButton_, &QPushButton::clicked, this, &TCompareForm::ChooseFile);
    connect(filterEdit_, &QLineEdit::textChanged, this, &TCompareForm::ApplyFilter);
    connect(chart_, &ChartView::saveRequested, this, &TCompareForm::SaveChart);
    connect(saveChartButton_, &QPushButton::clicked, this, &TCompareForm::SaveChart);
    connect(summaryButton_, &QPushButton::clicked, this, &TCompareForm::ExportSummary);
    connect(changesButton_, &QPushButton::clicked, this, &TCompareForm::ExportChanges);
    connect(closeButton_, &QPushButton::clicked, this, &QWidget::close);
}

TCompareForm* TCompareForm::Of(const QWidget* owner)
{
    return owner ? owner->findChild<TCompareForm*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

TCompareForm* TCompareForm::CompareWithFile(QWidget* owner, AssessmentDocument& document, IDialogs& dialogs)
{
    TCompareForm* window = Of(owner);
    const auto path = dialogs.AskOpenFile(owner, OpenDataDialog());
    if (!path)
        return window;
    if (!window) {
        // Made for a file that can be compared only: a refusal leaves nothing behind.
        auto made = std::make_unique<TCompareForm>(document, dialogs, owner);
        if (!made->CompareWith(path->toStdString()))
            return nullptr;
        return made.release();
    }
    window->CompareWith(path->toStdString());
    return window;
}

void TCompareForm::ChooseFile()
{
    const auto path = dialogs_.AskOpenFile(this, OpenDataDialog());
    if (path)
        CompareWith(path->toStdString());
}

bool TCompareForm::CompareWith(const std::string& path)
{
    // Read into a store of its own: the open assessment, its file and its saved state are
    // not touched. A refused file has said why, with its line, as a load in the main window.
    CData other;
    if (!other.LoadFromFile(path, dialogs_))
        return false;
    auto comparison = std::make_shared<AssessmentComparison>(CompareAssessments(document_.Store(), other));
    if (comparison->NoSharedItem) {
        SayNothingShared(path);
        return false;
    }
    other_ = std::move(other);
    otherPath_ = path;
    comparison_ = std::move(comparison);
    Show();
    return true;
}

void TCompareForm::Refresh()
{
    if (otherPath_.empty())
        return;
    auto comparison = std::make_shared<AssessmentComparison>(CompareAssessments(document_.Store(), other_));
    // Items unchecked in the walk may leave the open assessment nothing in common with the
    // file. Then it is as when the file was first chosen: said so, and no comparison, where
    // the tables would list every item as added or removed.
    if (comparison->NoSharedItem) {
        SayNothingShared(otherPath_);
        Forget();
        return;
    }
    comparison_ = std::move(comparison);
    Show();
}

void TCompareForm::SayNothingShared(const std::string& path)
{
    dialogs_.ShowMessage(tr("В файле %1 нет ни одного анализируемого элемента с теми же названиями: сравнивать нечего.")
                             .arg(FileNameOf(path))
                             .toStdString());
}

void TCompareForm::Forget()
{
    comparison_.reset();
    other_ = CData();
    otherPath_.clear();
    for (TableModel* model : { ratingsModel_, mechanismsModel_, layersModel_, changesModel_ })
        model->SetRows({});
    ApplyFilter();
    chart_->Invalidate();
    hide();
}

std::optional<ReportComparison> TCompareForm::ReportPart() const
{
    if (!comparison_)
        return std::nullopt;
    return ReportComparison { FileNameOf(otherPath_).toStdString(), comparison_ };
}

void TCompareForm::Show()
{
    const AssessmentComparison& c = *comparison_;
    const QString thisName = document_.FilePath().empty() ? tr("без имени") : FileNameOf(document_.FilePath());
    SetLabelText(filesLabel_, tr("Открытая оценка: %1    Файл сравнения: %2").arg(thisName, FileNameOf(otherPath_)));

    std::vector<TableModel::Row> ratings;
    for (const auto& [name, rating] : { std::pair { "Rm", &c.Rm }, std::pair { "Re", &c.Re } })
        ratings.push_back({ Heads(QString::fromLatin1(name), RatingCells(*rating)), {}, false });
    ratingsModel_->SetRows(std::move(ratings));

    const auto items = [](const std::vector<ItemComparison>& list) {
        std::vector<TableModel::Row> rows;
        rows.reserve(list.size());
        for (const ItemComparison& item : list)
            rows.push_back(
                { Heads(QString::fromStdString(item.Name), ItemCells(item)), {}, item.Added() || item.Removed() });
        return rows;
    };
    mechanismsModel_->SetRows(items(c.Mechanisms));
    layersModel_->SetRows(items(c.Layers));

    std::vector<TableModel::Row> changes;
    changes.reserve(c.Changed.size());
    for (const ChangedJudgement& j : c.Changed) {
        TableModel::Row row { QStringList { QString::fromLatin1(SourceMatrix(j.Source).Name),
                                  QString::fromStdString(j.Row), QString::fromStdString(j.Column) }
                + ChangeCells(j),
            {}, false };
        row.Search = (row.Cells[0] + QLatin1Char('\n') + row.Cells[1] + QLatin1Char('\n') + row.Cells[2]).toLower();
        changes.push_back(std::move(row));
    }
    changesModel_->SetRows(std::move(changes));

    QStringList counts;
    for (std::size_t s = 0; s < kSourceMatrices.size(); ++s)
        counts.push_back(
            QStringLiteral("%1: %2").arg(QString::fromLatin1(kSourceMatrices[s].Name)).arg(c.ChangedPerSource[s]));
    SetLabelText(countsLabel_, counts.join(QStringLiteral("   ")));
    countsLabel_->setAccessibleDescription(countsLabel_->text());
    ApplyFilter();
    UpdateChart();

    show();
    raise();
    activateWindow();
}

void TCompareForm::ApplyFilter()
{
    changesModel_->SetWords(FilterWords(filterEdit_->text()));
    const int total = changesModel_->AllRows();
    SetLabelText(changesStatus_,
        total == 0 ? tr("Все суждения совпадают.")
                   : tr("Изменено суждений: %1, показано: %2.").arg(total).arg(changesModel_->rowCount()));
}

void TCompareForm::UpdateChart()
{
    const AssessmentComparison& c = *comparison_;
    QStringList notices;
    if (c.Mechanisms.size() > static_cast<std::size_t>(kDifferenceBars))
        notices.push_back(tr("На графике показаны только первые %1 механизмов защиты.").arg(kDifferenceBars));
    if (c.Layers.size() > static_cast<std::size_t>(kDifferenceBars))
        notices.push_back(tr("На графике показаны только первые %1 эшелонов.").arg(kDifferenceBars));
    notices.push_back(tr("Вверх — больше в файле сравнения, вниз — меньше; + добавлен, − удалён, ? нет значения."));
    SetLabelText(chartNotice_, notices.join(QLatin1Char(' ')));

    // What the chart shows, for a screen reader: the largest change of each diagonal.
    const auto largest = [](const std::vector<ItemComparison>& items) -> const ItemComparison* {
        const ItemComparison* found = nullptr;
        for (const ItemComparison& item : items)
            if (item.Difference && std::isfinite(*item.Difference)
                && (!found || std::fabs(*item.Difference) > std::fabs(*found->Difference)))
                found = &item;
        return found;
    };
    QStringList description;
    description.push_back(tr("Разности диагоналей MM (МЗ) и EE (эшелоны): файл сравнения минус открытая оценка."));
    for (const auto& [caption, items] : { std::pair { QT_TRANSLATE_NOOP("TCompareForm", "MM"), &c.Mechanisms },
             std::pair { QT_TRANSLATE_NOOP("TCompareForm", "EE"), &c.Layers } }) {
        if (const ItemComparison* item = largest(*items))
            description.push_back(
                tr("Наибольшее изменение %1: %2, %3.")
                    .arg(tr(caption), QString::fromStdString(item->Name), DifferenceText(*item->Difference)));
    }
    chart_->setAccessibleDescription(description.join(QLatin1Char(' ')));
    chart_->Invalidate();
}

CsvTable TCompareForm::SummaryCsv() const
{
    return ComparisonSummaryCsv(comparison_.get());
}

CsvTable TCompareForm::ChangesCsv() const
{
    std::vector<std::uint32_t> shown;
    if (comparison_)
        for (int r = 0; r < changesModel_->rowCount(); ++r)
            shown.push_back(changesModel_->DataRow(r));
    return ComparisonChangesCsv(comparison_.get(), shown);
}

void TCompareForm::SaveChart()
{
    if (!comparison_)
        return;
    ExportChartAs(this, { chart_, [this](Canvas& canvas) { chart_->DrawOn(canvas); }, {} }, dialogs_);
}

void TCompareForm::ExportSummary()
{
    if (comparison_)
        ExportTableAs(this, SummaryCsv(), dialogs_);
}

void TCompareForm::ExportChanges()
{
    if (comparison_)
        ExportTableAs(this, ChangesCsv(), dialogs_);
}

void TCompareForm::keyPressEvent(QKeyEvent* event)
{
    if (!PressDialogKey(*this, *event, nullptr, closeButton_))
        CompanionWindow::keyPressEvent(event);
}

void TCompareForm::ComeBackWithOwner()
{
    // The analyst may have changed judgements meanwhile: the comparison is made again.
    Refresh();
}
