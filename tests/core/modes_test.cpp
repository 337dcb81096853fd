#include "analysis/Modes.h"

#include "analysis/Derived.h"
#include "model/Data.h"
#include "model/SourceMatrices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

TEST(CheckSourceValue, RangesByMode)
{
    struct Case {
        AnalysisMode Mode;
        const char* Text;
        SourceValueCheck Expected;
        float Value;
    };
    const Case cases[] = {
        { AnalysisMode::Reliability, "1", SourceValueCheck::Accepted, 1.0f },
        { AnalysisMode::Reliability, "0", SourceValueCheck::Accepted, 0.0f },
        { AnalysisMode::Reliability, ".", SourceValueCheck::Accepted, 0.0f },
        { AnalysisMode::Reliability, ".5", SourceValueCheck::Accepted, 0.5f },
        { AnalysisMode::Reliability, "15", SourceValueCheck::OutOfRange, 0 },
        { AnalysisMode::Reliability, "1.001", SourceValueCheck::OutOfRange, 0 },
        { AnalysisMode::Reliability, "-0.1", SourceValueCheck::OutOfRange, 0 },
        { AnalysisMode::Damage, "10", SourceValueCheck::Accepted, 10.0f },
        { AnalysisMode::Damage, "11", SourceValueCheck::OutOfRange, 0 },
        { AnalysisMode::Frequency, "10.00", SourceValueCheck::Accepted, 10.0f },
        { AnalysisMode::Frequency, "10.01", SourceValueCheck::OutOfRange, 0 },
        { AnalysisMode::Damage, "", SourceValueCheck::Empty, 0 },
        { AnalysisMode::Damage, "1.2.", SourceValueCheck::NotANumber, 0 },
        { AnalysisMode::Damage, "x", SourceValueCheck::NotANumber, 0 },
    };
    for (const Case& c : cases) {
        float value = -99.0f;
        EXPECT_EQ(CheckSourceValue(c.Mode, c.Text, value), c.Expected) << c.Text;
        EXPECT_EQ(value, c.Expected == SourceValueCheck::Accepted ? c.Value : -99.0f) << c.Text;
    }
    EXPECT_EQ(SourceValueMessage(AnalysisMode::Reliability, SourceValueCheck::OutOfRange),
        "Значение должно находиться в интервале [0..1].");
    EXPECT_EQ(SourceValueMessage(AnalysisMode::Frequency, SourceValueCheck::OutOfRange),
        "Значение должно находиться в интервале [0..10].");
    EXPECT_EQ(SourceValueMessage(AnalysisMode::Damage, SourceValueCheck::NotANumber), "Ошика при вводе данных.");
    EXPECT_EQ(SourceValueMessage(AnalysisMode::Damage, SourceValueCheck::Accepted), "");
}

// The sources' shapes follow the kinds the table gives them: after a preparation every
// source of every mode has the counts of its row and column kinds.
TEST(ModeTable, SourceAndResultKindsMatchTheStoreShapes)
{
    CData d;
    d.LayerCount = 2;
    d.ThreatCount = 3;
    d.MechanismCount = 5;
    d.MT.Resize(5, 3);
    d.TE.Resize(3, 2);
    d.ET.Resize(2, 3);
    d.TM.Resize(3, 5);
    d.EF.Resize(2, 3);
    d.FM.Resize(3, 5);
    d.DamageEM.Resize(2, 5);
    d.FrequencyEM.Resize(2, 5);
    for (AnalysisMode mode : kAnalysisModes) {
        const ModeDescription& about = Describe(mode);
        EXPECT_EQ(about.Mode, mode);
        for (const SourceDescription& source : about.Sources) {
            EXPECT_EQ((d.*source.Member).Rows(), d.CountOf(source.Rows)) << ModeNumber(mode);
            EXPECT_EQ((d.*source.Member).Cols(), d.CountOf(source.Cols)) << ModeNumber(mode);
        }
        // The product's rows are the first source's, its columns the second's.
        EXPECT_EQ(about.ResultRows, about.Sources[0].Rows);
        EXPECT_EQ(about.ResultCols, about.Sources[1].Cols);
    }
}

// Every judgement at the top of its range gives each mode's largest result: what a
// threshold field must be able to take.
TEST(ModeTable, LargestResultIsWhatJudgementsAtTheirMaximumGive)
{
    for (const AnalysedCounts counts : { AnalysedCounts { 1, 1, 1 }, AnalysedCounts { 3, 8, 4 } }) {
        CData data;
        CheckList kinds[3];
        for (ItemKind kind : kItemKinds)
            for (int i = 0; i < counts.Of(kind); ++i)
                kinds[static_cast<std::size_t>(kind)].push_back({ "item " + std::to_string(i), true });
        data.PrepareForAnalysis(kinds[0], kinds[1], kinds[2]);
        for (const SourceMatrixInfo& source : kSourceMatrices) {
            Matrix& m = data.*source.Member;
            for (int i = 0; i < m.Rows(); ++i)
                for (int j = 0; j < m.Cols(); ++j)
                    m(i, j) = source.Maximum;
        }
        for (const GraphWorkingData& work : ComputeAllModes(data)) {
            float largest = 0.0f;
            for (int i = 0; i < work.ResultMatrix.Rows(); ++i)
                for (int j = 0; j < work.ResultMatrix.Cols(); ++j)
                    largest = std::max(largest, work.ResultMatrix(i, j));
            EXPECT_EQ(largest, LargestResult(work.Mode, counts)) << ModeNumber(work.Mode);
        }
    }
}
