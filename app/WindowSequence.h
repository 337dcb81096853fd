// The order of the wizard: which analysis windows exist, which one is shown, and when the
// main window's Next throws them all away and starts again. Exactly one of the main window
// and the analysis windows is visible at a time; hiding never destroys a window.
#pragma once

#include "ui/Navigation.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

class AssessmentDocument;
class CData;
class IWizardFactory;
class QDialog;
class QWidget;

class WindowSequence : public IWizardNavigation {
public:
    WindowSequence(const AssessmentDocument& document, IWizardFactory& factory);
    ~WindowSequence() override;

    void SetMainWindow(QWidget* mainWindow) { mainWindow_ = mainWindow; }
    void SetAboutForm(QDialog* aboutForm) { aboutForm_ = aboutForm; }

    void ShowAbout() override;
    void ShowAnalysis(bool listsChanged) override;
    void GraphNext(AnalysisMode mode) override;
    void GraphBack(AnalysisMode mode) override;
    void MMEENext() override;
    void MMEEBack() override;
    void RatingBack() override;
    void RatingFinish() override;
    void WizardWindowClosed() override;

    // The windows that exist now; null where none does.
    QWidget* GraphWindow(AnalysisMode mode) const;
    QWidget* MMEEWindow() const { return mmeeWindow_.get(); }
    QWidget* RatingWindow() const { return ratingWindow_.get(); }

private:
    // The names of the analysed items of each kind, in matrix order: what the windows'
    // rows and columns stand for.
    using Selection = std::array<std::vector<std::string>, 3>;
    static Selection AnalysedNames(const CData& store);

    std::unique_ptr<QWidget> CreateGraphWindow(AnalysisMode mode);
    std::unique_ptr<QWidget>& GraphSlot(AnalysisMode mode) { return graphWindows_[ModeIndex(mode)]; }
    void DestroyWizardWindows();
    static void Switch(QWidget* from, QWidget* to);

    const AssessmentDocument& document_;
    IWizardFactory& factory_;
    QWidget* mainWindow_ = nullptr;
    QDialog* aboutForm_ = nullptr;

    std::array<std::unique_ptr<QWidget>, 4> graphWindows_;
    std::unique_ptr<QWidget> mmeeWindow_;
    std::unique_ptr<QWidget> ratingWindow_;
    // What the existing windows were built for.
    Selection builtFor_;
};
