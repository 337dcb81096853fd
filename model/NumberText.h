// Number text of the files and of what the analyst types: locale-free, so a file reads
// the same on every machine.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Appends the value the way "%g" writes it: six significant digits, fixed notation
// unless the exponent is below -4 or at least 6, trailing zeros dropped.
void AppendGeneral(std::string& out, double value);
std::string FormatGeneral(double value);

// The whole text must be a plain decimal integer that fits an int, with at most one
// sign in front ("+7", "-3"; not "+-3", "++7" or a lone sign); no blanks.
bool ParseInt(std::string_view text, int& value);

// The whole text must be a decimal number, signed as above, whose nearest float is
// finite.
bool ParseFloat(std::string_view text, float& value);

// A number as the analyst types it anywhere: blanks around it ignored, an optional sign,
// digits with at most one "." (a lone "." is 0), an optional exponent. Whatever the
// locale. Nothing for any other text, or for a value beyond the range of a double.
std::optional<double> ParseTypedNumber(std::string_view text);
