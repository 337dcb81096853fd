#include "ui/export/SensitivityJson.h"

#include "analysis/Sensitivity.h"
#include "analysis/WidestSwings.h"
#include "model/Data.h"

#include <vector>

namespace {

ReportJson SwingJson(const RatingSwing& s)
{
    ReportJson j = ReportJson::object();
    j["min"] = s.Min;
    j["at0"] = s.AtZero;
    j["max"] = s.Max;
    return j;
}

// The name of an analysed item, or nothing for a position the lists do not have (the
// loader never leaves matrices larger than the lists).
ReportJson NameOf(const CData& data, ItemKind kind, int position)
{
    if (position < 0 || static_cast<std::size_t>(position) >= data.IndicesOf(kind).size())
        return nullptr;
    return data.AnalysedName(kind, position);
}

} // namespace

ReportJson SensitivityJson(const CData& data, std::optional<std::size_t> top)
{
    // The first few of a million triples need no ranking of them all.
    const std::vector<TripleSensitivity> ranking
        = top ? *WidestSwings(SensitivityModel(data), *top, RatingKind::Rm) : RankSensitivity(data).Ranking;
    ReportJson list = ReportJson::array();
    for (const TripleSensitivity& t : ranking) {
        ReportJson entry = ReportJson::object();
        entry["layer"] = t.Triple.Layer;
        entry["threat"] = t.Triple.Threat;
        entry["mechanism"] = t.Triple.Mechanism;
        entry["names"] = ReportJson::array({ NameOf(data, ItemKind::Layer, t.Triple.Layer),
            NameOf(data, ItemKind::Threat, t.Triple.Threat), NameOf(data, ItemKind::Mechanism, t.Triple.Mechanism) });
        entry["Rm"] = SwingJson(t.Rm);
        entry["Re"] = SwingJson(t.Re);
        list.push_back(std::move(entry));
    }
    return list;
}
