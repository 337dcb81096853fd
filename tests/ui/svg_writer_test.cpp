// The SVG the program writes itself: a document of the chart's pixels that any XML reader
// takes, whatever its texts hold (markup characters, Cyrillic, stray control characters),
// with the shapes where the vector canvas puts them and numbers in one form everywhere.
#include "ui/widgets/SvgWriter.h"

#include "ui/widgets/VectorCanvas.h"

#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <string>
#include <vector>

namespace {

struct Element {
    QString Name;
    std::map<QString, QString> Attributes;
    QString Text; // of a <text>, <title> or <desc>
};

// Every element of the document in order; a parse error fails the test.
std::vector<Element> Parse(const std::string& document)
{
    QXmlStreamReader xml(QByteArray::fromStdString(document));
    std::vector<Element> elements;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        Element element;
        element.Name = xml.name().toString();
        for (const QXmlStreamAttribute& attribute : xml.attributes())
            element.Attributes[attribute.qualifiedName().toString()] = attribute.value().toString();
        if (element.Name == QLatin1String("text") || element.Name == QLatin1String("title")
            || element.Name == QLatin1String("desc"))
            element.Text = xml.readElementText();
        elements.push_back(element);
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString() << "\n" << document;
    return elements;
}

std::vector<Element> Named(const std::vector<Element>& elements, const char* name)
{
    std::vector<Element> found;
    for (const Element& element : elements)
        if (element.Name == QLatin1String(name))
            found.push_back(element);
    return found;
}

QString Number(double value)
{
    std::string text;
    AppendSvgNumber(text, value);
    return QString::fromStdString(text);
}

TEST(SvgWriter, TextsWithMarkupCharactersAndCyrillicReadBackAsTheyWere)
{
    const QString title = QStringLiteral("МЗ <1> & \"2\" 'Эшелон'");
    const QString description = QStringLiteral("График & <описание>");
    SvgWriter svg(QSize(320, 200), title, description);
    QFont bold(QStringLiteral("Liberation Sans"));
    bold.setPixelSize(13);
    bold.setBold(true);
    svg.SetFont(bold);
    const std::vector<std::string> labels = { "a < b & \"c\" > 'd'", "Распределение  Xi по МЗ", "&amp; ]]> <!--",
        "bell\x07 and nul-free", "</text><rect/>" };
    {
        VectorCanvas canvas(svg);
        int y = 10;
        for (const std::string& label : labels) {
            canvas.TextOut(10, y, label, kWhite);
            y += 20;
        }
    }
    const std::string document = svg.Document();
    // UTF-8 as it is, not as character references.
    EXPECT_NE(document.find("Распределение  Xi по МЗ"), std::string::npos);

    const std::vector<Element> elements = Parse(document);
    ASSERT_FALSE(elements.empty());
    const Element& root = elements.front();
    EXPECT_EQ(root.Name, QStringLiteral("svg"));
    EXPECT_EQ(root.Attributes.at(QStringLiteral("width")), QStringLiteral("320"));
    EXPECT_EQ(root.Attributes.at(QStringLiteral("height")), QStringLiteral("200"));
    EXPECT_EQ(root.Attributes.at(QStringLiteral("viewBox")), QStringLiteral("0 0 320 200"));
    ASSERT_EQ(Named(elements, "title").size(), 1u);
    EXPECT_EQ(Named(elements, "title")[0].Text, title);
    ASSERT_EQ(Named(elements, "desc").size(), 1u);
    EXPECT_EQ(Named(elements, "desc")[0].Text, description);
    // Markup in a text is no markup in the drawing.
    EXPECT_EQ(Named(elements, "rect").size(), labels.size()) << "one background per text";

    const std::vector<Element> texts = Named(elements, "text");
    ASSERT_EQ(texts.size(), labels.size());
    const QFontMetrics metrics(bold);
    const QFontInfo shown(bold);
    for (std::size_t k = 0; k < labels.size(); ++k) {
        SCOPED_TRACE(labels[k]);
        QString expected = QString::fromStdString(labels[k]);
        // XML has no place for a bell: it is left out rather than spoiling the file.
        expected.remove(QChar(7));
        EXPECT_EQ(texts[k].Text, expected);
        const auto& attributes = texts[k].Attributes;
        EXPECT_EQ(attributes.at(QStringLiteral("x")), QStringLiteral("10"));
        EXPECT_EQ(attributes.at(QStringLiteral("y")), Number(10 + 20 * static_cast<int>(k) + metrics.ascent()));
        EXPECT_EQ(attributes.at(QStringLiteral("font-family")), shown.family());
        EXPECT_EQ(attributes.at(QStringLiteral("font-size")), QStringLiteral("13"));
        EXPECT_EQ(attributes.at(QStringLiteral("font-weight")), QStringLiteral("700"));
        EXPECT_EQ(attributes.at(QStringLiteral("fill")), QStringLiteral("#000000"));
        EXPECT_EQ(attributes.at(QStringLiteral("xml:space")), QStringLiteral("preserve"));
    }
}

TEST(SvgWriter, ShapesSitWhereTheVectorCanvasPutsThem)
{
    SvgWriter svg(QSize(100, 100));
    const QFontMetrics metrics { QFont() };
    {
        VectorCanvas canvas(svg);
        canvas.MoveTo(10, 20);
        canvas.LineTo(40, 20);
        canvas.Rectangle(40, 50, 10, 30); // given right to left, bottom to top
        canvas.TextOut(10, 60, "12", Rgb { 255, 255, 128 });
        {
            // 10 x 6, anticlockwise from the top-right corner: the pattern runs on round the
            // corners, 9, 5 and 9 pixels more before each further side.
            PenScope dotted(canvas, { PenStyle::Dotted, Rgb { 255, 0, 0 }, 1 });
            canvas.Rectangle(10, 80, 20, 86);
        }
        PenScope wide(canvas, { PenStyle::Solid, Rgb { 0, 0, 255 }, 3 });
        canvas.MoveTo(60, 10);
        canvas.LineTo(60, 40);
    }
    const std::vector<Element> elements = Parse(svg.Document());

    std::vector<std::map<QString, QString>> lines;
    for (const Element& line : Named(elements, "polyline"))
        lines.push_back(line.Attributes);
    // The solid line, the dotted outline's white ground and dots per side, the wide line.
    ASSERT_EQ(lines.size(), 1u + 8u + 1u);
    const auto at = [](const std::map<QString, QString>& attributes, const char* name) {
        const auto found = attributes.find(QString::fromLatin1(name));
        return found == attributes.end() ? QString() : found->second;
    };
    EXPECT_EQ(at(lines[0], "points"), QStringLiteral("10,20.5 40,20.5"));
    EXPECT_EQ(at(lines[0], "stroke"), QStringLiteral("#000000"));
    EXPECT_EQ(at(lines[0], "fill"), QStringLiteral("none"));

    const QString sides[] = { QStringLiteral("20,80.5 11,80.5"), QStringLiteral("10.5,80 10.5,85"),
        QStringLiteral("10,85.5 19,85.5"), QStringLiteral("19.5,86 19.5,81") };
    const char* offsets[] = { "", "3", "2", "5" }; // 0, 9, 14 and 23 pixels along
    for (int side = 0; side < 4; ++side) {
        SCOPED_TRACE(side);
        const auto& ground = lines[1 + 2 * side];
        const auto& dots = lines[2 + 2 * side];
        EXPECT_EQ(at(ground, "points"), sides[side]);
        EXPECT_EQ(at(ground, "stroke"), QStringLiteral("#ffffff"));
        EXPECT_EQ(at(ground, "stroke-dasharray"), QString());
        EXPECT_EQ(at(dots, "points"), sides[side]);
        EXPECT_EQ(at(dots, "stroke"), QStringLiteral("#ff0000"));
        EXPECT_EQ(at(dots, "stroke-dasharray"), QStringLiteral("3,3"));
        EXPECT_EQ(at(dots, "stroke-dashoffset"), QString::fromLatin1(offsets[side]));
    }
    // Round dots of the pen's width from the first pixel to the one before the end.
    EXPECT_EQ(at(lines[9], "points"), QStringLiteral("60.5,10.5 60.5,39.5"));
    EXPECT_EQ(at(lines[9], "stroke-width"), QStringLiteral("3"));
    EXPECT_EQ(at(lines[9], "stroke-linecap"), QStringLiteral("round"));

    const std::vector<Element> rects = Named(elements, "rect");
    // The outlined box, the text's background, the dotted box's inside.
    ASSERT_EQ(rects.size(), 3u);
    const auto box = [](const Element& rect) {
        return rect.Attributes.at(QStringLiteral("x")) + ' ' + rect.Attributes.at(QStringLiteral("y")) + ' '
            + rect.Attributes.at(QStringLiteral("width")) + ' ' + rect.Attributes.at(QStringLiteral("height"));
    };
    EXPECT_EQ(box(rects[0]), QStringLiteral("10.5 30.5 29 19"));
    EXPECT_EQ(rects[0].Attributes.at(QStringLiteral("stroke")), QStringLiteral("#000000"));
    EXPECT_EQ(rects[0].Attributes.at(QStringLiteral("fill")), QStringLiteral("#ffffff"));
    EXPECT_EQ(box(rects[1]),
        QStringLiteral("10 60 %1 %2").arg(metrics.horizontalAdvance(QStringLiteral("12"))).arg(metrics.height()));
    EXPECT_EQ(rects[1].Attributes.at(QStringLiteral("fill")), QStringLiteral("#ffff80"));
    EXPECT_EQ(rects[1].Attributes.count(QStringLiteral("stroke")), 0u);
    EXPECT_EQ(box(rects[2]), QStringLiteral("11 81 8 4"));

    const std::vector<Element> texts = Named(elements, "text");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Attributes.at(QStringLiteral("y")), Number(60 + metrics.ascent()));
    EXPECT_EQ(texts[0].Text, QStringLiteral("12"));
}

// A label's picture that is no plain swatch travels inside the file.
TEST(SvgWriter, APictureIsEmbeddedAsPngAtItsPlace)
{
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(Qt::white);
    picture.setPixelColor(1, 2, QColor(10, 200, 30));
    SvgWriter svg(QSize(50, 50));
    svg.Image(QRectF(5, 6, 8, 6), picture);
    const std::vector<Element> images = Named(Parse(svg.Document()), "image");
    ASSERT_EQ(images.size(), 1u);
    const auto& attributes = images[0].Attributes;
    EXPECT_EQ(attributes.at(QStringLiteral("x")) + ' ' + attributes.at(QStringLiteral("y")) + ' '
            + attributes.at(QStringLiteral("width")) + ' ' + attributes.at(QStringLiteral("height")),
        QStringLiteral("5 6 8 6"));
    const QString href = attributes.at(QStringLiteral("xlink:href"));
    const QString prefix = QStringLiteral("data:image/png;base64,");
    ASSERT_TRUE(href.startsWith(prefix));
    const QImage embedded = QImage::fromData(QByteArray::fromBase64(href.mid(prefix.size()).toLatin1()), "PNG");
    EXPECT_EQ(embedded.convertToFormat(QImage::Format_RGB32), picture);
}

TEST(SvgWriter, NumbersHaveOneFormWithoutExponentsOrTrailingZeros)
{
    const std::pair<double, const char*> cases[] = { { 10, "10" }, { 20.5, "20.5" }, { 398.666666, "398.667" },
        { -3.25, "-3.25" }, { -0.0001, "0" }, { 0.1 + 0.2, "0.3" }, { 1e9, "1000000000" }, { 1e-7, "0" },
        { std::numeric_limits<double>::quiet_NaN(), "0" }, { std::numeric_limits<double>::infinity(), "0" } };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(Number(value), QString::fromLatin1(text)) << value;
}

} // namespace
