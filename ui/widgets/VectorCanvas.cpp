// Where the chart's shapes sit as vectors; the sink writes them down.
#include "ui/widgets/VectorCanvas.h"

#include "ui/widgets/PainterSink.h"
#include "ui/widgets/VectorSink.h"

#include <QLineF>
#include <QString>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

QPointF Centre(Point p)
{
    return QPointF(p.X + 0.5, p.Y + 0.5);
}

// The window system draws only thin pens dotted.
bool IsDotted(const Pen& pen)
{
    return pen.Style == PenStyle::Dotted && pen.Width <= 1;
}

// Pixels along the longer axis, as the window system counts a line's length.
double Steps(Point from, Point to)
{
    return std::max(std::fabs(static_cast<double>(to.X) - from.X), std::fabs(static_cast<double>(to.Y) - from.Y));
}

// A wide pen is stamped round along its pixels on screen; round joins come closest.
VectorStroke SolidStroke(const Pen& pen)
{
    VectorStroke stroke;
    stroke.Colour = pen.Colour;
    stroke.Width = std::max(pen.Width, 1);
    stroke.Round = pen.Width > 1;
    return stroke;
}

// Boxes given right to left or bottom to top are drawn as if given the other way, like
// the window system does; false for a box with no pixels.
bool Normalise(int& left, int& top, int& right, int& bottom)
{
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    return right != left && bottom != top;
}

// The box through the centres of a rectangle's border pixels.
QRectF CentreBox(int left, int top, int right, int bottom)
{
    return QRectF(
        left + 0.5, top + 0.5, static_cast<double>(right) - left - 1.0, static_cast<double>(bottom) - top - 1.0);
}

} // namespace

VectorCanvas::VectorCanvas(VectorSink& sink)
    : sink_(sink)
{
}

VectorCanvas::VectorCanvas(QPainter& painter)
    : ownSink_(std::make_unique<PainterSink>(painter))
    , sink_(*ownSink_)
{
}

VectorCanvas::~VectorCanvas() = default;

void VectorCanvas::Line(Point from, Point to)
{
    Stroke(from, to, 0);
}

void VectorCanvas::Stroke(Point from, Point to, long long index)
{
    const double steps = Steps(from, to);
    if (steps == 0)
        return;
    const Pen& pen = CurrentPen();
    // One pixel along the longer axis.
    const QPointF step((static_cast<double>(to.X) - from.X) / steps, (static_cast<double>(to.Y) - from.Y) / steps);
    VectorStroke stroke = SolidStroke(pen);
    if (pen.Width > 1) {
        // Round dots of the pen's width on the pixels from the first to the one before the end.
        sink_.Line(Centre(from), Centre(to) - step, stroke);
        return;
    }
    // Through the pixel centres, from the first pixel's back edge to the end pixel's: flat
    // ends then cover the first pixel and leave out the end one.
    const QPointF start = Centre(from) - step / 2;
    const QPointF end = Centre(to) - step / 2;
    if (IsDotted(pen)) {
        // The gaps are white, as on the window: a white line below the dots.
        sink_.Line(start, end, SolidStroke(Pen { PenStyle::Solid, kWhite, 1 }));
        // Three pixels on, three off, counted along the longer axis: on a slope a pixel's
        // share of the line is longer than one unit.
        const double pixel = QLineF(start, end).length() / steps;
        stroke.Dash = 3 * pixel;
        stroke.DashOffset = static_cast<double>(index % 6) * pixel;
    }
    sink_.Line(start, end, stroke);
}

void VectorCanvas::Rectangle(int left, int top, int right, int bottom)
{
    if (!Normalise(left, top, right, bottom))
        return;
    const Pen& pen = CurrentPen();
    const Rgb fill = CurrentBrush().Colour;
    const double width = static_cast<double>(right) - left;
    const double height = static_cast<double>(bottom) - top;
    if (!IsDotted(pen) && width >= 2 && height >= 2) {
        // One shape: the outline over the border pixels, the fill inside it.
        sink_.Rect(CentreBox(left, top, right, bottom), SolidStroke(pen), fill);
        return;
    }

    if (width > 2 && height > 2)
        sink_.Fill(QRectF(left + 1.0, top + 1.0, width - 2, height - 2), fill);
    // The outline is one closed line, drawn anticlockwise from the top-right corner, so a
    // dotted pattern runs on round the corners as it does on screen.
    const Point corners[] = { { right - 1, top }, { left, top }, { left, bottom - 1 }, { right - 1, bottom - 1 } };
    long long index = 0;
    for (int k = 0; k < 4; ++k) {
        const Point& from = corners[k];
        const Point& to = corners[(k + 1) % 4];
        Stroke(from, to, index);
        index += static_cast<long long>(Steps(from, to));
    }
    if (index == 0) // a 1 x 1 rectangle: its outline is its one pixel
        sink_.Fill(QRectF(left, top, 1, 1), pen.Colour);
}

void VectorCanvas::Ellipse(int left, int top, int right, int bottom)
{
    if (!Normalise(left, top, right, bottom))
        return;
    const Pen& pen = CurrentPen();
    VectorStroke outline = SolidStroke(pen);
    // As on screen, the gaps of a dotted outline show the fill.
    if (IsDotted(pen))
        outline.Dash = 3;
    sink_.Ellipse(CentreBox(left, top, right, bottom), outline, CurrentBrush().Colour);
}

void VectorCanvas::TextOut(int x, int y, std::string_view text, Rgb background)
{
    const QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const TextExtent extent = sink_.Measure(shown);
    sink_.Fill(QRectF(x, y, extent.Width, extent.Height), background);
    sink_.Text(QPointF(x, static_cast<double>(y) + extent.Ascent), shown, kBlack);
}
