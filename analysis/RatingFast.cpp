#include "analysis/RatingFast.h"

#include "model/Data.h"

#include <bit>
#include <cmath>

namespace {

std::vector<float> Flat(const Matrix& a)
{
    const float* first = a.RowData(0);
    return std::vector<float>(first, first + static_cast<std::size_t>(a.Rows()) * static_cast<std::size_t>(a.Cols()));
}

std::vector<float> Transposed(const std::vector<float>& a, int rows, int cols)
{
    std::vector<float> t(a.size());
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j)
            t[static_cast<std::size_t>(j) * rows + i] = a[static_cast<std::size_t>(i) * cols + j];
    return t;
}

float DiagonalNorm(const std::vector<float>& d)
{
    float s = 0.0f;
    for (float v : d)
        s = v * v + s;
    return static_cast<float>(std::pow(static_cast<double>(s), 0.5));
}

} // namespace

FastRating::FastRating(const CData& data, const RatingSelection& selection)
    // The shapes, not the counts, say what the matrices hold.
    : layers_(data.EF.Rows())
    , threats_(data.EF.Cols())
    , mechanisms_(data.FM.Cols())
    , l_(selection.Layer)
    , t_(selection.Threat)
    , m_(selection.Mechanism)
    , reciprocal_(1.0f / data.WeightedDamageMax)
    , ef_(Flat(data.EF))
    , fm_(Flat(data.FM))
    , damage_(Flat(data.DamageEM))
    , rel_(Flat(data.ReliabilityME))
{
    // One repaint evaluates about 250 shifts at 3 or 4 damage factors.
    products_.reserve(512);
    cache_.reserve(2048);
    efT_ = Transposed(ef_, layers_, threats_);
    relT_ = Transposed(rel_, mechanisms_, layers_);

    // The unshifted product, each element summed over threats in ascending order.
    const std::size_t L = static_cast<std::size_t>(layers_), T = static_cast<std::size_t>(threats_),
                      M = static_cast<std::size_t>(mechanisms_);
    p0_.assign(L * M, 0.0f);
    for (std::size_t i = 0; i < L; ++i) {
        float* row = &p0_[i * M];
        for (std::size_t k = 0; k < T; ++k) {
            const float a = ef_[i * T + k];
            const float* b = &fm_[k * M];
            for (std::size_t j = 0; j < M; ++j)
                row[j] = a * b[j] + row[j];
        }
    }
}

const FastRating::Weighted& FastRating::WeightedFor(float damageFactor) const
{
    const auto key = std::bit_cast<std::uint32_t>(damageFactor);
    auto found = weighted_.find(key);
    if (found != weighted_.end())
        return found->second;

    Weighted w;
    w.D.resize(damage_.size());
    w.W.resize(damage_.size());
    for (std::size_t n = 0; n < damage_.size(); ++n) {
        w.D[n] = damageFactor * damage_[n];
        w.W[n] = reciprocal_ * (p0_[n] * w.D[n]);
    }
    w.WT = Transposed(w.W, layers_, mechanisms_);
    return weighted_.emplace(key, std::move(w)).first->second;
}

FastRating::Pair FastRating::At(float shift, float damageFactor) const
{
    const std::uint64_t key = (static_cast<std::uint64_t>(std::bit_cast<std::uint32_t>(shift)) << 32)
        | std::bit_cast<std::uint32_t>(damageFactor);
    auto found = cache_.find(key);
    if (found != cache_.end())
        return found->second;
    const Pair p = Evaluate(shift, damageFactor);
    cache_.emplace(key, p);
    return p;
}

const FastRating::ShiftedProduct& FastRating::ProductAt(float shift) const
{
    const auto key = std::bit_cast<std::uint32_t>(shift);
    auto found = products_.find(key);
    if (found != products_.end())
        return found->second;

    const std::size_t L = static_cast<std::size_t>(layers_), T = static_cast<std::size_t>(threats_),
                      M = static_cast<std::size_t>(mechanisms_);
    const std::size_t l = static_cast<std::size_t>(l_), t = static_cast<std::size_t>(t_),
                      m = static_cast<std::size_t>(m_);
    const float e = ShiftedFrequency(ef_[l * T + t], shift);
    const float g = ShiftedFrequency(fm_[t * M + m], shift);

    // The shifted operands: FM's row t and EF's column t (as a row of the transpose).
    std::vector<float>& fmRowT = scratch_.fmRowT;
    fmRowT.assign(
        fm_.begin() + static_cast<std::ptrdiff_t>(t * M), fm_.begin() + static_cast<std::ptrdiff_t>((t + 1) * M));
    fmRowT[m] = g;
    std::vector<float>& efColT = scratch_.efColT;
    efColT.assign(
        efT_.begin() + static_cast<std::ptrdiff_t>(t * L), efT_.begin() + static_cast<std::ptrdiff_t>((t + 1) * L));
    efColT[l] = e;

    // Row l and column m of the shifted product; every element sums over threats in
    // ascending order, as the full product does. Both hold element (l, m), alike.
    ShiftedProduct p { std::vector<float>(M, 0.0f), std::vector<float>(L, 0.0f) };
    float* const row = p.Row.data();
    float* const col = p.Col.data();
    for (std::size_t k = 0; k < T; ++k) {
        const float a = k == t ? e : ef_[l * T + k];
        const float* b = k == t ? fmRowT.data() : &fm_[k * M];
        for (std::size_t j = 0; j < M; ++j)
            row[j] = a * b[j] + row[j];
        const float* c = k == t ? efColT.data() : &efT_[k * L];
        const float d = k == t ? g : fm_[k * M + m];
        for (std::size_t i = 0; i < L; ++i)
            col[i] = c[i] * d + col[i];
    }
    return products_.emplace(key, std::move(p)).first->second;
}

FastRating::Pair FastRating::Evaluate(float shift, float damageFactor) const
{
    const Weighted& w = WeightedFor(damageFactor);
    const ShiftedProduct& p = ProductAt(shift);
    const std::size_t L = static_cast<std::size_t>(layers_), M = static_cast<std::size_t>(mechanisms_);
    const std::size_t l = static_cast<std::size_t>(l_), m = static_cast<std::size_t>(m_);
    const float* const row = p.Row.data();
    const float* const col = p.Col.data();
    Scratch& x = scratch_;

    // The same row and column of the weighted matrix.
    x.wRow.resize(M);
    x.wCol.resize(L);
    float* const wRow = x.wRow.data();
    float* const wCol = x.wCol.data();
    for (std::size_t j = 0; j < M; ++j)
        wRow[j] = reciprocal_ * (row[j] * w.D[l * M + j]);
    for (std::size_t i = 0; i < L; ++i)
        wCol[i] = reciprocal_ * (col[i] * w.D[i * M + m]);

    // Rm: diagonal of reliability x weighted, summed over layers. Element m takes the
    // shifted column, so it runs in its own accumulator.
    x.rm.assign(M, 0.0f);
    float* const rm = x.rm.data();
    float rmM = 0.0f;
    for (std::size_t k = 0; k < L; ++k) {
        const float* r = &relT_[k * M];
        const float* wk = k == l ? wRow : &w.W[k * M];
        for (std::size_t i = 0; i < M; ++i)
            rm[i] = r[i] * wk[i] + rm[i];
        rmM = r[m] * wCol[k] + rmM;
    }
    rm[m] = rmM;

    // Re: diagonal of weighted x reliability, summed over mechanisms; element l takes
    // the shifted row.
    x.re.assign(L, 0.0f);
    float* const re = x.re.data();
    float reL = 0.0f;
    for (std::size_t k = 0; k < M; ++k) {
        const float* r = &rel_[k * L];
        const float* wk = k == m ? wCol : &w.WT[k * L];
        for (std::size_t i = 0; i < L; ++i)
            re[i] = wk[i] * r[i] + re[i];
        reL = wRow[k] * r[l] + reL;
    }
    re[l] = reL;

    return { DiagonalNorm(x.rm), DiagonalNorm(x.re) };
}
