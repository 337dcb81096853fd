// The derived layer/mechanism matrix of each analysis mode, its two distributions and
// the texts of the result table; worked on a plain record so that no window is needed.
#pragma once

#include "model/Kinds.h"
#include "model/Matrix.h"

#include <array>
#include <string>
#include <vector>

class CData;

// What a source-matrix window works on: its own copies of the two sources (index = the
// combo item), and the last result with its distributions.
struct GraphWorkingData {
    AnalysisMode Mode = AnalysisMode::Reliability;
    std::array<Matrix, 2> SourceMatrices;
    Matrix ResultMatrix;
    Vector RowDistribution; // one norm per row of the result
    Vector ColumnDistribution; // one norm per column of the result
};

// Computes the result and the distributions of the working data's mode and writes the
// sources and the result back into the store. Mode 4 stores the largest element of the
// product and the product normalised, and keeps the raw product as its own result.
void ComputeDerivedMatrix(GraphWorkingData& work, CData& data);

// Modes 1 to 4 in order, each on the store's current sources, so that mode 4 works on
// the damage and frequency matrices just computed.
std::array<GraphWorkingData, 4> ComputeAllModes(CData& data);

// The result table: (rows + 1) x (cols + 1) texts. The leftmost column holds the
// distribution over the rows, the bottom row the distribution over the columns; the
// bottom-left cell stays empty and is where the selection goes.
struct ResultGrid {
    int ColumnCount = 0;
    int RowCount = 0;
    std::vector<std::vector<std::string>> Cells; // [column][row]

    const std::string& At(int column, int row) const
    {
        return Cells[static_cast<std::size_t>(column)][static_cast<std::size_t>(row)];
    }
    int SelectedColumn() const { return 0; }
    int SelectedRow() const { return RowCount - 1; }
};

ResultGrid ResultGridTexts(const GraphWorkingData& work);
