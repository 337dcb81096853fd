#include "analysis/Thresholds.h"
#include "model/NumberText.h"

#include "analysis/InputMessages.h"
#include "analysis/Modes.h"
#include "model/Data.h"
#include "model/Texts.h"

#include <cmath>

ThresholdCheck ValidateThresholds(
    CData& data, AnalysisMode mode, std::string_view smallText, std::string_view mediumText)
{
    if (smallText.empty() || mediumText.empty())
        return ThresholdCheck::Missing;
    const std::optional<double> small = ParseTypedNumber(smallText);
    const std::optional<double> medium = ParseTypedNumber(mediumText);
    // A value past the largest float would be stored as an infinity, which no data
    // file can hold: every later save would fail.
    auto fitsFloat = [](const std::optional<double>& v) { return v && std::isfinite(static_cast<float>(*v)); };
    if (!fitsFloat(small) || !fitsFloat(medium))
        return ThresholdCheck::NotANumber;
    // Compared as typed, before either is rounded to a float: two texts that differ only
    // beyond float precision pass here and are then stored as the same value.
    if (!(*small < *medium))
        return ThresholdCheck::NotIncreasing;
    data.ThresholdsOf(mode) = { static_cast<float>(*small), static_cast<float>(*medium) };
    return ThresholdCheck::Accepted;
}

std::string ThresholdMessage(ThresholdCheck check)
{
    switch (check) {
    case ThresholdCheck::Accepted:
        return {};
    case ThresholdCheck::Missing:
        return Translate("Thresholds", "Введите пороговые значения !");
    case ThresholdCheck::NotANumber:
        return InputErrorMessage();
    case ThresholdCheck::NotIncreasing:
        // "должно меньше" is how the program has always put it.
        return Translate("Thresholds",
            "Пороговое значение для малой величины должно меньше чем пороговое значение для средней величины!");
    }
    return {};
}
