#include "ui/widgets/Frames.h"

#include <QPainter>

namespace {

constexpr int kCaptionLeft = 8;
constexpr int kCaptionPadding = 2;

// A sunken line of one pixel with a light one beside it: the etched look.
void DrawEtchedRect(QPainter& painter, const QRect& r, const QPalette& palette)
{
    painter.setPen(palette.color(QPalette::Mid));
    painter.drawRect(r.adjusted(0, 0, -1, -1));
    painter.setPen(palette.color(QPalette::Light));
    painter.drawLine(r.left() + 1, r.top() + 1, r.right() - 1, r.top() + 1);
    painter.drawLine(r.left() + 1, r.top() + 1, r.left() + 1, r.bottom() - 1);
    painter.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    painter.drawLine(r.right(), r.top(), r.right(), r.bottom());
}

} // namespace

FramedGroupBox::FramedGroupBox(const QString& title, QWidget* parent)
    : QGroupBox(title, parent)
{
}

int FramedGroupBox::FrameTop() const
{
    return title().isEmpty() ? 0 : fontMetrics().height() / 2;
}

int FramedGroupBox::CaptionBaseline() const
{
    return 1 + fontMetrics().capHeight();
}

QRect FramedGroupBox::CaptionRect() const
{
    const QFontMetrics metrics = fontMetrics();
    return { kCaptionLeft, 0, metrics.horizontalAdvance(title()) + 2 * kCaptionPadding,
        CaptionBaseline() + metrics.descent() };
}

void FramedGroupBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect frame(0, FrameTop(), width(), height() - FrameTop());
    DrawEtchedRect(painter, frame, palette());
    if (title().isEmpty())
        return;
    // The caption covers the line behind it.
    const QRect caption = CaptionRect();
    painter.fillRect(caption, palette().color(QPalette::Window));
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(QPoint(caption.left() + kCaptionPadding, CaptionBaseline()), title());
}

BevelPanel::BevelPanel(QWidget* parent)
    : QFrame(parent)
{
    // The bevels take two pixels on each side.
    setContentsMargins(2, 2, 2, 2);
}

void BevelPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& p = palette();
    const QRect outer = rect().adjusted(0, 0, -1, -1);
    const QRect inner = outer.adjusted(1, 1, -1, -1);
    // Lowered outside: dark above and left, light below and right; raised inside the other
    // way round.
    auto bevel = [&painter](const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
        painter.setPen(topLeft);
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(bottomRight);
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
    };
    bevel(outer, p.color(QPalette::Mid), p.color(QPalette::Light));
    bevel(inner, p.color(QPalette::Light), p.color(QPalette::Mid));
}
