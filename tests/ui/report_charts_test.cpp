// vardun-report --charts: the images are the windows' client areas at 1:1, and their chart
// pixels are what the chart drawing puts there.
#include "analysis/Derived.h"
#include "model/Data.h"
#include "model/Messages.h"
#include "ui/Comment.h"
#include "ui/Document.h"
#include "ui/Graph.h"
#include "ui/GraphChart.h"
#include "ui/QtCanvas.h"
#include "ui/WindowFont.h"

#include "GraphWindowFixture.h"

#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kTool = QStringLiteral(VARDUN_BINARY_DIR "/tools/vardun-report");
const QString kExample = QStringLiteral(VARDUN_TEST_DATA "/example.sav");

struct FailOnMessage : IMessageSink {
    void ShowMessage(const std::string& text) override { ADD_FAILURE() << text; }
};

CData LoadExample()
{
    CData data;
    FailOnMessage messages;
    EXPECT_TRUE(data.LoadFromFile(kExample.toStdString(), messages));
    return data;
}

class ReportCharts : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        QProcess tool;
        tool.start(kTool, { kExample, QStringLiteral("--charts"), dir_.path() });
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

} // namespace
