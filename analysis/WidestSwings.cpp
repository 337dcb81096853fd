// One pass over the triples with a heap of the best so far, whose front is the last of
// them: almost every triple is turned away by one comparison with that front.
#include "analysis/WidestSwings.h"

#include <algorithm>

namespace {

// About a millisecond of the closed form's work, and some tens of milliseconds of the
// general evaluation's, between two reports of progress.
constexpr std::size_t kPieceTriples = 16384;

} // namespace

std::optional<std::vector<TripleSensitivity>> WidestSwings(
    const SensitivityModel& model, std::size_t count, RatingKind kind, const SwingProgress& progress)
{
    const std::size_t total = model.TripleCount();
    std::vector<TripleSensitivity> best;
    if (total == 0 || count == 0)
        return best;
    const auto before
        = [kind](const TripleSensitivity& a, const TripleSensitivity& b) { return RanksBefore(a, b, kind); };
    best.reserve(std::min(count, total));

    const std::size_t L = static_cast<std::size_t>(model.Layers()), T = static_cast<std::size_t>(model.Threats()),
                      M = static_cast<std::size_t>(model.Mechanisms());
    // Pieces of whole layer rows of one threat, as the model computes them cheapest.
    const std::size_t rows = std::clamp<std::size_t>(kPieceTriples / M, 1, L);
    std::vector<TripleSensitivity> piece(rows * M);
    std::size_t done = 0;
    for (std::size_t t = 0; t < T; ++t)
        for (std::size_t l = 0; l < L; l += rows) {
            const std::size_t first = (t * L + l) * M;
            const std::size_t computed = model.Compute(first, (t * L + std::min(L, l + rows)) * M, piece);
            for (std::size_t k = 0; k < computed; ++k) {
                if (best.size() < count) {
                    best.push_back(piece[k]);
                    std::push_heap(best.begin(), best.end(), before);
                } else if (before(piece[k], best.front())) {
                    std::pop_heap(best.begin(), best.end(), before);
                    best.back() = piece[k];
                    std::push_heap(best.begin(), best.end(), before);
                }
            }
            done += computed;
            if (progress && !progress(done, total))
                return std::nullopt;
        }
    std::sort_heap(best.begin(), best.end(), before);
    return best;
}
