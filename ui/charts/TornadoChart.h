// The tornado chart of the sensitivity ranking: one horizontal bar per layer, threat and
// mechanism triple, from the smallest to the largest value of Rm (or Re) over the shifts
// of the threat's activation frequency, the widest swing on top; a vertical line at the
// current value (shift 0), the names at the left shortened to fit, and the two values at
// the ends of each bar. The chart writes its own texts, so it needs their widths: the
// surface's font is the caller's, and so is the measure.
#pragma once

#include "analysis/Sensitivity.h"
#include "model/Texts.h"
#include "ui/charts/Canvas.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The chart shows as many triples as the other charts show items.
inline constexpr int kTornadoBars = 15;

inline constexpr Rgb kTornadoBarColour { 0, 0, 255 };
inline constexpr Rgb kTornadoCurrentColour { 255, 0, 0 };

// Written where a triple has no value to draw.
inline constexpr const char* kTornadoNoValue = VARDUN_TEXT("Charts", "нет значения");

struct TornadoEntry {
    // UTF-8.
    std::string Layer;
    std::string Threat;
    std::string Mechanism;
    // Of the indicator the chart shows.
    RatingSwing Values;
};

// Widths of UTF-8 texts in the surface's font, in pixels, and the height of a line.
struct TextMeasure {
    std::function<int(std::string_view)> Width;
    int Height = 13;
};

struct TornadoBox {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

// Where one triple went: its row, and the columns its bar covers (none for a triple with a
// value that is not finite).
struct TornadoBarPlace {
    // Its position among the entries as given.
    std::size_t Entry = 0;
    int Top = 0;
    int Bottom = 0;
    std::optional<int> Left;
    std::optional<int> Right;
    std::string Name;
};

struct TornadoPlaces {
    // Top row first.
    std::vector<TornadoBarPlace> Bars;
    // The column of the current value's line; none without a finite current value.
    std::optional<int> Current;
};

// The order of the chart: the widest swing first, a triple with a value that is not finite
// after every one with finite values; equal swings keep the order given.
std::vector<std::size_t> TornadoOrder(std::span<const TornadoEntry> entries);

// "layer / threat / mechanism", each part cut (and marked with "…") as little as needed for
// the whole to be at most `width` pixels wide; what still does not fit is cut at the end.
std::string TornadoName(const TornadoEntry& entry, int width, const TextMeasure& measure);

// Draws the first kTornadoBars of `entries` in the chart's order inside `box`; `indicator`
// names the value over the current line ("Rm", "Re"). The current value is the first
// drawn triple's value at shift 0: shift 0 leaves the store as it is, so it is the same
// for every triple.
TornadoPlaces DrawTornadoChart(Canvas& canvas, const TornadoBox& box, std::span<const TornadoEntry> entries,
    std::string_view indicator, const TextMeasure& measure);
