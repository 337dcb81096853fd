// The drawing surface the charts draw on, with the window system's rules: a line leaves
// out its end point, a rectangle covers left .. right-1 and top .. bottom-1, and a pen
// or brush chosen for one drawing step is given back afterwards. No Qt here, so the
// charts can be drawn on a recorder in tests as well as on a window or an image.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

struct Rgb {
    std::uint8_t Red = 0;
    std::uint8_t Green = 0;
    std::uint8_t Blue = 0;

    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kBlack { 0, 0, 0 };
inline constexpr Rgb kWhite { 255, 255, 255 };

enum class PenStyle {
    Solid,
    // Three pixels on, three off; the gaps are painted white, the surface's background.
    Dotted,
};

struct Pen {
    PenStyle Style = PenStyle::Solid;
    Rgb Colour = kBlack;
    int Width = 1;

    friend bool operator==(const Pen&, const Pen&) = default;
};

struct Brush {
    Rgb Colour = kWhite;

    friend bool operator==(const Brush&, const Brush&) = default;
};

struct Point {
    int X = 0;
    int Y = 0;

    friend bool operator==(const Point&, const Point&) = default;
};

class Canvas {
public:
    virtual ~Canvas() = default;

    // A fresh surface has a solid black 1-px pen, a white brush and its position at (0, 0).
    const Pen& CurrentPen() const { return pen_; }
    const Brush& CurrentBrush() const { return brush_; }

    // Both return the one they replace, so that it can be selected again.
    Pen Select(const Pen& pen);
    Brush Select(const Brush& brush);

    void MoveTo(int x, int y) { position_ = { x, y }; }
    // Draws from the current position up to, not including, (x, y), which becomes the
    // current position.
    void LineTo(int x, int y);

    // Outlined with the pen, filled with the brush: columns left .. right-1, rows top .. bottom-1.
    virtual void Rectangle(int left, int top, int right, int bottom) = 0;
    // The ellipse inscribed in the same box as Rectangle's.
    virtual void Ellipse(int left, int top, int right, int bottom) = 0;
    // Black UTF-8 text whose box, filled with `background`, has its top-left corner at (x, y).
    virtual void TextOut(int x, int y, std::string_view text, Rgb background) = 0;

protected:
    virtual void Line(Point from, Point to) = 0;

private:
    Pen pen_;
    Brush brush_;
    Point position_;
};

// Selects a pen or a brush for one drawing step and gives the previous one back when
// the step ends.
template <typename Tool> class Selection {
public:
    Selection(Canvas& canvas, const Tool& tool)
        : canvas_(canvas)
        , previous_(canvas.Select(tool))
    {
    }
    ~Selection() { canvas_.Select(previous_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    Canvas& canvas_;
    Tool previous_;
};

using PenScope = Selection<Pen>;
using BrushScope = Selection<Brush>;

// A coordinate computed in floating point, truncated toward zero; nothing when it is not
// a number or lies outside the range of a pixel coordinate, so that callers draw nothing
// from it instead of converting out of range.
inline std::optional<int> PixelFrom(double value)
{
    // Well inside int, so that small offsets added afterwards cannot overflow either.
    constexpr double kLimit = std::numeric_limits<int>::max() / 2;
    if (!(std::fabs(value) < kLimit))
        return std::nullopt;
    return static_cast<int>(value);
}
