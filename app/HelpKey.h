// F1 in any of the program's windows opens the user guide at that window's section. One
// filter on the whole application rather than a key in every window: a window joins the
// guide by one line in the table of sections (HelpKey.cpp).
#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QWidget;
class THelpForm;

class HelpKey : public QObject {
    Q_OBJECT

public:
    // Watches every key of the application from now on.
    explicit HelpKey(QObject* parent = nullptr);
    ~HelpKey() override;

    // The guide at the section of `window`: the window whose key was pressed, or a dialog's
    // owner for Qt's own dialogs and message boxes.
    void ShowHelpFor(const QWidget* window);
    // The guide at `anchor` (its beginning when empty).
    void ShowSection(const QString& anchor);

    // The anchor of a window's section; empty for a window the guide has none for.
    static QString SectionFor(const QWidget* window);

    // The guide's window; null until F1 is first pressed.
    THelpForm* HelpWindow() const { return help_.get(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<THelpForm> help_;
};
