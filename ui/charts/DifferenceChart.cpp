// Drawing of the difference chart of the comparison window.
#include "ui/charts/DifferenceChart.h"

#include "analysis/Format.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kPad = 4;
// Between the scale's numbers and the axis.
constexpr int kValueGap = 3;
// A slot is never wider than this, so that a few items do not make slabs.
constexpr int kMaxSlot = 32;
constexpr Pen kBlackPen {};

std::string Label(double value)
{
    return FormatFixed(value, 2);
}

bool HasBar(const ItemComparison& item)
{
    return item.Difference && std::isfinite(*item.Difference);
}

DifferenceMark MarkOf(const ItemComparison& item)
{
    if (item.Added())
        return DifferenceMark::Added;
    if (item.Removed())
        return DifferenceMark::Removed;
    return HasBar(item) ? DifferenceMark::Bar : DifferenceMark::NoValue;
}

std::string_view MarkText(DifferenceMark mark)
{
    switch (mark) {
    case DifferenceMark::Added:
        return kAddedMark;
    case DifferenceMark::Removed:
        return kRemovedMark;
    case DifferenceMark::NoValue:
        return kNoValueMark;
    case DifferenceMark::Bar:
        break;
    }
    return {};
}

} // namespace

DifferencePlaces DrawDifferenceChart(Canvas& canvas, const DifferenceBox& box, std::string_view title,
    std::span<const ItemComparison> items, const TextMeasure& measure)
{
    DifferencePlaces places;
    const std::size_t shown = std::min(items.size(), static_cast<std::size_t>(kDifferenceBars));
    places.Cut = items.size() > shown;

    // The scale always holds the zero line: from the largest increase (or 0) at the top to
    // the largest decrease (or 0) at the bottom.
    double high = 0.0, low = 0.0;
    for (std::size_t k = 0; k < shown; ++k)
        if (HasBar(items[k])) {
            high = std::max(high, static_cast<double>(*items[k].Difference));
            low = std::min(low, static_cast<double>(*items[k].Difference));
        }
    const double span = high - low;

    const int line = measure.Height;
    PenScope pen(canvas, kBlackPen);
    canvas.TextOut(box.Left + kPad, box.Top, title, kWhite);

    const std::string highText = Label(high), lowText = Label(low), zeroText = Label(0.0);
    const int valueWidth = std::max({ measure.Width(highText), measure.Width(lowText), measure.Width(zeroText) });
    const int plotLeft = box.Left + kPad + valueWidth + kValueGap + 1;
    const int plotRight = std::max(plotLeft + 1, box.Left + box.Width - kPad);
    const int numbersTop = box.Top + box.Height - line - kPad / 2;
    // Half a line above and below the bars for the scale's top and bottom numbers.
    const int plotTop = box.Top + line + kPad + line / 2;
    const int plotBottom = std::max(plotTop + 1, numbersTop - line / 2 - 2);

    const double scale = span > 0 && std::isfinite(span) ? (plotBottom - plotTop - 1) / span : 0.0;
    places.Zero = scale > 0 ? plotTop + PixelFrom(high * scale).value_or(0) : (plotTop + plotBottom - 1) / 2;

    // The axis and the zero line.
    canvas.MoveTo(plotLeft - 1, plotTop);
    canvas.LineTo(plotLeft - 1, plotBottom);
    canvas.MoveTo(plotLeft - 1, places.Zero);
    canvas.LineTo(plotRight, places.Zero);
    // The scale's ends, where they are not the zero line itself.
    const auto valueLabel = [&](const std::string& text, int row) {
        canvas.TextOut(plotLeft - 1 - kValueGap - measure.Width(text), row - line / 2, text, kWhite);
    };
    valueLabel(zeroText, places.Zero);
    if (high > 0 && places.Zero - plotTop >= line)
        valueLabel(highText, plotTop);
    if (low < 0 && plotBottom - 1 - places.Zero >= line)
        valueLabel(lowText, plotBottom - 1);

    if (shown == 0)
        return places;
    const int slot = std::clamp((plotRight - plotLeft) / static_cast<int>(shown), 1, kMaxSlot);
    const int inset = slot > 8 ? 3 : 0;
    for (std::size_t k = 0; k < shown; ++k) {
        const ItemComparison& item = items[k];
        DifferenceSlot place;
        place.Item = k;
        place.Mark = MarkOf(item);
        place.Left = plotLeft + slot * static_cast<int>(k);
        place.Right = place.Left + slot;
        place.Number = std::to_string(k + 1);
        const int middle = (place.Left + place.Right) / 2;

        if (place.Mark == DifferenceMark::Bar) {
            const double value = *item.Difference;
            const int height = PixelFrom(std::fabs(value) * scale).value_or(0);
            const bool up = value > 0;
            place.Top = up ? places.Zero - height : places.Zero + 1;
            place.Bottom = up ? places.Zero : places.Zero + 1 + height;
            if (height > 0) {
                const Rgb colour = up ? kIncreaseColour : kDecreaseColour;
                BrushScope brush(canvas, Brush { colour });
                canvas.Rectangle(place.Left + inset, *place.Top, place.Right - inset, *place.Bottom);
            }
        } else {
            const std::string_view mark = MarkText(place.Mark);
            const int top = std::max(plotTop, places.Zero - line - 1);
            canvas.TextOut(middle - measure.Width(mark) / 2, top, mark, kWhite);
        }
        canvas.TextOut(middle - measure.Width(place.Number) / 2, numbersTop, place.Number, kWhite);
        places.Slots.push_back(std::move(place));
    }
    return places;
}
