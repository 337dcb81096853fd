#include "analysis/Rating.h"

#include "analysis/Damage.h"
#include "analysis/Derived.h"
#include "model/Data.h"
#include "support/MatrixLiterals.h"
#include "support/RandomAssessment.h"
#include "support/RatingStores.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr RatingKind kKinds[] = { RatingKind::Rm, RatingKind::Re };

} // namespace

TEST(RatingAtShift, SingleItemValues)
{
    struct Case {
        float Shift, Factor, Expected;
    };
    const Case cases[] = {
        { 0, 1, 0.5f },
        { 1, 1, 1.0f },
        { 10, 1, 13.0f },
        { -2.5f, 1, 0.0f },
        { -2, 1, 0.0f },
        { -10, 1, 0.0f },
        { 1, 4, 4.0f },
        { 0, 4, 2.0f },
        { 10, 0, 0.0f },
    };
    const CData d = SingleItem();
    for (RatingKind kind : kKinds)
        for (const auto& c : cases)
            EXPECT_EQ(RatingAtShift(d, kind, {}, c.Shift, c.Factor), c.Expected)
                << "shift " << c.Shift << " factor " << c.Factor;
}

TEST(RatingRange, SingleItemOverTheWholeRange)
{
    const CData d = SingleItem();
    for (RatingKind kind : kKinds) {
        const RatingExtent e = RatingRange(d, kind, {}, 1.0f, -10.0f, 10.0f);
        EXPECT_EQ(e.Largest, 13.0f);
        EXPECT_EQ(e.Smallest, 0.0f);
        const RatingExtent scaled = RatingRange(d, kind, {}, DamageFactor(2.0f), -10.0f, 10.0f);
        EXPECT_EQ(scaled.Largest, 52.0f);
    }
}

// Both ends of an arbitrary range are sampled exactly, not approached by adding steps.
TEST(RatingRange, BothEndsIncluded)
{
    const CData d = SingleItem(); // strictly increasing from -2 on
    struct Case {
        float Start, End;
    };
    const Case cases[] = { { -0.7f, 0.3f }, { 0.1f, 9.7f }, { -1.9f, -1.3f }, { 3.3f, 3.4f } };
    for (const auto& c : cases) {
        const RatingExtent e = RatingRange(d, RatingKind::Rm, {}, 1.0f, c.Start, c.End);
        EXPECT_EQ(e.Largest, RatingAtShift(d, RatingKind::Rm, {}, c.End, 1.0f)) << c.Start << " " << c.End;
        EXPECT_EQ(e.Smallest, RatingAtShift(d, RatingKind::Rm, {}, c.Start, 1.0f)) << c.Start << " " << c.End;
    }
}

// The zero at s = 2 is found only if 2.0 itself is one of the samples: -10 + 20 * 120 /
// 200 is exactly 2, while steps of 0.1 added in floats, or 200 or 202 samples, miss it.
TEST(RatingRange, SamplesTheExactGrid)
{
    const CData d = DipAtTwo();
    ASSERT_EQ(RatingAtShift(d, RatingKind::Rm, {}, 2.0f, 1.0f), 0.0f);
    ASSERT_GT(RatingAtShift(d, RatingKind::Rm, {}, std::nextafter(2.0f, 3.0f), 1.0f), 0.0f);
    ASSERT_GT(RatingAtShift(d, RatingKind::Rm, {}, std::nextafter(2.0f, 1.0f), 1.0f), 0.0f);
    for (RatingKind kind : kKinds) {
        const RatingExtent e = RatingRange(d, kind, {}, 1.0f, -10.0f, 10.0f);
        EXPECT_EQ(e.Smallest, 0.0f);
        EXPECT_EQ(e.Largest, 96.0f);
        // Over [-10, 9.9] the samples are 0.0995 apart and none of them is 2.
        EXPECT_GT(RatingRange(d, kind, {}, 1.0f, -10.0f, 9.9f).Smallest, 0.0f);
    }
}

// A shifted frequency below zero counts as zero, each of the two on its own.
TEST(RatingAtShift, ShiftedFrequenciesAreClampedAtZero)
{
    CData d = SingleItem();
    d.EF(0, 0) = 3.0f;
    d.FM(0, 0) = 7.0f;
    const float flat = RatingAtShift(d, RatingKind::Rm, {}, -7.0f, 1.0f);
    EXPECT_EQ(flat, 0.0f);
    for (float s : { -7.5f, -8.0f, -10.0f })
        EXPECT_EQ(RatingAtShift(d, RatingKind::Rm, {}, s, 1.0f), flat) << s;
    // Between -7 and -3 only the frequency per mechanism is positive; a nonzero value
    // elsewhere in the same row shows it.
    CData wide;
    wide.ReliabilityME = MakeMatrix({ { 1 } });
    wide.DamageEM = MakeMatrix({ { 1 } });
    wide.EF = MakeMatrix({ { 3, 1 } });
    wide.FM = MakeMatrix({ { 7 }, { 1 } });
    wide.WeightedDamageMax = 1.0f;
    struct Case {
        float Shift, Expected;
    };
    const Case cases[] = {
        { -10, 1 },
        { -7, 1 },
        { -5, 1 },
        { -3, 1 },
        { -2, 1 + 1 * 5 },
        { 0, 1 + 21 },
        { 1, 1 + 32 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(RatingAtShift(wide, RatingKind::Re, {}, c.Shift, 1.0f), c.Expected) << c.Shift;
    // A not-a-number sum is clamped as well.
    wide.EF(0, 0) = NAN;
    EXPECT_EQ(RatingAtShift(wide, RatingKind::Re, {}, 0.0f, 1.0f), 1.0f);
}

TEST(RatingAtShift, DamageFactorScalesTheValue)
{
    CData d = RandomAssessment(5, 3);
    ComputeAllModes(d);
    const RatingSelection sel { 1, 2, 3 };
    for (RatingKind kind : kKinds) {
        const float base = RatingAtShift(d, kind, sel, 0.5f, 1.0f);
        ASSERT_GT(base, 0.0f);
        EXPECT_NEAR(RatingAtShift(d, kind, sel, 0.5f, DamageFactor(2.0f)), 4.0f * base, 4e-5f * base);
        EXPECT_EQ(RatingAtShift(d, kind, sel, 0.5f, DamageFactor(0.0f)), 0.0f);
    }
    EXPECT_EQ(DamageFactor(2.0f), 4.0f);
    EXPECT_EQ(DamageFactor(0.1f), 0.1f * 0.1f);
}

// Unshifted and at the current level, the ratings are those of the damage matrices.
TEST(RatingAtShift, AgreesWithTheDamageMatricesAfterTheWalk)
{
    for (int size : { 1, 4, 17 }) {
        CData d = RandomAssessment(size, 40u + static_cast<unsigned>(size));
        ComputeAllModes(d);
        ComputeDamageMatrices(d);
        const float rm = RatingIndicator(d.MM);
        const float re = RatingIndicator(d.EE);
        for (const RatingSelection sel :
            { RatingSelection { 0, 0, 0 }, RatingSelection { size - 1, size / 2, size - 1 } }) {
            EXPECT_NEAR(RatingAtShift(d, RatingKind::Rm, sel, 0.0f, 1.0f), rm, 1e-5f * rm) << size;
            EXPECT_NEAR(RatingAtShift(d, RatingKind::Re, sel, 0.0f, 1.0f), re, 1e-5f * re) << size;
        }
    }
}

// An all-zero weighted damage matrix leaves WeightedDamageMax at 0 and its reciprocal
// infinite: no result is a finite number, and the range keeps its start value as the
// smallest.
TEST(RatingRange, ZeroWeightedDamageMaxGivesNoFiniteValue)
{
    // No damage at all: every element of W is 0 x infinity.
    CData noDamage = SingleItem();
    noDamage.DamageEM(0, 0) = 0.0f;
    noDamage.WeightedDamageMax = 0.0f;
    for (RatingKind kind : kKinds) {
        for (float s : { -10.0f, 0.0f, 10.0f })
            EXPECT_TRUE(std::isnan(RatingAtShift(noDamage, kind, {}, s, 1.0f))) << s;
        const RatingExtent e = RatingRange(noDamage, kind, {}, 1.0f, -10.0f, 10.0f);
        EXPECT_TRUE(std::isnan(e.Largest));
        EXPECT_EQ(e.Smallest, 100000.0f);
    }
    // No frequency: a raised shift makes W infinite, the others leave 0 x infinity; the
    // largest is the last sample.
    CData noFrequency = SingleItem();
    noFrequency.EF(0, 0) = 0.0f;
    noFrequency.FM(0, 0) = 0.0f;
    noFrequency.WeightedDamageMax = 0.0f;
    for (RatingKind kind : kKinds) {
        EXPECT_TRUE(std::isnan(RatingAtShift(noFrequency, kind, {}, 0.0f, 1.0f)));
        EXPECT_EQ(RatingAtShift(noFrequency, kind, {}, 0.5f, 1.0f), INFINITY);
        const RatingExtent e = RatingRange(noFrequency, kind, {}, 1.0f, -10.0f, 10.0f);
        EXPECT_EQ(e.Largest, INFINITY);
        EXPECT_EQ(e.Smallest, 100000.0f);
        EXPECT_TRUE(std::isnan(RatingRange(noFrequency, kind, {}, 1.0f, -10.0f, 0.0f).Largest));
    }
}

TEST(RatingRange, ConstantValueGivesEqualEnds)
{
    CData d = SingleItem();
    d.DamageEM(0, 0) = 0.0f;
    const RatingExtent e = RatingRange(d, RatingKind::Rm, {}, 1.0f, -10.0f, 10.0f);
    EXPECT_EQ(e.Largest, 0.0f);
    EXPECT_EQ(e.Smallest, 0.0f);
}

TEST(RatingAtShift, SelectionOutsideTheMatricesHasNoValue)
{
    const CData d = SingleItem();
    for (const RatingSelection sel : { RatingSelection { 1, 0, 0 }, RatingSelection { 0, 1, 0 },
             RatingSelection { 0, 0, 1 }, RatingSelection { -1, 0, 0 } })
        EXPECT_TRUE(std::isnan(RatingAtShift(d, RatingKind::Rm, sel, 0.0f, 1.0f)));
}

TEST(RatingEvaluator, LeavesTheStoreBitForBit)
{
    CData d = RandomAssessment(6, 9);
    ComputeAllModes(d);
    ComputeDamageMatrices(d);
    d.EF(2, 3) = -0.0f; // a negative zero must come back as such
    const CData before = d;
    const RatingEvaluator eval(d, { 2, 3, 4 });
    for (RatingKind kind : kKinds) {
        eval.Range(kind, 1.0f);
        eval.Range(kind, DamageFactor(3.0f));
        eval.Samples(kind, DamageFactor(0.5f));
        eval.At(kind, -4.25f, 2.0f);
    }
    const Matrix* now[] = { &d.MT, &d.TE, &d.ET, &d.TM, &d.EF, &d.FM, &d.ReliabilityME, &d.DamageEM, &d.FrequencyEM,
        &d.WeightedDamageEM, &d.MM, &d.EE };
    const Matrix* then[]
        = { &before.MT, &before.TE, &before.ET, &before.TM, &before.EF, &before.FM, &before.ReliabilityME,
              &before.DamageEM, &before.FrequencyEM, &before.WeightedDamageEM, &before.MM, &before.EE };
    for (std::size_t k = 0; k < std::size(now); ++k)
        EXPECT_TRUE(SameBits(*now[k], *then[k])) << "matrix " << k;
    EXPECT_TRUE(std::signbit(d.EF(2, 3)));
    EXPECT_EQ(d.WeightedDamageMax, before.WeightedDamageMax);
}

TEST(RatingEvaluator, CurveSamples)
{
    const CData d = SingleItem();
    const RatingEvaluator eval(d, {});
    const CurveSamples samples = eval.Samples(RatingKind::Re, 1.0f);
    EXPECT_EQ(samples[0].Shift, -10.0f);
    EXPECT_EQ(samples[50].Shift, 0.0f); // the current frequency
    EXPECT_EQ(samples[50].Value, 0.5f);
    EXPECT_EQ(samples[55].Shift, 1.0f);
    EXPECT_EQ(samples[55].Value, 1.0f);
    EXPECT_FLOAT_EQ(samples[99].Shift, 9.8f); // the range end itself is not sampled
    for (int i = 0; i < kCurveSamples; ++i) {
        const CurvePoint& p = samples[static_cast<std::size_t>(i)];
        EXPECT_EQ(p.Shift, static_cast<float>(i) * 0.2f + (-10.0f)) << i;
        EXPECT_EQ(p.Value, RatingAtShift(d, RatingKind::Re, {}, p.Shift, 1.0f)) << i;
    }
}
