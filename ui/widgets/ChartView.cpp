#include "ui/widgets/ChartView.h"

#include "ui/widgets/QtCanvas.h"
#include "ui/widgets/WindowFont.h"

#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>

ChartView::ChartView(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ChartView::ShowOnWhite()
{
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setFont(WindowFont());
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
    if (!stale_ && drawn_.size() == size())
        return;
    // Always at 1:1, whatever the screen's scale: the charts' rules are pixel rules (a line
    // leaves out its end point, dotted lines step pixel by pixel), and a painter scaled to
    // the device would draw those pixels apart from each other.
    drawn_ = QImage(size(), QImage::Format_RGB32);
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
    QPainter painter(this);
    painter.setClipRegion(event->region());
    PaintOneToOne(painter, rect(), drawn_);
}

void ChartView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    connect(menu.addAction(tr("Сохранить график...")), &QAction::triggered, this, &ChartView::saveRequested);
    menu.exec(event->globalPos());
}

TextMeasure MeasureOf(const QFont& font)
{
    const QFontMetrics metrics(font);
    return { [metrics](std::string_view text) {
                return metrics.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
            },
        metrics.height() };
}
