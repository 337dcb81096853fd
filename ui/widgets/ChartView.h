// A surface that draws a chart: the window hands it the drawing (a call of the chart's
// draw function on a canvas, which also places the chart's labels), the view supplies
// painter and canvas. Used as the client area of the windows whose charts are drawn on
// the window itself; child controls paint over the chart.
//
// The drawing is kept as an image until the window says that what it shows has changed:
// at a hundred items a chart takes tens of milliseconds, and every pointer passing over a
// button would otherwise draw it again.
#pragma once

#include "ui/charts/TornadoChart.h"

#include <QImage>
#include <QWidget>

#include <functional>

class Canvas;

class ChartView : public QWidget {
    Q_OBJECT

public:
    using Drawing = std::function<void(Canvas&)>;

    explicit ChartView(QWidget* parent = nullptr);

    // A chart of its own in a window (not the window's client area): on white, in the
    // windows' font.
    void ShowOnWhite();

    void SetDrawing(Drawing drawing);
    // What the chart shows has changed: it is drawn again once the current event is
    // handled (several changes in one event draw once), then repainted.
    void Invalidate();
    // Draws now if the chart is out of date, placing the chart's labels: before an image
    // of the window is taken, say, whose children must stand where the chart put them.
    void EnsureDrawn();
    // Draws the chart on a canvas of the caller's (an image, a recorder).
    void DrawOn(Canvas& canvas) const;

signals:
    // "Сохранить график..." from the context menu of the chart area.
    void saveRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    Drawing drawing_;
    QImage drawn_;
    bool stale_ = true;
    bool drawingQueued_ = false;
};

// How the charts measure their labels: in the font they are drawn with.
TextMeasure MeasureOf(const QFont& font);
