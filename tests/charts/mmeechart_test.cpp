// The diagonal bar chart of the MM and EE window, on a recorder.
#include "ui/charts/MMEEChart.h"

#include "RecordingCanvas.h"
#include "model/Matrix.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {

constexpr Rgb kBlue { 0, 0, 255 };
const float kNaN = std::numeric_limits<float>::quiet_NaN();

// A square matrix with the given diagonal and a larger value off it, which must not count.
Matrix WithDiagonal(const std::vector<float>& diagonal)
{
    Matrix m;
    const int n = static_cast<int>(diagonal.size());
    m.Resize(n, n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            m(i, j) = i == j ? diagonal[static_cast<std::size_t>(i)] : 9.0f;
    return m;
}

struct Bar {
    int Left, Top;
    friend bool operator==(const Bar&, const Bar&) = default;
};

std::ostream& operator<<(std::ostream& out, const Bar& b)
{
    return out << "(" << b.Left << ", " << b.Top << ")";
}

// Each bar's left edge and top; checks that it runs 21 px wide down to the axis row.
std::vector<Bar> Bars(const RecordingCanvas& canvas)
{
    std::vector<Bar> bars;
    for (const auto& r : canvas.All(Primitive::Kind::Rectangle)) {
        EXPECT_EQ(r.B.X - r.A.X, 21);
        EXPECT_EQ(r.B.Y, 191);
        EXPECT_EQ(r.FilledWith.Colour, kBlue);
        EXPECT_EQ(r.DrawnWith, Pen {});
        bars.push_back({ r.A.X, r.A.Y });
    }
    return bars;
}

// The y of each tick: lines from x = 295 to 305.
std::vector<int> Ticks(const RecordingCanvas& canvas)
{
    std::vector<int> ticks;
    for (const auto& l : canvas.All(Primitive::Kind::Line))
        if (l.A.X == 295 && l.B.X == 305 && l.A.Y == l.B.Y)
            ticks.push_back(l.A.Y);
    return ticks;
}

Primitive DottedLine(const RecordingCanvas& canvas)
{
    const auto lines = canvas.All(Primitive::Kind::Line);
    EXPECT_FALSE(lines.empty());
    return lines.empty() ? Primitive {} : lines.back();
}

TEST(DiagonalChart, ScalesTheLargestElementTo120Pixels)
{
    RecordingCanvas canvas;
    const DiagonalChartLabels labels = DrawDiagonalChart(canvas, WithDiagonal({ 0.2f, 0.4f, 0.8f }));

    // Axes first: up the vertical one, then along the bottom.
    const auto lines = canvas.All(Primitive::Kind::Line);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0].A, (Point { 300, 30 }));
    EXPECT_EQ(lines[0].B, (Point { 300, 190 }));
    EXPECT_EQ(lines[1].B, (Point { 600, 190 }));

    // Heights 30, 60 and 120.
    EXPECT_EQ(Bars(canvas), (std::vector<Bar> { { 320, 160 }, { 340, 130 }, { 360, 70 } }));
    // 1.5 falls above the group box; it is drawn there, out of sight.
    EXPECT_EQ(Ticks(canvas), (std::vector<int> { 115, 40, -34 }));
    EXPECT_EQ(labels.Scale[0], (ChartLabel { "0.5", 111, true }));
    EXPECT_EQ(labels.Scale[1], (ChartLabel { "1.0", 36, true }));
    EXPECT_EQ(labels.Scale[2], (ChartLabel { "1.5", -38, true }));
    EXPECT_EQ(labels.Maximum, "0.80");
    EXPECT_EQ(labels.Indicator, "0.92"); // sqrt(0.04 + 0.16 + 0.64)

    const Primitive dotted = DottedLine(canvas);
    EXPECT_EQ(dotted.A, (Point { 360, 70 }));
    EXPECT_EQ(dotted.B, (Point { 300, 70 }));
    EXPECT_EQ(dotted.DrawnWith, (Pen { PenStyle::Dotted, kBlack, 1 }));
    EXPECT_EQ(canvas.CurrentPen(), Pen {});
    EXPECT_EQ(canvas.CurrentBrush(), Brush {});
}

TEST(DiagonalChart, EqualMaximaTakeTheFirst)
{
    RecordingCanvas canvas;
    const DiagonalChartLabels labels = DrawDiagonalChart(canvas, WithDiagonal({ 1.5f, 1.5f }));
    EXPECT_EQ(Bars(canvas), (std::vector<Bar> { { 320, 70 }, { 340, 70 } }));
    EXPECT_EQ(Ticks(canvas), (std::vector<int> { 150, 110, 70 }));
    EXPECT_EQ(DottedLine(canvas).A, (Point { 320, 70 }));
    EXPECT_EQ(labels.Maximum, "1.50");
    EXPECT_EQ(labels.Indicator, "2.12");
}

TEST(DiagonalChart, FifteenBarsRunPastTheEndOfTheAxis)
{
    RecordingCanvas canvas;
    DrawDiagonalChart(canvas, WithDiagonal(std::vector<float>(15, 1.0f)));
    const auto bars = Bars(canvas);
    ASSERT_EQ(bars.size(), 15u);
    EXPECT_EQ(bars[14], (Bar { 600, 70 }));
}

// A larger matrix shows its first 15 elements, scaled by the largest of them: a bar past the
// chart's edge, or a scale set by an element not drawn, would show nothing useful.
TEST(DiagonalChart, SixteenElementsShowTheirFirstFifteen)
{
    std::vector<float> diagonal(16, 1.0f);
    diagonal[3] = 2.0f;
    diagonal[15] = 8.0f;
    RecordingCanvas canvas;
    const DiagonalChartLabels labels = DrawDiagonalChart(canvas, WithDiagonal(diagonal));
    const auto bars = Bars(canvas);
    ASSERT_EQ(bars.size(), 15u);
    EXPECT_EQ(bars[3], (Bar { 380, 70 }));
    EXPECT_EQ(bars[14], (Bar { 600, 130 }));
    EXPECT_EQ(labels.Maximum, "2.00");
    EXPECT_EQ(DottedLine(canvas).A, (Point { 380, 70 }));
    // The rating is still the whole diagonal's.
    // sqrt(14 x 1 + 2 x 2 + 8 x 8) = sqrt(82)
    EXPECT_EQ(labels.Indicator, "9.06");
}

TEST(DiagonalChart, WithoutAPositiveElementThereIsNoScale)
{
    // The largest element is searched from -1 up: nothing at or below -1 counts.
    struct Case {
        const char* what;
        Matrix matrix;
        const char* maximum;
        const char* indicator;
        int dottedFrom; // the left edge of the tallest bar's place
    };
    Matrix notSquare;
    notSquare.Resize(2, 3);
    const Case cases[] = {
        { "all zero", WithDiagonal({ 0.0f, 0.0f }), "0.00", "0.00", 320 },
        { "empty", Matrix(), "-1.00", "0.00", 320 },
        { "not square", notSquare, "-1.00", "0.00", 320 },
        { "all below -1", WithDiagonal({ -2.0f, -3.0f }), "-1.00", "3.61", 320 },
        { "-1 itself is not above the start", WithDiagonal({ -3.0f, -1.0f }), "-1.00", "3.16", 320 },
        { "the largest between -1 and 0", WithDiagonal({ -2.0f, -0.5f, -0.75f }), "-0.50", "2.19", 340 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingCanvas canvas;
        const DiagonalChartLabels labels = DrawDiagonalChart(canvas, c.matrix);
        EXPECT_TRUE(canvas.All(Primitive::Kind::Rectangle).empty());
        EXPECT_TRUE(Ticks(canvas).empty());
        for (const ChartLabel& label : labels.Scale)
            EXPECT_FALSE(label.Visible);
        EXPECT_EQ(labels.Maximum, c.maximum);
        EXPECT_EQ(labels.Indicator, c.indicator);
        EXPECT_EQ(DottedLine(canvas).A, (Point { c.dottedFrom, 70 }));
        EXPECT_EQ(DottedLine(canvas).B, (Point { 300, 70 }));
        EXPECT_EQ(DottedLine(canvas).DrawnWith, (Pen { PenStyle::Dotted, kBlack, 1 }));
    }
}

TEST(DiagonalChart, NegativeElementsBesideAPositiveOneHangBelowTheAxis)
{
    RecordingCanvas canvas;
    const DiagonalChartLabels labels = DrawDiagonalChart(canvas, WithDiagonal({ -0.5f, 0.25f, 1.0f }));

    // -0.5 on a scale where 1.0 is 120 px is -60 px: the box from 190 + 60 to the axis,
    // which the surface draws downwards from the axis row.
    const auto boxes = canvas.All(Primitive::Kind::Rectangle);
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].A, (Point { 320, 250 }));
    EXPECT_EQ(boxes[0].B, (Point { 341, 191 }));
    EXPECT_EQ(boxes[1].A, (Point { 340, 160 }));
    EXPECT_EQ(boxes[2].A, (Point { 360, 70 }));
    for (const auto& box : boxes)
        EXPECT_EQ(box.FilledWith.Colour, kBlue);

    EXPECT_EQ(Ticks(canvas), (std::vector<int> { 130, 70, 10 }));
    EXPECT_EQ(labels.Scale[0], (ChartLabel { "0.5", 126, true }));
    EXPECT_EQ(labels.Scale[2], (ChartLabel { "1.5", 6, true }));
    EXPECT_EQ(labels.Maximum, "1.00");
    EXPECT_EQ(labels.Indicator, "1.15"); // sqrt(0.25 + 0.0625 + 1)
    EXPECT_EQ(DottedLine(canvas).A, (Point { 360, 70 }));
}

TEST(DiagonalChart, ScalePositionsBeyondAnyPixelAreHidden)
{
    // 0.5 on a scale where 1e-30 is 120 px lies about 6e31 px up.
    RecordingCanvas canvas;
    const DiagonalChartLabels labels = DrawDiagonalChart(canvas, WithDiagonal({ 1e-30f, 5e-31f }));
    EXPECT_EQ(Bars(canvas), (std::vector<Bar> { { 320, 70 }, { 340, 130 } }));
    EXPECT_TRUE(Ticks(canvas).empty());
    for (const ChartLabel& label : labels.Scale)
        EXPECT_FALSE(label.Visible);
    EXPECT_EQ(labels.Maximum, "0.00");
}

TEST(DiagonalChart, ElementsThatAreNotNumbersGetNoBar)
{
    RecordingCanvas canvas;
    const DiagonalChartLabels labels = DrawDiagonalChart(canvas, WithDiagonal({ kNaN, 0.5f, 1.0f }));
    EXPECT_EQ(Bars(canvas), (std::vector<Bar> { { 340, 130 }, { 360, 70 } }));
    EXPECT_EQ(DottedLine(canvas).A, (Point { 360, 70 }));
    EXPECT_EQ(labels.Maximum, "1.00");

    RecordingCanvas allNaN;
    const DiagonalChartLabels none = DrawDiagonalChart(allNaN, WithDiagonal({ kNaN }));
    EXPECT_TRUE(Bars(allNaN).empty());
    EXPECT_TRUE(Ticks(allNaN).empty());
    EXPECT_EQ(none.Maximum, "-1.00") << "no element rose above the start of the search";
    EXPECT_EQ(none.Indicator, "NAN");
    EXPECT_EQ(DottedLine(allNaN).A, (Point { 320, 70 }));
}

} // namespace
