// How the window sequence gets the windows of its steps. The program's factory makes them
// from the walk; the sequence only shows, hides and discards them.
#pragma once

#include "app/Walk.h"

#include <cstddef>
#include <memory>

class IWizardFactory {
public:
    virtual ~IWizardFactory() = default;

    virtual std::size_t StepCount() const = 0;
    // The window of step `step`, set up for the given numbers of analysed items. Null when
    // no window could be made.
    virtual std::unique_ptr<QWidget> Create(std::size_t step, const AnalysedCounts& counts) = 0;
};

// The program's windows, made from the walk's steps when the walk first reaches them.
class WalkFactory : public IWizardFactory {
public:
    explicit WalkFactory(const WindowKit& kit)
        : kit_(kit)
    {
    }

    std::size_t StepCount() const override { return Walk().size(); }
    std::unique_ptr<QWidget> Create(std::size_t step, const AnalysedCounts& counts) override
    {
        const WalkStep& made = Walk()[step];
        return made.Make(kit_, made, counts);
    }

private:
    WindowKit kit_;
};
