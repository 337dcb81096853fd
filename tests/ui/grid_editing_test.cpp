// The source grid as a spreadsheet: pasting a block, copying from every grid, and the
// window's history of typed and pasted cells.
#include "GraphWindowFixture.h"

#include <QClipboard>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QUndoStack>

namespace {

class GridEditing : public GraphWindowFixture {
protected:
    // Mode 1, MT (3 mechanisms x 2 threats) shown, the current cell at (row, column).
    TGraphForm& OpenReliability(int row = 0, int column = 0)
    {
        Prepare(1, 2, 3);
        TGraphForm& window = Open(AnalysisMode::Reliability);
        Choose(window, 0);
        Grid(window)->setCurrentIndex(Grid(window)->Model().index(row, column));
        return window;
    }
    static QString Text(const TGraphForm& window, int row, int column)
    {
        return Grid(window)->Model().Text(row, column);
    }
    static float Element(const TGraphForm& window, int row, int column)
    {
        return window.Work().SourceMatrices[0](row, column);
    }
    static void SendKey(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers)
    {
        QTest::keyClick(target, key, modifiers);
        QApplication::processEvents();
    }
};

TEST_F(GridEditing, APasteWritesWhatPassesTheChecksAndNamesTheFirstCellRefused)
{
    TGraphForm& window = OpenReliability(0, 0);
    document.SetSaved(true);
    // Three rows of three cells onto a 3 x 2 grid: the third column falls off the edge.
    QApplication::clipboard()->setText(QStringLiteral(" 0,25\t1.5\t0.1\r\n\t0.75 \t0.2\r\nслово\t1\t0.3\r\n"));
    SendKey(Grid(window), Qt::Key_V, Qt::ControlModifier);

    EXPECT_EQ(Element(window, 0, 0), 0.25f);
    EXPECT_EQ(Text(window, 0, 0), QStringLiteral("0.25"));
    EXPECT_EQ(Element(window, 0, 1), 0.0f) << "1.5 is outside [0..1]";
    EXPECT_EQ(Text(window, 0, 1), QStringLiteral("0.00"));
    EXPECT_EQ(Element(window, 1, 0), 0.0f) << "an empty cell leaves its element alone";
    EXPECT_EQ(Element(window, 1, 1), 0.75f);
    EXPECT_EQ(Element(window, 2, 0), 0.0f) << "a word is no number";
    EXPECT_EQ(Element(window, 2, 1), 1.0f);
    EXPECT_EQ(store.MT(1, 1), 0.0f) << "nothing reaches the store before a computation";
    EXPECT_FALSE(document.IsSaved());
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0],
        "Не вставлено значений: 2. Первое из них — «1.5» в строке «Механизм 1», столбце «Угроза 2»: Значение должно "
        "находиться в интервале [0..1].\n"
        "Блок не помещается в таблицу: строки и столбцы за её краем не вставлены.");
}

TEST_F(GridEditing, APasteStartsAtTheCurrentCellAndIsOneStepOfTheHistory)
{
    TGraphForm& window = OpenReliability(1, 1);
    window.PasteText(QStringLiteral("0.5\n0.6"));
    EXPECT_TRUE(dialogs.Messages.empty());
    EXPECT_EQ(Element(window, 1, 1), 0.5f);
    EXPECT_EQ(Element(window, 2, 1), 0.6f);
    EXPECT_EQ(window.History().count(), 1);

    SendKey(Grid(window), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Element(window, 1, 1), 0.0f);
    EXPECT_EQ(Element(window, 2, 1), 0.0f);
    EXPECT_EQ(Text(window, 2, 1), QStringLiteral("0.00"));
    SendKey(Grid(window), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Element(window, 2, 1), 0.6f);
    EXPECT_EQ(Text(window, 2, 1), QStringLiteral("0.60"));
    SendKey(Grid(window), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); // undo's other redo key...
    EXPECT_EQ(Element(window, 2, 1), 0.6f) << "nothing left to redo";
}

TEST_F(GridEditing, UndoPutsBackATypedCellsElementAndText)
{
    TGraphForm& window = OpenReliability();
    TypeIntoCell(window, 0, 1, QStringLiteral("0.4"));
    LeaveCell(window);
    TypeIntoCell(window, 2, 0, QStringLiteral("1"));
    LeaveCell(window);
    ASSERT_EQ(window.History().count(), 2) << "the characters of one cell are one step";

    SendKey(Grid(window), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Element(window, 2, 0), 0.0f);
    EXPECT_EQ(Text(window, 2, 0), QStringLiteral("0.00"));
    EXPECT_EQ(Element(window, 0, 1), 0.4f);
    SendKey(Grid(window), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Element(window, 0, 1), 0.0f);
    EXPECT_EQ(Text(window, 0, 1), QStringLiteral("0.00"));
    SendKey(Grid(window), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Element(window, 0, 1), 0.4f);
    EXPECT_EQ(Text(window, 0, 1), QStringLiteral("0.4"));

    // Undo from inside an open cell is the window's too, and closes the cell first.
    TypeIntoCell(window, 1, 1, QStringLiteral("0.9"));
    SendKey(KeyTarget(Grid(window)), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Element(window, 1, 1), 0.0f);
    EXPECT_EQ(Text(window, 1, 1), QStringLiteral("0.00"));
}

// A refused character empties the cell and keeps the element: undo brings the cell's
// text back as well.
TEST_F(GridEditing, UndoOfARefusedValueBringsBackTheText)
{
    TGraphForm& window = OpenReliability();
    TypeIntoCell(window, 0, 0, QStringLiteral("1"));
    TypeIntoCell(window, 0, 0, QStringLiteral("5"));
    LeaveCell(window);
    ASSERT_EQ(Text(window, 0, 0), QString());
    ASSERT_EQ(Element(window, 0, 0), 1.0f);
    window.History().undo();
    EXPECT_EQ(Text(window, 0, 0), QStringLiteral("0.00"));
    EXPECT_EQ(Element(window, 0, 0), 0.0f);
}

TEST_F(GridEditing, HistoryShowsTheSourceItChanges)
{
    TGraphForm& window = OpenReliability();
    window.PasteText(QStringLiteral("0.5"));
    Choose(window, 1);
    window.History().undo();
    EXPECT_EQ(Child<QComboBox>(window, "MassivComboBox")->currentIndex(), 0);
    EXPECT_EQ(Grid(window)->Model().rowCount(), 3) << "MT is shown again";
    EXPECT_EQ(Element(window, 0, 0), 0.0f);
}

TEST_F(GridEditing, CopyingAResultBlockGivesTabsAndDecimalCommas)
{
    Prepare(2, 2, 2);
    TGraphForm& window = Open(AnalysisMode::Reliability);
    Choose(window, 0);
    window.PasteText(QStringLiteral("1\t0\n0\t1")); // MT
    Choose(window, 1);
    window.PasteText(QStringLiteral("0.5\t1\n1\t0.5")); // TE
    SetThresholds(window, QStringLiteral("0.2"), QStringLiteral("0.5"));
    Compute(window);
    MatrixGrid* results = Results(window);
    results->setFocus();
    results->selectionModel()->select(QItemSelection(results->Model().index(0, 0), results->Model().index(2, 1)),
        QItemSelectionModel::ClearAndSelect);
    SendKey(results, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("1,12\t0,50\r\n1,12\t1,00\r\n\t1,12\r\n"));

    // What is copied pastes back: the same numbers into the source grid.
    Choose(window, 0);
    Grid(window)->setCurrentIndex(Grid(window)->Model().index(0, 0));
    window.PasteText(QStringLiteral("0,50\t1,00\r\n"));
    EXPECT_TRUE(dialogs.Messages.empty());
    EXPECT_EQ(window.Work().SourceMatrices[0](0, 0), 0.5f);
    EXPECT_EQ(window.Work().SourceMatrices[0](0, 1), 1.0f);
}

TEST_F(GridEditing, PasteIsRefusedWhereNothingCanBeTyped)
{
    Prepare(1, 1, 1);
    TGraphForm& window = Open(AnalysisMode::WeightedDamage);
    window.PasteText(QStringLiteral("5"));
    EXPECT_EQ(window.History().count(), 0);
    EXPECT_TRUE(dialogs.Messages.empty());
}

} // namespace
