#include "tools/report/Report.h"

#include "analysis/Damage.h"
#include "analysis/Derived.h"
#include "model/Data.h"

namespace {

ReportJson Names(
    const std::vector<std::string>& indices, const std::string& (CData::*name)(int) const, const CData& data)
{
    ReportJson names = ReportJson::array();
    for (std::size_t k = 0; k < indices.size(); ++k)
        names.push_back((data.*name)(static_cast<int>(k)));
    return names;
}

ReportJson Curve(const CurveSamples& samples)
{
    ReportJson points = ReportJson::array();
    for (const CurvePoint& p : samples)
        points.push_back(ReportJson::array({ p.Shift, p.Value }));
    return points;
}

ReportJson RatingChart(const RatingEvaluator& evaluator, RatingKind kind, const RatingRequest& request)
{
    const RatingExtent range = evaluator.Range(kind, 1.0f);
    ReportJson chart = ReportJson::object();
    chart["range"] = ReportJson::array({ range.Largest, range.Smallest });
    ReportJson curves = ReportJson::object();
    curves["current"] = Curve(evaluator.Samples(kind, DamageFactor(1.0f)));
    curves["high"] = Curve(evaluator.Samples(kind, DamageFactor(request.High)));
    curves["low"] = Curve(evaluator.Samples(kind, DamageFactor(request.Low)));
    chart["curves"] = std::move(curves);
    return chart;
}

} // namespace

bool SelectionFits(const CData& data, const RatingSelection& selection)
{
    auto fits
        = [](int position, std::size_t count) { return position >= 0 && static_cast<std::size_t>(position) < count; };
    return fits(selection.Layer, data.LayerIndices.size()) && fits(selection.Threat, data.ThreatIndices.size())
        && fits(selection.Mechanism, data.MechanismIndices.size());
}

ReportJson BuildReport(CData& data, const std::optional<RatingRequest>& rating)
{
    ReportJson report = ReportJson::object();
    report["layers"] = Names(data.LayerIndices, &CData::LayerName, data);
    report["threats"] = Names(data.ThreatIndices, &CData::ThreatName, data);
    report["mechanisms"] = Names(data.MechanismIndices, &CData::MechanismName, data);
    ReportJson thresholds = ReportJson::array();
    for (const CData::ThresholdPair& pair : data.Thresholds)
        thresholds.push_back(ReportJson::array({ pair.Small, pair.Medium }));
    report["thresholds"] = std::move(thresholds);
    report["high_level"] = data.HighLevel;
    report["low_level"] = data.LowLevel;

    const std::array<GraphWorkingData, 4> works = ComputeAllModes(data);
    ReportJson modes = ReportJson::array();
    for (const GraphWorkingData& work : works) {
        ReportJson mode = ReportJson::object();
        mode["mode"] = ModeNumber(work.Mode);
        mode["result"] = JsonMatrix(work.ResultMatrix);
        mode["row_distribution"] = JsonVector(work.RowDistribution);
        mode["column_distribution"] = JsonVector(work.ColumnDistribution);
        modes.push_back(std::move(mode));
    }
    report["modes"] = std::move(modes);

    ComputeDamageMatrices(data);
    report["weighted_damage_max"] = data.WeightedDamageMax;
    report["MM"] = JsonMatrix(data.MM);
    report["EE"] = JsonMatrix(data.EE);
    report["Rm"] = RatingIndicator(data.MM);
    report["Re"] = RatingIndicator(data.EE);

    if (rating) {
        const RatingSelection& s = rating->Selection;
        const RatingEvaluator evaluator(data, s);
        ReportJson r = ReportJson::object();
        r["selection"] = ReportJson::array({ s.Layer, s.Threat, s.Mechanism });
        ReportJson levels = ReportJson::object();
        levels["current"] = 1.0f;
        levels["high"] = rating->High;
        levels["low"] = rating->Low;
        r["levels"] = std::move(levels);
        r["Rm"] = RatingChart(evaluator, RatingKind::Rm, *rating);
        r["Re"] = RatingChart(evaluator, RatingKind::Re, *rating);
        report["rating"] = std::move(r);
    }
    return report;
}
