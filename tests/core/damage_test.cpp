#include "analysis/Damage.h"

#include "model/Data.h"
#include "support/MatrixLiterals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using Rows = std::vector<std::vector<float>>;

} // namespace

TEST(ComputeDamageMatrices, ProductsInBothOrders)
{
    struct DamageCase {
        const char* Name;
        Rows Reliability, Weighted; // mechanisms x layers, layers x mechanisms
        Rows MM, EE;
        float Rm, Re;
    };
    const DamageCase cases[] = {
        { "one item", { { 0.5f } }, { { 0.8f } }, { { 0.4f } }, { { 0.4f } }, 0.4f, 0.4f },
        // One mechanism, two layers: the same trace, different diagonals.
        { "one mechanism, two layers", { { 1, 0.5f } }, { { 0.2f }, { 1 } }, { { 0.7f } },
            { { 0.2f, 0.1f }, { 1, 0.5f } }, 0.7f, std::sqrt(0.29f) },
        { "all-zero damage", { { 1, 0.5f }, { 0.25f, 1 } }, { { 0, 0 }, { 0, 0 } }, { { 0, 0 }, { 0, 0 } },
            { { 0, 0 }, { 0, 0 } }, 0, 0 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        CData d;
        d.ReliabilityME = MakeMatrix(c.Reliability);
        d.WeightedDamageEM = MakeMatrix(c.Weighted);
        const CData before = d;
        ComputeDamageMatrices(d);
        EXPECT_EQ(Elements(d.MM), c.MM);
        EXPECT_EQ(Elements(d.EE), c.EE);
        EXPECT_FLOAT_EQ(RatingIndicator(d.MM), c.Rm);
        EXPECT_FLOAT_EQ(RatingIndicator(d.EE), c.Re);
        EXPECT_TRUE(SameBits(d.ReliabilityME, before.ReliabilityME));
        EXPECT_TRUE(SameBits(d.WeightedDamageEM, before.WeightedDamageEM));
    }
}

TEST(ComputeDamageMatrices, MismatchedShapesGiveEmptyMatrices)
{
    CData d;
    d.ReliabilityME = MakeMatrix({ { 1, 2 } });
    d.WeightedDamageEM = MakeMatrix({ { 1, 2 } });
    d.MM = MakeMatrix({ { 5 } });
    d.EE = MakeMatrix({ { 5 } });
    ComputeDamageMatrices(d);
    EXPECT_EQ(d.MM.Rows(), 0);
    EXPECT_EQ(d.MM.Cols(), 0);
    EXPECT_EQ(d.EE.Rows(), 0);
    EXPECT_EQ(RatingIndicator(d.MM), 0.0f);
}

TEST(RatingIndicator, NormOfTheDiagonal)
{
    EXPECT_EQ(RatingIndicator(MakeMatrix({ { 3, 100 }, { -100, 4 } })), 5.0f);
    EXPECT_EQ(RatingIndicator(MakeMatrix({ { -2 } })), 2.0f);
    EXPECT_EQ(RatingIndicator(Matrix()), 0.0f); // no storage at all
    EXPECT_EQ(RatingIndicator(MakeMatrix({ { 1, 2, 3 }, { 4, 5, 6 } })), 0.0f); // not square
    EXPECT_TRUE(std::isnan(RatingIndicator(MakeMatrix({ { NAN, 0 }, { 0, 1 } }))));
}
