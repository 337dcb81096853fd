// The report's progress: the pages counted off up to the laid-out count, a report stopped
// after its first page that leaves no file (and an older file at the path as it was), and
// the rating window's progress dialog, whose "Отмена" stops the report and leaves the
// window as usable as before.
#include "ui/export/AssessmentReport.h"

#include "../core/support/RandomAssessment.h"
#include "../core/support/RecordingSink.h"
#include "../core/support/TempFolder.h"
#include "ScriptedDialogs.h"
#include "analysis/Derived.h"
#include "ui/document/Document.h"
#include "ui/export/ReportContent.h"
#include "ui/export/ReportLayout.h"
#include "ui/windows/Navigation.h"
#include "ui/windows/Rating.h"

#include <QApplication>
#include <QDate>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace {

// Large enough for several pages, small enough to be quick.
constexpr int kItems = 15;

int PlannedPages(const CData& assessment, const ReportRequest& request)
{
    return static_cast<int>(
        LayOutReport(AssessmentReportBlocks(assessment, request, QDate::currentDate()), kA4Report).size());
}

TEST(ReportProgress, CountsOffEveryPageUpToTheLaidOutCount)
{
    const CData assessment = RandomAssessment(kItems, 5);
    const ReportRequest request { "random.sav", RatingSelection { 1, 2, 3 }, 2.0f, 0.5f };
    TempFolder folder;
    const std::string path = folder.Path("report.pdf");
    std::vector<std::pair<int, int>> calls;
    RecordingSink messages;
    EXPECT_TRUE(WriteAssessmentReport(path, assessment, request, messages, {}, [&calls](int done, int count) {
        calls.emplace_back(done, count);
        return true;
    }));
    EXPECT_TRUE(messages.Messages.empty());
    EXPECT_TRUE(std::filesystem::exists(path));

    const int pages = PlannedPages(assessment, request);
    ASSERT_GT(pages, 3);
    std::vector<std::pair<int, int>> expected;
    for (int done = 0; done <= pages; ++done)
        expected.emplace_back(done, pages);
    EXPECT_EQ(calls, expected);
}

TEST(ReportProgress, StoppedAfterTheFirstPageItWritesNothingAndSaysNothing)
{
    const CData assessment = RandomAssessment(kItems, 5);
    TempFolder folder;
    const std::string path = folder.Path("report.pdf");
    WriteBytes(path, "an older report");
    int lastDone = -1;
    RecordingSink messages;
    EXPECT_FALSE(WriteAssessmentReport(path, assessment, ReportRequest {}, messages, {}, [&lastDone](int done, int) {
        lastDone = done;
        return done < 1;
    }));
    EXPECT_EQ(lastDone, 1);
    EXPECT_TRUE(messages.Messages.empty());
    EXPECT_EQ(ReadBytes(path), "an older report");
    // Nothing beside it either: no half-written or temporary file.
    EXPECT_EQ(
        std::distance(std::filesystem::directory_iterator(folder.Root()), std::filesystem::directory_iterator()), 1);
}

// The rating window's "Отчёт..." on a 15-item assessment, with a watcher that looks at the
// progress dialog each time the report lets the event loop run.
class RatingWindowReportProgress : public ::testing::Test {
protected:
    struct Seen {
        int Value;
        int Maximum;
        bool Visible;
        bool Modal;
    };

    void SetUp() override
    {
        document.Store() = RandomAssessment(kItems, 5);
        ComputeAllModes(document.Store());
        window = std::make_unique<TRatingForm>(document, dialogs, navigation);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        watcher.setInterval(0);
        QObject::connect(&watcher, &QTimer::timeout, [this] { Look(); });
    }

    void Look()
    {
        auto* progress = window->findChild<QProgressDialog*>(QStringLiteral("ReportProgress"));
        if (!progress)
            return;
        seen.push_back({ progress->value(), progress->maximum(), progress->isVisible(), progress->isModal() });
        if (onDialog)
            onDialog(*progress);
    }

    // Presses "Отчёт..." with the watcher running; the report is done when this returns.
    void Report(const std::string& path)
    {
        seen.clear();
        dialogs.FileAnswers.push_back(QString::fromStdString(path));
        watcher.start();
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("ReportButton")), Qt::LeftButton);
        watcher.stop();
    }

    AssessmentDocument document;
    ScriptedDialogs dialogs;
    StillNavigation navigation;
    std::unique_ptr<TRatingForm> window;
    TempFolder folder;
    QTimer watcher;
    std::vector<Seen> seen;
    std::function<void(QProgressDialog&)> onDialog;
};

TEST_F(RatingWindowReportProgress, TheDialogCountsThePagesOffWhileTheWindowRuns)
{
    const std::string path = folder.Path("counted.pdf");
    Report(path);
    EXPECT_TRUE(dialogs.Messages.empty());
    EXPECT_TRUE(std::filesystem::exists(path));

    const int pages = PlannedPages(document.Store(), ReportRequest {});
    ASSERT_FALSE(seen.empty());
    EXPECT_TRUE(seen.front().Visible);
    EXPECT_TRUE(seen.front().Modal);
    int last = -1;
    for (const Seen& look : seen) {
        if (look.Maximum == 0)
            continue; // still being laid out
        EXPECT_EQ(look.Maximum, pages);
        EXPECT_GE(look.Value, last);
        last = look.Value;
    }
    EXPECT_EQ(last, pages);
    // The event loop ran between pages, not only before and after.
    EXPECT_TRUE(std::any_of(
        seen.begin(), seen.end(), [pages](const Seen& look) { return look.Value > 0 && look.Value < pages; }));
    // Gone with the report: nothing modal is left to block the window.
    EXPECT_EQ(window->findChild<QProgressDialog*>(), nullptr);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(RatingWindowReportProgress, CancelAfterTheFirstPageLeavesNoFileAndTheWindowUsable)
{
    int cancelledAt = -1;
    onDialog = [&cancelledAt](QProgressDialog& progress) {
        if (progress.value() < 1 || progress.wasCanceled())
            return;
        for (QPushButton* button : progress.findChildren<QPushButton*>())
            if (button->text() == QStringLiteral("Отмена")) {
                cancelledAt = progress.value();
                QTest::mouseClick(button, Qt::LeftButton);
            }
    };
    Report(folder.Path("stopped.pdf"));
    EXPECT_EQ(cancelledAt, 1);
    ASSERT_FALSE(seen.empty());
    // No page after the first was painted, and the dialog went away at once.
    int mostPages = 0;
    for (const Seen& look : seen)
        mostPages = std::max(mostPages, look.Value);
    EXPECT_EQ(mostPages, 1);
    EXPECT_GT(seen.back().Maximum, 1);
    EXPECT_FALSE(seen.back().Visible);
    EXPECT_TRUE(dialogs.Messages.empty());
    EXPECT_TRUE(std::filesystem::is_empty(folder.Root()));
    EXPECT_EQ(window->findChild<QProgressDialog*>(), nullptr);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // The window goes on as before: the next report is written whole.
    onDialog = nullptr;
    const std::string path = folder.Path("written.pdf");
    Report(path);
    EXPECT_TRUE(dialogs.Messages.empty());
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_TRUE(window->isVisible());
}

} // namespace
