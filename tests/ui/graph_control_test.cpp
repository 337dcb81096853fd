// The chart cell selection window: which box stands for which chart cell, how a
// computation enables the boxes, and which changes ask the owner to repaint its chart.
#include "ui/windows/GraphControl.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace {

// The places of the boxes inside the group box, as the analysts know the window.
constexpr int kLefts[15] = { 18, 32, 46, 60, 74, 88, 102, 116, 130, 144, 158, 172, 186, 200, 214 };
constexpr int kTops[15] = { 27, 39, 51, 63, 75, 88, 101, 113, 125, 137, 149, 162, 175, 187, 200 };

QCheckBox* BoxNamed(const TGraphCtrl& window, int n)
{
    return window.findChild<QCheckBox*>(QStringLiteral("CheckBox%1").arg(n));
}

QPushButton* CloseButtonOf(const TGraphCtrl& window)
{
    return window.findChild<QPushButton*>(QStringLiteral("CloseButton"));
}

// The cells whose boxes are enabled, and those whose boxes are ticked.
std::set<std::pair<int, int>> EnabledCells(const TGraphCtrl& window)
{
    std::set<std::pair<int, int>> cells;
    for (int row = 0; row < 15; ++row)
        for (int column = 0; column < 15; ++column)
            if (window.CellBox(row, column)->isEnabled())
                cells.insert({ row, column });
    return cells;
}

std::set<std::pair<int, int>> TickedCells(const TGraphCtrl& window)
{
    std::set<std::pair<int, int>> cells;
    const CellSelection selection = window.Selection();
    for (int row = 0; row < 15; ++row)
        for (int column = 0; column < 15; ++column)
            if (selection[row][column])
                cells.insert({ row, column });
    return cells;
}

void ClickBox(QCheckBox* box)
{
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, box->rect().center());
}

TEST(GraphControl, StartsWithEveryBoxDisabledAndClearAndNoChart)
{
    TGraphCtrl window;
    EXPECT_EQ(window.ChartMode(), 0);
    EXPECT_TRUE(EnabledCells(window).empty());
    EXPECT_TRUE(TickedCells(window).empty());
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.findChildren<QCheckBox*>().size(), 225);
}

TEST(GraphControl, WindowGeometryAndControls)
{
    TGraphCtrl window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Vardun 2.2"));
    EXPECT_EQ(window.size(), QSize(261, 266));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_EQ(window.pos(), QPoint(195, 114));
    EXPECT_EQ(window.windowType(), Qt::Tool);
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(window.isModal());

    const auto* group = window.findChild<QGroupBox*>(QStringLiteral("GroupBox2"));
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->geometry(), QRect(9, 4, 240, 221));
    EXPECT_TRUE(group->title().isEmpty());

    const QPushButton* close = CloseButtonOf(window);
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->text(), QStringLiteral("Закрыть"));
    EXPECT_EQ(close->geometry(), QRect(96, 232, 75, 25));

    // A few number labels: the first and a two-digit one of each kind, and the font of
    // the column numbers, which must be small enough for "10" to fit between its boxes.
    struct LabelCase {
        const char* name;
        const char* text;
        QPoint place;
        bool columnNumber;
    };
    const LabelCase labels[] = {
        { "Label11", "1", { 6, 25 }, false },
        { "Label13", "5", { 6, 74 }, false },
        { "Label21", "10", { 4, 136 }, false },
        { "Label49", "14", { 3, 185 }, false },
        { "Label16", "1", { 20, 10 }, true },
        { "Label23", "5", { 77, 10 }, true },
        { "Label30", "10", { 142, 10 }, true },
        { "Label55", "15", { 215, 10 }, true },
    };
    for (const LabelCase& c : labels) {
        const auto* label = window.findChild<QLabel*>(QString::fromLatin1(c.name));
        ASSERT_NE(label, nullptr) << c.name;
        EXPECT_EQ(label->parentWidget(), group) << c.name;
        EXPECT_EQ(label->text(), QString::fromLatin1(c.text)) << c.name;
        EXPECT_EQ(label->pos(), c.place) << c.name;
        EXPECT_EQ(label->font().pixelSize(), c.columnNumber ? 8 : window.font().pixelSize()) << c.name;
    }
    EXPECT_LT(window.findChild<QLabel*>(QStringLiteral("Label30"))->geometry().right(), kLefts[10]);
}

TEST(GraphControl, EachBoxSitsAtItsCellsPlaceAndIsNumberedRowByRow)
{
    TGraphCtrl window;
    const auto* group = window.findChild<QGroupBox*>(QStringLiteral("GroupBox2"));
    for (int row = 0; row < 15; ++row) {
        for (int column = 0; column < 15; ++column) {
            const QCheckBox* box = window.CellBox(row, column);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box, BoxNamed(window, 15 * row + column + 1)) << row << ", " << column;
            EXPECT_EQ(box->parentWidget(), group);
            EXPECT_EQ(box->geometry(), QRect(kLefts[column], kTops[row], 10, 10)) << row << ", " << column;
            EXPECT_TRUE(box->text().isEmpty());
        }
    }
    // Table row 11, column 6.
    EXPECT_EQ(window.CellBox(10, 5)->objectName(), QStringLiteral("CheckBox156"));
    EXPECT_EQ(window.CellBox(10, 5)->geometry(), QRect(88, 149, 10, 10));
    EXPECT_EQ(window.CellBox(15, 0), nullptr);
    EXPECT_EQ(window.CellBox(0, -1), nullptr);
}

TEST(GraphControl, TheBoxIsDrawnWholeInsideItsTenPixels)
{
    TGraphCtrl window;
    window.EnableCells(1, 1);
    QCheckBox* box = window.CellBox(0, 0);
    const QImage image = box->grab().toImage();
    ASSERT_EQ(image.size(), QSize(10, 10));
    // The frame is closed on all four sides: the right column and the bottom row have the
    // colour of the left column and the top row. A style's larger box shows only its
    // top-left part here, with the tick running off the edges.
    for (int i = 1; i < 9; ++i) {
        EXPECT_EQ(image.pixelColor(9, i), image.pixelColor(0, i)) << "row " << i;
        EXPECT_EQ(image.pixelColor(i, 9), image.pixelColor(i, 0)) << "column " << i;
    }
    EXPECT_EQ(box->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box), 10);
}

// CheckBox numbers of the first `columns` columns in every row of the table.
std::set<int> LeftColumns(int columns)
{
    std::set<int> boxes;
    for (int row = 0; row < 15; ++row)
        for (int column = 0; column < columns; ++column)
            boxes.insert(15 * row + column + 1);
    return boxes;
}

TEST(GraphControl, EnableCellsTicksTheResultsCellsThatHaveABox)
{
    struct Case {
        int rows;
        int cols;
        std::set<int> boxes; // CheckBox numbers
    };
    const Case cases[] = {
        { 3, 2, { 1, 2, 16, 17, 31, 32 } },
        { 1, 15, { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15 } },
        { 2, 1, { 1, 16 } },
        { 0, 4, {} },
        { -1, 3, {} },
        { 15, 15, LeftColumns(15) },
        // Lists loaded from files can be longer than the table: the extra cells have no box.
        { 16, 16, LeftColumns(15) },
        { 40, 2, LeftColumns(2) },
    };
    for (const Case& c : cases) {
        TGraphCtrl window;
        window.ShowForMode(AnalysisMode::Damage);
        QSignalSpy toggled(&window, &TGraphCtrl::cellToggled);
        window.EnableCells(c.rows, c.cols);

        std::set<std::pair<int, int>> expected;
        for (int n : c.boxes)
            expected.insert({ (n - 1) / 15, (n - 1) % 15 });
        EXPECT_EQ(EnabledCells(window), expected) << c.rows << " x " << c.cols;
        EXPECT_EQ(TickedCells(window), expected) << c.rows << " x " << c.cols;
        // The owner repaints after its computation anyway.
        EXPECT_EQ(toggled.count(), 0) << c.rows << " x " << c.cols;
    }
}

TEST(GraphControl, EnableCellsLeavesBoxesOutsideTheResultAsTheyAre)
{
    TGraphCtrl window;
    window.EnableCells(4, 4);
    window.show();
    ClickBox(window.CellBox(3, 3));
    ASSERT_FALSE(window.CellBox(3, 3)->isChecked());

    window.EnableCells(2, 2);
    EXPECT_TRUE(window.CellBox(3, 3)->isEnabled());
    EXPECT_FALSE(window.CellBox(3, 3)->isChecked());
    EXPECT_TRUE(window.CellBox(3, 2)->isChecked());
    EXPECT_FALSE(window.CellBox(4, 4)->isEnabled());
}

TEST(GraphControl, ShowForModeRemembersTheModeAndShowsTheWindow)
{
    TGraphCtrl window;
    window.ShowForMode(AnalysisMode::Frequency);
    EXPECT_EQ(window.ChartMode(), 3);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.isModal());
    window.ShowForMode(AnalysisMode::Reliability);
    EXPECT_EQ(window.ChartMode(), 1);
    EXPECT_TRUE(window.isVisible());
}

// Mouse and keyboard: both are the analyst changing a box.
TEST(GraphControl, AnalystsToggleAsksForARepaintOnlyWhileAChartIsServed)
{
    struct Case {
        const char* how;
        bool mouse;
        bool modeSet;
    };
    const Case cases[] = {
        { "click, mode set", true, true },
        { "space, mode set", false, true },
        { "click, mode 0", true, false },
        { "space, mode 0", false, false },
    };
    for (const Case& c : cases) {
        TGraphCtrl window;
        window.EnableCells(3, 3);
        if (c.modeSet)
            window.ShowForMode(AnalysisMode::WeightedDamage);
        else
            window.show();
        QSignalSpy toggled(&window, &TGraphCtrl::cellToggled);
        QCheckBox* box = window.CellBox(2, 1);
        const auto press = [&] {
            if (c.mouse)
                ClickBox(box);
            else
                QTest::keyClick(box, Qt::Key_Space);
        };

        press();
        CellSelection expected {};
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 3; ++column)
                expected[row][column] = true;
        expected[2][1] = false;
        EXPECT_EQ(window.Selection(), expected) << c.how;
        EXPECT_EQ(toggled.count(), c.modeSet ? 1 : 0) << c.how;

        press();
        expected[2][1] = true;
        EXPECT_EQ(window.Selection(), expected) << c.how;
        EXPECT_EQ(toggled.count(), c.modeSet ? 2 : 0) << c.how;
    }
}

TEST(GraphControl, ADisabledBoxDoesNotToggle)
{
    TGraphCtrl window;
    window.EnableCells(1, 1);
    window.ShowForMode(AnalysisMode::Reliability);
    QSignalSpy toggled(&window, &TGraphCtrl::cellToggled);
    ClickBox(window.CellBox(1, 1));
    QTest::keyClick(window.CellBox(1, 1), Qt::Key_Space);
    EXPECT_FALSE(window.CellBox(1, 1)->isChecked());
    EXPECT_EQ(toggled.count(), 0);
}

TEST(GraphControl, TwoWindowsKeepTheirOwnSelections)
{
    TGraphCtrl first;
    TGraphCtrl second;
    first.EnableCells(2, 2);
    second.EnableCells(2, 2);
    first.ShowForMode(AnalysisMode::Reliability);
    second.ShowForMode(AnalysisMode::Damage);
    QSignalSpy firstToggled(&first, &TGraphCtrl::cellToggled);
    QSignalSpy secondToggled(&second, &TGraphCtrl::cellToggled);

    ClickBox(second.CellBox(0, 1));
    EXPECT_TRUE(first.Selection()[0][1]);
    EXPECT_FALSE(second.Selection()[0][1]);
    EXPECT_EQ(firstToggled.count(), 0);
    EXPECT_EQ(secondToggled.count(), 1);
}

TEST(GraphControl, EnterEscapeAndTheButtonHideTheWindowWithTheSelectionKept)
{
    enum How { Enter, Escape, Button, FrameClose };
    for (How how : { Enter, Escape, Button, FrameClose }) {
        TGraphCtrl window;
        window.EnableCells(2, 2);
        window.ShowForMode(AnalysisMode::Damage);
        ClickBox(window.CellBox(1, 0));
        const CellSelection before = window.Selection();
        QCheckBox* focused = window.CellBox(0, 0);
        switch (how) {
        case Enter:
            QTest::keyClick(focused, Qt::Key_Return);
            break;
        case Escape:
            QTest::keyClick(focused, Qt::Key_Escape);
            break;
        case Button:
            QTest::mouseClick(CloseButtonOf(window), Qt::LeftButton);
            break;
        case FrameClose:
            window.close();
            break;
        }
        EXPECT_FALSE(window.isVisible()) << how;
        EXPECT_EQ(window.Selection(), before) << how;
        EXPECT_EQ(window.ChartMode(), 2) << how;
        // Enter must not have toggled the focused box on its way to the button.
        EXPECT_TRUE(window.CellBox(0, 0)->isChecked()) << how;

        window.ShowForMode(AnalysisMode::Damage);
        EXPECT_TRUE(window.isVisible()) << how;
        EXPECT_EQ(window.Selection(), before) << how;
        EXPECT_TRUE(window.CellBox(1, 1)->isEnabled()) << how;
    }
}

TEST(GraphControl, AssistiveTechnologySeesAWindowAndNamedControls)
{
    TGraphCtrl window;
    window.EnableCells(3, 5);
    window.ShowForMode(AnalysisMode::Reliability);

    QAccessibleInterface* self = QAccessible::queryAccessibleInterface(&window);
    ASSERT_NE(self, nullptr);
    EXPECT_EQ(self->role(), QAccessible::Dialog);
    EXPECT_EQ(self->text(QAccessible::Name), QStringLiteral("Vardun 2.2"));

    QAccessibleInterface* box = QAccessible::queryAccessibleInterface(window.CellBox(2, 4));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->role(), QAccessible::CheckBox);
    EXPECT_EQ(box->text(QAccessible::Name), QStringLiteral("Строка 3, столбец 5"));
    EXPECT_TRUE(box->state().checked);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(window.CellBox(14, 9))->text(QAccessible::Name),
        QStringLiteral("Строка 15, столбец 10"));

    QAccessibleInterface* close = QAccessible::queryAccessibleInterface(CloseButtonOf(window));
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->role(), QAccessible::Button);
    EXPECT_EQ(close->text(QAccessible::Name), QStringLiteral("Закрыть"));

    for (QWidget* child : window.findChildren<QWidget*>()) {
        QAccessibleInterface* control = QAccessible::queryAccessibleInterface(child);
        ASSERT_NE(control, nullptr) << child->objectName().toStdString();
        EXPECT_FALSE(control->text(QAccessible::Name).isEmpty()) << child->objectName().toStdString();
    }
}

// A screen reader's toggle action is the analyst's change too.
TEST(GraphControl, ToggleThroughAssistiveTechnologyAsksForARepaint)
{
    TGraphCtrl window;
    window.EnableCells(1, 2);
    window.ShowForMode(AnalysisMode::Reliability);
    QSignalSpy toggled(&window, &TGraphCtrl::cellToggled);

    QAccessibleInterface* box = QAccessible::queryAccessibleInterface(window.CellBox(0, 1));
    ASSERT_NE(box, nullptr);
    QAccessibleActionInterface* actions = box->actionInterface();
    ASSERT_NE(actions, nullptr);
    ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::toggleAction()));
    actions->doAction(QAccessibleActionInterface::toggleAction());
    QCoreApplication::processEvents();
    EXPECT_FALSE(window.Selection()[0][1]);
    EXPECT_EQ(toggled.count(), 1);
}

} // namespace
