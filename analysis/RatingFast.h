// Rm and Re for one selection at many shifts and damage factors, with the bits of
// RatingAtShift (the evaluation itself is ShiftedRating's). What one repaint asks for
// again is kept: the weighted matrix per damage factor, the shifted row and column of the
// frequency product per shift, and the values per (shift, factor) pair.
#pragma once

#include "analysis/RatingBasics.h"
#include "analysis/ShiftedRating.h"

#include <cstdint>
#include <map>
#include <unordered_map>

class CData;

class FastRating {
public:
    // The matrices must fit together (EF layers x threats, FM threats x mechanisms,
    // DamageEM and ReliabilityME to match) and the selection lie inside them.
    FastRating(const CData& data, const RatingSelection& selection);

    using Pair = RatingPair;
    Pair At(float shift, float damageFactor) const;

private:
    const ShiftedRating::Weighted& WeightedFor(float damageFactor) const;
    const ShiftedRating::Cross& ProductAt(float shift) const;

    ShiftedRating rating_;
    RatingSelection selection_;
    mutable ShiftedRating::Scratch scratch_;
    mutable std::map<std::uint32_t, ShiftedRating::Weighted> weighted_;
    mutable std::unordered_map<std::uint32_t, ShiftedRating::Cross> products_;
    mutable std::unordered_map<std::uint64_t, Pair> cache_;
};
