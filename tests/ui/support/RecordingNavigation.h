// A walk that only writes down what the windows asked of it: "about", "guide", "analysis", "next",
// "back", "finish" and "closed", with the window each move came from.
#pragma once

#include "ui/widgets/Navigation.h"

#include <algorithm>
#include <string>
#include <vector>

class RecordingNavigation : public IWizardNavigation {
public:
    std::vector<std::string> Calls;
    // The window of each "next", "back" and "finish", in order.
    std::vector<const QWidget*> From;
    // `listsChanged` of each "analysis".
    std::vector<bool> Analyses;

    void ShowAbout() override { Calls.push_back("about"); }
    void ShowGuide(const QWidget*) override { Calls.push_back("guide"); }
    void ShowAnalysis(bool listsChanged) override
    {
        Calls.push_back("analysis");
        Analyses.push_back(listsChanged);
    }
    void Next(QWidget* from) override { Move("next", from); }
    void Back(QWidget* from) override { Move("back", from); }
    void Finish(QWidget* from) override { Move("finish", from); }
    void WizardWindowClosed() override { Calls.push_back("closed"); }

    int Count(const std::string& call) const { return static_cast<int>(std::count(Calls.begin(), Calls.end(), call)); }

private:
    void Move(const char* call, const QWidget* from)
    {
        Calls.push_back(call);
        From.push_back(from);
    }
};
