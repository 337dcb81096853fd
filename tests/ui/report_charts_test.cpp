// vardun-report --charts: the images are the windows' client areas at 1:1, and their chart
// pixels are what the chart drawing puts there.
#include "analysis/Damage.h"
#include "analysis/Derived.h"
#include "model/Data.h"
#include "model/Messages.h"
#include "ui/charts/GraphChart.h"
#include "ui/charts/MMEEChart.h"
#include "ui/charts/RatingChart.h"
#include "ui/document/Document.h"
#include "ui/widgets/QtCanvas.h"
#include "ui/widgets/WindowFont.h"
#include "ui/windows/Comment.h"
#include "ui/windows/Graph.h"
#include "ui/windows/MMEE.h"
#include "ui/windows/Rating.h"

#include "ExampleAssessment.h"
#include "GraphWindowFixture.h"

#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kTool = QStringLiteral(VARDUN_BINARY_DIR "/tools/vardun-report");
const QString kExample = QStringLiteral(VARDUN_TEST_DATA "/example.sav");

class ReportCharts : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        QProcess tool;
        tool.start(kTool,
            { kExample, QStringLiteral("--charts"), dir_.path(), QStringLiteral("--rating"), QStringLiteral("1,2,3"),
                QStringLiteral("--high"), QStringLiteral("1.5") });
        ASSERT_TRUE(tool.waitForFinished(60000));
        ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    }
    QImage Image(const char* name) const { return QImage(dir_.filePath(QString::fromLatin1(name))); }

private:
    QTemporaryDir dir_;
};

TEST_F(ReportCharts, EachModeImageIsItsWindowWithTheChartAsDrawn)
{
    for (AnalysisMode mode : kAnalysisModes) {
        SCOPED_TRACE(ModeNumber(mode));
        const QImage image = Image(QStringLiteral("chart-mode%1.png").arg(ModeNumber(mode)).toLatin1().constData())
                                 .convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(image.size(), QSize(791, 533));

        // The same result as the window's: the mode computed on the file's sources.
        CData data = LoadExample();
        std::array<GraphWorkingData, 4> works = ComputeAllModes(data);
        const GraphWorkingData& work = works[ModeIndex(mode)];
        const CData::ThresholdPair thresholds = data.ThresholdsOf(mode);
        CellSelection all {};
        for (auto& row : all)
            row.fill(true);
        QImage drawn(image.size(), QImage::Format_RGB32);
        drawn.fill(image.pixel(785, 200)); // the window colour, where nothing is drawn
        {
            QPainter painter(&drawn);
            // The window's font, in which the chart writes its row numbers.
            painter.setFont(WindowFont());
            QtCanvas canvas(painter);
            DrawChart(canvas, work.ResultMatrix, work.ColumnDistribution, work.RowDistribution, thresholds.Small,
                thresholds.Medium, all);
        }

        // Everything outside the window's controls and labels is the chart.
        AssessmentDocument document;
        document.Store() = LoadExample();
        ScriptedDialogs dialogs;
        RecordingNavigation navigation;
        TCommentForm comments(document.Store());
        TGraphForm window(document, dialogs, navigation, comments);
        window.SetUpForMode(mode, document.Store().Counts());
        window.show();
        window.ComputingButtonClick();
        QRegion controls;
        for (QWidget* child : window.centralWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (child->isVisible())
                controls += child->geometry();
        int compared = 0;
        int differing = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                if (controls.contains(QPoint(x, y)))
                    continue;
                ++compared;
                differing += image.pixel(x, y) != drawn.pixel(x, y);
            }
        EXPECT_GT(compared, 250000);
        EXPECT_EQ(differing, 0);

        // Pixels the chart tests pin: the Y axis starts at (160, 510), the X axis runs
        // along y = 260 (past the last wall bar), the last row line of the floor along
        // y = 505 in the floor colour.
        EXPECT_EQ(QColor(image.pixel(160, 510)), QColor(Qt::black));
        EXPECT_EQ(QColor(image.pixel(700, 260)), QColor(Qt::black));
        EXPECT_EQ(QColor(image.pixel(300, 505)), QColor(128, 128, 64));
    }
}

// Every pixel a chart draws (where its drawing differs from a blank surface) is in the
// image as drawn, except under the window's controls. `origin` is where the chart's
// coordinates start in the window.
template <typename Draw>
void ExpectChartPixels(const QImage& image, QPoint origin, QSize size, const QRegion& controls, Draw draw)
{
    QImage drawn(size, QImage::Format_RGB32);
    const QRgb blank = qRgb(1, 2, 3); // no chart colour
    drawn.fill(blank);
    {
        QPainter painter(&drawn);
        painter.setFont(WindowFont());
        QtCanvas canvas(painter);
        draw(canvas);
    }
    int chartPixels = 0;
    int differing = 0;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const QPoint at = origin + QPoint(x, y);
            if (drawn.pixel(x, y) == blank || controls.contains(at))
                continue;
            ++chartPixels;
            if (image.pixel(at) != drawn.pixel(x, y) && ++differing <= 8)
                ADD_FAILURE() << "(" << at.x() << ", " << at.y() << ") " << std::hex << image.pixel(at) << " drawn "
                              << drawn.pixel(x, y);
        }
    EXPECT_GT(chartPixels, 1000);
    EXPECT_EQ(differing, 0);
}

QRegion ChildrenOf(QWidget* parent, QPoint offset = {})
{
    QRegion region;
    for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->isVisible())
            region += child->geometry().translated(offset);
    return region;
}

TEST_F(ReportCharts, TheMMAndEEImageIsItsWindowWithBothDiagonalCharts)
{
    const QImage image = Image("chart-mmee.png").convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(image.size(), QSize(646, 465));
    CData data = LoadExample();
    ComputeAllModes(data);
    ComputeDamageMatrices(data);

    AssessmentDocument document;
    document.Store() = LoadExample();
    ScriptedDialogs dialogs;
    RecordingNavigation navigation;
    TMMEEForm window(document, dialogs, navigation);
    window.show();
    const std::pair<const char*, const Matrix*> boxes[] = { { "MMGroupBox", &data.MM }, { "EEGroupBox", &data.EE } };
    for (const auto& [name, matrix] : boxes) {
        SCOPED_TRACE(name);
        auto* box = window.findChild<QWidget*>(QString::fromLatin1(name));
        ASSERT_NE(box, nullptr);
        ExpectChartPixels(image, box->pos(), box->size(), ChildrenOf(box, box->pos()),
            [&](Canvas& canvas) { DrawDiagonalChart(canvas, *matrix); });
        // The vertical axis runs down from (300, 30) of its group box.
        EXPECT_EQ(QColor(image.pixel(box->pos() + QPoint(300, 100))), QColor(Qt::black));
    }
}

TEST_F(ReportCharts, TheRatingImageIsItsWindowWithTheCurvesOfTheSelection)
{
    const QImage image = Image("chart-rating.png").convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(image.size(), QSize(655, 481));
    CData data = LoadExample();
    ComputeAllModes(data);

    AssessmentDocument document;
    document.Store() = data;
    ScriptedDialogs dialogs;
    RecordingNavigation navigation;
    TRatingForm window(document, dialogs, navigation);
    window.show();
    // Left as the tool leaves it, so that its labels stand where the image has them.
    for (const auto& [name, row] : { std::pair { "LayersList", 1 }, { "ThreatsList", 2 }, { "MechanismsList", 3 } })
        window.findChild<QListWidget*>(QString::fromLatin1(name))->item(row)->setCheckState(Qt::Checked);
    window.findChild<QLineEdit*>(QStringLiteral("HighLevelEdit"))->setText(QStringLiteral("1.5"));
    window.grab();
    ExpectChartPixels(image, {}, image.size(), ChildrenOf(window.centralWidget()), [&](Canvas& canvas) {
        DrawRatingCharts(canvas, data, { 1, 2, 3 }, 1.5f, data.LowLevel);
    });
    // The axes of the Rm chart: down (30, 250) to (30, 400), then along to (300, 400).
    EXPECT_EQ(QColor(image.pixel(30, 300)), QColor(Qt::black));
    EXPECT_EQ(QColor(image.pixel(200, 400)), QColor(Qt::black));
}

} // namespace

// A level the rating window refuses is told with the window that refused it: in a batch of
// windows the bare message would not say where to look.
TEST(ReportChartsMessages, ARefusedLevelNamesTheWindowThatRefusedIt)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QProcess tool;
    tool.start(kTool,
        { kExample, QStringLiteral("--charts"), dir.path(), QStringLiteral("--rating"), QStringLiteral("1,2,3"),
            QStringLiteral("--high"), QStringLiteral("7") });
    ASSERT_TRUE(tool.waitForFinished(60000));
    const QString said = QString::fromUtf8(tool.readAllStandardError());
    EXPECT_TRUE(said.contains(
        QStringLiteral("vardun-report: rating window: Значение должно находиться в интервале [1.000000..5.000000].")))
        << said.toStdString();
}
