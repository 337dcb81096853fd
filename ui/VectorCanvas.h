// The canvas as vectors, for files that are drawings rather than pictures (SVG, PDF): a
// line stays a line, a rectangle a rectangle, a text a text. Coordinates are the window's
// pixels, and every shape sits on the pixels the window would set: strokes run through
// pixel centres, so a one-unit line covers the same pixels as on screen.
#pragma once

#include "ui/Canvas.h"

class QPainter;

class VectorCanvas : public Canvas {
public:
    // Changes the painter's settings while the canvas lives; they are given back after.
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
    void SelectPen(const Pen& pen);

    QPainter& painter_;
};
