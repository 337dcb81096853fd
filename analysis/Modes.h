// What each analysis mode works on: its two sources, its result, the kinds of items
// along their rows and columns, the range of a typed judgement and the captions its
// window shows. One table, so that no other code switches on a mode.
#pragma once

#include "model/Data.h"
#include "model/Kinds.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

struct SourceDescription {
    Matrix CData::*Member;
    ItemKind Rows;
    ItemKind Cols;
    // The source's entry in the window's choice of matrices.
    const char* Caption;
};

enum class Combination {
    Product, // source 0 times source 1
    NormalisedProduct, // the same, divided by its largest element
    ElementwiseProduct, // element by element; only the stored copy is normalised
};

struct ModeDescription {
    AnalysisMode Mode;
    std::array<SourceDescription, 2> Sources;
    // Mode 4 multiplies the results of modes 2 and 3: nothing to type.
    bool EditableSources;
    Combination Operation;
    Matrix CData::*Result;
    ItemKind ResultRows;
    ItemKind ResultCols;
    // A typed judgement lies between 0 and this.
    float SourceMaximum;
    // The title of the result table, and the wall titles of the chart: the back wall
    // shows the distribution over the columns, the left wall the one over the rows.
    const char* ResultCaption;
    const char* ColumnsTitle;
    const char* RowsTitle;
};

const ModeDescription& Describe(AnalysisMode mode);
// The largest value an element of the mode's result can take with judgements in their ranges
// and these numbers of analysed items.
float LargestResult(AnalysisMode mode, const AnalysedCounts& counts);
// A caption or title of the table as the analyst reads it (the table keeps source texts).
std::string ModeText(const char* source);

// Copies of the two sources of a mode as the store holds them now.
std::array<Matrix, 2> SourceMatricesOf(const CData& data, AnalysisMode mode);

enum class SourceValueCheck {
    Empty, // nothing typed: the element keeps its value
    Accepted,
    NotANumber,
    OutOfRange,
};

// The check of a judgement typed into a source cell; `value` is set when accepted.
SourceValueCheck CheckSourceValue(AnalysisMode mode, std::string_view text, float& value);
// The analyst's message for a refused value; empty otherwise.
std::string SourceValueMessage(AnalysisMode mode, SourceValueCheck check);
