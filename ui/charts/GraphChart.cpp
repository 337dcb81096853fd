// Drawing of the distribution chart; geometry and colours as the window shows them.
#include "ui/charts/GraphChart.h"

#include "model/Matrix.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

namespace {

// Back-left corner of the floor grid.
constexpr int kOriginX = 440;
constexpr int kOriginY = 280;
// A column is 20 px wide; a row is 15 px deep, drawn 15 left and 15 down.
constexpr int kColumnStep = 20;
constexpr int kRowStep = 15;
constexpr int kPrismScale = 150;
constexpr int kWallScale = 200;

constexpr Rgb kFloorColour { 128, 128, 64 };
constexpr Rgb kColumnBarColour { 255, 0, 255 };
constexpr Rgb kRowSlabColour { 255, 255, 128 };
constexpr Pen kBlackPen {};

// Heights beyond this are drawn as this: far outside the window either way (and above
// every prism, so a huge threshold leaves the whole prism below it), while the band
// arithmetic on heights cannot overflow.
constexpr int kHeightLimit = 1000000;

int ClampHeight(double height)
{
    return static_cast<int>(std::clamp(height, -double { kHeightLimit }, double { kHeightLimit }));
}

// Value * scale / largest as a pixel height, truncated; nothing for a value that is not
// a number.
std::optional<int> ScaledHeight(float value, int scale, float largest)
{
    const double height = static_cast<double>(value) * scale / largest;
    if (std::isnan(height))
        return std::nullopt;
    return ClampHeight(height);
}

// The largest element: a running maximum from -1.0 that only a greater element
// replaces, so elements that are not numbers never count.
float LargestOf(const Vector& values)
{
    float largest = -1.0f;
    for (int i = 0; i < values.Size(); ++i)
        if (values(i) > largest)
            largest = values(i);
    return largest;
}

float LargestOf(const Matrix& values)
{
    float largest = -1.0f;
    for (int i = 0; i < values.Rows(); ++i)
        for (int j = 0; j < values.Cols(); ++j)
            if (values(i, j) > largest)
                largest = values(i, j);
    return largest;
}

void DrawFloorAndAxes(Canvas& canvas)
{
    {
        PenScope pen(canvas, kBlackPen);
        canvas.MoveTo(kOriginX - 280, kOriginY + 230);
        canvas.LineTo(kOriginX - 30, kOriginY - 20); // Y axis
        canvas.LineTo(kOriginX - 30, kOriginY - 270); // Z axis
        canvas.MoveTo(kOriginX - 30, kOriginY - 20);
        canvas.LineTo(kOriginX + 320, kOriginY - 20); // X axis
    }
    PenScope pen(canvas, { PenStyle::Solid, kFloorColour, 1 });
    for (int k = 0; k <= kChartCells; ++k) {
        canvas.MoveTo(kOriginX - 250 + kColumnStep * k, kOriginY + 250);
        canvas.LineTo(kOriginX + 20 + kColumnStep * k, kOriginY - 20);
    }
    for (int k = 0; k <= kChartCells; ++k) {
        canvas.MoveTo(kOriginX - 48 - kRowStep * k, kOriginY + kRowStep * k);
        canvas.LineTo(kOriginX + 302 - kRowStep * k, kOriginY + kRowStep * k);
    }
}

void DrawColumnBar(Canvas& canvas, int column, int height)
{
    PenScope pen(canvas, kBlackPen);
    BrushScope brush(canvas, { kColumnBarColour });
    // One pixel wider than a column, so that neighbouring bars share a border.
    const int left = kOriginX + 20 + kColumnStep * column;
    canvas.Rectangle(left, kOriginY - 20 - height, left + kColumnStep + 1, kOriginY - 19);
}

void DrawRowSlab(Canvas& canvas, int row, int height)
{
    // Where the row meets the Y axis.
    const int x = kOriginX - 50 - kRowStep * row;
    const int y = kOriginY + kRowStep * row;
    {
        PenScope pen(canvas, { PenStyle::Solid, kRowSlabColour, 1 });
        for (int k = 0; k < kRowStep; ++k) {
            canvas.MoveTo(x - k, y + k);
            canvas.LineTo(x - k, y + k - height);
        }
    }
    {
        PenScope pen(canvas, kBlackPen);
        canvas.MoveTo(x, y);
        canvas.LineTo(x, y - height);
        canvas.LineTo(x - kRowStep, y - height + kRowStep);
        canvas.LineTo(x - kRowStep, y + kRowStep);
        canvas.LineTo(x, y);
    }
    char number[16];
    const auto end = std::to_chars(number, number + sizeof number, row + 1).ptr;
    canvas.TextOut(x - 12, y - 13, std::string_view(number, static_cast<std::size_t>(end - number)), kRowSlabColour);
}

void DrawPrism(Canvas& canvas, Point corner, int width, int depth, int height, Rgb colour)
{
    const int x = corner.X;
    const int y = corner.Y;
    {
        PenScope pen(canvas, { PenStyle::Solid, colour, 1 });
        for (int k = 0; k < width; ++k) { // front face
            canvas.MoveTo(x - depth + k, y + depth);
            canvas.LineTo(x - depth + k, y + depth - height);
        }
        for (int k = 0; k < depth; ++k) { // right side
            canvas.MoveTo(x - depth + width + k, y + depth - k);
            canvas.LineTo(x - depth + width + k, y + depth - height - k);
        }
        for (int k = 0; k < width; ++k) { // top
            canvas.MoveTo(x - depth + k, y + depth - height);
            canvas.LineTo(x + k, y - height);
        }
    }
    PenScope pen(canvas, kBlackPen);
    canvas.MoveTo(x - depth, y + depth);
    canvas.LineTo(x - depth + width, y + depth);
    canvas.LineTo(x - depth + width, y + depth - height);
    canvas.LineTo(x - depth, y + depth - height);
    canvas.LineTo(x - depth, y + depth);
    canvas.MoveTo(x - depth + width, y + depth - height);
    canvas.LineTo(x + width, y - height);
    canvas.LineTo(x + width, y);
    canvas.MoveTo(x + width, y - height);
    canvas.LineTo(x, y - height);
    canvas.LineTo(x - depth, y + depth - height);
    canvas.MoveTo(x - depth + width, y + depth);
    canvas.LineTo(x + width, y);
}

void DrawBandedPrism(Canvas& canvas, Point corner, int width, int depth, int height, int small, int medium)
{
    if (height <= small) {
        DrawPrism(canvas, corner, width, depth, height, kSmallBandColour);
        return;
    }
    DrawPrism(canvas, corner, width, depth, small, kSmallBandColour);
    const Point middle { corner.X, corner.Y - small };
    if (height <= medium) {
        DrawPrism(canvas, middle, width, depth, height - small, kMediumBandColour);
        return;
    }
    DrawPrism(canvas, middle, width, depth, medium - small, kMediumBandColour);
    DrawPrism(canvas, { corner.X, corner.Y - medium }, width, depth, height - medium, kLargeBandColour);
}

} // namespace

int RoundHalfDown(float x)
{
    if (std::isnan(x))
        return 0;
    double t = std::trunc(static_cast<double>(x));
    if (x - t > 0.5)
        t += 1.0;
    const double limit = std::numeric_limits<int>::max();
    return static_cast<int>(std::clamp(t, -limit - 1.0, limit));
}

void DrawChart(Canvas& canvas, const Matrix& result, const Vector& columnDistribution, const Vector& rowDistribution,
    float smallThreshold, float mediumThreshold, const CellSelection& cells)
{
    DrawFloorAndAxes(canvas);

    const float columnMax = LargestOf(columnDistribution);
    if (columnMax > 0)
        for (int i = 0; i < columnDistribution.Size(); ++i)
            if (const auto h = ScaledHeight(columnDistribution(i), kWallScale, columnMax))
                DrawColumnBar(canvas, i, *h);

    const float rowMax = LargestOf(rowDistribution);
    if (rowMax > 0)
        for (int i = 0; i < rowDistribution.Size(); ++i)
            if (const auto h = ScaledHeight(rowDistribution(i), kWallScale, rowMax))
                DrawRowSlab(canvas, i, *h);

    const float largest = LargestOf(result);
    if (!(largest > 0))
        return;
    const auto small = ScaledHeight(smallThreshold, kPrismScale, largest);
    const auto medium = ScaledHeight(mediumThreshold, kPrismScale, largest);
    if (!small || !medium)
        return;
    const int rows = std::min(result.Rows(), kChartCells);
    const int cols = std::min(result.Cols(), kChartCells);
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j) {
            if (!cells[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)])
                continue;
            const auto quotient = static_cast<float>(static_cast<double>(result(i, j)) * kPrismScale / largest);
            if (std::isnan(quotient))
                continue;
            const Point corner { kOriginX + kColumnStep * j - kRowStep * i, kOriginY + kRowStep * i };
            DrawBandedPrism(
                canvas, corner, kColumnStep, kRowStep, ClampHeight(RoundHalfDown(quotient)), *small, *medium);
        }
}
