// Rm and Re for one selection, evaluated with exactly the operations of RatingAtShift,
// in the same order, so the bits agree; but what does not change between evaluations
// is computed once. A shift touches one element of EF and one of FM, so only row
// `Layer` and column `Mechanism` of the frequency product move; and Rm and Re need only
// the diagonals of the last products. Repeated (shift, factor) pairs come from a cache.
#pragma once

#include "analysis/RatingBasics.h"

#include <cstdint>
#include <map>
#include <unordered_map>
#include <vector>

class CData;

class FastRating {
public:
    // The matrices must fit together (EF layers x threats, FM threats x mechanisms,
    // DamageEM and ReliabilityME to match) and the selection lie inside them.
    FastRating(const CData& data, const RatingSelection& selection);

    struct Pair {
        float Rm;
        float Re;
    };
    Pair At(float shift, float damageFactor) const;

private:
    // The weighted damage matrix of one factor before any shift, in both layouts.
    struct Weighted {
        std::vector<float> W; // layers x mechanisms
        std::vector<float> WT; // mechanisms x layers
        std::vector<float> D; // the damage matrix times the factor, layers x mechanisms
    };
    const Weighted& WeightedFor(float damageFactor) const;
    // Row `Layer` and column `Mechanism` of the frequency product at one shift: the only
    // parts the shift changes, the same for every damage factor.
    struct ShiftedProduct {
        std::vector<float> Row; // mechanisms
        std::vector<float> Col; // layers
    };
    const ShiftedProduct& ProductAt(float shift) const;
    Pair Evaluate(float shift, float damageFactor) const;

    int layers_, threats_, mechanisms_;
    int l_, t_, m_;
    float reciprocal_;
    std::vector<float> ef_; // layers x threats
    std::vector<float> efT_; // threats x layers
    std::vector<float> fm_; // threats x mechanisms
    std::vector<float> damage_; // layers x mechanisms
    std::vector<float> p0_; // the unshifted frequency product, layers x mechanisms
    std::vector<float> relT_; // reliability transposed: layers x mechanisms
    std::vector<float> rel_; // reliability: mechanisms x layers

    // Working rows of one evaluation, kept to spare the allocations.
    struct Scratch {
        std::vector<float> fmRowT, efColT, wRow, wCol, rm, re;
    };
    mutable Scratch scratch_;
    mutable std::map<std::uint32_t, Weighted> weighted_;
    mutable std::unordered_map<std::uint32_t, ShiftedProduct> products_;
    mutable std::unordered_map<std::uint64_t, Pair> cache_;
};
