// The report's sensitivity page: the fifteen widest swings of Rm as the core ranks them, in
// a table and as the tornado chart, on a page of its own after everything else, so that
// the pages before it are laid out as they were without it.
#include "ExampleAssessment.h"
#include "analysis/Derived.h"
#include "analysis/Format.h"
#include "analysis/Sensitivity.h"
#include "model/Data.h"
#include "model/Messages.h"
#include "ui/charts/TornadoChart.h"
#include "ui/export/ReportContent.h"
#include "ui/export/ReportLayout.h"
#include "ui/export/ReportRequest.h"
#include "ui/export/ReportSensitivity.h"

#include <QDate>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

namespace {

const QDate kDate(2026, 12, 10);

// A report asked for its sensitivity section, as every report of the program is.
ReportRequest WithSensitivity()
{
    ReportRequest request;
    request.Sections = { SensitivitySection() };
    return request;
}

// Where the sensitivity section starts among the blocks.
std::size_t SectionStart(const std::vector<ReportBlock>& blocks)
{
    for (std::size_t i = 0; i < blocks.size(); ++i)
        if (const auto* text = std::get_if<ReportText>(&blocks[i]);
            text && text->Style == TextStyle::Heading && text->Text.contains(QStringLiteral("Чувствительность")))
            return i;
    ADD_FAILURE() << "no sensitivity heading";
    return blocks.size();
}

// The boxes of every piece, page by page: what the layout decided.
std::vector<std::vector<QRectF>> Boxes(const std::vector<ReportPage>& pages)
{
    std::vector<std::vector<QRectF>> boxes;
    for (const ReportPage& page : pages) {
        boxes.emplace_back();
        for (const PlacedPiece& piece : page.Pieces)
            boxes.back().push_back(std::visit([](const auto& p) { return p.Box; }, piece));
    }
    return boxes;
}

TEST(SensitivityReport, ListsTheFifteenWidestSwingsOfRmAsTheCoreRanksThem)
{
    for (const bool withRating : { false, true }) {
        SCOPED_TRACE(withRating);
        CData data = LoadExample();
        ReportRequest request = WithSensitivity();
        if (withRating) {
            request.Rating = RatingSelection { 1, 2, 3 };
            request.High = 2.0f;
            request.Low = 0.5f;
        }
        const std::vector<ReportBlock> blocks = AssessmentReportBlocks(data, request, kDate);
        const std::size_t start = SectionStart(blocks);
        ASSERT_LT(start + 3, blocks.size());
        const auto& heading = std::get<ReportText>(blocks[start]);
        EXPECT_TRUE(heading.StartsPage);
        EXPECT_TRUE(heading.Text.startsWith(withRating ? QStringLiteral("8. ") : QStringLiteral("7. ")));

        ComputeAllModes(data);
        const SensitivityResult expected = RankSensitivity(data);
        const auto* table = std::get_if<ReportTable>(&blocks[start + 2]);
        ASSERT_NE(table, nullptr);
        ASSERT_EQ(table->Rows.size(), static_cast<std::size_t>(kTornadoBars));
        ASSERT_EQ(table->ColumnHeads.size(), 8);
        for (std::size_t k = 0; k < table->Rows.size(); ++k) {
            const TripleSensitivity& t = expected.Ranking[k];
            const QString name = QStringLiteral("%1. %2 / %3 / %4")
                                     .arg(k + 1)
                                     .arg(QString::fromStdString(data.LayerName(t.Triple.Layer)),
                                         QString::fromStdString(data.ThreatName(t.Triple.Threat)),
                                         QString::fromStdString(data.MechanismName(t.Triple.Mechanism)));
            EXPECT_EQ(table->Rows[k].Name, name);
            const float values[]
                = { t.Rm.Min, t.Rm.AtZero, t.Rm.Max, t.Rm.Swing(), t.Re.Min, t.Re.AtZero, t.Re.Max, t.Re.Swing() };
            ASSERT_EQ(table->Rows[k].Cells.size(), 8);
            for (int c = 0; c < 8; ++c)
                EXPECT_EQ(table->Rows[k].Cells[c].toStdString(), FormatFixed(values[c], 2)) << k << " " << c;
        }
        EXPECT_TRUE(std::holds_alternative<ReportChart>(blocks[start + 3]));

        // The pages before it are those of the report without it.
        const std::vector<ReportBlock> before(blocks.begin(), blocks.begin() + static_cast<std::ptrdiff_t>(start));
        const std::vector<ReportPage> without = LayOutReport(before, kA4Report);
        const std::vector<ReportPage> with = LayOutReport(blocks, kA4Report);
        ASSERT_GT(with.size(), without.size());
        const auto boxesWith = Boxes(with);
        const auto boxesWithout = Boxes(without);
        for (std::size_t p = 0; p < without.size(); ++p)
            EXPECT_EQ(boxesWith[p], boxesWithout[p]) << "page " << p + 1;
        // The section opens its page.
        const PlacedPiece& first = with[without.size()].Pieces.front();
        ASSERT_TRUE(std::holds_alternative<PlacedText>(first));
        EXPECT_EQ(std::get<PlacedText>(first).Block, start);
    }
}

TEST(SensitivityReport, TheChartDrawsTheBarsOfTheTable)
{
    const std::vector<ReportBlock> blocks = AssessmentReportBlocks(LoadExample(), WithSensitivity(), kDate);
    const auto& chart = std::get<ReportChart>(blocks[SectionStart(blocks) + 3]);
    QImage image(chart.Source.size().toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.translate(-chart.Source.topLeft());
        chart.Paint(painter);
    }
    // Fifteen blue bars, one under the other, in the left half and the right half.
    const QRgb blue = qRgb(kTornadoBarColour.Red, kTornadoBarColour.Green, kTornadoBarColour.Blue);
    int rowsWithBar = 0;
    bool inBar = false;
    for (int y = 0; y < image.height(); ++y) {
        bool blueRow = false;
        for (int x = 0; x < image.width() && !blueRow; ++x)
            blueRow = image.pixel(x, y) == blue;
        rowsWithBar += blueRow && !inBar;
        inBar = blueRow;
    }
    EXPECT_EQ(rowsWithBar, kTornadoBars);
}

TEST(SensitivityReport, AnAssessmentWithoutTriplesSaysSo)
{
    CData data = LoadExample();
    data.ThreatIndices.clear();
    data.ThreatCount = 0;
    data.EF.Resize(data.LayerCount, 0);
    data.FM.Resize(0, data.MechanismCount);
    const std::vector<ReportBlock> blocks = AssessmentReportBlocks(data, WithSensitivity(), kDate);
    const std::size_t start = SectionStart(blocks);
    ASSERT_EQ(blocks.size(), start + 2);
    EXPECT_TRUE(std::get<ReportText>(blocks[start + 1]).Text.startsWith(QStringLiteral("Нет троек")));
}

} // namespace
