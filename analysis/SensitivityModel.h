// The values of the sensitivity ranking: for one layer, threat and mechanism, Rm and Re
// over the rating window's shifts -10..+10 at the current damage level, from a closed
// form in place of 201 evaluations of the rating. The ranking itself and its work over
// threads are in Sensitivity.h.
#pragma once

#include "analysis/RatingBasics.h"

#include <cmath>
#include <cstddef>
#include <memory>
#include <span>
#include <stop_token>

class CData;

// One indicator of one triple: Min and Max are what RatingRange(kind, triple, 1.0f, -10.0f,
// 10.0f) gives, with its start values and its rules for values that are not numbers
// (+100000 as the smallest when no sample is below it; the largest not a number when the
// last sample is not); AtZero is RatingAtShift at shift 0.
struct RatingSwing {
    float Min = 0.0f;
    float AtZero = 0.0f;
    float Max = 0.0f;

    float Swing() const { return Max - Min; }
    // All three values finite; a swing that is not ranks last. Inline, as every comparison
    // of the ranking's sort asks it.
    bool Finite() const
    {
        return std::isfinite(Min) && std::isfinite(AtZero) && std::isfinite(Max) && std::isfinite(Swing());
    }
};

struct TripleSensitivity {
    RatingSelection Triple;
    RatingSwing Rm;
    RatingSwing Re;

    const RatingSwing& Of(RatingKind kind) const { return kind == RatingKind::Rm ? Rm : Re; }
};

// What is promised against the straightforward evaluation: every value within the larger
// of these of RatingRange's (or RatingAtShift's), and the same bits wherever the
// straightforward evaluation itself had to be used.
inline constexpr double kSensitivityRelativeTolerance = 1e-4;
inline constexpr double kSensitivityAbsoluteTolerance = 1e-6;

// The terms all triples share, taken from the store once; the store is only read while
// the model is built, so the model may outlive it or run while the store changes. Safe to
// use from several threads at once.
//
// Triples are numbered threat by threat, within a threat layer by layer, then mechanism
// by mechanism: index = (threat * layers + layer) * mechanisms + mechanism. Building costs
// O(L T M); see SensitivityModel.cpp for the cost per triple.
class SensitivityModel {
public:
    explicit SensitivityModel(const CData& data);
    ~SensitivityModel();
    SensitivityModel(const SensitivityModel&) = delete;
    SensitivityModel& operator=(const SensitivityModel&) = delete;

    std::size_t TripleCount() const;
    RatingSelection TripleAt(std::size_t index) const;
    // The sides of the triple space: the shapes of EF (layers x threats) and FM's columns.
    int Layers() const;
    int Threats() const;
    int Mechanisms() const;

    // Triples first..last-1 into out[0 .. last-first-1]. Looks at the stop token after each
    // layer's row of mechanisms and returns how many were finished, from first on; fewer
    // than asked only when stopped. Pieces of whole layer rows of one threat are cheapest.
    std::size_t Compute(
        std::size_t first, std::size_t last, std::span<TripleSensitivity> out, std::stop_token stop = {}) const;

private:
    struct Impl;
    std::unique_ptr<const Impl> impl_;
};
