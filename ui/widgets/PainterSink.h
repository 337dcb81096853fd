// Vector shapes on a QPainter, for the devices that keep them shapes (the PDF report) and
// for comparing them with the pixel-exact canvas on an image.
#pragma once

#include "ui/widgets/VectorSink.h"

class QPainter;

class PainterSink : public VectorSink {
public:
    // Turns antialiasing on while the sink lives; the painter's settings are given back after.
    explicit PainterSink(QPainter& painter);
    ~PainterSink() override;
    PainterSink(const PainterSink&) = delete;
    PainterSink& operator=(const PainterSink&) = delete;

    void Line(QPointF from, QPointF to, const VectorStroke& stroke) override;
    void Rect(const QRectF& box, const VectorStroke& outline, Rgb fill) override;
    void Ellipse(const QRectF& box, const VectorStroke& outline, Rgb fill) override;
    void Fill(const QRectF& box, Rgb colour) override;
    // In the painter's font, measured for its device.
    TextExtent Measure(const QString& text) const override;
    void Text(QPointF baseline, const QString& text, Rgb colour) override;

private:
    QPainter& painter_;
};
