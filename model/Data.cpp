#include "model/Data.h"

#include <charconv>

int IndexValue(const std::string& entry)
{
    int value = 0;
    std::from_chars(entry.data(), entry.data() + entry.size(), value);
    return value;
}

const std::string& CData::LayerName(int k) const
{
    return AnalysedName(ItemKind::Layer, k);
}

const std::string& CData::ThreatName(int k) const
{
    return AnalysedName(ItemKind::Threat, k);
}

const std::string& CData::MechanismName(int k) const
{
    return AnalysedName(ItemKind::Mechanism, k);
}

const std::string& CData::AnalysedName(ItemKind kind, int k) const
{
    const std::string& entry = IndicesOf(kind)[static_cast<std::size_t>(k)];
    return NamesOf(kind)[static_cast<std::size_t>(IndexValue(entry))];
}

std::vector<std::string> CData::AnalysedNames(ItemKind kind) const
{
    std::vector<std::string> names;
    names.reserve(IndicesOf(kind).size());
    for (int k = 0; k < static_cast<int>(IndicesOf(kind).size()); ++k)
        names.push_back(AnalysedName(kind, k));
    return names;
}

const std::vector<std::string>& CData::IndicesOf(ItemKind kind) const
{
    switch (kind) {
    case ItemKind::Layer:
        return LayerIndices;
    case ItemKind::Threat:
        return ThreatIndices;
    case ItemKind::Mechanism:
        break;
    }
    return MechanismIndices;
}

const std::vector<std::string>& CData::NamesOf(ItemKind kind) const
{
    switch (kind) {
    case ItemKind::Layer:
        return LayerNames;
    case ItemKind::Threat:
        return ThreatNames;
    case ItemKind::Mechanism:
        break;
    }
    return MechanismNames;
}

int CData::CountOf(ItemKind kind) const
{
    return Counts().Of(kind);
}

void CData::ClearLists()
{
    LayerIndices.clear();
    ThreatIndices.clear();
    MechanismIndices.clear();
    LayerNames.clear();
    ThreatNames.clear();
    MechanismNames.clear();
}

namespace {

void Collect(const CheckList& items, std::vector<std::string>& names, std::vector<std::string>& indices, int& count)
{
    for (std::size_t i = 0; i < items.size(); ++i) {
        names.push_back(items[i].Name);
        if (items[i].Checked) {
            ++count;
            indices.push_back(std::to_string(i));
        }
    }
}

} // namespace

void CData::CollectSelection(const CheckList& layers, const CheckList& threats, const CheckList& mechanisms)
{
    ClearLists();
    LayerCount = ThreatCount = MechanismCount = 0;
    Collect(layers, LayerNames, LayerIndices, LayerCount);
    Collect(threats, ThreatNames, ThreatIndices, ThreatCount);
    Collect(mechanisms, MechanismNames, MechanismIndices, MechanismCount);
}
