// The program's analysis windows, made when the walk first reaches them.
#pragma once

#include "app/WizardFactory.h"

class AssessmentDocument;
class IDialogs;
class IWizardNavigation;
class TCommentForm;

class AnalysisWindowFactory : public IWizardFactory {
public:
    AnalysisWindowFactory(AssessmentDocument& document, IDialogs& dialogs, IWizardNavigation& navigation)
        : document_(document)
        , dialogs_(dialogs)
        , navigation_(navigation)
    {
    }

    // The chart key that all source-matrix windows share; it exists from start-up.
    void SetCommentForm(TCommentForm* commentForm) { commentForm_ = commentForm; }

    std::unique_ptr<QWidget> CreateGraphWindow(AnalysisMode mode, const AnalysedCounts& counts) override;
    std::unique_ptr<QWidget> CreateMMEEWindow() override;
    std::unique_ptr<QWidget> CreateRatingWindow() override;

private:
    AssessmentDocument& document_;
    IDialogs& dialogs_;
    IWizardNavigation& navigation_;
    TCommentForm* commentForm_ = nullptr;
};
