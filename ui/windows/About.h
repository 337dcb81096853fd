// TAboutForm: the about box, shown modally from the main window.
#pragma once

#include <QDialog>

class TAboutForm : public QDialog {
    Q_OBJECT

public:
    explicit TAboutForm(QWidget* parent = nullptr);
};
