#include "ui/widgets/WizardWindow.h"

#include "ui/widgets/Controls.h"
#include "ui/widgets/Navigation.h"
#include "ui/widgets/Texts.h"
#include "ui/widgets/WindowFont.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

WizardWindow::WizardWindow(IWizardNavigation& navigation, QSize clientSize, QWidget* client, QWidget* parent)
    : QMainWindow(parent,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , navigation_(navigation)
    , clientSize_(clientSize)
{
    setWindowTitle(ProgramTitle());
    setFont(WindowFont());
    // With no menu or status bar the central widget is the whole client area.
    setFixedSize(clientSize);
    setCentralWidget(client ? client : new QWidget);
}

QMenu* WizardWindow::AddMenu(const QString& title)
{
    QMenuBar* bar = menuBar();
    QMenu* menu = bar->addMenu(title);
    setFixedSize(clientSize_.width(), clientSize_.height() + bar->sizeHint().height());
    return menu;
}

void WizardWindow::closeEvent(QCloseEvent* event)
{
    // Closing only hides: the window keeps everything for the next visit.
    event->accept();
    navigation_.WizardWindowClosed();
}

void WizardWindow::keyPressEvent(QKeyEvent* event)
{
    if (!PressDialogKey(*this, *event, defaultButton_, cancelButton_))
        QMainWindow::keyPressEvent(event);
}
