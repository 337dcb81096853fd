// The canvas on a QPainter, pixel for pixel as the window system draws: lines, dotted
// patterns and rectangle outlines are worked out here and set as single pixels, because
// QPainter's own lines set both end points and round differently on slopes. The painter
// may be open on a widget or on a QImage (for saving a chart); it must have no transform.
#pragma once

#include "ui/charts/Canvas.h"

#include <QPoint>
#include <QRect>

#include <vector>

class QImage;
class QPainter;

class QtCanvas : public Canvas {
public:
    // Changes the painter's settings while the canvas lives; they are given back after.
    explicit QtCanvas(QPainter& painter);
    ~QtCanvas() override;
    QtCanvas(const QtCanvas&) = delete;
    QtCanvas& operator=(const QtCanvas&) = delete;

    void Rectangle(int left, int top, int right, int bottom) override;
    void Ellipse(int left, int top, int right, int bottom) override;
    void TextOut(int x, int y, std::string_view text, Rgb background) override;

protected:
    void Line(Point from, Point to) override;

private:
    // Adds the pixels of one line to marks_ and gaps_ by the current pen's pattern;
    // `index` counts pixels along a path so a pattern can run on over several lines.
    void Trace(Point from, Point to, long long& index);
    // Sets the pixels gathered so far, with the pen they were traced with.
    void Flush();

    QPainter& painter_;
    QRect bounds_;
    std::vector<QPoint> marks_;
    std::vector<QPoint> gaps_;
    // Solid lines along an axis, as rectangles one pixel wide.
    std::vector<QRect> spans_;
    Pen batchPen_;
};

// Paints a chart drawn at 1:1 (the only scale at which the canvas's pixel rules hold) on a
// painter of any device scale: whole factors repeat pixels, so lines stay solid and sharp;
// other factors blend them, which reads better than rows of uneven width.
void PaintOneToOne(QPainter& painter, const QRect& target, const QImage& picture);
