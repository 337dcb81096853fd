#include "ui/widgets/WizardWindow.h"

#include "ui/widgets/Controls.h"
#include "ui/widgets/Texts.h"
#include "ui/widgets/WindowFont.h"
#include "ui/windows/Navigation.h"

#include <QCloseEvent>
#include <QKeyEvent>

WizardWindow::WizardWindow(IWizardNavigation& navigation, QSize clientSize, QWidget* client, QWidget* parent)
    : QMainWindow(parent,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , navigation_(navigation)
{
    setWindowTitle(ProgramTitle());
    setFont(WindowFont());
    // With no menu or status bar the central widget is the whole client area.
    setFixedSize(clientSize);
    setCentralWidget(client ? client : new QWidget);
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
