// The head of the sensitivity ranking without ranking every triple: the printed report
// shows fifteen of a million, and a full sort of them alone takes a quarter of a second.
#pragma once

#include "analysis/Sensitivity.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

// Told between pieces of the work with the triples finished and the triples in all; false
// stops the work.
using SwingProgress = std::function<bool(std::size_t done, std::size_t total)>;

// The first `count` triples of RankBySwing over every triple by `kind`: the same triples,
// values and order, in one pass on the calling thread that keeps only `count` of them.
// `progress` is told after each piece of whole layer rows of one threat (at most about
// sixteen thousand triples, unless one row is longer); nothing when it stopped the work.
std::optional<std::vector<TripleSensitivity>> WidestSwings(
    const SensitivityModel& model, std::size_t count, RatingKind kind, const SwingProgress& progress = {});
