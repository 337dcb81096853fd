#include "analysis/Damage.h"

#include "model/Data.h"
#include "model/Matrix.h"

void ComputeDamageMatrices(CData& data)
{
    data.MM = Matrix::Product(data.ReliabilityME, data.WeightedDamageEM);
    data.EE = Matrix::Product(data.WeightedDamageEM, data.ReliabilityME);
}

float RatingIndicator(const Matrix& m)
{
    return m.Diagonal().Norm();
}
