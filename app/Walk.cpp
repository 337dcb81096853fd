#include "app/Walk.h"

#include "ui/windows/Graph.h"
#include "ui/windows/MMEE.h"
#include "ui/windows/Rating.h"

namespace {

std::unique_ptr<QWidget> MakeGraphWindow(const WindowKit& kit, const WalkStep& step, const AnalysedCounts& counts)
{
    auto window = std::make_unique<TGraphForm>(kit.Document, kit.Dialogs, kit.Navigation, kit.Comments);
    window->SetUpForMode(*step.Mode, counts);
    return window;
}

// A window made from the document, the dialogs and the navigation alone.
template <typename Window>
std::unique_ptr<QWidget> MakeWindow(const WindowKit& kit, const WalkStep&, const AnalysedCounts&)
{
    return std::make_unique<Window>(kit.Document, kit.Dialogs, kit.Navigation);
}

const WalkStep kWalk[] = {
    { AnalysisMode::Reliability, MakeGraphWindow },
    { AnalysisMode::Damage, MakeGraphWindow },
    { AnalysisMode::Frequency, MakeGraphWindow },
    { AnalysisMode::WeightedDamage, MakeGraphWindow },
    { std::nullopt, MakeWindow<TMMEEForm> },
    { std::nullopt, MakeWindow<TRatingForm> },
};

} // namespace

std::span<const WalkStep> Walk()
{
    return kWalk;
}
