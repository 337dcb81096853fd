#include "analysis/Derived.h"

#include "analysis/Format.h"
#include "model/Data.h"

namespace {

// The store's source matrices of modes 1 to 3 and their result.
struct ModeTargets {
    Matrix* Source0;
    Matrix* Source1;
    Matrix* Result;
};

ModeTargets TargetsOf(CData& data, int mode)
{
    switch (mode) {
    case 1:
        return { &data.MT, &data.TE, &data.ReliabilityME };
    case 2:
        return { &data.ET, &data.TM, &data.DamageEM };
    default:
        return { &data.EF, &data.FM, &data.FrequencyEM };
    }
}

} // namespace

std::array<Matrix, 2> SourceMatricesOf(const CData& data, int mode)
{
    switch (mode) {
    case 1:
        return { data.MT, data.TE };
    case 2:
        return { data.ET, data.TM };
    case 3:
        return { data.EF, data.FM };
    default:
        return { data.DamageEM, data.FrequencyEM };
    }
}

void ComputeDerivedMatrix(GraphWorkingData& work, CData& data)
{
    const Matrix& a = work.SourceMatrices[0];
    const Matrix& b = work.SourceMatrices[1];
    if (work.Mode == 4) {
        work.ResultMatrix = Matrix::ElementwiseProduct(a, b);
        data.WeightedDamageMax = work.ResultMatrix.MaxElement();
        data.WeightedDamageEM = work.ResultMatrix;
        data.WeightedDamageEM.NormalizeByMax();
    } else {
        work.ResultMatrix = Matrix::Product(a, b);
        if (work.Mode == 1)
            work.ResultMatrix.NormalizeByMax();
        const ModeTargets t = TargetsOf(data, work.Mode);
        *t.Source0 = a;
        *t.Source1 = b;
        *t.Result = work.ResultMatrix;
    }
    work.ColumnDistribution = work.ResultMatrix.ColumnNorms();
    work.RowDistribution = work.ResultMatrix.RowNorms();
}

std::array<GraphWorkingData, 4> ComputeAllModes(CData& data)
{
    std::array<GraphWorkingData, 4> works;
    for (int mode = 1; mode <= 4; ++mode) {
        GraphWorkingData& work = works[static_cast<std::size_t>(mode - 1)];
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
