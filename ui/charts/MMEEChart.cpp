// Drawing of the diagonal bar chart.
#include "ui/charts/MMEEChart.h"

#include "analysis/Damage.h"
#include "analysis/Format.h"
#include "model/Matrix.h"
#include "ui/charts/Canvas.h"

#include <algorithm>

namespace {

constexpr int kAxisX = 300;
constexpr int kAxisY = 190;
constexpr int kFirstBarX = 320;
constexpr int kBarStep = 20;
constexpr int kTallestBar = 120;
constexpr Rgb kBarColour { 0, 0, 255 };
constexpr Pen kBlackPen {};
constexpr float kNoMaximum = -1.0f;

} // namespace

DiagonalChartLabels DrawDiagonalChart(Canvas& canvas, const Matrix& matrix)
{
    DiagonalChartLabels labels;
    labels.Indicator = FormatFixed(RatingIndicator(matrix), 2);
    const Vector diagonal = matrix.Diagonal();
    const int shown = std::min(diagonal.Size(), kDiagonalVisibleBars);

    PenScope pen(canvas, kBlackPen);
    canvas.MoveTo(kAxisX, 30);
    canvas.LineTo(kAxisX, kAxisY);
    canvas.LineTo(600, kAxisY);

    // The first of equal maxima; elements that are not numbers never count. The search
    // starts at -1, so a diagonal with nothing above it (empty, or every element -1 or
    // less) shows -1.00 as its maximum, with the dotted line from the first bar's place.
    float largest = kNoMaximum;
    int tallest = 0;
    for (int i = 0; i < shown; ++i)
        if (diagonal(i) > largest) {
            largest = diagonal(i);
            tallest = i;
        }

    if (largest > 0) {
        BrushScope brush(canvas, { kBarColour });
        for (int i = 0; i < shown; ++i)
            if (const auto h = PixelFrom(static_cast<double>(diagonal(i)) * kTallestBar / largest)) {
                const int left = kFirstBarX + kBarStep * i;
                canvas.Rectangle(left, kAxisY - *h, left + kBarStep + 1, kAxisY + 1);
            }
    }

    labels.Maximum = FormatFixed(largest, 2);

    for (int p = 1; p <= 3; ++p) {
        ChartLabel& label = labels.Scale[static_cast<std::size_t>(p - 1)];
        label.Caption = FormatFixed(p * 0.5, 1);
        const double y = kAxisY - p * 0.5 * kTallestBar / largest;
        const auto tick = PixelFrom(y);
        const auto top = PixelFrom(y - 4);
        label.Visible = largest > 0 && tick && top;
        if (!label.Visible)
            continue;
        label.Top = *top;
        canvas.MoveTo(295, *tick);
        canvas.LineTo(305, *tick);
    }

    PenScope dotted(canvas, { PenStyle::Dotted, kBlack, 1 });
    canvas.MoveTo(kFirstBarX + kBarStep * tallest, 70);
    canvas.LineTo(kAxisX, 70);
    return labels;
}
