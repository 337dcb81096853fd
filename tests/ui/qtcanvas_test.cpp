// The QPainter canvas against the window system's pixel rules, checked on images.
#include "ui/widgets/QtCanvas.h"

#include <QImage>
#include <QPainter>
#include <QWidget>
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <set>
#include <utility>
#include <vector>

namespace {

const QColor kGrey(90, 90, 90);
constexpr Rgb kRed { 255, 0, 0 };
constexpr Rgb kBlue { 0, 0, 255 };

QImage Blank(int width = 100, int height = 100)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(kGrey);
    return image;
}

QColor At(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y);
}
QColor ToQ(Rgb c)
{
    return QColor(c.Red, c.Green, c.Blue);
}

template <typename Draw> QImage Render(Draw draw, int width = 100, int height = 100)
{
    QImage image = Blank(width, height);
    QPainter painter(&image);
    QtCanvas canvas(painter);
    draw(canvas);
    return image;
}

// The pixels of a line by the plain rule, one pixel per step along the longer axis, the
// other coordinate nearest the true line, a tie going to the smaller coordinate (the
// upper pixel of a flat line, the left one of a steep line). End point left out.
std::set<std::pair<int, int>> ReferenceLine(int x0, int y0, int x1, int y1)
{
    std::set<std::pair<int, int>> pixels;
    const long long dx = x1 - x0;
    const long long dy = y1 - y0;
    const bool flat = std::llabs(dx) >= std::llabs(dy);
    const long long steps = flat ? std::llabs(dx) : std::llabs(dy);
    for (long long n = 0; n < steps; ++n) {
        // The other coordinate is c0 + n * slope exactly, slope = num / steps.
        const long long num = (flat ? dy : dx) * n;
        long long below = num / steps;
        if (num % steps != 0 && num < 0)
            --below;
        const long long toBelow = num - below * steps;
        const long long toAbove = (below + 1) * steps - num;
        const long long offset = toBelow <= toAbove ? below : below + 1;
        if (flat)
            pixels.insert({ static_cast<int>(x0 + (dx > 0 ? n : -n)), static_cast<int>(y0 + offset) });
        else
            pixels.insert({ static_cast<int>(x0 + offset), static_cast<int>(y0 + (dy > 0 ? n : -n)) });
    }
    return pixels;
}

// Every pixel of the image is black exactly where the reference puts one.
void ExpectOnlyReference(const QImage& image, const std::set<std::pair<int, int>>& expected, const char* what)
{
    int wrong = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const bool set = At(image, x, y) == Qt::black;
            if (set != (expected.count({ x, y }) > 0) && ++wrong <= 3)
                ADD_FAILURE() << what << ": pixel (" << x << ", " << y << ") " << (set ? "set" : "not set");
        }
}

TEST(QtCanvas, LineSetsItsStartButNotItsEnd)
{
    struct Case {
        int x0, y0, x1, y1;
    };
    for (const Case c : { Case { 10, 50, 40, 50 }, Case { 40, 50, 10, 50 }, Case { 50, 10, 50, 40 },
             Case { 50, 40, 50, 10 }, Case { 10, 10, 40, 40 } }) {
        const QImage image = Render([&](Canvas& canvas) {
            canvas.MoveTo(c.x0, c.y0);
            canvas.LineTo(c.x1, c.y1);
        });
        SCOPED_TRACE(testing::Message() << c.x0 << "," << c.y0 << " -> " << c.x1 << "," << c.y1);
        EXPECT_EQ(At(image, c.x0, c.y0), Qt::black);
        EXPECT_EQ(At(image, c.x1, c.y1), kGrey);
        ExpectOnlyReference(image, ReferenceLine(c.x0, c.y0, c.x1, c.y1), "line");
    }
}

TEST(QtCanvas, TiesGoToTheUpperPixelOfFlatLinesAndTheLeftPixelOfSteepOnes)
{
    // Each line is 4 by 1 (or 1 by 4): half way along it the true line passes exactly
    // between two pixels. One line per octant, all from (50, 50).
    struct Case {
        int dx, dy;
        int tieX, tieY; // the pixel taken at the tie
    };
    const Case cases[] = {
        { 4, 1, 52, 50 }, { 4, -1, 52, 49 }, { -4, 1, 48, 50 }, { -4, -1, 48, 49 }, // flat: upper
        { 1, 4, 50, 52 }, { -1, 4, 49, 52 }, { 1, -4, 50, 48 }, { -1, -4, 49, 48 }, // steep: left
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "to (" << 50 + c.dx << ", " << 50 + c.dy << ")");
        const QImage image = Render([&](Canvas& canvas) {
            canvas.MoveTo(50, 50);
            canvas.LineTo(50 + c.dx, 50 + c.dy);
        });
        EXPECT_EQ(At(image, c.tieX, c.tieY), Qt::black);
        ExpectOnlyReference(image, ReferenceLine(50, 50, 50 + c.dx, 50 + c.dy), "tie");
    }
}

TEST(QtCanvas, RandomLinesMatchThePlainRuleAlsoWhenTheyLeaveTheImage)
{
    // Ends up to 100 px outside a 100 x 100 image also exercise starting part-way along.
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> coordinate(-100, 200);
    for (int k = 0; k < 300; ++k) {
        const int x0 = coordinate(random), y0 = coordinate(random), x1 = coordinate(random), y1 = coordinate(random);
        const QImage image = Render([&](Canvas& canvas) {
            canvas.MoveTo(x0, y0);
            canvas.LineTo(x1, y1);
        });
        SCOPED_TRACE(testing::Message() << x0 << "," << y0 << " -> " << x1 << "," << y1);
        ExpectOnlyReference(image, ReferenceLine(x0, y0, x1, y1), "random line");
        if (HasFailure())
            break;
    }
}

// Lines along an axis take a faster way to the image than sloped ones; the pixels must be
// the same, also for lines that start or end outside it.
TEST(QtCanvas, RandomLinesAlongAnAxisMatchThePlainRule)
{
    std::mt19937 random(20261210);
    std::uniform_int_distribution<int> coordinate(-100, 200);
    for (int k = 0; k < 300; ++k) {
        const int a = coordinate(random), b = coordinate(random), fixed = coordinate(random);
        const bool vertical = k % 2 == 1;
        const int x0 = vertical ? fixed : a, x1 = vertical ? fixed : b;
        const int y0 = vertical ? a : fixed, y1 = vertical ? b : fixed;
        const QImage image = Render([&](Canvas& canvas) {
            canvas.MoveTo(x0, y0);
            canvas.LineTo(x1, y1);
        });
        SCOPED_TRACE(testing::Message() << x0 << "," << y0 << " -> " << x1 << "," << y1);
        ExpectOnlyReference(image, ReferenceLine(x0, y0, x1, y1), "axis line");
        if (HasFailure())
            break;
    }
}

// Lines of one pen are set together; a later line of another pen still lies on top.
TEST(QtCanvas, LaterLinesCoverEarlierOnesWhateverTheirPens)
{
    const QImage image = Render([](Canvas& canvas) {
        PenScope red(canvas, { PenStyle::Solid, { 255, 0, 0 }, 1 });
        canvas.MoveTo(10, 50);
        canvas.LineTo(90, 50); // along an axis
        canvas.MoveTo(10, 10);
        canvas.LineTo(90, 90); // sloped, the same pen
        {
            PenScope blue(canvas, { PenStyle::Solid, kBlue, 1 });
            canvas.MoveTo(50, 10);
            canvas.LineTo(50, 90);
        }
        canvas.MoveTo(40, 60);
        canvas.LineTo(60, 40); // red again, across the blue line
        BrushScope green(canvas, { { 0, 255, 0 } });
        canvas.Rectangle(70, 45, 80, 55); // over the first red line
    });
    EXPECT_EQ(At(image, 30, 50), QColor(255, 0, 0));
    EXPECT_EQ(At(image, 50, 70), ToQ(kBlue));
    EXPECT_EQ(At(image, 50, 50), QColor(255, 0, 0)) << "the last red line crosses the blue one there";
    EXPECT_EQ(At(image, 75, 50), QColor(0, 255, 0)) << "the rectangle covers the line drawn before it";
    EXPECT_EQ(At(image, 20, 20), QColor(255, 0, 0));
}

TEST(QtCanvas, HugeCoordinatesAreClippedNotWalked)
{
    const QImage image = Render([](Canvas& canvas) {
        {
            BrushScope brush(canvas, { kBlue });
            canvas.Rectangle(-2000000000, 50, 2000000000, 60);
        }
        canvas.MoveTo(-1000000000, 20);
        canvas.LineTo(1000000000, 20);
        canvas.MoveTo(30, -1000000000);
        canvas.LineTo(30, 1000000000);
    });
    EXPECT_EQ(At(image, 0, 50), Qt::black);
    EXPECT_EQ(At(image, 99, 55), ToQ(kBlue));
    EXPECT_EQ(At(image, 50, 59), Qt::black);
    for (int x = 0; x < 100; ++x)
        EXPECT_EQ(At(image, x, 20), Qt::black) << x;
    for (int y = 0; y < 100; ++y)
        EXPECT_EQ(At(image, 30, y), Qt::black) << y;
    EXPECT_EQ(At(image, 31, 21), kGrey);
}

TEST(QtCanvas, DottedLinesAreThreeOnThreeOffWithWhiteGapsAndRestartAtEachLineTo)
{
    const QImage image = Render([](Canvas& canvas) {
        PenScope dotted(canvas, { PenStyle::Dotted, kRed, 1 });
        canvas.MoveTo(10, 10);
        canvas.LineTo(24, 10); // 14 pixels: marks at 0-2, 6-8, 12-13
        canvas.LineTo(24, 14); // restarts: (24, 10) .. (24, 12) marks, (24, 13) a gap
    });
    for (int x = 10; x < 24; ++x)
        EXPECT_EQ(At(image, x, 10), (x - 10) % 6 < 3 ? ToQ(kRed) : QColor(Qt::white)) << x;
    EXPECT_EQ(At(image, 24, 10), ToQ(kRed));
    EXPECT_EQ(At(image, 24, 12), ToQ(kRed));
    EXPECT_EQ(At(image, 24, 13), QColor(Qt::white));
    EXPECT_EQ(At(image, 24, 14), kGrey);
}

TEST(QtCanvas, RectangleCoversLeftToRightMinusOneAndTopToBottomMinusOne)
{
    const QImage image = Render([](Canvas& canvas) {
        PenScope pen(canvas, { PenStyle::Solid, kRed, 1 });
        BrushScope brush(canvas, { kBlue });
        canvas.Rectangle(10, 20, 20, 26);
        canvas.Rectangle(30, 40, 51, 41); // one row high, as a bar of height 0
        canvas.Rectangle(60, 60, 61, 61); // one pixel
    });
    for (int y = 18; y < 28; ++y)
        for (int x = 8; x < 22; ++x) {
            const bool inside = x >= 10 && x <= 19 && y >= 20 && y <= 25;
            const bool edge = inside && (x == 10 || x == 19 || y == 20 || y == 25);
            const QColor expected = !inside ? kGrey : edge ? ToQ(kRed) : ToQ(kBlue);
            EXPECT_EQ(At(image, x, y), expected) << x << "," << y;
        }
    for (int x = 29; x <= 51; ++x) {
        EXPECT_EQ(At(image, x, 40), x >= 30 && x <= 50 ? ToQ(kRed) : kGrey) << x;
        EXPECT_EQ(At(image, x, 41), kGrey) << x;
    }
    EXPECT_EQ(At(image, 60, 60), ToQ(kRed));
    EXPECT_EQ(At(image, 61, 60), kGrey);
    EXPECT_EQ(At(image, 60, 61), kGrey);
}

TEST(QtCanvas, DottedRectangleOutlineIsOnePatternRoundTheCorners)
{
    // Drawn anticlockwise from the top-right corner: the top edge (19 .. 11, 10) has the
    // indices 0 .. 8, so the left edge starts at index 9, inside a gap.
    const QImage image = Render([](Canvas& canvas) {
        PenScope dotted(canvas, { PenStyle::Dotted, kRed, 1 });
        canvas.Rectangle(10, 10, 20, 20);
    });
    EXPECT_EQ(At(image, 19, 10), ToQ(kRed));
    EXPECT_EQ(At(image, 16, 10), QColor(Qt::white));
    EXPECT_EQ(At(image, 13, 10), ToQ(kRed));
    EXPECT_EQ(At(image, 10, 10), QColor(Qt::white));
    EXPECT_EQ(At(image, 10, 12), QColor(Qt::white));
    EXPECT_EQ(At(image, 10, 13), ToQ(kRed));
    EXPECT_EQ(At(image, 15, 15), QColor(Qt::white)); // the default brush
}

TEST(QtCanvas, EllipseStaysInsideItsBox)
{
    const QImage image = Render([](Canvas& canvas) {
        PenScope pen(canvas, { PenStyle::Solid, kRed, 1 });
        canvas.Ellipse(20, 30, 30, 40);
    });
    EXPECT_EQ(At(image, 25, 35), QColor(Qt::white));
    bool left = false, right = false, top = false, bottom = false;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) {
            if (At(image, x, y) == kGrey)
                continue;
            EXPECT_TRUE(x >= 20 && x <= 29 && y >= 30 && y <= 39) << x << "," << y;
            left |= x == 20 && At(image, x, y) == ToQ(kRed);
            right |= x == 29 && At(image, x, y) == ToQ(kRed);
            top |= y == 30 && At(image, x, y) == ToQ(kRed);
            bottom |= y == 39 && At(image, x, y) == ToQ(kRed);
        }
    EXPECT_TRUE(left && right && top && bottom);
}

TEST(QtCanvas, TextBoxStartsAtTheGivenCornerOnItsBackground)
{
    constexpr Rgb kYellow { 255, 255, 128 };
    QImage image = Blank();
    int height = 0;
    {
        QPainter painter(&image);
        height = painter.fontMetrics().height();
        QtCanvas canvas(painter);
        canvas.TextOut(10, 20, "12", kYellow);
    }
    EXPECT_EQ(At(image, 10, 20), ToQ(kYellow));
    EXPECT_EQ(At(image, 9, 20), kGrey);
    EXPECT_EQ(At(image, 10, 19), kGrey);
    EXPECT_EQ(At(image, 10, 20 + height - 1), ToQ(kYellow));
    EXPECT_EQ(At(image, 10, 20 + height), kGrey);
    int dark = 0;
    for (int y = 20; y < 20 + height; ++y)
        for (int x = 10; x < 40; ++x)
            dark += At(image, x, y).lightness() < 100;
    EXPECT_GT(dark, 5) << "the digits are drawn in black";
}

TEST(QtCanvas, GivesThePainterBackAsItFoundIt)
{
    QImage image = Blank();
    QPainter painter(&image);
    painter.setPen(QPen(Qt::green, 3));
    painter.setRenderHint(QPainter::Antialiasing, true);
    {
        QtCanvas canvas(painter);
        canvas.TextOut(0, 0, "x", kRed);
        canvas.MoveTo(0, 50);
        canvas.LineTo(50, 60);
    }
    EXPECT_EQ(painter.pen().color(), QColor(Qt::green));
    EXPECT_EQ(painter.pen().width(), 3);
    EXPECT_TRUE(painter.testRenderHint(QPainter::Antialiasing));
    EXPECT_EQ(painter.backgroundMode(), Qt::TransparentMode);
}

// A window draws the same pixels as an image.
class LineWidget : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        QtCanvas canvas(painter);
        canvas.MoveTo(5, 5);
        canvas.LineTo(45, 23);
    }
};

TEST(QtCanvas, DrawsOnAWidgetAsOnAnImage)
{
    LineWidget widget;
    widget.resize(60, 40);
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, kGrey);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
    const QImage image = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(image.size(), QSize(60, 40));
    ExpectOnlyReference(image, ReferenceLine(5, 5, 45, 23), "widget");
}

} // namespace
