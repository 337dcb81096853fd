// Drawing of the rating charts; every value comes from the rating evaluator.
#include "ui/charts/RatingChart.h"

#include "analysis/Format.h"

#include <cmath>

namespace {

constexpr float kShiftStart = -10.0f;
constexpr float kShiftEnd = 10.0f;
// The curve sample at the current frequency (shift 0).
constexpr int kCurrentSample = 50;

// A scale that is not a finite positive number (all values equal, or not numbers)
// places nothing.
bool Usable(float scale)
{
    return std::isfinite(scale) && scale > 0;
}

// One level's curve with its circle; the current-value label when the curve is the
// current level's (damage factor exactly 1) and its circle was drawn.
std::optional<ChartLabel> DrawLevelCurve(Canvas& canvas, const RatingEvaluator& evaluator,
    const RatingChartFrame& chart, Rgb colour, float level, float horizontalScale, float verticalScale)
{
    if (!Usable(verticalScale))
        return std::nullopt;
    const float factor = DamageFactor(level);
    // The curve's own minimum is its bottom; only the current level's scale is shared.
    const float smallest = evaluator.Range(chart.Kind, factor, kShiftStart, kShiftEnd).Smallest;
    const CurveSamples samples = evaluator.Samples(chart.Kind, factor);

    PenScope solid(canvas, { PenStyle::Solid, colour, 1 });
    BrushScope white(canvas, { kWhite });
    std::optional<float> origin;
    std::optional<Point> last;
    std::optional<ChartLabel> current;
    for (int i = 0; i < kCurveSamples; ++i) {
        const auto [shift, value] = samples[static_cast<std::size_t>(i)];
        // The flat stretch at the minimum (and values that are not numbers) is not drawn.
        if (!(value > smallest))
            continue;
        // The first sample above the minimum sits on the vertical axis, even when it is
        // then left out for lying above the chart.
        if (!origin)
            origin = shift;
        const double rise = (static_cast<double>(value) - smallest) * verticalScale;
        if (rise > chart.Height)
            continue;
        const double x = chart.Left + (static_cast<double>(shift) - *origin) * horizontalScale;
        const double y = chart.Bottom - rise;
        const auto px = PixelFrom(x);
        const auto py = PixelFrom(y);
        if (!px || !py)
            continue;

        // Truncations a few pixels from a coordinate that fitted cannot leave int.
        const auto near = [](double coordinate, double offset) { return static_cast<int>(coordinate + offset); };
        if (i == kCurrentSample) {
            canvas.Ellipse(near(x, -5), near(y, -5), near(x, 5), near(y, 5));
            if (factor == 1.0f) {
                {
                    PenScope dotted(canvas, { PenStyle::Dotted, colour, 1 });
                    canvas.MoveTo(*px, *py);
                    canvas.LineTo(chart.Left, *py);
                }
                if (last)
                    canvas.MoveTo(last->X, last->Y);
                current = ChartLabel { FormatFixed(value, 2), near(y, -11), true };
            }
        }
        // Drawn after the circle, so the curve runs over it.
        if (last)
            canvas.LineTo(*px, *py);
        else
            canvas.MoveTo(*px, *py);
        last = Point { *px, *py };
    }
    return current;
}

RatingChartLabels DrawRatingChart(
    Canvas& canvas, const RatingEvaluator& evaluator, const RatingChartFrame& chart, float highLevel, float lowLevel)
{
    const RatingExtent extent = evaluator.Range(chart.Kind, 1.0f, kShiftStart, kShiftEnd);
    const float sx = static_cast<float>(chart.Width) / (kShiftEnd - kShiftStart);
    // The current level's scale serves all three curves.
    const float sy = static_cast<float>(chart.Height) / (extent.Largest - extent.Smallest);

    RatingChartLabels labels;
    labels.Axis = DrawRatingAxes(canvas, chart, sy, extent.Smallest);
    labels.Current = DrawLevelCurve(canvas, evaluator, chart, kCurrentLevelColour, 1.0f, sx, sy);
    // A high or low level of exactly 1 is the current level again and places the label
    // in the same way.
    if (auto current = DrawLevelCurve(canvas, evaluator, chart, kHighLevelColour, highLevel, sx, sy))
        labels.Current = current;
    if (auto current = DrawLevelCurve(canvas, evaluator, chart, kLowLevelColour, lowLevel, sx, sy))
        labels.Current = current;
    return labels;
}

} // namespace

RatingChartsLabels DrawRatingCharts(
    Canvas& canvas, const CData& data, const RatingSelection& selection, float highLevel, float lowLevel)
{
    // One evaluator per drawing: what it may remember stays valid for exactly this long.
    const RatingEvaluator evaluator(data, selection);
    RatingChartsLabels labels;
    labels.Rm = DrawRatingChart(canvas, evaluator, kRmChart, highLevel, lowLevel);
    labels.Re = DrawRatingChart(canvas, evaluator, kReChart, highLevel, lowLevel);
    return labels;
}

RatingAxisLabels DrawRatingAxes(Canvas& canvas, const RatingChartFrame& chart, float verticalScale, float smallest)
{
    PenScope pen(canvas, Pen {});
    canvas.MoveTo(chart.Left, chart.Bottom - chart.Height);
    canvas.LineTo(chart.Left, chart.Bottom);
    canvas.LineTo(chart.Left + chart.Width, chart.Bottom);

    RatingAxisLabels labels;
    labels.Minimum = FormatFixed(smallest, 2);
    // For a smallest value of 0 or more, the two smallest multiples of 0.5 above it.
    const auto k = PixelFrom(2.0 * smallest);
    for (int u = 1; u <= 2; ++u) {
        ChartLabel& label = labels.Ticks[static_cast<std::size_t>(u - 1)];
        label.Visible = false;
        if (!Usable(verticalScale) || !k)
            continue;
        const float tick = static_cast<float>(*k) * 0.5f + static_cast<float>(u) * 0.5f;
        const double y = chart.Bottom - (static_cast<double>(tick) - smallest) * verticalScale;
        const auto tickY = PixelFrom(y);
        const auto top = PixelFrom(y - 3.0);
        if (!tickY || !top)
            continue;
        canvas.MoveTo(chart.Left - 5, *tickY);
        canvas.LineTo(chart.Left + 5, *tickY);
        label = { FormatFixed(tick, 2), *top, true };
    }
    return labels;
}
