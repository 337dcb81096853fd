// What the windows ask of the walk: the about box, the main window's Next, and the moves of
// an analysis window. A window names only itself, never its neighbours: the walk's order is
// the walk's business.
#pragma once

class QWidget;

class IWizardNavigation {
public:
    virtual ~IWizardNavigation() = default;

    virtual void ShowAbout() = 0;
    // The user guide at the section of `window` (the menu's "Руководство").
    virtual void ShowGuide(const QWidget* window) = 0;

    // The main window's Next, once the store holds the selection to analyse. `listsChanged`:
    // a check mark was clicked or a data file loaded since the analysis windows were built.
    virtual void ShowAnalysis(bool listsChanged) = 0;
    // An analysis window's Next, Back and Finish.
    virtual void Next(QWidget* from) = 0;
    virtual void Back(QWidget* from) = 0;
    virtual void Finish(QWidget* from) = 0;
    // An analysis window hid itself through the frame's close control.
    virtual void WizardWindowClosed() = 0;
};

// A walk that goes nowhere: for windows the program drives itself (the report tool's
// pictures, benchmarks), where no analyst presses a button.
class StillNavigation : public IWizardNavigation {
public:
    void ShowAbout() override { }
    void ShowGuide(const QWidget*) override { }
    void ShowAnalysis(bool) override { }
    void Next(QWidget*) override { }
    void Back(QWidget*) override { }
    void Finish(QWidget*) override { }
    void WizardWindowClosed() override { }
};
