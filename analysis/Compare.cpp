#include "analysis/Compare.h"

#include "analysis/Damage.h"
#include "analysis/Derived.h"
#include "model/Data.h"
#include "model/NameMatching.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr float kNoNumber = std::numeric_limits<float>::quiet_NaN();

RatingComparison CompareRatings(float before, float after)
{
    RatingComparison r;
    r.This = before;
    r.Other = after;
    r.Difference = after - before;
    const float relative = r.Difference / before;
    if (std::isfinite(relative))
        r.RelativeChange = relative;
    return r;
}

// A loaded store's matrices always fit its counts; one built by hand might not, and then
// the missing element is no number rather than a read outside the matrix.
float DiagonalAt(const Matrix& square, int k)
{
    return square.Rows() == square.Cols() && k < square.Rows() ? square(k, k) : kNoNumber;
}

bool Inside(const Matrix& m, int row, int column)
{
    return row < m.Rows() && column < m.Cols();
}

bool SameJudgement(float a, float b)
{
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b) || (std::isnan(a) && std::isnan(b));
}

// The pairs of one kind in this assessment's order, namesakes of the other in its order.
NamePairs InThisOrder(NamePairs pairs)
{
    std::stable_sort(pairs.begin(), pairs.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    return pairs;
}

std::vector<ItemComparison> CompareItems(const CData& thisData, const CData& other, ItemKind kind,
    const NamePairs& pairs, const Matrix& thisSquare, const Matrix& otherSquare)
{
    std::vector<ItemComparison> items;
    const int thisCount = static_cast<int>(thisData.IndicesOf(kind).size());
    const int otherCount = static_cast<int>(other.IndicesOf(kind).size());
    std::vector<bool> otherPaired(static_cast<std::size_t>(otherCount), false);
    auto next = pairs.begin();
    for (int p = 0; p < thisCount; ++p) {
        ItemComparison item;
        item.Name = thisData.AnalysedName(kind, p);
        item.ThisPosition = p;
        item.This = DiagonalAt(thisSquare, p);
        if (next == pairs.end() || next->first != p) {
            items.push_back(std::move(item));
            continue;
        }
        for (; next != pairs.end() && next->first == p; ++next) {
            const int q = next->second;
            otherPaired[static_cast<std::size_t>(q)] = true;
            ItemComparison both = item;
            both.OtherPosition = q;
            both.Other = DiagonalAt(otherSquare, q);
            both.Difference = *both.Other - *both.This;
            items.push_back(std::move(both));
        }
    }
    for (int q = 0; q < otherCount; ++q) {
        if (otherPaired[static_cast<std::size_t>(q)])
            continue;
        ItemComparison item;
        item.Name = other.AnalysedName(kind, q);
        item.OtherPosition = q;
        item.Other = DiagonalAt(otherSquare, q);
        items.push_back(std::move(item));
    }
    return items;
}

} // namespace

CData AnalysedCopy(const CData& data)
{
    CData copy = data;
    ComputeAllModes(copy);
    ComputeDamageMatrices(copy);
    return copy;
}

AssessmentComparison CompareAssessments(const CData& thisData, const CData& other)
{
    const CData before = AnalysedCopy(thisData);
    const CData after = AnalysedCopy(other);
    AssessmentComparison result;
    result.Rm = CompareRatings(RatingIndicator(before.MM), RatingIndicator(after.MM));
    result.Re = CompareRatings(RatingIndicator(before.EE), RatingIndicator(after.EE));

    std::array<NamePairs, kItemKinds.size()> pairs; // by kind
    for (std::size_t k = 0; k < kItemKinds.size(); ++k) {
        const ItemKind kind = kItemKinds[k];
        pairs[k] = InThisOrder(
            MatchByName(thisData.NamesOf(kind), thisData.IndicesOf(kind), other.NamesOf(kind), other.IndicesOf(kind)));
    }
    const auto pairsOf = [&](ItemKind kind) -> const NamePairs& { return pairs[static_cast<std::size_t>(kind)]; };
    result.NoSharedItem = std::all_of(pairs.begin(), pairs.end(), [](const NamePairs& p) { return p.empty(); });

    result.Mechanisms
        = CompareItems(thisData, other, ItemKind::Mechanism, pairsOf(ItemKind::Mechanism), before.MM, after.MM);
    result.Layers = CompareItems(thisData, other, ItemKind::Layer, pairsOf(ItemKind::Layer), before.EE, after.EE);

    for (std::size_t s = 0; s < kSourceMatrices.size(); ++s) {
        const SourceMatrixInfo& source = kSourceMatrices[s];
        const Matrix& a = thisData.*source.Member;
        const Matrix& b = other.*source.Member;
        for (const auto& [thisRow, otherRow] : pairsOf(source.Rows))
            for (const auto& [thisColumn, otherColumn] : pairsOf(source.Cols)) {
                if (!Inside(a, thisRow, thisColumn) || !Inside(b, otherRow, otherColumn))
                    continue;
                const float was = a(thisRow, thisColumn);
                const float is = b(otherRow, otherColumn);
                if (SameJudgement(was, is))
                    continue;
                result.Changed.push_back({ static_cast<SourceId>(s), thisData.AnalysedName(source.Rows, thisRow),
                    thisData.AnalysedName(source.Cols, thisColumn), thisRow, thisColumn, otherRow, otherColumn, was,
                    is });
                ++result.ChangedPerSource[s];
            }
    }
    return result;
}
