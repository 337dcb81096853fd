// The two rating charts of the rating window: Rm (left) and Re (right) against a shift
// of the chosen threat's activation frequency from -10 to +10, one curve per damage
// level, each starting at the vertical axis from its own minimum, with a circle at the
// current frequency and a dotted guide from the current-level circle to the axis.
// Coordinates are the rating window's client coordinates.
#pragma once

#include "model/Texts.h"

#include "analysis/Rating.h"
#include "ui/charts/Canvas.h"
#include "ui/charts/ChartLabel.h"

#include <array>
#include <optional>
#include <string>

class CData;

// Curve colours; the legend swatches beside the level names show the same ones.
inline constexpr Rgb kCurrentLevelColour { 0, 255, 0 };
inline constexpr Rgb kHighLevelColour { 255, 0, 0 };
inline constexpr Rgb kLowLevelColour { 128, 0, 0 };

struct RatingChartFrame {
    RatingKind Kind;
    int Left;
    int Bottom;
    int Width;
    int Height;
};

inline constexpr RatingChartFrame kRmChart { RatingKind::Rm, 30, 400, 270, 150 };
inline constexpr RatingChartFrame kReChart { RatingKind::Re, 350, 400, 270, 150 };

// The labels of the chart area that the window places and the drawing leaves to it, in
// the window's coordinates: the axis titles, the legend (a swatch of each curve's colour
// and its text, and the circle of the current frequency), and where the value labels
// stand before the first drawing (the drawing moves them up and down only).
inline constexpr FixedLabel kRatingAxisTitles[] = {
    { "Label6", "Rm", { 16, 248 } },
    { "Label9", VARDUN_TEXT("Charts", "ЧАУ"), { 272, 384 } },
    { "Label10", "Re", { 336, 248 } },
    { "Label11", VARDUN_TEXT("Charts", "ЧАУ"), { 608, 384 } },
};

struct RatingLegendEntry {
    const char* SwatchName;
    Point Swatch; // top-left of a 10 x 10 square
    Rgb Colour;
    FixedLabel Label;
    // What the swatch stands for: the legend's text without its dashes.
    const char* Meaning;
};
inline constexpr int kLegendSwatchSize = 10;
inline constexpr RatingLegendEntry kRatingLegend[] = {
    { "Image3", { 52, 422 }, kHighLevelColour, { "Label47", VARDUN_TEXT("Charts", "-- Высокий уровень"), { 72, 419 } },
        VARDUN_TEXT("Charts", "Высокий уровень") },
    { "Image1", { 196, 422 }, kCurrentLevelColour,
        { "Label45", VARDUN_TEXT("Charts", "-- Текущий уровень"), { 216, 419 } },
        VARDUN_TEXT("Charts", "Текущий уровень") },
    { "Image2", { 340, 422 }, kLowLevelColour, { "Label46", VARDUN_TEXT("Charts", "-- Низкий уровень"), { 360, 419 } },
        VARDUN_TEXT("Charts", "Низкий уровень") },
};
// The circle of the current frequency: a 13 x 14 picture at this top-left corner.
inline constexpr Point kMarkerPlace { 480, 416 };
inline constexpr FixedLabel kMarkerLabel { "Label12", VARDUN_TEXT("Charts", "-- Текущий ЧАУ"), { 496, 419 } };
inline constexpr const char* kMarkerMeaning = VARDUN_TEXT("Charts", "Текущий ЧАУ");

struct RatingValuePlaces {
    FixedLabel Minimum;
    std::array<FixedLabel, 2> Ticks;
    FixedLabel Current;
};
// The value labels are empty until a chart gives them their values.
inline constexpr RatingValuePlaces kRmValuePlaces { { "MM0Label", "", { 8, 404 } },
    { { { "MM1", "", { 5, 344 } }, { "MM2", "", { 5, 360 } } } }, { "MMlb", "", { 37, 368 } } };
inline constexpr RatingValuePlaces kReValuePlaces { { "EE0Label", "", { 337, 404 } },
    { { { "EE1", "", { 320, 368 } }, { "EE2", "", { 320, 344 } } } }, { "EElb", "", { 352, 368 } } };

struct RatingAxisLabels {
    // The smallest value of the current level (MM0Label or EE0Label).
    std::string Minimum;
    // The two marked values on the vertical axis (MM1, MM2 or EE1, EE2); hidden when the
    // values have no usable vertical scale.
    std::array<ChartLabel, 2> Ticks;
};

struct RatingChartLabels {
    RatingAxisLabels Axis;
    // The value at the current frequency beside its circle (MMlb or EElb); nothing when
    // no circle was drawn, and then the label shows nothing.
    std::optional<ChartLabel> Current;
};

struct RatingChartsLabels {
    RatingChartLabels Rm;
    RatingChartLabels Re;
};

// Both charts for one selection of layer, threat and mechanism; the levels are the
// damage levels as typed (their squares scale the damage).
RatingChartsLabels DrawRatingCharts(
    Canvas& canvas, const CData& data, const RatingSelection& selection, float highLevel, float lowLevel);

// The axes of one chart and its two ticks; `verticalScale` is pixels per unit of the
// indicator, `smallest` the value at the bottom axis.
RatingAxisLabels DrawRatingAxes(Canvas& canvas, const RatingChartFrame& chart, float verticalScale, float smallest);
