// The swings of Rm and Re for every triple without evaluating the rating 201 times per
// triple.
//
// A shift of threat t's frequency for layer l and mechanism m changes EF(l, t) to e and
// FM(t, m) to g (each clamped at 0), so only row l and column m of the frequency product
// P = EF FM move, and with them row l and column m of W = (P o D) / WeightedDamageMax. With
// G(k, i) = ReliabilityME(i, k) DamageEM(k, i), r the reciprocal and the unshifted
// diagonals MM0 and EE0, the diagonals of the shifted MM and EE are, exactly:
//
//   MM(i, i), i != m:  c_i + alpha_i e,   alpha_i = r G(l, i) FM(t, i),
//                                         c_i = MM0_i - EF(l, t) alpha_i
//   MM(m, m):          u0(t, m) + u1 g + u2 e g,   u2 = r G(l, m),
//                      u1 = r (B(t, m) - G(l, m) EF(l, t)),  B = EF^T G,
//                      u0 = MM0_m - FM(t, m) r B(t, m)
//   EE(i, i), i != l:  c'_i + alpha'_i g, alpha'_i = r G(i, m) EF(i, t),
//                                         c'_i = EE0_i - FM(t, m) alpha'_i
//   EE(l, l):          v0(l, t) + v1 e + v2 e g,   v2 = u2,
//                      v1 = r (B'(l, t) - G(l, m) FM(t, m)),  B' = G FM^T,
//                      v0 = EE0_l - EF(l, t) r B'(l, t)
//
// so Rm^2 = q0 + 2 q1 e + q2 e^2 + (u0 + u1 g + u2 e g)^2, where q0, q1, q2 are the sums
// over i != m of c_i^2, c_i alpha_i and alpha_i^2 (Re likewise with g and e exchanged).
// Those sums come from running sums over i per (l, t) (per (t, m) for Re), taken from
// both ends so that leaving one term out never subtracts.
//
// Cost. Building the model: O(L T M) once (P, B, B' in double; P and W in float for the
// exact evaluation). Per threat O(L M) and per layer row O(M) for the running sums: O(1)
// per triple. Per triple then, with no negative input (all the windows admit), the value
// never decreases with the shift, so the closed form is evaluated at shifts -10, 0 and +10
// only: 12 coefficients read, 6 square roots and about 80 flops, about 0.1 microsecond.
// With negative inputs the curve can turn, so all 201 shifts are evaluated, of the signed
// form and of the same form over absolute values (for the error bound): about 800
// evaluations, O(201) per triple.
//
// Exactness. The closed form runs in double; the straightforward evaluation rounds to
// float at every step. Per sample a bound on the difference is kept: the straightforward
// evaluation's float error (a diagonal element of MM is T + L + 3 roundings deep, one of
// EE T + M + 3, against the same element over absolute inputs; the norm's own roundings
// against the value), the closed form's double error, and underflow.
// A value whose bound does not prove the promised tolerance is taken from the
// straightforward evaluation instead (ShiftedRating: same operations, same order, same
// bits), at only the shifts that can hold the extreme: O(T (L + M) + L M) each. Stores
// where the bound means nothing take that evaluation everywhere: a reciprocal that is not
// finite (every sample is then infinite or not a number, so two evaluations per triple
// suffice), inputs that are not finite or values that could overflow a float (201
// evaluations per triple), and matrices whose shapes do not fit (RatingRange itself).
#include "analysis/SensitivityModel.h"

#include "analysis/Rating.h"
#include "analysis/ShiftedRating.h"
#include "model/Data.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

constexpr int kSamples = 201;
constexpr int kLastSample = kSamples - 1;
constexpr int kZeroSample = 100;
constexpr float kRangeStart = -10.0f;
constexpr float kRangeEnd = 10.0f;
// RatingRange's start values.
constexpr float kLargestStart = -100000.0f;
constexpr float kSmallestStart = 100000.0f;

const std::array<float, kSamples> kShifts = [] {
    std::array<float, kSamples> s {};
    for (int i = 0; i < kSamples; ++i)
        s[static_cast<std::size_t>(i)] = static_cast<float>(static_cast<double>(kRangeStart)
            + (static_cast<double>(kRangeEnd) - static_cast<double>(kRangeStart)) * i / 200.0);
    return s;
}();

// RatingRange's scan, step by step.
struct Extent {
    float Largest = kLargestStart;
    float Smallest = kSmallestStart;

    void Add(float v)
    {
        if (!(Largest >= v))
            Largest = v;
        if (Smallest > v)
            Smallest = v;
    }
};

template <typename T> std::vector<T> Transposed(const std::vector<T>& a, int rows, int cols)
{
    std::vector<T> t(a.size());
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j)
            t[static_cast<std::size_t>(j) * rows + i] = a[static_cast<std::size_t>(i) * cols + j];
    return t;
}

std::size_t Idx(int i, int cols, int j)
{
    return static_cast<std::size_t>(i) * static_cast<std::size_t>(cols) + static_cast<std::size_t>(j);
}

// value^2 = Q0 + 2 Q1 x + Q2 x^2 + (K0 + K1 y + K2 x y)^2; for Rm x = e and y = g, for Re
// x = g and y = e.
struct Curve {
    double Q0, Q1, Q2, K0, K1, K2;
};

double CurveValue(const Curve& c, double x, double y)
{
    const double d = c.K0 + c.K1 * y + c.K2 * x * y;
    const double r2 = c.Q0 + 2.0 * c.Q1 * x + c.Q2 * x * x + d * d;
    return r2 > 0.0 ? std::sqrt(r2) : 0.0;
}

struct Sums {
    double C2 = 0.0, CA = 0.0, A2 = 0.0;

    Sums operator+(const Sums& o) const { return { C2 + o.C2, CA + o.CA, A2 + o.A2 }; }
};

// The shared terms of the closed form in double, over the signed inputs or over their
// absolute values.
class ClosedTerms {
public:
    ClosedTerms() = default;
    ClosedTerms(const RatingInputs& in, bool absolute)
        : L_(in.Layers)
        , T_(in.Threats)
        , M_(in.Mechanisms)
        , rcp_(absolute ? std::fabs(static_cast<double>(in.Reciprocal)) : static_cast<double>(in.Reciprocal))
    {
        auto value
            = [absolute](float v) { return absolute ? std::fabs(static_cast<double>(v)) : static_cast<double>(v); };
        const std::size_t L = static_cast<std::size_t>(L_), T = static_cast<std::size_t>(T_),
                          M = static_cast<std::size_t>(M_);
        e_.resize(L * T);
        for (std::size_t n = 0; n < e_.size(); ++n)
            e_[n] = value(in.EF[n]);
        f_.resize(T * M);
        for (std::size_t n = 0; n < f_.size(); ++n)
            f_[n] = value(in.FM[n]);
        g_.resize(L * M);
        for (int k = 0; k < L_; ++k)
            for (int i = 0; i < M_; ++i)
                g_[Idx(k, M_, i)] = value(in.Reliability[Idx(i, L_, k)]) * value(in.Damage[Idx(k, M_, i)]);
        eT_ = Transposed(e_, L_, T_);
        gT_ = Transposed(g_, L_, M_);

        std::vector<double> p(L * M, 0.0);
        for (std::size_t k = 0; k < L; ++k)
            for (std::size_t j = 0; j < T; ++j) {
                const double a = e_[k * T + j];
                const double* b = &f_[j * M];
                double* row = &p[k * M];
                for (std::size_t i = 0; i < M; ++i)
                    row[i] += a * b[i];
            }
        mm0_.assign(M, 0.0);
        ee0_.assign(L, 0.0);
        for (std::size_t k = 0; k < L; ++k)
            for (std::size_t i = 0; i < M; ++i) {
                const double v = g_[k * M + i] * p[k * M + i];
                mm0_[i] += v;
                ee0_[k] += v;
            }
        for (double& v : mm0_)
            v *= rcp_;
        for (double& v : ee0_)
            v *= rcp_;

        b_.assign(T * M, 0.0); // B(t, m) = sum over layers k of EF(k, t) G(k, m)
        for (std::size_t k = 0; k < L; ++k)
            for (std::size_t j = 0; j < T; ++j) {
                const double a = e_[k * T + j];
                const double* gk = &g_[k * M];
                double* out = &b_[j * M];
                for (std::size_t i = 0; i < M; ++i)
                    out[i] += a * gk[i];
            }
        bp_.assign(L * T, 0.0); // B'(l, t) = sum over mechanisms i of G(l, i) FM(t, i)
        for (std::size_t k = 0; k < L; ++k)
            for (std::size_t j = 0; j < T; ++j) {
                double s = 0.0;
                for (std::size_t i = 0; i < M; ++i)
                    s += g_[k * M + i] * f_[j * M + i];
                bp_[k * T + j] = s;
            }
        u0_.resize(T * M);
        for (std::size_t j = 0; j < T; ++j)
            for (std::size_t i = 0; i < M; ++i)
                u0_[j * M + i] = mm0_[i] - f_[j * M + i] * (rcp_ * b_[j * M + i]);
        v0_.resize(L * T);
        for (std::size_t k = 0; k < L; ++k)
            for (std::size_t j = 0; j < T; ++j)
                v0_[k * T + j] = ee0_[k] - e_[k * T + j] * (rcp_ * bp_[k * T + j]);
    }

    // Re's running sums of one threat: for each mechanism m, over the layers i, from the
    // front (prefix[m][i] sums i' < i) and from the back (suffix[m][i] sums i' >= i).
    void ThreatSums(int t, std::vector<Sums>& prefix, std::vector<Sums>& suffix) const
    {
        const std::size_t L = static_cast<std::size_t>(L_), stride = L + 1;
        prefix.resize(static_cast<std::size_t>(M_) * stride);
        suffix.resize(prefix.size());
        const double* et = &eT_[Idx(t, L_, 0)];
        for (int m = 0; m < M_; ++m) {
            const double* gm = &gT_[Idx(m, L_, 0)];
            const double fm = f_[Idx(t, M_, m)];
            Sums* pre = &prefix[static_cast<std::size_t>(m) * stride];
            Sums* suf = &suffix[static_cast<std::size_t>(m) * stride];
            pre[0] = {};
            for (std::size_t i = 0; i < L; ++i)
                pre[i + 1] = pre[i] + Term(ee0_[i], fm, rcp_ * gm[i] * et[i]);
            suf[L] = {};
            for (std::size_t i = L; i-- > 0;)
                suf[i] = suf[i + 1] + Term(ee0_[i], fm, rcp_ * gm[i] * et[i]);
        }
    }

    // Rm's running sums of one layer row: over the mechanisms i, from both ends.
    void RowSums(int l, int t, std::vector<Sums>& prefix, std::vector<Sums>& suffix) const
    {
        const std::size_t M = static_cast<std::size_t>(M_);
        prefix.resize(M + 1);
        suffix.resize(M + 1);
        const double* gl = &g_[Idx(l, M_, 0)];
        const double* ft = &f_[Idx(t, M_, 0)];
        const double a = e_[Idx(l, T_, t)];
        prefix[0] = {};
        for (std::size_t i = 0; i < M; ++i)
            prefix[i + 1] = prefix[i] + Term(mm0_[i], a, rcp_ * gl[i] * ft[i]);
        suffix[M] = {};
        for (std::size_t i = M; i-- > 0;)
            suffix[i] = suffix[i + 1] + Term(mm0_[i], a, rcp_ * gl[i] * ft[i]);
    }

    Curve RmCurve(int l, int t, int m, const std::vector<Sums>& rowPrefix, const std::vector<Sums>& rowSuffix) const
    {
        const std::size_t mm = static_cast<std::size_t>(m);
        const Sums q = rowPrefix[mm] + rowSuffix[mm + 1];
        const double glm = g_[Idx(l, M_, m)];
        return { q.C2, q.CA, q.A2, u0_[Idx(t, M_, m)], rcp_ * (b_[Idx(t, M_, m)] - glm * e_[Idx(l, T_, t)]),
            rcp_ * glm };
    }

    Curve ReCurve(
        int l, int t, int m, const std::vector<Sums>& threatPrefix, const std::vector<Sums>& threatSuffix) const
    {
        const std::size_t base
            = static_cast<std::size_t>(m) * (static_cast<std::size_t>(L_) + 1) + static_cast<std::size_t>(l);
        const Sums q = threatPrefix[base] + threatSuffix[base + 1];
        const double glm = g_[Idx(l, M_, m)];
        return { q.C2, q.CA, q.A2, v0_[Idx(l, T_, t)], rcp_ * (bp_[Idx(l, T_, t)] - glm * f_[Idx(t, M_, m)]),
            rcp_ * glm };
    }

private:
    // One diagonal element that the shift moves linearly: unshifted value d0, the
    // unshifted frequency `frequency`, slope alpha; c = d0 - frequency alpha.
    static Sums Term(double d0, double frequency, double alpha)
    {
        const double c = d0 - frequency * alpha;
        return { c * c, c * alpha, alpha * alpha };
    }

    int L_ = 0, T_ = 0, M_ = 0;
    double rcp_ = 0.0;
    std::vector<double> e_, eT_, f_, g_, gT_, mm0_, ee0_, b_, bp_, u0_, v0_;
};

enum class Regime {
    Closed, // the closed form with its bound
    InfiniteReciprocal, // every sample infinite or not a number
    Exact, // the exact evaluation at every shift
    Reference, // shapes that do not fit: RatingRange itself
};

bool Finite(const std::vector<float>& v)
{
    return std::all_of(v.begin(), v.end(), [](float x) { return std::isfinite(x); });
}

bool NonNegative(const std::vector<float>& v)
{
    return std::all_of(v.begin(), v.end(), [](float x) { return x >= 0.0f; });
}

double LargestMagnitude(const std::vector<float>& v)
{
    double m = 0.0;
    for (float x : v)
        m = std::max(m, std::fabs(static_cast<double>(x)));
    return m;
}

} // namespace

struct SensitivityModel::Impl {
    explicit Impl(const CData& data);

    // Per call: the running sums and the exact evaluations of one triple.
    struct Work {
        int Threat = -1;
        std::vector<Sums> ThreatPrefix, ThreatSuffix, RowPrefix, RowSuffix;
        std::vector<Sums> AbsThreatPrefix, AbsThreatSuffix, AbsRowPrefix, AbsRowSuffix;
        ShiftedRating::Scratch Scratch;
        // The exact pairs of the current triple by sample; a run of samples with the same
        // shifted elements shares one.
        std::array<RatingPair, kSamples> Exact {};
        std::array<bool, kSamples> HaveExact {};
    };

    TripleSensitivity Triple(int l, int t, int m, Work& w) const;
    TripleSensitivity ClosedTriple(int l, int t, int m, Work& w) const;
    TripleSensitivity GeneralTriple(int l, int t, int m, Work& w) const;
    RatingPair ExactAt(int l, int t, int m, int sample, Work& w) const;
    // How far the closed form's value at one sample may lie from the straightforward one:
    // value and absValue are the closed form over the inputs and over their absolute
    // values, corner the largest absolute value any term of the triple reaches.
    double Bound(RatingKind kind, double value, double absValue, double corner) const;
    float ShiftedE(int l, int t, int sample) const
    {
        return ShiftedFrequency(in.EF[Idx(l, in.Threats, t)], kShifts[static_cast<std::size_t>(sample)]);
    }
    float ShiftedG(int t, int m, int sample) const
    {
        return ShiftedFrequency(in.FM[Idx(t, in.Mechanisms, m)], kShifts[static_cast<std::size_t>(sample)]);
    }

    int L = 0, T = 0, M = 0;
    Regime regime = Regime::Reference;
    bool nonNegative = false;
    RatingInputs in;
    // The straightforward evaluation at damage factor 1.
    ShiftedRating exact;
    ShiftedRating::Weighted unit;
    ClosedTerms closed, closedAbs;
    CData reference; // only the rating's inputs, for shapes that do not fit
    std::array<double, 2> gammaDiagonal {}, gammaNorm {}; // Rm, Re
    double kappa = 0.0, kappa3 = 0.0, sqrtKappa3 = 0.0, underflow = 0.0;
};

SensitivityModel::Impl::Impl(const CData& data)
    : L(data.EF.Rows())
    , T(data.EF.Cols())
    , M(data.FM.Cols())
{
    const bool fits = data.FM.Rows() == T && data.DamageEM.Rows() == L && data.DamageEM.Cols() == M
        && data.ReliabilityME.Rows() == M && data.ReliabilityME.Cols() == L;
    if (!fits) {
        reference.EF = data.EF;
        reference.FM = data.FM;
        reference.DamageEM = data.DamageEM;
        reference.ReliabilityME = data.ReliabilityME;
        reference.WeightedDamageMax = data.WeightedDamageMax;
        regime = Regime::Reference;
        return;
    }
    in = RatingInputs::From(data);
    exact = ShiftedRating(in);
    unit = exact.WeightedAt(1.0f);
    if (!std::isfinite(in.Reciprocal)) {
        regime = Regime::InfiniteReciprocal;
        return;
    }

    // Bounds of every float the evaluation can meet: a shifted frequency is at most 10
    // above the largest one.
    const double slack = 1.01;
    const double e = (LargestMagnitude(in.EF) + 10.0) * slack, f = (LargestMagnitude(in.FM) + 10.0) * slack;
    const double dMax = LargestMagnitude(in.Damage), rMax = LargestMagnitude(in.Reliability);
    const double rcp = std::fabs(static_cast<double>(in.Reciprocal));
    const double p = T * e * f * slack, x = p * dMax * slack, w = rcp * x * slack;
    const double mm = L * rMax * w * slack, ee = M * rMax * w * slack;
    const double limit = 1e36; // well inside float's range
    const bool bounded
        = p < limit && x < limit && w < limit && mm < limit && ee < limit && M * mm * mm < limit && L * ee * ee < limit;
    if (!Finite(in.EF) || !Finite(in.FM) || !Finite(in.Damage) || !Finite(in.Reliability) || !bounded) {
        regime = Regime::Exact;
        return;
    }

    regime = Regime::Closed;
    nonNegative = NonNegative(in.EF) && NonNegative(in.FM) && NonNegative(in.Damage) && NonNegative(in.Reliability);
    closed = ClosedTerms(in, false);
    // Over non-negative inputs the absolute form is the signed one (up to a sign of the
    // reciprocal, which the norms do not see).
    if (!nonNegative)
        closedAbs = ClosedTerms(in, true);

    // The straightforward evaluation's float error. A diagonal element of MM sums over
    // the layers products that carry a sum over the threats and two roundings: T + L + 3
    // roundings deep, so off by at most gamma(T + L + 3) times the same element over
    // absolute inputs (EE: T + M + 3). The norm squares and adds the mechanisms (the
    // layers), all terms positive: gamma(M + 1) / 2 of the value itself.
    const double u = std::ldexp(1.0, -24);
    auto gamma = [u](double n) { return n * u / (1.0 - n * u); };
    gammaDiagonal = { gamma(T + L + 3.0), gamma(T + M + 3.0) };
    gammaNorm = { gamma(M + 1.0), gamma(L + 1.0) };
    const double n = static_cast<double>(T) + L + M + 8;
    // The closed form's double error: linear in the largest value over absolute inputs,
    // and with mixed signs a cancellation in the sum of squares.
    kappa = 16.0 * n * std::ldexp(1.0, -53);
    kappa3 = 32.0 * n * std::ldexp(1.0, -53);
    sqrtKappa3 = std::sqrt(kappa3);
    // Gradual underflow: an absolute error of half the smallest subnormal per rounding,
    // carried through the products.
    const double eta = std::ldexp(1.0, -150);
    underflow = 4.0 * n * n * n * (1.0 + rMax) * (1.0 + rcp) * (1.0 + dMax) * eta + std::sqrt(n * eta);
}

double SensitivityModel::Impl::Bound(RatingKind kind, double value, double absValue, double corner) const
{
    const std::size_t k = kind == RatingKind::Rm ? 0 : 1;
    const double u = std::ldexp(1.0, -24); // a rounding to float
    double closedError = kappa * (corner + value);
    if (!nonNegative)
        closedError
            += value > 0.0 ? std::min(sqrtKappa3 * corner, kappa3 * corner * corner / value) : sqrtKappa3 * corner;
    // The straightforward diagonal against the true one, then its norm's own roundings
    // (the sum of squares, the square root's rounding to float) on at most the true value
    // plus that difference.
    const double diagonal = gammaDiagonal[k] * (absValue + kappa * corner);
    const double norm = (gammaNorm[k] / 2.0 + u) * 1.01 * (value + closedError + diagonal);
    // Ours: the closed form's error and its rounding to float.
    return diagonal + norm + closedError + u * value + underflow;
}

namespace {

bool WithinTolerance(double bound, double value)
{
    // Measured against the least the straightforward value can be; the bound is a proof,
    // so only a hair is kept back.
    return bound
        <= 0.99 * std::max(kSensitivityRelativeTolerance * std::max(0.0, value - bound), kSensitivityAbsoluteTolerance);
}

} // namespace

RatingPair SensitivityModel::Impl::ExactAt(int l, int t, int m, int sample, Work& w) const
{
    const std::size_t s = static_cast<std::size_t>(sample);
    if (w.HaveExact[s])
        return w.Exact[s];
    const float e = ShiftedE(l, t, sample), g = ShiftedG(t, m, sample);
    // The same shifted elements give the same bits; samples of one run are neighbours.
    for (std::size_t k : { s - 1, s + 1 }) {
        if (k < static_cast<std::size_t>(kSamples) && w.HaveExact[k]
            && std::bit_cast<std::uint32_t>(ShiftedE(l, t, static_cast<int>(k))) == std::bit_cast<std::uint32_t>(e)
            && std::bit_cast<std::uint32_t>(ShiftedG(t, m, static_cast<int>(k))) == std::bit_cast<std::uint32_t>(g)) {
            w.HaveExact[s] = true;
            return w.Exact[s] = w.Exact[k];
        }
    }
    w.HaveExact[s] = true;
    return w.Exact[s] = exact.At({ l, t, m }, kShifts[s], unit, w.Scratch);
}

TripleSensitivity SensitivityModel::Impl::Triple(int l, int t, int m, Work& w) const
{
    w.HaveExact.fill(false);
    TripleSensitivity r;
    r.Triple = { l, t, m };
    switch (regime) {
    case Regime::Closed:
        return ClosedTriple(l, t, m, w);
    case Regime::InfiniteReciprocal: {
        // Every W element is infinite or not a number, so is every diagonal element and
        // every sample: the scan keeps its smallest start value, and its largest is the
        // last sample.
        const RatingPair last = ExactAt(l, t, m, kLastSample, w);
        const RatingPair zero = ExactAt(l, t, m, kZeroSample, w);
        r.Rm = { kSmallestStart, zero.Rm, last.Rm };
        r.Re = { kSmallestStart, zero.Re, last.Re };
        return r;
    }
    case Regime::Exact: {
        Extent rm, re;
        for (int i = 0; i < kSamples; ++i) {
            const RatingPair p = ExactAt(l, t, m, i, w);
            rm.Add(p.Rm);
            re.Add(p.Re);
        }
        const RatingPair zero = ExactAt(l, t, m, kZeroSample, w);
        r.Rm = { rm.Smallest, zero.Rm, rm.Largest };
        r.Re = { re.Smallest, zero.Re, re.Largest };
        return r;
    }
    case Regime::Reference:
        for (RatingKind kind : { RatingKind::Rm, RatingKind::Re }) {
            const RatingExtent e = RatingRange(reference, kind, r.Triple, 1.0f, kRangeStart, kRangeEnd);
            (kind == RatingKind::Rm ? r.Rm : r.Re)
                = { e.Smallest, RatingAtShift(reference, kind, r.Triple, 0.0f, 1.0f), e.Largest };
        }
        return r;
    }
    return r;
}

// Non-negative inputs: every diagonal element is a non-negative, non-decreasing function
// of the shift, so the extremes lie at the ends; three samples, and the bound at each.
TripleSensitivity SensitivityModel::Impl::ClosedTriple(int l, int t, int m, Work& w) const
{
    if (!nonNegative)
        return GeneralTriple(l, t, m, w);
    const Curve rm = closed.RmCurve(l, t, m, w.RowPrefix, w.RowSuffix);
    const Curve re = closed.ReCurve(l, t, m, w.ThreatPrefix, w.ThreatSuffix);
    const int samples[] = { 0, kZeroSample, kLastSample };
    double vRm[3], vRe[3];
    for (int k = 0; k < 3; ++k) {
        const double e = ShiftedE(l, t, samples[k]), g = ShiftedG(t, m, samples[k]);
        vRm[k] = CurveValue(rm, e, g);
        vRe[k] = CurveValue(re, g, e);
    }
    TripleSensitivity r;
    r.Triple = { l, t, m };
    for (RatingKind kind : { RatingKind::Rm, RatingKind::Re }) {
        const double* v = kind == RatingKind::Rm ? vRm : vRe;
        // The largest value over absolute inputs is the one at +10.
        const double corner = v[2];
        // A sample that could be the straightforward minimum (maximum) has at most twice
        // the bound of the end sample.
        const double lowest = std::min({ v[0], v[1], v[2] }), highest = std::max({ v[0], v[1], v[2] });
        if (!WithinTolerance(2.0 * Bound(kind, lowest, lowest, corner), lowest)
            || !WithinTolerance(2.0 * Bound(kind, highest, highest, corner), highest)
            || !WithinTolerance(Bound(kind, v[1], v[1], corner), v[1]))
            return GeneralTriple(l, t, m, w);
        Extent extent;
        for (int k = 0; k < 3; ++k)
            extent.Add(static_cast<float>(v[k]));
        (kind == RatingKind::Rm ? r.Rm : r.Re) = { extent.Smallest, static_cast<float>(v[1]), extent.Largest };
    }
    return r;
}

// Any signs: all 201 samples of the closed form with their bounds. Where a bound does not
// prove the tolerance, the exact evaluation at every sample that can hold the extreme.
TripleSensitivity SensitivityModel::Impl::GeneralTriple(int l, int t, int m, Work& w) const
{
    const Curve rm = closed.RmCurve(l, t, m, w.RowPrefix, w.RowSuffix);
    const Curve re = closed.ReCurve(l, t, m, w.ThreatPrefix, w.ThreatSuffix);
    Curve rmAbs = rm, reAbs = re;
    if (!nonNegative) {
        rmAbs = closedAbs.RmCurve(l, t, m, w.AbsRowPrefix, w.AbsRowSuffix);
        reAbs = closedAbs.ReCurve(l, t, m, w.AbsThreatPrefix, w.AbsThreatSuffix);
    }
    // Every magnitude the closed form handles is at most the absolute form's value with
    // both elements at the larger of their shifted and unshifted sizes.
    const double eCorner = std::max(static_cast<double>(ShiftedE(l, t, kLastSample)),
                     std::fabs(static_cast<double>(in.EF[Idx(l, T, t)]))),
                 gCorner = std::max(static_cast<double>(ShiftedG(t, m, kLastSample)),
                     std::fabs(static_cast<double>(in.FM[Idx(t, M, m)])));

    TripleSensitivity r;
    r.Triple = { l, t, m };
    for (RatingKind kind : { RatingKind::Rm, RatingKind::Re }) {
        const Curve& c = kind == RatingKind::Rm ? rm : re;
        const Curve& a = kind == RatingKind::Rm ? rmAbs : reAbs;
        const double corner
            = kind == RatingKind::Rm ? CurveValue(a, eCorner, gCorner) : CurveValue(a, gCorner, eCorner);
        std::array<double, kSamples> v {}, b {};
        int low = 0, high = 0;
        for (int i = 0; i < kSamples; ++i) {
            const double e = ShiftedE(l, t, i), g = ShiftedG(t, m, i);
            const bool rmKind = kind == RatingKind::Rm;
            const double value = rmKind ? CurveValue(c, e, g) : CurveValue(c, g, e);
            const double absValue = nonNegative ? value : (rmKind ? CurveValue(a, e, g) : CurveValue(a, g, e));
            v[static_cast<std::size_t>(i)] = value;
            b[static_cast<std::size_t>(i)] = Bound(kind, value, absValue, corner);
            if (value < v[static_cast<std::size_t>(low)])
                low = i;
            if (value > v[static_cast<std::size_t>(high)])
                high = i;
        }
        const double vLow = v[static_cast<std::size_t>(low)], bLow = b[static_cast<std::size_t>(low)];
        const double vHigh = v[static_cast<std::size_t>(high)], bHigh = b[static_cast<std::size_t>(high)];
        // The samples that could be the straightforward evaluation's extremes, and the
        // largest bound among them.
        auto mayBeLowest
            = [&](int i) { return v[static_cast<std::size_t>(i)] - b[static_cast<std::size_t>(i)] <= vLow + bLow; };
        auto mayBeHighest
            = [&](int i) { return v[static_cast<std::size_t>(i)] + b[static_cast<std::size_t>(i)] >= vHigh - bHigh; };
        double boundLow = 0.0, boundHigh = 0.0;
        for (int i = 0; i < kSamples; ++i) {
            if (mayBeLowest(i))
                boundLow = std::max(boundLow, b[static_cast<std::size_t>(i)]);
            if (mayBeHighest(i))
                boundHigh = std::max(boundHigh, b[static_cast<std::size_t>(i)]);
        }

        RatingSwing s;
        if (WithinTolerance(boundLow, vLow)) {
            s.Min = std::min(kSmallestStart, static_cast<float>(vLow));
        } else {
            Extent exactLow;
            for (int i = 0; i < kSamples; ++i)
                if (mayBeLowest(i))
                    exactLow.Add(ExactAt(l, t, m, i, w).Of(kind));
            s.Min = exactLow.Smallest;
        }
        if (WithinTolerance(boundHigh, vHigh)) {
            s.Max = std::max(kLargestStart, static_cast<float>(vHigh));
        } else {
            Extent exactHigh;
            for (int i = 0; i < kSamples; ++i)
                if (mayBeHighest(i))
                    exactHigh.Add(ExactAt(l, t, m, i, w).Of(kind));
            s.Max = exactHigh.Largest;
        }
        const double vZero = v[kZeroSample];
        s.AtZero = WithinTolerance(b[kZeroSample], vZero) ? static_cast<float>(vZero)
                                                          : ExactAt(l, t, m, kZeroSample, w).Of(kind);
        (kind == RatingKind::Rm ? r.Rm : r.Re) = s;
    }
    return r;
}

SensitivityModel::SensitivityModel(const CData& data)
    : impl_(std::make_unique<const Impl>(data))
{
}

SensitivityModel::~SensitivityModel() = default;

std::size_t SensitivityModel::TripleCount() const
{
    if (impl_->L <= 0 || impl_->T <= 0 || impl_->M <= 0)
        return 0;
    return static_cast<std::size_t>(impl_->L) * static_cast<std::size_t>(impl_->T) * static_cast<std::size_t>(impl_->M);
}

int SensitivityModel::Layers() const
{
    return impl_->L;
}

int SensitivityModel::Threats() const
{
    return impl_->T;
}

int SensitivityModel::Mechanisms() const
{
    return impl_->M;
}

RatingSelection SensitivityModel::TripleAt(std::size_t index) const
{
    if (TripleCount() == 0)
        return {};
    const std::size_t L = static_cast<std::size_t>(impl_->L), M = static_cast<std::size_t>(impl_->M);
    return { static_cast<int>(index / M % L), static_cast<int>(index / (M * L)), static_cast<int>(index % M) };
}

std::size_t SensitivityModel::Compute(
    std::size_t first, std::size_t last, std::span<TripleSensitivity> out, std::stop_token stop) const
{
    const Impl& m = *impl_;
    last = std::min({ last, TripleCount(), first + out.size() });
    if (first >= last)
        return 0;
    const std::size_t M = static_cast<std::size_t>(m.M);
    Impl::Work w;
    std::size_t index = first;
    while (index < last) {
        if (stop.stop_requested())
            break;
        const RatingSelection row = TripleAt(index);
        const std::size_t rowEnd = std::min(last, index - static_cast<std::size_t>(row.Mechanism) + M);
        if (m.regime == Regime::Closed) {
            if (row.Threat != w.Threat) {
                m.closed.ThreatSums(row.Threat, w.ThreatPrefix, w.ThreatSuffix);
                if (!m.nonNegative)
                    m.closedAbs.ThreatSums(row.Threat, w.AbsThreatPrefix, w.AbsThreatSuffix);
                w.Threat = row.Threat;
            }
            m.closed.RowSums(row.Layer, row.Threat, w.RowPrefix, w.RowSuffix);
            if (!m.nonNegative)
                m.closedAbs.RowSums(row.Layer, row.Threat, w.AbsRowPrefix, w.AbsRowSuffix);
        }
        for (int mechanism = row.Mechanism; index < rowEnd; ++index, ++mechanism)
            out[index - first] = m.Triple(row.Layer, row.Threat, mechanism, w);
    }
    return index - first;
}
