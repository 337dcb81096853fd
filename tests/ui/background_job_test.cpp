// The background job every long task of the windows runs in: the outcome handed over on the
// window's thread, the progress as the latest report only, a cancel or a new start that
// drops what the stopped work still sends, a job that goes away while its worker runs, and
// the progress dialog over a job.
#include "ui/widgets/BackgroundJob.h"
#include "ui/widgets/JobProgressDialog.h"

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// Counts to `n`, telling each step, until stopped; the count reached.
int CountTo(BackgroundJob::Work& work, int n, std::chrono::microseconds step = {})
{
    int k = 0;
    for (; k < n && !work.StopRequested(); ++k) {
        if (step.count() > 0)
            std::this_thread::sleep_for(step);
        work.Tell(0, static_cast<std::size_t>(k + 1), static_cast<std::size_t>(n));
    }
    return k;
}

TEST(BackgroundJob, HandsTheOutcomeOverOnTheWindowsThreadAndTellsTheLatestCountOnly)
{
    BackgroundJob job;
    std::vector<qulonglong> told;
    QObject::connect(&job, &BackgroundJob::progressed, [&told](int, qulonglong done, qulonglong) {
        EXPECT_EQ(QThread::currentThread(), qApp->thread());
        told.push_back(done);
    });
    std::optional<int> outcome;
    Qt::HANDLE workedOn = nullptr;
    job.Start<int>(
        [&workedOn](BackgroundJob::Work& work) {
            workedOn = QThread::currentThreadId();
            return CountTo(work, 200000);
        },
        [&outcome](int count) {
            EXPECT_EQ(QThread::currentThread(), qApp->thread());
            outcome = count;
        });
    EXPECT_TRUE(job.Running());
    QSignalSpy finished(&job, &BackgroundJob::finished);
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_FALSE(job.Running());
    EXPECT_EQ(outcome, 200000);
    EXPECT_NE(workedOn, QThread::currentThreadId());
    // Far fewer reports than steps reached the window, each a count the work had reached,
    // never going back.
    EXPECT_LT(told.size(), 200000u);
    for (std::size_t k = 1; k < told.size(); ++k)
        EXPECT_GE(told[k], told[k - 1]);
}

TEST(BackgroundJob, CancelStopsTheWorkAndDropsItsReportsAndOutcome)
{
    BackgroundJob job;
    std::atomic<int> reached { -1 };
    bool handedOver = false;
    job.Start<int>(
        [&reached](BackgroundJob::Work& work) {
            reached = CountTo(work, 1000000, 100us);
            return reached.load();
        },
        [&handedOver](int) { handedOver = true; });
    QSignalSpy progressed(&job, &BackgroundJob::progressed);
    ASSERT_TRUE(progressed.wait(10000));
    QSignalSpy cancelled(&job, &BackgroundJob::cancelled);
    job.Cancel();
    EXPECT_EQ(cancelled.count(), 1);
    EXPECT_FALSE(job.Running());
    const qsizetype before = progressed.count();
    // The worker ends at its next look at the stop; nothing it sent after reaches the window.
    QTRY_VERIFY_WITH_TIMEOUT(reached.load() >= 0, 10000);
    EXPECT_LT(reached.load(), 1000000);
    QTest::qWait(50);
    EXPECT_EQ(progressed.count(), before);
    EXPECT_FALSE(handedOver);
}

TEST(BackgroundJob, ANewStartStopsTheWorkUnderWayAndHandsOverOnlyItsOwnOutcome)
{
    BackgroundJob job;
    std::vector<int> outcomes;
    const auto record = [&outcomes](int count) { outcomes.push_back(count); };
    job.Start<int>([](BackgroundJob::Work& work) { return CountTo(work, 1000000, 100us); }, record);
    job.Start<int>([](BackgroundJob::Work& work) { return CountTo(work, 10) + 1000; }, record);
    QSignalSpy finished(&job, &BackgroundJob::finished);
    ASSERT_TRUE(finished.wait(10000));
    QTest::qWait(50);
    EXPECT_EQ(outcomes, std::vector<int> { 1010 });
}

TEST(BackgroundJob, AJobThatGoesAwayStopsItsWorkerAndWaitsForIt)
{
    std::atomic<bool> ended { false };
    {
        BackgroundJob job;
        job.Start<int>(
            [&ended](BackgroundJob::Work& work) {
                const int count = CountTo(work, 1000000, 100us);
                ended = true;
                return count;
            },
            [](int) { ADD_FAILURE() << "handed over after the job went"; });
        QTest::qWait(20);
    }
    EXPECT_TRUE(ended.load());
    QTest::qWait(50);
}

TEST(JobProgressDialog, WaitsForTheJobAndShowsItsCountsUntilItIsDoneOrCancelled)
{
    for (const bool cancel : { false, true }) {
        SCOPED_TRACE(cancel ? "cancelled" : "finished");
        BackgroundJob job;
        bool handedOver = false;
        job.Start<int>([cancel](BackgroundJob::Work& work) { return CountTo(work, cancel ? 1000000 : 300, 200us); },
            [&handedOver](int) { handedOver = true; });
        JobProgressDialog dialog(nullptr, job, QStringLiteral("Начало"), [](int, qulonglong done, qulonglong total) {
            return JobProgressDialog::Shown { QStringLiteral("Шаг %1 из %2").arg(done).arg(total),
                static_cast<int>(done), static_cast<int>(total) };
        });
        std::vector<int> values;
        QTimer look;
        look.setInterval(1);
        QObject::connect(&look, &QTimer::timeout, [&] {
            if (!dialog.isVisible() || !dialog.labelText().startsWith(QStringLiteral("Шаг ")))
                return;
            EXPECT_EQ(dialog.labelText(), QStringLiteral("Шаг %1 из %2").arg(dialog.value()).arg(dialog.maximum()));
            values.push_back(dialog.value());
            if (cancel && values.size() == 3)
                for (QPushButton* button : dialog.findChildren<QPushButton*>())
                    if (button->text() == CancelCaption())
                        QTest::mouseClick(button, Qt::LeftButton);
        });
        look.start();
        EXPECT_EQ(dialog.Wait(), !cancel);
        look.stop();
        EXPECT_EQ(handedOver, !cancel);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_FALSE(job.Running());
        EXPECT_TRUE(dialog.isModal());
        ASSERT_FALSE(values.empty());
        for (std::size_t k = 1; k < values.size(); ++k)
            EXPECT_GE(values[k], values[k - 1]);
    }
}

} // namespace
