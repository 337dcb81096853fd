// The six source matrices of judgements in one table: which member of the store each is,
// the kinds of items along its rows and columns, its name (also the file's section tag, in
// brackets) and the range of its values. The mode table, the re-mapping after list edits,
// the data file and the exports loop over it instead of naming the six one by one.
#pragma once

#include "model/Data.h"
#include "model/Kinds.h"

#include <array>
#include <cstddef>

struct SourceMatrixInfo {
    Matrix CData::*Member;
    ItemKind Rows;
    ItemKind Cols;
    const char* Name;
    // A judgement lies between 0 and this.
    float Maximum;
};

// In the data file's order.
enum class SourceId : std::size_t { MT, TE, ET, TM, EF, FM };

inline constexpr std::array<SourceMatrixInfo, 6> kSourceMatrices = { {
    { &CData::MT, ItemKind::Mechanism, ItemKind::Threat, "MT", 1.0f }, // reliability
    { &CData::TE, ItemKind::Threat, ItemKind::Layer, "TE", 1.0f }, // reliability
    { &CData::ET, ItemKind::Layer, ItemKind::Threat, "ET", 10.0f }, // potential damage
    { &CData::TM, ItemKind::Threat, ItemKind::Mechanism, "TM", 10.0f }, // potential damage
    { &CData::EF, ItemKind::Layer, ItemKind::Threat, "EF", 10.0f }, // activation frequency
    { &CData::FM, ItemKind::Threat, ItemKind::Mechanism, "FM", 10.0f }, // activation frequency
} };

constexpr const SourceMatrixInfo& SourceMatrix(SourceId id)
{
    return kSourceMatrices[static_cast<std::size_t>(id)];
}

// The entry of a member; null for a matrix that is no source (a derived one).
constexpr const SourceMatrixInfo* FindSourceMatrix(Matrix CData::*member)
{
    for (const SourceMatrixInfo& source : kSourceMatrices)
        if (source.Member == member)
            return &source;
    return nullptr;
}
