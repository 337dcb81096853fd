#include "app/AnalysisWindowFactory.h"

#include "ui/Graph.h"
#include "ui/MMEE.h"
#include "ui/Rating.h"

#include <QWidget>

std::unique_ptr<QWidget> AnalysisWindowFactory::CreateGraphWindow(AnalysisMode mode, const AnalysedCounts& counts)
{
    auto window = std::make_unique<TGraphForm>(document_, dialogs_, navigation_, *commentForm_);
    window->SetUpForMode(mode, counts);
    return window;
}

std::unique_ptr<QWidget> AnalysisWindowFactory::CreateMMEEWindow()
{
    return std::make_unique<TMMEEForm>(document_, dialogs_, navigation_);
}

std::unique_ptr<QWidget> AnalysisWindowFactory::CreateRatingWindow()
{
    return std::make_unique<TRatingForm>(document_, dialogs_, navigation_);
}
