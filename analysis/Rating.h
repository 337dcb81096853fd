// What-if ratings: Rm and Re with one threat's activation frequency shifted and the
// potential damage scaled.
#pragma once

#include "analysis/RatingBasics.h"

#include <memory>

class CData;
class FastRating;

// The straightforward evaluation; reads the store and leaves it bit for bit as it was.
float RatingAtShift(
    const CData& data, RatingKind kind, const RatingSelection& selection, float shift, float damageFactor);
// Largest and smallest of 201 evenly spaced shifts from start to end, both included.
RatingExtent RatingRange(
    const CData& data, RatingKind kind, const RatingSelection& selection, float damageFactor, float start, float end);

// The evaluations of one drawing for one selection: what the charts and the report use.
// The same bits as RatingAtShift, much faster: see FastRating. The store must not change
// while the evaluator lives, since what does not depend on the shift is kept.
class RatingEvaluator {
public:
    RatingEvaluator(const CData& data, const RatingSelection& selection);
    ~RatingEvaluator();

    float At(RatingKind kind, float shift, float damageFactor) const;
    RatingExtent Range(RatingKind kind, float damageFactor, float start = -10.0f, float end = 10.0f) const;
    // Shifts i * 0.2f + (-10.0f), i = 0..99, with their values.
    CurveSamples Samples(RatingKind kind, float damageFactor) const;

private:
    const CData& data_;
    RatingSelection selection_;
    std::unique_ptr<const FastRating> fast_; // none for a selection outside the matrices
};
