// The state every surface shares: the selected pen and brush and the current position.
#include "ui/charts/Canvas.h"

Pen Canvas::Select(const Pen& pen)
{
    const Pen previous = pen_;
    pen_ = pen;
    return previous;
}

Brush Canvas::Select(const Brush& brush)
{
    const Brush previous = brush_;
    brush_ = brush;
    return previous;
}

void Canvas::LineTo(int x, int y)
{
    const Point to { x, y };
    Line(position_, to);
    position_ = to;
}
