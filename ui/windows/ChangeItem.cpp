#include "ui/windows/ChangeItem.h"

#include "ui/widgets/NameValidator.h"
#include "ui/widgets/WindowFont.h"

#include <QLineEdit>
#include <QPushButton>

TEditForm::TEditForm(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("Изменение"));
    setFont(WindowFont());
    setFixedSize(313, 92);
    move(239, 142);

    // Created in tab order: the edit first, so it has the focus when the dialog opens.
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("Edit"));
    edit_->setGeometry(5, 16, 305, 21);
    // The limit applies to typing (the validator); a longer name read from a file must be
    // shown whole, or confirming it unchanged would rename the item.
    validator_ = new NameValidator(kMaxNameLength, edit_);
    edit_->setValidator(validator_);

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("OKButton"));
    okButton_->setGeometry(64, 56, 75, 25);
    okButton_->setDefault(true);

    cancelButton_ = new QPushButton(QStringLiteral("Отмена"), this);
    cancelButton_->setObjectName(QStringLiteral("CancelButton"));
    cancelButton_->setGeometry(184, 56, 75, 25);

    connect(okButton_, &QPushButton::clicked, this, &TEditForm::OKButtonClick);
    // Esc and the frame's close control reject the dialog as well.
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

    edit_->setFocus();
}

void TEditForm::SetName(const QString& name)
{
    validator_->TakeText(name);
    edit_->setText(name);
}

QString TEditForm::Name() const
{
    return edit_->text();
}

void TEditForm::OKButtonClick()
{
    // An empty name would add or rename nothing useful: confirming it counts as cancelling.
    done(edit_->text().isEmpty() ? Rejected : Accepted);
}
