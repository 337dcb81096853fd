// "Сохранить график...": the chart area as a PNG picture of what the window shows, or as
// an SVG drawing made from the chart's own shapes and its labels' texts.
#include "ui/export/ChartExport.h"

#include "ui/widgets/ChartView.h"
#include "ui/widgets/SvgWriter.h"
#include "ui/widgets/VectorCanvas.h"

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QStyle>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

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

Rgb ToRgb(const QColor& colour)
{
    return { static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
        static_cast<std::uint8_t>(colour.blue()) };
}

// The text as a label with a buddy shows it: "&&" is an ampersand, a single "&" only marks
// the shortcut's letter (which the drawing does not underline).
QString WithoutMnemonics(const QString& text)
{
    QString shown;
    shown.reserve(text.size());
    for (qsizetype k = 0; k < text.size(); ++k) {
        if (text[k] == QLatin1Char('&') && ++k == text.size())
            break;
        shown += text[k];
    }
    return shown;
}

struct TextLine {
    QPointF Baseline;
    QString Text;
};

// The lines of a label's text where QPainter::drawText puts them in the box with these
// flags: laid out line by line on whole pixels, the block aligned in the box vertically and
// each line horizontally; without word wrap only the label's own line breaks count.
std::vector<TextLine> LayOutText(const QString& text, const QFont& font, const QRectF& box, int flags)
{
    const bool wrap = flags & Qt::TextWordWrap;
    QString shown = flags & Qt::TextShowMnemonic ? WithoutMnemonics(text) : text;
    shown.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextLayout layout(shown, font);
    QTextOption option;
    if (!wrap)
        option.setFlags(QTextOption::IncludeTrailingSpaces);
    layout.setTextOption(option);
    // Without wrapping a line is as long as its text.
    constexpr double kUnbounded = 0x01000000;
    const double lineWidth = wrap ? std::max(0.0, box.width()) : kUnbounded;
    const double leading = QFontMetricsF(font).leading();
    double height = -leading;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(lineWidth);
        height = std::ceil(height + leading);
        line.setPosition(QPointF(0, height));
        // Unrounded, as the painter counts it (QTextLine::height() rounds up).
        height += line.ascent() + line.descent();
        // What does not fit below the box is cut off on screen.
        if (height >= box.height())
            break;
    }
    layout.endLayout();

    double top = box.top();
    if (flags & Qt::AlignBottom)
        top += box.height() - height;
    else if (flags & Qt::AlignVCenter)
        top += (box.height() - height) / 2;
    std::vector<TextLine> lines;
    for (int k = 0; k < layout.lineCount(); ++k) {
        const QTextLine line = layout.lineAt(k);
        double left = box.left();
        if (flags & Qt::AlignRight)
            left += box.width() - line.horizontalAdvance();
        else if (flags & Qt::AlignHCenter)
            left += (box.width() - line.horizontalAdvance()) / 2;
        QString part = shown.mid(line.textStart(), line.textLength());
        part.remove(QChar::LineSeparator);
        lines.push_back({ QPointF(left + line.x(), top + line.y() + line.ascent()), part });
    }
    return lines;
}

// A label as it paints itself, at its place on the surface: its background when it fills
// one, then its text in its font and colour, or its picture.
void DrawLabel(SvgWriter& svg, const QLabel& label, const QWidget& surface)
{
    if (!surface.isAncestorOf(&label) || !label.isVisibleTo(&surface))
        return;
    const QPoint origin = label.mapTo(&surface, QPoint(0, 0));
    if (label.autoFillBackground())
        svg.Fill(QRect(origin, label.size()), ToRgb(label.palette().color(label.backgroundRole())));

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
            VectorCanvas canvas(svg);
            canvas.Ellipse(place.left(), place.top(), place.left() + place.width(), place.top() + place.height());
        } else if (const std::optional<QColor> colour = PlainColour(picture)) {
            svg.Fill(place, ToRgb(*colour));
        } else {
            svg.Image(place, picture.toImage());
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
    svg.SetFont(label.font());
    const Rgb colour = ToRgb(
        label.palette().color(label.isEnabled() ? QPalette::Active : QPalette::Disabled, label.foregroundRole()));
    for (const TextLine& line : LayOutText(label.text(), label.font(), contents, flags))
        svg.Text(line.Baseline, line.Text, colour);
}

std::string SvgText(const ChartPicture& chart)
{
    QWidget& surface = *chart.Surface;
    const QRect area = surface.rect();
    // A group box's chart is named by its caption; the windows' charts by the window.
    const auto* group = qobject_cast<const QGroupBox*>(&surface);
    SvgWriter svg(area.size(), group && !group->title().isEmpty() ? group->title() : surface.window()->windowTitle(),
        QCoreApplication::translate("ChartExport", "График, сохранённый программой Vardun"));
    svg.Fill(area, ToRgb(surface.palette().color(QPalette::Window)));
    // The font the chart writes its numbers in, as on screen.
    svg.SetFont(surface.font());
    if (chart.Draw) {
        VectorCanvas canvas(svg);
        chart.Draw(canvas);
    }
    for (const QLabel* label : chart.Labels)
        if (label)
            DrawLabel(svg, *label, surface);
    return svg.Document();
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
    return SvgText(chart);
}
