// Dense 32-bit float matrix and vector: the numeric value types of an assessment.
// The arithmetic is deliberately plain (ascending loops, a float accumulator rounded
// after every addition) so that every build gives the same bits.
#pragma once

#include <cstddef>
#include <vector>

class Vector;

class Matrix {
public:
    Matrix() = default;

    int Rows() const { return rows_; }
    int Cols() const { return cols_; }

    // No index is checked: callers keep to the shape, as the analysis always does.
    float& operator()(int i, int j) { return data_[static_cast<std::size_t>(i) * cols_ + j]; }
    float operator()(int i, int j) const { return data_[static_cast<std::size_t>(i) * cols_ + j]; }

    // Becomes rows x cols with every element 0.0.
    void Resize(int rows, int cols);

    Matrix& NormalizeByMax();
    Matrix& Scale(float factor);
    float MaxElement() const;
    Vector RowNorms() const;
    Vector ColumnNorms() const;
    Vector Diagonal() const;

    // Shape mismatches give a 0 x 0 matrix; nothing is reported.
    static Matrix Product(const Matrix& a, const Matrix& b);
    static Matrix ElementwiseProduct(const Matrix& a, const Matrix& b);

    bool HasStorage() const { return hasStorage_; }
    // Row-major elements, for code that walks whole rows.
    const float* RowData(int i) const { return data_.data() + static_cast<std::size_t>(i) * cols_; }

private:
    int rows_ = 0;
    int cols_ = 0;
    bool hasStorage_ = false;
    std::vector<float> data_;
};

class Vector {
public:
    Vector() = default;
    explicit Vector(int size)
        : data_(static_cast<std::size_t>(size), 0.0f)
        , hasStorage_(true)
    {
    }

    // A copy always owns storage, even of size 0; only a default vector has none,
    // and only Norm can tell the difference.
    Vector(const Vector& other)
        : data_(other.data_)
        , hasStorage_(true)
    {
    }
    Vector(Vector&& other) noexcept
        : data_(std::move(other.data_))
        , hasStorage_(true)
    {
    }
    Vector& operator=(const Vector& other);
    Vector& operator=(Vector&& other) noexcept;

    int Size() const { return static_cast<int>(data_.size()); }
    float& operator()(int i) { return data_[static_cast<std::size_t>(i)]; }
    float operator()(int i) const { return data_[static_cast<std::size_t>(i)]; }
    bool HasStorage() const { return hasStorage_; }

    // Euclidean norm; -1.0 for a vector without storage.
    float Norm() const;

private:
    std::vector<float> data_;
    bool hasStorage_ = false;
};
