#include "analysis/ShiftedRating.h"

#include "model/Data.h"

#include <cmath>
#include <cstddef>
#include <utility>

namespace {

std::vector<float> Flat(const Matrix& a)
{
    std::vector<float> v;
    v.reserve(static_cast<std::size_t>(a.Rows()) * static_cast<std::size_t>(a.Cols()));
    for (int i = 0; i < a.Rows(); ++i)
        v.insert(v.end(), a.RowData(i), a.RowData(i) + a.Cols());
    return v;
}

std::vector<float> Transposed(const std::vector<float>& a, int rows, int cols)
{
    std::vector<float> t(a.size());
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j)
            t[static_cast<std::size_t>(j) * static_cast<std::size_t>(rows) + static_cast<std::size_t>(i)]
                = a[static_cast<std::size_t>(i) * static_cast<std::size_t>(cols) + static_cast<std::size_t>(j)];
    return t;
}

// Vector::Norm's operations: squares summed in ascending order, the root taken in double.
float DiagonalNorm(const std::vector<float>& d)
{
    float s = 0.0f;
    for (float v : d)
        s = v * v + s;
    return static_cast<float>(std::pow(static_cast<double>(s), 0.5));
}

// Elements i0, i0 + 1, ... of SumsOfProducts in blocks of `Block`, each block's sums in
// registers; returns where the whole blocks end.
template <std::size_t Block, typename First, typename Second>
std::size_t BlockSums(std::size_t i0, std::size_t n, std::size_t terms, First first, Second second, float* out)
{
    for (; i0 + Block <= n; i0 += Block) {
        float sums[Block] = {};
        for (std::size_t k = 0; k < terms; ++k) {
            const float* a = first(k) + i0;
            const float* b = second(k) + i0;
            for (std::size_t i = 0; i < Block; ++i)
                sums[i] = a[i] * b[i] + sums[i];
        }
        for (std::size_t i = 0; i < Block; ++i)
            out[i0 + i] = sums[i];
    }
    return i0;
}

// out[i] = first(k)[i] * second(k)[i] + out[i] for k = 0 .. terms-1 in turn, from 0.0f,
// for every i < n: each element's operations and their order are those of a loop over k
// around a loop over i, so its bits are too. But the sums stay in registers instead of
// being loaded and stored again at every term, which took most of an evaluation's time:
// blocks of 16 floats (as many as the compiler keeps in registers here), then of 4, then
// single elements.
template <typename First, typename Second>
void SumsOfProducts(std::size_t n, std::size_t terms, First first, Second second, float* out)
{
    std::size_t i0 = BlockSums<16>(0, n, terms, first, second, out);
    i0 = BlockSums<4>(i0, n, terms, first, second, out);
    BlockSums<1>(i0, n, terms, first, second, out);
}

} // namespace

RatingInputs RatingInputs::From(const CData& data)
{
    RatingInputs in;
    // The shapes, not the counts, say what the matrices hold.
    in.Layers = data.EF.Rows();
    in.Threats = data.EF.Cols();
    in.Mechanisms = data.FM.Cols();
    in.Reciprocal = 1.0f / data.WeightedDamageMax;
    in.EF = Flat(data.EF);
    in.FM = Flat(data.FM);
    in.Damage = Flat(data.DamageEM);
    in.Reliability = Flat(data.ReliabilityME);
    return in;
}

ShiftedRating::ShiftedRating(RatingInputs inputs)
    : in_(std::move(inputs))
    , efT_(Transposed(in_.EF, in_.Layers, in_.Threats))
    , relT_(Transposed(in_.Reliability, in_.Mechanisms, in_.Layers))
{
    // The unshifted product, each element summed over threats in ascending order.
    const std::size_t L = static_cast<std::size_t>(in_.Layers), T = static_cast<std::size_t>(in_.Threats),
                      M = static_cast<std::size_t>(in_.Mechanisms);
    p0_.assign(L * M, 0.0f);
    for (std::size_t i = 0; i < L; ++i) {
        float* row = &p0_[i * M];
        for (std::size_t k = 0; k < T; ++k) {
            const float a = in_.EF[i * T + k];
            const float* b = &in_.FM[k * M];
            for (std::size_t j = 0; j < M; ++j)
                row[j] = a * b[j] + row[j];
        }
    }
}

ShiftedRating::Weighted ShiftedRating::WeightedAt(float damageFactor) const
{
    // Scaled as RatingAtShift scales its copy, factor first, even when the factor is 1.
    Weighted w;
    const std::size_t n = in_.Damage.size();
    w.Damage.resize(n);
    w.W.resize(n);
    for (std::size_t k = 0; k < n; ++k) {
        w.Damage[k] = damageFactor * in_.Damage[k];
        // A multiplication by the rounded reciprocal, not a division.
        w.W[k] = in_.Reciprocal * (p0_[k] * w.Damage[k]);
    }
    w.WT = Transposed(w.W, in_.Layers, in_.Mechanisms);
    return w;
}

void ShiftedRating::ProductAt(const RatingSelection& s, float shift, Cross& out, Scratch& x) const
{
    const std::size_t L = static_cast<std::size_t>(in_.Layers), T = static_cast<std::size_t>(in_.Threats),
                      M = static_cast<std::size_t>(in_.Mechanisms);
    const std::size_t l = static_cast<std::size_t>(s.Layer), t = static_cast<std::size_t>(s.Threat),
                      m = static_cast<std::size_t>(s.Mechanism);
    const std::vector<float>& ef = in_.EF;
    const std::vector<float>& fm = in_.FM;
    const float e = ShiftedFrequency(ef[l * T + t], shift);
    const float g = ShiftedFrequency(fm[t * M + m], shift);

    // The shifted operands: FM's row t and EF's column t (as a row of the transpose).
    x.FmRow.assign(
        fm.begin() + static_cast<std::ptrdiff_t>(t * M), fm.begin() + static_cast<std::ptrdiff_t>((t + 1) * M));
    x.FmRow[m] = g;
    x.EfCol.assign(
        efT_.begin() + static_cast<std::ptrdiff_t>(t * L), efT_.begin() + static_cast<std::ptrdiff_t>((t + 1) * L));
    x.EfCol[l] = e;

    // Every element sums over threats in ascending order, as the full product does. Row
    // and column both hold element (l, m), alike.
    out.Row.assign(M, 0.0f);
    out.Col.assign(L, 0.0f);
    float* const row = out.Row.data();
    float* const col = out.Col.data();
    for (std::size_t k = 0; k < T; ++k) {
        const float a = k == t ? e : ef[l * T + k];
        const float* b = k == t ? x.FmRow.data() : &fm[k * M];
        for (std::size_t j = 0; j < M; ++j)
            row[j] = a * b[j] + row[j];
        const float* c = k == t ? x.EfCol.data() : &efT_[k * L];
        const float d = k == t ? g : fm[k * M + m];
        for (std::size_t i = 0; i < L; ++i)
            col[i] = c[i] * d + col[i];
    }
}

RatingPair ShiftedRating::Evaluate(
    const RatingSelection& s, const Cross& product, const Weighted& weighted, Scratch& x) const
{
    const std::size_t L = static_cast<std::size_t>(in_.Layers), M = static_cast<std::size_t>(in_.Mechanisms);
    const std::size_t l = static_cast<std::size_t>(s.Layer), m = static_cast<std::size_t>(s.Mechanism);
    const float rcp = in_.Reciprocal;
    const float* const row = product.Row.data();
    const float* const col = product.Col.data();
    const float* const damage = weighted.Damage.data();

    // The same row and column of the weighted matrix.
    x.WRow.resize(M);
    x.WCol.resize(L);
    float* const wRow = x.WRow.data();
    float* const wCol = x.WCol.data();
    for (std::size_t j = 0; j < M; ++j)
        wRow[j] = rcp * (row[j] * damage[l * M + j]);
    for (std::size_t i = 0; i < L; ++i)
        wCol[i] = rcp * (col[i] * damage[i * M + m]);

    // Rm: the diagonal of reliability x weighted, summed over layers. Element m takes the
    // shifted column, so it is summed on its own and replaces the one of the blocks.
    x.Rm.resize(M);
    float* const rm = x.Rm.data();
    const float* const relT = relT_.data();
    const float* const w = weighted.W.data();
    SumsOfProducts(
        M, L, [&](std::size_t k) { return relT + k * M; }, [&](std::size_t k) { return k == l ? wRow : w + k * M; },
        rm);
    float rmM = 0.0f;
    for (std::size_t k = 0; k < L; ++k)
        rmM = relT[k * M + m] * wCol[k] + rmM;
    rm[m] = rmM;

    // Re: the diagonal of weighted x reliability, summed over mechanisms; element l takes
    // the shifted row, alike.
    x.Re.resize(L);
    float* const re = x.Re.data();
    const float* const rel = in_.Reliability.data();
    const float* const wT = weighted.WT.data();
    SumsOfProducts(
        L, M, [&](std::size_t k) { return k == m ? wCol : wT + k * L; }, [&](std::size_t k) { return rel + k * L; },
        re);
    float reL = 0.0f;
    for (std::size_t k = 0; k < M; ++k)
        reL = wRow[k] * rel[k * L + l] + reL;
    re[l] = reL;

    return { DiagonalNorm(x.Rm), DiagonalNorm(x.Re) };
}

RatingPair ShiftedRating::At(const RatingSelection& s, float shift, const Weighted& weighted, Scratch& x) const
{
    ProductAt(s, shift, x.Product, x);
    return Evaluate(s, x.Product, weighted, x);
}
