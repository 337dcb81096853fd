// What the windows ask of the window sequence: the about box, and the moves of the wizard
// (the main window's Next, each analysis window's Next and Back, Finish, and closing an
// analysis window with the frame's close control).
#pragma once

#include "model/Kinds.h"

class IWizardNavigation {
public:
    virtual ~IWizardNavigation() = default;

    virtual void ShowAbout() = 0;

    // The main window's Next, once the store holds the selection to analyse. `listsChanged`:
    // a check mark was clicked or a data file loaded since the analysis windows were built.
    virtual void ShowAnalysis(bool listsChanged) = 0;
    // The source-matrix windows.
    virtual void GraphNext(AnalysisMode mode) = 0;
    virtual void GraphBack(AnalysisMode mode) = 0;
    virtual void MMEENext() = 0;
    virtual void MMEEBack() = 0;
    virtual void RatingBack() = 0;
    virtual void RatingFinish() = 0;
    // An analysis window hid itself through the frame's close control.
    virtual void WizardWindowClosed() = 0;
};

// A walk that goes nowhere: for windows the program drives itself (the report tool's
// pictures, benchmarks), where no analyst presses a button.
class StillNavigation : public IWizardNavigation {
public:
    void ShowAbout() override { }
    void ShowAnalysis(bool) override { }
    void GraphNext(AnalysisMode) override { }
    void GraphBack(AnalysisMode) override { }
    void MMEENext() override { }
    void MMEEBack() override { }
    void RatingBack() override { }
    void RatingFinish() override { }
    void WizardWindowClosed() override { }
};
