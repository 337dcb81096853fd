// The shared evaluation at a shifted frequency must give RatingAtShift's bits wherever a
// caller may take it: every edge selection, shifts that clamp a frequency to zero exactly,
// zeros and negative values, a reciprocal that is not finite, inputs that are not finite,
// one product cross reused over factors and one scratch reused over everything.
#include "analysis/ShiftedRating.h"

#include "analysis/Rating.h"
#include "model/Data.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

enum class Values { Hundredths, AnyBits, MostlyZero, WithNegatives, SignedZeros };

const char* Name(Values kind)
{
    switch (kind) {
    case Values::Hundredths:
        return "hundredths";
    case Values::AnyBits:
        return "any bits";
    case Values::MostlyZero:
        return "mostly zero";
    case Values::WithNegatives:
        return "with negatives";
    case Values::SignedZeros:
        return "signed zeros";
    }
    return "?";
}

// Only the inputs of the rating: EF, FM, DamageEM, ReliabilityME and the largest weighted
// damage, which a zero largest damage sets to zero.
CData Store(int layers, int threats, int mechanisms, Values kind, std::uint32_t seed)
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
        case Values::SignedZeros:
            switch (rng() % 3) {
            case 0:
                return -0.0f;
            case 1:
                return 0.0f;
            default:
                return -top * static_cast<float>(rng() % 100) / 100.0f;
            }
        }
        return 0.0f;
    };
    CData d;
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

std::vector<RatingSelection> Selections(const CData& d, std::mt19937& rng)
{
    const int L = d.EF.Rows() - 1, T = d.EF.Cols() - 1, M = d.FM.Cols() - 1;
    std::vector<RatingSelection> s
        = { { 0, 0, 0 }, { L, T, M }, { 0, T, M }, { L, 0, 0 }, { 0, T, 0 }, { L, 0, M }, { L / 2, T / 2, M / 2 } };
    for (int k = 0; k < 3; ++k)
        s.push_back({ static_cast<int>(rng() % static_cast<std::uint32_t>(L + 1)),
            static_cast<int>(rng() % static_cast<std::uint32_t>(T + 1)),
            static_cast<int>(rng() % static_cast<std::uint32_t>(M + 1)) });
    return s;
}

// The window's shifts and some between them, and those that bring either shifted
// frequency of the selection to exactly zero, or just below and above it.
std::vector<float> Shifts(const CData& d, const RatingSelection& s)
{
    std::vector<float> shifts = { -10.0f, -7.3f, -1.0f, -0.1f, -0.0f, 0.0f, 0.2f, 3.9f, 9.8f, 10.0f };
    for (float f : { d.EF(s.Layer, s.Threat), d.FM(s.Threat, s.Mechanism) }) {
        if (!std::isfinite(f))
            continue;
        shifts.push_back(-f);
        shifts.push_back(std::nextafter(-f, -20.0f));
        shifts.push_back(std::nextafter(-f, 20.0f));
    }
    return shifts;
}

const std::vector<float> kFactors = { 1.0f, 4.0f, 0.25f, 0.0f, DamageFactor(1.7f), -1.5f };

std::uint32_t Bits(float f)
{
    return std::bit_cast<std::uint32_t>(f);
}

enum class NaNs { SameBits, AnyBits };

// The value's bits, or for `NaNs::AnyBits` a NaN as one value whatever its sign and payload.
std::uint32_t Bits(float f, NaNs nans)
{
    return nans == NaNs::AnyBits && std::isnan(f) ? Bits(std::numeric_limits<float>::quiet_NaN()) : Bits(f);
}

// Every selection, shift and factor by both ways in: At, and one ProductAt per shift with
// Evaluate at every factor. One scratch throughout, so rows left from another selection
// or shape must not matter.
void ExpectSameBits(const CData& d, const std::string& what, std::mt19937& rng, NaNs nans = NaNs::SameBits)
{
    const ShiftedRating rating(RatingInputs::From(d));
    std::vector<ShiftedRating::Weighted> weighted;
    for (float f : kFactors)
        weighted.push_back(rating.WeightedAt(f));
    ShiftedRating::Scratch x;
    ShiftedRating::Cross cross;
    for (const RatingSelection& s : Selections(d, rng)) {
        for (float shift : Shifts(d, s)) {
            rating.ProductAt(s, shift, cross, x);
            for (std::size_t k = 0; k < kFactors.size(); ++k) {
                const float f = kFactors[k];
                const RatingPair fromCross = rating.Evaluate(s, cross, weighted[k], x);
                const RatingPair direct = rating.At(s, shift, weighted[k], x);
                for (RatingKind kind : { RatingKind::Rm, RatingKind::Re }) {
                    const std::uint32_t reference = Bits(RatingAtShift(d, kind, s, shift, f), nans);
                    const std::string where = what + (kind == RatingKind::Rm ? ": Rm" : ": Re") + " at shift "
                        + std::to_string(shift) + " factor " + std::to_string(f) + " selection "
                        + std::to_string(s.Layer) + "," + std::to_string(s.Threat) + "," + std::to_string(s.Mechanism);
                    EXPECT_EQ(Bits(direct.Of(kind), nans), reference) << where;
                    EXPECT_EQ(Bits(fromCross.Of(kind), nans), reference) << where << " (cross reused)";
                }
            }
        }
    }
}

std::string Shape(int L, int T, int M, Values kind)
{
    return std::to_string(L) + "x" + std::to_string(T) + "x" + std::to_string(M) + " " + Name(kind);
}

} // namespace

TEST(ShiftedRating, SmallShapesOfEveryKindOfValue)
{
    struct Case {
        int L, T, M;
    };
    const Case shapes[] = { { 1, 1, 1 }, { 1, 3, 2 }, { 4, 1, 5 }, { 3, 4, 1 }, { 2, 1, 1 }, { 7, 5, 6 } };
    std::mt19937 rng(5u);
    std::uint32_t seed = 1;
    for (Values kind :
        { Values::Hundredths, Values::AnyBits, Values::MostlyZero, Values::WithNegatives, Values::SignedZeros })
        for (const Case& c : shapes)
            ExpectSameBits(Store(c.L, c.T, c.M, kind, seed++), Shape(c.L, c.T, c.M, kind), rng);
}

TEST(ShiftedRating, RandomShapes)
{
    std::mt19937 rng(20261211u);
    const Values kinds[]
        = { Values::Hundredths, Values::AnyBits, Values::MostlyZero, Values::WithNegatives, Values::SignedZeros };
    for (int round = 0; round < 16; ++round) {
        const int L = 1 + static_cast<int>(rng() % 30), T = 1 + static_cast<int>(rng() % 30),
                  M = 1 + static_cast<int>(rng() % 30);
        const Values kind = kinds[rng() % 5];
        ExpectSameBits(Store(L, T, M, kind, rng()), Shape(L, T, M, kind), rng);
    }
    // Long rows, summed in blocks of 16, then of 4, then one by one; rows of whole blocks.
    ExpectSameBits(Store(60, 9, 75, Values::AnyBits, 8u), "60x9x75", rng);
    ExpectSameBits(Store(16, 3, 32, Values::WithNegatives, 9u), "16x3x32", rng);
    ExpectSameBits(Store(33, 2, 16, Values::MostlyZero, 10u), "33x2x16", rng);
}

// A zero largest weighted damage makes the reciprocal infinite: every weighted element is
// infinite or, for a zero product or damage, not a number; the bits of those must agree
// too, signs and all.
TEST(ShiftedRating, ZeroLargestWeightedDamage)
{
    std::mt19937 rng(77u);
    for (float largest : { 0.0f, -0.0f }) {
        for (Values kind : { Values::Hundredths, Values::MostlyZero, Values::WithNegatives }) {
            CData d = Store(4, 3, 5, kind, 99u);
            d.WeightedDamageMax = largest;
            ASSERT_FALSE(std::isfinite(RatingInputs::From(d).Reciprocal));
            ExpectSameBits(d, std::string("zero largest ") + Name(kind), rng);
        }
    }
    // All-zero damage: its largest is zero too, and zero times infinity everywhere.
    CData z = Store(3, 2, 2, Values::Hundredths, 5u);
    z.DamageEM.Resize(3, 2);
    z.WeightedDamageMax = 0.0f;
    const ShiftedRating rating(RatingInputs::From(z));
    ShiftedRating::Scratch x;
    const RatingPair p = rating.At({ 1, 1, 0 }, 0.5f, rating.WeightedAt(1.0f), x);
    EXPECT_TRUE(std::isnan(p.Rm));
    EXPECT_TRUE(std::isnan(p.Re));
    ExpectSameBits(z, "zero damage", rng);
}

// Infinite and not-a-number inputs, which a file may hold: the sensitivity ranking then
// takes every value from this evaluation. Every value but a NaN keeps its bits; a NaN need
// only meet a NaN. Where the input's NaN meets the one infinity times zero makes, which of
// the two a sum passes on depends on the order of its operands, which the compiler is free
// to swap: no evaluation can promise those bits.
TEST(ShiftedRating, InputsThatAreNotFinite)
{
    std::mt19937 rng(3u);
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    CData d = Store(5, 4, 3, Values::Hundredths, 12u);
    d.EF(1, 2) = inf;
    d.FM(0, 1) = -inf;
    d.DamageEM(3, 0) = nan;
    ExpectSameBits(d, "infinite frequencies", rng, NaNs::AnyBits);
    CData r = Store(3, 3, 3, Values::WithNegatives, 13u);
    r.ReliabilityME(2, 1) = nan;
    r.WeightedDamageMax = inf;
    ExpectSameBits(r, "reliability not a number", rng, NaNs::AnyBits);
}
