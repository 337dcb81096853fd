// A surface that draws a chart on every repaint: the window hands it the drawing (a call
// of the chart's draw function on a canvas, which also places the chart's labels), the
// view supplies painter and canvas. Used as the client area of the windows whose charts
// are drawn on the window itself; child controls paint over the chart.
#pragma once

#include <QWidget>

#include <functional>

class Canvas;

class ChartView : public QWidget {
    Q_OBJECT

public:
    using Drawing = std::function<void(Canvas&)>;

    explicit ChartView(QWidget* parent = nullptr);

    void SetDrawing(Drawing drawing) { drawing_ = std::move(drawing); }
    // Draws the chart on a canvas of the caller's (an image, a recorder).
    void DrawOn(Canvas& canvas) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Drawing drawing_;
};
