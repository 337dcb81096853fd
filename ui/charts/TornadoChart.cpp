// Drawing of the tornado chart of the sensitivity ranking.
#include "ui/charts/TornadoChart.h"

#include "analysis/Format.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

constexpr int kPad = 4;
// Between a bar's end and its value.
constexpr int kValueGap = 3;
// The names take this share of the width, the bars and their values the rest.
constexpr double kNameShare = 0.36;
constexpr int kMaxRowHeight = 22;
constexpr Pen kBlackPen {};
constexpr std::string_view kSeparator = " / ";
constexpr std::string_view kEllipsis = "…";

// The byte offsets at which the code points of a UTF-8 text start, and its length.
std::vector<std::size_t> CodePointStarts(std::string_view text)
{
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
            starts.push_back(i);
    return starts;
}

// The first `count` code points, marked when anything was cut.
std::string Cut(const std::string& text, std::size_t count)
{
    const std::vector<std::size_t> starts = CodePointStarts(text);
    if (count >= starts.size())
        return text;
    std::string cut = text.substr(0, starts[count]);
    cut += kEllipsis;
    return cut;
}

std::string Joined(const TornadoEntry& entry, std::size_t count)
{
    std::string name = Cut(entry.Layer, count);
    name += kSeparator;
    name += Cut(entry.Threat, count);
    name += kSeparator;
    name += Cut(entry.Mechanism, count);
    return name;
}

std::string Label(float value)
{
    return FormatFixed(value, 2);
}

} // namespace

std::vector<std::size_t> TornadoOrder(std::span<const TornadoEntry> entries)
{
    std::vector<std::size_t> order(entries.size());
    std::iota(order.begin(), order.end(), std::size_t { 0 });
    std::stable_sort(order.begin(), order.end(), [&entries](std::size_t a, std::size_t b) {
        const RatingSwing& x = entries[a].Values;
        const RatingSwing& y = entries[b].Values;
        if (x.Finite() != y.Finite())
            return x.Finite();
        return x.Finite() && x.Swing() > y.Swing();
    });
    return order;
}

std::string TornadoName(const TornadoEntry& entry, int width, const TextMeasure& measure)
{
    const std::string full = Joined(entry, std::string::npos);
    if (measure.Width(full) <= width)
        return full;
    // The longest part that still fits: every part cut to at most `count` code points.
    std::size_t longest = 0;
    for (const std::string* part : { &entry.Layer, &entry.Threat, &entry.Mechanism })
        longest = std::max(longest, CodePointStarts(*part).size());
    std::size_t low = 1, high = longest;
    if (measure.Width(Joined(entry, low)) > width) {
        // Not even one letter a part: the whole, cut at its end.
        const std::vector<std::size_t> starts = CodePointStarts(full);
        for (std::size_t n = starts.size(); n-- > 1;) {
            std::string cut = full.substr(0, starts[n]) + std::string(kEllipsis);
            if (measure.Width(cut) <= width)
                return cut;
        }
        return std::string(kEllipsis);
    }
    while (high - low > 1) {
        const std::size_t middle = low + (high - low) / 2;
        if (measure.Width(Joined(entry, middle)) <= width)
            low = middle;
        else
            high = middle;
    }
    return Joined(entry, low);
}

TornadoPlaces DrawTornadoChart(Canvas& canvas, const TornadoBox& box, std::span<const TornadoEntry> entries,
    std::string_view indicator, const TextMeasure& measure)
{
    TornadoPlaces places;
    std::vector<std::size_t> order = TornadoOrder(entries);
    if (order.size() > static_cast<std::size_t>(kTornadoBars))
        order.resize(static_cast<std::size_t>(kTornadoBars));

    // The scale: every drawn value and the current one.
    std::optional<float> current;
    double low = INFINITY, high = -INFINITY;
    int valueWidth = 0;
    for (std::size_t k : order) {
        const RatingSwing& v = entries[k].Values;
        if (!v.Finite())
            continue;
        if (!current)
            current = v.AtZero;
        low = std::min({ low, static_cast<double>(v.Min), static_cast<double>(v.AtZero) });
        high = std::max({ high, static_cast<double>(v.Max), static_cast<double>(v.AtZero) });
        valueWidth = std::max({ valueWidth, measure.Width(Label(v.Min)), measure.Width(Label(v.Max)) });
    }
    const double span = high - low;

    const int header = measure.Height + kPad;
    const int rowsTop = box.Top + header;
    const int rowHeight = std::clamp((box.Height - header - kPad) / kTornadoBars, 1, kMaxRowHeight);
    const int rowsBottom = rowsTop + rowHeight * static_cast<int>(order.size());
    const int nameWidth = static_cast<int>(box.Width * kNameShare);
    const int plotLeft = box.Left + nameWidth + valueWidth + kValueGap;
    const int plotRight = std::max(plotLeft + 1, box.Left + box.Width - valueWidth - kValueGap - kPad);
    // Columns plotLeft .. plotRight-1; one value alone (or all equal) stands in the middle.
    const auto column = [&](double value) {
        if (!(span > 0) || !std::isfinite(span))
            return (plotLeft + plotRight - 1) / 2;
        const auto x = PixelFrom(plotLeft + (value - low) / span * (plotRight - 1 - plotLeft));
        return std::clamp(x.value_or(plotLeft), plotLeft, plotRight - 1);
    };

    const int barInset = rowHeight > 6 ? 2 : 0;
    const int textInset = std::max(0, (rowHeight - measure.Height) / 2);
    PenScope pen(canvas, kBlackPen);
    BrushScope brush(canvas, Brush { kTornadoBarColour });
    for (std::size_t row = 0; row < order.size(); ++row) {
        const TornadoEntry& entry = entries[order[row]];
        const int top = rowsTop + rowHeight * static_cast<int>(row);
        TornadoBarPlace place;
        place.Entry = order[row];
        place.Top = top + barInset;
        place.Bottom = top + rowHeight - barInset;
        // A gap of kPad on either side of the name.
        place.Name = TornadoName(entry, nameWidth - 2 * kPad, measure);
        canvas.TextOut(box.Left + kPad, top + textInset, place.Name, kWhite);
        const RatingSwing& v = entry.Values;
        if (!v.Finite()) {
            canvas.TextOut(plotLeft, top + textInset, Translate("Charts", kTornadoNoValue), kWhite);
        } else {
            const int left = column(v.Min);
            const int right = column(v.Max);
            place.Left = left;
            place.Right = right;
            // Columns left .. right.
            canvas.Rectangle(left, place.Top, right + 1, place.Bottom);
            const std::string minimum = Label(v.Min);
            canvas.TextOut(left - kValueGap - measure.Width(minimum), top + textInset, minimum, kWhite);
            canvas.TextOut(right + 1 + kValueGap, top + textInset, Label(v.Max), kWhite);
        }
        places.Bars.push_back(std::move(place));
    }

    if (current) {
        const int x = column(*current);
        places.Current = x;
        PenScope red(canvas, { PenStyle::Solid, kTornadoCurrentColour, 1 });
        canvas.MoveTo(x, rowsTop - kPad / 2);
        canvas.LineTo(x, rowsBottom);
        std::string caption(indicator);
        caption += " = ";
        caption += Label(*current);
        const int width = measure.Width(caption);
        const int left = std::clamp(x - width / 2, box.Left, std::max(box.Left, box.Left + box.Width - width));
        canvas.TextOut(left, box.Top, caption, kWhite);
    }
    return places;
}
