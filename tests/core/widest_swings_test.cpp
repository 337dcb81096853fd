// The head of the sensitivity ranking taken in one pass: the same triples, values and order
// as the whole ranking's first ones, over pieces that split a threat's rows, with ties,
// values that are not numbers and negative inputs; its progress, and stopping it.
#include "analysis/WidestSwings.h"

#include "analysis/Damage.h"
#include "analysis/Derived.h"
#include "model/Data.h"
#include "support/RandomAssessment.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace {

// Only the rating's inputs, in a pattern that repeats (so that many swings are equal),
// shifted by `offset` (below zero: the mixed signs the closed form cannot vouch for).
CData Patterned(int layers, int threats, int mechanisms, float offset)
{
    CData d;
    const auto fill = [offset](Matrix& m, int rows, int cols, int salt) {
        m.Resize(rows, cols);
        for (int i = 0; i < rows; ++i)
            for (int j = 0; j < cols; ++j)
                m(i, j) = static_cast<float>((7 * i + 13 * j + salt) % 23) / 4.0f + offset;
    };
    fill(d.EF, layers, threats, 1);
    fill(d.FM, threats, mechanisms, 5);
    fill(d.DamageEM, layers, mechanisms, 11);
    fill(d.ReliabilityME, mechanisms, layers, 17);
    d.WeightedDamageMax = Matrix::ElementwiseProduct(Matrix::Product(d.EF, d.FM), d.DamageEM).MaxElement();
    return d;
}

CData Walked(int itemsPerList)
{
    CData d = RandomAssessment(itemsPerList, 31u);
    ComputeAllModes(d);
    ComputeDamageMatrices(d);
    return d;
}

CData WithNaN()
{
    CData d = Patterned(6, 5, 7, 0.0f);
    d.EF(2, 3) = std::numeric_limits<float>::quiet_NaN();
    return d;
}

void ExpectSame(const TripleSensitivity& got, const TripleSensitivity& expected, const std::string& where)
{
    EXPECT_EQ(got.Triple.Layer, expected.Triple.Layer) << where;
    EXPECT_EQ(got.Triple.Threat, expected.Triple.Threat) << where;
    EXPECT_EQ(got.Triple.Mechanism, expected.Triple.Mechanism) << where;
    for (const auto& [a, b] : { std::pair { &got.Rm, &expected.Rm }, std::pair { &got.Re, &expected.Re } }) {
        EXPECT_EQ(std::bit_cast<std::uint32_t>(a->Min), std::bit_cast<std::uint32_t>(b->Min)) << where;
        EXPECT_EQ(std::bit_cast<std::uint32_t>(a->AtZero), std::bit_cast<std::uint32_t>(b->AtZero)) << where;
        EXPECT_EQ(std::bit_cast<std::uint32_t>(a->Max), std::bit_cast<std::uint32_t>(b->Max)) << where;
    }
}

TEST(WidestSwings, TheFirstOfTheWholeRanking)
{
    const struct {
        const char* Name;
        CData Data;
    } cases[] = {
        { "walked, 20 items", Walked(20) },
        // 200 layers of 100 mechanisms: a threat's rows come in more than one piece.
        { "threats in pieces", Patterned(200, 2, 100, 0.0f) },
        { "negative inputs", Patterned(9, 8, 7, -2.5f) },
        { "not a number", WithNaN() },
    };
    for (const auto& c : cases) {
        const SensitivityModel model(c.Data);
        const std::size_t total = model.TripleCount();
        ASSERT_GT(total, 0u) << c.Name;
        for (RatingKind kind : { RatingKind::Rm, RatingKind::Re }) {
            SensitivityOptions options;
            options.RankBy = kind;
            const std::vector<TripleSensitivity> ranking = RankSensitivity(c.Data, options).Ranking;
            ASSERT_EQ(ranking.size(), total);
            for (std::size_t count : { std::size_t { 1 }, std::size_t { 15 }, total + 3 }) {
                const std::string where
                    = std::string(c.Name) + (kind == RatingKind::Rm ? " Rm " : " Re ") + std::to_string(count);
                const auto widest = WidestSwings(model, count, kind);
                ASSERT_TRUE(widest.has_value()) << where;
                ASSERT_EQ(widest->size(), std::min(count, total)) << where;
                for (std::size_t k = 0; k < widest->size(); ++k)
                    ExpectSame((*widest)[k], ranking[k], where + " #" + std::to_string(k));
            }
        }
    }
}

TEST(WidestSwings, NoTriplesOrNoneAskedForGiveNothing)
{
    const SensitivityModel none(Patterned(3, 0, 4, 0.0f));
    int calls = 0;
    const auto counted = [&calls](std::size_t, std::size_t) { return ++calls > 0; };
    const auto empty = WidestSwings(none, 15, RatingKind::Rm, counted);
    ASSERT_TRUE(empty.has_value());
    EXPECT_TRUE(empty->empty());

    const SensitivityModel some(Patterned(3, 2, 4, 0.0f));
    const auto nothing = WidestSwings(some, 0, RatingKind::Rm, counted);
    ASSERT_TRUE(nothing.has_value());
    EXPECT_TRUE(nothing->empty());
    EXPECT_EQ(calls, 0);
}

TEST(WidestSwings, ToldAfterEachPieceAndStoppedWhenItSaysSo)
{
    // Two threats of 200 rows of 100 triples, each in two pieces.
    const SensitivityModel model(Patterned(200, 2, 100, 0.0f));
    std::vector<std::pair<std::size_t, std::size_t>> calls;
    ASSERT_TRUE(WidestSwings(model, 15, RatingKind::Rm, [&calls](std::size_t done, std::size_t total) {
        calls.emplace_back(done, total);
        return true;
    }).has_value());
    ASSERT_GE(calls.size(), 4u);
    std::size_t last = 0;
    for (const auto& [done, total] : calls) {
        EXPECT_EQ(total, model.TripleCount());
        EXPECT_GT(done, last);
        last = done;
    }
    EXPECT_EQ(last, model.TripleCount());

    int told = 0;
    EXPECT_FALSE(
        WidestSwings(model, 15, RatingKind::Rm, [&told](std::size_t, std::size_t) { return ++told < 2; }).has_value());
    EXPECT_EQ(told, 2);
}

} // namespace
