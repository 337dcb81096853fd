// The distribution chart drawn through QPainter into an image: its bands and numbers land
// on their pixels.
#include "ui/charts/GraphChart.h"
#include "ui/widgets/QtCanvas.h"

#include "model/Matrix.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cstdint>

namespace {

constexpr Rgb kMagenta { 255, 0, 255 };
constexpr Rgb kYellow { 255, 255, 128 };

CellSelection AllCells()
{
    CellSelection cells;
    for (auto& row : cells)
        row.fill(true);
    return cells;
}

Matrix MakeMatrix(float value)
{
    Matrix m;
    m.Resize(1, 1);
    m(0, 0) = value;
    return m;
}

TEST(GraphChart, DrawnThroughQPainterTheBandsAndNumbersLandOnTheirPixels)
{
    QImage image(800, 600, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        QtCanvas canvas(painter);
        const Matrix result = MakeMatrix(0.5f);
        DrawChart(canvas, result, result.ColumnNorms(), result.RowNorms(), 0.2f, 0.4f, AllCells());
    }
    const auto colour = [&](int x, int y) {
        const QColor c = image.pixelColor(x, y);
        return Rgb { static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
            static_cast<std::uint8_t>(c.blue()) };
    };
    // Up the front face at x = 435: bottom edge, green, shared edge, dark, edge, red, edge.
    EXPECT_EQ(colour(435, 295), kBlack);
    EXPECT_EQ(colour(435, 294), kSmallBandColour);
    EXPECT_EQ(colour(435, 236), kSmallBandColour);
    EXPECT_EQ(colour(435, 235), kBlack);
    EXPECT_EQ(colour(435, 234), kMediumBandColour);
    EXPECT_EQ(colour(435, 175), kBlack);
    EXPECT_EQ(colour(435, 146), kLargeBandColour);
    EXPECT_EQ(colour(435, 145), kBlack);
    // The column bar from 60 to 260 and the number "1" on its slab at (378, 267).
    EXPECT_EQ(colour(460, 60), kBlack);
    EXPECT_EQ(colour(470, 100), kMagenta);
    EXPECT_EQ(colour(480, 100), kBlack);
    EXPECT_EQ(colour(378, 267), kYellow);
}

} // namespace
