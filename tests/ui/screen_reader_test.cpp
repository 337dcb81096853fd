// What a screen reader hears. The grids show numbers only, their rows and columns named
// beside them by the window: with each cell and header it hears the item it stands for.
// The charts are pictures: it hears what is drawn, the largest value and the thresholds or
// levels.
#include "GraphWindowFixture.h"

#include "analysis/Derived.h"
#include "ui/windows/MMEE.h"
#include "ui/windows/Rating.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include <QAccessible>
#include <QAccessibleTableInterface>
#include <gtest/gtest.h>

namespace {

QString CellDescription(QWidget* grid, int row, int column)
{
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(grid);
    if (!view || !view->tableInterface())
        return QStringLiteral("(no table)");
    QAccessibleInterface* cell = view->tableInterface()->cellAt(row, column);
    return cell ? cell->text(QAccessible::Description) : QStringLiteral("(no cell)");
}

QString HeaderDescription(const MatrixGrid* grid, Qt::Orientation orientation, int section)
{
    return grid->model()->headerData(section, orientation, Qt::AccessibleDescriptionRole).toString();
}

class ScreenReader : public GraphWindowFixture { };

TEST_F(ScreenReader, SourceCellsAndHeadersNameTheirItems)
{
    Prepare(2, 3, 2);
    TGraphForm& window = Open(AnalysisMode::Reliability);
    Choose(window, 0);
    // Mechanisms by threats.
    EXPECT_EQ(CellDescription(Grid(window), 1, 2), QStringLiteral("Строка 2: Механизм 2. Столбец 3: Угроза 3."));
    EXPECT_EQ(HeaderDescription(Grid(window), Qt::Horizontal, 0), QStringLiteral("Угроза 1"));
    EXPECT_EQ(HeaderDescription(Grid(window), Qt::Vertical, 1), QStringLiteral("Механизм 2"));
    // The other source: threats by layers.
    Choose(window, 1);
    EXPECT_EQ(CellDescription(Grid(window), 2, 0), QStringLiteral("Строка 3: Угроза 3. Столбец 1: Эшелон 1."));
    EXPECT_TRUE(HeaderDescription(Grid(window), Qt::Horizontal, 2).isEmpty());
}

TEST_F(ScreenReader, ResultCellsNameTheirItemsAndTheDistributions)
{
    Prepare(2, 3, 2);
    TGraphForm& window = Open(AnalysisMode::Reliability);
    SetThresholds(window, QStringLiteral("0.2"), QStringLiteral("0.5"));
    Compute(window);
    ASSERT_TRUE(dialogs.Messages.empty());
    MatrixGrid* results = Results(window);
    ASSERT_EQ(results->Model().rowCount(), 3);
    ASSERT_EQ(results->Model().columnCount(), 3);
    // Mechanisms by layers, the row distribution first and the column distribution last.
    EXPECT_EQ(CellDescription(results, 1, 2), QStringLiteral("Строка 2: Механизм 2. Столбец 3: Эшелон 2."));
    EXPECT_EQ(
        CellDescription(results, 0, 0), QStringLiteral("Строка 1: Механизм 1. Столбец 1: Распределение по строкам."));
    EXPECT_EQ(
        CellDescription(results, 2, 1), QStringLiteral("Строка 3: Распределение по столбцам. Столбец 2: Эшелон 1."));
}

TEST_F(ScreenReader, DamageMatricesNameTheirMechanismsAndLayers)
{
    Prepare(2, 1, 3);
    ComputeAllModes(store);
    TMMEEForm window(document, dialogs, navigation);
    window.show();
    auto* mm = window.findChild<MatrixGrid*>(QStringLiteral("MMGrid"));
    auto* ee = window.findChild<MatrixGrid*>(QStringLiteral("EEGrid"));
    ASSERT_TRUE(mm && ee);
    EXPECT_EQ(CellDescription(mm, 2, 0), QStringLiteral("Строка 3: Механизм 3. Столбец 1: Механизм 1."));
    EXPECT_EQ(CellDescription(ee, 1, 1), QStringLiteral("Строка 2: Эшелон 2. Столбец 2: Эшелон 2."));
}

TEST_F(ScreenReader, ChartsSayWhatTheyShow)
{
    Prepare(2, 3, 2);
    TGraphForm& mode = Open(AnalysisMode::Reliability);
    store.MT(1, 2) = 0.75f;
    SetThresholds(mode, QStringLiteral("0.2"), QStringLiteral("0.5"));
    Compute(mode);
    const QString modeChart = mode.centralWidget()->accessibleDescription();
    EXPECT_TRUE(modeChart.startsWith(QStringLiteral("Трёхмерная диаграмма матрицы результата 2 × 2")))
        << modeChart.toStdString();
    EXPECT_TRUE(modeChart.endsWith(QStringLiteral("пороги 0.20 и 0.50."))) << modeChart.toStdString();

    ComputeAllModes(store);
    TMMEEForm damage(document, dialogs, navigation);
    damage.show();
    const QString mm = damage.findChild<QWidget*>(QStringLiteral("MMGroupBox"))->accessibleDescription();
    const QString largest = damage.findChild<QLabel*>(QStringLiteral("MMMax"))->text();
    EXPECT_TRUE(mm.contains(QStringLiteral("2 из 2 элементов"))) << mm.toStdString();
    ASSERT_FALSE(largest.isEmpty());
    EXPECT_TRUE(mm.contains(QStringLiteral("наибольший ") + largest)) << mm.toStdString();

    TRatingForm rating(document, dialogs, navigation);
    rating.show();
    rating.grab();
    const QString before = rating.centralWidget()->accessibleDescription();
    EXPECT_TRUE(before.startsWith(QStringLiteral("Графики не построены"))) << before.toStdString();
    for (const char* list : { "LayersList", "ThreatsList", "MechanismsList" })
        rating.findChild<QListWidget*>(QString::fromLatin1(list))->item(1)->setCheckState(Qt::Checked);
    rating.findChild<QLineEdit*>(QStringLiteral("HighLevelEdit"))->setText(QStringLiteral("2"));
    rating.findChild<QLineEdit*>(QStringLiteral("LowLevelEdit"))->setText(QStringLiteral("0.5"));
    rating.grab();
    const QString drawn = rating.centralWidget()->accessibleDescription();
    EXPECT_TRUE(drawn.contains(QStringLiteral("угрозы «Угроза 2» для эшелона «Эшелон 2» и механизма «Механизм 2»")))
        << drawn.toStdString();
    EXPECT_TRUE(drawn.contains(QStringLiteral("Уровни ущерба: высокий 2, текущий 1.0, низкий 0.5")))
        << drawn.toStdString();
}

} // namespace
