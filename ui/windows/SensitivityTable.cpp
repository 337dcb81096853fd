#include "ui/windows/SensitivityTable.h"

#include "analysis/Format.h"
#include "model/Csv.h"
#include "ui/export/SensitivityTables.h"

#include <QCollator>
#include <QCoreApplication>
#include <QLocale>

#include <algorithm>
#include <bit>
#include <charconv>
#include <numeric>

namespace {

// "0.00" values with a sign and four digits before the point fit the number columns.
constexpr int kColumnWidths[SensitivityTableModel::kColumns] = { 40, 88, 88, 88, 60, 60, 60, 60, 60, 60, 60, 60 };

// At most this many words of the filter count.
constexpr int kFilterWords = 32;

constexpr std::array<ItemKind, 3> kNameKinds { ItemKind::Layer, ItemKind::Threat, ItemKind::Mechanism };

QString Head(int column)
{
    if (column == SensitivityTableModel::kRank)
        return RankHead();
    if (column <= SensitivityTableModel::kMechanism)
        return TripleHeads()[column - SensitivityTableModel::kLayer];
    return SwingHeads()[column - SensitivityTableModel::kRmMin];
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

int Position(const TripleSensitivity& t, std::size_t kind)
{
    return kind == 0 ? t.Triple.Layer : kind == 1 ? t.Triple.Threat : t.Triple.Mechanism;
}

} // namespace

SensitivitySnapshot SensitivitySnapshot::Of(const CData& store)
{
    SensitivitySnapshot snapshot;
    // Only what the ranking reads, and the names it is shown with.
    snapshot.Data.EF = store.EF;
    snapshot.Data.FM = store.FM;
    snapshot.Data.DamageEM = store.DamageEM;
    snapshot.Data.ReliabilityME = store.ReliabilityME;
    snapshot.Data.WeightedDamageMax = store.WeightedDamageMax;
    for (std::size_t kind = 0; kind < kNameKinds.size(); ++kind) {
        const std::size_t count = store.IndicesOf(kNameKinds[kind]).size();
        for (std::size_t k = 0; k < count; ++k)
            snapshot.Names[kind].push_back(
                QString::fromStdString(store.AnalysedName(kNameKinds[kind], static_cast<int>(k))));
    }
    return snapshot;
}

bool SensitivitySnapshot::Matches(const CData& store) const
{
    for (std::size_t kind = 0; kind < kNameKinds.size(); ++kind) {
        const std::size_t count = store.IndicesOf(kNameKinds[kind]).size();
        if (count != Names[kind].size())
            return false;
        for (std::size_t k = 0; k < count; ++k)
            if (Names[kind][k] != QString::fromStdString(store.AnalysedName(kNameKinds[kind], static_cast<int>(k))))
                return false;
    }
    return SameBits(store.EF, Data.EF) && SameBits(store.FM, Data.FM) && SameBits(store.DamageEM, Data.DamageEM)
        && SameBits(store.ReliabilityME, Data.ReliabilityME)
        && std::bit_cast<std::uint32_t>(store.WeightedDamageMax)
        == std::bit_cast<std::uint32_t>(Data.WeightedDamageMax);
}

QString SensitivitySnapshot::NameOf(std::size_t kind, int position) const
{
    const std::vector<QString>& names = Names[kind];
    if (position >= 0 && static_cast<std::size_t>(position) < names.size())
        return names[static_cast<std::size_t>(position)];
    return QStringLiteral("№ %1").arg(position + 1);
}

int SensitivityTableModel::ColumnWidth(int column)
{
    return kColumnWidths[column];
}

void SensitivityTableModel::SetOutcome(
    std::shared_ptr<const SensitivityOutcome> outcome, RatingKind kind, const QStringList& words)
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

void SensitivityTableModel::SetIndicator(RatingKind kind)
{
    if (kind != kind_)
        ResetRows([&] { kind_ = kind; });
}

void SensitivityTableModel::SetWords(const QStringList& words)
{
    MaskWords(words);
    Refilter();
}

std::uint32_t SensitivityTableModel::Rank(std::uint32_t row) const
{
    return kind_ == RatingKind::Rm ? row + 1 : outcome_->ByRe.Rank[row];
}

QString SensitivityTableModel::Name(std::uint32_t row, std::size_t kind) const
{
    return outcome_->From->NameOf(kind, Position(Row(row), kind));
}

float SensitivityTableModel::Value(const TripleSensitivity& t, int column)
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

QString SensitivityTableModel::Text(std::uint32_t row, int column) const
{
    if (column == kRank)
        return CountText(Rank(row));
    if (column <= kMechanism)
        return Name(row, static_cast<std::size_t>(column - kLayer));
    return Fixed(Value(Row(row), column));
}

CsvTable SensitivityTableModel::Csv() const
{
    CsvTable table;
    table.Corner = QCoreApplication::translate("TSensitivityForm", "Эшелон / угроза / МЗ").toStdString();
    table.ColumnNames.push_back(Head(kRank).toStdString());
    for (int column = kRmMin; column < kColumns; ++column)
        table.ColumnNames.push_back(Head(column).toStdString());
    const int rows = rowCount();
    table.RowNames.reserve(static_cast<std::size_t>(rows));
    table.Values.reserve(static_cast<std::size_t>(rows));
    for (int r = 0; r < rows; ++r) {
        const std::uint32_t row = DataRow(r);
        table.RowNames.push_back(
            (Name(row, 0) + QStringLiteral(" / ") + Name(row, 1) + QStringLiteral(" / ") + Name(row, 2)).toStdString());
        std::vector<float> values { static_cast<float>(Rank(row)) };
        for (int column = kRmMin; column < kColumns; ++column)
            values.push_back(Value(Row(row), column));
        table.Values.push_back(std::move(values));
    }
    return table;
}

int SensitivityTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant SensitivityTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumns)
        return {};
    if (role == Qt::DisplayRole)
        return Head(section);
    return {};
}

Qt::ItemFlags SensitivityTableModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

QVariant SensitivityTableModel::CellData(std::uint32_t row, int column, int role) const
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

bool SensitivityTableModel::SortKeys(int column, std::vector<std::uint32_t>& keys) const
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

bool SensitivityTableModel::Accepts(std::uint32_t row) const
{
    std::uint32_t found = 0;
    for (std::size_t kind = 0; kind < kNameKinds.size(); ++kind) {
        const int k = Position(Row(row), kind);
        if (k >= 0 && static_cast<std::size_t>(k) < wordMasks_[kind].size())
            found |= wordMasks_[kind][static_cast<std::size_t>(k)];
    }
    return (found & all_) == all_;
}

void SensitivityTableModel::MaskWords(const QStringList& words)
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

int SensitivityTableModel::NameRank(std::size_t kind, int position) const
{
    const std::vector<int>& ranks = nameRank_[kind];
    return position >= 0 && static_cast<std::size_t>(position) < ranks.size()
        ? ranks[static_cast<std::size_t>(position)]
        : position;
}
