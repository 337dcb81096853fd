#include "model/NumberText.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <optional>
#include <random>
#include <string>

namespace {

// What the C library's "%g" gives in the C locale: the behaviour the files must keep.
std::string PrintfG(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return buffer;
}

} // namespace

TEST(NumberText, WritesSixSignificantDigitsLikeG)
{
    const struct {
        float value;
        const char* text;
    } cases[] = {
        { 0.5f, "0.5" },
        { 1.0f, "1" },
        { 0.0f, "0" },
        { -0.0f, "-0" },
        { 0.333333343f, "0.333333" },
        { 0.00001f, "1e-05" },
        { 1234567.0f, "1.23457e+06" },
        { 0.7f, "0.7" },
        { 0.123456789f, "0.123457" },
        { 999999.0f, "999999" },
        { 9999995.0f, "1e+07" },
        { 0.0001f, "0.0001" },
        { 0.00012345678f, "0.000123457" },
        { 100000.0f, "100000" },
        { -2.5f, "-2.5" },
        { 3.0e38f, "3e+38" },
        { 1.0e-40f, "9.99995e-41" },
        { std::numeric_limits<float>::denorm_min(), "1.4013e-45" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatGeneral(c.value), c.text) << c.text;
        EXPECT_EQ(FormatGeneral(c.value), PrintfG(c.value)) << c.text;
    }
}

TEST(NumberText, MatchesPrintfOnRandomFloats)
{
    std::mt19937 random(20240601);
    for (int i = 0; i < 200000; ++i) {
        const float value = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
        if (!std::isfinite(value))
            continue;
        ASSERT_EQ(FormatGeneral(value), PrintfG(value)) << std::bit_cast<std::uint32_t>(value);
    }
}

// A file written, read and written again must not change: six digits are enough to
// bring every float back to a value that prints the same.
TEST(NumberText, WrittenFloatsReadBackToTheSameText)
{
    std::mt19937 random(7);
    for (int i = 0; i < 200000; ++i) {
        const float value = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
        if (!std::isfinite(value))
            continue;
        const std::string text = FormatGeneral(value);
        float back = 0.0f;
        ASSERT_TRUE(ParseFloat(text, back)) << text;
        ASSERT_EQ(FormatGeneral(back), text);
    }
}

TEST(NumberText, ParsesOnlyWholeDecimalTextWithAtMostOneSign)
{
    const struct {
        const char* text;
        bool ok;
        float value;
    } floats[] = {
        { "0.5", true, 0.5f },
        { "1e-05", true, 0.00001f },
        { "1.23457e+06", true, 1234570.0f },
        { "-0.25", true, -0.25f },
        { ".5", true, 0.5f },
        { "7.", true, 7.0f },
        { "1.4013e-45", true, std::numeric_limits<float>::denorm_min() },
        { "+1", true, 1.0f },
        { "+0.5", true, 0.5f },
        { "+.5", true, 0.5f },
        { "+1e-05", true, 0.00001f },
        { "", false, 0 },
        { "+", false, 0 },
        { "++1", false, 0 },
        { "+-1", false, 0 },
        { "-+1", false, 0 },
        { "+ 1", false, 0 },
        { "1+", false, 0 },
        { "+inf", false, 0 },
        { "+nan", false, 0 },
        { "+0x10", false, 0 },
        { "+1e39", false, 0 },
        { "0,5", false, 0 },
        { "0.5x", false, 0 },
        { " 1", false, 0 },
        { "1e", false, 0 },
        { "0x10", false, 0 },
        { "1e39", false, 0 },
        { "1e-50", false, 0 },
        { "nan", false, 0 },
        { "-inf", false, 0 },
        { "infinity", false, 0 },
    };
    for (const auto& c : floats) {
        float value = 42.0f;
        EXPECT_EQ(ParseFloat(c.text, value), c.ok) << '"' << c.text << '"';
        EXPECT_EQ(value, c.ok ? c.value : 42.0f) << '"' << c.text << '"';
    }

    const struct {
        const char* text;
        bool ok;
        int value;
    } ints[] = {
        { "0", true, 0 },
        { "007", true, 7 },
        { "2147483647", true, 2147483647 },
        { "-3", true, -3 },
        { "2147483648", false, 0 },
        { "+7", true, 7 },
        { "+007", true, 7 },
        { "+2147483647", true, 2147483647 },
        { "", false, 0 },
        { "+", false, 0 },
        { "-", false, 0 },
        { "++7", false, 0 },
        { "+-7", false, 0 },
        { "-+7", false, 0 },
        { "+ 7", false, 0 },
        { "7+", false, 0 },
        { "+0x7", false, 0 },
        { "+2147483648", false, 0 },
        { "1.0", false, 0 },
        { "12a", false, 0 },
        { "1 ", false, 0 },
    };
    for (const auto& c : ints) {
        int value = 42;
        EXPECT_EQ(ParseInt(c.text, value), c.ok) << '"' << c.text << '"';
        EXPECT_EQ(value, c.ok ? c.value : 42) << '"' << c.text << '"';
    }
}

TEST(ParseTypedNumber, AcceptsWhatTheAnalystTypes)
{
    struct Case {
        const char* Text;
        std::optional<double> Expected;
    };
    const Case cases[] = {
        { "0", 0.0 },
        { "1", 1.0 },
        { "10.00", 10.0 },
        { ".5", 0.5 },
        { "5.", 5.0 },
        { ".", 0.0 }, // a lone point is 0
        { "-.", 0.0 },
        { " 2.5 ", 2.5 },
        { "\t7", 7.0 },
        { "+3", 3.0 },
        { "-0.25", -0.25 },
        { "1e2", 100.0 },
        { "2.5E-1", 0.25 },
        { "1e+1", 10.0 },
        { "1e-400", 0.0 }, // below every double: zero
        { "", std::nullopt },
        { " ", std::nullopt },
        { "+", std::nullopt },
        { "-", std::nullopt },
        { "..", std::nullopt },
        { "1.2.3", std::nullopt },
        { "1,5", std::nullopt },
        { "1e", std::nullopt },
        { "e5", std::nullopt },
        { "1 2", std::nullopt },
        { "+-1", std::nullopt },
        { "inf", std::nullopt },
        { "nan", std::nullopt },
        { "0x10", std::nullopt },
        { "1e999", std::nullopt }, // beyond every double
        { "5a", std::nullopt },
    };
    for (const Case& c : cases) {
        const std::optional<double> got = ParseTypedNumber(c.Text);
        ASSERT_EQ(got.has_value(), c.Expected.has_value()) << '"' << c.Text << '"';
        if (got) {
            EXPECT_EQ(*got, *c.Expected) << '"' << c.Text << '"';
        }
    }
}
