#include "analysis/Derived.h"

#include "analysis/Format.h"
#include "analysis/Modes.h"
#include "model/Data.h"

void ComputeDerivedMatrix(GraphWorkingData& work, CData& data)
{
    const ModeDescription& about = Describe(work.Mode);
    const Matrix& a = work.SourceMatrices[0];
    const Matrix& b = work.SourceMatrices[1];
    switch (about.Operation) {
    case Combination::ElementwiseProduct:
        work.ResultMatrix = Matrix::ElementwiseProduct(a, b);
        data.WeightedDamageMax = work.ResultMatrix.MaxElement();
        data.*about.Result = work.ResultMatrix;
        (data.*about.Result).NormalizeByMax();
        break;
    case Combination::Product:
    case Combination::NormalisedProduct:
        work.ResultMatrix = Matrix::Product(a, b);
        if (about.Operation == Combination::NormalisedProduct)
            work.ResultMatrix.NormalizeByMax();
        data.*about.Sources[0].Member = a;
        data.*about.Sources[1].Member = b;
        data.*about.Result = work.ResultMatrix;
        break;
    }
    work.ColumnDistribution = work.ResultMatrix.ColumnNorms();
    work.RowDistribution = work.ResultMatrix.RowNorms();
}

std::array<GraphWorkingData, 4> ComputeAllModes(CData& data)
{
    std::array<GraphWorkingData, 4> works;
    for (AnalysisMode mode : kAnalysisModes) {
        GraphWorkingData& work = works[ModeIndex(mode)];
        work.Mode = mode;
        work.SourceMatrices = SourceMatricesOf(data, mode);
        ComputeDerivedMatrix(work, data);
    }
    return works;
}

ResultGrid ResultGridTexts(const GraphWorkingData& work)
{
    const Matrix& r = work.ResultMatrix;
    const int n = r.Rows();
    const int m = r.Cols();
    ResultGrid grid;
    grid.ColumnCount = m + 1;
    grid.RowCount = n + 1;
    grid.Cells.assign(static_cast<std::size_t>(m + 1), std::vector<std::string>(static_cast<std::size_t>(n + 1)));
    auto cell = [&grid](int column, int row) -> std::string& {
        return grid.Cells[static_cast<std::size_t>(column)][static_cast<std::size_t>(row)];
    };
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < m; ++j)
            cell(j + 1, i) = FormatFixed(r(i, j), 2);
    for (int i = 0; i < n && i < work.RowDistribution.Size(); ++i)
        cell(0, i) = FormatFixed(work.RowDistribution(i), 2);
    for (int j = 0; j < m && j < work.ColumnDistribution.Size(); ++j)
        cell(j + 1, n) = FormatFixed(work.ColumnDistribution(j), 2);
    return grid;
}
