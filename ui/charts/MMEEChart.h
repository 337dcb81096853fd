// The small bar chart of a square matrix's main diagonal in the MM and EE window: one
// bar per diagonal element, scaled so the largest is 120 px, with marks for 0.5, 1.0
// and 1.5 on the same scale and a dotted line level with the tallest bar. Coordinates
// are those of the group box that holds the matrix's grid.
#pragma once

#include "model/Data.h"
#include "model/Kinds.h"
#include "model/Texts.h"
#include "ui/charts/Canvas.h"
#include "ui/charts/ChartLabel.h"

#include <array>
#include <string>

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
// The numbers of the bars after the tenth, two digits placed as the tenth's; each is
// written only where its bar is drawn.
inline constexpr int kDiagonalLaterBarNumberLefts[] = { 522, 542, 562, 582, 602 };
inline constexpr Point kDiagonalKindPlace { 576, 168 };

// What the MM and EE boxes show beside their charts, for the window and the report alike.
struct DiagonalBox {
    const char* Caption;
    const char* IndicatorCaption;
    Matrix CData::*Source;
    ItemKind Kind; // of the matrix's rows and columns
    // Where the scale's 0 stands.
    Point Zero;
    const char* KindCaption;
};
// The inner quotation marks belong to both captions; the EE caption ends in Cyrillic letters
// and the MM one in Latin ones, as the window has always shown them.
inline constexpr DiagonalBox kDiagonalBoxes[] = {
    { VARDUN_TEXT("Charts", "Матрица достоверного потенциального ущерба \"МЗ-МЗ\" MM"),
        VARDUN_TEXT("Charts", "Рейтинговый показатель Rm:"), &CData::MM, ItemKind::Mechanism, { 285, 184 },
        VARDUN_TEXT("Charts", "МЗ") },
    { VARDUN_TEXT("Charts", "Матрица достоверного потенциального ущерба \"эшелоны-эшелоны\" ЕЕ"),
        VARDUN_TEXT("Charts", "Рейтинговый показатель Re:"), &CData::EE, ItemKind::Layer, { 285, 192 },
        VARDUN_TEXT("Charts", "Эшелон") },
};

// The chart shows the first 15 diagonal elements at most, as the distribution chart shows
// 15 rows and columns: a 16th bar would stand beyond the chart's right edge.
inline constexpr int kDiagonalVisibleBars = 15;

// Draws the chart of one matrix (MM in its group box, or EE in its own); the scale and the
// largest value are those of the bars shown.
DiagonalChartLabels DrawDiagonalChart(Canvas& canvas, const Matrix& matrix);
