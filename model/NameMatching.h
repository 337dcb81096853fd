// Which analysed items of two selections are the same item: the pairing by name that
// carries judgements over after list edits, also used to set two assessments side by side.
#pragma once

#include <string>
#include <utility>
#include <vector>

// Pairs (old analysed position, new analysed position), in ascending new position.
using NamePairs = std::vector<std::pair<int, int>>;

// Each new analysed item paired with the last old analysed item of the same name (byte for
// byte, case-sensitive, untrimmed); a new item without an old namesake has no pair, and an
// old item may pair with several new ones. The index lists hold positions into their names
// lists as "%d" text, as the store keeps them.
NamePairs MatchByName(const std::vector<std::string>& oldNames, const std::vector<std::string>& oldIndices,
    const std::vector<std::string>& newNames, const std::vector<std::string>& newIndices);
