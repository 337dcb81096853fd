// "Сохранить график..." of the charts of the mode, MM/EE and rating windows: a PNG is the
// chart area exactly as on screen; an SVG is a drawing of lines, rectangles and texts that,
// rendered back at 1:1, shows the chart's colours where the PNG does; a cancelled dialog
// writes nothing and a failed save says so.
#include "analysis/Derived.h"
#include "model/FileBytes.h"
#include "tests/core/support/TempFolder.h"
#include "ui/export/ChartExport.h"
#include "ui/export/ExportFormats.h"
#include "ui/widgets/WindowFont.h"
#include "ui/windows/MMEE.h"
#include "ui/windows/Rating.h"

#include "ContextMenu.h"
#include "GraphWindowFixture.h"

#include <QAction>
#include <QBuffer>
#include <QContextMenuEvent>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QSvgGenerator>
#include <QSvgRenderer>
#include <QTimer>
#include <QXmlStreamReader>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

const FileDialogOptions kChartDialog { QStringLiteral("Рисунок PNG (*.png)|*.png|Рисунок SVG (*.svg)|*.svg"),
    QStringLiteral("png") };

// What an SVG file holds, read with an XML reader: how many elements of each name, and
// its texts joined into lines (a text is written in pieces, one per script, on one
// baseline).
struct SvgContents {
    std::map<QString, int> Elements;
    // Each line's text, with where its first piece starts (x and baseline).
    std::map<QString, QPointF> Lines;
    // The points of each polyline, as written.
    std::set<QString> Polylines;

    int Count(const char* element) const
    {
        const auto found = Elements.find(QString::fromLatin1(element));
        return found == Elements.end() ? 0 : found->second;
    }
    // Labels side by side on one baseline make one line.
    bool InSomeLine(const QString& text) const
    {
        for (const auto& [line, at] : Lines)
            if (line.contains(text))
                return true;
        return false;
    }
};

SvgContents ReadSvg(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path;
    QXmlStreamReader xml(&file);
    SvgContents contents;
    std::map<double, std::map<double, QString>> pieces; // baseline -> x -> text
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QString name = xml.name().toString();
        ++contents.Elements[name];
        if (name == QLatin1String("polyline"))
            contents.Polylines.insert(xml.attributes().value(QLatin1String("points")).toString().trimmed());
        if (name == QLatin1String("text")) {
            const double x = xml.attributes().value(QLatin1String("x")).toDouble();
            const double y = xml.attributes().value(QLatin1String("y")).toDouble();
            pieces[y][x] += xml.readElementText();
        }
    }
    EXPECT_FALSE(xml.hasError()) << path << ": " << xml.errorString().toStdString();
    for (const auto& [y, line] : pieces) {
        QString joined;
        for (const auto& [x, text] : line)
            joined += text;
        contents.Lines.emplace(joined.trimmed(), QPointF(line.begin()->first, y));
    }
    return contents;
}

// The drawing rendered at 1:1 onto an image of its view box, antialiased as a viewer does.
QImage RenderSvg(const std::string& path, QSize size)
{
    QSvgRenderer renderer(QString::fromStdString(path));
    EXPECT_TRUE(renderer.isValid()) << path;
    EXPECT_EQ(renderer.viewBox(), QRect(QPoint(0, 0), size));
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(1, 2, 3)); // shows through wherever the drawing has no background
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

// Where the surface's children (labels, grids, buttons) stand: the chart is what is left.
QRegion ChildrenOf(const QWidget& surface)
{
    QRegion region;
    for (QWidget* child : surface.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->isVisibleTo(&surface))
            region += child->geometry();
    return region;
}

bool UniformAround(const QImage& image, int x, int y)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (image.pixel(x + dx, y + dy) != image.pixel(x, y))
                return false;
    return true;
}

// The rendered drawing has the picture's colours at the given pixels, and inside every
// patch of one colour (fills, the background, bars and faces drawn line by line) outside
// the children; text and antialiased edges are left out.
void ExpectSameColours(const QImage& png, const QImage& svg, const QRegion& children, const std::vector<QPoint>& pins)
{
    ASSERT_EQ(png.size(), svg.size());
    for (const QPoint& pin : pins) {
        EXPECT_FALSE(children.contains(pin)) << "pinned under a control: " << pin.x() << "," << pin.y();
        EXPECT_EQ(QColor(svg.pixel(pin)), QColor(png.pixel(pin))) << pin.x() << "," << pin.y();
    }
    int compared = 0;
    int differing = 0;
    for (int y = 1; y + 1 < png.height(); ++y)
        for (int x = 1; x + 1 < png.width(); ++x) {
            if (children.contains(QPoint(x, y)) || !UniformAround(png, x, y))
                continue;
            ++compared;
            if (svg.pixel(x, y) != png.pixel(x, y) && ++differing <= 5)
                ADD_FAILURE() << "(" << x << ", " << y << ") svg " << QColor(svg.pixel(x, y)).name().toStdString()
                              << ", png " << QColor(png.pixel(x, y)).name().toStdString();
        }
    EXPECT_GT(compared, 20000);
    EXPECT_EQ(differing, 0);
}

// The lines of text a drawing holds, each with where its first piece starts; groups may
// move what they hold (Qt's generator writes a painter's translation so).
std::map<QString, QPointF> TextLines(const QByteArray& svg)
{
    QXmlStreamReader xml(svg);
    std::map<double, std::map<double, QString>> pieces; // baseline -> x -> text
    std::vector<QPointF> offsets { QPointF() };
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement)
            offsets.pop_back();
        if (token != QXmlStreamReader::StartElement)
            continue;
        QPointF offset = offsets.back();
        const QString transform = xml.attributes().value(QLatin1String("transform")).toString();
        if (transform.startsWith(QLatin1String("matrix("))) {
            const QStringList matrix = transform.mid(7).chopped(1).split(QLatin1Char(','));
            EXPECT_EQ(matrix.size(), 6);
            EXPECT_EQ(matrix.mid(0, 4), QStringList({ "1", "0", "0", "1" })) << "a translation only";
            offset += QPointF(matrix.value(4).toDouble(), matrix.value(5).toDouble());
        }
        if (xml.name() == QLatin1String("text")) {
            const double x = offset.x() + xml.attributes().value(QLatin1String("x")).toDouble();
            const double y = offset.y() + xml.attributes().value(QLatin1String("y")).toDouble();
            pieces[y][x] += xml.readElementText();
            continue; // the reader is past its end
        }
        offsets.push_back(offset);
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    std::map<QString, QPointF> lines;
    for (const auto& [y, line] : pieces) {
        QString joined;
        for (const auto& [x, text] : line)
            joined += text;
        lines.emplace(joined.trimmed(), QPointF(line.begin()->first, y));
    }
    return lines;
}

// Labels of every kind the charts could hand over: aligned each way, several lines, wrapped,
// with a shortcut, framed. The drawing has their lines where the labels themselves paint
// them (the oracle: the surface rendered by Qt's own SVG generator).
TEST(ChartSvgLabels, LinesSitWhereTheLabelsPaintThem)
{
    QWidget surface;
    surface.resize(420, 320);
    surface.setFont(WindowFont());
    struct Place {
        const char* Text;
        QRect Geometry;
        Qt::Alignment Alignment;
        bool Wrap;
        bool Framed;
    };
    const Place places[] = {
        { "Распределение Xi по МЗ", { 10, 10, 200, 13 }, Qt::AlignLeft | Qt::AlignVCenter, false, false },
        { "первая\nвторая строка", { 10, 40, 200, 60 }, Qt::AlignRight | Qt::AlignBottom, false, false },
        { "Расчёт выполнен не для всех элементов выборки, см. журнал", { 220, 10, 120, 90 },
            Qt::AlignHCenter | Qt::AlignTop, true, false },
        { "&Уровень && порог:", { 10, 120, 150, 20 }, Qt::AlignLeft | Qt::AlignVCenter, false, false },
        { "в рамке", { 220, 120, 120, 30 }, Qt::AlignLeft | Qt::AlignTop, false, true },
        { "по центру", { 10, 160, 300, 50 }, Qt::AlignCenter, false, false },
    };
    auto* buddy = new QLineEdit(&surface);
    buddy->setGeometry(10, 280, 100, 20);
    ChartPicture picture { &surface, {}, {} };
    for (const Place& place : places) {
        auto* label = new QLabel(QString::fromUtf8(place.Text), &surface);
        label->setTextFormat(Qt::PlainText);
        label->setGeometry(place.Geometry);
        label->setAlignment(place.Alignment);
        label->setWordWrap(place.Wrap);
        if (place.Framed)
            label->setFrameShape(QFrame::Box);
        if (QString::fromUtf8(place.Text).contains(QLatin1Char('&')))
            label->setBuddy(buddy);
        picture.Labels.push_back(label);
    }
    surface.show();

    QByteArray painted;
    {
        QBuffer buffer(&painted);
        buffer.open(QIODevice::WriteOnly);
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setResolution(96);
        generator.setViewBox(surface.rect());
        QPainter painter(&generator);
        for (QLabel* label : picture.Labels)
            label->render(&painter, label->pos());
    }
    const std::map<QString, QPointF> expected = TextLines(painted);
    ASSERT_GE(expected.size(), 9u) << painted.toStdString(); // the wrapped label gives 3 lines or more
    ASSERT_TRUE(expected.count(QStringLiteral("Уровень & порог:")));

    const std::optional<std::string> written = ChartSvg(picture);
    ASSERT_TRUE(written);
    const std::map<QString, QPointF> lines = TextLines(QByteArray::fromStdString(*written));
    EXPECT_EQ(lines.size(), expected.size());
    for (const auto& [text, at] : expected) {
        SCOPED_TRACE(text.toStdString());
        const auto found = lines.find(text);
        ASSERT_NE(found, lines.end());
        EXPECT_NEAR(found->second.x(), at.x(), 0.01);
        EXPECT_NEAR(found->second.y(), at.y(), 0.01);
    }
}

class ChartExportTest : public GraphWindowFixture {
protected:
    void SetUp() override
    {
        struct Refuse : IMessageSink {
            void ShowMessage(const std::string& text) override { ADD_FAILURE() << text; }
        } refuse;
        ASSERT_TRUE(store.LoadFromFile(VARDUN_TEST_DATA "/example.sav", refuse));
    }

    // The analyst picks "Сохранить график..." from the chart area's context menu.
    static void SaveFromMenu(QWidget* chartArea, QPoint at)
    {
        EXPECT_TRUE(ChooseFromContextMenu(chartArea, at, QStringLiteral("Сохранить график...")))
            << "no save entry in the context menu";
    }

    std::string Answer(const std::string& name)
    {
        const std::string path = folder.Path(name);
        dialogs.FileAnswers.push_back(QString::fromStdString(path));
        return path;
    }

    // Saves through the menu as `name`.png and `name`.svg; checks what every chart file
    // shares and hands back the picture and the rendered drawing.
    struct Saved {
        QImage Png;
        QImage Svg;
        SvgContents Contents;
    };
    Saved SaveBoth(QWidget* chartArea, QPoint menuAt, QWidget* surface, const std::string& name)
    {
        const std::string png = Answer(name + ".png");
        SaveFromMenu(chartArea, menuAt);
        const std::string svg = Answer(name + ".svg");
        SaveFromMenu(chartArea, menuAt);
        EXPECT_TRUE(dialogs.Messages.empty());
        EXPECT_EQ(dialogs.FileRequests.size(), 2u);
        for (const ScriptedDialogs::FileRequest& request : dialogs.FileRequests) {
            EXPECT_TRUE(request.Save);
            EXPECT_EQ(request.Options, kChartDialog);
        }

        Saved saved;
        saved.Png = QImage(QString::fromStdString(png)).convertToFormat(QImage::Format_RGB32);
        // The chart area as on screen, pixel for pixel.
        EXPECT_EQ(saved.Png, surface->grab().toImage().convertToFormat(QImage::Format_RGB32));
        saved.Svg = RenderSvg(svg, surface->size());
        saved.Contents = ReadSvg(svg);
        // Shapes, not a picture of them.
        EXPECT_GT(saved.Contents.Count("polyline"), 3);
        EXPECT_GT(saved.Contents.Count("rect"), 0);
        EXPECT_GT(saved.Contents.Count("text"), 0);
        return saved;
    }

    TempFolder folder;
};

TEST_F(ChartExportTest, ModeWindowChartAsPictureAndAsDrawing)
{
    TGraphForm& window = Open(AnalysisMode::Damage);
    Compute(window);
    QWidget* chart = window.centralWidget();
    const Saved saved = SaveBoth(chart, { 600, 400 }, chart, "mode2");

    // The axes (Z up from (410, 260), X along y = 260 past the last wall bar), the last
    // floor row line along y = 505, and inside every bar, slab and prism face.
    ExpectSameColours(saved.Png, saved.Svg, ChildrenOf(*chart), { { 410, 100 }, { 700, 260 }, { 300, 505 } });
    EXPECT_EQ(QColor(saved.Png.pixel(700, 260)), QColor(Qt::black));
    EXPECT_EQ(QColor(saved.Png.pixel(300, 505)), QColor(128, 128, 64));

    // Each axis one line from its start to its end, through the pixel centres.
    EXPECT_TRUE(saved.Contents.Polylines.count(QStringLiteral("410,260.5 760,260.5")));
    EXPECT_TRUE(saved.Contents.Polylines.count(QStringLiteral("410.5,261 410.5,11")));

    // The labels as texts, Cyrillic as it is, where the labels stand; the row numbers the
    // chart writes itself.
    ASSERT_TRUE(saved.Contents.Lines.count(QStringLiteral("Распределение Xi по МЗ")));
    const QPointF at = saved.Contents.Lines.at(QStringLiteral("Распределение Xi по МЗ"));
    const QRect label = window.findChild<QLabel*>(QStringLiteral("XZLabel"))->geometry();
    EXPECT_EQ(at.x(), label.left());
    EXPECT_GT(at.y(), label.top());
    EXPECT_LT(at.y(), label.bottom());
    EXPECT_TRUE(saved.Contents.Lines.count(QStringLiteral("по эшелонам")));
    EXPECT_TRUE(saved.Contents.Lines.count(QStringLiteral("Распределение  Xi")));
    EXPECT_TRUE(saved.Contents.Lines.count(QStringLiteral("15")));
    // Nothing of the window's controls.
    EXPECT_FALSE(saved.Contents.Lines.count(QStringLiteral("Расчёт")));
    EXPECT_EQ(saved.Contents.Count("image"), 0);
}

TEST_F(ChartExportTest, MMAndEEChartsEachFromTheirGroupBox)
{
    ComputeAllModes(store);
    TMMEEForm window(document, dialogs, navigation);
    window.show();
    for (const auto& [name, caption] : { std::pair { "MMGroupBox", "МЗ" }, { "EEGroupBox", "Эшелон" } }) {
        SCOPED_TRACE(name);
        dialogs.FileRequests.clear();
        auto* box = window.findChild<QWidget*>(QString::fromLatin1(name));
        ASSERT_NE(box, nullptr);
        const Saved saved = SaveBoth(box, { 400, 100 }, box, name);
        // The vertical axis down from (300, 30), the horizontal one along y = 190 past
        // the last bar, and the dotted line level with the tallest bar, dot for dot.
        std::vector<QPoint> pins { { 300, 100 }, { 580, 190 } };
        for (int x = 301; x < 320; ++x)
            pins.push_back({ x, 70 });
        ExpectSameColours(saved.Png, saved.Svg, ChildrenOf(*box), pins);
        EXPECT_EQ(QColor(saved.Png.pixel(300, 100)), QColor(Qt::black));
        EXPECT_TRUE(saved.Contents.Polylines.count(QStringLiteral("300.5,30 300.5,190")));
        EXPECT_TRUE(saved.Contents.Lines.count(QString::fromUtf8(caption)));
        EXPECT_TRUE(saved.Contents.Lines.count(QStringLiteral("1.5")));
        EXPECT_EQ(saved.Contents.Count("image"), 0);
    }
}

TEST_F(ChartExportTest, RatingChartsWithTheLegendsPictures)
{
    ComputeAllModes(store);
    TRatingForm window(document, dialogs, navigation);
    window.show();
    for (const auto& [list, row] : { std::pair { "LayersList", 1 }, { "ThreatsList", 2 }, { "MechanismsList", 3 } })
        window.findChild<QListWidget*>(QString::fromLatin1(list))->item(row)->setCheckState(Qt::Checked);
    window.findChild<QLineEdit*>(QStringLiteral("HighLevelEdit"))->setText(QStringLiteral("1.5"));
    QWidget* chart = window.centralWidget();
    const Saved saved = SaveBoth(chart, { 200, 300 }, chart, "rating");

    // The axes of the Rm chart: down (30, 250) to (30, 400), then along to (300, 400).
    ExpectSameColours(saved.Png, saved.Svg, ChildrenOf(*chart), { { 30, 300 }, { 200, 400 } });
    EXPECT_TRUE(saved.Contents.Polylines.count(QStringLiteral("30.5,250 30.5,400")));
    // The legend's swatches are rectangles and its circle an ellipse, at their places: no
    // bitmap in the drawing.
    EXPECT_EQ(saved.Contents.Count("image"), 0);
    EXPECT_GE(saved.Contents.Count("ellipse") + saved.Contents.Count("path"), 1);
    const QRect marker = window.findChild<QLabel*>(QStringLiteral("Image4"))->geometry();
    // Rendered antialiased: the outline dark, the inside white.
    EXPECT_LT(qGray(saved.Svg.pixel(marker.topLeft() + QPoint(6, 0))), 128);
    EXPECT_EQ(QColor(saved.Svg.pixel(marker.topLeft() + QPoint(6, 7))), QColor(Qt::white));
    for (const char* name : { "Image1", "Image2", "Image3" }) {
        const QPoint centre = window.findChild<QLabel*>(QString::fromLatin1(name))->geometry().center();
        EXPECT_EQ(QColor(saved.Svg.pixel(centre)), QColor(saved.Png.pixel(centre))) << name;
    }
    EXPECT_TRUE(saved.Contents.Lines.count(QStringLiteral("Графики зависимости ретинговых показателей от ЧАУ")));
    EXPECT_TRUE(saved.Contents.InSomeLine(QStringLiteral("-- Текущий уровень")));
    // The values the chart placed, as the window shows them.
    for (const char* name : { "MMlb", "MM0Label", "EElb" }) {
        const QLabel* value = window.findChild<QLabel*>(QString::fromLatin1(name));
        ASSERT_TRUE(value && value->isVisible()) << name;
        EXPECT_TRUE(saved.Contents.InSomeLine(value->text())) << name << " " << value->text().toStdString();
    }
}

TEST_F(ChartExportTest, TheKindFollowsTheExtensionWhateverItsCase)
{
    TGraphForm& window = Open(AnalysisMode::Damage);
    Compute(window);
    const ChartPicture picture { window.centralWidget(), [](Canvas&) {}, {} };
    const std::string pngStart = "\x89PNG";
    const std::string svgStart = "<?xml";
    const std::pair<const char*, const std::string*> cases[]
        = { { "a.svg", &svgStart }, { "b.SVG", &svgStart }, { "c.Svg", &svgStart }, { "d.png", &pngStart },
              { "e.PNG", &pngStart }, { "f.bmp", &pngStart }, { "g", &pngStart }, { "h.svg.png", &pngStart } };
    for (const auto& [name, start] : cases) {
        const std::string path = folder.Path(name);
        EXPECT_TRUE(ExportChart(path, picture, dialogs)) << name;
        EXPECT_EQ(ReadBytes(path).substr(0, start->size()), *start) << name;
    }
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(ChartExportTest, ACancelledDialogWritesNothingAndAFailedSaveSaysSo)
{
    TGraphForm& window = Open(AnalysisMode::Damage);
    Compute(window);
    QWidget* chart = window.centralWidget();

    dialogs.FileAnswers.push_back(std::nullopt);
    SaveFromMenu(chart, { 600, 400 });
    EXPECT_TRUE(std::filesystem::is_empty(folder.Root()));
    EXPECT_TRUE(dialogs.Messages.empty());

    for (const char* name : { "missing/chart.png", "missing/chart.svg" }) {
        dialogs.Messages.clear();
        const std::string path = Answer(name);
        SaveFromMenu(chart, { 600, 400 });
        EXPECT_EQ(dialogs.Messages, std::vector<std::string> { "Не удалось сохранить файл " + path + "." });
        EXPECT_FALSE(std::filesystem::exists(path));
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder.Root()));
}

} // namespace
