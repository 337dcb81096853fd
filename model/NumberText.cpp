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

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
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

std::optional<double> ParseTypedNumber(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);

    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // Checked by hand: from_chars alone would also take "inf", "nan" and hexadecimal.
    std::size_t i = 0;
    std::size_t digits = 0;
    while (i < text.size() && IsDigit(text[i]))
        ++i, ++digits;
    const bool point = i < text.size() && text[i] == '.';
    if (point) {
        ++i;
        while (i < text.size() && IsDigit(text[i]))
            ++i, ++digits;
    }
    if (digits == 0 && !point)
        return std::nullopt;
    const std::size_t mantissaEnd = i;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        const std::size_t exponentStart = i;
        while (i < text.size() && IsDigit(text[i]))
            ++i;
        if (i == exponentStart)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;
    // A mantissa without digits (".", ".e5") is zero whatever its exponent.
    if (digits == 0)
        return negative ? -0.0 : 0.0;

    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        // from_chars reports a result too small for a double as out of range: that is 0.
        if (error == std::errc::result_out_of_range && mantissaEnd < text.size()
            && text.find('-', mantissaEnd) != std::string_view::npos)
            return negative ? -0.0 : 0.0;
        return std::nullopt;
    }
    return negative ? -value : value;
}
