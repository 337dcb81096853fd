// How strongly each threat's activation frequency moves the ratings: every analysed
// layer, threat and mechanism ranked by how far Rm or Re swings over the rating window's
// shifts. The values of one triple come from SensitivityModel; here they are ranked, the
// work spread over threads.
#pragma once

#include "analysis/RatingBasics.h"
#include "analysis/SensitivityModel.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <stop_token>
#include <vector>

class CData;

// Largest swing of the kind first; a triple with any value of that kind that is not finite
// after every finite one; equal swings by layer, then threat, then mechanism.
bool RanksBefore(const TripleSensitivity& a, const TripleSensitivity& b, RatingKind kind);
void RankBySwing(std::vector<TripleSensitivity>& triples, RatingKind kind);

// The rows in the order of RanksBefore by one kind, leaving the rows where they are:
// Order[k] is the row at place k, Rank[row] that row's place counted from 1. Rows that
// rank alike (the same triple twice) keep their order. Throws std::length_error for more
// rows than 32 bits can number.
struct RankingOrder {
    std::vector<std::uint32_t> Order;
    std::vector<std::uint32_t> Rank;
};
RankingOrder OrderBy(const std::vector<TripleSensitivity>& rows, RatingKind kind);

struct SensitivityOptions {
    RatingKind RankBy = RatingKind::Rm;
    unsigned Threads = 0; // 0: one per core
    std::stop_token Stop;
    // Called on the calling thread between pieces of work (and once at the end of a run
    // that was not stopped) with the triples finished and the triples in all.
    std::function<void(std::size_t done, std::size_t total)> Progress;
};

struct SensitivityResult {
    std::vector<TripleSensitivity> Ranking; // every triple, ranked; empty when stopped
    std::size_t Computed = 0; // triples finished
    std::size_t Total = 0;
    bool Stopped = false;
};

// The whole ranking, the work spread over threads.
SensitivityResult RankSensitivity(const CData& data, const SensitivityOptions& options = {});
