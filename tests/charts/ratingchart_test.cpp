// The rating charts, on a recorder, over small assessments whose curves are known.
#include "ui/charts/RatingChart.h"

#include "../core/support/MatrixLiterals.h"
#include "RecordingCanvas.h"
#include "model/Data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// One layer, threat and mechanism: Rm = Re = r * max(0, ef + s) * max(0, fm + s) * d / max.
CData OneItem(float reliability, float damage, float ef, float fm, float weightedMax)
{
    CData data;
    data.LayerCount = data.ThreatCount = data.MechanismCount = 1;
    data.ReliabilityME = MakeMatrix({ { reliability } });
    data.DamageEM = MakeMatrix({ { damage } });
    data.EF = MakeMatrix({ { ef } });
    data.FM = MakeMatrix({ { fm } });
    data.WeightedDamageMax = weightedMax;
    return data;
}

// 0.5 * (2 + s) * (3 + s) / 6 from 0.0 (at s <= -2) to 13.0 (at s = 10).
CData Quadratic()
{
    return OneItem(0.5f, 4.0f, 2.0f, 3.0f, 24.0f);
}

std::vector<Primitive> Of(const RecordingCanvas& canvas, Primitive::Kind kind, Rgb colour, PenStyle style)
{
    std::vector<Primitive> result;
    for (const auto& p : canvas.All(kind))
        if (p.DrawnWith.Colour == colour && p.DrawnWith.Style == style)
            result.push_back(p);
    return result;
}

std::vector<Primitive> Curve(const RecordingCanvas& canvas, Rgb colour)
{
    return Of(canvas, Primitive::Kind::Line, colour, PenStyle::Solid);
}

Point Centre(const Primitive& box)
{
    return { (box.A.X + box.B.X) / 2, (box.A.Y + box.B.Y) / 2 };
}

TEST(RatingCharts, SingleItemAssessment)
{
    RecordingCanvas canvas;
    const RatingChartsLabels labels = DrawRatingCharts(canvas, Quadratic(), {}, 2.0f, 0.5f);

    // Rm from 0 to 13: 150 / 13 px per unit.
    EXPECT_EQ(labels.Rm.Axis.Minimum, "0.00");
    EXPECT_EQ(labels.Rm.Axis.Ticks[0], (ChartLabel { "0.50", 391, true }));
    EXPECT_EQ(labels.Rm.Axis.Ticks[1], (ChartLabel { "1.00", 385, true }));
    ASSERT_TRUE(labels.Rm.Current);
    EXPECT_EQ(*labels.Rm.Current, (ChartLabel { "0.50", 383, true }));
    // The same numbers on the right for Re.
    EXPECT_EQ(labels.Re.Axis.Ticks, labels.Rm.Axis.Ticks);
    EXPECT_EQ(labels.Re.Current, labels.Rm.Current);

    const auto black = canvas.Lines(kBlack);
    ASSERT_EQ(black.size(), 2u * 4u);
    EXPECT_EQ(black[0].A, (Point { 30, 250 }));
    EXPECT_EQ(black[0].B, (Point { 30, 400 }));
    EXPECT_EQ(black[1].B, (Point { 300, 400 }));
    EXPECT_EQ(black[2].A, (Point { 25, 394 }));
    EXPECT_EQ(black[2].B, (Point { 35, 394 }));
    EXPECT_EQ(black[3].A, (Point { 25, 388 }));
    EXPECT_EQ(black[4].A, (Point { 350, 250 }));
    EXPECT_EQ(black[6].A, (Point { 345, 394 }));

    // Circles: current level at y 394, high level (2, factor 4) at 376, per chart.
    const auto green = Of(canvas, Primitive::Kind::Ellipse, kCurrentLevelColour, PenStyle::Solid);
    const auto red = Of(canvas, Primitive::Kind::Ellipse, kHighLevelColour, PenStyle::Solid);
    const auto dark = Of(canvas, Primitive::Kind::Ellipse, kLowLevelColour, PenStyle::Solid);
    ASSERT_EQ(green.size(), 2u);
    ASSERT_EQ(red.size(), 2u);
    ASSERT_EQ(dark.size(), 2u);
    // The curves leave 0 at shift -1.8, their common origin; 0 is 1.8 * 13.5 px right of the axis.
    EXPECT_EQ(Centre(green[0]), (Point { 54, 394 }));
    EXPECT_EQ(green[0].B.X - green[0].A.X, 10);
    EXPECT_EQ(green[0].B.Y - green[0].A.Y, 10);
    EXPECT_EQ(green[0].FilledWith.Colour, kWhite);
    EXPECT_EQ(Centre(red[0]), (Point { 54, 376 }));
    EXPECT_EQ(Centre(dark[0]), (Point { 54, 398 })); // 0.125
    EXPECT_EQ(Centre(green[1]), (Point { 374, 394 }));

    // The dotted guide runs from the current-level circle to the axis, once per chart.
    const auto guides = Of(canvas, Primitive::Kind::Line, kCurrentLevelColour, PenStyle::Dotted);
    ASSERT_EQ(guides.size(), 2u);
    EXPECT_EQ(guides[0].A, (Point { 54, 394 }));
    EXPECT_EQ(guides[0].B, (Point { 30, 394 }));
    EXPECT_EQ(guides[1].B, (Point { 350, 394 }));
    EXPECT_TRUE(Of(canvas, Primitive::Kind::Line, kHighLevelColour, PenStyle::Dotted).empty());

    // The high-level curve stops at the top: shift 3.6 is drawn (x 102), 3.8 is not.
    const auto high = Curve(canvas, kHighLevelColour);
    ASSERT_EQ(high.size(), 2u * 27u); // samples -1.8 .. 3.6 on each chart
    EXPECT_EQ(high[0].A, (Point { 30, 399 }));
    EXPECT_EQ(high[26].B.X, 102);
    EXPECT_GE(high[26].B.Y, 250);
    // The current-level curve stays inside: 59 samples, -1.8 .. 9.8.
    const auto current = Curve(canvas, kCurrentLevelColour);
    ASSERT_EQ(current.size(), 2u * 58u);
    EXPECT_EQ(current[57].B, (Point { 186, 254 })); // 12.59 at 9.8
}

TEST(RatingCharts, TheCurveRunsOverItsCircleAndOnFromWhereItArrived)
{
    RecordingCanvas canvas;
    DrawRatingCharts(canvas, Quadratic(), {}, 2.0f, 0.5f);
    const auto& drawn = canvas.Drawn;
    const auto circle = std::find_if(
        drawn.begin(), drawn.end(), [](const Primitive& p) { return p.Type == Primitive::Kind::Ellipse; });
    ASSERT_NE(circle, drawn.end());
    // Circle, guide, then the segment into the circle's centre from the previous point.
    ASSERT_GE(drawn.end() - circle, 3);
    EXPECT_EQ((circle + 1)->DrawnWith.Style, PenStyle::Dotted);
    EXPECT_EQ((circle + 2)->B, (Point { 54, 394 }));
    EXPECT_EQ((circle + 2)->A, (circle - 1)->B);
    EXPECT_EQ((circle + 2)->DrawnWith, (Pen { PenStyle::Solid, kCurrentLevelColour, 1 }));
    EXPECT_EQ(canvas.CurrentPen(), Pen {});
    EXPECT_EQ(canvas.CurrentBrush(), Brush {});
}

TEST(RatingCharts, CurveFromTheAxisToShift9Point8)
{
    // (10 + s)^2 / 100: its minimum only at -10, so the curve starts at shift -9.8.
    RecordingCanvas canvas;
    DrawRatingCharts(canvas, OneItem(1.0f, 1.0f, 10.0f, 10.0f, 100.0f), {}, 1.0f, 0.0f);
    const auto current = Curve(canvas, kCurrentLevelColour);
    ASSERT_EQ(current.size(), 2u * 98u);
    EXPECT_EQ(current[0].A.X, 30);
    EXPECT_EQ(current[97].B.X, 294);
    const auto circles = Of(canvas, Primitive::Kind::Ellipse, kCurrentLevelColour, PenStyle::Solid);
    ASSERT_EQ(circles.size(), 2u);
    EXPECT_EQ(Centre(circles[0]).X, 162);
    // A low level of 0 makes every value 0: no curve, no circle.
    EXPECT_TRUE(Curve(canvas, kLowLevelColour).empty());
    EXPECT_TRUE(Of(canvas, Primitive::Kind::Ellipse, kLowLevelColour, PenStyle::Solid).empty());
    // A high level of 1 is the current curve again, guide included.
    EXPECT_EQ(Curve(canvas, kHighLevelColour).size(), current.size());
    EXPECT_EQ(Of(canvas, Primitive::Kind::Line, kHighLevelColour, PenStyle::Dotted).size(), 2u);
}

TEST(RatingCharts, WithoutAFiniteScaleOnlyTheAxesAndTheMinimumAreShown)
{
    struct Case {
        const char* what;
        CData data;
        const char* minimum;
    };
    const Case cases[] = {
        // Every value is not a number: the range keeps its start value as the smallest.
        { "zero weighted maximum", OneItem(0.5f, 4.0f, 2.0f, 3.0f, 0.0f), "100000.00" },
        // The value does not depend on the shift: largest equals smallest.
        { "no damage", OneItem(0.5f, 0.0f, 2.0f, 3.0f, 24.0f), "0.00" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingCanvas canvas;
        const RatingChartsLabels labels = DrawRatingCharts(canvas, c.data, {}, 2.0f, 0.5f);
        EXPECT_EQ(canvas.All(Primitive::Kind::Line).size(), 2u * 2u); // the axes
        EXPECT_TRUE(canvas.All(Primitive::Kind::Ellipse).empty());
        for (const RatingChartLabels* chart : { &labels.Rm, &labels.Re }) {
            EXPECT_EQ(chart->Axis.Minimum, c.minimum);
            EXPECT_FALSE(chart->Axis.Ticks[0].Visible);
            EXPECT_FALSE(chart->Axis.Ticks[1].Visible);
            EXPECT_FALSE(chart->Current);
        }
    }
}

TEST(RatingCharts, TicksAreTheNextTwoMultiplesOfOneHalfStrictlyAbove)
{
    struct Case {
        float smallest;
        const char* first;
        const char* second;
        int firstY; // with 100 px per unit
    };
    for (const Case c : { Case { 0.73f, "1.00", "1.50", 373 }, Case { 0.5f, "1.00", "1.50", 350 },
             Case { 0.2f, "0.50", "1.00", 370 }, Case { 0.0f, "0.50", "1.00", 350 } }) {
        SCOPED_TRACE(c.smallest);
        RecordingCanvas canvas;
        const RatingAxisLabels labels = DrawRatingAxes(canvas, kRmChart, 100.0f, c.smallest);
        EXPECT_EQ(labels.Ticks[0].Caption, c.first);
        EXPECT_EQ(labels.Ticks[1].Caption, c.second);
        EXPECT_EQ(labels.Ticks[0].Top, c.firstY - 3);
        const auto lines = canvas.All(Primitive::Kind::Line);
        ASSERT_EQ(lines.size(), 4u);
        EXPECT_EQ(lines[2].A, (Point { 25, c.firstY }));
        EXPECT_EQ(lines[2].B, (Point { 35, c.firstY }));
        EXPECT_EQ(lines[3].A.Y, c.firstY - 50);
    }
    // Ticks whose place is no pixel at all are hidden, not converted out of range.
    RecordingCanvas canvas;
    const RatingAxisLabels far = DrawRatingAxes(canvas, kRmChart, 1e30f, 0.0f);
    EXPECT_FALSE(far.Ticks[0].Visible);
    EXPECT_EQ(canvas.All(Primitive::Kind::Line).size(), 2u);
}

} // namespace
