#include "analysis/Modes.h"

#include <charconv>
#include <cmath>

// "Ошика" is how the program has always spelt it; analysts know the message by it.
const char* const kInputErrorMessage = "Ошика при вводе данных.";

namespace {

constexpr const char* kUnitRange = "Значение должно находиться в интервале [0..1].";
constexpr const char* kTenRange = "Значение должно находиться в интервале [0..10].";

constexpr ItemKind L = ItemKind::Layer;
constexpr ItemKind T = ItemKind::Threat;
constexpr ItemKind M = ItemKind::Mechanism;

const ModeDescription kModes[] = {
    { AnalysisMode::Reliability,
        { { { &CData::MT, M, T, "Матрица достоверности <МЗ-угрозы> MT:" },
            { &CData::TE, T, L, "Матрица достоверности <угрозы-эшелоны> TE:" } } },
        true, Combination::NormalisedProduct, &CData::ReliabilityME, M, L, 1.0f, kUnitRange,
        "Матрица достоверности активации МЗ <МЗ-эшелоны>", "Распределение Xi по эшелонам", "по МЗ" },
    { AnalysisMode::Damage,
        { { { &CData::ET, L, T, "Матрица потенциального ущерба <эшелоны-угрозы> ET:" },
            { &CData::TM, T, M, "Матрица потенциального ущерба <угрозы-МЗ> TM:" } } },
        true, Combination::Product, &CData::DamageEM, L, M, 10.0f, kTenRange,
        "Матрица потенциального ущерба <эшелоны-МЗ>", "Распределение Xi по МЗ", "по эшелонам" },
    { AnalysisMode::Frequency,
        { { { &CData::EF, L, T, "Матрица частоты активации угроз <эшелоны-угрозы> EF:" },
            { &CData::FM, T, M, "Матрица частоты активации угроз <угрозы-МЗ> FM:" } } },
        true, Combination::Product, &CData::FrequencyEM, L, M, 10.0f, kTenRange,
        "Матрица частоты активации угроз <эшелоны-МЗ>", "Распределение Xi по МЗ", "по эшелонам" },
    { AnalysisMode::WeightedDamage, { { { &CData::DamageEM, L, M, "" }, { &CData::FrequencyEM, L, M, "" } } }, false,
        Combination::ElementwiseProduct, &CData::WeightedDamageEM, L, M, 0.0f, "",
        "Матрица ОПУ <эшелоны-МЗ>(с учётом ЧАУ)", "Распределение Xi по МЗ", "по эшелонам" },
};

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

} // namespace

const ModeDescription& Describe(AnalysisMode mode)
{
    return kModes[ModeIndex(mode)];
}

std::array<Matrix, 2> SourceMatricesOf(const CData& data, AnalysisMode mode)
{
    const ModeDescription& about = Describe(mode);
    return { data.*about.Sources[0].Member, data.*about.Sources[1].Member };
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

SourceValueCheck CheckSourceValue(AnalysisMode mode, std::string_view text, float& value)
{
    if (text.empty())
        return SourceValueCheck::Empty;
    const std::optional<double> parsed = ParseTypedNumber(text);
    if (!parsed)
        return SourceValueCheck::NotANumber;
    const float rounded = static_cast<float>(*parsed);
    const ModeDescription& about = Describe(mode);
    if (about.EditableSources && !(rounded >= 0.0f && rounded <= about.SourceMaximum))
        return SourceValueCheck::OutOfRange;
    value = rounded;
    return SourceValueCheck::Accepted;
}

std::string SourceValueMessage(AnalysisMode mode, SourceValueCheck check)
{
    switch (check) {
    case SourceValueCheck::NotANumber:
        return kInputErrorMessage;
    case SourceValueCheck::OutOfRange:
        return Describe(mode).RangeMessage;
    case SourceValueCheck::Empty:
    case SourceValueCheck::Accepted:
        break;
    }
    return {};
}
