#include "app/AnalysisWindowFactory.h"

#include "ui/Dialogs.h"
#include "ui/Graph.h"
#include "ui/MMEE.h"

#include <QWidget>

std::unique_ptr<QWidget> AnalysisWindowFactory::CreateGraphWindow(AnalysisMode mode, const AnalysedCounts& counts)
{
    auto window = std::make_unique<TGraphForm>(document_, dialogs_, navigation_, *commentForm_);
    window->SetUpForMode(mode, counts);
    return window;
}

std::unique_ptr<QWidget> AnalysisWindowFactory::CreateMMEEWindow()
{
    return std::make_unique<TMMEEForm>(document_, navigation_);
}

std::unique_ptr<QWidget> AnalysisWindowFactory::CreateRatingWindow()
{
    return NotAvailable();
}

std::unique_ptr<QWidget> AnalysisWindowFactory::NotAvailable()
{
    dialogs_.ShowInformation("Окно рейтингов в этой версии программы ещё не подключено.");
    return nullptr;
}
