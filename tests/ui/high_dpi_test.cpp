// Charts on a screen at twice the scale (this test's executable starts Qt with a scale
// factor of 2): the chart is the 1:1 drawing with every pixel doubled, so curves, dotted
// lines and filled tops come out as solid as at 1:1 instead of as scattered pixels.
#include "ui/widgets/ChartView.h"
#include "ui/widgets/QtCanvas.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr QSize kChartSize { 160, 120 };

// The kinds of shapes the charts draw: slopes of every steepness, a dotted guide line, a
// filled prism face and an outlined ellipse (a curve marker).
void DrawShapes(Canvas& canvas)
{
    canvas.MoveTo(5, 110);
    canvas.LineTo(60, 20);
    canvas.LineTo(150, 15);
    {
        PenScope dotted(canvas, Pen { PenStyle::Dotted, { 0, 128, 0 }, 1 });
        canvas.MoveTo(5, 60);
        canvas.LineTo(155, 60);
    }
    {
        BrushScope red(canvas, Brush { { 255, 0, 0 } });
        canvas.Rectangle(80, 70, 120, 100);
    }
    canvas.Ellipse(20, 30, 33, 44);
}

QImage AtOneToOneDoubled(const QColor& background)
{
    QImage picture(kChartSize, QImage::Format_RGB32);
    picture.fill(background);
    {
        QPainter painter(&picture);
        QtCanvas canvas(painter);
        DrawShapes(canvas);
    }
    return picture.scaled(kChartSize * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

TEST(HighDpi, AChartAtScaleTwoIsItsOneToOneDrawingWithEveryPixelDoubled)
{
    ChartView view;
    view.resize(kChartSize);
    view.SetDrawing(DrawShapes);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    // Without the scale the test would show nothing.
    ASSERT_EQ(view.devicePixelRatioF(), 2.0);

    const QImage shown = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), kChartSize * 2);
    const QImage expected = AtOneToOneDoubled(view.palette().color(QPalette::Window));
    int differing = 0;
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            if (shown.pixel(x, y) != expected.pixel(x, y))
                ++differing;
    EXPECT_EQ(differing, 0);
}

} // namespace
