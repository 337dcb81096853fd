#include "ui/widgets/JobProgressDialog.h"

#include "ui/widgets/BackgroundJob.h"

JobProgressDialog::JobProgressDialog(QWidget* owner, BackgroundJob& job, const QString& firstText, Describe describe)
    : QProgressDialog(firstText, CancelCaption(), 0, 0, owner)
    , job_(job)
    , describe_(std::move(describe))
{
    setWindowModality(Qt::ApplicationModal);
    setAutoReset(false);
    setAutoClose(false);
    setMinimumDuration(0);
    if (owner)
        setWindowTitle(owner->window()->windowTitle());
    connect(&job_, &BackgroundJob::progressed, this, [this](int stage, qulonglong done, qulonglong total) {
        const Shown shown = describe_(stage, done, total);
        setLabelText(shown.Text);
        setMaximum(shown.Maximum);
        setValue(shown.Value);
    });
    connect(&job_, &BackgroundJob::finished, this, [this] {
        finished_ = true;
        accept();
    });
    // The dialog goes at once; the worker ends unwaited for at its next look at the stop.
    connect(this, &QProgressDialog::canceled, this, [this] {
        job_.Cancel();
        reject();
    });
}

bool JobProgressDialog::Wait()
{
    // A job that ended before the dialog showed has nothing left to wait for.
    if (job_.Running())
        exec();
    return finished_;
}
