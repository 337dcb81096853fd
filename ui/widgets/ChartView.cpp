#include "ui/widgets/ChartView.h"

#include "ui/widgets/QtCanvas.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>

ChartView::ChartView(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ChartView::SetDrawing(Drawing drawing)
{
    drawing_ = std::move(drawing);
    Invalidate();
}

void ChartView::Invalidate()
{
    stale_ = true;
    if (drawingQueued_)
        return;
    drawingQueued_ = true;
    // Drawn before the repaint rather than in it: the drawing moves labels, and children
    // painted in the same pass would still stand where they were.
    QTimer::singleShot(0, this, [this] {
        drawingQueued_ = false;
        EnsureDrawn();
        update();
    });
}

void ChartView::EnsureDrawn()
{
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    if (!stale_ && drawn_.size() == pixels && drawn_.devicePixelRatio() == ratio)
        return;
    drawn_ = QImage(pixels, QImage::Format_RGB32);
    drawn_.setDevicePixelRatio(ratio);
    drawn_.fill(palette().color(QPalette::Window));
    // Cleared first: the drawing may move labels, which asks for another repaint.
    stale_ = false;
    QPainter painter(&drawn_);
    painter.setFont(font());
    QtCanvas canvas(painter);
    DrawOn(canvas);
}

void ChartView::DrawOn(Canvas& canvas) const
{
    if (drawing_)
        drawing_(canvas);
}

void ChartView::paintEvent(QPaintEvent* event)
{
    EnsureDrawn();
    const qreal ratio = devicePixelRatioF();
    QPainter painter(this);
    painter.drawImage(
        event->rect(), drawn_, QRectF(QPointF(event->rect().topLeft()) * ratio, QSizeF(event->rect().size()) * ratio));
}

void ChartView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    connect(menu.addAction(tr("Сохранить график...")), &QAction::triggered, this, &ChartView::saveRequested);
    menu.exec(event->globalPos());
}
