#include "ui/ChartView.h"

#include "ui/QtCanvas.h"

#include <QPainter>

ChartView::ChartView(QWidget* parent)
    : QWidget(parent)
{
}

void ChartView::DrawOn(Canvas& canvas) const
{
    if (drawing_)
        drawing_(canvas);
}

void ChartView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QtCanvas canvas(painter);
    DrawOn(canvas);
}
