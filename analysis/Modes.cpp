#include "analysis/Modes.h"

#include "analysis/InputMessages.h"
#include "model/NumberText.h"
#include "model/SourceMatrices.h"
#include "model/Texts.h"

namespace {

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
        { { Source(SourceId::MT, VARDUN_TEXT("Modes", "Матрица достоверности <МЗ-угрозы> MT:")),
            Source(SourceId::TE, VARDUN_TEXT("Modes", "Матрица достоверности <угрозы-эшелоны> TE:")) } },
        true, Combination::NormalisedProduct, &CData::ReliabilityME, M, L, SourceMatrix(SourceId::MT).Maximum,
        VARDUN_TEXT("Modes", "Матрица достоверности активации МЗ <МЗ-эшелоны>"),
        VARDUN_TEXT("Modes", "Распределение Xi по эшелонам"), VARDUN_TEXT("Modes", "по МЗ") },
    { AnalysisMode::Damage,
        { { Source(SourceId::ET, VARDUN_TEXT("Modes", "Матрица потенциального ущерба <эшелоны-угрозы> ET:")),
            Source(SourceId::TM, VARDUN_TEXT("Modes", "Матрица потенциального ущерба <угрозы-МЗ> TM:")) } },
        true, Combination::Product, &CData::DamageEM, L, M, SourceMatrix(SourceId::ET).Maximum,
        VARDUN_TEXT("Modes", "Матрица потенциального ущерба <эшелоны-МЗ>"),
        VARDUN_TEXT("Modes", "Распределение Xi по МЗ"), VARDUN_TEXT("Modes", "по эшелонам") },
    { AnalysisMode::Frequency,
        { { Source(SourceId::EF, VARDUN_TEXT("Modes", "Матрица частоты активации угроз <эшелоны-угрозы> EF:")),
            Source(SourceId::FM, VARDUN_TEXT("Modes", "Матрица частоты активации угроз <угрозы-МЗ> FM:")) } },
        true, Combination::Product, &CData::FrequencyEM, L, M, SourceMatrix(SourceId::EF).Maximum,
        VARDUN_TEXT("Modes", "Матрица частоты активации угроз <эшелоны-МЗ>"),
        VARDUN_TEXT("Modes", "Распределение Xi по МЗ"), VARDUN_TEXT("Modes", "по эшелонам") },
    // Its sources are the results of modes 2 and 3: nothing to type, so no captions.
    { AnalysisMode::WeightedDamage, { { { &CData::DamageEM, L, M, "" }, { &CData::FrequencyEM, L, M, "" } } }, false,
        Combination::ElementwiseProduct, &CData::WeightedDamageEM, L, M, 0.0f,
        VARDUN_TEXT("Modes", "Матрица ОПУ <эшелоны-МЗ>(с учётом ЧАУ)"), VARDUN_TEXT("Modes", "Распределение Xi по МЗ"),
        VARDUN_TEXT("Modes", "по эшелонам") },
};

} // namespace

float LargestResult(AnalysisMode mode, const AnalysedCounts& counts)
{
    const ModeDescription& about = Describe(mode);
    switch (about.Operation) {
    case Combination::NormalisedProduct:
        return 1.0f;
    case Combination::Product:
        // A sum over the items both sources share, of products of two judgements.
        return static_cast<float>(counts.Of(about.Sources[0].Cols)) * about.SourceMaximum * about.SourceMaximum;
    case Combination::ElementwiseProduct: {
        // Its sources are other modes' results.
        float largest = 1.0f;
        for (const SourceDescription& source : about.Sources)
            for (AnalysisMode other : kAnalysisModes)
                if (Describe(other).Result == source.Member)
                    largest *= LargestResult(other, counts);
        return largest;
    }
    }
    return 0.0f;
}

std::string ModeText(const char* source)
{
    return *source ? Translate("Modes", source) : std::string();
}

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
        return InputErrorMessage();
    case SourceValueCheck::OutOfRange:
        return RangeMessage("0", FormatGeneral(Describe(mode).SourceMaximum));
    case SourceValueCheck::Empty:
    case SourceValueCheck::Accepted:
        break;
    }
    return {};
}
