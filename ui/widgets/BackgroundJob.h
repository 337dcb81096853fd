// Long work off the window's thread, written once for every window that has some (the
// sensitivity ranking, the printed report): one worker at a time; its progress carried to
// the window's thread, the latest report only and never more than one waiting, so that a
// fast worker cannot flood the window; a stop asked for by "Отмена", by a new start or by
// the owner going away; and the outcome handed over only when nothing stopped the work.
#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <stop_token>
#include <thread>

// The caption of every button that stops a job.
QString CancelCaption();

class BackgroundJob : public QObject {
    Q_OBJECT

public:
    explicit BackgroundJob(QObject* parent = nullptr);
    // Stops the work under way and waits for the worker.
    ~BackgroundJob() override;

    // Where the work reports how far it has got; shared with the window's thread.
    struct Report;

    // What the work sees of its job, on the worker thread.
    class Work {
    public:
        Work(std::stop_token stop, std::shared_ptr<Report> report);

        std::stop_token Stop() const { return stop_; }
        bool StopRequested() const { return stop_.stop_requested(); }
        // How far the work has got: `done` of `total` in `stage` (the work's own numbering
        // of parts that count different things). Cheap; the window takes the latest report
        // when it is free.
        void Tell(int stage, std::size_t done, std::size_t total);

    private:
        std::stop_token stop_;
        std::shared_ptr<Report> report_;
    };

    // Runs `work` on a worker thread; a job under way is stopped first and its outcome
    // dropped. `finished` gets the outcome on the window's thread, unless the job was
    // stopped before it was handed over.
    template <typename Outcome> void Start(std::function<Outcome(Work&)> work, std::function<void(Outcome)> finished)
    {
        Launch([work = std::move(work), finished = std::move(finished)](Work& w) -> std::function<void()> {
            auto outcome = std::make_shared<Outcome>(work(w));
            return [finished, outcome] { finished(std::move(*outcome)); };
        });
    }

    // Stops the work under way at once for the window: its later reports and its outcome
    // are dropped, and the worker ends at its next look at the stop, unwaited for.
    void Cancel();
    bool Running() const { return running_; }

signals:
    // The latest report of the work under way.
    void progressed(int stage, qulonglong done, qulonglong total);
    // The outcome was handed over (after `finished` ran), or the work was cancelled.
    void finished();
    void cancelled();

private:
    void Launch(std::function<std::function<void()>(Work&)> work);
    void StopAndJoin();
    void Deliver(std::uint64_t generation, const std::shared_ptr<Report>& report);

    std::uint64_t generation_ = 0;
    bool running_ = false;
    std::jthread worker_;
};
