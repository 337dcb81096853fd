// Matrices written as nested lists in tests, and bit-for-bit comparison.
#pragma once

#include "model/Matrix.h"

#include <bit>
#include <cstdint>
#include <vector>

inline Matrix MakeMatrix(const std::vector<std::vector<float>>& rows, int cols = -1)
{
    Matrix m;
    m.Resize(static_cast<int>(rows.size()), cols >= 0 ? cols : rows.empty() ? 0 : static_cast<int>(rows[0].size()));
    for (int i = 0; i < m.Rows(); ++i)
        for (int j = 0; j < m.Cols(); ++j)
            m(i, j) = rows[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)];
    return m;
}

inline std::vector<std::vector<float>> Elements(const Matrix& m)
{
    std::vector<std::vector<float>> rows(static_cast<std::size_t>(m.Rows()));
    for (int i = 0; i < m.Rows(); ++i)
        for (int j = 0; j < m.Cols(); ++j)
            rows[static_cast<std::size_t>(i)].push_back(m(i, j));
    return rows;
}

inline std::vector<float> Elements(const Vector& v)
{
    std::vector<float> e;
    for (int i = 0; i < v.Size(); ++i)
        e.push_back(v(i));
    return e;
}

// Same shape and the same bits in every element (so -0.0 differs from 0.0 and a
// not-a-number equals itself).
inline bool SameBits(const Matrix& a, const Matrix& b)
{
    if (a.Rows() != b.Rows() || a.Cols() != b.Cols())
        return false;
    for (int i = 0; i < a.Rows(); ++i)
        for (int j = 0; j < a.Cols(); ++j)
            if (std::bit_cast<std::uint32_t>(a(i, j)) != std::bit_cast<std::uint32_t>(b(i, j)))
                return false;
    return true;
}
