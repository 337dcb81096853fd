#include "analysis/Format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

struct FormatCase {
    double Value;
    int Decimals;
    const char* Expected;
};

} // namespace

// Rounding is half away from zero on the exact binary value, which is not always the
// decimal literal the value was written as.
TEST(FormatFixed, RoundsTheExactBinaryValueHalfAwayFromZero)
{
    const FormatCase cases[] = {
        { 0.125, 2, "0.13" },
        { -0.125, 2, "-0.13" },
        { 1.005f, 2, "1.00" }, // 1.00499999523...
        { 1.125f, 2, "1.13" },
        { 0.7f, 2, "0.70" }, // 0.699999988...
        { 9.995, 2, "9.99" }, // 9.99499999999999921...
        { 9.996, 2, "10.00" },
        { 99.95, 1, "100.0" }, // 99.9500000000000028...
        { 0.25, 1, "0.3" },
        { -0.25, 1, "-0.3" },
        { 0.05f, 1, "0.1" }, // 0.0500000007...
        { 0.05, 1, "0.1" }, // 0.05000000000000000277...
        { 0.15, 1, "0.1" }, // 0.1499999999999999944...
        { 2.5, 0, "3" },
        { -2.5, 0, "-3" },
        { 0.49999999999999994, 0, "0" },
        { 13.0f, 2, "13.00" },
        { 1.1180340051651f, 2, "1.12" },
        { 1234567.0, 2, "1234567.00" },
        { 1e20, 2, "100000000000000000000.00" },
        { 0.0, 2, "0.00" },
        { 0.0, 1, "0.0" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatFixed(c.Value, c.Decimals), c.Expected) << c.Value << " with " << c.Decimals;
}

TEST(FormatFixed, NegativeValuesThatShowAsZeroHaveNoSign)
{
    EXPECT_EQ(FormatFixed(-0.0, 2), "0.00");
    EXPECT_EQ(FormatFixed(-0.001, 2), "0.00");
    EXPECT_EQ(FormatFixed(-0.004999, 2), "0.00");
    EXPECT_EQ(FormatFixed(-0.005, 2), "-0.01"); // -0.005000000000000000104...
    EXPECT_EQ(FormatFixed(-0.04, 1), "0.0");
    EXPECT_EQ(FormatFixed(-std::numeric_limits<double>::denorm_min(), 2), "0.00");
}

TEST(FormatFixed, ExtremeFiniteValues)
{
    EXPECT_EQ(FormatFixed(std::numeric_limits<double>::denorm_min(), 2), "0.00");
    const std::string big = FormatFixed(std::numeric_limits<double>::max(), 2);
    EXPECT_EQ(big.size(), 309u + 3u);
    EXPECT_EQ(big.substr(0, 5), "17976");
    EXPECT_EQ(big.substr(big.size() - 3), ".00");
    EXPECT_EQ(FormatFixed(std::numeric_limits<float>::max(), 2), "340282346638528859811704183484516925440.00");
}

TEST(FormatFixed, NonFiniteValuesHaveTheirOwnTexts)
{
    EXPECT_EQ(FormatFixed(std::numeric_limits<double>::quiet_NaN(), 2), "NAN");
    EXPECT_EQ(FormatFixed(-std::numeric_limits<double>::quiet_NaN(), 2), "NAN");
    EXPECT_EQ(FormatFixed(std::numeric_limits<double>::infinity(), 2), "INF");
    EXPECT_EQ(FormatFixed(-std::numeric_limits<double>::infinity(), 1), "-INF");
}
