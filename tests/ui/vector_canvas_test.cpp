// The vector canvas against the pixel-exact one: the same drawing on two images, the
// vector one with the antialiasing it turns on, agrees at the pixels that matter: every
// pixel of strokes and fills along the axes, the centre pixels of sloped and curved
// strokes, and the pixels just beyond a shape's ends.
#include "ui/widgets/VectorCanvas.h"

#include "ui/widgets/QtCanvas.h"
#include "ui/widgets/SvgWriter.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <QSvgRenderer>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

const QColor kGrey(90, 90, 90);
constexpr Rgb kRed { 255, 0, 0 };
constexpr Rgb kBlue { 0, 0, 255 };
constexpr Rgb kYellow { 255, 255, 128 };

QColor ToQ(Rgb c)
{
    return QColor(c.Red, c.Green, c.Blue);
}

template <typename Surface> QImage Render(const std::function<void(Canvas&)>& draw)
{
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(kGrey);
    QPainter painter(&image);
    Surface canvas(painter);
    draw(canvas);
    return image;
}

struct Pin {
    int X;
    int Y;
    QColor Colour; // what the pixel-exact canvas sets there
};

struct Case {
    const char* Name;
    std::function<void(Canvas&)> Draw;
    // Pixel for pixel.
    std::vector<Pin> Exact;
    // Pixels that an antialiased stroke crosses off the pixel grid (a slope, a curve):
    // they may take a little of what lies beside them.
    std::vector<Pin> Near;
};

constexpr int kNear = 64; // per channel: a quarter of the way to another colour

void Add(std::vector<Pin>& pins, int x, int y, QColor colour)
{
    pins.push_back({ x, y, colour });
}

// A solid line's pixels from (x0, y0) up to, not including, (x1, y1) along an axis, the
// pixels just before and after it, and the pixels beside its middle.
void PinAxisLine(std::vector<Pin>& pins, int x0, int y0, int x1, int y1, QColor colour)
{
    const int dx = x1 > x0 ? 1 : x1 < x0 ? -1 : 0;
    const int dy = y1 > y0 ? 1 : y1 < y0 ? -1 : 0;
    for (int x = x0, y = y0; x != x1 || y != y1; x += dx, y += dy)
        Add(pins, x, y, colour);
    Add(pins, x0 - dx, y0 - dy, kGrey);
    Add(pins, x1, y1, kGrey);
    const int mx = (x0 + x1) / 2;
    const int my = (y0 + y1) / 2;
    Add(pins, mx + dy, my + dx, kGrey);
    Add(pins, mx - dy, my - dx, kGrey);
}

std::vector<Case> Cases()
{
    std::vector<Case> cases;

    Case lines { "lines along the axes, both ways",
        [](Canvas& canvas) {
            canvas.MoveTo(10, 20);
            canvas.LineTo(40, 20);
            canvas.MoveTo(40, 30);
            canvas.LineTo(10, 30);
            PenScope red(canvas, { PenStyle::Solid, kRed, 1 });
            canvas.MoveTo(60, 10);
            canvas.LineTo(60, 40);
            canvas.MoveTo(70, 40);
            canvas.LineTo(70, 10);
        },
        {}, {} };
    PinAxisLine(lines.Exact, 10, 20, 40, 20, Qt::black);
    PinAxisLine(lines.Exact, 40, 30, 10, 30, Qt::black);
    PinAxisLine(lines.Exact, 60, 10, 60, 40, ToQ(kRed));
    PinAxisLine(lines.Exact, 70, 40, 70, 10, ToQ(kRed));
    cases.push_back(lines);

    // 2:1 and 1:3, so that every second or third pixel has its centre on the true line.
    Case sloped { "sloped lines",
        [](Canvas& canvas) {
            canvas.MoveTo(10, 10);
            canvas.LineTo(70, 40);
            canvas.MoveTo(10, 90);
            canvas.LineTo(30, 30);
        },
        {}, {} };
    for (int k = 1; k < 30; ++k) {
        Add(sloped.Near, 10 + 2 * k, 10 + k, Qt::black);
        // Two rows off the line nothing is drawn at all.
        Add(sloped.Exact, 10 + 2 * k, 10 + k - 2, kGrey);
        Add(sloped.Exact, 10 + 2 * k, 10 + k + 2, kGrey);
    }
    for (int k = 1; k < 20; ++k) {
        Add(sloped.Near, 10 + k, 90 - 3 * k, Qt::black);
        Add(sloped.Exact, 10 + k - 2, 90 - 3 * k, kGrey);
        Add(sloped.Exact, 10 + k + 2, 90 - 3 * k, kGrey);
    }
    // The end points are left out.
    Add(sloped.Near, 70, 40, kGrey);
    Add(sloped.Near, 30, 30, kGrey);
    cases.push_back(sloped);

    Case rectangles { "filled rectangles",
        [](Canvas& canvas) {
            PenScope pen(canvas, { PenStyle::Solid, kBlue, 1 });
            BrushScope brush(canvas, { kYellow });
            canvas.Rectangle(10, 10, 40, 30);
            canvas.Rectangle(71, 50, 50, 51); // right to left, one row high
            canvas.Rectangle(80, 80, 81, 81); // one pixel
        },
        {}, {} };
    for (int y = 8; y < 32; ++y)
        for (int x = 8; x < 42; ++x) {
            const bool inside = x >= 10 && x <= 39 && y >= 10 && y <= 29;
            const bool edge = inside && (x == 10 || x == 39 || y == 10 || y == 29);
            // Qt's raster engine strokes one-unit pens with its thin-line stroker, which
            // leaves a little of the corners out; a drawing's viewer joins them.
            const bool corner = (x == 10 || x == 39) && (y == 10 || y == 29);
            Add(corner ? rectangles.Near : rectangles.Exact, x, y, !inside ? kGrey : edge ? ToQ(kBlue) : ToQ(kYellow));
        }
    PinAxisLine(rectangles.Exact, 50, 50, 71, 50, ToQ(kBlue));
    Add(rectangles.Exact, 80, 80, ToQ(kBlue));
    Add(rectangles.Exact, 81, 80, kGrey);
    Add(rectangles.Exact, 80, 81, kGrey);
    cases.push_back(rectangles);

    Case dotted { "dotted lines and outline with white gaps",
        [](Canvas& canvas) {
            PenScope pen(canvas, { PenStyle::Dotted, kRed, 1 });
            canvas.MoveTo(10, 10);
            canvas.LineTo(24, 10); // 14 pixels: marks at 0-2, 6-8, 12-13
            canvas.LineTo(24, 14); // restarts at its own start
            canvas.MoveTo(60, 20); // right to left, as the charts' level lines
            canvas.LineTo(40, 20);
            BrushScope brush(canvas, { kBlue });
            canvas.Rectangle(10, 40, 20, 46);
        },
        {}, {} };
    const auto mark = [](long long index) { return index % 6 < 3 ? ToQ(kRed) : QColor(Qt::white); };
    for (int x = 10; x < 24; ++x)
        Add(dotted.Exact, x, 10, mark(x - 10));
    for (int y = 10; y < 14; ++y)
        Add(dotted.Exact, 24, y, mark(y - 10));
    Add(dotted.Exact, 24, 14, kGrey);
    for (int x = 60; x > 40; --x)
        Add(dotted.Exact, x, 20, mark(60 - x));
    Add(dotted.Exact, 40, 20, kGrey);
    // Anticlockwise from the top-right corner, one pattern all round.
    long long index = 0;
    for (int x = 19; x > 10; --x)
        Add(dotted.Exact, x, 40, mark(index++));
    for (int y = 40; y < 45; ++y)
        Add(dotted.Exact, 10, y, mark(index++));
    for (int x = 10; x < 19; ++x)
        Add(dotted.Exact, x, 45, mark(index++));
    for (int y = 45; y > 40; --y)
        Add(dotted.Exact, 19, y, mark(index++));
    Add(dotted.Exact, 15, 42, ToQ(kBlue));
    Add(dotted.Exact, 20, 42, kGrey);
    Add(dotted.Exact, 15, 46, kGrey);
    cases.push_back(dotted);

    // An odd box, so that the outline's extremes lie on pixel centres.
    Case ellipse { "ellipse",
        [](Canvas& canvas) {
            BrushScope brush(canvas, { kYellow });
            canvas.Ellipse(20, 20, 61, 51);
        },
        {}, {} };
    Add(ellipse.Exact, 40, 35, ToQ(kYellow));
    Add(ellipse.Exact, 30, 30, ToQ(kYellow));
    Add(ellipse.Exact, 22, 22, kGrey); // the box's corner, outside the ellipse
    Add(ellipse.Exact, 40, 18, kGrey);
    Add(ellipse.Exact, 62, 35, kGrey);
    for (const auto& [x, y] : { std::pair { 40, 20 }, { 40, 50 }, { 20, 35 }, { 60, 35 } }) {
        Add(ellipse.Near, x, y, Qt::black);
        // Just inside the outline: the fill.
        Add(ellipse.Near, x + (x == 20 ? 2 : x == 60 ? -2 : 0), y + (y == 20 ? 2 : y == 50 ? -2 : 0), ToQ(kYellow));
    }
    cases.push_back(ellipse);

    return cases;
}

int Distance(QColor a, QColor b)
{
    return std::max({ std::abs(a.red() - b.red()), std::abs(a.green() - b.green()), std::abs(a.blue() - b.blue()) });
}

// The drawing written as SVG by the program and rendered back as a viewer does.
QImage RenderSvg(const std::function<void(Canvas&)>& draw)
{
    SvgWriter svg(QSize(100, 100));
    {
        VectorCanvas canvas(svg);
        draw(canvas);
    }
    QSvgRenderer renderer(QByteArray::fromStdString(svg.Document()));
    EXPECT_TRUE(renderer.isValid());
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(kGrey);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, 100, 100));
    return image;
}

void ExpectAgreementAtThePinnedPixels(const std::function<QImage(const std::function<void(Canvas&)>&)>& render)
{
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.Name);
        const QImage exact = Render<QtCanvas>(c.Draw);
        const QImage vector = render(c.Draw);
        int wrong = 0;
        const auto check = [&](const Pin& pin, int tolerance) {
            const QColor drawn = exact.pixelColor(pin.X, pin.Y);
            const QColor vectorDrawn = vector.pixelColor(pin.X, pin.Y);
            // The pin itself is right about the pixel-exact canvas, else the case proves nothing.
            EXPECT_EQ(drawn, pin.Colour) << "pixel-exact (" << pin.X << ", " << pin.Y << ")";
            if (Distance(vectorDrawn, drawn) > tolerance && ++wrong <= 5)
                ADD_FAILURE() << "(" << pin.X << ", " << pin.Y << ") vector " << vectorDrawn.name().toStdString()
                              << ", pixel-exact " << drawn.name().toStdString();
        };
        for (const Pin& pin : c.Exact)
            check(pin, 0);
        for (const Pin& pin : c.Near)
            check(pin, kNear);
        EXPECT_EQ(wrong, 0);
    }
}

TEST(VectorCanvas, AgreesWithThePixelExactCanvasAtThePinnedPixels)
{
    ExpectAgreementAtThePinnedPixels(Render<VectorCanvas>);
}

// The same shapes through the program's own SVG: the file keeps where they sit.
TEST(VectorCanvas, AsSvgAgreesWithThePixelExactCanvasAtThePinnedPixels)
{
    ExpectAgreementAtThePinnedPixels(RenderSvg);
}

TEST(VectorCanvas, WritesTextOnItsBackgroundAsThePixelExactCanvasDoes)
{
    const auto draw = [](Canvas& canvas) { canvas.TextOut(10, 20, "12", kYellow); };
    const QImage exact = Render<QtCanvas>(draw);
    const QImage vector = Render<VectorCanvas>(draw);
    QImage probe(1, 1, QImage::Format_RGB32);
    const QFontMetrics metrics = QPainter(&probe).fontMetrics();
    const int width = metrics.horizontalAdvance(QStringLiteral("12"));
    const int height = metrics.height();
    // The box and a pixel round it, the digits included.
    int dark = 0;
    for (int y = 19; y <= 20 + height; ++y)
        for (int x = 9; x <= 10 + width; ++x) {
            EXPECT_EQ(vector.pixelColor(x, y), exact.pixelColor(x, y)) << x << "," << y;
            dark += exact.pixelColor(x, y).lightness() < 100;
        }
    EXPECT_EQ(exact.pixelColor(10, 20), ToQ(kYellow));
    EXPECT_EQ(exact.pixelColor(9 + width, 19 + height), ToQ(kYellow));
    EXPECT_EQ(exact.pixelColor(10 + width, 20), kGrey);
    EXPECT_GT(dark, 5) << "the digits are there";
}

// A viewer draws the glyphs its own way, but on the same box and between the same rows.
TEST(VectorCanvas, AsSvgWritesTextOnItsBackgroundWhereThePixelExactCanvasDoes)
{
    const auto draw = [](Canvas& canvas) { canvas.TextOut(10, 20, "12", kYellow); };
    const QImage exact = Render<QtCanvas>(draw);
    const QImage svg = RenderSvg(draw);
    QImage probe(1, 1, QImage::Format_RGB32);
    const QFontMetrics metrics = QPainter(&probe).fontMetrics();
    const QRect box(10, 20, metrics.horizontalAdvance(QStringLiteral("12")), metrics.height());
    // The rows with ink, top and bottom.
    const auto inkRows = [&](const QImage& image) {
        std::pair<int, int> rows { box.bottom() + 1, box.top() - 1 };
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                if (image.pixelColor(x, y).lightness() < 100)
                    rows = { std::min(rows.first, y), std::max(rows.second, y) };
        return rows;
    };
    for (int y = box.top() - 1; y <= box.bottom() + 1; ++y)
        for (int x = box.left() - 1; x <= box.right() + 1; ++x)
            if (!box.contains(x, y)) {
                EXPECT_EQ(svg.pixelColor(x, y), kGrey) << x << "," << y;
            }
    for (const QPoint& corner : { box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight() }) {
        EXPECT_EQ(exact.pixelColor(corner), ToQ(kYellow));
        EXPECT_EQ(svg.pixelColor(corner), ToQ(kYellow)) << corner.x() << "," << corner.y();
    }
    const auto [top, bottom] = inkRows(exact);
    ASSERT_LT(top, bottom) << "the digits are there";
    const auto [svgTop, svgBottom] = inkRows(svg);
    EXPECT_LE(std::abs(svgTop - top), 1);
    EXPECT_LE(std::abs(svgBottom - bottom), 1);
}

TEST(VectorCanvas, KeepsShapesAsShapesInADrawing)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setViewBox(QRect(0, 0, 100, 100));
    {
        QPainter painter(&generator);
        VectorCanvas canvas(painter);
        canvas.MoveTo(10, 20);
        canvas.LineTo(40, 20);
        canvas.Rectangle(10, 30, 40, 50);
        canvas.TextOut(10, 60, "Эшелон", kWhite);
    }
    const std::string svg = bytes.toStdString();
    // The line through the centres of row 20, from the left edge of pixel 10 to that of 40.
    EXPECT_NE(svg.find("points=\"10,20.5 40,20.5 \""), std::string::npos) << svg;
    EXPECT_NE(svg.find("<rect x=\"10.5\" y=\"30.5\" width=\"29\" height=\"19\""), std::string::npos) << svg;
    EXPECT_NE(svg.find(">Эшелон</text>"), std::string::npos) << svg;
    EXPECT_EQ(svg.find("<image"), std::string::npos);
}

TEST(VectorCanvas, GivesThePainterBackAsItFoundIt)
{
    QImage image(10, 10, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::green, 3));
    painter.setBrush(Qt::cyan);
    {
        VectorCanvas canvas(painter);
        EXPECT_TRUE(painter.testRenderHint(QPainter::Antialiasing));
        canvas.TextOut(0, 0, "x", kRed);
        canvas.Rectangle(0, 0, 5, 5);
        canvas.MoveTo(0, 5);
        canvas.LineTo(9, 9);
    }
    EXPECT_EQ(painter.pen().color(), QColor(Qt::green));
    EXPECT_EQ(painter.pen().width(), 3);
    EXPECT_EQ(painter.brush().color(), QColor(Qt::cyan));
    EXPECT_FALSE(painter.testRenderHint(QPainter::Antialiasing));
}

} // namespace
