// Two assessments side by side: ratings and diagonals from a plain walk of each, items
// matched by name as the store carries judgements over, and the judgements that differ.
#include "analysis/Compare.h"

#include "analysis/Damage.h"
#include "analysis/Derived.h"
#include "model/Data.h"
#include "model/SourceMatrices.h"
#include "model/Utf8Path.h"
#include "support/RandomAssessment.h"
#include "support/RecordingSink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

std::uint32_t Bits(float f)
{
    return std::bit_cast<std::uint32_t>(f);
}

// The walk written out here rather than through AnalysedCopy, so that the comparison is
// checked against what a report run does.
struct Plain {
    float Rm = 0.0f;
    float Re = 0.0f;
    Matrix MM;
    Matrix EE;
};

Plain PlainRun(CData data)
{
    ComputeAllModes(data);
    ComputeDamageMatrices(data);
    return { RatingIndicator(data.MM), RatingIndicator(data.EE), data.MM, data.EE };
}

CData LoadedExample()
{
    CData d;
    RecordingSink sink;
    EXPECT_TRUE(d.LoadFromFile(Utf8FromPath(PathFromUtf8(VARDUN_TEST_DATA) / "example.sav"), sink));
    return d;
}

CheckList Checked(const std::vector<std::string>& names)
{
    CheckList list;
    for (const std::string& name : names)
        list.push_back({ name, true });
    return list;
}

// A store over the given analysed names with every judgement drawn at random (multiples
// of 0.01 within each source's range).
CData Assessment(const std::vector<std::string>& layers, const std::vector<std::string>& threats,
    const std::vector<std::string>& mechanisms, std::uint32_t seed)
{
    CData d;
    d.CollectSelection(Checked(layers), Checked(threats), Checked(mechanisms));
    std::mt19937 rng(seed);
    for (const SourceMatrixInfo& source : kSourceMatrices) {
        Matrix& m = d.*source.Member;
        m.Resize(d.CountOf(source.Rows), d.CountOf(source.Cols));
        const auto top = static_cast<std::uint32_t>(source.Maximum * 100.0f);
        for (int i = 0; i < m.Rows(); ++i)
            for (int j = 0; j < m.Cols(); ++j)
                m(i, j) = static_cast<float>(rng() % (top + 1)) / 100.0f;
    }
    return d;
}

// The check lists that describe a store's current selection, to edit and hand back to
// PrepareForAnalysis.
CheckList ListOf(const CData& d, ItemKind kind)
{
    CheckList list;
    for (const std::string& name : d.NamesOf(kind))
        list.push_back({ name, false });
    for (const std::string& entry : d.IndicesOf(kind))
        list[static_cast<std::size_t>(IndexValue(entry))].Checked = true;
    return list;
}

// Every diagonal element on each side is the plain walk's, with the difference of the two.
void ExpectItemValues(const std::vector<ItemComparison>& items, const Matrix& thisSquare, const Matrix& otherSquare)
{
    for (const ItemComparison& item : items) {
        ASSERT_EQ(item.This.has_value(), item.ThisPosition.has_value()) << item.Name;
        ASSERT_EQ(item.Other.has_value(), item.OtherPosition.has_value()) << item.Name;
        if (item.ThisPosition) {
            EXPECT_EQ(Bits(*item.This), Bits(thisSquare(*item.ThisPosition, *item.ThisPosition))) << item.Name;
        }
        if (item.OtherPosition) {
            EXPECT_EQ(Bits(*item.Other), Bits(otherSquare(*item.OtherPosition, *item.OtherPosition))) << item.Name;
        }
        ASSERT_EQ(item.Difference.has_value(), item.This && item.Other) << item.Name;
        if (item.Difference) {
            EXPECT_EQ(Bits(*item.Difference), Bits(*item.Other - *item.This)) << item.Name;
        }
    }
}

void ExpectRating(const RatingComparison& r, float before, float after, const char* what)
{
    EXPECT_EQ(Bits(r.This), Bits(before)) << what;
    EXPECT_EQ(Bits(r.Other), Bits(after)) << what;
    EXPECT_EQ(Bits(r.Difference), Bits(after - before)) << what;
    ASSERT_TRUE(r.RelativeChange.has_value()) << what;
    EXPECT_EQ(Bits(*r.RelativeChange), Bits((after - before) / before)) << what;
}

struct ItemRow {
    std::string Name;
    int ThisPosition; // -1: none
    int OtherPosition;
};

void ExpectItems(const std::vector<ItemComparison>& items, const std::vector<ItemRow>& expected, const char* what)
{
    ASSERT_EQ(items.size(), expected.size()) << what;
    for (std::size_t k = 0; k < items.size(); ++k) {
        EXPECT_EQ(items[k].Name, expected[k].Name) << what << " " << k;
        EXPECT_EQ(items[k].ThisPosition.value_or(-1), expected[k].ThisPosition) << what << " " << k;
        EXPECT_EQ(items[k].OtherPosition.value_or(-1), expected[k].OtherPosition) << what << " " << k;
    }
}

} // namespace

TEST(CompareAssessments, AnAssessmentAgainstItselfDiffersNowhere)
{
    for (const CData& d : { LoadedExample(), RandomAssessment(9, 31) }) {
        const AssessmentComparison c = CompareAssessments(d, d);
        const Plain plain = PlainRun(d);
        ASSERT_NE(plain.Rm, 0.0f);
        ExpectRating(c.Rm, plain.Rm, plain.Rm, "Rm");
        ExpectRating(c.Re, plain.Re, plain.Re, "Re");
        EXPECT_EQ(Bits(*c.Rm.RelativeChange), 0u);

        ASSERT_EQ(c.Mechanisms.size(), static_cast<std::size_t>(d.MechanismCount));
        ASSERT_EQ(c.Layers.size(), static_cast<std::size_t>(d.LayerCount));
        for (int k = 0; k < d.MechanismCount; ++k) {
            const ItemComparison& item = c.Mechanisms[static_cast<std::size_t>(k)];
            EXPECT_EQ(item.Name, d.MechanismName(k));
            EXPECT_EQ(item.ThisPosition, k);
            EXPECT_EQ(item.OtherPosition, k);
            EXPECT_EQ(Bits(*item.Difference), 0u);
        }
        for (int k = 0; k < d.LayerCount; ++k) {
            EXPECT_EQ(c.Layers[static_cast<std::size_t>(k)].Name, d.LayerName(k));
            EXPECT_EQ(Bits(*c.Layers[static_cast<std::size_t>(k)].Difference), 0u);
        }
        ExpectItemValues(c.Mechanisms, plain.MM, plain.MM);
        ExpectItemValues(c.Layers, plain.EE, plain.EE);
        EXPECT_TRUE(c.Changed.empty());
        for (int count : c.ChangedPerSource)
            EXPECT_EQ(count, 0);
        EXPECT_FALSE(c.NoSharedItem);
    }
}

// One cell changed in each source in turn: exactly that cell is listed, under the names of
// its row and column items, and the ratings are those of a plain walk of each store.
TEST(CompareAssessments, OneChangedJudgementInEachSource)
{
    const CData base = RandomAssessment(5, 77);
    const Plain before = PlainRun(base);
    for (std::size_t s = 0; s < kSourceMatrices.size(); ++s) {
        const SourceMatrixInfo& source = kSourceMatrices[s];
        SCOPED_TRACE(source.Name);
        CData other = base;
        const int row = 3, column = 1;
        const float was = (other.*source.Member)(row, column);
        const float is = was == 0.5f ? 0.25f : 0.5f;
        (other.*source.Member)(row, column) = is;

        const AssessmentComparison c = CompareAssessments(base, other);
        ASSERT_EQ(c.Changed.size(), 1u);
        const ChangedJudgement& cell = c.Changed[0];
        EXPECT_EQ(cell.Source, static_cast<SourceId>(s));
        EXPECT_EQ(cell.Row, base.AnalysedName(source.Rows, row));
        EXPECT_EQ(cell.Column, base.AnalysedName(source.Cols, column));
        EXPECT_EQ(cell.ThisRow, row);
        EXPECT_EQ(cell.ThisColumn, column);
        EXPECT_EQ(cell.OtherRow, row);
        EXPECT_EQ(cell.OtherColumn, column);
        EXPECT_EQ(Bits(cell.This), Bits(was));
        EXPECT_EQ(Bits(cell.Other), Bits(is));
        for (std::size_t k = 0; k < kSourceMatrices.size(); ++k)
            EXPECT_EQ(c.ChangedPerSource[k], k == s ? 1 : 0) << kSourceMatrices[k].Name;

        const Plain after = PlainRun(other);
        ASSERT_NE(Bits(after.Rm), Bits(before.Rm));
        ExpectRating(c.Rm, before.Rm, after.Rm, "Rm");
        ExpectRating(c.Re, before.Re, after.Re, "Re");
        ExpectItemValues(c.Mechanisms, before.MM, after.MM);
        ExpectItemValues(c.Layers, before.EE, after.EE);
    }
}

// The other assessment made from this one as the analyst would: lists edited, then the
// judgements carried over by name. Nothing carried counts as changed; an unchecked item
// is removed, a renamed one removed and added, a new one added, and reordered items stay
// paired with themselves.
TEST(CompareAssessments, AddedRemovedRenamedAndReorderedItems)
{
    const CData base = Assessment(
        { "Периметр", "Сеть", "Серверы" }, { "Вирус", "Утечка" }, { "Экран", "Антивирус", "Шифрование", "Аудит" }, 5);
    CData other = base;
    const CheckList layers = { { "Периметр", true }, { "Сеть", false }, { "Серверы", true }, { "ЦОД", true } };
    const CheckList mechanisms = { { "Аудит", true }, { "Антивирус", true }, { "Криптография", true },
        { "Экран", false }, { "Обучение", true } };
    other.PrepareForAnalysis(layers, ListOf(base, ItemKind::Threat), mechanisms);
    // A judgement about a new item is not a changed one.
    other.MT(3, 0) = 0.75f; // Обучение x Вирус
    other.ET(2, 1) = 3.0f; // ЦОД x Утечка

    AssessmentComparison c = CompareAssessments(base, other);
    ExpectItems(c.Mechanisms,
        { { "Экран", 0, -1 }, { "Антивирус", 1, 1 }, { "Шифрование", 2, -1 }, { "Аудит", 3, 0 },
            { "Криптография", -1, 2 }, { "Обучение", -1, 3 } },
        "mechanisms");
    ExpectItems(c.Layers, { { "Периметр", 0, 0 }, { "Сеть", 1, -1 }, { "Серверы", 2, 1 }, { "ЦОД", -1, 2 } }, "layers");
    EXPECT_TRUE(c.Mechanisms[0].Removed());
    EXPECT_FALSE(c.Mechanisms[0].Other.has_value());
    EXPECT_TRUE(c.Mechanisms[4].Added());
    EXPECT_FALSE(c.Mechanisms[4].This.has_value());
    EXPECT_TRUE(c.Changed.empty());
    EXPECT_FALSE(c.NoSharedItem);
    const Plain before = PlainRun(base);
    const Plain after = PlainRun(other);
    ExpectItemValues(c.Mechanisms, before.MM, after.MM);
    ExpectItemValues(c.Layers, before.EE, after.EE);
    EXPECT_EQ(Bits(c.Rm.Other), Bits(after.Rm));
    EXPECT_EQ(Bits(c.Re.Other), Bits(after.Re));

    // A changed judgement of a moved item is found at its place in each store.
    other.TM(1, 0) = other.TM(1, 0) == 1.0f ? 2.0f : 1.0f; // Утечка x Аудит
    c = CompareAssessments(base, other);
    ASSERT_EQ(c.Changed.size(), 1u);
    const ChangedJudgement& cell = c.Changed[0];
    EXPECT_EQ(cell.Source, SourceId::TM);
    EXPECT_EQ(cell.Row, "Утечка");
    EXPECT_EQ(cell.Column, "Аудит");
    EXPECT_EQ(cell.ThisColumn, 3);
    EXPECT_EQ(cell.OtherColumn, 0);
    EXPECT_EQ(Bits(cell.This), Bits(base.TM(1, 3)));
    EXPECT_EQ(Bits(cell.Other), Bits(other.TM(1, 0)));
}

// Each of the other's namesakes pairs with the last namesake here, as the store carries
// judgements over: the earlier namesake counts as removed, the last one stands in a row
// for every namesake of the other.
TEST(CompareAssessments, NamesakesPairWithTheLastOne)
{
    const CData base = Assessment({ "Э" }, { "У" }, { "X", "Y", "X" }, 8);
    CData other = Assessment({ "Э" }, { "У" }, { "X", "X" }, 9);
    other.MT(0, 0) = base.MT(2, 0);
    other.MT(1, 0) = base.MT(2, 0) == 0.5f ? 0.25f : 0.5f;
    const AssessmentComparison c = CompareAssessments(base, other);
    ExpectItems(c.Mechanisms, { { "X", 0, -1 }, { "Y", 1, -1 }, { "X", 2, 0 }, { "X", 2, 1 } }, "mechanisms");
    ASSERT_EQ(c.ChangedIn(SourceId::MT), 1);
    EXPECT_EQ(c.Changed[0].Source, SourceId::MT);
    EXPECT_EQ(c.Changed[0].ThisRow, 2);
    EXPECT_EQ(c.Changed[0].OtherRow, 1);
}

// Whatever the list edits, namesakes included, a store and its own re-mapping differ in no
// judgement: the comparison pairs items exactly as the re-mapping carried them.
TEST(CompareAssessments, ARemappedStoreHasNoChangedJudgement)
{
    const std::vector<std::string> pool = { "A", "B", "C", "D" };
    std::mt19937 rng(2024);
    auto names = [&](std::size_t n) {
        std::vector<std::string> out;
        for (std::size_t k = 0; k < n; ++k)
            out.push_back(pool[rng() % pool.size()]);
        return out;
    };
    auto list = [&](std::size_t n) {
        CheckList out;
        for (const std::string& name : names(n))
            out.push_back({ name, rng() % 4 != 0 });
        return out;
    };
    int compared = 0;
    for (int round = 0; round < 300; ++round) {
        const CData base = Assessment(names(1 + rng() % 5), names(1 + rng() % 5), names(1 + rng() % 5), rng());
        CData other = base;
        other.PrepareForAnalysis(list(1 + rng() % 6), list(1 + rng() % 6), list(1 + rng() % 6));
        const AssessmentComparison c = CompareAssessments(base, other);
        // The re-mapping carries nothing unless an item of every kind survives.
        const bool carried = std::all_of(kItemKinds.begin(), kItemKinds.end(), [&](ItemKind kind) {
            for (int q = 0; q < other.CountOf(kind); ++q)
                for (int p = 0; p < base.CountOf(kind); ++p)
                    if (other.AnalysedName(kind, q) == base.AnalysedName(kind, p))
                        return true;
            return false;
        });
        if (!carried)
            continue;
        ++compared;
        EXPECT_TRUE(c.Changed.empty()) << "round " << round << ": " << c.Changed.size() << " changed";
    }
    EXPECT_GT(compared, 100);
}

TEST(CompareAssessments, NoSharedItemIsSaidPlainly)
{
    const CData base = Assessment({ "Э1", "Э2" }, { "У1" }, { "М1", "М2" }, 1);
    struct Case {
        const char* What;
        std::vector<std::string> Layers, Threats, Mechanisms;
        bool NoShared;
    };
    const Case cases[] = {
        { "nothing shared", { "Э3" }, { "У2" }, { "М3" }, true },
        { "only a threat shared", { "Э3" }, { "У1" }, { "М3" }, false },
        { "only a layer shared", { "Э2" }, { "У2" }, { "М3" }, false },
        { "only a mechanism shared", { "Э3" }, { "У2" }, { "М1" }, false },
    };
    for (const Case& k : cases) {
        const CData other = Assessment(k.Layers, k.Threats, k.Mechanisms, 2);
        const AssessmentComparison c = CompareAssessments(base, other);
        EXPECT_EQ(c.NoSharedItem, k.NoShared) << k.What;
        // A changed judgement needs its row and its column item in both stores: none
        // here shares two kinds.
        EXPECT_TRUE(c.Changed.empty()) << k.What;
    }
    const AssessmentComparison none = CompareAssessments(base, Assessment({ "Э3" }, { "У2" }, { "М3" }, 2));
    ExpectItems(none.Mechanisms, { { "М1", 0, -1 }, { "М2", 1, -1 }, { "М3", -1, 0 } }, "mechanisms");
    ExpectItems(none.Layers, { { "Э1", 0, -1 }, { "Э2", 1, -1 }, { "Э3", -1, 0 } }, "layers");
    // Two empty assessments share nothing either.
    EXPECT_TRUE(CompareAssessments(CData {}, CData {}).NoSharedItem);
}

// A rating of 0 has no relative change: 0 to 0 is no number, x to 0 no finite one.
TEST(CompareAssessments, RelativeChangeFromZeroIsNone)
{
    CData none = RandomAssessment(3, 4);
    for (int i = 0; i < none.ET.Rows(); ++i)
        for (int j = 0; j < none.ET.Cols(); ++j)
            none.ET(i, j) = 0.0f;
    const CData some = RandomAssessment(3, 4);
    const AssessmentComparison up = CompareAssessments(none, some);
    EXPECT_EQ(up.Rm.This, 0.0f);
    EXPECT_GT(up.Rm.Other, 0.0f);
    EXPECT_EQ(Bits(up.Rm.Difference), Bits(up.Rm.Other));
    EXPECT_FALSE(up.Rm.RelativeChange.has_value());
    EXPECT_FALSE(up.Re.RelativeChange.has_value());
    EXPECT_FALSE(CompareAssessments(none, none).Rm.RelativeChange.has_value());
    // Down to 0 is a change of exactly -100 %.
    const AssessmentComparison down = CompareAssessments(some, none);
    ASSERT_TRUE(down.Rm.RelativeChange.has_value());
    EXPECT_EQ(*down.Rm.RelativeChange, -1.0f);
}

// Judgements are the same when their bits are, or when both are no number; a store built
// by hand whose matrices do not fit its counts is compared where it can be.
TEST(CompareAssessments, SameJudgementIsBitForBitWithAnyNaNAlike)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float otherNan = std::bit_cast<float>(Bits(nan) | 1u);
    struct Case {
        float Was, Is;
        bool Changed;
    };
    const Case cases[] = {
        { nan, otherNan, false },
        { nan, 0.0f, true },
        { 0.5f, nan, true },
        { 0.0f, -0.0f, true },
        { 0.1f, 0.1f, false },
        { 0.1f, std::nextafter(0.1f, 1.0f), true },
    };
    const CData base = Assessment({ "Э" }, { "У" }, { "М" }, 3);
    for (const Case& k : cases) {
        CData a = base, b = base;
        a.FM(0, 0) = k.Was;
        b.FM(0, 0) = k.Is;
        EXPECT_EQ(CompareAssessments(a, b).Changed.size(), k.Changed ? 1u : 0u) << k.Was << " " << k.Is;
    }

    CData unfit = Assessment({ "Э" }, { "У", "У2" }, { "М", "М2" }, 4);
    unfit.MT.Resize(1, 1);
    const AssessmentComparison c = CompareAssessments(base, unfit);
    EXPECT_EQ(c.ChangedIn(SourceId::MT), base.MT(0, 0) == 0.0f ? 0 : 1);
    ASSERT_EQ(c.Mechanisms.size(), 2u);
    // MM is empty, since the shapes do not fit: its diagonal is no number.
    EXPECT_TRUE(std::isnan(*c.Mechanisms[0].Other));
    EXPECT_TRUE(std::isnan(*c.Mechanisms[1].Other));
}
