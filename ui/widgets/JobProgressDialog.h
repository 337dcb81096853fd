// A modal progress dialog over a background job (the printed report): the text of each
// stage as the caller words it, the bar, and "Отмена", which cancels the job. The window
// behind keeps painting; nothing in it can be changed meanwhile.
#pragma once

#include <QProgressDialog>

#include <functional>

class BackgroundJob;

class JobProgressDialog : public QProgressDialog {
    Q_OBJECT

public:
    // The label and the bar for one report of the job.
    struct Shown {
        QString Text;
        int Value = 0;
        int Maximum = 0;
    };
    using Describe = std::function<Shown(int stage, qulonglong done, qulonglong total)>;

    JobProgressDialog(QWidget* owner, BackgroundJob& job, const QString& firstText, Describe describe);

    // Shows the dialog and waits in its event loop for the job started before: true when
    // the job handed over its outcome, false when the analyst cancelled it.
    bool Wait();

private:
    BackgroundJob& job_;
    Describe describe_;
    bool finished_ = false;
};
