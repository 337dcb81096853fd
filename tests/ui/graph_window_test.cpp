// The source-matrix window: choosing and editing a source with its key and range rules,
// the thresholds, the computation with its result grid and chart boxes, and its buttons.
#include "analysis/Format.h"
#include "analysis/Modes.h"
#include "model/NumberText.h"
#include "ui/windows/GraphControl.h"

#include "GraphWindowFixture.h"
#include "RecordingCanvas.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QShowEvent>
#include <QSignalSpy>
#include <QtTest/qtestspontaneevent.h>

namespace {

class GraphWindowTest : public GraphWindowFixture { };

QString CellText(const TGraphForm& window, int row, int column)
{
    return GraphWindowFixture::Grid(window)->Model().Text(row, column);
}

TEST_F(GraphWindowTest, SetUpForEachModeGivesItsCaptionsAndSourcesAndLeavesTheGridClosed)
{
    Prepare(2, 3, 4);
    struct Case {
        AnalysisMode Mode;
        const char* Item0;
        const char* Result;
        const char* Columns;
        const char* Rows;
    };
    const Case cases[] = {
        { AnalysisMode::Reliability, "Матрица достоверности <МЗ-угрозы> MT:",
            "Матрица достоверности активации МЗ <МЗ-эшелоны>", "Распределение Xi по эшелонам", "по МЗ" },
        { AnalysisMode::Damage, "Матрица потенциального ущерба <эшелоны-угрозы> ET:",
            "Матрица потенциального ущерба <эшелоны-МЗ>", "Распределение Xi по МЗ", "по эшелонам" },
        { AnalysisMode::Frequency, "Матрица частоты активации угроз <эшелоны-угрозы> EF:",
            "Матрица частоты активации угроз <эшелоны-МЗ>", "Распределение Xi по МЗ", "по эшелонам" },
        { AnalysisMode::WeightedDamage, nullptr, "Матрица ОПУ <эшелоны-МЗ>(с учётом ЧАУ)", "Распределение Xi по МЗ",
            "по эшелонам" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ModeNumber(c.Mode));
        TGraphForm& window = Open(c.Mode);
        auto* combo = Child<QComboBox>(window, "MassivComboBox");
        if (c.Item0) {
            ASSERT_EQ(combo->count(), 2);
            EXPECT_EQ(combo->itemText(0), QString::fromUtf8(c.Item0));
            EXPECT_EQ(combo->currentIndex(), -1);
            EXPECT_TRUE(combo->isEnabled());
        } else {
            EXPECT_EQ(combo->count(), 0);
            EXPECT_FALSE(combo->isEnabled());
        }
        EXPECT_FALSE(Grid(window)->isEnabled());
        EXPECT_FALSE(Child<QPushButton>(window, "NextButton")->isEnabled());
        EXPECT_EQ(Child<QLabel>(window, "ResMassivLabel")->text(), QString::fromUtf8(c.Result));
        EXPECT_EQ(Child<QLabel>(window, "XZLabel")->text(), QString::fromUtf8(c.Columns));
        EXPECT_EQ(Child<QLabel>(window, "YZLabel")->text(), QString::fromUtf8(c.Rows));
        EXPECT_EQ(window.size(), QSize(791, 533));
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Без имени — Vardun 2.2"));
    }
}

TEST_F(GraphWindowTest, ChoosingASourceSizesAndFillsTheGridAndNamesTheFirstCell)
{
    Prepare(2, 3, 4);
    store.MT(3, 2) = 0.25f;
    store.TE(2, 1) = 0.125f;
    TGraphForm& window = Open(AnalysisMode::Reliability);

    Choose(window, 0); // MT: mechanisms x threats
    MatrixGrid* grid = Grid(window);
    EXPECT_TRUE(grid->isEnabled());
    EXPECT_EQ(grid->Model().rowCount(), 4);
    EXPECT_EQ(grid->Model().columnCount(), 3);
    EXPECT_EQ(CellText(window, 3, 2), QStringLiteral("0.25"));
    EXPECT_EQ(CellText(window, 0, 0), QStringLiteral("0.00"));
    EXPECT_EQ(Child<QLabel>(window, "ColLabel")->text(), QStringLiteral("Столбец 1: Угроза 1."));
    EXPECT_EQ(Child<QLabel>(window, "RowLabel")->text(), QStringLiteral("Строка 1: Механизм 1."));

    Choose(window, 1); // TE: threats x layers
    EXPECT_EQ(grid->Model().rowCount(), 3);
    EXPECT_EQ(grid->Model().columnCount(), 2);
    EXPECT_EQ(CellText(window, 2, 1), QStringLiteral("0.13"));
    EXPECT_EQ(Child<QLabel>(window, "ColLabel")->text(), QStringLiteral("Столбец 1: Эшелон 1."));

    grid->setCurrentIndex(grid->Model().index(2, 1));
    EXPECT_EQ(Child<QLabel>(window, "ColLabel")->text(), QStringLiteral("Столбец 2: Эшелон 2."));
    EXPECT_EQ(Child<QLabel>(window, "RowLabel")->text(), QStringLiteral("Строка 3: Угроза 3."));
}

// Each character counts at once: 1 is taken, then 15 is refused, the cell emptied and the
// element keeps the 1.
TEST_F(GraphWindowTest, TypedValuesAreCheckedAtEveryCharacter)
{
    Prepare(1, 1, 1);
    TGraphForm& window = Open(AnalysisMode::Reliability);
    Choose(window, 0);
    TypeIntoCell(window, 0, 0, QStringLiteral("1"));
    EXPECT_EQ(window.Work().SourceMatrices[0](0, 0), 1.0f);
    EXPECT_TRUE(dialogs.Messages.empty());
    TypeIntoCell(window, 0, 0, QStringLiteral("5"));
    EXPECT_EQ(dialogs.Messages, std::vector<std::string> { "Значение должно находиться в интервале [0..1]." });
    EXPECT_EQ(window.Work().SourceMatrices[0](0, 0), 1.0f);
    EXPECT_EQ(CellText(window, 0, 0), QString());
    EXPECT_EQ(store.MT(0, 0), 0.0f) << "nothing reaches the store before a computation";
}

TEST_F(GraphWindowTest, RangesOfTheModes)
{
    Prepare(1, 1, 1);
    struct Case {
        AnalysisMode Mode;
        const char* Typed;
        bool Taken;
        const char* Message;
    };
    const Case cases[] = {
        { AnalysisMode::Damage, "10", true, nullptr },
        { AnalysisMode::Damage, "11", false, "Значение должно находиться в интервале [0..10]." },
        { AnalysisMode::Frequency, "0", true, nullptr },
        { AnalysisMode::Reliability, "1", true, nullptr },
        { AnalysisMode::Reliability, ".5", true, nullptr }, // "." alone is 0, so typing .5 works
        { AnalysisMode::Frequency, "10.5", false, "Значение должно находиться в интервале [0..10]." },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Typed);
        dialogs.Messages.clear();
        TGraphForm& window = Open(c.Mode);
        Choose(window, 1);
        TypeIntoCell(window, 0, 0, QString::fromLatin1(c.Typed));
        const float element = window.Work().SourceMatrices[1](0, 0);
        if (c.Taken) {
            EXPECT_TRUE(dialogs.Messages.empty());
            EXPECT_EQ(element, static_cast<float>(*ParseTypedNumber(c.Typed)));
            EXPECT_EQ(CellText(window, 0, 0), QString::fromLatin1(c.Typed));
        } else {
            ASSERT_EQ(dialogs.Messages.size(), 1u);
            EXPECT_EQ(dialogs.Messages[0], c.Message);
            EXPECT_EQ(CellText(window, 0, 0), QString());
        }
    }
}

TEST_F(GraphWindowTest, TheGridTakesDigitsAndAPointOnlyAndFiveCharactersAtMost)
{
    Prepare(1, 1, 1);
    TGraphForm& window = Open(AnalysisMode::Damage);
    Choose(window, 0);
    document.SetSaved(true);
    TypeIntoCell(window, 0, 0, QStringLiteral("a"));
    EXPECT_FALSE(document.IsSaved()) << "any typed key, even one refused, counts as a change";
    EXPECT_EQ(CellText(window, 0, 0), QStringLiteral("0.00")) << "a letter opens nothing and changes nothing";
    TypeIntoCell(window, 0, 0, QStringLiteral("1-,x0"));
    EXPECT_EQ(CellText(window, 0, 0), QStringLiteral("10"));
    PressKeyInCell(window, Qt::Key_Backspace);
    PressKeyInCell(window, Qt::Key_Backspace);
    TypeIntoCell(window, 0, 0, QStringLiteral("9.999"));
    EXPECT_EQ(CellText(window, 0, 0), QStringLiteral("9.999"));
    TypeIntoCell(window, 0, 0, QStringLiteral("9"));
    EXPECT_EQ(CellText(window, 0, 0), QStringLiteral("9.999")) << "five characters take only Backspace";
    PressKeyInCell(window, Qt::Key_Backspace);
    EXPECT_EQ(CellText(window, 0, 0), QStringLiteral("9.99"));
    EXPECT_EQ(window.Work().SourceMatrices[0](0, 0), 9.99f);
    EXPECT_TRUE(dialogs.Messages.empty());

    // A cell showing five characters takes nothing but Backspace.
    LeaveCell(window);
    TGraphForm& full = Open(AnalysisMode::Damage);
    store.ET(0, 0) = 10.0f;
    full.SetUpForMode(AnalysisMode::Damage, store.Counts());
    Choose(full, 0);
    TypeIntoCell(full, 0, 0, QStringLiteral("5"));
    EXPECT_EQ(CellText(full, 0, 0), QStringLiteral("10.00"));
}

TEST_F(GraphWindowTest, ClearingACellKeepsTheElement)
{
    Prepare(1, 1, 1);
    store.TM(0, 0) = 3.0f;
    TGraphForm& window = Open(AnalysisMode::Damage);
    Choose(window, 1);
    TypeIntoCell(window, 0, 0, QStringLiteral("7"));
    ASSERT_EQ(window.Work().SourceMatrices[1](0, 0), 7.0f);
    PressKeyInCell(window, Qt::Key_Backspace);
    EXPECT_EQ(CellText(window, 0, 0), QString());
    EXPECT_EQ(window.Work().SourceMatrices[1](0, 0), 7.0f);
    EXPECT_TRUE(dialogs.Messages.empty());
}

// The grid shows the window's own copy: edits survive a change of source, unsaved.
TEST_F(GraphWindowTest, ItemOneThenItemZeroShowsTheWindowsCopy)
{
    Prepare(2, 2, 2);
    TGraphForm& window = Open(AnalysisMode::Frequency);
    Choose(window, 0);
    TypeIntoCell(window, 1, 0, QStringLiteral("4.5"));
    LeaveCell(window);
    Choose(window, 1);
    EXPECT_EQ(CellText(window, 1, 0), QStringLiteral("0.00"));
    Choose(window, 0);
    EXPECT_EQ(CellText(window, 1, 0), QStringLiteral("4.50"));
    EXPECT_EQ(store.EF(1, 0), 0.0f);
}

TEST_F(GraphWindowTest, ThresholdFailuresSayWhyAndStoreNothing)
{
    Prepare(1, 1, 1);
    store.ThresholdsOf(AnalysisMode::Damage) = { 0.2f, 0.7f };
    TGraphForm& window = Open(AnalysisMode::Damage);
    struct Case {
        const char* Small;
        const char* Medium;
        const char* Message;
        bool Emptied;
    };
    const Case cases[] = {
        { "", "0.5", "Введите пороговые значения !", false },
        { "0.3", "0.3",
            "Пороговое значение для малой величины должно меньше чем пороговое значение для средней "
            "величины!",
            false },
        { "0.0", "0.0",
            "Пороговое значение для малой величины должно меньше чем пороговое значение для средней "
            "величины!",
            false },
        { "1..", "2", "Ошика при вводе данных.", true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Small);
        dialogs.Messages.clear();
        SetThresholds(window, QString::fromLatin1(c.Small), QString::fromLatin1(c.Medium));
        Compute(window);
        EXPECT_EQ(dialogs.Messages, std::vector<std::string> { c.Message });
        EXPECT_EQ(Threshold(window, 1)->text().isEmpty() && Threshold(window, 2)->text().isEmpty(), c.Emptied);
        EXPECT_EQ(store.ThresholdsOf(AnalysisMode::Damage).Small, 0.2f);
        EXPECT_EQ(store.ThresholdsOf(AnalysisMode::Damage).Medium, 0.7f);
        EXPECT_FALSE(Child<QPushButton>(window, "NextButton")->isEnabled());
    }
}

TEST_F(GraphWindowTest, ThresholdFieldsTakeFourCharactersUnlessTextIsSelected)
{
    Prepare(1, 1, 1);
    TGraphForm& window = Open(AnalysisMode::Reliability);
    QLineEdit* edit = Threshold(window, 1);
    edit->clear();
    QTest::keyClicks(edit, "0a.-2,5");
    EXPECT_EQ(edit->text(), QStringLiteral("0.25"));
    QTest::keyClicks(edit, "9");
    EXPECT_EQ(edit->text(), QStringLiteral("0.25"));
    edit->setSelection(3, 1);
    QTest::keyClicks(edit, "7");
    EXPECT_EQ(edit->text(), QStringLiteral("0.27"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), QStringLiteral("0.2"));
}

// A computation stores the thresholds; every showing puts the stored ones back, with one
// decimal, so a threshold typed and not computed is gone.
TEST_F(GraphWindowTest, ShowingPutsBackTheStoredThresholds)
{
    Prepare(1, 1, 1);
    TGraphForm& window = Open(AnalysisMode::Reliability);
    EXPECT_EQ(Threshold(window, 1)->text(), QStringLiteral("0.0"));
    EXPECT_EQ(Threshold(window, 2)->text(), QStringLiteral("0.0"));
    SetThresholds(window, QStringLiteral("0.27"), QStringLiteral("0.6"));
    Compute(window);
    ASSERT_TRUE(dialogs.Messages.empty());
    EXPECT_EQ(store.ThresholdsOf(AnalysisMode::Reliability).Small, 0.27f);

    window.hide();
    window.show();
    EXPECT_EQ(Threshold(window, 1)->text(), QStringLiteral("0.3"));
    Threshold(window, 2)->setText(QStringLiteral("0.9"));
    // Restoring from the task bar is no showing.
    QShowEvent restored;
    QSpontaneKeyEvent::setSpontaneous(&restored);
    static_cast<QObject*>(&window)->event(&restored);
    EXPECT_EQ(Threshold(window, 2)->text(), QStringLiteral("0.9"));
    window.hide();
    window.show();
    EXPECT_EQ(Threshold(window, 2)->text(), QStringLiteral("0.6"));
}

TEST_F(GraphWindowTest, AComputationFillsTheResultGridAndWritesTheStore)
{
    Prepare(2, 2, 2);
    TGraphForm& window = Open(AnalysisMode::Reliability);
    // MT = [[1, 0], [0, 1]], TE = [[0.5, 1], [1, 0.5]]
    Choose(window, 0);
    TypeIntoCell(window, 0, 0, QStringLiteral("1"));
    TypeIntoCell(window, 1, 1, QStringLiteral("1"));
    Choose(window, 1);
    TypeIntoCell(window, 0, 0, QStringLiteral(".5"));
    TypeIntoCell(window, 0, 1, QStringLiteral("1"));
    TypeIntoCell(window, 1, 0, QStringLiteral("1"));
    TypeIntoCell(window, 1, 1, QStringLiteral(".5"));
    LeaveCell(window);
    document.SetSaved(true);
    SetThresholds(window, QStringLiteral("0.2"), QStringLiteral("0.5"));
    Compute(window);
    ASSERT_TRUE(dialogs.Messages.empty());

    EXPECT_EQ(store.MT(1, 1), 1.0f);
    EXPECT_EQ(store.TE(0, 0), 0.5f);
    EXPECT_EQ(store.ReliabilityME(0, 1), 1.0f);
    EXPECT_FALSE(document.IsSaved()) << "new thresholds go into the file";
    MatrixGrid* results = Results(window);
    ASSERT_EQ(results->Model().rowCount(), 3);
    ASSERT_EQ(results->Model().columnCount(), 3);
    const char* expected[3][3] = { { "1.12", "0.50", "1.00" }, { "1.12", "1.00", "0.50" }, { "", "1.12", "1.12" } };
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) {
            EXPECT_EQ(results->Model().Text(row, column), QString::fromLatin1(expected[row][column]));
            const QColor colour
                = results->Model().data(results->Model().index(row, column), Qt::ForegroundRole).value<QColor>();
            EXPECT_EQ(colour, column == 0 || row == 2 ? QColor(0, 0, 255) : QColor(Qt::black)) << row << column;
        }
    EXPECT_EQ(results->currentIndex(), results->Model().index(2, 0));
    EXPECT_TRUE(Child<QPushButton>(window, "NextButton")->isEnabled());
}

// Mode 4 has nothing to type; its two matrices are the store's at each computation, so
// a recomputed mode 2 or 3 is never mixed with an old one.
TEST_F(GraphWindowTest, ModeFourTakesTheDamageAndFrequencyMatricesAtEachComputation)
{
    Prepare(1, 1, 2);
    store.DamageEM.Resize(1, 2);
    store.FrequencyEM.Resize(1, 2);
    store.DamageEM(0, 0) = 2;
    store.DamageEM(0, 1) = 4;
    store.FrequencyEM(0, 0) = 1;
    store.FrequencyEM(0, 1) = 2;
    TGraphForm& window = Open(AnalysisMode::WeightedDamage);
    SetThresholds(window, QStringLiteral("1"), QStringLiteral("5"));
    Compute(window);
    EXPECT_EQ(Results(window)->Model().Text(0, 1), QStringLiteral("2.00"));
    EXPECT_EQ(Results(window)->Model().Text(0, 2), QStringLiteral("8.00"));
    EXPECT_EQ(store.WeightedDamageMax, 8.0f);

    store.DamageEM(0, 1) = 5; // mode 2 computed again meanwhile
    Compute(window);
    EXPECT_EQ(Results(window)->Model().Text(0, 2), QStringLiteral("10.00"));
    EXPECT_EQ(store.WeightedDamageMax, 10.0f);
    EXPECT_EQ(store.WeightedDamageEM(0, 0), 0.2f);
    EXPECT_FALSE(Grid(window)->isEnabled());
}

TEST_F(GraphWindowTest, TheFirstComputationTicksTheChartCellsOfTheResultOnly)
{
    Prepare(2, 1, 3); // mode 1: 3 mechanisms x 2 layers
    TGraphForm& window = Open(AnalysisMode::Reliability);
    SetThresholds(window, QStringLiteral("0.2"), QStringLiteral("0.5"));
    Compute(window);
    TGraphCtrl& boxes = window.ChartSettingsWindow();
    int ticked = 0;
    for (int row = 0; row < 15; ++row)
        for (int column = 0; column < 15; ++column) {
            const bool inside = row < 3 && column < 2;
            EXPECT_EQ(boxes.CellBox(row, column)->isEnabled(), inside);
            ticked += boxes.Selection()[row][column];
        }
    EXPECT_EQ(ticked, 6);

    // A cleared box stays cleared through later computations.
    QTest::mouseClick(boxes.CellBox(1, 1), Qt::LeftButton, {}, boxes.CellBox(1, 1)->rect().center());
    ASSERT_FALSE(boxes.Selection()[1][1]);
    Compute(window);
    EXPECT_FALSE(boxes.Selection()[1][1]);
    EXPECT_TRUE(boxes.Selection()[0][0]);
    EXPECT_FALSE(Child<QLabel>(window, "PartialChartLabel")->isVisible());
}

TEST_F(GraphWindowTest, AResultLargerThanTheChartTicksItsFirstFifteenAndSaysSo)
{
    Prepare(16, 1, 16);
    TGraphForm& window = Open(AnalysisMode::Damage);
    SetThresholds(window, QStringLiteral("0.2"), QStringLiteral("0.5"));
    Compute(window);
    int ticked = 0;
    for (const auto& row : window.ChartSettingsWindow().Selection())
        for (bool cell : row)
            ticked += cell;
    EXPECT_EQ(ticked, 225);
    EXPECT_TRUE(Child<QLabel>(window, "PartialChartLabel")->isVisible());
    EXPECT_EQ(Results(window)->Model().rowCount(), 17) << "the grids show the whole matrix";
    EXPECT_EQ(Results(window)->Model().columnCount(), 17);
}

// Each window has its own boxes: a click in the mode-2 boxes repaints the mode-2 chart
// and leaves the mode-1 chart alone.
TEST_F(GraphWindowTest, ABoxClickRepaintsOnlyItsOwnChart)
{
    Prepare(2, 2, 2);
    TGraphForm& first = Open(AnalysisMode::Reliability);
    TGraphForm& second = Open(AnalysisMode::Damage);
    for (TGraphForm* window : { &first, &second }) {
        SetThresholds(*window, QStringLiteral("0.2"), QStringLiteral("0.5"));
        Compute(*window);
    }
    second.ChartSettingsWindow().ShowForMode(AnalysisMode::Damage);
    QApplication::processEvents();
    int firstPaints = 0;
    int secondPaints = 0;
    struct PaintCounter : QObject {
        int& Count;
        PaintCounter(int& count)
            : Count(count)
        {
        }
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Paint)
                ++Count;
            return false;
        }
    } firstCounter(firstPaints), secondCounter(secondPaints);
    first.centralWidget()->installEventFilter(&firstCounter);
    second.centralWidget()->installEventFilter(&secondCounter);

    QCheckBox* box = second.ChartSettingsWindow().CellBox(0, 1);
    QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
    QApplication::processEvents();
    EXPECT_GT(secondPaints, 0);
    EXPECT_EQ(firstPaints, 0);
    RecordingCanvas canvas;
    second.DrawChartOn(canvas);
    // The prisms' black edges start at the back-bottom-left corner of their cell.
    int prismsAtCell01 = 0;
    for (const Primitive& p : canvas.All(Primitive::Kind::Line))
        if (p.DrawnWith.Colour == Rgb { 0, 255, 0 } && p.A == Point { 440 + 20 - 15, 280 + 15 })
            ++prismsAtCell01;
    EXPECT_EQ(prismsAtCell01, 0);
}

TEST_F(GraphWindowTest, ButtonsMoveThroughTheWizardAndOpenTheKeyAndTheBoxes)
{
    Prepare(2, 1, 1);
    store.LayerNames = { "A", "B", "C" };
    store.LayerIndices = { "0", "2" };
    store.MechanismNames = { "M1" };
    TGraphForm& window = Open(AnalysisMode::Reliability);
    QTest::mouseClick(Child<QPushButton>(window, "BackButton"), Qt::LeftButton);
    SetThresholds(window, QStringLiteral("0.2"), QStringLiteral("0.5"));
    Compute(window);
    QTest::mouseClick(Child<QPushButton>(window, "NextButton"), Qt::LeftButton);
    EXPECT_EQ(navigation.Calls, (std::vector<std::string> { "back", "next" }));
    EXPECT_EQ(navigation.From, (std::vector<const QWidget*> { &window, &window }));

    QTest::mouseClick(Child<QPushButton>(window, "CommentButton"), Qt::LeftButton);
    EXPECT_TRUE(comments.isVisible());
    auto* xMemo = comments.findChild<QPlainTextEdit*>(QStringLiteral("XMemo"));
    auto* yMemo = comments.findChild<QPlainTextEdit*>(QStringLiteral("YMemo"));
    ASSERT_NE(xMemo, nullptr);
    EXPECT_EQ(xMemo->toPlainText(), QStringLiteral("1 - A\n2 - C"));
    EXPECT_EQ(yMemo->toPlainText(), QStringLiteral("1 - M1"));

    QTest::mouseClick(Child<QPushButton>(window, "GraphCtrlButton"), Qt::LeftButton);
    EXPECT_TRUE(window.ChartSettingsWindow().isVisible());
    EXPECT_EQ(window.ChartSettingsWindow().ChartMode(), 1);

    window.close();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(navigation.Calls.back(), "closed");
}

TEST_F(GraphWindowTest, TheTabKeyWalksTheControlsInTheirOrder)
{
    Prepare(1, 1, 1);
    TGraphForm& window = Open(AnalysisMode::Reliability);
    const char* order[] = { "MassivComboBox", "ThresholdEdit1", "ThresholdEdit2", "MassivGrid", "ComputingButton",
        "ResGrid", "CommentButton", "BackButton", "NextButton", "GraphCtrlButton" };
    QWidget* widget = Child<QWidget>(window, order[0]);
    for (std::size_t k = 1; k < std::size(order); ++k) {
        widget = widget->nextInFocusChain();
        while (!(widget->focusPolicy() & Qt::TabFocus))
            widget = widget->nextInFocusChain();
        EXPECT_EQ(widget->objectName().toStdString(), order[k]);
    }
}

TEST_F(GraphWindowTest, AssistiveTechnologyFindsTheWindowItsControlsAndTheCells)
{
    Prepare(1, 2, 1);
    store.MT(0, 1) = 0.75f;
    TGraphForm& window = Open(AnalysisMode::Reliability);
    Choose(window, 0);
    QAccessibleInterface* frame = QAccessible::queryAccessibleInterface(&window);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->role(), QAccessible::Window);
    EXPECT_EQ(frame->text(QAccessible::Name), QStringLiteral("Без имени — Vardun 2.2"));

    const std::pair<const char*, const char*> named[] = {
        { "MassivComboBox", "Исходные матрицы:" },
        { "ThresholdEdit1", "Пороговое значение для малой величины" },
        { "ThresholdEdit2", "Пороговое значение для средней величины" },
        { "MassivGrid", "Матрица достоверности <МЗ-угрозы> MT:" },
        { "ResGrid", "Матрица достоверности активации МЗ <МЗ-эшелоны>" },
        { "ComputingButton", "Расчёт" },
        { "GraphCtrlButton", "Настройка графика" },
    };
    for (const auto& [name, text] : named) {
        QAccessibleInterface* control = QAccessible::queryAccessibleInterface(Child<QWidget>(window, name));
        ASSERT_NE(control, nullptr) << name;
        EXPECT_EQ(control->text(QAccessible::Name), QString::fromUtf8(text)) << name;
    }
    QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(Grid(window));
    ASSERT_NE(grid->tableInterface(), nullptr);
    QAccessibleInterface* cell = grid->tableInterface()->cellAt(0, 1);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text(QAccessible::Name), QStringLiteral("0.75"));
}

// Back, Next or closing take the chart cell selection window away with its window; showing
// the window again brings it back.
TEST_F(GraphWindowTest, TheChartCellSelectionGoesAndComesBackWithItsWindow)
{
    Prepare(1, 1, 1);
    TGraphForm& window = Open(AnalysisMode::Reliability);
    QTest::mouseClick(Child<QPushButton>(window, "GraphCtrlButton"), Qt::LeftButton);
    ASSERT_TRUE(window.ChartSettingsWindow().isVisible());
    window.hide();
    EXPECT_FALSE(window.ChartSettingsWindow().isVisible());
    window.show();
    EXPECT_TRUE(window.ChartSettingsWindow().isVisible());

    // Closed by the analyst, it stays closed.
    window.ChartSettingsWindow().hide();
    window.hide();
    window.show();
    EXPECT_FALSE(window.ChartSettingsWindow().isVisible());
}

// A mode-4 threshold of hundreds of thousands shows from its first digit, whole in its
// tooltip, and can be typed: each mode's field takes as many characters as its results need.
TEST_F(GraphWindowTest, LongThresholdsShowTheirStartAndCanBeTyped)
{
    Prepare(2, 8, 2);
    store.ThresholdsOf(AnalysisMode::WeightedDamage) = { 15900.0f, 449000.0f };
    TGraphForm& window = Open(AnalysisMode::WeightedDamage);
    for (int k : { 1, 2 }) {
        QLineEdit* edit = Threshold(window, k);
        const QString whole = k == 1 ? QStringLiteral("15900.0") : QStringLiteral("449000.0");
        EXPECT_EQ(edit->text(), whole);
        EXPECT_EQ(edit->cursorPosition(), 0);
        EXPECT_EQ(edit->toolTip(), whole);
    }

    // Mode 4 with 8 threats reaches 640000: eight characters with the decimal.
    QLineEdit* medium = Threshold(window, 2);
    medium->clear();
    QTest::keyClicks(medium, "640000.05");
    EXPECT_EQ(medium->text(), QStringLiteral("640000.0"));
    EXPECT_EQ(medium->toolTip(), QStringLiteral("640000.0"));

    // Mode 1's results are at most 1: four characters, as always.
    TGraphForm& reliability = Open(AnalysisMode::Reliability);
    QLineEdit* small = Threshold(reliability, 1);
    small->clear();
    QTest::keyClicks(small, "0.255");
    EXPECT_EQ(small->text(), QStringLiteral("0.25"));
}

// A result too long for its cell is whole in the cell's tooltip.
TEST_F(GraphWindowTest, ResultCellsCarryTheirWholeValueInATooltip)
{
    Prepare(1, 1, 1);
    TGraphForm& window = Open(AnalysisMode::Reliability);
    MatrixGrid* results = Results(window);
    results->Model().SetText(0, 0, QStringLiteral("5480888.50"));
    EXPECT_EQ(
        results->Model().data(results->Model().index(0, 0), Qt::ToolTipRole).toString(), QStringLiteral("5480888.50"));
    EXPECT_FALSE(results->Model().data(results->Model().index(1, 1), Qt::ToolTipRole).isValid());
}

} // namespace
