// The program's analysis windows. Until the source-matrix, MM/EE and rating windows are
// built, Next prepares the store (so the selection can already be saved with the data) and
// tells the analyst that the analysis windows are not there yet; the main window stays.
#pragma once

#include "app/WizardFactory.h"

class IDialogs;

class AnalysisWindowFactory : public IWizardFactory {
public:
    explicit AnalysisWindowFactory(IDialogs& dialogs)
        : dialogs_(dialogs)
    {
    }

    std::unique_ptr<QWidget> CreateGraphWindow(int mode, int mechanismCount, int threatCount, int layerCount) override;
    std::unique_ptr<QWidget> CreateMMEEWindow() override;
    std::unique_ptr<QWidget> CreateRatingWindow() override;

private:
    std::unique_ptr<QWidget> NotAvailable();

    IDialogs& dialogs_;
};
