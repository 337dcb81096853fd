// Pixel-exact drawing on a QPainter; see QtCanvas.h for why the pixels are our own.
#include "ui/widgets/QtCanvas.h"

#include <QColor>
#include <QFontMetrics>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace {

QColor ToQColor(Rgb colour)
{
    return QColor(colour.Red, colour.Green, colour.Blue);
}

// A dotted pen is three pixels on and three off; the window system draws every wider
// pen solid.
bool IsMark(const Pen& pen, long long index)
{
    return pen.Style == PenStyle::Solid || pen.Width > 1 || index % 6 < 3;
}

// Visits the pixels of the line from `from` up to, not including, `to`, with their index
// along the line, leaving out those whose coordinate along the longer axis falls outside
// `bounds` (a line far off the surface costs nothing).
//
// Bresenham: one pixel per step along the longer (major) axis; the other (minor)
// coordinate is the one nearest the true line. On an exact tie the window system takes
// the upper pixel of an x-major line and the left pixel of a y-major one. After n steps
// the minor offset is n * a / d (a, d the two lengths); rounded, it is
// floor((2na + d - tieDown) / 2d), where tieDown = 1 rounds a tie toward the smaller
// offset: that is the upper/left pixel when the minor coordinate grows along the line.
template <typename Visit> void ForEachLinePixel(Point from, Point to, const QRect& bounds, Visit visit)
{
    const long long dx = static_cast<long long>(to.X) - from.X;
    const long long dy = static_cast<long long>(to.Y) - from.Y;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const long long d = xMajor ? std::llabs(dx) : std::llabs(dy);
    const long long a = xMajor ? std::llabs(dy) : std::llabs(dx);
    if (d == 0)
        return;
    const int majorStep = (xMajor ? dx : dy) > 0 ? 1 : -1;
    const int minorStep = (xMajor ? dy : dx) > 0 ? 1 : -1;
    const long long major0 = xMajor ? from.X : from.Y;
    const long long minor0 = xMajor ? from.Y : from.X;
    const long long low = xMajor ? bounds.left() : bounds.top();
    const long long high = xMajor ? bounds.right() : bounds.bottom();

    // The steps whose major coordinate lies in [low, high].
    long long first = majorStep > 0 ? low - major0 : major0 - high;
    long long last = majorStep > 0 ? high - major0 : major0 - low;
    first = std::max(first, 0LL);
    last = std::min(last, d - 1);
    if (first > last)
        return;

    const long long tieDown = minorStep > 0 ? 1 : 0;
    const long long numerator = 2 * first * a + d - tieDown;
    long long offset = numerator / (2 * d);
    long long remainder = numerator % (2 * d);
    for (long long n = first; n <= last; ++n) {
        const long long major = major0 + majorStep * n;
        const long long minor = minor0 + minorStep * offset;
        visit(n, static_cast<int>(xMajor ? major : minor), static_cast<int>(xMajor ? minor : major));
        remainder += 2 * a;
        if (remainder >= 2 * d) {
            remainder -= 2 * d;
            ++offset;
        }
    }
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

} // namespace

QtCanvas::QtCanvas(QPainter& painter)
    : painter_(painter)
{
    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing, false);
    const QPaintDevice* device = painter_.device();
    bounds_ = device ? QRect(0, 0, device->width(), device->height()) : QRect();
}

QtCanvas::~QtCanvas()
{
    Flush();
    painter_.restore();
}

void QtCanvas::Trace(Point from, Point to, long long& index)
{
    const Pen& pen = CurrentPen();
    // A wide pen is stamped around each pixel, so it may reach in from just outside.
    const int reach = std::max(pen.Width, 1);
    const QRect area = bounds_.adjusted(-reach, -reach, reach, reach);
    const long long start = index;
    ForEachLinePixel(from, to, area, [&](long long n, int x, int y) {
        if (x < area.left() || x > area.right() || y < area.top() || y > area.bottom())
            return;
        (IsMark(pen, start + n) ? marks_ : gaps_).emplace_back(x, y);
    });
    index += std::max(
        std::llabs(static_cast<long long>(to.X) - from.X), std::llabs(static_cast<long long>(to.Y) - from.Y));
}

void QtCanvas::Flush()
{
    if (marks_.empty() && gaps_.empty() && spans_.empty())
        return;
    const Pen& pen = batchPen_;
    for (const QRect& span : spans_)
        painter_.fillRect(span, ToQColor(pen.Colour));
    spans_.clear();
    // Only a 1-px pen is exact; a wider one (the window system's are always solid) is
    // approximated by stamping round dots of its width along the same pixels.
    const bool wide = pen.Width > 1;
    QPen qpen(ToQColor(pen.Colour), wide ? pen.Width : 1, Qt::SolidLine, wide ? Qt::RoundCap : Qt::SquareCap);
    qpen.setCosmetic(true);
    painter_.setPen(qpen);
    if (!marks_.empty())
        painter_.drawPoints(marks_.data(), static_cast<int>(marks_.size()));
    if (!gaps_.empty()) {
        qpen.setColor(ToQColor(kWhite));
        painter_.setPen(qpen);
        painter_.drawPoints(gaps_.data(), static_cast<int>(gaps_.size()));
    }
    marks_.clear();
    gaps_.clear();
}

void QtCanvas::Line(Point from, Point to)
{
    // Lines of one solid pen in a row are set in one go: a chart draws thousands of short
    // lines, and a painter call each would cost more than all their pixels. A dotted line
    // goes alone, since its gaps must not cover marks of its own drawn before them.
    const Pen& pen = CurrentPen();
    const bool dotted = pen.Style == PenStyle::Dotted && pen.Width <= 1;
    if (dotted || !(pen == batchPen_))
        Flush();
    batchPen_ = pen;
    // A straight 1-px line along an axis is a one-pixel-wide rectangle, which the painter
    // fills far faster than it sets the same pixels one by one.
    if (!dotted && pen.Width <= 1 && (from.X == to.X || from.Y == to.Y) && !(from == to)) {
        const long long x0 = from.X, y0 = from.Y, x1 = to.X, y1 = to.Y;
        // The pixels from `from` up to, not including, `to`.
        const long long left = std::min(x0, x1 < x0 ? x1 + 1 : x1);
        const long long right = std::max(x0, x1 > x0 ? x1 - 1 : x1);
        const long long top = std::min(y0, y1 < y0 ? y1 + 1 : y1);
        const long long bottom = std::max(y0, y1 > y0 ? y1 - 1 : y1);
        const QRect span
            = QRect(QPoint(static_cast<int>(std::clamp<long long>(left, bounds_.left() - 1, bounds_.right() + 1)),
                        static_cast<int>(std::clamp<long long>(top, bounds_.top() - 1, bounds_.bottom() + 1))),
                QPoint(static_cast<int>(std::clamp<long long>(right, bounds_.left() - 1, bounds_.right() + 1)),
                    static_cast<int>(std::clamp<long long>(bottom, bounds_.top() - 1, bounds_.bottom() + 1))))
                  .intersected(bounds_);
        if (!span.isEmpty())
            spans_.push_back(span);
        return;
    }
    long long index = 0;
    Trace(from, to, index);
    if (dotted)
        Flush();
}

void QtCanvas::Rectangle(int left, int top, int right, int bottom)
{
    Flush();
    if (!Normalise(left, top, right, bottom))
        return;
    batchPen_ = CurrentPen();

    // Corner points, not a width, so that no size can overflow.
    if (static_cast<long long>(right) - left > 2 && static_cast<long long>(bottom) - top > 2)
        painter_.fillRect(QRect(QPoint(left + 1, top + 1), QPoint(right - 2, bottom - 2)).intersected(bounds_),
            ToQColor(CurrentBrush().Colour));

    // The outline is one closed line, drawn anticlockwise from the top-right corner, so a
    // dotted pattern runs on round the corners.
    const Point corners[] = { { right - 1, top }, { left, top }, { left, bottom - 1 }, { right - 1, bottom - 1 } };
    long long index = 0;
    for (int k = 0; k < 4; ++k)
        Trace(corners[k], corners[(k + 1) % 4], index);
    if (index == 0) // a 1 x 1 rectangle: its outline is its one pixel
        marks_.emplace_back(left, top);
    Flush();
}

void QtCanvas::Ellipse(int left, int top, int right, int bottom)
{
    Flush();
    if (!Normalise(left, top, right, bottom))
        return;

    const Pen& pen = CurrentPen();
    QPen qpen(ToQColor(pen.Colour), std::max(pen.Width, 1));
    qpen.setCosmetic(true);
    if (pen.Style == PenStyle::Dotted && pen.Width <= 1)
        qpen.setDashPattern({ 3, 3 });
    painter_.setPen(qpen);
    painter_.setBrush(ToQColor(CurrentBrush().Colour));
    // The same box as QRect(left, top, right - left - 1, bottom - top - 1), which keeps
    // the ellipse inside left .. right-1, without computing a size.
    painter_.drawEllipse(QRect(QPoint(left, top), QPoint(right - 2, bottom - 2)));
}

void QtCanvas::TextOut(int x, int y, std::string_view text, Rgb background)
{
    Flush();
    painter_.setPen(QPen(ToQColor(kBlack)));
    painter_.setBackgroundMode(Qt::OpaqueMode);
    painter_.setBackground(ToQColor(background));
    const QFontMetrics metrics = painter_.fontMetrics();
    painter_.drawText(
        QPoint(x, y + metrics.ascent()), QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    painter_.setBackgroundMode(Qt::TransparentMode);
}

void PaintOneToOne(QPainter& painter, const QRect& target, const QImage& picture)
{
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const bool smooth = painter.testRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, ratio != std::floor(ratio));
    painter.drawImage(target, picture);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
}
