// The order of the wizard: which windows of the walk exist, which one is shown, and when the
// main window's Next throws them all away and starts again. Exactly one of the main window
// and the walk's windows is visible at a time; hiding never destroys a window.
#pragma once

#include "ui/widgets/Navigation.h"

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
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
    void SetGuide(std::function<void(const QWidget*)> guide) { guide_ = std::move(guide); }

    void ShowAbout() override;
    void ShowGuide(const QWidget* window) override;
    void ShowAnalysis(bool listsChanged) override;
    void Next(QWidget* from) override;
    void Back(QWidget* from) override;
    void Finish(QWidget* from) override;
    void WizardWindowClosed() override;

    std::size_t StepCount() const { return windows_.size(); }
    // The window of a step as it exists now; null where none does.
    QWidget* Window(std::size_t step) const;

private:
    // The names of the analysed items of each kind, in matrix order: what the windows'
    // rows and columns stand for.
    using Selection = std::array<std::vector<std::string>, 3>;
    static Selection AnalysedNames(const CData& store);

    std::optional<std::size_t> StepOf(const QWidget* window) const;
    // The window of a step, made when the walk first reaches it.
    QWidget* Reach(std::size_t step);
    void DestroyWizardWindows();
    static void Switch(QWidget* from, QWidget* to);

    const AssessmentDocument& document_;
    IWizardFactory& factory_;
    QWidget* mainWindow_ = nullptr;
    QDialog* aboutForm_ = nullptr;
    std::function<void(const QWidget*)> guide_;

    std::vector<std::unique_ptr<QWidget>> windows_;
    // What the existing windows were built for.
    Selection builtFor_;
};
