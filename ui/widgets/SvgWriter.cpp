#include "ui/widgets/SvgWriter.h"

#include <QBuffer>
#include <QByteArray>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string_view>
#include <system_error>
#include <utility>

namespace {

void AppendColour(std::string& out, Rgb colour)
{
    constexpr char kDigits[] = "0123456789abcdef";
    out += '#';
    for (const std::uint8_t channel : { colour.Red, colour.Green, colour.Blue }) {
        out += kDigits[channel >> 4];
        out += kDigits[channel & 15];
    }
}

// An attribute's value as SVG writes it, by its type.
void AppendValue(std::string& out, double number)
{
    AppendSvgNumber(out, number);
}

void AppendValue(std::string& out, Rgb colour)
{
    AppendColour(out, colour);
}

void AppendValue(std::string& out, const QString& text)
{
    AppendXmlEscaped(out, text);
}

// ` name="value"`.
template <typename Value> void AppendAttribute(std::string& out, const char* name, const Value& value)
{
    out += ' ';
    out += name;
    out += "=\"";
    AppendValue(out, value);
    out += '"';
}

// The stroke's attributes where they differ from SVG's defaults (one unit wide, flat caps,
// mitred joins, solid).
void AppendStroke(std::string& out, const VectorStroke& stroke)
{
    AppendAttribute(out, "stroke", stroke.Colour);
    if (stroke.Width != 1)
        AppendAttribute(out, "stroke-width", stroke.Width);
    if (stroke.Round)
        out += " stroke-linecap=\"round\" stroke-linejoin=\"round\"";
    if (stroke.Dash > 0) {
        out += " stroke-dasharray=\"";
        AppendSvgNumber(out, stroke.Dash);
        out += ',';
        AppendSvgNumber(out, stroke.Dash);
        out += '"';
        if (stroke.DashOffset != 0)
            AppendAttribute(out, "stroke-dashoffset", stroke.DashOffset);
    }
}

void AppendBox(std::string& out, const QRectF& box)
{
    AppendAttribute(out, "x", box.x());
    AppendAttribute(out, "y", box.y());
    AppendAttribute(out, "width", box.width());
    AppendAttribute(out, "height", box.height());
}

// A box with no area is no shape; SVG calls a negative size an error.
bool HasArea(const QRectF& box)
{
    return box.width() > 0 && box.height() > 0;
}

// XML 1.0 allows no control characters but tab, line feed and carriage return.
bool AllowedInXml(unsigned char byte)
{
    return byte >= 0x20 || byte == '\t' || byte == '\n' || byte == '\r';
}

} // namespace

void AppendSvgNumber(std::string& out, double value)
{
    // Pixel coordinates are ints; anything else is a bug upstream, and drawn at 0 rather
    // than written as text no viewer reads.
    if (!std::isfinite(value))
        value = 0;
    // Room for every int with three decimals.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3);
    if (result.ec != std::errc()) {
        out += '0';
        return;
    }
    std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    while (text.back() == '0')
        text.remove_suffix(1);
    if (text.back() == '.')
        text.remove_suffix(1);
    if (text == "-0")
        text = "0";
    out += text;
}

void AppendXmlEscaped(std::string& out, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    for (const char c : utf8) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        default:
            if (AllowedInXml(static_cast<unsigned char>(c)))
                out += c;
        }
    }
}

SvgWriter::SvgWriter(QSize size, const QString& title, const QString& description)
    : size_(size)
    , title_(title)
    , description_(description)
{
    SetFont(QFont());
}

void SvgWriter::SetFont(const QFont& font)
{
    font_ = font;
    // What the screen shows: the family it found and the size in its pixels.
    const QFontInfo shown(font);
    fontAttributes_.clear();
    AppendAttribute(fontAttributes_, "font-family", shown.family());
    AppendAttribute(fontAttributes_, "font-size", shown.pixelSize());
    AppendAttribute(fontAttributes_, "font-weight", font.weight());
    if (font.italic())
        fontAttributes_ += " font-style=\"italic\"";
}

void SvgWriter::Line(QPointF from, QPointF to, const VectorStroke& stroke)
{
    body_ += "<polyline points=\"";
    AppendSvgNumber(body_, from.x());
    body_ += ',';
    AppendSvgNumber(body_, from.y());
    body_ += ' ';
    AppendSvgNumber(body_, to.x());
    body_ += ',';
    AppendSvgNumber(body_, to.y());
    body_ += "\" fill=\"none\"";
    AppendStroke(body_, stroke);
    body_ += "/>\n";
}

void SvgWriter::Rect(const QRectF& box, const VectorStroke& outline, Rgb fill)
{
    if (!HasArea(box))
        return;
    body_ += "<rect";
    AppendBox(body_, box);
    AppendAttribute(body_, "fill", fill);
    AppendStroke(body_, outline);
    body_ += "/>\n";
}

void SvgWriter::Ellipse(const QRectF& box, const VectorStroke& outline, Rgb fill)
{
    if (!HasArea(box))
        return;
    body_ += "<ellipse";
    const QPointF centre = box.center();
    AppendAttribute(body_, "cx", centre.x());
    AppendAttribute(body_, "cy", centre.y());
    AppendAttribute(body_, "rx", box.width() / 2);
    AppendAttribute(body_, "ry", box.height() / 2);
    AppendAttribute(body_, "fill", fill);
    AppendStroke(body_, outline);
    body_ += "/>\n";
}

void SvgWriter::Fill(const QRectF& box, Rgb colour)
{
    if (!HasArea(box))
        return;
    body_ += "<rect";
    AppendBox(body_, box);
    AppendAttribute(body_, "fill", colour);
    body_ += "/>\n";
}

TextExtent SvgWriter::Measure(const QString& text) const
{
    const QFontMetrics metrics(font_);
    return { metrics.horizontalAdvance(text), metrics.height(), metrics.ascent() };
}

void SvgWriter::Text(QPointF baseline, const QString& text, Rgb colour)
{
    if (text.isEmpty())
        return;
    body_ += "<text";
    AppendAttribute(body_, "x", baseline.x());
    AppendAttribute(body_, "y", baseline.y());
    body_ += fontAttributes_;
    AppendAttribute(body_, "fill", colour);
    // Runs of blanks are part of the text ("Распределение  Xi").
    body_ += " xml:space=\"preserve\">";
    AppendXmlEscaped(body_, text);
    body_ += "</text>\n";
}

void SvgWriter::Image(const QRectF& box, const QImage& picture)
{
    if (!HasArea(box) || picture.isNull())
        return;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "PNG"))
        return;
    body_ += "<image";
    AppendBox(body_, box);
    body_ += " preserveAspectRatio=\"none\" xlink:href=\"data:image/png;base64,";
    body_ += png.toBase64().toStdString();
    body_ += "\"/>\n";
}

std::string SvgWriter::Document() const
{
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\""
                      " version=\"1.2\" baseProfile=\"tiny\"";
    AppendAttribute(out, "width", size_.width());
    AppendAttribute(out, "height", size_.height());
    out += " viewBox=\"0 0 ";
    AppendSvgNumber(out, size_.width());
    out += ' ';
    AppendSvgNumber(out, size_.height());
    out += "\">\n";
    for (const auto& [element, text] : { std::pair { "title", &title_ }, { "desc", &description_ } }) {
        if (text->isEmpty())
            continue;
        out += '<';
        out += element;
        out += '>';
        AppendXmlEscaped(out, *text);
        out += "</";
        out += element;
        out += ">\n";
    }
    out += body_;
    out += "</svg>\n";
    return out;
}
