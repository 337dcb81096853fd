// How the window sequence gets its analysis windows. The program's factory makes the real
// ones; the sequence only shows, hides and discards them.
#pragma once

#include "model/Data.h"
#include "model/Kinds.h"

#include <memory>

class QWidget;

class IWizardFactory {
public:
    virtual ~IWizardFactory() = default;

    // A source-matrix window of `mode`, already set up for the given numbers of analysed
    // items. Null when no window could be made.
    virtual std::unique_ptr<QWidget> CreateGraphWindow(AnalysisMode mode, const AnalysedCounts& counts) = 0;
    virtual std::unique_ptr<QWidget> CreateMMEEWindow() = 0;
    virtual std::unique_ptr<QWidget> CreateRatingWindow() = 0;
};
