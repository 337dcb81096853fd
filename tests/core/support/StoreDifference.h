// Compares two stores member by member, bit for bit, for tests and fuzzers that must
// show a store was left exactly as it was (or came back exactly as it was saved).
#pragma once

#include "model/Data.h"

#include <array>
#include <bit>
#include <cstdint>
#include <string>
#include <utility>

namespace store_difference_detail {

inline bool SameBits(float a, float b)
{
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

inline bool SameMatrix(const Matrix& a, const Matrix& b)
{
    if (a.Rows() != b.Rows() || a.Cols() != b.Cols() || a.HasStorage() != b.HasStorage())
        return false;
    for (int i = 0; i < a.Rows(); ++i)
        for (int j = 0; j < a.Cols(); ++j)
            if (!SameBits(a(i, j), b(i, j)))
                return false;
    return true;
}

} // namespace store_difference_detail

// The name of the first member that differs; empty when the stores are identical.
inline std::string StoreDifference(const CData& a, const CData& b)
{
    using namespace store_difference_detail;
    const std::pair<const char*, const Matrix CData::*> matrices[]
        = { { "MT", &CData::MT }, { "TE", &CData::TE }, { "ET", &CData::ET }, { "TM", &CData::TM },
              { "EF", &CData::EF }, { "FM", &CData::FM }, { "ReliabilityME", &CData::ReliabilityME },
              { "DamageEM", &CData::DamageEM }, { "FrequencyEM", &CData::FrequencyEM },
              { "WeightedDamageEM", &CData::WeightedDamageEM }, { "MM", &CData::MM }, { "EE", &CData::EE } };
    for (const auto& [name, member] : matrices)
        if (!SameMatrix(a.*member, b.*member))
            return name;
    if (a.MechanismCount != b.MechanismCount)
        return "MechanismCount";
    if (a.LayerCount != b.LayerCount)
        return "LayerCount";
    if (a.ThreatCount != b.ThreatCount)
        return "ThreatCount";
    for (std::size_t i = 0; i < a.Thresholds.size(); ++i)
        if (!SameBits(a.Thresholds[i].Small, b.Thresholds[i].Small)
            || !SameBits(a.Thresholds[i].Medium, b.Thresholds[i].Medium))
            return "Thresholds[" + std::to_string(i) + "]";
    if (!SameBits(a.HighLevel, b.HighLevel))
        return "HighLevel";
    if (!SameBits(a.LowLevel, b.LowLevel))
        return "LowLevel";
    if (!SameBits(a.WeightedDamageMax, b.WeightedDamageMax))
        return "WeightedDamageMax";
    const std::pair<const char*, const std::vector<std::string> CData::*> lists[]
        = { { "LayerIndices", &CData::LayerIndices }, { "ThreatIndices", &CData::ThreatIndices },
              { "MechanismIndices", &CData::MechanismIndices }, { "LayerNames", &CData::LayerNames },
              { "ThreatNames", &CData::ThreatNames }, { "MechanismNames", &CData::MechanismNames } };
    for (const auto& [name, member] : lists)
        if (a.*member != b.*member)
            return name;
    return {};
}
