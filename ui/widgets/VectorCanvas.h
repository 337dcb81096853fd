// The canvas as vectors, for files that are drawings rather than pictures (SVG, PDF): a
// line stays a line, a rectangle a rectangle, a text a text. Coordinates are the window's
// pixels, and every shape sits on the pixels the window would set: strokes one unit wide
// run through pixel centres and end on pixel edges, so a line covers the same pixels as
// on screen where it runs along an axis, and the nearest ones where it slopes.
#pragma once

#include "ui/charts/Canvas.h"

#include <memory>

class QPainter;
class VectorSink;

class VectorCanvas : public Canvas {
public:
    // Writes its shapes to the sink, in the sink's font.
    explicit VectorCanvas(VectorSink& sink);
    // Draws on the painter, in its font; the painter's settings change while the canvas
    // lives and are given back after.
    explicit VectorCanvas(QPainter& painter);
    ~VectorCanvas() override;
    VectorCanvas(const VectorCanvas&) = delete;
    VectorCanvas& operator=(const VectorCanvas&) = delete;

    void Rectangle(int left, int top, int right, int bottom) override;
    void Ellipse(int left, int top, int right, int bottom) override;
    void TextOut(int x, int y, std::string_view text, Rgb background) override;

protected:
    void Line(Point from, Point to) override;

private:
    // The line from `from` up to, not including, `to`; a dotted pattern starts at the
    // pixel counted `index` along a path (it runs on round a rectangle's corners).
    void Stroke(Point from, Point to, long long index);

    std::unique_ptr<VectorSink> ownSink_;
    VectorSink& sink_;
};
