#include "ui/widgets/CompanionWindow.h"

#include "ui/widgets/WindowFont.h"

#include <QCloseEvent>

CompanionWindow::CompanionWindow(QWidget* owner, QSize clientSize, const QString& title)
    : QMainWindow(owner,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , owner_(owner)
{
    setWindowTitle(title);
    setFont(WindowFont());
    setFixedSize(clientSize);
    setCentralWidget(new QWidget);
    if (owner_)
        owner_->installEventFilter(this);
}

void CompanionWindow::closeEvent(QCloseEvent* event)
{
    hiddenWithOwner_ = false;
    event->accept();
}

bool CompanionWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Only the program's hiding and showing of the owner: a minimised desktop is not Back.
    if (watched == owner_ && !event->spontaneous()) {
        if (event->type() == QEvent::Hide && isVisible()) {
            hiddenWithOwner_ = true;
            hide();
        } else if (event->type() == QEvent::Show && hiddenWithOwner_) {
            hiddenWithOwner_ = false;
            ComeBackWithOwner();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
