#include "ui/dialogs/ChangeItem.h"

#include "ui/widgets/NameValidator.h"
#include "ui/widgets/WindowFont.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr QSize kClientSize { 313, 92 };
constexpr QPoint kWindowPlace { 239, 142 };
constexpr QRect kEdit { 5, 16, 305, 21 };
constexpr QRect kOkButton { 64, 56, 75, 25 };
constexpr QRect kCancelButton { 184, 56, 75, 25 };

} // namespace

TEditForm::TEditForm(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(tr("Изменение"));
    setFont(WindowFont());
    setFixedSize(kClientSize);
    move(kWindowPlace);

    // Created in tab order: the edit first, so it has the focus when the dialog opens.
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("Edit"));
    edit_->setGeometry(kEdit);
    // The limit applies to typing (the validator); a longer name read from a file must be
    // shown whole, or confirming it unchanged would rename the item.
    validator_ = new NameValidator(kMaxNameLength, edit_);
    edit_->setValidator(validator_);

    okButton_ = new QPushButton(tr("OK"), this);
    okButton_->setObjectName(QStringLiteral("OKButton"));
    okButton_->setGeometry(kOkButton);
    okButton_->setDefault(true);

    cancelButton_ = new QPushButton(tr("Отмена"), this);
    cancelButton_->setObjectName(QStringLiteral("CancelButton"));
    cancelButton_->setGeometry(kCancelButton);

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
