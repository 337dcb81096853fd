// The windows of the walk as the sequence holds them, found by what they are rather than by
// their place in the step list.
#pragma once

#include "app/WindowSequence.h"
#include "ui/windows/Graph.h"

#include <QWidget>

#include <vector>

template <typename Window> Window* FindWalkWindow(const WindowSequence& sequence)
{
    for (std::size_t step = 0; step < sequence.StepCount(); ++step)
        if (auto* window = qobject_cast<Window*>(sequence.Window(step)))
            return window;
    return nullptr;
}

inline TGraphForm* FindGraphWindow(const WindowSequence& sequence, AnalysisMode mode)
{
    for (std::size_t step = 0; step < sequence.StepCount(); ++step) {
        auto* window = qobject_cast<TGraphForm*>(sequence.Window(step));
        if (window && window->Mode() == mode)
            return window;
    }
    return nullptr;
}

// Every step's window, null where none exists yet.
inline std::vector<QWidget*> WalkWindows(const WindowSequence& sequence)
{
    std::vector<QWidget*> windows;
    for (std::size_t step = 0; step < sequence.StepCount(); ++step)
        windows.push_back(sequence.Window(step));
    return windows;
}
