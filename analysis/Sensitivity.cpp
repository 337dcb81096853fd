#include "analysis/Sensitivity.h"

#include <algorithm>
#include <atomic>
#include <limits>
#include <numeric>
#include <span>
#include <stdexcept>
#include <thread>
#include <tuple>

bool RanksBefore(const TripleSensitivity& a, const TripleSensitivity& b, RatingKind kind)
{
    const RatingSwing& x = a.Of(kind);
    const RatingSwing& y = b.Of(kind);
    if (x.Finite() != y.Finite())
        return x.Finite();
    if (x.Finite() && x.Swing() != y.Swing())
        return x.Swing() > y.Swing();
    return std::tie(a.Triple.Layer, a.Triple.Threat, a.Triple.Mechanism)
        < std::tie(b.Triple.Layer, b.Triple.Threat, b.Triple.Mechanism);
}

void RankBySwing(std::vector<TripleSensitivity>& triples, RatingKind kind)
{
    std::sort(triples.begin(), triples.end(),
        [kind](const TripleSensitivity& a, const TripleSensitivity& b) { return RanksBefore(a, b, kind); });
}

RankingOrder OrderBy(const std::vector<TripleSensitivity>& rows, RatingKind kind)
{
    if (rows.size() > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("OrderBy: more rows than 32 bits can number");
    RankingOrder r;
    r.Order.resize(rows.size());
    std::iota(r.Order.begin(), r.Order.end(), std::uint32_t { 0 });
    // RanksBefore tells apart any two different triples; only rows of one triple can rank
    // alike, and the row number settles those.
    std::sort(r.Order.begin(), r.Order.end(), [&](std::uint32_t a, std::uint32_t b) {
        const TripleSensitivity& x = rows[a];
        const TripleSensitivity& y = rows[b];
        if (RanksBefore(x, y, kind))
            return true;
        const bool sameTriple = x.Triple.Layer == y.Triple.Layer && x.Triple.Threat == y.Triple.Threat
            && x.Triple.Mechanism == y.Triple.Mechanism;
        return sameTriple && a < b && !RanksBefore(y, x, kind);
    });
    r.Rank.resize(rows.size());
    for (std::size_t k = 0; k < r.Order.size(); ++k)
        r.Rank[r.Order[k]] = static_cast<std::uint32_t>(k + 1);
    return r;
}

SensitivityResult RankSensitivity(const CData& data, const SensitivityOptions& options)
{
    const SensitivityModel model(data);
    SensitivityResult result;
    result.Total = model.TripleCount();
    std::vector<TripleSensitivity> triples(result.Total);

    const unsigned cores = options.Threads != 0 ? options.Threads : std::max(1u, std::thread::hardware_concurrency());
    // Pieces of whole layer rows of one threat, at least eight per thread where the
    // threats allow: a threat's running sums are made once per piece.
    struct Piece {
        std::size_t First, Last;
    };
    std::vector<Piece> pieces;
    if (result.Total > 0) {
        const std::size_t L = static_cast<std::size_t>(model.Layers()), T = static_cast<std::size_t>(model.Threats()),
                          M = static_cast<std::size_t>(model.Mechanisms());
        const std::size_t perThreat = std::clamp<std::size_t>((8 * std::size_t { cores } + T - 1) / T, 1, L);
        const std::size_t rows = (L + perThreat - 1) / perThreat;
        for (std::size_t t = 0; t < T; ++t)
            for (std::size_t l = 0; l < L; l += rows)
                pieces.push_back({ (t * L + l) * M, (t * L + std::min(L, l + rows)) * M });
    }

    std::atomic<std::size_t> next { 0 }, done { 0 };
    auto work = [&](bool reports) {
        for (;;) {
            const std::size_t k = next.fetch_add(1);
            if (k >= pieces.size() || options.Stop.stop_requested())
                return;
            const Piece p = pieces[k];
            const std::size_t n
                = model.Compute(p.First, p.Last, std::span(triples).subspan(p.First, p.Last - p.First), options.Stop);
            done.fetch_add(n);
            if (n < p.Last - p.First)
                return;
            if (reports && options.Progress)
                options.Progress(done.load(), result.Total);
        }
    };
    {
        std::vector<std::jthread> helpers;
        const std::size_t threads = std::min<std::size_t>(cores, std::max<std::size_t>(1, pieces.size()));
        for (std::size_t i = 1; i < threads; ++i)
            helpers.emplace_back([&work] { work(false); });
        work(true);
    }
    result.Computed = done.load();
    if (result.Computed < result.Total) {
        result.Stopped = true;
        return result;
    }
    if (options.Progress)
        options.Progress(result.Total, result.Total);
    RankBySwing(triples, options.RankBy);
    result.Ranking = std::move(triples);
    return result;
}
