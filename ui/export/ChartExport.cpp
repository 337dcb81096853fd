// "Сохранить график...": the chart area as a PNG picture of what the window shows, or as
// an SVG drawing made from the chart's own shapes and its labels' texts.
#include "ui/export/ChartExport.h"

#include "ui/widgets/ChartView.h"
#include "ui/widgets/VectorCanvas.h"

#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QSvgGenerator>

namespace {

// Screen pixels are user units of the drawing; at this resolution a viewer shows the
// drawing at the size the window shows the chart.
constexpr int kSvgResolution = 96;

// The charts place their labels when they draw: they draw first if they are out of date,
// so that what is written shows the labels where the chart puts them.
void PlaceLabels(QWidget& surface)
{
    if (auto* view = qobject_cast<ChartView*>(&surface))
        view->EnsureDrawn();
    for (ChartView* view : surface.findChildren<ChartView*>())
        view->EnsureDrawn();
}

QByteArray PngBytes(QWidget& surface)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!surface.grab().save(&buffer, "PNG"))
        return {};
    return bytes;
}

// Where QLabel lays out its contents: inside the frame, the margin and the indent.
QRect LabelContents(const QLabel& label, Qt::Alignment alignment)
{
    const int margin = label.margin();
    QRect area = label.contentsRect().adjusted(margin, margin, -margin, -margin);
    int indent = label.indent();
    if (indent < 0 && label.frameWidth() > 0)
        indent = label.fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 - margin;
    if (indent > 0) {
        if (alignment & Qt::AlignLeft)
            area.setLeft(area.left() + indent);
        if (alignment & Qt::AlignRight)
            area.setRight(area.right() - indent);
        if (alignment & Qt::AlignTop)
            area.setTop(area.top() + indent);
        if (alignment & Qt::AlignBottom)
            area.setBottom(area.bottom() - indent);
    }
    return area;
}

// The colour of a picture of one colour only.
std::optional<QColor> PlainColour(const QPixmap& picture)
{
    const QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != first)
                return std::nullopt;
    return QColor::fromRgba(first);
}

// A label as it paints itself, at its place on the surface: its background when it fills
// one, then its text in its font and colour, or its picture.
void DrawLabel(QPainter& painter, const QLabel& label, const QWidget& surface)
{
    if (!surface.isAncestorOf(&label) || !label.isVisibleTo(&surface))
        return;
    const QPoint origin = label.mapTo(&surface, QPoint(0, 0));
    if (label.autoFillBackground())
        painter.fillRect(QRect(origin, label.size()), label.palette().color(label.backgroundRole()));

    const Qt::Alignment alignment = QStyle::visualAlignment(label.layoutDirection(), label.alignment());
    const QRect contents = LabelContents(label, alignment).translated(origin);
    const QPixmap picture = label.pixmap();
    if (!picture.isNull()) {
        const QRect place = label.hasScaledContents() ? contents
                                                      : QStyle::alignedRect(label.layoutDirection(), alignment,
                                                          picture.deviceIndependentSize().toSize(), contents);
        // Shapes stay shapes in a drawing: a legend's swatch is a rectangle of its colour,
        // a curve marker the ellipse the charts draw.
        if (label.property(kMarkerPictureProperty).toBool()) {
            VectorCanvas canvas(painter);
            canvas.Ellipse(place.left(), place.top(), place.left() + place.width(), place.top() + place.height());
        } else if (const std::optional<QColor> colour = PlainColour(picture)) {
            painter.fillRect(place, *colour);
        } else {
            painter.drawPixmap(place, picture);
        }
        return;
    }
    if (label.text().isEmpty())
        return;
    int flags = static_cast<int>(alignment);
    if (label.wordWrap())
        flags |= Qt::TextWordWrap;
    if (label.buddy())
        flags |= Qt::TextShowMnemonic;
    painter.setFont(label.font());
    painter.setPen(
        label.palette().color(label.isEnabled() ? QPalette::Active : QPalette::Disabled, label.foregroundRole()));
    painter.drawText(contents, flags, label.text());
}

QByteArray SvgBytes(const ChartPicture& chart)
{
    QWidget& surface = *chart.Surface;
    const QRect area = surface.rect();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);

    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(area.size());
    generator.setViewBox(area);
    generator.setResolution(kSvgResolution);
    // A group box's chart is named by its caption; the windows' charts by the window.
    const auto* group = qobject_cast<const QGroupBox*>(&surface);
    generator.setTitle(group && !group->title().isEmpty() ? group->title() : surface.window()->windowTitle());
    generator.setDescription(QCoreApplication::translate("ChartExport", "График, сохранённый программой Vardun"));

    QPainter painter;
    if (!painter.begin(&generator))
        return {};
    painter.fillRect(area, surface.palette().color(QPalette::Window));
    // The font the chart writes its numbers in, as on screen.
    painter.setFont(surface.font());
    if (chart.Draw) {
        VectorCanvas canvas(painter);
        chart.Draw(canvas);
    }
    for (const QLabel* label : chart.Labels)
        if (label)
            DrawLabel(painter, *label, surface);
    if (!painter.end())
        return {};
    return bytes;
}

} // namespace

std::optional<std::string> ChartPng(const ChartPicture& chart)
{
    if (!chart.Surface)
        return std::nullopt;
    PlaceLabels(*chart.Surface);
    const QByteArray bytes = PngBytes(*chart.Surface);
    return bytes.isEmpty() ? std::nullopt : std::optional(bytes.toStdString());
}

std::optional<std::string> ChartSvg(const ChartPicture& chart)
{
    if (!chart.Surface)
        return std::nullopt;
    PlaceLabels(*chart.Surface);
    const QByteArray bytes = SvgBytes(chart);
    return bytes.isEmpty() ? std::nullopt : std::optional(bytes.toStdString());
}
