#include "analysis/Modes.h"

#include "model/NumberText.h"
#include "model/SourceMatrices.h"

// "Ошика" is how the program has always spelt it; analysts know the message by it.
const char* const kInputErrorMessage = "Ошика при вводе данных.";

namespace {

constexpr const char* kUnitRange = "Значение должно находиться в интервале [0..1].";
constexpr const char* kTenRange = "Значение должно находиться в интервале [0..10].";

constexpr ItemKind L = ItemKind::Layer;
constexpr ItemKind M = ItemKind::Mechanism;

// A source matrix as its mode's window offers it.
constexpr SourceDescription Source(SourceId id, const char* caption)
{
    const SourceMatrixInfo& source = SourceMatrix(id);
    return { source.Member, source.Rows, source.Cols, caption };
}

const ModeDescription kModes[] = {
    { AnalysisMode::Reliability,
        { { Source(SourceId::MT, "Матрица достоверности <МЗ-угрозы> MT:"),
            Source(SourceId::TE, "Матрица достоверности <угрозы-эшелоны> TE:") } },
        true, Combination::NormalisedProduct, &CData::ReliabilityME, M, L, SourceMatrix(SourceId::MT).Maximum,
        kUnitRange, "Матрица достоверности активации МЗ <МЗ-эшелоны>", "Распределение Xi по эшелонам", "по МЗ" },
    { AnalysisMode::Damage,
        { { Source(SourceId::ET, "Матрица потенциального ущерба <эшелоны-угрозы> ET:"),
            Source(SourceId::TM, "Матрица потенциального ущерба <угрозы-МЗ> TM:") } },
        true, Combination::Product, &CData::DamageEM, L, M, SourceMatrix(SourceId::ET).Maximum, kTenRange,
        "Матрица потенциального ущерба <эшелоны-МЗ>", "Распределение Xi по МЗ", "по эшелонам" },
    { AnalysisMode::Frequency,
        { { Source(SourceId::EF, "Матрица частоты активации угроз <эшелоны-угрозы> EF:"),
            Source(SourceId::FM, "Матрица частоты активации угроз <угрозы-МЗ> FM:") } },
        true, Combination::Product, &CData::FrequencyEM, L, M, SourceMatrix(SourceId::EF).Maximum, kTenRange,
        "Матрица частоты активации угроз <эшелоны-МЗ>", "Распределение Xi по МЗ", "по эшелонам" },
    { AnalysisMode::WeightedDamage, { { { &CData::DamageEM, L, M, "" }, { &CData::FrequencyEM, L, M, "" } } }, false,
        Combination::ElementwiseProduct, &CData::WeightedDamageEM, L, M, 0.0f, "",
        "Матрица ОПУ <эшелоны-МЗ>(с учётом ЧАУ)", "Распределение Xi по МЗ", "по эшелонам" },
};

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
