#include "analysis/Format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

namespace {

// Adds one unit in the last place of a decimal digit string, carrying to the left.
// Returns true when the carry runs out of the leftmost digit.
bool IncrementDigits(std::string& digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return false;
        }
        *it = '0';
    }
    return true;
}

} // namespace

std::string FormatFixed(double value, int decimals)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (decimals < 0)
        decimals = 0;

    // Enough fractional digits that to_chars does not round: a double is an integer
    // times 2^(exp - 53), whose decimal expansion ends after 53 - exp digits.
    int exp = 0;
    std::frexp(value, &exp);
    const int precision = std::max(decimals + 1, 53 - exp);
    std::vector<char> buffer(static_cast<std::size_t>(precision) + 330);
    const auto [end, ec] = std::to_chars(
        buffer.data(), buffer.data() + buffer.size(), std::fabs(value), std::chars_format::fixed, precision);
    (void)ec; // the buffer is large enough for every finite double

    // Integer digits, then exactly `decimals` fractional digits; the next digit decides,
    // since the exact remainder is at least one half precisely when it is 5 or more.
    const std::string text(buffer.data(), end);
    const std::size_t point = text.find('.');
    std::string digits = text.substr(0, point) + text.substr(point + 1, static_cast<std::size_t>(decimals));
    if (text[point + 1 + static_cast<std::size_t>(decimals)] >= '5' && IncrementDigits(digits))
        digits.insert(digits.begin(), '1');

    const std::size_t intLength = digits.size() - static_cast<std::size_t>(decimals);
    std::string result = digits.substr(0, intLength);
    if (decimals > 0)
        result += '.' + digits.substr(intLength);
    // A negative value that shows as zero is shown without its sign.
    if (std::signbit(value) && digits.find_first_not_of('0') != std::string::npos)
        result.insert(result.begin(), '-');
    return result;
}
