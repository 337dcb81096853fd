// The small bar chart of a square matrix's main diagonal in the MM and EE window: one
// bar per diagonal element, scaled so the largest is 120 px, with marks for 0.5, 1.0
// and 1.5 on the same scale and a dotted line level with the tallest bar. Coordinates
// are those of the group box that holds the matrix's grid.
#pragma once

#include "ui/charts/Canvas.h"
#include "ui/charts/ChartLabel.h"

#include <array>
#include <string>

class Canvas;
class Matrix;

struct DiagonalChartLabels {
    // The rating indicator, the norm of the diagonal (RMLabel or RELabel).
    std::string Indicator;
    // The largest diagonal element (MMMax or EEMax).
    std::string Maximum;
    // The scale labels for 0.5, 1.0 and 1.5 (MM05, MM10, MM15 or EE05, EE10, EE15);
    // hidden when the diagonal has no positive element to scale by.
    std::array<ChartLabel, 3> Scale;
};

// Where the labels beside the chart stand, in the group box's coordinates: the largest
// element's value, the column of the scale labels (the chart moves them up and down
// only), the numbers under the first ten bars, and the name of the kind of the bars.
inline constexpr Point kDiagonalMaximumPlace { 304, 56 };
inline constexpr int kDiagonalScaleLeft = 277;
inline constexpr int kDiagonalBarNumberTop = 192;
inline constexpr int kDiagonalBarNumberLefts[] = { 328, 348, 366, 386, 406, 424, 444, 464, 484, 502 };
inline constexpr Point kDiagonalKindPlace { 576, 168 };

// Draws the chart of one matrix (MM in its group box, or EE in its own).
DiagonalChartLabels DrawDiagonalChart(Canvas& canvas, const Matrix& matrix);
