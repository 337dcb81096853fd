// The frame every analysis window of the wizard shares: a fixed-size window with the
// program's caption, system menu and minimise box; Enter presses the focused button or
// the window's default one, Esc its cancel one; closing it with the frame only hides it
// and brings back the main window. Controls are children of Client(), whose coordinates
// are the window's client coordinates.
#pragma once

#include <QMainWindow>

class IWizardNavigation;
class QMenu;
class QPushButton;

class WizardWindow : public QMainWindow {
    Q_OBJECT

public:
    // `client` becomes the central widget (a chart view, say); a plain one when null.
    WizardWindow(IWizardNavigation& navigation, QSize clientSize, QWidget* client = nullptr, QWidget* parent = nullptr);

protected:
    QWidget* Client() const { return centralWidget(); }
    // A menu of the window's menu bar, made on first use; the window grows by the bar's
    // height so that the client area keeps its size and its controls their places.
    QMenu* AddMenu(const QString& title);
    IWizardNavigation& Navigation() { return navigation_; }

    void SetDefaultButton(QPushButton* button) { defaultButton_ = button; }
    void SetCancelButton(QPushButton* button) { cancelButton_ = button; }

    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    IWizardNavigation& navigation_;
    QSize clientSize_;
    QPushButton* defaultButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};
