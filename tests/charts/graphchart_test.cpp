// The distribution chart, drawn on a recorder.
#include "ui/charts/GraphChart.h"

#include "../core/support/MatrixLiterals.h"
#include "RecordingCanvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <vector>

namespace {

constexpr Rgb kMagenta { 255, 0, 255 };
constexpr Rgb kYellow { 255, 255, 128 };
constexpr Rgb kFloor { 128, 128, 64 };
const float kNaN = std::numeric_limits<float>::quiet_NaN();

Vector MakeVector(const std::vector<float>& values)
{
    Vector v(static_cast<int>(values.size()));
    for (int i = 0; i < v.Size(); ++i)
        v(i) = values[static_cast<std::size_t>(i)];
    return v;
}

CellSelection AllCells()
{
    CellSelection cells;
    for (auto& row : cells)
        row.fill(true);
    return cells;
}

// The chart of a matrix with its own distributions, as the window draws it.
RecordingCanvas Chart(const Matrix& result, float small, float medium, const CellSelection& cells = AllCells())
{
    RecordingCanvas canvas;
    DrawChart(canvas, result, result.ColumnNorms(), result.RowNorms(), small, medium, cells);
    return canvas;
}

// A band as its first front-face line shows it: that line runs up the left edge of the
// front face from the band's bottom to its top.
struct Band {
    Point Bottom;
    int Height;
    int Lines;
    friend bool operator==(const Band&, const Band&) = default;
};

std::optional<Band> FirstBand(const RecordingCanvas& canvas, Rgb colour)
{
    const auto lines = canvas.Lines(colour);
    if (lines.empty())
        return std::nullopt;
    return Band { lines[0].A, lines[0].A.Y - lines[0].B.Y, static_cast<int>(lines.size()) };
}

std::ostream& operator<<(std::ostream& out, const Band& b)
{
    return out << "{(" << b.Bottom.X << ", " << b.Bottom.Y << "), h " << b.Height << ", " << b.Lines << " lines}";
}

TEST(GraphChart, RoundHalfDownRoundsUpOnlyAboveOneHalf)
{
    struct Case {
        float x;
        int expected;
    };
    for (const Case c :
        { Case { 74.5f, 74 }, Case { 74.50001f, 75 }, Case { 2.5f, 2 }, Case { 2.51f, 3 }, Case { 150.0f, 150 },
            Case { 0.0f, 0 }, Case { -2.7f, -2 }, Case { -0.6f, 0 }, Case { 1e20f, std::numeric_limits<int>::max() },
            Case { -1e20f, std::numeric_limits<int>::min() }, Case { kNaN, 0 } })
        EXPECT_EQ(RoundHalfDown(c.x), c.expected) << c.x;
}

TEST(GraphChart, BeforeAnyComputationOnlyTheAxesAndTheFloorAreDrawn)
{
    const RecordingCanvas canvas = Chart(Matrix(), 0.2f, 0.4f);
    const auto black = canvas.Lines(kBlack);
    ASSERT_EQ(black.size(), 3u);
    EXPECT_EQ(black[0].A, (Point { 160, 510 }));
    EXPECT_EQ(black[0].B, (Point { 410, 260 }));
    EXPECT_EQ(black[1].B, (Point { 410, 10 }));
    EXPECT_EQ(black[2].A, (Point { 410, 260 }));
    EXPECT_EQ(black[2].B, (Point { 760, 260 }));

    const auto floor = canvas.Lines(kFloor);
    ASSERT_EQ(floor.size(), 32u);
    EXPECT_EQ(floor[0].A, (Point { 190, 530 }));
    EXPECT_EQ(floor[15].A, (Point { 490, 530 }));
    EXPECT_EQ(floor[15].B, (Point { 760, 260 }));
    EXPECT_EQ(floor[16].A, (Point { 392, 280 }));
    EXPECT_EQ(floor[31].A, (Point { 167, 505 }));
    EXPECT_EQ(floor[31].B, (Point { 517, 505 }));
    EXPECT_EQ(canvas.Drawn.size(), 35u);
    // The floor pen was only borrowed.
    EXPECT_EQ(canvas.CurrentPen(), Pen {});
}

TEST(GraphChart, PrismsAreBandedByTheThresholds)
{
    struct Case {
        const char* what;
        Matrix result;
        float small, medium;
        std::optional<Band> green, dark, red;
    };
    const Case cases[] = {
        // M = 0.5: v = 150, t1 = 60, t2 = 120.
        { "three bands", MakeMatrix({ { 0.5f } }), 0.2f, 0.4f, Band { { 425, 295 }, 60, 55 },
            Band { { 425, 235 }, 60, 55 }, Band { { 425, 175 }, 30, 55 } },
        { "largest cell, threshold above it", MakeMatrix({ { 0.5f } }), 0.5f, 0.7f, Band { { 425, 295 }, 150, 55 },
            std::nullopt, std::nullopt },
        { "equal thresholds", MakeMatrix({ { 1.0f } }), 0.4f, 0.4f, Band { { 425, 295 }, 60, 55 },
            Band { { 425, 235 }, 0, 55 }, Band { { 425, 235 }, 90, 55 } },
        { "up to the medium threshold", MakeMatrix({ { 1.0f } }), 0.2f, 1.0f, Band { { 425, 295 }, 30, 55 },
            Band { { 425, 265 }, 120, 55 }, std::nullopt },
        // T * 150 / M far beyond an int: drawn as a height above every prism.
        { "huge threshold", MakeMatrix({ { 1e-30f } }), 1.0f, 2.0f, Band { { 425, 295 }, 150, 55 }, std::nullopt,
            std::nullopt },
        // 74.5 rounds down, 74.50001 up.
        { "half a pixel", MakeMatrix({ { 74.5f, 150.0f } }), 1000.0f, 2000.0f, Band { { 425, 295 }, 74, 110 },
            std::nullopt, std::nullopt },
        { "just above half a pixel", MakeMatrix({ { 74.50001f, 150.0f } }), 1000.0f, 2000.0f,
            Band { { 425, 295 }, 75, 110 }, std::nullopt, std::nullopt },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const RecordingCanvas canvas = Chart(c.result, c.small, c.medium);
        EXPECT_EQ(FirstBand(canvas, kSmallBandColour), c.green);
        EXPECT_EQ(FirstBand(canvas, kMediumBandColour), c.dark);
        EXPECT_EQ(FirstBand(canvas, kLargeBandColour), c.red);
    }
}

TEST(GraphChart, PrismFacesAndEdgesOfTheOneCellChart)
{
    // The red band of the 0.5 cell: from 175 up to 145 at the front, 130 at the back.
    const RecordingCanvas canvas = Chart(MakeMatrix({ { 0.5f } }), 0.2f, 0.4f);
    const auto red = canvas.Lines(kLargeBandColour);
    ASSERT_EQ(red.size(), 55u);
    EXPECT_EQ(red[19].A, (Point { 444, 175 })); // last front-face line
    EXPECT_EQ(red[20].A, (Point { 445, 175 })); // first side-face line
    EXPECT_EQ(red[20].B, (Point { 445, 145 }));
    EXPECT_EQ(red[34].A, (Point { 459, 161 })); // last side-face line
    EXPECT_EQ(red[34].B, (Point { 459, 131 }));
    EXPECT_EQ(red[35].A, (Point { 425, 145 })); // first top-face line
    EXPECT_EQ(red[35].B, (Point { 440, 130 }));

    // Black edges of the red band follow its faces.
    std::vector<std::pair<Point, Point>> black;
    for (const auto& p : canvas.Lines(kBlack))
        black.emplace_back(p.A, p.B);
    const std::pair<Point, Point> expected[] = {
        { { 425, 175 }, { 445, 175 } },
        { { 445, 175 }, { 445, 145 } },
        { { 445, 145 }, { 425, 145 } },
        { { 425, 145 }, { 425, 175 } },
        { { 445, 145 }, { 460, 130 } },
        { { 460, 130 }, { 460, 160 } },
        { { 460, 130 }, { 440, 130 } },
        { { 440, 130 }, { 425, 145 } },
        { { 445, 175 }, { 460, 160 } },
    };
    ASSERT_GE(black.size(), std::size(expected));
    EXPECT_TRUE(std::equal(std::begin(expected), std::end(expected), black.end() - std::size(expected)));
}

TEST(GraphChart, WallsShowTheDistributionsScaledToTheirLargest)
{
    RecordingCanvas canvas;
    DrawChart(canvas, Matrix(), MakeVector({ 0.3f, 0.6f, 0.0f }), MakeVector({ 0.25f, 1.0f }), 0.2f, 0.4f, AllCells());

    const auto bars = canvas.All(Primitive::Kind::Rectangle);
    ASSERT_EQ(bars.size(), 3u);
    EXPECT_EQ(bars[0].A, (Point { 460, 160 }));
    EXPECT_EQ(bars[0].B, (Point { 481, 261 }));
    EXPECT_EQ(bars[1].A, (Point { 480, 60 }));
    EXPECT_EQ(bars[2].A, (Point { 500, 260 })); // a zero still shows as its outline
    EXPECT_EQ(bars[0].FilledWith.Colour, kMagenta);
    EXPECT_EQ(bars[0].DrawnWith, Pen {});

    // Slab of row 2 (height 200) where it meets the Y axis at (375, 295).
    const auto yellow = canvas.Lines(kYellow);
    ASSERT_EQ(yellow.size(), 30u);
    EXPECT_EQ(yellow[0].A, (Point { 390, 280 }));
    EXPECT_EQ(yellow[0].B, (Point { 390, 230 })); // row 1: 0.25 of 1.0 is 50 px
    EXPECT_EQ(yellow[15].A, (Point { 375, 295 }));
    EXPECT_EQ(yellow[15].B, (Point { 375, 95 }));
    EXPECT_EQ(yellow[29].A, (Point { 361, 309 }));

    const auto texts = canvas.All(Primitive::Kind::Text);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1].Text, "2");
    EXPECT_EQ(texts[1].A, (Point { 363, 282 }));
    EXPECT_EQ(texts[1].Background, kYellow);
    EXPECT_EQ(canvas.All(Primitive::Kind::Line).size(), 35u + 30u + 2u * 4u);
}

TEST(GraphChart, RowTwelveIsNumberedAt213And432)
{
    RecordingCanvas canvas;
    DrawChart(canvas, Matrix(), Vector(), MakeVector(std::vector<float>(12, 1.0f)), 0.2f, 0.4f, AllCells());
    const auto texts = canvas.All(Primitive::Kind::Text);
    ASSERT_EQ(texts.size(), 12u);
    EXPECT_EQ(texts[11].Text, "12");
    EXPECT_EQ(texts[11].A, (Point { 213, 432 }));
}

TEST(GraphChart, OnlySelectedCellsInsideTheTableGetPrismsBackToFront)
{
    CellSelection cells = AllCells();
    cells[0][0] = false;
    const RecordingCanvas canvas = Chart(MakeMatrix({ { 1.0f, 1.0f }, { 1.0f, 1.0f } }), 2.0f, 3.0f, cells);
    // Every prism is green only; the first line of each is its front face's left edge.
    std::vector<Point> corners;
    const auto green = canvas.Lines(kSmallBandColour);
    for (std::size_t k = 0; k < green.size(); k += 55)
        corners.push_back(green[k].A);
    EXPECT_EQ(corners, (std::vector<Point> { { 445, 295 }, { 410, 310 }, { 430, 310 } }));
    // The cleared cell still counts on the walls.
    EXPECT_EQ(canvas.All(Primitive::Kind::Rectangle).size(), 2u);
    EXPECT_EQ(canvas.All(Primitive::Kind::Text).size(), 2u);

    // A 16 x 16 matrix: 225 prisms, yet 16 bars and slabs.
    Matrix big;
    big.Resize(16, 16);
    for (int i = 0; i < 16; ++i)
        for (int j = 0; j < 16; ++j)
            big(i, j) = 1.0f;
    const RecordingCanvas large = Chart(big, 2.0f, 3.0f);
    EXPECT_EQ(large.Lines(kSmallBandColour).size(), 225u * 55u);
    EXPECT_EQ(large.All(Primitive::Kind::Rectangle).size(), 16u);
    EXPECT_EQ(large.All(Primitive::Kind::Text).size(), 16u);
}

TEST(GraphChart, NothingIsDrawnFromZerosOrFromValuesThatAreNotNumbers)
{
    // All zero: the largest values are not above 0, so no bars, slabs or prisms.
    EXPECT_EQ(Chart(MakeMatrix({ { 0.0f, 0.0f }, { 0.0f, 0.0f } }), 0.2f, 0.4f).Drawn.size(), 35u);

    // A cell that is not a number gets no prism and its distributions no bar or slab.
    const RecordingCanvas nan = Chart(MakeMatrix({ { kNaN, 1.0f }, { 1.0f, 1.0f } }), 2.0f, 3.0f);
    EXPECT_EQ(nan.Lines(kSmallBandColour).size(), 3u * 55u);
    EXPECT_EQ(nan.All(Primitive::Kind::Rectangle).size(), 1u);
    EXPECT_EQ(nan.All(Primitive::Kind::Text).size(), 1u);

    // A threshold that is not a number: no band limits, so no prisms at all.
    EXPECT_TRUE(Chart(MakeMatrix({ { 1.0f } }), kNaN, 3.0f).Lines(kSmallBandColour).empty());
}

} // namespace
