#include "ui/widgets/PainterSink.h"

#include <QColor>
#include <QFontMetrics>
#include <QLineF>
#include <QPainter>
#include <QPen>
#include <QString>

#include <algorithm>

namespace {

QColor ToQColor(Rgb colour)
{
    return QColor(colour.Red, colour.Green, colour.Blue);
}

QPen ToQPen(const VectorStroke& stroke)
{
    QPen pen(ToQColor(stroke.Colour), std::max(stroke.Width, 1), Qt::SolidLine,
        stroke.Round ? Qt::RoundCap : Qt::FlatCap, stroke.Round ? Qt::RoundJoin : Qt::MiterJoin);
    if (stroke.Dash > 0) {
        // QPen counts its pattern in pen widths.
        const double unit = pen.widthF();
        pen.setDashPattern({ stroke.Dash / unit, stroke.Dash / unit });
        pen.setDashOffset(stroke.DashOffset / unit);
    }
    return pen;
}

} // namespace

PainterSink::PainterSink(QPainter& painter)
    : painter_(painter)
{
    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing, true);
}

PainterSink::~PainterSink()
{
    painter_.restore();
}

void PainterSink::Line(QPointF from, QPointF to, const VectorStroke& stroke)
{
    painter_.setPen(ToQPen(stroke));
    painter_.drawLine(QLineF(from, to));
}

void PainterSink::Rect(const QRectF& box, const VectorStroke& outline, Rgb fill)
{
    painter_.setPen(ToQPen(outline));
    painter_.setBrush(ToQColor(fill));
    painter_.drawRect(box);
}

void PainterSink::Ellipse(const QRectF& box, const VectorStroke& outline, Rgb fill)
{
    painter_.setPen(ToQPen(outline));
    painter_.setBrush(ToQColor(fill));
    painter_.drawEllipse(box);
}

void PainterSink::Fill(const QRectF& box, Rgb colour)
{
    painter_.fillRect(box, ToQColor(colour));
}

TextExtent PainterSink::Measure(const QString& text) const
{
    const QFontMetrics metrics = painter_.fontMetrics();
    return { metrics.horizontalAdvance(text), metrics.height(), metrics.ascent() };
}

void PainterSink::Text(QPointF baseline, const QString& text, Rgb colour)
{
    painter_.setPen(QPen(ToQColor(colour)));
    painter_.drawText(baseline, text);
}
