// The three-dimensional distribution chart of a source-matrix window: a prism per
// selected cell of the derived matrix on a 15 x 15 floor, banded by the mode's two
// thresholds, with the column and row distributions on the back and left walls. Fixed
// pixel geometry in the window's client coordinates; the chart keeps no state and moves
// no labels, so a repaint simply draws it again.
#pragma once

#include "model/Texts.h"

#include "ui/charts/Canvas.h"
#include "ui/charts/ChartLabel.h"

#include <array>

class Matrix;
class Vector;

inline constexpr int kChartCells = 15;
// Which cells get a prism, [row][column]; cells beyond the table never get one.
using CellSelection = std::array<std::array<bool, kChartCells>, kChartCells>;

// Band colours, also shown in the comments window's legend.
inline constexpr Rgb kSmallBandColour { 0, 255, 0 };
inline constexpr Rgb kMediumBandColour { 128, 0, 0 };
inline constexpr Rgb kLargeBandColour { 255, 0, 0 };

// The labels beside the chart, in window coordinates: the axis letters and the first line
// of the left wall's title (two blanks, as the window has always shown it), where the two
// wall titles stand (their captions depend on the mode), and the numbers 1 to 15 along the
// front edge (columns, in italics) and the right edge (rows).
inline constexpr FixedLabel kChartAxisLabels[] = {
    { "Label45", "X", { 728, 240 } },
    { "Label44", "Y", { 176, 464 } },
    { "Label42", "Z", { 416, 32 } },
    { "Label43", VARDUN_TEXT("Charts", "Распределение  Xi"), { 264, 72 } },
};
inline constexpr Point kColumnsTitlePlace { 544, 62 };
inline constexpr Point kRowsTitlePlace { 264, 88 };
inline constexpr FixedLabel kColumnNumberLabels[kChartCells]
    = { { "Label2", "1", { 206, 508 } }, { "Label3", "2", { 228, 508 } }, { "Label5", "3", { 248, 508 } },
          { "Label32", "4", { 268, 508 } }, { "Label33", "5", { 289, 508 } }, { "Label34", "6", { 308, 508 } },
          { "Label35", "7", { 326, 508 } }, { "Label36", "8", { 346, 508 } }, { "Label37", "9", { 367, 508 } },
          { "Label38", "10", { 386, 508 } }, { "Label11", "11", { 412, 508 } }, { "Label12", "12", { 430, 508 } },
          { "Label13", "13", { 450, 508 } }, { "Label14", "14", { 471, 508 } }, { "Label15", "15", { 490, 508 } } };
inline constexpr FixedLabel kRowNumberLabels[kChartCells]
    = { { "Label4", "1", { 736, 282 } }, { "Label6", "2", { 722, 297 } }, { "Label7", "3", { 707, 313 } },
          { "Label8", "4", { 693, 329 } }, { "Label9", "5", { 677, 346 } }, { "Label10", "6", { 664, 358 } },
          { "Label31", "7", { 650, 373 } }, { "Label39", "8", { 635, 390 } }, { "Label40", "9", { 619, 406 } },
          { "Label41", "10", { 598, 422 } }, { "Label16", "11", { 584, 438 } }, { "Label17", "12", { 570, 453 } },
          { "Label18", "13", { 555, 470 } }, { "Label19", "14", { 539, 486 } }, { "Label20", "15", { 518, 502 } } };

// Truncates, then rounds up only above one half: 2.5 gives 2, 2.51 gives 3; a negative
// value is simply truncated. Saturates outside int; a value that is not a number gives 0.
int RoundHalfDown(float x);

// The whole chart: floor and axes, the distributions on the walls, then the prisms from
// back to front so that nearer ones cover farther ones.
void DrawChart(Canvas& canvas, const Matrix& result, const Vector& columnDistribution, const Vector& rowDistribution,
    float smallThreshold, float mediumThreshold, const CellSelection& cells);
