// The difference chart on a recording canvas: which way the bars go, their heights on one
// scale, items without a bar, the cut after kDifferenceBars, values that are no number.
#include "ui/charts/DifferenceChart.h"

#include "RecordingCanvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr DifferenceBox kBox { 10, 20, 400, 200 };

// Every character 6 px wide, a line 13 px high.
const TextMeasure kMeasure { [](std::string_view text) { return static_cast<int>(text.size()) * 6; }, 13 };

ItemComparison Both(float before, float after)
{
    ItemComparison item;
    item.Name = "x";
    item.ThisPosition = 0;
    item.OtherPosition = 0;
    item.This = before;
    item.Other = after;
    item.Difference = after - before;
    return item;
}

ItemComparison OnlyThis()
{
    ItemComparison item;
    item.ThisPosition = 0;
    item.This = 1.0f;
    return item;
}

ItemComparison OnlyOther()
{
    ItemComparison item;
    item.OtherPosition = 0;
    item.Other = 1.0f;
    return item;
}

std::vector<Primitive> Rectangles(const RecordingCanvas& canvas)
{
    return canvas.All(Primitive::Kind::Rectangle);
}

// The text drawn at a slot's middle, if any, other than its number.
bool HasTextInSlot(const RecordingCanvas& canvas, const DifferenceSlot& slot, std::string_view text)
{
    for (const Primitive& p : canvas.All(Primitive::Kind::Text))
        if (p.Text == text && p.A.X >= slot.Left - 6 && p.A.X < slot.Right)
            return true;
    return false;
}

TEST(DifferenceChart, IncreasesGoUpAndDecreasesDownInTheirColours)
{
    const std::vector<ItemComparison> items = { Both(1.0f, 3.0f), Both(2.0f, 1.0f) };
    RecordingCanvas canvas;
    const DifferencePlaces places = DrawDifferenceChart(canvas, kBox, "MM", items, kMeasure);

    ASSERT_EQ(places.Slots.size(), 2u);
    const DifferenceSlot& up = places.Slots[0];
    const DifferenceSlot& down = places.Slots[1];
    ASSERT_EQ(up.Mark, DifferenceMark::Bar);
    EXPECT_EQ(*up.Bottom, places.Zero);
    EXPECT_LT(*up.Top, places.Zero);
    EXPECT_EQ(*down.Top, places.Zero + 1);
    EXPECT_GT(*down.Bottom, places.Zero + 1);
    EXPECT_LE(up.Right, down.Left);

    const std::vector<Primitive> bars = Rectangles(canvas);
    ASSERT_EQ(bars.size(), 2u);
    EXPECT_EQ(bars[0].FilledWith.Colour, kIncreaseColour);
    EXPECT_EQ(bars[0].A.Y, *up.Top);
    EXPECT_EQ(bars[0].B.Y, *up.Bottom);
    EXPECT_EQ(bars[1].FilledWith.Colour, kDecreaseColour);
    EXPECT_EQ(bars[1].A.Y, *down.Top);
    EXPECT_EQ(bars[1].B.Y, *down.Bottom);
    // Inside the box, and the pen and brush given back.
    for (const Primitive& bar : bars) {
        EXPECT_GE(bar.A.Y, kBox.Top);
        EXPECT_LE(bar.B.Y, kBox.Top + kBox.Height);
        EXPECT_GE(bar.A.X, kBox.Left);
        EXPECT_LE(bar.B.X, kBox.Left + kBox.Width);
    }
    EXPECT_EQ(canvas.CurrentBrush(), Brush {});
    EXPECT_EQ(canvas.CurrentPen(), Pen {});
}

TEST(DifferenceChart, HeightsAreProportionalOnOneScale)
{
    const std::vector<ItemComparison> items
        = { Both(0.0f, 1.0f), Both(0.0f, 2.0f), Both(0.0f, 4.0f), Both(4.0f, 2.0f) };
    RecordingCanvas canvas;
    const DifferencePlaces places = DrawDifferenceChart(canvas, kBox, "EE", items, kMeasure);
    ASSERT_EQ(places.Slots.size(), 4u);
    std::vector<int> heights;
    for (const DifferenceSlot& slot : places.Slots)
        heights.push_back(*slot.Bottom - *slot.Top);
    ASSERT_GT(heights[0], 10);
    EXPECT_NEAR(heights[1], 2 * heights[0], 1);
    EXPECT_NEAR(heights[2], 4 * heights[0], 2);
    // The decrease of 2 on the same scale as the increase of 2.
    EXPECT_NEAR(heights[3], heights[1], 1);
}

TEST(DifferenceChart, ZeroDifferencesDrawNoBarOnTheZeroLine)
{
    const std::vector<ItemComparison> items = { Both(1.0f, 1.0f), Both(0.5f, 0.5f) };
    RecordingCanvas canvas;
    const DifferencePlaces places = DrawDifferenceChart(canvas, kBox, "MM", items, kMeasure);
    EXPECT_TRUE(Rectangles(canvas).empty());
    ASSERT_EQ(places.Slots.size(), 2u);
    for (const DifferenceSlot& slot : places.Slots) {
        EXPECT_EQ(slot.Mark, DifferenceMark::Bar);
        EXPECT_EQ(slot.Top, slot.Bottom);
    }
    // The zero line stands inside the box.
    EXPECT_GT(places.Zero, kBox.Top);
    EXPECT_LT(places.Zero, kBox.Top + kBox.Height);
}

TEST(DifferenceChart, OneItemFillsTheScale)
{
    const std::vector<ItemComparison> items = { Both(1.0f, 0.25f) };
    RecordingCanvas canvas;
    const DifferencePlaces places = DrawDifferenceChart(canvas, kBox, "MM", items, kMeasure);
    ASSERT_EQ(places.Slots.size(), 1u);
    // Only a decrease: the zero line at the top, the bar down to the plot's foot.
    EXPECT_LT(places.Zero, kBox.Top + 40);
    EXPECT_GT(*places.Slots[0].Bottom, kBox.Top + kBox.Height - 40);
    EXPECT_EQ(places.Slots[0].Number, "1");
    EXPECT_TRUE(HasTextInSlot(canvas, places.Slots[0], "1"));
    // The scale says how far it goes.
    bool lowLabel = false;
    for (const Primitive& p : canvas.All(Primitive::Kind::Text))
        lowLabel = lowLabel || p.Text == "-0.75";
    EXPECT_TRUE(lowLabel);
}

TEST(DifferenceChart, ItemsInOneAssessmentOnlyAreMarkedWithoutABar)
{
    const std::vector<ItemComparison> items = { Both(1.0f, 2.0f), OnlyOther(), OnlyThis() };
    RecordingCanvas canvas;
    const DifferencePlaces places = DrawDifferenceChart(canvas, kBox, "MM", items, kMeasure);
    ASSERT_EQ(places.Slots.size(), 3u);
    EXPECT_EQ(places.Slots[1].Mark, DifferenceMark::Added);
    EXPECT_EQ(places.Slots[2].Mark, DifferenceMark::Removed);
    EXPECT_FALSE(places.Slots[1].Top);
    EXPECT_FALSE(places.Slots[2].Top);
    EXPECT_EQ(Rectangles(canvas).size(), 1u);
    EXPECT_TRUE(HasTextInSlot(canvas, places.Slots[1], kAddedMark));
    EXPECT_TRUE(HasTextInSlot(canvas, places.Slots[2], kRemovedMark));
}

TEST(DifferenceChart, ValuesThatAreNoNumberGetAMarkAndKeepTheScale)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::vector<ItemComparison> items = { Both(0.0f, 1.0f), Both(nan, 1.0f), Both(0.0f, inf), Both(inf, inf) };
    RecordingCanvas canvas;
    const DifferencePlaces places = DrawDifferenceChart(canvas, kBox, "EE", items, kMeasure);
    ASSERT_EQ(places.Slots.size(), 4u);
    EXPECT_EQ(places.Slots[0].Mark, DifferenceMark::Bar);
    for (std::size_t k = 1; k < 4; ++k) {
        EXPECT_EQ(places.Slots[k].Mark, DifferenceMark::NoValue) << k;
        EXPECT_TRUE(HasTextInSlot(canvas, places.Slots[k], kNoValueMark)) << k;
    }
    // The one finite bar still spans the whole height above the zero line.
    ASSERT_EQ(Rectangles(canvas).size(), 1u);
    EXPECT_GT(*places.Slots[0].Bottom - *places.Slots[0].Top, kBox.Height / 2);
    for (const Primitive& p : canvas.All(Primitive::Kind::Text))
        EXPECT_EQ(p.Text.find("NAN"), std::string::npos) << p.Text;
}

TEST(DifferenceChart, ShowsTheFirstFifteenAndSaysSo)
{
    std::vector<ItemComparison> items;
    for (int k = 0; k < 20; ++k)
        items.push_back(Both(0.0f, static_cast<float>(k + 1)));
    RecordingCanvas canvas;
    const DifferencePlaces places = DrawDifferenceChart(canvas, kBox, "MM", items, kMeasure);
    EXPECT_TRUE(places.Cut);
    ASSERT_EQ(places.Slots.size(), static_cast<std::size_t>(kDifferenceBars));
    EXPECT_EQ(places.Slots.back().Number, "15");
    EXPECT_LE(places.Slots.back().Right, kBox.Left + kBox.Width);

    RecordingCanvas few;
    items.resize(kDifferenceBars);
    EXPECT_FALSE(DrawDifferenceChart(few, kBox, "MM", items, kMeasure).Cut);
}

TEST(DifferenceChart, NoItemsDrawsTheAxesOnly)
{
    RecordingCanvas canvas;
    const DifferencePlaces places = DrawDifferenceChart(canvas, kBox, "MM", {}, kMeasure);
    EXPECT_TRUE(places.Slots.empty());
    EXPECT_FALSE(places.Cut);
    EXPECT_TRUE(Rectangles(canvas).empty());
    EXPECT_FALSE(canvas.All(Primitive::Kind::Line).empty());
}

} // namespace
