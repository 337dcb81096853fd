// The sensitivity ranking as the report's "sensitivity" array: the layer, threat and
// mechanism triples whose activation frequency moves Rm the most.
#pragma once

#include "ui/export/ReportJson.h"

#include <cstddef>
#include <optional>

class CData;

// The store as the walk leaves it (derived matrices computed). The first `top` triples
// ranked by the swing of Rm over the rating window's shifts, all of them when absent; each
// with its zero-based positions among the analysed items, its names, and Rm's and Re's
// smallest value, value at shift 0 and largest value.
ReportJson SensitivityJson(const CData& data, std::optional<std::size_t> top);
