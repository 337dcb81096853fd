#include "model/NumberText.h"

#include <charconv>
#include <cmath>
#include <system_error>

void AppendGeneral(std::string& out, double value)
{
    // Enough for the longest six-digit form, "-1.23457e-308".
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    out.append(buffer, result.ptr);
}

std::string FormatGeneral(double value)
{
    std::string text;
    AppendGeneral(text, value);
    return text;
}

namespace {

// A stream reader takes one plus sign before a number, and files edited by hand have
// them; from_chars does not. A plus before a minus stays, so that it fails.
std::string_view WithoutPlus(std::string_view text)
{
    if (text.size() > 1 && text[0] == '+' && text[1] != '-')
        text.remove_prefix(1);
    return text;
}

} // namespace

bool ParseInt(std::string_view text, int& value)
{
    text = WithoutPlus(text);
    int parsed = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, parsed);
    if (text.empty() || result.ec != std::errc() || result.ptr != end)
        return false;
    value = parsed;
    return true;
}

bool ParseFloat(std::string_view text, float& value)
{
    text = WithoutPlus(text);
    float parsed = 0.0f;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, parsed, std::chars_format::general);
    // The program never writes an infinity or a NaN, and the analysis cannot use one.
    if (text.empty() || result.ec != std::errc() || result.ptr != end || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}
