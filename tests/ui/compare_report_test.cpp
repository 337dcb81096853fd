// The printed report's comparison section: only when a comparison is asked for, the rest of
// the report as it was, and from the rating window while its comparison window is open.
#include "ui/export/ReportComparison.h"

#include "RecordingNavigation.h"
#include "ScriptedDialogs.h"
#include "analysis/Compare.h"
#include "analysis/Derived.h"
#include "model/Data.h"
#include "model/NumberText.h"
#include "model/SourceMatrices.h"
#include "ui/document/Document.h"
#include "ui/export/ReportContent.h"
#include "ui/export/ReportRequest.h"
#include "ui/widgets/Navigation.h"
#include "ui/windows/AssessmentActions.h"
#include "ui/windows/Compare.h"
#include "ui/windows/Rating.h"

#include <QAction>
#include <QDate>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

const std::string kExample = VARDUN_SOURCE_DIR "/sample/example.sav";
const std::string kVariant = VARDUN_SOURCE_DIR "/sample/example-variant.sav";

struct RefuseMessages : IMessageSink {
    void ShowMessage(const std::string& text) override { ADD_FAILURE() << text; }
};

CData Load(const std::string& path)
{
    RefuseMessages sink;
    CData data;
    EXPECT_TRUE(data.LoadFromFile(path, sink));
    return data;
}

// The texts of the blocks, and a mark for each table and chart.
std::vector<QString> Outline(const std::vector<ReportBlock>& blocks)
{
    std::vector<QString> outline;
    for (const ReportBlock& block : blocks) {
        if (const auto* text = std::get_if<ReportText>(&block))
            outline.push_back(text->Text);
        else if (const auto* table = std::get_if<ReportTable>(&block))
            outline.push_back(QStringLiteral("table %1 x %2").arg(table->Rows.size()).arg(table->ColumnHeads.size()));
        else
            outline.push_back(QStringLiteral("chart"));
    }
    return outline;
}

TEST(ComparisonReport, TheSectionComesOnlyWhenAskedAndLeavesTheRestAsItWas)
{
    const CData example = Load(kExample);
    const CData variant = Load(kVariant);
    const QDate date(2026, 12, 11);
    ReportRequest plain;
    plain.FileName = "example.sav";
    plain.Sections = WindowReportSections(nullptr);
    const std::vector<ReportBlock> without = AssessmentReportBlocks(example, plain, date);

    ReportRequest asked = plain;
    auto comparison = std::make_shared<AssessmentComparison>(CompareAssessments(example, variant));
    asked.Sections.push_back(ComparisonSection(ReportComparison { "example-variant.sav", comparison }));
    const std::vector<ReportBlock> with = AssessmentReportBlocks(example, asked, date);

    const std::vector<QString> before = Outline(without);
    const std::vector<QString> after = Outline(with);
    ASSERT_GT(after.size(), before.size());
    EXPECT_EQ(std::vector<QString>(after.begin(), after.begin() + static_cast<std::ptrdiff_t>(before.size())), before);
    for (const QString& text : before)
        EXPECT_FALSE(text.contains(QStringLiteral("Сравнение с файлом")));

    // The section on a page of its own, numbered after the sections before it.
    const auto& heading = std::get<ReportText>(with[before.size()]);
    EXPECT_EQ(heading.Text, QStringLiteral("8. Сравнение с файлом example-variant.sav"));
    EXPECT_TRUE(heading.StartsPage);

    // The ratings, both diagonals, the chart, the counts and every changed judgement.
    std::vector<const ReportTable*> tables;
    int charts = 0;
    bool counts = false;
    for (std::size_t k = before.size(); k < with.size(); ++k) {
        if (const auto* table = std::get_if<ReportTable>(&with[k]))
            tables.push_back(table);
        charts += std::holds_alternative<ReportChart>(with[k]);
        if (const auto* text = std::get_if<ReportText>(&with[k]))
            counts = counts
                || text->Text.startsWith(QStringLiteral("MT: %1   TE: ").arg(comparison->ChangedIn(SourceId::MT)));
    }
    EXPECT_EQ(charts, 1);
    EXPECT_TRUE(counts);
    ASSERT_EQ(tables.size(), 4u);
    EXPECT_EQ(tables[0]->Rows.size(), 2u);
    EXPECT_EQ(tables[1]->Rows.size(), comparison->Mechanisms.size());
    EXPECT_EQ(tables[2]->Rows.size(), comparison->Layers.size());
    EXPECT_EQ(tables[1]->Rows.back().Name, QStringLiteral("Обучение персонала"));
    EXPECT_EQ(tables[1]->Rows.back().Cells.back(), QStringLiteral("добавлен"));
    ASSERT_EQ(tables[3]->Rows.size(), comparison->Changed.size());
    for (std::size_t k = 0; k < comparison->Changed.size(); ++k) {
        const ChangedJudgement& j = comparison->Changed[k];
        EXPECT_EQ(tables[3]->Rows[k].Name,
            QString::fromStdString(std::string(SourceMatrix(j.Source).Name) + ": " + j.Row + " / " + j.Column));
        EXPECT_EQ(tables[3]->Rows[k].Cells[0], QString::fromStdString(FormatGeneral(j.This)));
        EXPECT_EQ(tables[3]->Rows[k].Cells[1], QString::fromStdString(FormatGeneral(j.Other)));
    }
}

TEST(ComparisonReport, TheSameFileSaysThatEveryJudgementAgrees)
{
    const CData example = Load(kExample);
    ReportRequest asked;
    asked.Sections.push_back(ComparisonSection(ReportComparison {
        "example.sav", std::make_shared<AssessmentComparison>(CompareAssessments(example, example)) }));
    const std::vector<QString> outline = Outline(AssessmentReportBlocks(example, asked, QDate(2026, 12, 11)));
    EXPECT_EQ(outline.back(), QStringLiteral("Все суждения совпадают."));
}

std::optional<QString> PdfText(const QString& path)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), { QStringLiteral("-layout"), path, QStringLiteral("-") });
    if (!process.waitForStarted() || !process.waitForFinished(60000) || process.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(process.readAllStandardOutput());
}

TEST(ComparisonReport, TheRatingWindowsReportHasTheOpenComparison)
{
    AssessmentDocument document;
    ScriptedDialogs dialogs;
    StillNavigation navigation;
    ASSERT_TRUE(document.Load(kExample, dialogs));
    ComputeAllModes(document.Store());
    TRatingForm rating(document, dialogs, navigation);
    rating.show();
    QTemporaryDir temp;

    dialogs.FileAnswers.push_back(QString::fromStdString(kVariant));
    rating.findChild<QAction*>(QStringLiteral("CompareAction"))->trigger();
    TCompareForm* window = TCompareForm::Of(&rating);
    ASSERT_NE(window, nullptr);

    const auto report = [&](const QString& name) {
        const QString path = temp.filePath(name);
        dialogs.FileAnswers.push_back(path);
        rating.findChild<QPushButton*>(QStringLiteral("ReportButton"))->click();
        return PdfText(path);
    };
    const std::optional<QString> with = report(QStringLiteral("with.pdf"));
    if (!with)
        GTEST_SKIP() << "pdftotext is not installed";
    EXPECT_TRUE(with->contains(QStringLiteral("Сравнение с файлом example-variant.sav")));
    EXPECT_TRUE(with->contains(QStringLiteral("добавлен")));

    // Closed, the comparison is no longer the analyst's: the report leaves it out.
    window->close();
    const std::optional<QString> without = report(QStringLiteral("without.pdf"));
    ASSERT_TRUE(without);
    EXPECT_FALSE(without->contains(QStringLiteral("Сравнение с файлом")));
    EXPECT_TRUE(dialogs.Messages.empty());
}

} // namespace

namespace {

TEST(ComparisonReport, TheReportToolAddsTheComparisonToItsPdfOnlyWithCompare)
{
    QTemporaryDir temp;
    const auto run = [&](const QString& name, bool compare) -> std::optional<QString> {
        const QString path = temp.filePath(name);
        QStringList arguments { QString::fromStdString(kExample), QStringLiteral("--pdf"), path };
        if (compare)
            arguments << QStringLiteral("--compare") << QString::fromStdString(kVariant);
        QProcess tool;
        tool.start(QStringLiteral(VARDUN_BINARY_DIR "/tools/vardun-report"), arguments);
        EXPECT_TRUE(tool.waitForFinished(120000));
        EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
        return PdfText(path);
    };
    const std::optional<QString> with = run(QStringLiteral("with.pdf"), true);
    if (!with)
        GTEST_SKIP() << "pdftotext is not installed";
    EXPECT_TRUE(with->contains(QStringLiteral("Сравнение с файлом example-variant.sav")));
    const std::optional<QString> without = run(QStringLiteral("without.pdf"), false);
    ASSERT_TRUE(without);
    EXPECT_FALSE(without->contains(QStringLiteral("Сравнение с файлом")));
}

} // namespace
