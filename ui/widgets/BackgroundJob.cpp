#include "ui/widgets/BackgroundJob.h"

#include <QCoreApplication>

#include <utility>

QString CancelCaption()
{
    return QCoreApplication::translate("BackgroundJob", "Отмена");
}

struct BackgroundJob::Report {
    std::mutex Lock;
    int Stage = 0;
    std::size_t Done = 0;
    std::size_t Total = 0;
    // A report waits in the window's queue; later ones only update the numbers it will read.
    std::atomic<bool> Queued { false };
    // Set by the window's thread before the worker starts; the worker only reads it.
    std::uint64_t Generation = 0;
    QObject* Job = nullptr;
    std::function<void(const std::shared_ptr<Report>&)> Post;
};

BackgroundJob::Work::Work(std::stop_token stop, std::shared_ptr<Report> report)
    : stop_(std::move(stop))
    , report_(std::move(report))
{
}

void BackgroundJob::Work::Tell(int stage, std::size_t done, std::size_t total)
{
    {
        const std::lock_guard lock(report_->Lock);
        report_->Stage = stage;
        report_->Done = done;
        report_->Total = total;
    }
    if (!report_->Queued.exchange(true))
        report_->Post(report_);
}

BackgroundJob::BackgroundJob(QObject* parent)
    : QObject(parent)
{
}

BackgroundJob::~BackgroundJob()
{
    StopAndJoin();
}

void BackgroundJob::StopAndJoin()
{
    if (worker_.joinable()) {
        worker_.request_stop();
        worker_.join();
    }
}

void BackgroundJob::Launch(std::function<std::function<void()>(Work&)> work)
{
    StopAndJoin();
    const std::uint64_t generation = ++generation_;
    running_ = true;
    auto report = std::make_shared<Report>();
    report->Generation = generation;
    report->Post = [this](const std::shared_ptr<Report>& queued) {
        QMetaObject::invokeMethod(
            this, [this, queued] { Deliver(queued->Generation, queued); }, Qt::QueuedConnection);
    };
    worker_ = std::jthread([this, generation, report, work = std::move(work)](std::stop_token stop) {
        Work w(stop, report);
        std::function<void()> handOver = work(w);
        // Queued after the work's last report, so the window sees that one first.
        QMetaObject::invokeMethod(
            this,
            [this, generation, handOver = std::move(handOver)] {
                if (generation != generation_)
                    return;
                running_ = false;
                handOver();
                emit finished();
            },
            Qt::QueuedConnection);
    });
}

void BackgroundJob::Deliver(std::uint64_t generation, const std::shared_ptr<Report>& report)
{
    int stage;
    std::size_t done, total;
    {
        const std::lock_guard lock(report->Lock);
        report->Queued.store(false);
        stage = report->Stage;
        done = report->Done;
        total = report->Total;
    }
    if (generation == generation_ && running_)
        emit progressed(stage, done, total);
}

void BackgroundJob::Cancel()
{
    if (!running_)
        return;
    worker_.request_stop();
    ++generation_;
    running_ = false;
    emit cancelled();
}
