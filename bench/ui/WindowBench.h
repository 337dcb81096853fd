// What the window benchmarks share: dialogs that answer nothing, and the wait from an input
// event to the window painted again.
#pragma once

#include "ui/dialogs/Dialogs.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QObject>
#include <QTimer>

#include <optional>
#include <string>

// Every question unanswered, every message dropped: a benchmark that needs an answer
// fails on its own check.
class SilentDialogs : public IDialogs {
public:
    void ShowMessage(const std::string&) override { }
    void ShowInformation(const std::string&) override { }
    CloseAnswer AskSaveChanges(QWidget*) override { return CloseAnswer::Cancel; }
    std::optional<QString> AskOpenFile(QWidget*, const FileDialogOptions&) override { return std::nullopt; }
    std::optional<QString> AskSaveFile(QWidget*, const FileDialogOptions&) override { return std::nullopt; }
    std::optional<QString> AskName(QWidget*, const QString&, const QString&) override { return std::nullopt; }
};

// Runs the event loop after an input until the window is painted and nothing more is
// queued: the step's queued work, its repaint and whatever that set off are done.
class PaintedWait : public QObject {
public:
    PaintedWait()
    {
        wake_.setInterval(kWakeEvery);
        qApp->installEventFilter(this);
    }
    ~PaintedWait() override { qApp->removeEventFilter(this); }
    PaintedWait(const PaintedWait&) = delete;
    PaintedWait& operator=(const PaintedWait&) = delete;

    // Until a whole pass over the queued events delivers nothing more, after at least one
    // paint when `painting`. Until that paint, an idle loop waits for what comes from
    // outside: with a screen reader, Qt's bridge holds back each key until the accessibility
    // registry has passed it round the listeners and answered. False when the loop never
    // settles.
    bool Run(bool painting = true)
    {
        paints_ = 0;
        QDeadlineTimer deadline(kMostWait);
        while (!deadline.hasExpired()) {
            delivered_ = 0;
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            if (delivered_ > 0)
                continue;
            if (paints_ > 0 || !painting)
                return true;
            wake_.start();
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            wake_.stop();
        }
        return false;
    }

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        // The wait's own wake-ups are not the step's.
        if (receiver == &wake_)
            return false;
        ++delivered_;
        if (event->type() == QEvent::Paint)
            ++paints_;
        return false;
    }

private:
    static constexpr int kMostWait = 10000; // ms
    static constexpr int kWakeEvery = 5; // ms
    QTimer wake_;
    int delivered_ = 0;
    int paints_ = 0;
};
