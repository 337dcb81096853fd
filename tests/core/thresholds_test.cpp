#include "analysis/Thresholds.h"

#include "model/Data.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <clocale>
#include <cstdint>

namespace {

struct ThresholdCase {
    const char* Small;
    const char* Medium;
    ThresholdCheck Expected;
};

std::array<std::uint32_t, 8> Bits(const CData& d)
{
    std::array<std::uint32_t, 8> bits {};
    for (std::size_t i = 0; i < 4; ++i) {
        bits[2 * i] = std::bit_cast<std::uint32_t>(d.Thresholds[i].Small);
        bits[2 * i + 1] = std::bit_cast<std::uint32_t>(d.Thresholds[i].Medium);
    }
    return bits;
}

} // namespace

TEST(ValidateThresholds, FailuresLeaveEveryThresholdAsItWas)
{
    const ThresholdCase cases[] = {
        { "", "0.5", ThresholdCheck::Missing },
        { "0.2", "", ThresholdCheck::Missing },
        { "", "", ThresholdCheck::Missing },
        { "", "x", ThresholdCheck::Missing }, // emptiness is checked before the numbers
        { "0.2.1", "0.5", ThresholdCheck::NotANumber },
        { "0.2.1", ".", ThresholdCheck::NotANumber },
        { "..", "1", ThresholdCheck::NotANumber },
        { "0.2", "+", ThresholdCheck::NotANumber },
        { "0.2", "1e", ThresholdCheck::NotANumber },
        { "0.2", "0x1", ThresholdCheck::NotANumber },
        { "0,2", "0.5", ThresholdCheck::NotANumber },
        { "0.2", "0.5 x", ThresholdCheck::NotANumber },
        { "abc", "0.5", ThresholdCheck::NotANumber },
        { "nan", "0.5", ThresholdCheck::NotANumber },
        { "0.2", "inf", ThresholdCheck::NotANumber },
        { "0.2", "1e999", ThresholdCheck::NotANumber },
        // A double, but beyond every float: stored, it would be an infinity that no
        // data file can hold, so every later save would fail.
        { "0.2", "400000000000000000000000000000000000000", ThresholdCheck::NotANumber },
        { "1e39", "1e40", ThresholdCheck::NotANumber },
        { "1.0.", "1.0.", ThresholdCheck::NotANumber }, // not a number wins over equality
        { "0", "0", ThresholdCheck::NotIncreasing }, // a new assessment
        { "0.5", "0.5", ThresholdCheck::NotIncreasing },
        { "0.5", "0.50", ThresholdCheck::NotIncreasing },
        { "0.6", "0.5", ThresholdCheck::NotIncreasing },
        // A lone point is 0, as the rating window's levels read it.
        { "0.2", ".", ThresholdCheck::NotIncreasing },
        // The same double, so equal, although the texts differ.
        { "0.3", "0.30000000000000001", ThresholdCheck::NotIncreasing },
    };
    for (const auto& c : cases) {
        CData d;
        for (std::size_t i = 0; i < 4; ++i)
            d.Thresholds[i] = { 0.1f * static_cast<float>(2 * i + 1), 0.1f * static_cast<float>(2 * i + 2) };
        const auto before = Bits(d);
        EXPECT_EQ(ValidateThresholds(d, AnalysisMode::Damage, c.Small, c.Medium), c.Expected)
            << c.Small << " / " << c.Medium;
        EXPECT_EQ(Bits(d), before) << c.Small << " / " << c.Medium;
    }
}

TEST(ValidateThresholds, AcceptedValuesGoToThatModeOnly)
{
    for (AnalysisMode mode : kAnalysisModes) {
        CData d;
        ASSERT_EQ(ValidateThresholds(d, mode, "0.2", "0.5"), ThresholdCheck::Accepted);
        for (AnalysisMode other : kAnalysisModes) {
            const bool same = other == mode;
            EXPECT_EQ(d.ThresholdsOf(other).Small, same ? 0.2f : 0.0f) << ModeNumber(mode) << ModeNumber(other);
            EXPECT_EQ(d.ThresholdsOf(other).Medium, same ? 0.5f : 0.0f) << ModeNumber(mode) << ModeNumber(other);
        }
    }
}

// The comparison is made on the parsed doubles, the values stored as floats: texts that
// differ only beyond float precision are accepted and then stored as one value.
TEST(ValidateThresholds, ComparesInDoublePrecisionAndStoresFloats)
{
    CData d;
    const AnalysisMode mode = AnalysisMode::Frequency;
    ASSERT_EQ(ValidateThresholds(d, mode, "0.3", "0.30000000001"), ThresholdCheck::Accepted);
    EXPECT_EQ(d.ThresholdsOf(mode).Small, 0.3f);
    EXPECT_EQ(d.ThresholdsOf(mode).Medium, 0.3f);

    ASSERT_EQ(ValidateThresholds(d, mode, ".5", " 12 "), ThresholdCheck::Accepted);
    EXPECT_EQ(d.ThresholdsOf(mode).Small, 0.5f);
    EXPECT_EQ(d.ThresholdsOf(mode).Medium, 12.0f);
}

TEST(ValidateThresholds, PointIsTheDecimalSeparatorWhateverTheLocale)
{
    // Where a locale with a decimal comma is installed, it must make no difference.
    const char* commaLocales[] = { "ru_RU.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8" };
    for (const char* name : commaLocales)
        if (std::setlocale(LC_ALL, name))
            break;
    CData d;
    EXPECT_EQ(ValidateThresholds(d, AnalysisMode::Reliability, "0.25", "1.5"), ThresholdCheck::Accepted);
    EXPECT_EQ(ValidateThresholds(d, AnalysisMode::Reliability, "0,25", "1,5"), ThresholdCheck::NotANumber);
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(d.ThresholdsOf(AnalysisMode::Reliability).Small, 0.25f);
    EXPECT_EQ(d.ThresholdsOf(AnalysisMode::Reliability).Medium, 1.5f);
}

TEST(ValidateThresholds, Messages)
{
    EXPECT_EQ(ThresholdMessage(ThresholdCheck::Accepted), "");
    EXPECT_EQ(ThresholdMessage(ThresholdCheck::Missing), "Введите пороговые значения !");
    EXPECT_EQ(ThresholdMessage(ThresholdCheck::NotANumber), "Ошика при вводе данных.");
    EXPECT_EQ(ThresholdMessage(ThresholdCheck::NotIncreasing),
        "Пороговое значение для малой величины должно меньше чем пороговое значение для средней величины!");
}
