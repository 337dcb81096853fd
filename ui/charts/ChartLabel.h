// A label that a chart fills or moves. Charts draw on a surface and leave the label
// controls to their window: the drawing hands back where each label goes and what it
// says, and the window copies that onto the control (whose left edge never changes).
#pragma once

#include "ui/charts/Canvas.h"

#include <string>

struct ChartLabel {
    std::string Caption;
    int Top = 0;
    // False where the chart has no place for the label (say, a scale with no extent).
    bool Visible = true;

    friend bool operator==(const ChartLabel&, const ChartLabel&) = default;
};

// A label that stands at one place beside a chart whatever it shows (an axis letter, a
// number along an edge): where the window puts its control, and where a drawing of the
// chart without the window writes the text. The caption is UTF-8.
struct FixedLabel {
    const char* Name;
    const char* Caption;
    Point At;
};
