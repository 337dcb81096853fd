// The square matrices of reliable potential damage, MM (mechanisms) and EE (layers),
// and the rating indicator that reduces each to one number.
#pragma once

class CData;
class Matrix;

// MM = ReliabilityME x WeightedDamageEM, then EE = WeightedDamageEM x ReliabilityME.
void ComputeDamageMatrices(CData& data);

// The Euclidean norm of the main diagonal; 0.0 for a matrix that is empty or not square.
float RatingIndicator(const Matrix& m);
