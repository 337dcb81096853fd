// The tables the analysis windows show, with the names of their rows and columns, as
// they go to a spreadsheet: used by the windows' "Экспорт в CSV..." and by the report
// tool.
#pragma once

#include "analysis/Derived.h"
#include "analysis/Rating.h"
#include "model/Csv.h"
#include "model/Kinds.h"

class CData;
class Matrix;

// Source `source` (0 or 1) of a mode, with the given values (the window's own copy).
CsvTable SourceTable(const CData& data, AnalysisMode mode, int source, const Matrix& values);
// A mode's result with its two distributions, as its result grid shows them.
CsvTable ResultTable(const CData& data, const GraphWorkingData& work);
// MM (kind Mechanism) or EE (kind Layer).
CsvTable DamageTable(const CData& data, ItemKind kind, const Matrix& square);
// The rating curves' samples of a selection at the current, high and low levels.
CsvTable CurveTable(const CData& data, const RatingSelection& selection, float high, float low);
// The assessment's figures in one column: Rm and Re of the store's MM and EE (computed
// beforehand), each mode's two thresholds, and the high and low damage levels.
CsvTable SummaryTable(const CData& data);
