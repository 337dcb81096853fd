// How the window sequence gets its analysis windows. The program's factory makes the real
// ones; the sequence only shows, hides and discards them.
#pragma once

#include <memory>

class QWidget;

class IWizardFactory {
public:
    virtual ~IWizardFactory() = default;

    // A source-matrix window of `mode` (1 to 4), already set up for the given counts of
    // analysed mechanisms, threats and layers. Null when no window could be made.
    virtual std::unique_ptr<QWidget> CreateGraphWindow(int mode, int mechanismCount, int threatCount, int layerCount)
        = 0;
    virtual std::unique_ptr<QWidget> CreateMMEEWindow() = 0;
    virtual std::unique_ptr<QWidget> CreateRatingWindow() = 0;
};
