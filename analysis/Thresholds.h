// The two chart thresholds of a mode as the analyst types them: checked, parsed with
// "." whatever the locale, and stored only when both are acceptable.
#pragma once

#include "model/Kinds.h"

#include <string>
#include <string_view>

class CData;

enum class ThresholdCheck {
    Accepted,
    Missing, // a text is empty
    NotANumber, // a text is not a number, or one beyond the range of a float
    NotIncreasing, // small is not less than medium
};

// On Accepted the mode's small and medium thresholds hold the values; otherwise the
// store is untouched. The window maps a failure to its message and its focus.
ThresholdCheck ValidateThresholds(
    CData& data, AnalysisMode mode, std::string_view smallText, std::string_view mediumText);

// The analyst's message for a failure; empty for Accepted.
std::string ThresholdMessage(ThresholdCheck check);
