// The big read-only tables of the companion windows (the sensitivity ranking, the changed
// judgements of a comparison): a model over rows the window keeps, shown through an index
// of row numbers that the model sorts and filters itself, the view with the grids' keys
// and "Экспорт в CSV..." context menu, and the box of the filter's words.
//
// A million rows is the size to plan for. A sort through QSortFilterProxyModel compares
// QModelIndexes, and each comparison fetches both rows from wherever the ranking keeps
// them: in a scattered order that is two cache misses a comparison, about a second and a
// half at a million rows. Its filter removes the hidden rows range by range, and the row
// header recounts itself after each range: minutes. Here a sort reads one 32-bit key per
// row in the rows' own order and orders the keys by radix; a filter asks each row once and
// changes the layout once.
#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <QTableView>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

class QLineEdit;

// What a sort of many rows works in, kept from one sort to the next: a million rows fill
// 25 MB, and memory fresh from the system costs a page fault every 4 KB.
struct SortScratch {
    // The keys' digits for the radix passes: three passes of 11 bits, each over a count
    // table that stays in the first-level cache.
    static constexpr int kPasses = 3;
    static constexpr int kDigitBits = 11;
    static constexpr std::size_t kDigits = std::size_t { 1 } << kDigitBits;

    std::vector<std::uint32_t> Keys;
    // Key and row in one word, the key in the high half.
    std::vector<std::uint64_t> From, To;
    std::array<std::array<std::uint32_t, kDigits>, kPasses> Counts;
    std::vector<std::uint8_t> Accepted;
    std::vector<int> Place;
};

// A table over the derived model's rows ("data rows", numbered from 0 in the order it keeps
// them), showing those its filter accepts, in the order of the column last sorted by.
// Sorting and filtering keep the current row and the selection on the same data rows.
class SortedTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    // The data row shown in table row `row`.
    std::uint32_t DataRow(int row) const { return shown_[static_cast<std::size_t>(row)]; }
    // Every data row, shown or not.
    int AllRows() const { return static_cast<int>(ascending_.size()); }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const final;
    // Ascending: the smallest key first, equal keys in the data rows' order. Descending is
    // the exact reverse, equal keys included.
    void sort(int column, Qt::SortOrder order) override;

protected:
    virtual std::size_t DataRowCount() const = 0;
    virtual QVariant CellData(std::uint32_t dataRow, int column, int role) const = 0;
    // One key per data row (`keys` comes sized) by which `column` sorts; false when the
    // column keeps the data rows' order.
    virtual bool SortKeys(int /*column*/, std::vector<std::uint32_t>& /*keys*/) const { return false; }
    // Whether some rows may be hidden; else Accepts is not asked.
    virtual bool Filtering() const { return false; }
    virtual bool Accepts(std::uint32_t /*dataRow*/) const { return true; }

    // The derived model's rows change inside `change`: the table is reset, sorted by the
    // same column and filtered again.
    void ResetRows(const std::function<void()>& change);
    // The filter changed: the rows it accepts are shown, in the same order.
    void Refilter();

private:
    void Order();
    void Show();
    // Changes `shown_` inside `change`, carrying the views' persistent indexes along.
    void Rearrange(QAbstractItemModel::LayoutChangeHint hint, const std::function<void()>& change);

    // Every data row, in the ascending order of the sort column.
    std::vector<std::uint32_t> ascending_;
    // The rows shown, top to bottom.
    std::vector<std::uint32_t> shown_;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    SortScratch scratch_;
};

// A float's place among floats as a key: finite values in their order (-0 and 0 equal),
// every value that is not finite after them and equal to each other.
std::uint32_t FloatSortKey(float value);
// A signed integer's place as a key.
std::uint32_t IntSortKey(int value);
// The data rows 0..keys.size()-1 stably ordered by their keys, into `order`.
void StableOrderByKeys(const std::vector<std::uint32_t>& keys, std::vector<std::uint32_t>& order, SortScratch& scratch);

// The filter's words as typed: split at spaces.
QStringList FilterWords(const QString& typed);

// The box whose words filter a table, named "FilterEdit", after its label "Найти:" at
// `label`, whose buddy it is; `placeholder` and `description` say where it looks.
QLineEdit* MakeFilterEdit(
    QWidget* parent, QPoint label, const QRect& box, const QString& placeholder, const QString& description);

// Rows chosen whole and one at a time, never edited, the window font's row height, no row
// header; Tab leaves the table for the next control and the arrows move within it; the
// context menu exports the table, as every grid's does.
class SortedTableView : public QTableView {
    Q_OBJECT

public:
    SortedTableView(QWidget* parent, std::function<void()> exportTable);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    std::function<void()> export_;
};
