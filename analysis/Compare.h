// Two assessments of one system side by side, typically before and after a proposed
// change: how the ratings moved, how each mechanism's and layer's reliable potential
// damage moved, and which judgements differ. Items are matched by name exactly as the
// store carries judgements over after list edits.
#pragma once

#include "model/SourceMatrices.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

class CData;

// Rm or Re of both assessments.
struct RatingComparison {
    float This = 0.0f;
    float Other = 0.0f;
    float Difference = 0.0f; // Other - This
    // Difference / This; none when that is no finite number: This is 0, or a rating is
    // not finite itself.
    std::optional<float> RelativeChange;
};

// An analysed mechanism's diagonal element of MM, or a layer's of EE. An item analysed in
// only one of the assessments has nothing on the other side: added (only in the other)
// or removed (only in this one).
struct ItemComparison {
    std::string Name;
    std::optional<int> ThisPosition; // among the analysed items of its kind
    std::optional<int> OtherPosition;
    std::optional<float> This;
    std::optional<float> Other;
    std::optional<float> Difference; // Other - This, when on both sides

    bool Added() const { return !ThisPosition; }
    bool Removed() const { return !OtherPosition; }
};

// A cell of a source matrix whose row item and column item are analysed in both
// assessments and whose judgement differs.
struct ChangedJudgement {
    SourceId Source;
    std::string Row; // the names of the row item and the column item
    std::string Column;
    int ThisRow = 0, ThisColumn = 0; // the cell in each assessment's matrix
    int OtherRow = 0, OtherColumn = 0;
    float This = 0.0f;
    float Other = 0.0f;
};

struct AssessmentComparison {
    RatingComparison Rm;
    RatingComparison Re;
    // This assessment's analysed items in its order, then the added ones in the other's
    // order. When names repeat, each of the other's items pairs with the last namesake in
    // this one, so an item of this one may stand in several rows and an earlier namesake
    // counts as removed (even against itself, where the judgements of the other's earlier
    // namesakes then differ from those of the last one here).
    std::vector<ItemComparison> Mechanisms;
    std::vector<ItemComparison> Layers;
    // Source by source in the table's order, each row-major in this assessment's order
    // (namesake rows or columns in the other's order).
    std::vector<ChangedJudgement> Changed;
    std::array<int, kSourceMatrices.size()> ChangedPerSource {};
    // No layer, threat or mechanism is analysed in both: the two assessments describe
    // different systems, or the same one under other names.
    bool NoSharedItem = false;

    int ChangedIn(SourceId source) const { return ChangedPerSource[static_cast<std::size_t>(source)]; }
};

// A copy of the store after the whole walk on its own judgements, as vardun-report runs
// it: modes 1 to 4, then MM and EE. The thresholds play no part in the numbers.
CData AnalysedCopy(const CData& data);

// Both stores are analysed afresh from their source matrices; neither is changed.
// Differences are `other` minus `thisData`. Judgements count as the same when their bits
// agree or both are no number.
AssessmentComparison CompareAssessments(const CData& thisData, const CData& other);
