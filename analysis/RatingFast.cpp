#include "analysis/RatingFast.h"

#include <bit>
#include <utility>

FastRating::FastRating(const CData& data, const RatingSelection& selection)
    : rating_(RatingInputs::From(data))
    , selection_(selection)
{
    // One repaint evaluates about 250 shifts at 3 or 4 damage factors.
    products_.reserve(512);
    cache_.reserve(2048);
}

const ShiftedRating::Weighted& FastRating::WeightedFor(float damageFactor) const
{
    const auto key = std::bit_cast<std::uint32_t>(damageFactor);
    auto found = weighted_.find(key);
    if (found != weighted_.end())
        return found->second;
    return weighted_.emplace(key, rating_.WeightedAt(damageFactor)).first->second;
}

const ShiftedRating::Cross& FastRating::ProductAt(float shift) const
{
    const auto key = std::bit_cast<std::uint32_t>(shift);
    auto found = products_.find(key);
    if (found != products_.end())
        return found->second;
    ShiftedRating::Cross p;
    rating_.ProductAt(selection_, shift, p, scratch_);
    return products_.emplace(key, std::move(p)).first->second;
}

FastRating::Pair FastRating::At(float shift, float damageFactor) const
{
    const std::uint64_t key = (static_cast<std::uint64_t>(std::bit_cast<std::uint32_t>(shift)) << 32)
        | std::bit_cast<std::uint32_t>(damageFactor);
    auto found = cache_.find(key);
    if (found != cache_.end())
        return found->second;
    const ShiftedRating::Weighted& weighted = WeightedFor(damageFactor);
    const ShiftedRating::Cross& product = ProductAt(shift);
    const Pair p = rating_.Evaluate(selection_, product, weighted, scratch_);
    cache_.emplace(key, p);
    return p;
}
