// The tornado chart of the sensitivity ranking, on a recorder.
#include "ui/charts/TornadoChart.h"

#include "RecordingCanvas.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace {

const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();

// Every code point six pixels wide.
int Width(std::string_view text)
{
    int points = 0;
    for (char c : text)
        points += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return 6 * points;
}

const TextMeasure kMeasure { Width, 13 };
constexpr TornadoBox kBox { 10, 20, 700, 340 };

TornadoEntry Entry(const std::string& name, float min, float atZero, float max)
{
    return { name + "-L", name + "-T", name + "-M", { min, atZero, max } };
}

std::vector<Primitive> Bars(const RecordingCanvas& canvas)
{
    std::vector<Primitive> bars;
    for (const Primitive& p : canvas.All(Primitive::Kind::Rectangle))
        if (p.FilledWith.Colour == kTornadoBarColour)
            bars.push_back(p);
    return bars;
}

bool Wrote(const RecordingCanvas& canvas, const std::string& text)
{
    for (const Primitive& p : canvas.All(Primitive::Kind::Text))
        if (p.Text == text)
            return true;
    return false;
}

int TextTop(const RecordingCanvas& canvas, const std::string& text)
{
    for (const Primitive& p : canvas.All(Primitive::Kind::Text))
        if (p.Text == text)
            return p.A.Y;
    ADD_FAILURE() << "no text " << text;
    return -1;
}

TEST(TornadoChart, WidestSwingOnTopWithBarsFromMinimumToMaximumOnOneScale)
{
    // Given out of order: swings 1, 4 and 2 around the current value 2.
    const std::vector<TornadoEntry> entries
        = { Entry("a", 1.5f, 2.0f, 2.5f), Entry("b", 0.0f, 2.0f, 4.0f), Entry("c", 1.0f, 2.0f, 3.0f) };
    RecordingCanvas canvas;
    const TornadoPlaces places = DrawTornadoChart(canvas, kBox, entries, "Rm", kMeasure);

    ASSERT_EQ(places.Bars.size(), 3u);
    EXPECT_EQ(places.Bars[0].Entry, 1u);
    EXPECT_EQ(places.Bars[1].Entry, 2u);
    EXPECT_EQ(places.Bars[2].Entry, 0u);
    // Names row by row from the top, in the same order.
    EXPECT_LT(TextTop(canvas, "b-L / b-T / b-M"), TextTop(canvas, "c-L / c-T / c-M"));
    EXPECT_LT(TextTop(canvas, "c-L / c-T / c-M"), TextTop(canvas, "a-L / a-T / a-M"));

    const std::vector<Primitive> bars = Bars(canvas);
    ASSERT_EQ(bars.size(), 3u);
    for (std::size_t k = 0; k < 3; ++k) {
        // The rectangle covers left .. right-1: the bar's columns are Left .. Right.
        EXPECT_EQ(bars[k].A.X, *places.Bars[k].Left);
        EXPECT_EQ(bars[k].B.X, *places.Bars[k].Right + 1);
        EXPECT_EQ(bars[k].A.Y, places.Bars[k].Top);
        EXPECT_EQ(bars[k].B.Y, places.Bars[k].Bottom);
        EXPECT_GE(bars[k].A.X, kBox.Left);
        EXPECT_LE(bars[k].B.X, kBox.Left + kBox.Width);
        if (k > 0) {
            EXPECT_GE(bars[k].A.Y, bars[k - 1].B.Y) << "rows overlap";
        }
    }
    // 0 .. 4 spans the plot; 1 .. 3 is half of it, centred; 1.5 .. 2.5 a quarter.
    const int full = *places.Bars[0].Right - *places.Bars[0].Left;
    EXPECT_GT(full, 300);
    EXPECT_NEAR(*places.Bars[1].Right - *places.Bars[1].Left, full / 2.0, 1.0);
    EXPECT_NEAR(*places.Bars[2].Right - *places.Bars[2].Left, full / 4.0, 1.0);
    EXPECT_NEAR(*places.Bars[1].Left - *places.Bars[0].Left, full / 4.0, 1.0);

    // The values at the bars' ends: the minimum left of its bar, the maximum right of it.
    for (const Primitive& p : canvas.All(Primitive::Kind::Text)) {
        if (p.Text == "0.00") {
            EXPECT_EQ(p.A.X + Width(p.Text), *places.Bars[0].Left - 3);
        }
        if (p.Text == "4.00") {
            EXPECT_EQ(p.A.X, *places.Bars[0].Right + 1 + 3);
        }
    }
    EXPECT_TRUE(Wrote(canvas, "1.50"));
    EXPECT_TRUE(Wrote(canvas, "2.50"));
}

TEST(TornadoChart, TheCurrentValueIsOneVerticalLineAcrossTheRowsWithItsValue)
{
    const std::vector<TornadoEntry> entries = { Entry("a", 0.0f, 1.0f, 4.0f), Entry("b", 0.5f, 1.0f, 2.0f) };
    RecordingCanvas canvas;
    const TornadoPlaces places = DrawTornadoChart(canvas, kBox, entries, "Re", kMeasure);

    const std::vector<Primitive> lines = canvas.Lines(kTornadoCurrentColour);
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_TRUE(places.Current);
    EXPECT_EQ(lines[0].A.X, *places.Current);
    EXPECT_EQ(lines[0].B.X, *places.Current);
    // From above the first bar down to the row under the last bar, which the line leaves
    // out.
    EXPECT_LT(lines[0].A.Y, places.Bars.front().Top);
    EXPECT_GE(lines[0].B.Y, places.Bars.back().Bottom);
    // A quarter of the way from 0 to 4.
    const int full = *places.Bars[0].Right - *places.Bars[0].Left;
    EXPECT_NEAR(*places.Current - *places.Bars[0].Left, full / 4.0, 1.0);
    EXPECT_TRUE(Wrote(canvas, "Re = 1.00"));
    // The pen and brush are given back.
    EXPECT_EQ(canvas.CurrentPen(), Pen {});
    EXPECT_EQ(canvas.CurrentBrush(), Brush {});
}

TEST(TornadoChart, ATripleWithAValueThatIsNotFiniteRanksLastAndGetsNoBar)
{
    const std::vector<TornadoEntry> entries = { Entry("nan", kNaN, 1.0f, 2.0f), Entry("inf", 0.0f, 1.0f, kInf),
        Entry("ok", 0.5f, 1.0f, 1.5f), Entry("sentinel", 100000.0f, kNaN, kNaN) };
    RecordingCanvas canvas;
    const TornadoPlaces places = DrawTornadoChart(canvas, kBox, entries, "Rm", kMeasure);

    ASSERT_EQ(places.Bars.size(), 4u);
    EXPECT_EQ(places.Bars[0].Entry, 2u);
    EXPECT_TRUE(places.Bars[0].Left);
    for (std::size_t k = 1; k < 4; ++k) {
        EXPECT_FALSE(places.Bars[k].Left) << k;
        EXPECT_FALSE(places.Bars[k].Right) << k;
    }
    // The ones without values keep the order they were given in.
    EXPECT_EQ(places.Bars[1].Entry, 0u);
    EXPECT_EQ(places.Bars[2].Entry, 1u);
    EXPECT_EQ(places.Bars[3].Entry, 3u);
    EXPECT_EQ(Bars(canvas).size(), 1u);
    // The finite triple still spans the whole plot: the others do not stretch the scale.
    EXPECT_GT(*places.Bars[0].Right - *places.Bars[0].Left, 300);
    int noValue = 0;
    for (const Primitive& p : canvas.All(Primitive::Kind::Text))
        noValue += p.Text == kTornadoNoValue;
    EXPECT_EQ(noValue, 3);
}

TEST(TornadoChart, NothingFiniteDrawsNamesOnlyAndNoCurrentLine)
{
    const std::vector<TornadoEntry> entries = { Entry("x", 100000.0f, kNaN, kNaN) };
    RecordingCanvas canvas;
    const TornadoPlaces places = DrawTornadoChart(canvas, kBox, entries, "Rm", kMeasure);
    EXPECT_FALSE(places.Current);
    EXPECT_TRUE(Bars(canvas).empty());
    EXPECT_TRUE(canvas.Lines(kTornadoCurrentColour).empty());
    EXPECT_TRUE(Wrote(canvas, "x-L / x-T / x-M"));
}

TEST(TornadoChart, NoTripleDrawsNothingAndOneTripleSpansThePlot)
{
    RecordingCanvas empty;
    const TornadoPlaces none = DrawTornadoChart(empty, kBox, {}, "Rm", kMeasure);
    EXPECT_TRUE(none.Bars.empty());
    EXPECT_FALSE(none.Current);
    EXPECT_TRUE(empty.Drawn.empty());

    const std::vector<TornadoEntry> one = { Entry("a", 0.25f, 0.5f, 2.0f) };
    RecordingCanvas canvas;
    const TornadoPlaces places = DrawTornadoChart(canvas, kBox, one, "Rm", kMeasure);
    ASSERT_EQ(Bars(canvas).size(), 1u);
    EXPECT_GT(*places.Bars[0].Right - *places.Bars[0].Left, 300);
    ASSERT_TRUE(places.Current);
    EXPECT_GT(*places.Current, *places.Bars[0].Left);
    EXPECT_LT(*places.Current, *places.Bars[0].Right);
}

TEST(TornadoChart, AllValuesEqualGiveOneColumnBarsAtTheCurrentLine)
{
    // No swing anywhere: no scale to divide by.
    const std::vector<TornadoEntry> entries = { Entry("a", 0.7f, 0.7f, 0.7f), Entry("b", 0.7f, 0.7f, 0.7f) };
    RecordingCanvas canvas;
    const TornadoPlaces places = DrawTornadoChart(canvas, kBox, entries, "Rm", kMeasure);
    ASSERT_EQ(places.Bars.size(), 2u);
    ASSERT_TRUE(places.Current);
    for (const TornadoBarPlace& bar : places.Bars) {
        EXPECT_EQ(*bar.Left, *places.Current);
        EXPECT_EQ(*bar.Right, *places.Current);
    }
    for (const Primitive& bar : Bars(canvas))
        EXPECT_EQ(bar.B.X - bar.A.X, 1);
}

TEST(TornadoChart, ShowsTheFirstFifteenOfTheRanking)
{
    std::vector<TornadoEntry> entries;
    for (int k = 0; k < 20; ++k)
        entries.push_back(Entry(std::to_string(k), 0.0f, 0.0f, static_cast<float>(k)));
    RecordingCanvas canvas;
    const TornadoPlaces places = DrawTornadoChart(canvas, kBox, entries, "Rm", kMeasure);
    ASSERT_EQ(places.Bars.size(), static_cast<std::size_t>(kTornadoBars));
    EXPECT_EQ(places.Bars.front().Entry, 19u);
    EXPECT_EQ(places.Bars.back().Entry, 5u);
    EXPECT_LE(places.Bars.back().Bottom, kBox.Top + kBox.Height);
}

TEST(TornadoChart, LongNamesAreCutPartByPartToFit)
{
    const TornadoEntry entry { "Периметр сети предприятия", "Вирус", "Антивирусная защита рабочих мест", {} };
    struct Case {
        int Width;
        std::string Expected;
    };
    const Case cases[] = {
        { 1000, "Периметр сети предприятия / Вирус / Антивирусная защита рабочих мест" },
        // Each part at most 10 letters: 10 + 1 + 3 + 5 + 3 + 10 + 1 = 33 letters.
        { 33 * 6, "Периметр с… / Вирус / Антивирусн…" },
        { 32 * 6, "Периметр … / Вирус / Антивирус…" },
        // Not even a letter a part: the whole cut at its end.
        { 5 * 6, "Пери…" },
    };
    for (const Case& c : cases) {
        const std::string name = TornadoName(entry, c.Width, kMeasure);
        EXPECT_EQ(name, c.Expected) << c.Width;
        EXPECT_LE(Width(name), c.Width);
    }
}

} // namespace
