// The order of ranked rows by the other indicator, which the sensitivity window shows
// without moving its rows: ties, swings that are not finite, rows of one triple, nothing,
// and agreement with RankBySwing over a whole ranking.
#include "analysis/Sensitivity.h"

#include "analysis/Damage.h"
#include "analysis/Derived.h"
#include "model/Data.h"
#include "support/RandomAssessment.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace {

const float kInf = std::numeric_limits<float>::infinity();
const float kNaN = std::numeric_limits<float>::quiet_NaN();

// Rm swings by `rm`, Re from reMin to reMax; both at zero halfway.
TripleSensitivity Row(int layer, int threat, int mechanism, float rm, float reMin, float reMax)
{
    TripleSensitivity t;
    t.Triple = { layer, threat, mechanism };
    t.Rm = { 0.0f, rm / 2, rm };
    t.Re = { reMin, reMin, reMax };
    return t;
}

// Rank must be Order's inverse, counted from 1.
void ExpectInverse(const RankingOrder& r)
{
    ASSERT_EQ(r.Rank.size(), r.Order.size());
    for (std::size_t k = 0; k < r.Order.size(); ++k) {
        ASSERT_LT(r.Order[k], r.Rank.size());
        EXPECT_EQ(r.Rank[r.Order[k]], k + 1) << "place " << k;
    }
}

} // namespace

TEST(OrderBy, TiesAndSwingsThatAreNotFinite)
{
    // Ranked by Rm, as the window holds them.
    const std::vector<TripleSensitivity> rows = {
        Row(0, 0, 0, 9.0f, 1.0f, 2.0f), // Re swing 1
        Row(2, 0, 1, 8.0f, 0.0f, 3.0f), // 3
        Row(1, 1, 0, 7.0f, 0.0f, kNaN), // not a number: after every finite swing
        Row(1, 0, 2, 6.0f, 5.0f, 6.0f), // 1, ties row 0 and comes after it by layer
        Row(0, 1, 0, 5.0f, -3e38f, 3e38f), // both ends finite, the swing not: last group
        Row(0, 0, 1, 4.0f, 1.0f, 4.0f), // 3, ties row 1 and comes before it by layer
        Row(0, 2, 0, 3.0f, kInf, kInf), // infinite
        Row(1, 0, 0, 2.0f, 0.0f, 1.0f), // 1, ties rows 0 and 3
    };
    const RankingOrder re = OrderBy(rows, RatingKind::Re);
    // Finite: swing 3 (rows 5, 1 by layer), swing 1 (rows 0, 7, 3 by layer then threat);
    // then the rest by layer, threat, mechanism: rows 4 (0,1,0), 6 (0,2,0), 2 (1,1,0).
    EXPECT_EQ(re.Order, (std::vector<std::uint32_t> { 5, 1, 0, 7, 3, 4, 6, 2 }));
    EXPECT_EQ(re.Rank, (std::vector<std::uint32_t> { 3, 2, 8, 5, 6, 1, 7, 4 }));
    ExpectInverse(re);

    // By the kind they are ranked by, the rows stay where they are.
    const RankingOrder rm = OrderBy(rows, RatingKind::Rm);
    EXPECT_EQ(rm.Order, (std::vector<std::uint32_t> { 0, 1, 2, 3, 4, 5, 6, 7 }));
    EXPECT_EQ(rm.Rank, (std::vector<std::uint32_t> { 1, 2, 3, 4, 5, 6, 7, 8 }));
}

// The same triple twice ranks alike only where the swings do; then the earlier row first.
TEST(OrderBy, RowsOfOneTriple)
{
    const std::vector<TripleSensitivity> rows = {
        Row(1, 1, 1, 1.0f, kNaN, 0.0f),
        Row(0, 0, 0, 1.0f, 0.0f, 1.0f),
        Row(1, 1, 1, 1.0f, 0.0f, kNaN),
        Row(1, 1, 1, 1.0f, 0.0f, 2.0f),
        Row(1, 1, 1, 1.0f, 0.0f, 1.0f),
    };
    const RankingOrder re = OrderBy(rows, RatingKind::Re);
    EXPECT_EQ(re.Order, (std::vector<std::uint32_t> { 3, 1, 4, 0, 2 }));
    ExpectInverse(re);
}

TEST(OrderBy, NoRows)
{
    const RankingOrder r = OrderBy({}, RatingKind::Re);
    EXPECT_TRUE(r.Order.empty());
    EXPECT_TRUE(r.Rank.empty());
}

// Over a whole ranking by Rm, the order by Re is what RankBySwing gives by Re.
TEST(OrderBy, AgreesWithRankingByTheOtherKind)
{
    CData d = RandomAssessment(6, 321u);
    ComputeAllModes(d);
    ComputeDamageMatrices(d);
    SensitivityOptions options;
    options.RankBy = RatingKind::Rm;
    const std::vector<TripleSensitivity> byRm = RankSensitivity(d, options).Ranking;
    ASSERT_EQ(byRm.size(), 216u);
    std::vector<TripleSensitivity> byRe = byRm;
    RankBySwing(byRe, RatingKind::Re);

    const RankingOrder r = OrderBy(byRm, RatingKind::Re);
    ASSERT_EQ(r.Order.size(), byRe.size());
    ExpectInverse(r);
    bool moved = false;
    for (std::size_t k = 0; k < byRe.size(); ++k) {
        const RatingSelection& got = byRm[r.Order[k]].Triple;
        const RatingSelection& want = byRe[k].Triple;
        EXPECT_TRUE(got.Layer == want.Layer && got.Threat == want.Threat && got.Mechanism == want.Mechanism)
            << "place " << k;
        moved = moved || r.Order[k] != k;
    }
    // Otherwise the comparison above would say nothing about the order by Re.
    EXPECT_TRUE(moved);
}
