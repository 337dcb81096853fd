// TEditForm: the small modal dialog in which a layer, threat or mechanism name is typed or
// edited. Callers set the caption (their prompt) and the starting name, show it modally and
// read the name after OK.
#pragma once

#include <QDialog>

class NameValidator;
class QLineEdit;
class QPushButton;

class TEditForm : public QDialog {
    Q_OBJECT

public:
    static constexpr int kMaxNameLength = 250;

    explicit TEditForm(QWidget* parent = nullptr);

    void SetName(const QString& name);
    // Exactly as typed, blanks included.
    QString Name() const;

private:
    void OKButtonClick();

    QLineEdit* edit_;
    NameValidator* validator_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
};
