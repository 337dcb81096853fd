// The wizard's walk after the main window: its steps in order, each knowing how to make
// its window, the way the mode table lists the modes. A window joins the walk with its
// own unit and one line in the step list (Walk.cpp).
#pragma once

#include "model/Data.h"
#include "model/Kinds.h"

#include <memory>
#include <optional>
#include <span>

class AssessmentDocument;
class IDialogs;
class IWizardNavigation;
class QWidget;
class TCommentForm;

// What the windows of the walk are made with.
struct WindowKit {
    AssessmentDocument& Document;
    IDialogs& Dialogs;
    IWizardNavigation& Navigation;
    // The chart key that all source-matrix windows share; it exists from start-up.
    TCommentForm& Comments;
};

struct WalkStep {
    // The mode of a source-matrix window; none for the other windows.
    std::optional<AnalysisMode> Mode;
    // A window set up for the given numbers of analysed items; null when none could be made.
    std::unique_ptr<QWidget> (*Make)(const WindowKit& kit, const WalkStep& step, const AnalysedCounts& counts);
};

std::span<const WalkStep> Walk();
