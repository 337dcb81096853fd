#include "ui/export/CompareJson.h"

#include "analysis/Compare.h"

#include <optional>

namespace {

ReportJson OrNull(const std::optional<float>& value)
{
    return value ? ReportJson(*value) : ReportJson(nullptr);
}

ReportJson Rating(const RatingComparison& rating)
{
    ReportJson r = ReportJson::object();
    r["this"] = rating.This;
    r["other"] = rating.Other;
    r["difference"] = rating.Difference;
    r["relative_change"] = OrNull(rating.RelativeChange);
    return r;
}

ReportJson Items(const std::vector<ItemComparison>& items)
{
    ReportJson list = ReportJson::array();
    for (const ItemComparison& item : items) {
        ReportJson entry = ReportJson::object();
        entry["name"] = item.Name;
        entry["this"] = OrNull(item.This);
        entry["other"] = OrNull(item.Other);
        list.push_back(std::move(entry));
    }
    return list;
}

} // namespace

ReportJson CompareJson(const AssessmentComparison& comparison, const std::string& otherPath)
{
    ReportJson json = ReportJson::object();
    json["other"] = otherPath;
    json["no_shared_item"] = comparison.NoSharedItem;
    json["Rm"] = Rating(comparison.Rm);
    json["Re"] = Rating(comparison.Re);
    json["mechanisms"] = Items(comparison.Mechanisms);
    json["layers"] = Items(comparison.Layers);
    ReportJson changed = ReportJson::array();
    for (const ChangedJudgement& cell : comparison.Changed) {
        ReportJson entry = ReportJson::object();
        entry["matrix"] = SourceMatrix(cell.Source).Name;
        entry["row"] = cell.Row;
        entry["column"] = cell.Column;
        entry["this"] = cell.This;
        entry["other"] = cell.Other;
        changed.push_back(std::move(entry));
    }
    json["changed"] = std::move(changed);
    return json;
}
