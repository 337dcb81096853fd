// TAboutForm: the about box, shown modally from the main window, with a link to the guide.
#pragma once

#include <QDialog>

class TAboutForm : public QDialog {
    Q_OBJECT

public:
    explicit TAboutForm(QWidget* parent = nullptr);

signals:
    // The analyst followed the link to the user guide.
    void guideRequested();
};
