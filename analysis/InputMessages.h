// The messages of a refused typed value: one text each, wherever a value is typed (source
// cells, thresholds, damage levels).
#pragma once

#include <string>
#include <string_view>

// A text that is no number.
std::string InputErrorMessage();
// A number outside [lower..upper], the bounds as the window writes them.
std::string RangeMessage(std::string_view lower, std::string_view upper);
