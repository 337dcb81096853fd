// The sort under the big tables: the radix order of rows by their keys against the
// standard library's stable sort, on keys that use every digit, few keys, keys already
// in order and in reverse, with one scratch carried from each sort to the next; and the
// keys numbers and names become.
#include "ui/widgets/SortedTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<std::uint32_t> ReferenceOrder(const std::vector<std::uint32_t>& keys)
{
    std::vector<std::uint32_t> order(keys.size());
    std::iota(order.begin(), order.end(), std::uint32_t { 0 });
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) { return keys[a] < keys[b]; });
    return order;
}

TEST(SortedTableTest, OrdersRowsByTheirKeysAsAStableSortDoes)
{
    std::mt19937 rng(61);
    struct Case {
        std::string Name;
        std::vector<std::uint32_t> Keys;
    };
    std::vector<Case> cases;
    const auto keys = [&](std::size_t n, auto draw) {
        std::vector<std::uint32_t> k(n);
        for (std::uint32_t& key : k)
            key = draw();
        return k;
    };
    // Many equal keys in each digit, and keys that differ only in the highest digit.
    cases.push_back({ "every digit", keys(200000, [&] { return rng() & 0xF00F01FFu; }) });
    cases.push_back({ "few names", keys(50000, [&] { return rng() % 100; }) });
    cases.push_back({ "highest digit only", keys(30000, [&] { return (rng() % 5) << 29; }) });
    cases.push_back({ "one key", keys(1000, [] { return 7u; }) });
    cases.push_back({ "none", {} });
    cases.push_back({ "one row", { 42u } });
    std::vector<std::uint32_t> ascending = keys(40000, [&] { return rng(); });
    std::sort(ascending.begin(), ascending.end());
    cases.push_back({ "in order", ascending });
    cases.push_back({ "in reverse", std::vector<std::uint32_t>(ascending.rbegin(), ascending.rend()) });

    SortScratch scratch;
    std::vector<std::uint32_t> order;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        StableOrderByKeys(c.Keys, order, scratch);
        EXPECT_EQ(order, ReferenceOrder(c.Keys));
    }
}

TEST(SortedTableTest, NumbersKeyInTheirOrderWithWhatIsNotFiniteLast)
{
    const float inf = std::numeric_limits<float>::infinity();
    const float largest = std::numeric_limits<float>::max();
    const float tiny = std::numeric_limits<float>::denorm_min();
    // Strictly increasing.
    const float finite[] = { -largest, -1000.5f, -1.0f, -tiny, 0.0f, tiny, 0.01f, 1.0f, 1.0000001f, largest };
    for (std::size_t k = 1; k < std::size(finite); ++k)
        EXPECT_LT(FloatSortKey(finite[k - 1]), FloatSortKey(finite[k])) << finite[k - 1] << " " << finite[k];
    EXPECT_EQ(FloatSortKey(-0.0f), FloatSortKey(0.0f));
    // Not finite: after every finite value, and no order among themselves.
    for (float odd : { inf, -inf, std::nanf(""), -std::nanf("") }) {
        EXPECT_GT(FloatSortKey(odd), FloatSortKey(largest)) << odd;
        EXPECT_EQ(FloatSortKey(odd), FloatSortKey(inf)) << odd;
    }

    const int ints[] = { std::numeric_limits<int>::min(), -100, -1, 0, 1, 99, std::numeric_limits<int>::max() };
    for (std::size_t k = 1; k < std::size(ints); ++k)
        EXPECT_LT(IntSortKey(ints[k - 1]), IntSortKey(ints[k])) << ints[k];
}

} // namespace
