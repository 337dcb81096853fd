// A keyboard-only analyst reaches every control: Tab walks through a grid's cells and out of
// it, Ctrl+Tab leaves at once, and choosing a source with the arrow keys leaves the focus on
// the choice.
#include "GraphWindowFixture.h"
#include "RecordingNavigation.h"
#include "ui/windows/MMEE.h"

#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string FocusName()
{
    QWidget* focus = QApplication::focusWidget();
    // An open cell's editor stands for its grid.
    while (focus && focus->objectName().isEmpty())
        focus = focus->parentWidget();
    return focus ? focus->objectName().toStdString() : std::string("(none)");
}

void Activate(QWidget& window)
{
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

class KeyboardTest : public GraphWindowFixture { };

TEST_F(KeyboardTest, TabLeavesASourceGridAfterItsLastCellAndShiftTabBeforeItsFirst)
{
    struct Case {
        const char* what;
        int row, column;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool typeFirst; // a cell open for typing when the key comes
        const char* focus;
        int currentRow, currentColumn; // where the grid's cursor is when the focus stays
    };
    const Case cases[] = {
        { "Tab inside", 0, 0, Qt::Key_Tab, Qt::NoModifier, false, "MassivGrid", 0, 1 },
        { "Tab at the end of a row", 0, 1, Qt::Key_Tab, Qt::NoModifier, false, "MassivGrid", 1, 0 },
        { "Tab after the last cell", 1, 1, Qt::Key_Tab, Qt::NoModifier, false, "ComputingButton", 1, 1 },
        { "Tab after the last cell, typing", 1, 1, Qt::Key_Tab, Qt::NoModifier, true, "ComputingButton", 1, 1 },
        { "Shift+Tab before the first cell", 0, 0, Qt::Key_Backtab, Qt::ShiftModifier, false, "ThresholdEdit2", 0, 0 },
        { "Shift+Tab inside", 1, 0, Qt::Key_Backtab, Qt::ShiftModifier, false, "MassivGrid", 0, 1 },
        { "Ctrl+Tab inside", 0, 0, Qt::Key_Tab, Qt::ControlModifier, false, "ComputingButton", 0, 0 },
        { "Ctrl+Tab inside, typing", 0, 1, Qt::Key_Tab, Qt::ControlModifier, true, "ComputingButton", 0, 1 },
        { "Ctrl+Shift+Tab inside", 1, 1, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, false,
            "ThresholdEdit2", 1, 1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Prepare(2, 2, 2);
        TGraphForm& window = Open(AnalysisMode::Damage);
        Activate(window);
        Choose(window, 0);
        MatrixGrid* grid = Grid(window);
        grid->setFocus();
        if (c.typeFirst)
            TypeIntoCell(window, c.row, c.column, QStringLiteral("7"));
        else
            grid->setCurrentIndex(grid->Model().index(c.row, c.column));
        QTest::keyClick(KeyTarget(grid), c.key, c.modifiers);
        QApplication::processEvents();

        EXPECT_EQ(FocusName(), c.focus);
        EXPECT_EQ(grid->currentIndex().row(), c.currentRow);
        EXPECT_EQ(grid->currentIndex().column(), c.currentColumn);
        if (c.typeFirst) {
            // The typed value is kept, not lost with the closed cell.
            EXPECT_EQ(grid->Model().Text(c.row, c.column), QStringLiteral("7"));
            EXPECT_EQ(window.Work().SourceMatrices[0](c.row, c.column), 7.0f);
        }
        windows.clear();
        store = CData();
    }
}

TEST_F(KeyboardTest, TabWalksTheWholeSourceWindowFromTheChoiceBackToIt)
{
    Prepare(1, 1, 1);
    TGraphForm& window = Open(AnalysisMode::Reliability);
    Activate(window);
    Choose(window, 0);
    Child<QComboBox>(window, "MassivComboBox")->setFocus();
    // Each control once, a grid for as many Tabs as it has cells.
    std::vector<std::string> visited;
    for (int k = 0; k < 30 && visited.size() < 12; ++k) {
        if (visited.empty() || visited.back() != FocusName())
            visited.push_back(FocusName());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QApplication::processEvents();
    }
    const std::vector<std::string> expected { "MassivComboBox", "ThresholdEdit1", "ThresholdEdit2", "MassivGrid",
        "ComputingButton", "ResGrid", "CommentButton", "BackButton", "GraphCtrlButton", "MassivComboBox",
        "ThresholdEdit1", "ThresholdEdit2" };
    // Next is disabled before a computation, so Tab passes over it.
    EXPECT_EQ(visited, expected);
}

TEST_F(KeyboardTest, ArrowKeysOnTheClosedChoiceLeaveTheFocusThereAndShowTheSource)
{
    Prepare(2, 3, 1);
    TGraphForm& window = Open(AnalysisMode::Reliability);
    Activate(window);
    auto* choice = Child<QComboBox>(window, "MassivComboBox");
    choice->setFocus();
    QTest::keyClick(choice, Qt::Key_Down);
    QApplication::processEvents();
    EXPECT_EQ(FocusName(), "MassivComboBox");
    EXPECT_EQ(Grid(window)->Model().rowCount(), 1); // MT: mechanisms x threats
    EXPECT_EQ(Grid(window)->Model().columnCount(), 3);
    QTest::keyClick(choice, Qt::Key_Down);
    QApplication::processEvents();
    EXPECT_EQ(FocusName(), "MassivComboBox");
    EXPECT_EQ(Grid(window)->Model().rowCount(), 3); // TE: threats x layers
    EXPECT_EQ(Grid(window)->Model().columnCount(), 2);
}

TEST_F(KeyboardTest, TheMMEEWindowCanBeLeftByTab)
{
    Prepare(2, 1, 2);
    store.ReliabilityME.Resize(2, 2);
    store.WeightedDamageEM.Resize(2, 2);
    TMMEEForm window(document, dialogs, navigation);
    Activate(window);
    auto* mm = window.findChild<MatrixGrid*>(QStringLiteral("MMGrid"));
    ASSERT_NE(mm, nullptr);
    mm->setFocus();
    std::vector<std::string> visited;
    for (int k = 0; k < 10; ++k) {
        visited.push_back(FocusName());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QApplication::processEvents();
    }
    // Four cells each: three Tabs inside, the fourth leaves.
    const std::vector<std::string> expected { "MMGrid", "MMGrid", "MMGrid", "MMGrid", "EEGrid", "EEGrid", "EEGrid",
        "EEGrid", "BackButton", "NextButton" };
    EXPECT_EQ(visited, expected);
}

} // namespace

// Enter closes an open cell at once: closed later, after the grid had closed the cell for a
// key that came before the event loop ran (Ctrl+Tab here), Qt warned of an editor that was
// not its view's. The typed value is kept either way.
TEST_F(KeyboardTest, EnterClosesTheOpenCellAtOnce)
{
    static std::vector<QString> warnings;
    warnings.clear();
    const QtMessageHandler previous
        = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
              if (type != QtDebugMsg && type != QtInfoMsg && text.contains(QLatin1String("editor")))
                  warnings.push_back(text);
          });
    Prepare(2, 2, 2);
    TGraphForm& window = Open(AnalysisMode::Damage);
    Activate(window);
    Choose(window, 0);
    MatrixGrid* grid = Grid(window);
    grid->setFocus();
    TypeIntoCell(window, 0, 1, QStringLiteral("7"));
    QWidget* editor = KeyTarget(grid);
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_FALSE(editor->isVisible());
    QTest::keyClick(KeyTarget(grid), Qt::Key_Tab, Qt::ControlModifier);
    QApplication::processEvents();
    qInstallMessageHandler(previous);

    EXPECT_TRUE(warnings.empty()) << warnings.front().toStdString();
    EXPECT_EQ(grid->Model().Text(0, 1), QStringLiteral("7"));
    EXPECT_EQ(window.Work().SourceMatrices[0](0, 1), 7.0f);
    EXPECT_EQ(FocusName(), "ComputingButton");
}
