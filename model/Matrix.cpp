#include "model/Matrix.h"

#include <cmath>
#include <utility>

void Matrix::Resize(int rows, int cols)
{
    std::vector<float>().swap(data_);
    data_.assign(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols), 0.0f);
    rows_ = rows;
    cols_ = cols;
    hasStorage_ = true;
}

float Matrix::MaxElement() const
{
    // The running maximum starts at -1.0, so the result is never below it.
    float m = -1.0f;
    for (float v : data_)
        if (v > m)
            m = v;
    return m;
}

Matrix& Matrix::NormalizeByMax()
{
    if (!hasStorage_)
        return *this;
    const float m = MaxElement();
    if (m == 0.0f)
        return *this;
    for (float& v : data_)
        v = v / m;
    return *this;
}

Matrix& Matrix::Scale(float factor)
{
    for (float& v : data_)
        v = factor * v;
    return *this;
}

Vector Matrix::RowNorms() const
{
    Vector r(rows_);
    for (int i = 0; i < rows_; ++i) {
        float s = 0.0f;
        for (int j = 0; j < cols_; ++j) {
            const float v = (*this)(i, j);
            s = v * v + s;
        }
        r(i) = static_cast<float>(std::sqrt(static_cast<double>(s)));
    }
    return r;
}

Vector Matrix::ColumnNorms() const
{
    Vector r(cols_);
    for (int j = 0; j < cols_; ++j) {
        float s = 0.0f;
        for (int i = 0; i < rows_; ++i) {
            const float v = (*this)(i, j);
            s = v * v + s;
        }
        r(j) = static_cast<float>(std::sqrt(static_cast<double>(s)));
    }
    return r;
}

Vector Matrix::Diagonal() const
{
    if (rows_ != cols_)
        return Vector(0);
    Vector d(rows_);
    for (int i = 0; i < rows_; ++i)
        d(i) = (*this)(i, i);
    return d;
}

Matrix Matrix::Product(const Matrix& a, const Matrix& b)
{
    Matrix r;
    if (a.cols_ != b.rows_)
        return r;
    r.Resize(a.rows_, b.cols_);
    for (int i = 0; i < a.rows_; ++i) {
        for (int j = 0; j < b.cols_; ++j) {
            float acc = 0.0f;
            for (int k = 0; k < a.cols_; ++k)
                acc = a(i, k) * b(k, j) + acc;
            r(i, j) = acc;
        }
    }
    return r;
}

Matrix Matrix::ElementwiseProduct(const Matrix& a, const Matrix& b)
{
    Matrix r;
    if (a.rows_ != b.rows_ || a.cols_ != b.cols_)
        return r;
    r.Resize(a.rows_, a.cols_);
    for (std::size_t n = 0; n < r.data_.size(); ++n)
        r.data_[n] = a.data_[n] * b.data_[n];
    return r;
}

Vector& Vector::operator=(const Vector& other)
{
    if (this != &other)
        data_ = other.data_;
    hasStorage_ = true;
    return *this;
}

Vector& Vector::operator=(Vector&& other) noexcept
{
    data_ = std::move(other.data_);
    hasStorage_ = true;
    return *this;
}

float Vector::Norm() const
{
    if (!hasStorage_)
        return -1.0f;
    float s = 0.0f;
    for (float v : data_)
        s = v * v + s;
    return static_cast<float>(std::pow(static_cast<double>(s), 0.5));
}
