// Rm and Re with one threat's frequency shifted, evaluated with exactly the operations of
// RatingAtShift, in the same order, so the bits agree; but what no shift touches is
// computed once. A shift of threat t for layer l and mechanism m touches EF(l, t) and
// FM(t, m) only, so only row l and column m of the frequency product move; and Rm and Re
// need only the diagonals of the last products. The rating window's evaluator
// (FastRating) and the sensitivity ranking's exact evaluation both stand on this.
#pragma once

#include "analysis/RatingBasics.h"

#include <vector>

class CData;

// The rating's inputs as flat row-major floats. The shapes are EF's and FM's columns;
// the other matrices are taken to fit them.
struct RatingInputs {
    int Layers = 0, Threats = 0, Mechanisms = 0;
    float Reciprocal = 0.0f; // 1.0f / WeightedDamageMax, rounded once as the evaluation does
    std::vector<float> EF; // layers x threats
    std::vector<float> FM; // threats x mechanisms
    std::vector<float> Damage; // layers x mechanisms
    std::vector<float> Reliability; // mechanisms x layers

    static RatingInputs From(const CData& data);
};

struct RatingPair {
    float Rm;
    float Re;

    float Of(RatingKind kind) const { return kind == RatingKind::Rm ? Rm : Re; }
};

// Nothing is checked: the matrices must fit together (EF layers x threats, FM threats x
// mechanisms, damage layers x mechanisms, reliability mechanisms x layers) and every
// selection lie inside them. Safe to use from several threads, each with its own Scratch.
class ShiftedRating {
public:
    ShiftedRating() = default; // no inputs, nothing to evaluate
    explicit ShiftedRating(RatingInputs inputs);

    // The damage matrix scaled by one factor, and the weighted matrix before any shift in
    // both layouts.
    struct Weighted {
        std::vector<float> Damage; // layers x mechanisms
        std::vector<float> W; // layers x mechanisms
        std::vector<float> WT; // mechanisms x layers
    };
    Weighted WeightedAt(float damageFactor) const;

    // Row `Layer` and column `Mechanism` of the frequency product with threat `Threat`
    // shifted: all that a shift changes, the same at every damage factor.
    struct Cross {
        std::vector<float> Row; // mechanisms
        std::vector<float> Col; // layers
    };
    // Working rows of one evaluation, kept by the caller to spare the allocations.
    struct Scratch {
        std::vector<float> FmRow, EfCol, WRow, WCol, Rm, Re;
        Cross Product;
    };

    void ProductAt(const RatingSelection& s, float shift, Cross& out, Scratch& x) const;
    // Rm and Re from a cross of ProductAt for the same selection and one factor's weights.
    RatingPair Evaluate(const RatingSelection& s, const Cross& product, const Weighted& weighted, Scratch& x) const;
    // RatingAtShift's Rm and Re at the shift and the factor `weighted` was made with.
    RatingPair At(const RatingSelection& s, float shift, const Weighted& weighted, Scratch& x) const;

private:
    RatingInputs in_;
    std::vector<float> efT_; // threats x layers
    std::vector<float> relT_; // layers x mechanisms
    std::vector<float> p0_; // the unshifted frequency product, layers x mechanisms
};
