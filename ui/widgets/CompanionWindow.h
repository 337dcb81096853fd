// The frame of a modeless window that belongs to one window of the walk (the sensitivity
// ranking, the comparison): a fixed-size window with the program's font and a system menu,
// which the program hides with its owner (Back, Next, Finish) and brings back with it.
// Controls are children of the central widget, whose coordinates are the client's.
#pragma once

#include <QMainWindow>

class CompanionWindow : public QMainWindow {
    Q_OBJECT

public:
    CompanionWindow(QWidget* owner, QSize clientSize, const QString& title);

protected:
    // The owner is shown again and this window went away with it: shown again by default.
    virtual void ComeBackWithOwner() { show(); }

    // Closed by the analyst, the window no longer follows its owner back.
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* owner_;
    bool hiddenWithOwner_ = false;
};
