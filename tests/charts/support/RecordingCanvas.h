// A canvas that keeps every primitive with the pen and brush it was drawn with, so chart
// tests can check coordinates and colours without rasterising anything.
#pragma once

#include "ui/charts/Canvas.h"

#include <algorithm>
#include <string>
#include <vector>

struct Primitive {
    enum class Kind { Line, Rectangle, Ellipse, Text };

    Kind Type = Kind::Line;
    // A line's from and to; a box's top-left corner and its (excluded) right-bottom one;
    // a text's top-left corner in A.
    Point A;
    Point B;
    Pen DrawnWith;
    Brush FilledWith;
    std::string Text;
    Rgb Background;
};

class RecordingCanvas : public Canvas {
public:
    std::vector<Primitive> Drawn;

    void Rectangle(int left, int top, int right, int bottom) override
    {
        Drawn.push_back(
            { Primitive::Kind::Rectangle, { left, top }, { right, bottom }, CurrentPen(), CurrentBrush(), {}, {} });
    }
    void Ellipse(int left, int top, int right, int bottom) override
    {
        Drawn.push_back(
            { Primitive::Kind::Ellipse, { left, top }, { right, bottom }, CurrentPen(), CurrentBrush(), {}, {} });
    }
    void TextOut(int x, int y, std::string_view text, Rgb background) override
    {
        Drawn.push_back(
            { Primitive::Kind::Text, { x, y }, {}, CurrentPen(), CurrentBrush(), std::string(text), background });
    }

    std::vector<Primitive> All(Primitive::Kind kind) const
    {
        std::vector<Primitive> result;
        std::copy_if(Drawn.begin(), Drawn.end(), std::back_inserter(result),
            [kind](const Primitive& p) { return p.Type == kind; });
        return result;
    }
    std::vector<Primitive> Lines(Rgb colour) const
    {
        std::vector<Primitive> result;
        std::copy_if(Drawn.begin(), Drawn.end(), std::back_inserter(result),
            [colour](const Primitive& p) { return p.Type == Primitive::Kind::Line && p.DrawnWith.Colour == colour; });
        return result;
    }

protected:
    void Line(Point from, Point to) override
    {
        Drawn.push_back({ Primitive::Kind::Line, from, to, CurrentPen(), CurrentBrush(), {}, {} });
    }
};
