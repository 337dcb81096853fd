// Numbers as the analyst sees them: fixed decimals, "." always, half away from zero.
#pragma once

#include <string>

// FormatFixed(1.125f, 2) == "1.13"; used for the "0.00" and "0.0" patterns. A negative
// value that rounds to zero shows as zero without a sign; values that are not finite
// show as "NAN", "INF" and "-INF".
std::string FormatFixed(double value, int decimals);
