#include "model/Matrix.h"
#include "tests/core/support/MatrixLiterals.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

std::uint32_t Bits(float f)
{
    return std::bit_cast<std::uint32_t>(f);
}

} // namespace

TEST(Matrix, ProductShapes)
{
    Matrix a, b, c;
    a.Resize(3, 2);
    b.Resize(2, 4);
    c.Resize(3, 4);
    const Matrix ab = Matrix::Product(a, b);
    EXPECT_EQ(ab.Rows(), 3);
    EXPECT_EQ(ab.Cols(), 4);
    const Matrix ac = Matrix::Product(a, c);
    EXPECT_EQ(ac.Rows(), 0);
    EXPECT_EQ(ac.Cols(), 0);

    Matrix d, e;
    d.Resize(2, 3);
    e.Resize(3, 2);
    const Matrix de = Matrix::ElementwiseProduct(d, e);
    EXPECT_EQ(de.Rows(), 0);
    EXPECT_EQ(de.Cols(), 0);
}

TEST(Matrix, ProductValues)
{
    const Matrix r = Matrix::Product(MakeMatrix({ { 1, 2 }, { 3, 4 } }), MakeMatrix({ { 5, 6 }, { 7, 8 } }));
    EXPECT_EQ(r(0, 0), 19.0f);
    EXPECT_EQ(r(0, 1), 22.0f);
    EXPECT_EQ(r(1, 0), 43.0f);
    EXPECT_EQ(r(1, 1), 50.0f);
}

// Each product is rounded to 32 bits and the accumulator after every addition, in
// ascending order: 1e8 + 1 - 1e8 gives 0 in floats where exact arithmetic gives 1.
TEST(Matrix, ProductAccumulatesInFloatAscending)
{
    const Matrix r = Matrix::Product(MakeMatrix({ { 1e8f, 1.0f, -1e8f } }), MakeMatrix({ { 1 }, { 1 }, { 1 } }));
    EXPECT_EQ(r(0, 0), 0.0f);
    const Matrix s = Matrix::Product(MakeMatrix({ { 1.0f, 1e8f, -1e8f } }), MakeMatrix({ { 1 }, { 1 }, { 1 } }));
    EXPECT_EQ(s(0, 0), 0.0f);
    const Matrix t = Matrix::Product(MakeMatrix({ { 1e8f, -1e8f, 1.0f } }), MakeMatrix({ { 1 }, { 1 }, { 1 } }));
    EXPECT_EQ(t(0, 0), 1.0f);
    // 0.1f * 0.1f rounded to float before the addition.
    const float p = 0.1f * 0.1f;
    const Matrix u
        = Matrix::Product(MakeMatrix({ { 0.1f, 0.1f, 0.1f } }), MakeMatrix({ { 0.1f }, { 0.1f }, { 0.1f } }));
    EXPECT_EQ(Bits(u(0, 0)), Bits((p + p) + p));
}

TEST(Matrix, MaxElementStartsAtMinusOne)
{
    EXPECT_EQ(Matrix().MaxElement(), -1.0f);
    EXPECT_EQ(MakeMatrix({ { -3, -3 }, { -3, -3 } }).MaxElement(), -1.0f);
    EXPECT_EQ(MakeMatrix({ { -0.5f, -2 } }).MaxElement(), -0.5f);
    EXPECT_EQ(MakeMatrix({ { 1, 7 }, { 4, 2 } }).MaxElement(), 7.0f);
}

TEST(Matrix, NormalizeByMax)
{
    Matrix zero = MakeMatrix({ { 0, 0 }, { 0, 0 } });
    zero.NormalizeByMax();
    EXPECT_EQ(zero(1, 1), 0.0f);
    EXPECT_FALSE(std::signbit(zero(0, 0)));

    Matrix four = MakeMatrix({ { 1, 4 }, { 2, 3 } });
    four.NormalizeByMax();
    EXPECT_EQ(four(0, 1), 1.0f);
    EXPECT_EQ(four(0, 0), 0.25f);
    EXPECT_EQ(four(1, 1), 0.75f);

    // All below -1: the running maximum stays -1 and the matrix is divided by it.
    Matrix negative = MakeMatrix({ { -2, -4 } });
    negative.NormalizeByMax();
    EXPECT_EQ(negative(0, 0), 2.0f);
    EXPECT_EQ(negative(0, 1), 4.0f);

    Matrix empty;
    EXPECT_EQ(&empty.NormalizeByMax(), &empty);
    EXPECT_EQ(empty.Rows(), 0);
}

TEST(Matrix, NormsAndDiagonal)
{
    const Matrix m = MakeMatrix({ { 3, 4 } });
    const Vector rows = m.RowNorms();
    ASSERT_EQ(rows.Size(), 1);
    EXPECT_EQ(rows(0), 5.0f);
    const Vector cols = m.ColumnNorms();
    ASSERT_EQ(cols.Size(), 2);
    EXPECT_EQ(cols(0), 3.0f);
    EXPECT_EQ(cols(1), 4.0f);

    Matrix wide;
    wide.Resize(2, 3);
    const Vector d = wide.Diagonal();
    EXPECT_EQ(d.Size(), 0);
    EXPECT_EQ(d.Norm(), 0.0f);
    EXPECT_EQ(Vector().Norm(), -1.0f);
    // A copy of a vector without storage has storage.
    const Vector none;
    const Vector copied(none);
    EXPECT_EQ(copied.Norm(), 0.0f);

    const Vector diag = MakeMatrix({ { 1, 9 }, { 9, 2 } }).Diagonal();
    ASSERT_EQ(diag.Size(), 2);
    EXPECT_EQ(diag(0), 1.0f);
    EXPECT_EQ(diag(1), 2.0f);
    EXPECT_EQ(Bits(diag.Norm()), Bits(static_cast<float>(std::sqrt(5.0))));
    EXPECT_EQ(Matrix().Diagonal().Norm(), 0.0f);
}

TEST(Matrix, ValueSemantics)
{
    Matrix target;
    target.Resize(4, 5);
    Matrix source = MakeMatrix({ { 1, 2 }, { 3, 4 } });
    target = source;
    EXPECT_EQ(target.Rows(), 2);
    EXPECT_EQ(target.Cols(), 2);
    source(0, 0) = 99;
    target(1, 1) = -5;
    EXPECT_EQ(target(0, 0), 1.0f);
    EXPECT_EQ(source(1, 1), 4.0f);

    Vector big(3);
    Vector small(2);
    small(0) = 7;
    small(1) = 8;
    big = small;
    ASSERT_EQ(big.Size(), 2);
    EXPECT_EQ(big(1), 8.0f);
    small(1) = 0;
    EXPECT_EQ(big(1), 8.0f);
}

TEST(Matrix, ScaleAndElementwise)
{
    Matrix m = MakeMatrix({ { 2, 4 }, { 6, -8 } });
    EXPECT_EQ(&m.Scale(0.5f), &m);
    EXPECT_EQ(m(0, 0), 1.0f);
    EXPECT_EQ(m(1, 1), -4.0f);
    const Matrix e = Matrix::ElementwiseProduct(MakeMatrix({ { 2, 4 } }), MakeMatrix({ { 1, 2 } }));
    EXPECT_EQ(e(0, 0), 2.0f);
    EXPECT_EQ(e(0, 1), 8.0f);
}

TEST(Matrix, ResizeZeroes)
{
    Matrix m = MakeMatrix({ { 1, 2 } });
    m.Resize(2, 2);
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j)
            EXPECT_EQ(m(i, j), 0.0f);
}
