// What a drawing made of vectors is built from: straight strokes, outlined and filled boxes
// and ellipses, plain fills and texts, in the window's pixel coordinates. VectorCanvas
// decides where every shape sits; a sink only writes it down, on a QPainter (the PDF
// report) or as SVG text, so the two cannot disagree about the geometry.
#pragma once

#include "ui/charts/Canvas.h"

#include <QPointF>
#include <QRectF>

class QString;

struct VectorStroke {
    Rgb Colour = kBlack;
    int Width = 1;
    // Round caps and joins, for the wide pens the window system stamps round; otherwise
    // flat caps and mitred joins.
    bool Round = false;
    // Marks and gaps this long each, the pattern starting `DashOffset` into its first mark;
    // 0 for a solid stroke.
    double Dash = 0;
    double DashOffset = 0;
};

// A line of text in the sink's font: its advance, its height and where its baseline lies
// below its top, in whole pixels as the window measures them.
struct TextExtent {
    int Width = 0;
    int Height = 0;
    int Ascent = 0;
};

class VectorSink {
public:
    virtual ~VectorSink() = default;

    virtual void Line(QPointF from, QPointF to, const VectorStroke& stroke) = 0;
    // The box is the outline's centre line.
    virtual void Rect(const QRectF& box, const VectorStroke& outline, Rgb fill) = 0;
    // The ellipse inscribed in the box, its outline centred on the ellipse.
    virtual void Ellipse(const QRectF& box, const VectorStroke& outline, Rgb fill) = 0;
    // The box filled, with no outline.
    virtual void Fill(const QRectF& box, Rgb colour) = 0;

    virtual TextExtent Measure(const QString& text) const = 0;
    // One line of text in the sink's font, starting at `baseline`.
    virtual void Text(QPointF baseline, const QString& text, Rgb colour) = 0;
};
