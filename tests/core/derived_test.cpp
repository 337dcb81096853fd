#include "analysis/Derived.h"
#include "analysis/Modes.h"

#include "model/Data.h"
#include "support/MatrixLiterals.h"
#include "support/RandomAssessment.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Rows = std::vector<std::vector<float>>;

constexpr AnalysisMode kReliability = AnalysisMode::Reliability;
constexpr AnalysisMode kDamage = AnalysisMode::Damage;
constexpr AnalysisMode kFrequency = AnalysisMode::Frequency;
constexpr AnalysisMode kWeighted = AnalysisMode::WeightedDamage;

struct ModeCase {
    const char* Name;
    AnalysisMode Mode;
    Rows Source0, Source1;
    Rows Result; // what the window keeps
    Rows Stored; // what the store receives as the derived matrix
    std::vector<float> RowDistribution, ColumnDistribution;
    float WeightedDamageMax; // mode 4 only
};

Matrix& StoredResult(CData& d, AnalysisMode mode)
{
    switch (mode) {
    case AnalysisMode::Reliability:
        return d.ReliabilityME;
    case AnalysisMode::Damage:
        return d.DamageEM;
    case AnalysisMode::Frequency:
        return d.FrequencyEM;
    case AnalysisMode::WeightedDamage:
        break;
    }
    return d.WeightedDamageEM;
}

GraphWorkingData Work(AnalysisMode mode, const Rows& s0, const Rows& s1)
{
    GraphWorkingData w;
    w.Mode = mode;
    w.SourceMatrices = { MakeMatrix(s0), MakeMatrix(s1) };
    return w;
}

} // namespace

TEST(ComputeDerivedMatrix, ResultsDistributionsAndStore)
{
    const ModeCase cases[] = {
        // The product [[0.5, 1], [1, 0.5]] already has its maximum at 1.
        { "mode 1", kReliability, { { 1, 0 }, { 0, 1 } }, { { 0.5f, 1 }, { 1, 0.5f } }, { { 0.5f, 1 }, { 1, 0.5f } },
            { { 0.5f, 1 }, { 1, 0.5f } }, { 1.118034f, 1.118034f }, { 1.118034f, 1.118034f }, 0 },
        // Mode 1 divides the window's own result by the maximum too.
        { "mode 1 normalised", kReliability, { { 1, 2 } }, { { 1, 2 }, { 1, 3 } }, { { 0.375f, 1 } }, { { 0.375f, 1 } },
            { 1.0680005f }, { 0.375f, 1 }, 0 },
        // An all-zero product is left as it is, with no division by zero.
        { "mode 1 zero", kReliability, { { 0, 0 } }, { { 0 }, { 0 } }, { { 0 } }, { { 0 } }, { 0 }, { 0 }, 0 },
        // Modes 2 and 3 are not normalised.
        { "mode 2", kDamage, { { 2 } }, { { 3 } }, { { 6 } }, { { 6 } }, { 6 }, { 6 }, 0 },
        { "mode 3", kFrequency, { { 1, 2 }, { 3, 4 } }, { { 1, 0, 2 }, { 0, 1, 1 } }, { { 1, 2, 4 }, { 3, 4, 10 } },
            { { 1, 2, 4 }, { 3, 4, 10 } }, { 4.582576f, 11.180340f }, { 3.1622777f, 4.472136f, 10.770330f }, 0 },
        // Mode 4 keeps the raw product and stores it normalised.
        { "mode 4", kWeighted, { { 2, 4 } }, { { 1, 2 } }, { { 2, 8 } }, { { 0.25f, 1 } }, { 8.246211f }, { 2, 8 }, 8 },
        { "mode 4 zero", kWeighted, { { 0, 3 } }, { { 5, 0 } }, { { 0, 0 } }, { { 0, 0 } }, { 0 }, { 0, 0 }, 0 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        CData d;
        d.WeightedDamageMax = -7.0f;
        GraphWorkingData w = Work(c.Mode, c.Source0, c.Source1);
        ComputeDerivedMatrix(w, d);
        EXPECT_EQ(Elements(w.ResultMatrix), c.Result);
        EXPECT_EQ(Elements(StoredResult(d, c.Mode)), c.Stored);
        for (std::size_t i = 0; i < c.RowDistribution.size(); ++i)
            EXPECT_FLOAT_EQ(w.RowDistribution(static_cast<int>(i)), c.RowDistribution[i]);
        for (std::size_t j = 0; j < c.ColumnDistribution.size(); ++j)
            EXPECT_FLOAT_EQ(w.ColumnDistribution(static_cast<int>(j)), c.ColumnDistribution[j]);
        EXPECT_EQ(w.RowDistribution.Size(), static_cast<int>(c.RowDistribution.size()));
        EXPECT_EQ(w.ColumnDistribution.Size(), static_cast<int>(c.ColumnDistribution.size()));
        EXPECT_EQ(d.WeightedDamageMax, c.Mode == kWeighted ? c.WeightedDamageMax : -7.0f);
    }
}

// Each mode writes its own two sources and its result, and nothing else.
TEST(ComputeDerivedMatrix, WritesOnlyItsOwnPartOfTheStore)
{
    CData original = RandomAssessment(3, 11);
    ComputeAllModes(original);
    for (AnalysisMode mode : kAnalysisModes) {
        SCOPED_TRACE(ModeNumber(mode));
        CData d = original;
        GraphWorkingData w;
        w.Mode = mode;
        w.SourceMatrices = SourceMatricesOf(d, mode);
        // The window's edits reach the store only through the computation.
        w.SourceMatrices[0](0, 0) = 0.5f;
        w.SourceMatrices[1](1, 2) = 0.25f;
        ComputeDerivedMatrix(w, d);

        Matrix stored = w.ResultMatrix;
        if (mode == kWeighted)
            stored.NormalizeByMax();
        struct Member {
            const Matrix& Now;
            const Matrix& Before;
            int OwnerMode;
            const Matrix* Expected;
        };
        const Member members[] = {
            { d.MT, original.MT, 1, &w.SourceMatrices[0] },
            { d.TE, original.TE, 1, &w.SourceMatrices[1] },
            { d.ET, original.ET, 2, &w.SourceMatrices[0] },
            { d.TM, original.TM, 2, &w.SourceMatrices[1] },
            { d.EF, original.EF, 3, &w.SourceMatrices[0] },
            { d.FM, original.FM, 3, &w.SourceMatrices[1] },
            { d.ReliabilityME, original.ReliabilityME, 1, &stored },
            { d.DamageEM, original.DamageEM, 2, &stored },
            { d.FrequencyEM, original.FrequencyEM, 3, &stored },
            { d.WeightedDamageEM, original.WeightedDamageEM, 4, &stored },
            { d.MM, original.MM, 0, nullptr },
            { d.EE, original.EE, 0, nullptr },
        };
        for (std::size_t k = 0; k < std::size(members); ++k) {
            const Member& m = members[k];
            EXPECT_TRUE(SameBits(m.Now, m.OwnerMode == ModeNumber(mode) ? *m.Expected : m.Before)) << "member " << k;
        }
        if (mode == kWeighted)
            EXPECT_EQ(d.WeightedDamageMax, w.ResultMatrix.MaxElement());
        else
            EXPECT_EQ(d.WeightedDamageMax, original.WeightedDamageMax);
        // The store holds copies: later edits in the window do not reach it.
        if (mode != kWeighted) {
            w.SourceMatrices[0](0, 0) = 9.0f;
            EXPECT_EQ(SourceMatricesOf(d, mode)[0](0, 0), 0.5f);
        }
    }
}

TEST(ComputeDerivedMatrix, SecondComputationUsesTheCurrentSources)
{
    CData d;
    GraphWorkingData w = Work(kDamage, { { 2 } }, { { 3 } });
    ComputeDerivedMatrix(w, d);
    w.SourceMatrices[1](0, 0) = 5.0f;
    ComputeDerivedMatrix(w, d);
    EXPECT_EQ(d.DamageEM(0, 0), 10.0f);
    EXPECT_EQ(d.TM(0, 0), 5.0f);
    EXPECT_EQ(ResultGridTexts(w).At(1, 0), "10.00");
}

// The mode-4 window works on the copies it took; a later mode-2 computation changes the
// store but not them.
TEST(ComputeDerivedMatrix, ModeFourKeepsTheCopiesItTook)
{
    CData d;
    GraphWorkingData w2 = Work(kDamage, { { 2 } }, { { 1, 1 } });
    ComputeDerivedMatrix(w2, d);
    GraphWorkingData w3 = Work(kFrequency, { { 1 } }, { { 1, 2 } });
    ComputeDerivedMatrix(w3, d);
    GraphWorkingData w4;
    w4.Mode = kWeighted;
    w4.SourceMatrices = SourceMatricesOf(d, kWeighted);

    w2.SourceMatrices[0](0, 0) = 4.0f;
    ComputeDerivedMatrix(w2, d);
    EXPECT_EQ(Elements(d.DamageEM), (Rows { { 4, 4 } }));
    ComputeDerivedMatrix(w4, d);
    EXPECT_EQ(Elements(w4.ResultMatrix), (Rows { { 2, 4 } }));
    EXPECT_EQ(d.WeightedDamageMax, 4.0f);
}

TEST(ComputeAllModes, ModeFourUsesTheMatricesJustComputed)
{
    CData d = RandomAssessment(4, 5);
    const auto works = ComputeAllModes(d);
    for (AnalysisMode mode : kAnalysisModes)
        EXPECT_EQ(works[ModeIndex(mode)].Mode, mode);
    EXPECT_TRUE(SameBits(works[3].SourceMatrices[0], d.DamageEM));
    EXPECT_TRUE(SameBits(works[3].SourceMatrices[1], d.FrequencyEM));
    EXPECT_TRUE(SameBits(works[3].ResultMatrix, Matrix::ElementwiseProduct(d.DamageEM, d.FrequencyEM)));
    EXPECT_EQ(d.WeightedDamageMax, works[3].ResultMatrix.MaxElement());
    EXPECT_EQ(d.ReliabilityME.MaxElement(), 1.0f);
    EXPECT_EQ(d.WeightedDamageEM.MaxElement(), 1.0f);
    EXPECT_EQ(d.ReliabilityME.Rows(), 4);
    EXPECT_EQ(d.ReliabilityME.Cols(), 4);
}

TEST(ResultGridTexts, DistributionsInTheLeftColumnAndBottomRow)
{
    GraphWorkingData w
        = Work(kFrequency, { { 1, 2 }, { 3, 4 } }, { { 1, 0, 2 }, { 0, 1, 1 } }); // result [[1, 2, 4], [3, 4, 10]]
    CData d;
    ComputeDerivedMatrix(w, d);
    const ResultGrid g = ResultGridTexts(w);
    ASSERT_EQ(g.ColumnCount, 4);
    ASSERT_EQ(g.RowCount, 3);
    const std::vector<std::vector<std::string>> expected = {
        // [column][row]
        { "4.58", "11.18", "" },
        { "1.00", "3.00", "3.16" },
        { "2.00", "4.00", "4.47" },
        { "4.00", "10.00", "10.77" },
    };
    EXPECT_EQ(g.Cells, expected);
    EXPECT_EQ(g.SelectedColumn(), 0);
    EXPECT_EQ(g.SelectedRow(), 2);
}

TEST(ResultGridTexts, SmallAndDegenerateResults)
{
    struct GridCase {
        const char* Name;
        GraphWorkingData Work;
        std::vector<std::vector<std::string>> Cells;
    };
    GridCase cases[] = {
        { "one element", Work(kDamage, { { 2 } }, { { 3 } }), { { "6.00", "" }, { "6.00", "6.00" } } },
        { "mode 4 raw", Work(kWeighted, { { 2, 4 } }, { { 1, 2 } }),
            { { "8.25", "" }, { "2.00", "2.00" }, { "8.00", "8.00" } } },
        // Mismatched shapes give an empty result: one empty cell.
        { "shape mismatch", Work(kReliability, { { 1, 2 } }, { { 1, 2 } }), { { "" } } },
        // Nothing analysed on one side: rows without columns.
        { "no columns", Work(kDamage, Rows { {}, {} }, Rows {}), { { "0.00", "0.00", "" } } },
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.Name);
        CData d;
        ComputeDerivedMatrix(c.Work, d);
        EXPECT_EQ(ResultGridTexts(c.Work).Cells, c.Cells);
    }
}
