// vardun-report --svg: the charts of the same windows as --charts, as drawings of the same
// size that render, with the chart's colours where the pictures have them.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kTool = QStringLiteral(VARDUN_BINARY_DIR "/tools/vardun-report");
const QString kExample = QStringLiteral(VARDUN_TEST_DATA "/example.sav");

// Runs the tool on the example with the rating of layer 1, threat 2 and mechanism 3.
void RunTool(const QString& option, const QString& folder)
{
    QProcess tool;
    tool.start(kTool, { kExample, option, folder, QStringLiteral("--rating"), QStringLiteral("1,2,3") });
    ASSERT_TRUE(tool.waitForFinished(60000));
    ASSERT_EQ(tool.exitStatus(), QProcess::NormalExit);
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
}

TEST(ReportSvg, EachChartIsADrawingOfItsPicturesSize)
{
    QTemporaryDir svgs;
    QTemporaryDir pngs;
    ASSERT_TRUE(svgs.isValid() && pngs.isValid());
    RunTool(QStringLiteral("--svg"), svgs.path());
    RunTool(QStringLiteral("--charts"), pngs.path());

    const QStringList written = QDir(svgs.path()).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(written,
        QStringList({ "chart-mmee.svg", "chart-mode1.svg", "chart-mode2.svg", "chart-mode3.svg", "chart-mode4.svg",
            "chart-rating.svg" }));
    // A pixel of every chart that is neither an antialiased edge nor under a control: an
    // axis, well inside its line.
    const std::pair<const char*, QPoint> axes[] = { { "chart-mode1", { 700, 260 } }, { "chart-mode2", { 410, 100 } },
        { "chart-mode3", { 700, 260 } }, { "chart-mode4", { 410, 100 } }, { "chart-mmee", { 300, 100 } },
        { "chart-mmee", { 300, 209 + 100 } }, { "chart-rating", { 30, 300 } } };
    for (const auto& [name, axis] : axes) {
        SCOPED_TRACE(name);
        const QImage png
            = QImage(pngs.filePath(QString::fromLatin1(name) + ".png")).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(png.isNull());
        const QString svgPath = svgs.filePath(QString::fromLatin1(name) + ".svg");
        QSvgRenderer renderer(svgPath);
        ASSERT_TRUE(renderer.isValid());
        // The drawing's units are the picture's pixels.
        EXPECT_EQ(renderer.viewBox(), png.rect());
        QFile file(svgPath);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        EXPECT_TRUE(text.contains("<polyline")) << "lines drawn as lines";

        QImage drawn(png.size(), QImage::Format_RGB32);
        drawn.fill(Qt::white);
        {
            QPainter painter(&drawn);
            renderer.render(&painter, QRectF(png.rect()));
        }
        EXPECT_EQ(QColor(png.pixel(axis)), QColor(Qt::black));
        EXPECT_EQ(QColor(drawn.pixel(axis)), QColor(Qt::black));
        // The background is the window's colour, as in the picture.
        EXPECT_EQ(QColor(drawn.pixel(1, png.height() - 2)), QColor(png.pixel(1, png.height() - 2)));
    }
}

} // namespace
