#include "model/NameMatching.h"

#include "model/Data.h"

// Pairing every old namesake with every new one, later pairs overwriting earlier ones,
// ends with the same values when judgements are carried over; but with many namesakes
// the three nested loops over all those pairs would run for minutes.
NamePairs MatchByName(const std::vector<std::string>& oldNames, const std::vector<std::string>& oldIndices,
    const std::vector<std::string>& newNames, const std::vector<std::string>& newIndices)
{
    NamePairs pairs;
    for (std::size_t q = 0; q < newIndices.size(); ++q) {
        const std::string& newName = newNames[static_cast<std::size_t>(IndexValue(newIndices[q]))];
        for (std::size_t p = oldIndices.size(); p-- > 0;)
            if (oldNames[static_cast<std::size_t>(IndexValue(oldIndices[p]))] == newName) {
                pairs.emplace_back(static_cast<int>(p), static_cast<int>(q));
                break;
            }
    }
    return pairs;
}
