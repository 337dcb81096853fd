// The JSON value type of the report. Numbers are 32-bit floats, so the library writes
// each one as the shortest text that reads back as the same float, and a value that is
// not finite as null.
#pragma once

#include "model/Matrix.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

using ReportJson
    = nlohmann::basic_json<nlohmann::ordered_map, std::vector, std::string, bool, std::int64_t, std::uint64_t, float>;

inline ReportJson JsonVector(const Vector& v)
{
    ReportJson a = ReportJson::array();
    for (int i = 0; i < v.Size(); ++i)
        a.push_back(v(i));
    return a;
}

// The array of the rows: 0 rows give [], 3 rows of 0 columns [[], [], []].
inline ReportJson JsonMatrix(const Matrix& m)
{
    ReportJson rows = ReportJson::array();
    for (int i = 0; i < m.Rows(); ++i) {
        ReportJson row = ReportJson::array();
        for (int j = 0; j < m.Cols(); ++j)
            row.push_back(m(i, j));
        rows.push_back(std::move(row));
    }
    return rows;
}

// Compact, UTF-8, one line.
inline std::string DumpReport(const ReportJson& json)
{
    return json.dump(-1, ' ', false, nlohmann::detail::error_handler_t::replace);
}
