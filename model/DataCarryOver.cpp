// CData's re-mapping after list edits: the judgements carried over to a new selection by
// item name. It loops over the table of source matrices, which is built on CData itself,
// so it stays out of Data.cpp: the store's own source includes nothing that includes it.
#include "model/Data.h"

#include "model/NameMatching.h"
#include "model/SourceMatrices.h"

#include <algorithm>
#include <array>

void CData::PrepareForAnalysis(const CheckList& layers, const CheckList& threats, const CheckList& mechanisms)
{
    const CData old = *this;
    CollectSelection(layers, threats, mechanisms);

    std::array<NamePairs, 3> pairs; // by kind
    for (std::size_t k = 0; k < kItemKinds.size(); ++k) {
        const ItemKind kind = kItemKinds[k];
        pairs[k] = MatchByName(old.NamesOf(kind), old.IndicesOf(kind), NamesOf(kind), IndicesOf(kind));
    }
    const auto pairsOf = [&](ItemKind kind) -> const NamePairs& { return pairs[static_cast<std::size_t>(kind)]; };
    // Only when an item of every kind survives is anything carried: with no surviving layer
    // even the layer-free matrices start over.
    const bool carry = std::none_of(pairs.begin(), pairs.end(), [](const NamePairs& p) { return p.empty(); });

    for (const SourceMatrixInfo& source : kSourceMatrices) {
        Matrix& matrix = this->*source.Member;
        const Matrix& before = old.*source.Member;
        matrix.Resize(CountOf(source.Rows), CountOf(source.Cols));
        if (!carry)
            continue;
        for (const auto& [pRow, qRow] : pairsOf(source.Rows))
            for (const auto& [pCol, qCol] : pairsOf(source.Cols))
                matrix(qRow, qCol) = before(pRow, pCol);
    }
}
