// The named kinds of an assessment: the three kinds of listed items and the four
// analysis modes. Plain enums with the modes numbered as the analyst knows them.
#pragma once

#include <array>
#include <cstddef>
#include <optional>

enum class ItemKind { Layer, Threat, Mechanism };

inline constexpr std::array<ItemKind, 3> kItemKinds = { ItemKind::Layer, ItemKind::Threat, ItemKind::Mechanism };

enum class AnalysisMode {
    Reliability = 1, // MT x TE: mechanisms x layers
    Damage = 2, // ET x TM: layers x mechanisms
    Frequency = 3, // EF x FM: layers x mechanisms
    WeightedDamage = 4, // damage times frequency, element by element
};

inline constexpr std::array<AnalysisMode, 4> kAnalysisModes
    = { AnalysisMode::Reliability, AnalysisMode::Damage, AnalysisMode::Frequency, AnalysisMode::WeightedDamage };

// 1 to 4, as windows and files count the modes.
constexpr int ModeNumber(AnalysisMode mode)
{
    return static_cast<int>(mode);
}
// 0 to 3, for arrays with one entry per mode.
constexpr std::size_t ModeIndex(AnalysisMode mode)
{
    return static_cast<std::size_t>(ModeNumber(mode) - 1);
}

constexpr std::optional<AnalysisMode> ModeFromNumber(int number)
{
    if (number < 1 || number > 4)
        return std::nullopt;
    return static_cast<AnalysisMode>(number);
}
