// The three-dimensional distribution chart of a source-matrix window: a prism per
// selected cell of the derived matrix on a 15 x 15 floor, banded by the mode's two
// thresholds, with the column and row distributions on the back and left walls. Fixed
// pixel geometry in the window's client coordinates; the chart keeps no state and moves
// no labels, so a repaint simply draws it again.
#pragma once

#include "ui/Canvas.h"

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

// Truncates, then rounds up only above one half: 2.5 gives 2, 2.51 gives 3; a negative
// value is simply truncated. Saturates outside int; a value that is not a number gives 0.
int RoundHalfDown(float x);

// The whole chart: floor and axes, the distributions on the walls, then the prisms from
// back to front so that nearer ones cover farther ones.
void DrawChart(Canvas& canvas, const Matrix& result, const Vector& columnDistribution, const Vector& rowDistribution,
    float smallThreshold, float mediumThreshold, const CellSelection& cells);

void DrawFloorAndAxes(Canvas& canvas);
// A bar of the given pixel height on the back wall above the back end of a column.
void DrawColumnBar(Canvas& canvas, int column, int height);
// A slab on the left wall beside a row, with the row's number on it.
void DrawRowSlab(Canvas& canvas, int row, int height);
// A prism from `corner` (back, bottom, left) split into up to three colour bands at the
// pixel heights `small` and `medium`.
void DrawBandedPrism(Canvas& canvas, Point corner, int width, int depth, int height, int small, int medium);
// One prism of one colour with black edges; its front face is `depth` left of and
// below the back one.
void DrawPrism(Canvas& canvas, Point corner, int width, int depth, int height, Rgb colour);
