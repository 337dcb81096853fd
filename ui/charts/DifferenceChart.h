// The difference chart of the comparison window: for each mechanism (the diagonal of MM)
// or each layer (the diagonal of EE) one bar from a zero line, up where the other
// assessment's element is larger, down where it is smaller, all on one scale; the items'
// numbers under the bars. An item analysed in one assessment only has no bar but a mark
// ("+" added, "−" removed), and one whose difference is no finite number a "?". The chart
// writes its own texts, so it needs their widths: the surface's font is the caller's.
#pragma once

#include "analysis/Compare.h"
#include "ui/charts/Canvas.h"
#include "ui/charts/TornadoChart.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// As many items as the other charts show.
inline constexpr int kDifferenceBars = 15;

inline constexpr Rgb kIncreaseColour { 0, 0, 255 };
inline constexpr Rgb kDecreaseColour { 255, 128, 0 };

// The marks of the slots without a bar.
inline constexpr std::string_view kAddedMark = "+";
inline constexpr std::string_view kRemovedMark = "\u2212";
inline constexpr std::string_view kNoValueMark = "?";

struct DifferenceBox {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

enum class DifferenceMark { Bar, Added, Removed, NoValue };

// Where one item went: its slot's columns, and its bar's rows (none without a bar; a zero
// difference has a bar of no height, top == bottom, and nothing drawn).
struct DifferenceSlot {
    // Its position among the items as given.
    std::size_t Item = 0;
    DifferenceMark Mark = DifferenceMark::Bar;
    int Left = 0;
    int Right = 0; // excluded
    std::optional<int> Top;
    std::optional<int> Bottom; // excluded
    // The number written under the slot, from 1.
    std::string Number;
};

struct DifferencePlaces {
    // The row of the zero line.
    int Zero = 0;
    std::vector<DifferenceSlot> Slots;
    // More items than kDifferenceBars: the first ones are shown.
    bool Cut = false;
};

// Draws the first kDifferenceBars items inside `box` under the title (UTF-8).
DifferencePlaces DrawDifferenceChart(Canvas& canvas, const DifferenceBox& box, std::string_view title,
    std::span<const ItemComparison> items, const TextMeasure& measure);
