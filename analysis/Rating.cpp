#include "analysis/Rating.h"

#include "analysis/Damage.h"
#include "analysis/RatingFast.h"
#include "model/Data.h"

#include <limits>

float RatingAtShift(
    const CData& data, RatingKind kind, const RatingSelection& selection, float shift, float damageFactor)
{
    const int l = selection.Layer;
    const int t = selection.Threat;
    const int m = selection.Mechanism;
    // The matrices do not check indices; a selection outside them has no rating.
    if (l < 0 || t < 0 || m < 0 || l >= data.EF.Rows() || t >= data.EF.Cols() || t >= data.FM.Rows()
        || m >= data.FM.Cols())
        return std::numeric_limits<float>::quiet_NaN();

    // Copies, so that the store is never seen shifted or scaled.
    Matrix damage = data.DamageEM;
    damage.Scale(damageFactor);
    Matrix ef = data.EF;
    Matrix fm = data.FM;
    ef(l, t) = ShiftedFrequency(ef(l, t), shift);
    fm(t, m) = ShiftedFrequency(fm(t, m), shift);

    Matrix weighted = Matrix::ElementwiseProduct(Matrix::Product(ef, fm), damage);
    // A multiplication by the rounded reciprocal, not a division of each element.
    weighted.Scale(1.0f / data.WeightedDamageMax);

    const Matrix r = kind == RatingKind::Rm ? Matrix::Product(data.ReliabilityME, weighted)
                                            : Matrix::Product(weighted, data.ReliabilityME);
    return RatingIndicator(r);
}

namespace {

// 201 evenly spaced shifts from start to end, both included, each computed in double
// and rounded once.
template <typename ValueAt> RatingExtent RangeOf(ValueAt valueAt, float start, float end)
{
    // Start values only: a result outside them replaces them.
    RatingExtent extent { -100000.0f, 100000.0f };
    for (int i = 0; i <= 200; ++i) {
        const double exact
            = static_cast<double>(start) + (static_cast<double>(end) - static_cast<double>(start)) * i / 200.0;
        const float v = valueAt(static_cast<float>(exact));
        // Written so that a value that is not a number becomes the largest and never
        // the smallest.
        if (!(extent.Largest >= v))
            extent.Largest = v;
        if (extent.Smallest > v)
            extent.Smallest = v;
    }
    return extent;
}

bool InsideMatrices(const CData& data, const RatingSelection& s)
{
    return s.Layer >= 0 && s.Threat >= 0 && s.Mechanism >= 0 && s.Layer < data.EF.Rows() && s.Threat < data.EF.Cols()
        && s.Threat < data.FM.Rows() && s.Mechanism < data.FM.Cols() && data.DamageEM.Rows() == data.EF.Rows()
        && data.DamageEM.Cols() == data.FM.Cols() && data.ReliabilityME.Rows() == data.FM.Cols()
        && data.ReliabilityME.Cols() == data.EF.Rows();
}

} // namespace

RatingExtent RatingRange(
    const CData& data, RatingKind kind, const RatingSelection& selection, float damageFactor, float start, float end)
{
    return RangeOf([&](float shift) { return RatingAtShift(data, kind, selection, shift, damageFactor); }, start, end);
}

RatingEvaluator::RatingEvaluator(const CData& data, const RatingSelection& selection)
    : data_(data)
    , selection_(selection)
    , fast_(InsideMatrices(data, selection) ? std::make_unique<const FastRating>(data, selection) : nullptr)
{
}

RatingEvaluator::~RatingEvaluator() = default;

float RatingEvaluator::At(RatingKind kind, float shift, float damageFactor) const
{
    // Shapes that do not fit are left to the reference, which knows what they give.
    if (!fast_)
        return RatingAtShift(data_, kind, selection_, shift, damageFactor);
    const FastRating::Pair p = fast_->At(shift, damageFactor);
    return kind == RatingKind::Rm ? p.Rm : p.Re;
}

RatingExtent RatingEvaluator::Range(RatingKind kind, float damageFactor, float start, float end) const
{
    return RangeOf([&](float shift) { return At(kind, shift, damageFactor); }, start, end);
}

CurveSamples RatingEvaluator::Samples(RatingKind kind, float damageFactor) const
{
    const float step = (10.0f - (-10.0f)) / 100.0f;
    CurveSamples samples {};
    for (int i = 0; i < kCurveSamples; ++i) {
        const float shift = static_cast<float>(i) * step + (-10.0f);
        samples[static_cast<std::size_t>(i)] = { shift, At(kind, shift, damageFactor) };
    }
    return samples;
}
