// The sensitivity ranking against the straightforward evaluation: every triple's range and
// value at shift 0 within the promised tolerance of RatingRange and RatingAtShift (the
// same bits where the ranking falls back on that evaluation), the order of the ranking,
// work in pieces and threads, stopping, and the store left exactly as it was.
#include "analysis/Sensitivity.h"

#include "analysis/Damage.h"
#include "analysis/Derived.h"
#include "analysis/Rating.h"
#include "model/Data.h"
#include "support/MatrixLiterals.h"
#include "support/RandomAssessment.h"
#include "support/RatingStores.h"
#include "support/StoreDifference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <set>
#include <stop_token>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr RatingKind kKinds[] = { RatingKind::Rm, RatingKind::Re };
const float kNaN = std::numeric_limits<float>::quiet_NaN();

std::uint32_t Bits(float f)
{
    return std::bit_cast<std::uint32_t>(f);
}

const char* Name(RatingKind kind)
{
    return kind == RatingKind::Rm ? "Rm" : "Re";
}

double Tolerance(float exact)
{
    return std::max(1e-4 * std::fabs(static_cast<double>(exact)), 1e-6);
}

// Within the tolerance of the straightforward value; a value that is not finite must be
// the same kind of value.
::testing::AssertionResult Agrees(float got, float exact)
{
    if (std::isnan(exact) || std::isnan(got)) {
        if (std::isnan(exact) && std::isnan(got))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << got << " where the reference has " << exact;
    }
    if (std::isinf(exact) || std::isinf(got)) {
        if (got == exact)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << got << " where the reference has " << exact;
    }
    const double off = std::fabs(static_cast<double>(got) - static_cast<double>(exact));
    if (off <= Tolerance(exact))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << got << " is " << off << " off the reference " << exact;
}

// What the straightforward evaluation says of one triple.
struct Straight {
    RatingSwing Rm, Re;

    const RatingSwing& Of(RatingKind kind) const { return kind == RatingKind::Rm ? Rm : Re; }
};

Straight ByRatingRange(const CData& d, const RatingSelection& s)
{
    Straight r;
    for (RatingKind kind : kKinds) {
        const RatingExtent e = RatingRange(d, kind, s, 1.0f, -10.0f, 10.0f);
        (kind == RatingKind::Rm ? r.Rm : r.Re) = { e.Smallest, RatingAtShift(d, kind, s, 0.0f, 1.0f), e.Largest };
    }
    return r;
}

// The same bits as RatingRange (the rating tests show it), fast enough for every triple of
// a 15-item assessment.
Straight ByEvaluator(const CData& d, const RatingSelection& s)
{
    const RatingEvaluator evaluator(d, s);
    Straight r;
    for (RatingKind kind : kKinds) {
        const RatingExtent e = evaluator.Range(kind, 1.0f);
        (kind == RatingKind::Rm ? r.Rm : r.Re) = { e.Smallest, evaluator.At(kind, 0.0f, 1.0f), e.Largest };
    }
    return r;
}

std::string Where(const TripleSensitivity& t, RatingKind kind)
{
    return std::string(Name(kind)) + " of (" + std::to_string(t.Triple.Layer) + ", " + std::to_string(t.Triple.Threat)
        + ", " + std::to_string(t.Triple.Mechanism) + ")";
}

void ExpectAgrees(const TripleSensitivity& got, const Straight& exact, bool sameBits, const std::string& what)
{
    for (RatingKind kind : kKinds) {
        const RatingSwing& g = got.Of(kind);
        const RatingSwing& e = exact.Of(kind);
        const std::string where = what + ": " + Where(got, kind);
        if (sameBits) {
            EXPECT_EQ(Bits(g.Min), Bits(e.Min)) << where << " min " << g.Min << " vs " << e.Min;
            EXPECT_EQ(Bits(g.AtZero), Bits(e.AtZero)) << where << " at 0 " << g.AtZero << " vs " << e.AtZero;
            EXPECT_EQ(Bits(g.Max), Bits(e.Max)) << where << " max " << g.Max << " vs " << e.Max;
        } else {
            EXPECT_TRUE(Agrees(g.Min, e.Min)) << where << " min";
            EXPECT_TRUE(Agrees(g.AtZero, e.AtZero)) << where << " at 0";
            EXPECT_TRUE(Agrees(g.Max, e.Max)) << where << " max";
        }
    }
}

// The ranking holds every triple once, and its order is the order of the straightforward
// swings except where two of them lie within their tolerances: no triple ranks before one
// whose straightforward swing is larger by more than both tolerances. Values that are not
// finite come last, among themselves and among equal swings by layer, threat, mechanism.
void ExpectRanked(const std::vector<TripleSensitivity>& ranking, const std::vector<Straight>& exact, RatingKind kind,
    int layers, int threats, int mechanisms, const std::string& what)
{
    ASSERT_EQ(ranking.size(), exact.size());
    std::set<std::tuple<int, int, int>> seen;
    for (const TripleSensitivity& t : ranking) {
        const RatingSelection& s = t.Triple;
        EXPECT_TRUE(s.Layer >= 0 && s.Layer < layers && s.Threat >= 0 && s.Threat < threats && s.Mechanism >= 0
            && s.Mechanism < mechanisms)
            << what;
        seen.insert({ s.Layer, s.Threat, s.Mechanism });
    }
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(layers) * threats * mechanisms) << what;

    auto finite
        = [](const RatingSwing& s) { return std::isfinite(s.Min) && std::isfinite(s.AtZero) && std::isfinite(s.Max); };
    double leastBefore = std::numeric_limits<double>::infinity();
    bool tail = false;
    for (std::size_t i = 0; i < ranking.size(); ++i) {
        const RatingSwing& e = exact[i].Of(kind);
        const std::string where = what + ": place " + std::to_string(i) + ", " + Where(ranking[i], kind);
        if (!finite(e)) {
            tail = true;
        } else {
            EXPECT_FALSE(tail) << where << ": a finite swing after one that is not";
            const double swing = static_cast<double>(e.Max) - static_cast<double>(e.Min);
            const double tolerance = Tolerance(e.Max) + Tolerance(e.Min);
            EXPECT_GE(leastBefore, swing - tolerance) << where << ": ranked below a clearly smaller swing";
            leastBefore = std::min(leastBefore, swing + tolerance);
        }
        if (i == 0)
            continue;
        const RatingSwing& a = ranking[i - 1].Of(kind);
        const RatingSwing& b = ranking[i].Of(kind);
        const bool tie = finite(a) == finite(b) && (!finite(a) || a.Swing() == b.Swing());
        if (tie) {
            const RatingSelection& x = ranking[i - 1].Triple;
            const RatingSelection& y = ranking[i].Triple;
            EXPECT_LT(std::tie(x.Layer, x.Threat, x.Mechanism), std::tie(y.Layer, y.Threat, y.Mechanism))
                << where << ": equal swings out of order";
        }
    }
}

std::vector<TripleSensitivity> RankedBy(const CData& d, RatingKind kind)
{
    SensitivityOptions options;
    options.RankBy = kind;
    SensitivityResult r = RankSensitivity(d, options);
    EXPECT_FALSE(r.Stopped);
    EXPECT_EQ(r.Computed, r.Total);
    EXPECT_EQ(r.Ranking.size(), r.Total);
    return std::move(r.Ranking);
}

// Every triple against the reference, and both rankings in order.
void ExpectWholeAgrees(const CData& d, bool sameBits, const std::string& what,
    Straight (*reference)(const CData&, const RatingSelection&) = ByRatingRange)
{
    const int L = d.EF.Rows(), T = d.EF.Cols(), M = d.FM.Cols();
    auto place = [T, M](const RatingSelection& s) {
        return (static_cast<std::size_t>(s.Layer) * T + s.Threat) * M + s.Mechanism;
    };
    std::vector<Straight> byPlace(static_cast<std::size_t>(L) * T * M);
    for (RatingKind kind : kKinds) {
        const std::vector<TripleSensitivity> ranking = RankedBy(d, kind);
        std::vector<Straight> exact;
        for (const TripleSensitivity& t : ranking) {
            Straight& e = byPlace.at(place(t.Triple));
            if (kind == RatingKind::Rm) {
                e = reference(d, t.Triple);
                ExpectAgrees(t, e, sameBits, what);
            }
            exact.push_back(e);
        }
        ExpectRanked(ranking, exact, kind, L, T, M, what + " by " + Name(kind));
    }
}

// Only the rating's inputs, drawn as whole hundredths between low and high.
CData RandomInputs(int layers, int threats, int mechanisms, float low, float high, std::uint32_t seed)
{
    std::mt19937 rng(seed);
    const auto steps = static_cast<std::uint32_t>(std::lround((high - low) * 100.0f));
    auto fill = [&](Matrix& m, int rows, int cols) {
        m.Resize(rows, cols);
        for (int i = 0; i < rows; ++i)
            for (int j = 0; j < cols; ++j)
                m(i, j) = low + static_cast<float>(rng() % (steps + 1)) / 100.0f;
    };
    CData d;
    fill(d.EF, layers, threats);
    fill(d.FM, threats, mechanisms);
    fill(d.DamageEM, layers, mechanisms);
    fill(d.ReliabilityME, mechanisms, layers);
    d.WeightedDamageMax = Matrix::ElementwiseProduct(Matrix::Product(d.EF, d.FM), d.DamageEM).MaxElement();
    return d;
}

CData Scaled(CData d, float factor)
{
    for (Matrix* m : { &d.EF, &d.FM, &d.DamageEM, &d.ReliabilityME })
        m->Scale(factor);
    d.WeightedDamageMax = Matrix::ElementwiseProduct(Matrix::Product(d.EF, d.FM), d.DamageEM).MaxElement();
    return d;
}

// The straightforward evaluation rounds the first threat's term away: its product sums
// e g, then 1e8, then -1e8, and 1e8 has a float step of 8, so P becomes e g rounded to a
// multiple of 8 where the true value is e g. The promise is to the straightforward bits,
// so the ranking must see that its closed form cannot vouch for these values.
CData RoundedAway()
{
    CData d;
    d.ReliabilityME = MakeMatrix({ { 1 } });
    d.DamageEM = MakeMatrix({ { 1 } });
    d.EF = MakeMatrix({ { 0, 1e4f, 1 } });
    d.FM = MakeMatrix({ { 0 }, { 1e4f }, { -1e8f } });
    d.WeightedDamageMax = 1.0f;
    return d;
}

CData Uniform(int layers, int threats, int mechanisms)
{
    CData d = RandomInputs(layers, threats, mechanisms, 1.0f, 1.0f, 1u);
    return d;
}

// An assessment after the walk through modes 1 to 4, as the rating window finds it.
CData Walked(int itemsPerList, std::uint32_t seed)
{
    CData d = RandomAssessment(itemsPerList, seed);
    ComputeAllModes(d);
    ComputeDamageMatrices(d);
    return d;
}

} // namespace

TEST(Sensitivity, OneItemWorkedByHand)
{
    const std::vector<TripleSensitivity> ranking = RankedBy(SingleItem(), RatingKind::Rm);
    ASSERT_EQ(ranking.size(), 1u);
    for (RatingKind kind : kKinds) {
        const RatingSwing& s = ranking[0].Of(kind);
        EXPECT_TRUE(Agrees(s.Min, 0.0f)) << Name(kind);
        EXPECT_TRUE(Agrees(s.AtZero, 0.5f)) << Name(kind);
        EXPECT_TRUE(Agrees(s.Max, 13.0f)) << Name(kind);
        EXPECT_TRUE(Agrees(s.Swing(), 13.0f)) << Name(kind);
    }
}

// Small assessments of every kind the store can hold, each triple against RatingRange and
// RatingAtShift, both rankings in order.
TEST(Sensitivity, SmallCasesAgreeWithTheStraightforwardEvaluation)
{
    struct Case {
        std::string Name;
        CData Data;
        bool SameBits; // the straightforward evaluation is the only sound one here
    };
    std::vector<Case> cases;
    cases.push_back({ "one item", SingleItem(), false });
    cases.push_back({ "a curve that turns", DipAtTwo(), false });
    cases.push_back({ "a term the float sums round away", RoundedAway(), false });
    cases.push_back({ "all values equal, so all swings tie", Uniform(2, 3, 2), false });
    {
        CData d = RandomInputs(3, 2, 4, 0.0f, 10.0f, 11u);
        for (Matrix* m : { &d.EF, &d.FM })
            m->Scale(0.0f);
        d.WeightedDamageMax = 1.0f;
        cases.push_back({ "all frequencies zero", d, false });
        d.WeightedDamageMax = 0.0f;
        cases.push_back({ "all frequencies zero, largest weighted damage 0", d, true });
    }
    {
        CData d = RandomInputs(3, 2, 4, 0.0f, 10.0f, 12u);
        d.WeightedDamageMax = 0.0f;
        cases.push_back({ "largest weighted damage 0", d, true });
        d.WeightedDamageMax = -0.0f;
        cases.push_back({ "largest weighted damage -0", d, true });
        d.WeightedDamageMax = -3.5f;
        cases.push_back({ "a negative largest weighted damage", d, false });
    }
    for (std::uint32_t seed : { 21u, 22u, 23u, 24u })
        cases.push_back({ "negative values, seed " + std::to_string(seed),
            RandomInputs(3 + static_cast<int>(seed % 3), 4, 5 - static_cast<int>(seed % 2), -10.0f, 10.0f, seed),
            false });
    cases.push_back({ "negative frequencies only",
        [] {
            CData d = RandomInputs(4, 3, 3, 0.0f, 10.0f, 31u);
            d.EF(1, 2) = -4.0f;
            d.FM(0, 1) = -12.5f;
            d.FM(2, 2) = -0.25f;
            return d;
        }(),
        false });
    cases.push_back({ "large values", Scaled(RandomInputs(3, 4, 3, 0.0f, 10.0f, 41u), 1e6f), false });
    cases.push_back({ "tiny values", Scaled(RandomInputs(3, 4, 3, 0.0f, 10.0f, 42u), 1e-12f), false });
    cases.push_back({ "values that overflow a float", Scaled(RandomInputs(3, 2, 3, -10.0f, 10.0f, 43u), 1e12f), true });
    {
        CData d = RandomInputs(2, 3, 2, 0.0f, 10.0f, 51u);
        d.EF(1, 0) = kNaN;
        cases.push_back({ "a frequency that is not a number", d, true });
        d = RandomInputs(2, 3, 2, 0.0f, 10.0f, 52u);
        d.ReliabilityME(0, 1) = std::numeric_limits<float>::infinity();
        cases.push_back({ "an infinite reliability", d, true });
    }
    {
        CData d = RandomInputs(2, 2, 3, 0.0f, 10.0f, 61u);
        d.DamageEM = Matrix();
        cases.push_back({ "no damage matrix yet", d, true });
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        ExpectWholeAgrees(c.Data, c.SameBits, c.Name);
    }
}

TEST(Sensitivity, EqualSwingsRankByLayerThreatMechanism)
{
    const std::vector<TripleSensitivity> ranking = RankedBy(Uniform(2, 2, 3), RatingKind::Re);
    ASSERT_EQ(ranking.size(), 12u);
    for (std::size_t i = 0; i < ranking.size(); ++i) {
        const RatingSelection& s = ranking[i].Triple;
        EXPECT_EQ(s.Layer * 6 + s.Threat * 3 + s.Mechanism, static_cast<int>(i));
    }
    // Where no value is finite, the same order.
    CData zero = Uniform(2, 2, 3);
    zero.WeightedDamageMax = 0.0f;
    const std::vector<TripleSensitivity> last = RankedBy(zero, RatingKind::Rm);
    ASSERT_EQ(last.size(), 12u);
    for (std::size_t i = 0; i < last.size(); ++i) {
        EXPECT_FALSE(last[i].Rm.Finite());
        EXPECT_EQ(last[i].Triple.Layer * 6 + last[i].Triple.Threat * 3 + last[i].Triple.Mechanism, static_cast<int>(i));
    }
}

// An assessment of 15 items per list as the walk leaves it: all 3,375 triples against the
// evaluator (RatingRange's bits), a sample of them against RatingRange itself.
TEST(Sensitivity, FifteenItemAssessment)
{
    const CData d = Walked(15, 20250u);
    ExpectWholeAgrees(d, false, "15 items", ByEvaluator);

    const std::vector<TripleSensitivity> ranking = RankedBy(d, RatingKind::Rm);
    for (std::size_t i = 0; i < ranking.size(); i += 97)
        ExpectAgrees(ranking[i], ByRatingRange(d, ranking[i].Triple), false, "15 items, RatingRange");
    // The walk's values are positive: every curve rises somewhere.
    EXPECT_GT(ranking.back().Rm.Swing(), 0.0f);
}

// Mixed signs at a middle size, where the closed form needs its bound most.
TEST(Sensitivity, NegativeValuesAtTwelveItems)
{
    ExpectWholeAgrees(
        RandomInputs(12, 11, 13, -10.0f, 10.0f, 77u), false, "12 items with negative values", ByEvaluator);
}

TEST(Sensitivity, PiecesAndThreadsGiveTheSameBits)
{
    const CData d = Walked(7, 5u);
    const SensitivityModel model(d);
    ASSERT_EQ(model.TripleCount(), 343u);
    std::vector<TripleSensitivity> whole(model.TripleCount());
    ASSERT_EQ(model.Compute(0, whole.size(), whole), whole.size());
    for (std::size_t i = 0; i < whole.size(); ++i) {
        const RatingSelection s = model.TripleAt(i);
        EXPECT_EQ(static_cast<std::size_t>((s.Threat * 7 + s.Layer) * 7 + s.Mechanism), i);
        EXPECT_EQ(whole[i].Triple.Layer, s.Layer);
        EXPECT_EQ(whole[i].Triple.Threat, s.Threat);
        EXPECT_EQ(whole[i].Triple.Mechanism, s.Mechanism);
    }
    // Pieces that start and end inside a layer's row and a threat's block.
    std::vector<TripleSensitivity> pieces(whole.size());
    const std::size_t cuts[] = { 0, 3, 4, 52, 53, 200, 343 };
    for (std::size_t k = 0; k + 1 < std::size(cuts); ++k)
        EXPECT_EQ(model.Compute(cuts[k], cuts[k + 1], std::span(pieces).subspan(cuts[k])), cuts[k + 1] - cuts[k]);
    for (std::size_t i = 0; i < whole.size(); ++i)
        for (RatingKind kind : kKinds) {
            EXPECT_EQ(Bits(pieces[i].Of(kind).Min), Bits(whole[i].Of(kind).Min));
            EXPECT_EQ(Bits(pieces[i].Of(kind).AtZero), Bits(whole[i].Of(kind).AtZero));
            EXPECT_EQ(Bits(pieces[i].Of(kind).Max), Bits(whole[i].Of(kind).Max));
        }

    std::vector<std::vector<TripleSensitivity>> rankings;
    for (unsigned threads : { 1u, 2u, 5u }) {
        SensitivityOptions options;
        options.Threads = threads;
        rankings.push_back(RankSensitivity(d, options).Ranking);
    }
    for (const auto& r : rankings) {
        ASSERT_EQ(r.size(), whole.size());
        for (std::size_t i = 0; i < r.size(); ++i) {
            EXPECT_EQ(r[i].Triple.Layer, rankings[0][i].Triple.Layer);
            EXPECT_EQ(r[i].Triple.Threat, rankings[0][i].Triple.Threat);
            EXPECT_EQ(r[i].Triple.Mechanism, rankings[0][i].Triple.Mechanism);
            EXPECT_EQ(Bits(r[i].Rm.Min), Bits(rankings[0][i].Rm.Min));
            EXPECT_EQ(Bits(r[i].Re.Max), Bits(rankings[0][i].Re.Max));
        }
    }
}

TEST(Sensitivity, StoppingEndsTheRunEarlyAndSaysSo)
{
    const CData d = Walked(40, 9u);
    // One thread, so that the stop falls after exactly one piece: one threat's 40 x 40
    // triples.
    std::stop_source source;
    SensitivityOptions options;
    options.Threads = 1;
    options.Stop = source.get_token();
    int reports = 0;
    options.Progress = [&](std::size_t done, std::size_t total) {
        ++reports;
        EXPECT_EQ(done, 1600u);
        EXPECT_EQ(total, 64000u);
        source.request_stop();
    };
    const SensitivityResult r = RankSensitivity(d, options);
    EXPECT_TRUE(r.Stopped);
    EXPECT_EQ(r.Total, 64000u);
    EXPECT_EQ(r.Computed, 1600u);
    EXPECT_TRUE(r.Ranking.empty());
    EXPECT_EQ(reports, 1);

    // A stop inside a piece ends it after the current layer's row.
    const SensitivityModel model(d);
    std::stop_source inside;
    std::vector<TripleSensitivity> out(64000);
    int rows = 0;
    std::size_t finished = 0;
    for (std::size_t first = 0; first < 1600; first += 40, ++rows) {
        if (rows == 3)
            inside.request_stop();
        finished += model.Compute(first, first + 40, std::span(out).subspan(first), inside.get_token());
    }
    EXPECT_EQ(finished, 120u);

    // Stopped before it began: nothing done, nothing reported.
    std::stop_source early;
    early.request_stop();
    SensitivityOptions before;
    before.Stop = early.get_token();
    before.Progress = [&](std::size_t, std::size_t) { ADD_FAILURE() << "a report after the stop"; };
    const SensitivityResult none = RankSensitivity(d, before);
    EXPECT_TRUE(none.Stopped);
    EXPECT_EQ(none.Computed, 0u);
    EXPECT_EQ(model.Compute(0, 100, out, early.get_token()), 0u);
}

TEST(Sensitivity, ProgressReachesTheTotal)
{
    const CData d = Walked(9, 3u);
    SensitivityOptions options;
    std::vector<std::size_t> reports;
    options.Progress = [&](std::size_t done, std::size_t total) {
        EXPECT_EQ(total, 729u);
        reports.push_back(done);
    };
    const SensitivityResult r = RankSensitivity(d, options);
    EXPECT_FALSE(r.Stopped);
    ASSERT_FALSE(reports.empty());
    EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
    EXPECT_EQ(reports.back(), 729u);
}

TEST(Sensitivity, TheStoreStaysBitForBit)
{
    for (const CData& d : { Walked(6, 17u), RandomInputs(4, 3, 5, -10.0f, 10.0f, 18u), [] {
                               CData z = Walked(3, 19u);
                               z.WeightedDamageMax = 0.0f;
                               return z;
                           }() }) {
        const CData before = d;
        RankSensitivity(d);
        EXPECT_EQ(StoreDifference(before, d), "");
    }
}

TEST(Sensitivity, EmptyListsHaveNoTriples)
{
    CData d = RandomInputs(3, 0, 2, 0.0f, 10.0f, 1u);
    const SensitivityResult r = RankSensitivity(d);
    EXPECT_EQ(r.Total, 0u);
    EXPECT_TRUE(r.Ranking.empty());
    EXPECT_FALSE(r.Stopped);
    EXPECT_EQ(RankSensitivity(CData()).Total, 0u);
}
