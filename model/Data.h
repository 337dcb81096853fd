// CData: one whole assessment in memory. Names are UTF-8; the analysed items are kept
// as decimal positions into the name lists, exactly as the data file stores them.
#pragma once

#include "model/Kinds.h"
#include "model/Matrix.h"

#include <array>
#include <string>
#include <vector>

class IMessageSink;

// One entry of the main window's check lists, as the store sees it.
struct CheckItem {
    std::string Name;
    bool Checked = false;
};
using CheckList = std::vector<CheckItem>;

// How many items of each kind are analysed: the sides of every matrix.
struct AnalysedCounts {
    int Mechanisms = 0;
    int Threats = 0;
    int Layers = 0;

    int Of(ItemKind kind) const
    {
        return kind == ItemKind::Layer ? Layers : kind == ItemKind::Threat ? Threats : Mechanisms;
    }
    friend bool operator==(const AnalysedCounts&, const AnalysedCounts&) = default;
};

class CData {
public:
    // Source matrices, over the analysed items.
    Matrix MT; // mechanisms x threats, reliability
    Matrix TE; // threats x layers, reliability
    Matrix ET; // layers x threats, potential damage
    Matrix TM; // threats x mechanisms, potential damage
    Matrix EF; // layers x threats, activation frequency
    Matrix FM; // threats x mechanisms, activation frequency
    // Derived matrices.
    Matrix ReliabilityME; // mechanisms x layers, normalised
    Matrix DamageEM; // layers x mechanisms
    Matrix FrequencyEM; // layers x mechanisms
    Matrix WeightedDamageEM; // layers x mechanisms, normalised
    Matrix MM; // mechanisms x mechanisms
    Matrix EE; // layers x layers

    int MechanismCount = 0;
    int LayerCount = 0;
    int ThreatCount = 0;

    // The chart thresholds of modes 1..4, in the file's order.
    struct ThresholdPair {
        float Small = 0.0f;
        float Medium = 0.0f;
    };
    std::array<ThresholdPair, 4> Thresholds {};
    float HighLevel = 0.0f;
    float LowLevel = 0.0f;
    float WeightedDamageMax = 0.0f;

    std::vector<std::string> LayerIndices;
    std::vector<std::string> ThreatIndices;
    std::vector<std::string> MechanismIndices;
    std::vector<std::string> LayerNames;
    std::vector<std::string> ThreatNames;
    std::vector<std::string> MechanismNames;

    ThresholdPair& ThresholdsOf(AnalysisMode mode) { return Thresholds[ModeIndex(mode)]; }
    const ThresholdPair& ThresholdsOf(AnalysisMode mode) const { return Thresholds[ModeIndex(mode)]; }

    // Name of the k-th analysed item of a kind.
    const std::string& LayerName(int k) const;
    const std::string& ThreatName(int k) const;
    const std::string& MechanismName(int k) const;
    const std::string& AnalysedName(ItemKind kind, int k) const;
    // The analysed items' names in their order: the rows or columns of the matrices.
    std::vector<std::string> AnalysedNames(ItemKind kind) const;
    // The analysed items of a kind: their positions in the names list, as "%d" text.
    const std::vector<std::string>& IndicesOf(ItemKind kind) const;
    const std::vector<std::string>& NamesOf(ItemKind kind) const;
    int CountOf(ItemKind kind) const;
    AnalysedCounts Counts() const { return { MechanismCount, ThreatCount, LayerCount }; }

    // Empties the six lists; counts, matrices and numbers stay.
    void ClearLists();
    void CollectSelection(const CheckList& layers, const CheckList& threats, const CheckList& mechanisms);
    // CollectSelection, then carries every judgement over to the new selection by item name.
    void PrepareForAnalysis(const CheckList& layers, const CheckList& threats, const CheckList& mechanisms);

    // The data file. Paths are UTF-8. Messages for the analyst go to `messages`.
    // A rejected file leaves the store exactly as it was.
    bool LoadFromFile(const std::string& path, IMessageSink& messages);
    // Replaces the target only when everything was written; false (with a message) otherwise.
    bool SaveToFile(const std::string& path, IMessageSink& messages) const;
};

// Value of an index entry ("%d" text); the store only ever holds valid ones.
int IndexValue(const std::string& entry);
