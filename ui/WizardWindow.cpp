#include "ui/WizardWindow.h"

#include "ui/Navigation.h"
#include "ui/WindowFont.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

WizardWindow::WizardWindow(IWizardNavigation& navigation, QSize clientSize, QWidget* client, QWidget* parent)
    : QMainWindow(parent,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , navigation_(navigation)
{
    setWindowTitle(QStringLiteral("Vardun 2.2"));
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
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto* focused = qobject_cast<QPushButton*>(focusWidget()); focused && focused->isEnabled())
            focused->click();
        else if (defaultButton_ && defaultButton_->isEnabled())
            defaultButton_->click();
        return;
    case Qt::Key_Escape:
        if (cancelButton_ && cancelButton_->isEnabled())
            cancelButton_->click();
        return;
    default:
        QMainWindow::keyPressEvent(event);
    }
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const QRect& geometry)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setFont(WindowFont());
    // Enter is handled by the window: the focused button, else the default one.
    button->setAutoDefault(false);
    return button;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, QPoint at, bool opaque)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setAutoFillBackground(opaque);
    label->move(at);
    label->adjustSize();
    return label;
}

void SetLabelText(QLabel* label, const QString& text)
{
    if (label->text() == text)
        return;
    label->setText(text);
    label->adjustSize();
}
