// The comparison's tables as its window, its CSV files and the printed report show them:
// the column heads written once, and the texts and numbers of their rows.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

struct AssessmentComparison;
struct ChangedJudgement;
struct CsvTable;
struct ItemComparison;
struct RatingComparison;

// The ratings: "Показатель" over "Rm" and "Re", then both values, the difference and the
// relative change.
QString RatingsCorner();
QStringList RatingsHeads();
// A diagonal, mechanisms' or layers': the item, both values, the difference and whether the
// item was added or removed. The window's narrow columns take the short heads.
QString MechanismsCorner();
QString LayersCorner();
QStringList ItemHeads(bool narrow);
// The changed judgements: the judgement, what it was and is, the difference.
QString ChangesCorner();
QStringList ChangeHeads();
// The judgement split into its three parts, as the window's columns have it.
QStringList ChangePlaceHeads();

// The cells of one row of a table after its first column (its name).
QStringList RatingCells(const RatingComparison& rating);
QStringList ItemCells(const ItemComparison& item);
// "добавлен", "удалён", or nothing.
QString ItemState(const ItemComparison& item);
// "MT: Антивирус / Фишинг"
QString ChangeName(const ChangedJudgement& judgement);
QStringList ChangeCells(const ChangedJudgement& judgement);

// For a spreadsheet: the ratings, then both diagonals, with the relative change of each;
// the changed judgements of `rows` (indices into the comparison's list, as shown). Without
// a comparison, the heads alone.
CsvTable ComparisonSummaryCsv(const AssessmentComparison* comparison);
CsvTable ComparisonChangesCsv(const AssessmentComparison* comparison, const std::vector<std::uint32_t>& rows);
