#include "model/Data.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

CheckList Items(std::initializer_list<std::pair<const char*, bool>> items)
{
    CheckList list;
    for (const auto& [name, checked] : items)
        list.push_back({ name, checked });
    return list;
}

// Gives every element of every source matrix a distinct value from its row and
// column names, so a test can tell where each value came from.
float Code(int which, int row, int col)
{
    return static_cast<float>(which * 10000 + row * 100 + col + 1);
}

void FillByPosition(CData& d)
{
    Matrix* mats[] = { &d.MT, &d.TE, &d.ET, &d.TM, &d.EF, &d.FM };
    for (int w = 0; w < 6; ++w)
        for (int i = 0; i < mats[w]->Rows(); ++i)
            for (int j = 0; j < mats[w]->Cols(); ++j)
                (*mats[w])(i, j) = Code(w, i, j);
}

struct Lists {
    CheckList layers, threats, mechanisms;
};

CData Prepared(const Lists& l)
{
    CData d;
    d.PrepareForAnalysis(l.layers, l.threats, l.mechanisms);
    FillByPosition(d);
    return d;
}

} // namespace

TEST(CData, CollectSelectionKeepsAllNamesAndCheckedPositions)
{
    CData d;
    d.LayerIndices = { "9" };
    d.CollectSelection(Items({ { "A", false }, { "B", true }, { "C", true } }), Items({ { "T", false } }),
        Items({ { "M1", true }, { "M2", false } }));
    EXPECT_EQ(d.LayerNames, (std::vector<std::string> { "A", "B", "C" }));
    EXPECT_EQ(d.LayerIndices, (std::vector<std::string> { "1", "2" }));
    EXPECT_EQ(d.LayerCount, 2);
    EXPECT_EQ(d.ThreatNames, (std::vector<std::string> { "T" }));
    EXPECT_TRUE(d.ThreatIndices.empty());
    EXPECT_EQ(d.ThreatCount, 0);
    EXPECT_EQ(d.MechanismIndices, (std::vector<std::string> { "0" }));
    EXPECT_EQ(d.MechanismCount, 1);
    EXPECT_EQ(d.LayerName(1), "C");
    EXPECT_EQ(d.MechanismName(0), "M1");
}

TEST(CData, PrepareMovesValuesWithTheirNames)
{
    // A, B, C checked; then A is deleted and added again at the end.
    Lists before { Items({ { "A", true }, { "B", true }, { "C", true } }), Items({ { "T1", true }, { "T2", true } }),
        Items({ { "M", true } }) };
    CData d = Prepared(before);
    const CData old = d;
    d.PrepareForAnalysis(Items({ { "B", true }, { "C", true }, { "A", true } }), before.threats, before.mechanisms);

    ASSERT_EQ(d.LayerCount, 3);
    const int newOf[3] = { 2, 0, 1 }; // old layer position -> new
    for (int l = 0; l < 3; ++l) {
        for (int t = 0; t < 2; ++t) {
            EXPECT_EQ(d.TE(t, newOf[l]), old.TE(t, l));
            EXPECT_EQ(d.ET(newOf[l], t), old.ET(l, t));
            EXPECT_EQ(d.EF(newOf[l], t), old.EF(l, t));
        }
    }
    // Layer-free matrices keep everything while a layer survives.
    for (int t = 0; t < 2; ++t) {
        EXPECT_EQ(d.MT(0, t), old.MT(0, t));
        EXPECT_EQ(d.TM(t, 0), old.TM(t, 0));
        EXPECT_EQ(d.FM(t, 0), old.FM(t, 0));
    }
}

TEST(CData, PrepareDropsUncheckedAndRenamed)
{
    Lists before { Items({ { "A", true }, { "B", true }, { "C", true } }), Items({ { "T1", true }, { "T2", true } }),
        Items({ { "M", true } }) };
    CData d = Prepared(before);
    const CData old = d;

    // Uncheck B: its row/column goes, the others stay.
    d.PrepareForAnalysis(Items({ { "A", true }, { "B", false }, { "C", true } }), before.threats, before.mechanisms);
    ASSERT_EQ(d.LayerCount, 2);
    ASSERT_EQ(d.TE.Cols(), 2);
    ASSERT_EQ(d.ET.Rows(), 2);
    EXPECT_EQ(d.ET(1, 1), old.ET(2, 1));
    EXPECT_EQ(d.TE(0, 1), old.TE(0, 2));

    // Rename T2: its rows and columns start at zero, T1's stay.
    CData r = Prepared(before);
    const CData oldR = r;
    r.PrepareForAnalysis(before.layers, Items({ { "T1", true }, { "T2 new", true } }), before.mechanisms);
    for (int l = 0; l < 3; ++l) {
        EXPECT_EQ(r.EF(l, 0), oldR.EF(l, 0));
        EXPECT_EQ(r.EF(l, 1), 0.0f);
        EXPECT_EQ(r.ET(l, 1), 0.0f);
        EXPECT_EQ(r.TE(1, l), 0.0f);
    }
    EXPECT_EQ(r.MT(0, 1), 0.0f);
    EXPECT_EQ(r.TM(1, 0), 0.0f);
    EXPECT_EQ(r.FM(1, 0), 0.0f);
    EXPECT_EQ(r.FM(0, 0), oldR.FM(0, 0));
}

TEST(CData, PrepareKeepsNothingWhenNoLayerSurvives)
{
    Lists before { Items({ { "A", true } }), Items({ { "T", true } }), Items({ { "M", true } }) };
    CData d = Prepared(before);
    d.PrepareForAnalysis(Items({ { "A", false }, { "Z", true } }), before.threats, before.mechanisms);
    ASSERT_EQ(d.LayerCount, 1);
    // Even the matrices without a layer side start over.
    EXPECT_EQ(d.MT(0, 0), 0.0f);
    EXPECT_EQ(d.TM(0, 0), 0.0f);
    EXPECT_EQ(d.FM(0, 0), 0.0f);
    EXPECT_EQ(d.EF(0, 0), 0.0f);
}

TEST(CData, PrepareDuplicateNamesTakeTheLastOldOccurrence)
{
    Lists before { Items({ { "L", true } }), Items({ { "T", true } }), Items({ { "X", true }, { "X", true } }) };
    CData d = Prepared(before);
    const CData old = d;
    d.PrepareForAnalysis(before.layers, before.threats, before.mechanisms);
    ASSERT_EQ(d.MechanismCount, 2);
    for (int q = 0; q < 2; ++q) {
        EXPECT_EQ(d.MT(q, 0), old.MT(1, 0));
        EXPECT_EQ(d.TM(0, q), old.TM(0, 1));
        EXPECT_EQ(d.FM(0, q), old.FM(0, 1));
    }
}

// Namesakes in every kind, moved about: each new position takes its last old namesake
// along every side of every matrix, and a name without an old namesake starts at zero.
TEST(CData, PrepareDuplicatesInEveryKindTakeTheLastOldNamesake)
{
    Lists before { Items({ { "A", true }, { "B", true }, { "A", true } }),
        Items({ { "T", true }, { "T", true }, { "U", true } }),
        Items({ { "X", true }, { "Y", true }, { "X", true } }) };
    CData d = Prepared(before);
    const CData old = d;
    d.PrepareForAnalysis(Items({ { "A", true }, { "N", true }, { "A", true }, { "B", true } }),
        Items({ { "U", true }, { "T", true } }), Items({ { "X", true }, { "X", true }, { "Y", true } }));

    // New position -> old position, -1 for none.
    const int layerFrom[] = { 2, -1, 2, 1 };
    const int threatFrom[] = { 2, 1 };
    const int mechanismFrom[] = { 2, 2, 1 };
    for (int l = 0; l < 4; ++l)
        for (int t = 0; t < 2; ++t) {
            const int pL = layerFrom[l], pT = threatFrom[t];
            SCOPED_TRACE(::testing::Message() << "layer " << l << " threat " << t);
            EXPECT_EQ(d.TE(t, l), pL < 0 ? 0.0f : old.TE(pT, pL));
            EXPECT_EQ(d.ET(l, t), pL < 0 ? 0.0f : old.ET(pL, pT));
            EXPECT_EQ(d.EF(l, t), pL < 0 ? 0.0f : old.EF(pL, pT));
        }
    for (int m = 0; m < 3; ++m)
        for (int t = 0; t < 2; ++t) {
            const int pM = mechanismFrom[m], pT = threatFrom[t];
            SCOPED_TRACE(::testing::Message() << "mechanism " << m << " threat " << t);
            EXPECT_EQ(d.MT(m, t), old.MT(pM, pT));
            EXPECT_EQ(d.TM(t, m), old.TM(pT, pM));
            EXPECT_EQ(d.FM(t, m), old.FM(pT, pM));
        }
}

TEST(CData, PrepareLeavesDerivedValuesAlone)
{
    Lists lists { Items({ { "L", true } }), Items({ { "T", false } }), Items({ { "M", true } }) };
    CData d;
    d.DamageEM.Resize(1, 1);
    d.DamageEM(0, 0) = 6.0f;
    d.WeightedDamageMax = 8.0f;
    d.ThresholdsOf(AnalysisMode::Damage).Small = 0.2f;
    d.HighLevel = 2.0f;
    d.PrepareForAnalysis(lists.layers, lists.threats, lists.mechanisms);
    EXPECT_EQ(d.ThreatCount, 0);
    EXPECT_EQ(d.MT.Rows(), 1);
    EXPECT_EQ(d.MT.Cols(), 0);
    EXPECT_EQ(d.TE.Rows(), 0);
    EXPECT_EQ(d.TE.Cols(), 1);
    EXPECT_EQ(d.DamageEM(0, 0), 6.0f);
    EXPECT_EQ(d.WeightedDamageMax, 8.0f);
    EXPECT_EQ(d.ThresholdsOf(AnalysisMode::Damage).Small, 0.2f);
    EXPECT_EQ(d.Thresholds[1].Small, 0.2f);
    EXPECT_EQ(d.HighLevel, 2.0f);

    CData empty;
    empty.PrepareForAnalysis({}, {}, {});
    EXPECT_EQ(empty.MT.Rows(), 0);
    EXPECT_EQ(empty.FM.Cols(), 0);
}
