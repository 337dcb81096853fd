// The fast rating evaluation must give the reference's bits in every case: ordinary
// values, zeros, clamped shifts, results that are not numbers, every edge position.
#include "analysis/Rating.h"
#include "analysis/RatingFast.h"
#include "model/Data.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace {

enum class Values { Hundredths, AnyBits, MostlyZero, WithNegatives };

// Only the inputs of the rating matter: EF, FM, DamageEM, ReliabilityME and the
// largest weighted damage. Sizes are independent per list.
CData Inputs(int layers, int threats, int mechanisms, Values kind, std::uint32_t seed)
{
    std::mt19937 rng(seed);
    auto value = [&](float top) {
        switch (kind) {
        case Values::Hundredths:
            return static_cast<float>(rng() % (static_cast<std::uint32_t>(top * 100) + 1)) / 100.0f;
        case Values::AnyBits:
            return top * static_cast<float>(rng() >> 8) / static_cast<float>(1u << 24);
        case Values::MostlyZero:
            return rng() % 4 == 0 ? static_cast<float>(rng() % 1000) / 100.0f : 0.0f;
        case Values::WithNegatives:
            return (static_cast<float>(rng() % 2001) - 1000.0f) / 100.0f;
        }
        return 0.0f;
    };
    CData d;
    d.LayerCount = layers;
    d.ThreatCount = threats;
    d.MechanismCount = mechanisms;
    auto fill = [&](Matrix& m, int rows, int cols, float top) {
        m.Resize(rows, cols);
        for (int i = 0; i < rows; ++i)
            for (int j = 0; j < cols; ++j)
                m(i, j) = value(top);
    };
    fill(d.EF, layers, threats, 10.0f);
    fill(d.FM, threats, mechanisms, 10.0f);
    fill(d.DamageEM, layers, mechanisms, 10.0f);
    fill(d.ReliabilityME, mechanisms, layers, 1.0f);
    d.WeightedDamageMax = Matrix::ElementwiseProduct(d.DamageEM, Matrix::Product(d.EF, d.FM)).MaxElement();
    return d;
}

std::vector<float> RangeShifts()
{
    std::vector<float> shifts;
    for (int i = 0; i <= 200; ++i)
        shifts.push_back(static_cast<float>(-10.0 + 20.0 * i / 200.0));
    for (int i = 0; i < kCurveSamples; ++i)
        shifts.push_back(static_cast<float>(i) * 0.2f + (-10.0f));
    return shifts;
}

std::vector<RatingSelection> EdgeSelections(const CData& d)
{
    const int L = d.LayerCount - 1, T = d.ThreatCount - 1, M = d.MechanismCount - 1;
    return { { 0, 0, 0 }, { L, T, M }, { 0, T, M }, { L, 0, 0 }, { L / 2, T / 2, M / 2 }, { 0, T, 0 }, { L, 0, M } };
}

// Compares every given shift and factor for both indicators; returns the count.
int ExpectSameBits(
    const CData& d, const RatingSelection& s, const std::vector<float>& shifts, const std::vector<float>& factors)
{
    const FastRating fast(d, s);
    int compared = 0;
    for (float f : factors) {
        for (float shift : shifts) {
            const FastRating::Pair p = fast.At(shift, f);
            const float rm = RatingAtShift(d, RatingKind::Rm, s, shift, f);
            const float re = RatingAtShift(d, RatingKind::Re, s, shift, f);
            EXPECT_EQ(std::bit_cast<std::uint32_t>(p.Rm), std::bit_cast<std::uint32_t>(rm))
                << "Rm at shift " << shift << " factor " << f << " selection " << s.Layer << "," << s.Threat << ","
                << s.Mechanism << " sizes " << d.LayerCount << "x" << d.ThreatCount << "x" << d.MechanismCount;
            EXPECT_EQ(std::bit_cast<std::uint32_t>(p.Re), std::bit_cast<std::uint32_t>(re))
                << "Re at shift " << shift << " factor " << f << " selection " << s.Layer << "," << s.Threat << ","
                << s.Mechanism << " sizes " << d.LayerCount << "x" << d.ThreatCount << "x" << d.MechanismCount;
            compared += 2;
        }
    }
    return compared;
}

const std::vector<float> kFactors = { 1.0f, 4.0f, 0.25f, 0.0f, DamageFactor(1.7f) };

} // namespace

TEST(RatingFast, SmallAssessmentsEveryEdgeSelection)
{
    const std::vector<float> shifts = RangeShifts();
    std::uint32_t seed = 1;
    for (Values kind : { Values::Hundredths, Values::AnyBits, Values::MostlyZero, Values::WithNegatives }) {
        for (const auto& [L, T, M] :
            std::vector<std::array<int, 3>> { { 1, 1, 1 }, { 1, 3, 2 }, { 4, 1, 5 }, { 3, 4, 1 }, { 7, 5, 6 } }) {
            const CData d = Inputs(L, T, M, kind, seed++);
            for (const RatingSelection& s : EdgeSelections(d))
                ExpectSameBits(d, s, shifts, kFactors);
        }
    }
}

TEST(RatingFast, RandomSizesUpTo120)
{
    std::mt19937 rng(20261210u);
    std::vector<float> shifts;
    for (float s : { -10.0f, -7.3f, -1.0f, -0.1f, 0.0f, 0.2f, 3.9f, 9.8f, 10.0f })
        shifts.push_back(s);
    for (int round = 0; round < 12; ++round) {
        const int L = 1 + static_cast<int>(rng() % 120), T = 1 + static_cast<int>(rng() % 120),
                  M = 1 + static_cast<int>(rng() % 120);
        const CData d = Inputs(L, T, M, round % 2 ? Values::AnyBits : Values::Hundredths, rng());
        const RatingSelection s { static_cast<int>(rng() % static_cast<unsigned>(L)),
            static_cast<int>(rng() % static_cast<unsigned>(T)), static_cast<int>(rng() % static_cast<unsigned>(M)) };
        ExpectSameBits(d, s, shifts, { 1.0f, 4.0f });
    }
    const CData big = Inputs(120, 120, 120, Values::AnyBits, 7u);
    ExpectSameBits(big, { 119, 0, 119 }, { -10.0f, 0.0f, 9.8f }, { 1.0f });
}

TEST(RatingFast, ZeroLargestDamageGivesTheSameNotANumber)
{
    CData d = Inputs(3, 4, 2, Values::Hundredths, 99u);
    d.WeightedDamageMax = 0.0f;
    const FastRating fast(d, { 1, 2, 1 });
    const FastRating::Pair p = fast.At(0.5f, 1.0f);
    EXPECT_FALSE(std::isfinite(p.Rm));
    EXPECT_FALSE(std::isfinite(p.Re));
    ExpectSameBits(d, { 1, 2, 1 }, RangeShifts(), { 1.0f, 0.0f });

    // All-zero damage: the largest is zero too, and zero times infinity.
    CData z = Inputs(2, 2, 2, Values::Hundredths, 5u);
    z.DamageEM.Resize(2, 2);
    z.WeightedDamageMax = 0.0f;
    ExpectSameBits(z, { 0, 1, 1 }, RangeShifts(), { 1.0f });
}

TEST(RatingFast, RepeatedEvaluationsComeFromTheCacheUnchanged)
{
    const CData d = Inputs(5, 6, 7, Values::AnyBits, 3u);
    const FastRating fast(d, { 4, 5, 6 });
    const FastRating::Pair first = fast.At(-2.4f, 4.0f);
    fast.At(1.0f, 4.0f);
    fast.At(-2.4f, 1.0f);
    const FastRating::Pair again = fast.At(-2.4f, 4.0f);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(first.Rm), std::bit_cast<std::uint32_t>(again.Rm));
    EXPECT_EQ(std::bit_cast<std::uint32_t>(first.Re), std::bit_cast<std::uint32_t>(again.Re));
    EXPECT_EQ(std::bit_cast<std::uint32_t>(again.Rm),
        std::bit_cast<std::uint32_t>(RatingAtShift(d, RatingKind::Rm, { 4, 5, 6 }, -2.4f, 4.0f)));
}

// What the charts and the report call: the evaluator's ranges and samples against the
// straightforward RatingRange and RatingAtShift.
TEST(RatingFast, EvaluatorAgreesWithTheReference)
{
    const CData d = Inputs(9, 11, 8, Values::AnyBits, 41u);
    for (const RatingSelection& s : EdgeSelections(d)) {
        const RatingEvaluator evaluator(d, s);
        for (RatingKind kind : { RatingKind::Rm, RatingKind::Re }) {
            for (float f : { 1.0f, 4.0f, 0.0f }) {
                const RatingExtent fast = evaluator.Range(kind, f);
                const RatingExtent reference = RatingRange(d, kind, s, f, -10.0f, 10.0f);
                EXPECT_EQ(std::bit_cast<std::uint32_t>(fast.Largest), std::bit_cast<std::uint32_t>(reference.Largest));
                EXPECT_EQ(
                    std::bit_cast<std::uint32_t>(fast.Smallest), std::bit_cast<std::uint32_t>(reference.Smallest));
                for (const CurvePoint& p : evaluator.Samples(kind, f))
                    EXPECT_EQ(std::bit_cast<std::uint32_t>(p.Value),
                        std::bit_cast<std::uint32_t>(RatingAtShift(d, kind, s, p.Shift, f)));
            }
        }
    }
    // Outside the matrices the evaluator answers as the reference does.
    const RatingEvaluator outside(d, { 9, 0, 0 });
    EXPECT_TRUE(std::isnan(outside.At(RatingKind::Rm, 0.0f, 1.0f)));
}
