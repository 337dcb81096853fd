#include "ui/VectorCanvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>

#include <algorithm>

namespace {

QColor ToQColor(Rgb colour)
{
    return QColor(colour.Red, colour.Green, colour.Blue);
}

QPointF Centre(Point p)
{
    return QPointF(p.X + 0.5, p.Y + 0.5);
}

} // namespace

VectorCanvas::VectorCanvas(QPainter& painter)
    : painter_(painter)
{
    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing, true);
}

VectorCanvas::~VectorCanvas()
{
    painter_.restore();
}

void VectorCanvas::SelectPen(const Pen& pen)
{
    QPen qpen(ToQColor(pen.Colour), std::max(pen.Width, 1), Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    // The window system draws only thin pens dotted.
    if (pen.Style == PenStyle::Dotted && pen.Width <= 1)
        qpen.setDashPattern({ 3, 3 });
    painter_.setPen(qpen);
}

void VectorCanvas::Line(Point from, Point to)
{
    if (from == to)
        return;
    const Pen& pen = CurrentPen();
    // The gaps of a dotted line are white, as on the window: a white line below it.
    if (pen.Style == PenStyle::Dotted && pen.Width <= 1) {
        painter_.setPen(QPen(Qt::white, 1, Qt::SolidLine, Qt::FlatCap));
        painter_.drawLine(Centre(from), Centre(to));
    }
    SelectPen(pen);
    painter_.drawLine(Centre(from), Centre(to));
}

void VectorCanvas::Rectangle(int left, int top, int right, int bottom)
{
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    if (right == left || bottom == top)
        return;
    // Columns left .. right-1, rows top .. bottom-1: the outline through their centres.
    const QRectF box(left + 0.5, top + 0.5, right - left - 1.0, bottom - top - 1.0);
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(ToQColor(CurrentBrush().Colour));
    painter_.drawRect(QRectF(left, top, right - left, bottom - top));
    SelectPen(CurrentPen());
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(box);
}

void VectorCanvas::Ellipse(int left, int top, int right, int bottom)
{
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    if (right == left || bottom == top)
        return;
    SelectPen(CurrentPen());
    painter_.setBrush(ToQColor(CurrentBrush().Colour));
    painter_.drawEllipse(QRectF(left + 0.5, top + 0.5, right - left - 1.0, bottom - top - 1.0));
}

void VectorCanvas::TextOut(int x, int y, std::string_view text, Rgb background)
{
    const QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const QFontMetrics metrics = painter_.fontMetrics();
    painter_.fillRect(QRectF(x, y, metrics.horizontalAdvance(shown), metrics.height()), ToQColor(background));
    painter_.setPen(QPen(ToQColor(kBlack)));
    painter_.drawText(QPointF(x, y + metrics.ascent()), shown);
}
