#include "ui/widgets/SortedTable.h"

#include "ui/widgets/Controls.h"
#include "ui/widgets/WindowFont.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <numeric>
#include <utility>

namespace {

constexpr int kPasses = SortScratch::kPasses;
constexpr std::size_t kDigits = SortScratch::kDigits;

std::size_t Digit(std::uint64_t keyAndRow, int pass)
{
    return static_cast<std::size_t>(keyAndRow >> (32 + pass * SortScratch::kDigitBits)) & (kDigits - 1);
}

} // namespace

std::uint32_t FloatSortKey(float value)
{
    if (!std::isfinite(value))
        return ~std::uint32_t { 0 };
    // Adding 0 turns -0 into 0.
    const auto bits = std::bit_cast<std::uint32_t>(value + 0.0f);
    // Negative values count down from the sign bit, the others count up above it.
    return (bits & 0x80000000u) != 0 ? ~bits : bits | 0x80000000u;
}

std::uint32_t IntSortKey(int value)
{
    return static_cast<std::uint32_t>(value) ^ 0x80000000u;
}

void StableOrderByKeys(const std::vector<std::uint32_t>& keys, std::vector<std::uint32_t>& order, SortScratch& scratch)
{
    const std::size_t n = keys.size();
    order.resize(n);
    std::iota(order.begin(), order.end(), std::uint32_t { 0 });
    // The ranking's own columns come in order already.
    if (std::is_sorted(keys.begin(), keys.end()))
        return;

    // Least significant digit first: each pass is stable, so equal keys keep the rows'
    // order, which the row number in the low half starts.
    std::vector<std::uint64_t>& from = scratch.From;
    std::vector<std::uint64_t>& to = scratch.To;
    from.resize(n);
    to.resize(n);
    std::array<std::array<std::uint32_t, kDigits>, kPasses>& counts = scratch.Counts;
    for (auto& count : counts)
        count.fill(0);
    for (std::size_t k = 0; k < n; ++k) {
        from[k] = std::uint64_t { keys[k] } << 32 | k;
        for (int pass = 0; pass < kPasses; ++pass)
            ++counts[static_cast<std::size_t>(pass)][Digit(from[k], pass)];
    }
    for (int pass = 0; pass < kPasses; ++pass) {
        std::array<std::uint32_t, kDigits>& count = counts[static_cast<std::size_t>(pass)];
        // A digit every key shares orders nothing: names have few ranks, so one pass.
        if (count[Digit(from[0], pass)] == n)
            continue;
        std::uint32_t start = 0;
        for (std::uint32_t& c : count)
            start += std::exchange(c, start);
        for (const std::uint64_t v : from)
            to[count[Digit(v, pass)]++] = v;
        from.swap(to);
    }
    for (std::size_t k = 0; k < n; ++k)
        order[k] = static_cast<std::uint32_t>(from[k]);
}

QStringList FilterWords(const QString& typed)
{
    return typed.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

QLineEdit* MakeFilterEdit(
    QWidget* parent, QPoint label, const QRect& box, const QString& placeholder, const QString& description)
{
    QLabel* caption = MakeLabel(parent, "FilterLabel", QCoreApplication::translate("SortedTableView", "Найти:"), label);
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QStringLiteral("FilterEdit"));
    edit->setGeometry(box);
    edit->setClearButtonEnabled(true);
    edit->setPlaceholderText(placeholder);
    caption->setBuddy(edit);
    edit->setAccessibleName(QCoreApplication::translate("SortedTableView", "Найти"));
    edit->setAccessibleDescription(description);
    return edit;
}

int SortedTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

QVariant SortedTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    return CellData(DataRow(index.row()), index.column(), role);
}

void SortedTableModel::Order()
{
    std::vector<std::uint32_t>& keys = scratch_.Keys;
    keys.resize(DataRowCount());
    if (sortColumn_ >= 0 && SortKeys(sortColumn_, keys)) {
        StableOrderByKeys(keys, ascending_, scratch_);
    } else {
        ascending_.resize(keys.size());
        std::iota(ascending_.begin(), ascending_.end(), std::uint32_t { 0 });
    }
}

void SortedTableModel::Show()
{
    const std::size_t n = ascending_.size();
    const bool filtering = Filtering();
    // Asked in the rows' own order, which is the order their data lies in.
    std::vector<std::uint8_t>& accepted = scratch_.Accepted;
    if (filtering) {
        accepted.resize(n);
        for (std::size_t row = 0; row < n; ++row)
            accepted[row] = Accepts(static_cast<std::uint32_t>(row)) ? 1 : 0;
    }
    shown_.clear();
    shown_.reserve(n);
    const auto take = [&](std::uint32_t row) {
        if (!filtering || accepted[row])
            shown_.push_back(row);
    };
    if (sortOrder_ == Qt::AscendingOrder)
        std::for_each(ascending_.begin(), ascending_.end(), take);
    else
        std::for_each(ascending_.rbegin(), ascending_.rend(), take);
}

void SortedTableModel::Rearrange(QAbstractItemModel::LayoutChangeHint hint, const std::function<void()>& change)
{
    emit layoutAboutToBeChanged({}, hint);
    const QModelIndexList before = persistentIndexList();
    std::vector<std::uint32_t> dataRows;
    dataRows.reserve(static_cast<std::size_t>(before.size()));
    for (const QModelIndex& index : before)
        dataRows.push_back(DataRow(index.row()));
    change();
    if (!before.isEmpty()) {
        std::vector<int>& place = scratch_.Place;
        place.assign(ascending_.size(), -1);
        for (std::size_t row = 0; row < shown_.size(); ++row)
            place[shown_[row]] = static_cast<int>(row);
        QModelIndexList after;
        after.reserve(before.size());
        for (qsizetype k = 0; k < before.size(); ++k) {
            const int row = place[dataRows[static_cast<std::size_t>(k)]];
            after.push_back(row >= 0 ? index(row, before[k].column()) : QModelIndex());
        }
        changePersistentIndexList(before, after);
    }
    emit layoutChanged({}, hint);
}

void SortedTableModel::sort(int column, Qt::SortOrder order)
{
    if (column == sortColumn_ && order == sortOrder_)
        return;
    Rearrange(QAbstractItemModel::VerticalSortHint, [&] {
        // The other direction of the same column is the same order read backwards.
        if (column != sortColumn_) {
            sortColumn_ = column;
            Order();
        }
        sortOrder_ = order;
        Show();
    });
}

void SortedTableModel::ResetRows(const std::function<void()>& change)
{
    beginResetModel();
    change();
    Order();
    Show();
    endResetModel();
}

void SortedTableModel::Refilter()
{
    Rearrange(QAbstractItemModel::NoLayoutChangeHint, [this] { Show(); });
}

SortedTableView::SortedTableView(QWidget* parent, std::function<void()> exportTable)
    : QTableView(parent)
    , export_(std::move(exportTable))
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(QFontMetrics(WindowFont()).height() + 4);
    horizontalHeader()->setHighlightSections(false);
}

void SortedTableView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    connect(menu.addAction(tr("Экспорт в CSV...")), &QAction::triggered, this, export_);
    menu.exec(event->globalPos());
}
