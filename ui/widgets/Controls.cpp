#include "ui/widgets/Controls.h"

#include "ui/widgets/WindowFont.h"

#include <QCoreApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

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

QPushButton* MakeButton(QWidget* parent, const ButtonPlace& place, const char* context)
{
    return MakeButton(parent, place.Name, QCoreApplication::translate(context, place.Caption), place.At);
}

QPushButton* MakeCloseButton(QDialog* window, const QRect& geometry)
{
    auto* button = new QPushButton(QCoreApplication::translate("Controls", "Закрыть"), window);
    button->setObjectName(QStringLiteral("CloseButton"));
    button->setGeometry(geometry);
    button->setDefault(true);
    QObject::connect(button, &QPushButton::clicked, window, &QWidget::hide);
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

QLabel* MakeLabel(QWidget* parent, const FixedLabel& label, bool opaque)
{
    return MakeLabel(
        parent, label.Name, QCoreApplication::translate("Charts", label.Caption), { label.At.X, label.At.Y }, opaque);
}

QLabel* MakeLabel(QWidget* parent, const LabelPlace& place, const char* context, bool opaque)
{
    return MakeLabel(parent, place.Name, QCoreApplication::translate(context, place.Caption), place.At, opaque);
}

void SetLabelText(QLabel* label, const QString& text)
{
    if (label->text() == text)
        return;
    label->setText(text);
    label->adjustSize();
}

bool PressDialogKey(
    const QWidget& window, const QKeyEvent& event, QPushButton* defaultButton, QPushButton* cancelButton)
{
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto* focused = qobject_cast<QPushButton*>(window.focusWidget()); focused && focused->isEnabled())
            focused->click();
        else if (defaultButton && defaultButton->isEnabled())
            defaultButton->click();
        return true;
    case Qt::Key_Escape:
        if (cancelButton && cancelButton->isEnabled())
            cancelButton->click();
        return true;
    default:
        return false;
    }
}
