#include "ui/export/ComparisonTables.h"

#include "analysis/Compare.h"
#include "model/Csv.h"
#include "model/NumberText.h"
#include "model/SourceMatrices.h"
#include "ui/export/ComparisonText.h"

#include <QCoreApplication>

#include <cmath>

namespace {

QString Tr(const char* source)
{
    return QCoreApplication::translate("Comparison", source);
}

const char* const kThis = QT_TRANSLATE_NOOP("Comparison", "Открытая оценка");
const char* const kOther = QT_TRANSLATE_NOOP("Comparison", "Файл сравнения");
const char* const kDifference = QT_TRANSLATE_NOOP("Comparison", "Разность");

// A judgement as the file keeps it: every digit the analyst typed.
QString Judgement(float value)
{
    return QString::fromStdString(FormatGeneral(value));
}

float Or(const std::optional<float>& value)
{
    return value.value_or(std::nanf(""));
}

} // namespace

QString RatingsCorner()
{
    return Tr(QT_TRANSLATE_NOOP("Comparison", "Показатель"));
}

QStringList RatingsHeads()
{
    return { Tr(kThis), Tr(kOther), Tr(kDifference), Tr(QT_TRANSLATE_NOOP("Comparison", "Изменение")) };
}

QString MechanismsCorner()
{
    return Tr(QT_TRANSLATE_NOOP("Comparison", "МЗ"));
}

QString LayersCorner()
{
    return Tr(QT_TRANSLATE_NOOP("Comparison", "Эшелон"));
}

QStringList ItemHeads(bool narrow)
{
    return { narrow ? Tr(QT_TRANSLATE_NOOP("Comparison", "Открытая")) : Tr(kThis),
        narrow ? Tr(QT_TRANSLATE_NOOP("Comparison", "Сравнения")) : Tr(kOther), Tr(kDifference),
        Tr(QT_TRANSLATE_NOOP("Comparison", "Состояние")) };
}

QString ChangesCorner()
{
    return Tr(QT_TRANSLATE_NOOP("Comparison", "Матрица: строка / столбец"));
}

QStringList ChangeHeads()
{
    return { Tr(QT_TRANSLATE_NOOP("Comparison", "Было")), Tr(QT_TRANSLATE_NOOP("Comparison", "Стало")),
        Tr(kDifference) };
}

QStringList ChangePlaceHeads()
{
    return { Tr(QT_TRANSLATE_NOOP("Comparison", "Матрица")), Tr(QT_TRANSLATE_NOOP("Comparison", "Строка")),
        Tr(QT_TRANSLATE_NOOP("Comparison", "Столбец")) };
}

QStringList RatingCells(const RatingComparison& rating)
{
    return { ValueText(rating.This), ValueText(rating.Other), DifferenceText(rating.Difference),
        RelativeChangeText(rating.RelativeChange) };
}

QString ItemState(const ItemComparison& item)
{
    return item.Added()  ? Tr(QT_TRANSLATE_NOOP("Comparison", "добавлен"))
        : item.Removed() ? Tr(QT_TRANSLATE_NOOP("Comparison", "удалён"))
                         : QString();
}

QStringList ItemCells(const ItemComparison& item)
{
    return { OptionalText(item.This), OptionalText(item.Other), OptionalText(item.Difference, DifferenceText),
        ItemState(item) };
}

QString ChangeName(const ChangedJudgement& judgement)
{
    return QString::fromStdString(
        std::string(SourceMatrix(judgement.Source).Name) + ": " + judgement.Row + " / " + judgement.Column);
}

QStringList ChangeCells(const ChangedJudgement& judgement)
{
    return { Judgement(judgement.This), Judgement(judgement.Other),
        DifferenceText(static_cast<double>(judgement.Other) - static_cast<double>(judgement.This)) };
}

CsvTable ComparisonSummaryCsv(const AssessmentComparison* comparison)
{
    CsvTable table;
    table.Corner = Tr(QT_TRANSLATE_NOOP("Comparison", "Показатель / элемент")).toStdString();
    for (const QString& head :
        { Tr(kThis), Tr(kOther), Tr(kDifference), Tr(QT_TRANSLATE_NOOP("Comparison", "Относительное изменение")) })
        table.ColumnNames.push_back(head.toStdString());
    if (!comparison)
        return table;
    const AssessmentComparison& c = *comparison;
    for (const auto& [name, rating] : { std::pair { "Rm", &c.Rm }, std::pair { "Re", &c.Re } }) {
        table.RowNames.push_back(name);
        table.Values.push_back({ rating->This, rating->Other, rating->Difference, Or(rating->RelativeChange) });
    }
    for (const auto& [prefix, items] : { std::pair { "MM", &c.Mechanisms }, std::pair { "EE", &c.Layers } })
        for (const ItemComparison& item : *items) {
            QString name = QStringLiteral("%1: %2").arg(QString::fromLatin1(prefix), QString::fromStdString(item.Name));
            if (item.Added() || item.Removed())
                name += QStringLiteral(" (%1)").arg(ItemState(item));
            table.RowNames.push_back(name.toStdString());
            std::optional<float> relative;
            if (item.Difference && item.This && *item.This != 0.0f && std::isfinite(*item.Difference / *item.This))
                relative = *item.Difference / *item.This;
            table.Values.push_back({ Or(item.This), Or(item.Other), Or(item.Difference), Or(relative) });
        }
    return table;
}

CsvTable ComparisonChangesCsv(const AssessmentComparison* comparison, const std::vector<std::uint32_t>& rows)
{
    CsvTable table;
    table.Corner = ChangesCorner().toStdString();
    for (const QString& head : ChangeHeads())
        table.ColumnNames.push_back(head.toStdString());
    if (!comparison)
        return table;
    for (const std::uint32_t row : rows) {
        const ChangedJudgement& j = comparison->Changed[row];
        table.RowNames.push_back(ChangeName(j).toStdString());
        table.Values.push_back({ j.This, j.Other, j.Other - j.This });
    }
    return table;
}
