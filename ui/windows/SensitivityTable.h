// The sensitivity window's table: the ranking of every analysed layer, threat and
// mechanism triple as rows made into texts only when shown (a million rows at a hundred
// items per list, so no item objects), ranked by Rm or Re, sorted by any column and
// filtered by words of the names. Apart from the window, which only fills and reads it.
#pragma once

#include "analysis/Sensitivity.h"
#include "model/Data.h"
#include "ui/widgets/SortedTable.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

struct CsvTable;

// What a ranking is made from: a copy of what the ranking reads from the store, so that the
// worker never reads the one the windows change, and the names it is shown with.
struct SensitivitySnapshot {
    CData Data;
    // Per kind (layer, threat, mechanism), the names of the analysed items.
    std::array<std::vector<QString>, 3> Names;

    // The store's inputs of the ranking as they are now.
    static SensitivitySnapshot Of(const CData& store);
    // Whether the store still holds what this was taken from (names and the four matrices
    // the ranking reads, bit for bit). Cheap.
    bool Matches(const CData& store) const;
    // The name of an item, or its number for a position the lists do not have.
    QString NameOf(std::size_t kind, int position) const;
};

// A finished ranking with what it was made from.
struct SensitivityOutcome {
    std::shared_ptr<const SensitivitySnapshot> From;
    // Ranked by the swing of Rm.
    std::vector<TripleSensitivity> Rows;
    // The rows' places by Re: the row at each place, and each row's place from 1.
    RankingOrder ByRe;
    bool Stopped = false;

    const TripleSensitivity& Ranked(RatingKind kind, std::size_t place) const
    {
        return Rows[kind == RatingKind::Rm ? place : ByRe.Order[place]];
    }
};

class SensitivityTableModel : public SortedTableModel {
    Q_OBJECT

public:
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
    // Each column's width in the window.
    static int ColumnWidth(int column);

    using SortedTableModel::SortedTableModel;

    // The words of the filter come with it: the new rows are filtered and sorted once.
    void SetOutcome(std::shared_ptr<const SensitivityOutcome> outcome, RatingKind kind, const QStringList& words);
    // Every rank changes, and the selection with them: a reset, as for a new ranking.
    void SetIndicator(RatingKind kind);
    RatingKind Indicator() const { return kind_; }
    void SetWords(const QStringList& words);

    const TripleSensitivity& Row(std::uint32_t row) const { return outcome_->Rows[row]; }
    // A data row's place in the ranking by the indicator, from 1.
    std::uint32_t Rank(std::uint32_t row) const;
    QString Name(std::uint32_t row, std::size_t kind) const;

    // The rows as shown (sorted, filtered), for a spreadsheet.
    CsvTable Csv() const;

    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

protected:
    std::size_t DataRowCount() const override { return outcome_ ? outcome_->Rows.size() : 0; }
    QVariant CellData(std::uint32_t row, int column, int role) const override;
    // Numbers by value (a value that is not finite after every finite one), names by the
    // names' order; ties stay in the Rm ranking's order.
    bool SortKeys(int column, std::vector<std::uint32_t>& keys) const override;
    bool Filtering() const override { return all_ != 0; }
    // Every word is in one of the row's three names.
    bool Accepts(std::uint32_t row) const override;

private:
    static float Value(const TripleSensitivity& t, int column);
    QString Text(std::uint32_t row, int column) const;
    // Which items of each kind hold each word of the filter, one bit per word.
    void MaskWords(const QStringList& words);
    int NameRank(std::size_t kind, int position) const;

    std::shared_ptr<const SensitivityOutcome> outcome_;
    RatingKind kind_ = RatingKind::Rm;
    std::array<std::vector<int>, 3> nameRank_;
    std::array<std::vector<std::uint32_t>, 3> wordMasks_;
    std::uint32_t all_ = 0;
};
