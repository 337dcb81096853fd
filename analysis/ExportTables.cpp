// Placeholder until the export tables land; replaced as a whole.
#include "analysis/ExportTables.h"

CsvTable SourceTable(const CData&, AnalysisMode, int, const Matrix&)
{
    return {};
}

CsvTable ResultTable(const CData&, const GraphWorkingData&)
{
    return {};
}

CsvTable DamageTable(const CData&, ItemKind, const Matrix&)
{
    return {};
}

CsvTable CurveTable(const CData&, const RatingSelection&, float, float)
{
    return {};
}
