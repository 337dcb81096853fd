// The sensitivity window, opened from the rating window: the ranking it shows against the
// core's, sorting and filtering, choosing a triple for the rating window, cancelling, the
// notice when the store changes, the CSV export, and the keyboard.
#include "ui/windows/Sensitivity.h"

#include "../core/support/RandomAssessment.h"
#include "RecordingNavigation.h"
#include "ScriptedDialogs.h"
#include "Typing.h"
#include "analysis/Derived.h"
#include "analysis/Format.h"
#include "analysis/Sensitivity.h"
#include "model/Csv.h"
#include "model/Data.h"
#include "ui/document/Document.h"
#include "ui/widgets/ChartView.h"
#include "ui/windows/Rating.h"

#include <QAbstractItemModel>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

struct RefuseMessages : IMessageSink {
    void ShowMessage(const std::string& text) override { ADD_FAILURE() << text; }
};

enum Column {
    kRank,
    kLayer,
    kThreat,
    kMechanism,
    kRmMin,
    kRmAtZero,
    kRmMax,
    kRmSwing,
    kReMin,
    kReAtZero,
    kReMax,
    kReSwing
};

// Lets the worker and the queued reports run until `done` holds; false after a generous
// wait (the ranking of the example takes milliseconds).
bool WaitFor(const std::function<bool()>& done, int ms = 20000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// Press and release, then the double click as the window system reports it. QTest's own
// double click reaches an item view offscreen as a press only.
void DoubleClick(QAbstractItemView* view, QPoint at)
{
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, at, view->viewport()->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
        Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &dbl);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);
}

class SensitivityWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RefuseMessages sink;
        ASSERT_TRUE(store.LoadFromFile(VARDUN_TEST_DATA "/example.sav", sink));
        ComputeAllModes(store);
    }

    // The rating window and its sensitivity window, opened with the button, the ranking
    // done.
    TSensitivityForm& Open()
    {
        rating = std::make_unique<TRatingForm>(document, dialogs, navigation);
        rating->show();
        auto* button = rating->findChild<QPushButton*>(QStringLiteral("SensitivityButton"));
        EXPECT_TRUE(button && button->isEnabled());
        QTest::mouseClick(button, Qt::LeftButton);
        TSensitivityForm* window = rating->SensitivityWindow();
        EXPECT_NE(window, nullptr);
        EXPECT_TRUE(window->isVisible());
        EXPECT_TRUE(WaitFor([window] { return window->HasRanking(); }));
        return *window;
    }

    template <class Widget> static Widget* Find(QWidget& window, const char* name)
    {
        auto* widget = window.findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    static QTableView* Table(QWidget& window) { return Find<QTableView>(window, "RankingTable"); }
    static QString Cell(QWidget& window, int row, int column)
    {
        const QAbstractItemModel* model = Table(window)->model();
        return model->data(model->index(row, column)).toString();
    }
    static int Rows(QWidget& window) { return Table(window)->model()->rowCount(); }
    static QString Status(QWidget& window) { return Find<QLabel>(window, "StatusLabel")->text(); }

    QString Name(ItemKind kind, int k) const { return QString::fromStdString(store.AnalysedName(kind, k)); }

    // Row by row, the names and every value as the table shows them.
    void ExpectShown(QWidget& window, const std::vector<TripleSensitivity>& expected)
    {
        ASSERT_EQ(Rows(window), static_cast<int>(expected.size()));
        for (int row = 0; row < Rows(window); ++row) {
            const TripleSensitivity& t = expected[static_cast<std::size_t>(row)];
            SCOPED_TRACE(row);
            EXPECT_EQ(Cell(window, row, kRank), QString::number(row + 1));
            EXPECT_EQ(Cell(window, row, kLayer), Name(ItemKind::Layer, t.Triple.Layer));
            EXPECT_EQ(Cell(window, row, kThreat), Name(ItemKind::Threat, t.Triple.Threat));
            EXPECT_EQ(Cell(window, row, kMechanism), Name(ItemKind::Mechanism, t.Triple.Mechanism));
            const float values[]
                = { t.Rm.Min, t.Rm.AtZero, t.Rm.Max, t.Rm.Swing(), t.Re.Min, t.Re.AtZero, t.Re.Max, t.Re.Swing() };
            for (int k = 0; k < 8; ++k)
                EXPECT_EQ(Cell(window, row, kRmMin + k).toStdString(), FormatFixed(values[k], 2)) << k;
        }
    }

    AssessmentDocument document;
    CData& store = document.Store();
    ScriptedDialogs dialogs;
    RecordingNavigation navigation;
    std::unique_ptr<TRatingForm> rating;
    QTemporaryDir temp;
};

TEST_F(SensitivityWindowTest, ShowsTheCoresRankingOfEveryTripleInOrderForRmAndForRe)
{
    TSensitivityForm& window = Open();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Чувствительность"));
    SensitivityResult expected = RankSensitivity(store);
    ASSERT_EQ(expected.Ranking.size(), 4u * 8u * 6u);
    ExpectShown(window, expected.Ranking);
    EXPECT_EQ(Status(window), QStringLiteral("Троек: 192, показано: 192."));
    EXPECT_FALSE(Find<QProgressBar>(window, "ProgressBar")->isVisible());

    // The chart says what it draws and names the widest swing.
    const TripleSensitivity& top = expected.Ranking.front();
    const QString description = Find<ChartView>(window, "TornadoChart")->accessibleDescription();
    EXPECT_TRUE(description.contains(QString::fromStdString(FormatFixed(top.Rm.Swing(), 2))))
        << description.toStdString();
    EXPECT_TRUE(description.contains(Name(ItemKind::Threat, top.Triple.Threat))) << description.toStdString();

    Find<QComboBox>(window, "IndicatorCombo")->setCurrentIndex(1);
    EXPECT_EQ(window.Indicator(), RatingKind::Re);
    RankBySwing(expected.Ranking, RatingKind::Re);
    ExpectShown(window, expected.Ranking);
    const TripleSensitivity& topRe = expected.Ranking.front();
    EXPECT_TRUE(Find<ChartView>(window, "TornadoChart")
                    ->accessibleDescription()
                    .contains(QString::fromStdString(FormatFixed(topRe.Re.Swing(), 2))));
}

TEST_F(SensitivityWindowTest, SortsByEveryColumnByValueAndFiltersByTheNames)
{
    TSensitivityForm& window = Open();
    QTableView* table = Table(window);
    const int rows = Rows(window);
    for (int column = kRank; column <= kReSwing; ++column) {
        for (Qt::SortOrder order : { Qt::AscendingOrder, Qt::DescendingOrder }) {
            table->sortByColumn(column, order);
            ASSERT_EQ(Rows(window), rows);
            for (int row = 1; row < rows; ++row) {
                const QString a = Cell(window, row - 1, column), b = Cell(window, row, column);
                SCOPED_TRACE(::testing::Message() << "column " << column << " row " << row);
                if (column >= kLayer && column <= kMechanism) {
                    EXPECT_TRUE(order == Qt::AscendingOrder ? a <= b : a >= b);
                } else {
                    // By value, not by text: "10" after "9".
                    const double x = a.toDouble(), y = b.toDouble();
                    EXPECT_TRUE(order == Qt::AscendingOrder ? x <= y : x >= y)
                        << a.toStdString() << " " << b.toStdString();
                }
            }
        }
    }

    // Every word must be in one of the three names; case does not matter.
    table->sortByColumn(kRank, Qt::AscendingOrder);
    QLineEdit* filter = Find<QLineEdit>(window, "FilterEdit");
    filter->setFocus();
    TypeText(filter, QStringLiteral("вредоносное ЩИТ"));
    ASSERT_TRUE(WaitFor([&] { return Rows(window) < rows; }));
    EXPECT_EQ(Rows(window), 0);
    filter->clear();
    ASSERT_TRUE(WaitFor([&] { return Rows(window) == rows; }));
    TypeText(filter, QStringLiteral("вредоносное антивирус"));
    ASSERT_TRUE(WaitFor([&] { return Rows(window) < rows; }));
    // One threat, one mechanism, every layer.
    ASSERT_EQ(Rows(window), 4);
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(Cell(window, row, kThreat), QStringLiteral("Вредоносное ПО"));
        EXPECT_EQ(Cell(window, row, kMechanism), QStringLiteral("Антивирус"));
        if (row > 0) {
            EXPECT_LT(Cell(window, row - 1, kRank).toInt(), Cell(window, row, kRank).toInt());
        }
    }
    EXPECT_EQ(Status(window), QStringLiteral("Троек: 192, показано: 4."));
    filter->clear();
    ASSERT_TRUE(WaitFor([&] { return Rows(window) == rows; }));
}

TEST_F(SensitivityWindowTest, ADoubleClickOrEnterSelectsTheTripleInTheRatingWindow)
{
    TSensitivityForm& window = Open();
    QTableView* table = Table(window);
    const SensitivityResult expected = RankSensitivity(store);
    auto* layers = Find<QListWidget>(*rating, "LayersList");
    auto* threats = Find<QListWidget>(*rating, "ThreatsList");
    auto* mechanisms = Find<QListWidget>(*rating, "MechanismsList");
    const auto expectChosen = [&](const RatingSelection& t) {
        EXPECT_EQ(layers->currentRow(), t.Layer);
        EXPECT_EQ(threats->currentRow(), t.Threat);
        EXPECT_EQ(mechanisms->currentRow(), t.Mechanism);
        for (auto [list, row] : { std::pair { layers, t.Layer }, { threats, t.Threat }, { mechanisms, t.Mechanism } })
            for (int k = 0; k < list->count(); ++k)
                EXPECT_EQ(list->item(k)->checkState() == Qt::Checked, k == row) << k;
    };

    const QRect third = table->visualRect(table->model()->index(2, kLayer));
    DoubleClick(table, third.center());
    expectChosen(expected.Ranking[2].Triple);
    // With the levels stored, the curves are drawn for the chosen triple.
    EXPECT_TRUE(Find<QPushButton>(*rating, "ComputeButton")->isEnabled());

    table->setFocus();
    table->setCurrentIndex(table->model()->index(7, kRank));
    QTest::keyClick(table, Qt::Key_Return);
    expectChosen(expected.Ranking[7].Triple);
}

TEST_F(SensitivityWindowTest, CancelStopsTheWorkAndLeavesAUsableWindow)
{
    store = RandomAssessment(100, 7);
    ComputeAllModes(store);
    rating = std::make_unique<TRatingForm>(document, dialogs, navigation);
    rating->show();
    QTest::mouseClick(Find<QPushButton>(*rating, "SensitivityButton"), Qt::LeftButton);
    TSensitivityForm& window = *rating->SensitivityWindow();
    ASSERT_TRUE(window.Computing());
    EXPECT_TRUE(Find<QProgressBar>(window, "ProgressBar")->isVisible());
    auto* cancel = Find<QPushButton>(window, "CancelButton");
    ASSERT_TRUE(cancel->isEnabled());
    int shown = 0;
    QObject::connect(&window, &TSensitivityForm::rankingShown, [&shown] { ++shown; });
    QTest::mouseClick(cancel, Qt::LeftButton);
    EXPECT_FALSE(window.Computing());
    EXPECT_FALSE(cancel->isEnabled());
    EXPECT_FALSE(Find<QProgressBar>(window, "ProgressBar")->isVisible());
    EXPECT_EQ(Status(window), QStringLiteral("Расчёт прерван: нажмите «Пересчитать»."));
    // Whatever the worker still reports is not shown.
    QTest::qWait(300);
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(Rows(window), 0);

    // Pressed again, the ranking runs to its end.
    QTest::mouseClick(Find<QPushButton>(window, "RecomputeButton"), Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return window.HasRanking(); }, 60000));
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(Rows(window), 100 * 100 * 100);
    const SensitivityResult expected = RankSensitivity(store);
    for (int row : { 0, 1, 500000, 999999 }) {
        const TripleSensitivity& t = expected.Ranking[static_cast<std::size_t>(row)];
        EXPECT_EQ(Cell(window, row, kLayer), Name(ItemKind::Layer, t.Triple.Layer)) << row;
        EXPECT_EQ(Cell(window, row, kThreat), Name(ItemKind::Threat, t.Triple.Threat)) << row;
        EXPECT_EQ(Cell(window, row, kMechanism), Name(ItemKind::Mechanism, t.Triple.Mechanism)) << row;
    }

    // Closing the window while it computes stops the work too.
    window.Recompute();
    ASSERT_TRUE(window.Computing());
    window.close();
    EXPECT_FALSE(window.Computing());
}

TEST_F(SensitivityWindowTest, SaysTheRankingIsOutOfDateWhenTheStoreChangedAndRecomputes)
{
    TSensitivityForm& window = Open();
    EXPECT_FALSE(window.OutOfDate());
    // The analyst went back, recomputed mode 3 with another frequency, and came forward.
    rating->hide();
    EXPECT_FALSE(window.isVisible());
    store.EF(0, 0) += 1.0f;
    ComputeAllModes(store);
    rating->show();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.OutOfDate());
    EXPECT_EQ(Status(window), QStringLiteral("Результаты устарели: нажмите «Пересчитать»."));
    // The old ranking stays in view until the new one comes.
    EXPECT_EQ(Rows(window), 192);

    QTest::mouseClick(Find<QPushButton>(window, "RecomputeButton"), Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return window.HasRanking(); }));
    EXPECT_FALSE(window.OutOfDate());
    ExpectShown(window, RankSensitivity(store).Ranking);

    // A change while both windows are up counts once the document says the data changed.
    store.WeightedDamageMax *= 2.0f;
    document.MarkModified();
    EXPECT_TRUE(window.OutOfDate());
}

TEST_F(SensitivityWindowTest, ExportsTheTableAsShownToCsv)
{
    TSensitivityForm& window = Open();
    QTableView* table = Table(window);
    table->sortByColumn(kReSwing, Qt::DescendingOrder);
    const QString path = temp.filePath(QStringLiteral("ranking.csv"));
    dialogs.FileAnswers.push_back(path);
    QTest::mouseClick(Find<QPushButton>(window, "ExportButton"), Qt::LeftButton);
    ASSERT_EQ(dialogs.FileRequests.size(), 1u);
    EXPECT_TRUE(dialogs.FileRequests[0].Save);
    EXPECT_EQ(dialogs.FileRequests[0].Options.DefaultExtension, QStringLiteral("csv"));
    EXPECT_TRUE(dialogs.Messages.empty());

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    const QString text = QString::fromUtf8(bytes.mid(3));
    QStringList lines = text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1 + 192);
    const auto fields = [](const QString& line) {
        QStringList cells = line.split(QLatin1Char(';'));
        for (QString& cell : cells)
            cell = cell.mid(1, cell.size() - 2);
        return cells;
    };
    EXPECT_EQ(fields(lines[0]),
        QStringList({ QStringLiteral("Эшелон / угроза / МЗ"), QStringLiteral("№"), QStringLiteral("Rm мин."),
            QStringLiteral("Rm при 0"), QStringLiteral("Rm макс."), QStringLiteral("Rm размах"),
            QStringLiteral("Re мин."), QStringLiteral("Re при 0"), QStringLiteral("Re макс."),
            QStringLiteral("Re размах") }));
    for (int row = 0; row < 192; ++row) {
        const QStringList cells = fields(lines[row + 1]);
        ASSERT_EQ(cells.size(), 10);
        EXPECT_EQ(cells[0],
            Cell(window, row, kLayer) + QStringLiteral(" / ") + Cell(window, row, kThreat) + QStringLiteral(" / ")
                + Cell(window, row, kMechanism));
        EXPECT_EQ(cells[1], Cell(window, row, kRank));
        // Numbers in full, with a decimal comma: the table's two decimals are their rounding.
        for (int k = 0; k < 8; ++k) {
            QString number = cells[2 + k];
            number.replace(QLatin1Char(','), QLatin1Char('.'));
            EXPECT_EQ(FormatFixed(number.toFloat(), 2), Cell(window, row, kRmMin + k).toStdString());
        }
    }

    // The same from the table's context menu, with the filter applied.
    TypeText(Find<QLineEdit>(window, "FilterEdit"), QStringLiteral("Фишинг"));
    ASSERT_TRUE(WaitFor([&] { return Rows(window) == 24; }));
    EXPECT_EQ(window.TableCsv().RowNames.size(), 24u);
}

TEST_F(SensitivityWindowTest, TabReachesEveryControlAndEachHasAnAccessibleName)
{
    TSensitivityForm& window = Open();
    window.activateWindow();
    auto* combo = Find<QComboBox>(window, "IndicatorCombo");
    combo->setFocus();
    std::vector<QString> order;
    for (int k = 0; k < 12; ++k) {
        QWidget* focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr);
        order.push_back(focused->objectName());
        QTest::keyClick(focused, Qt::Key_Tab);
    }
    // The cancel button is enabled only while computing; the chart takes no focus.
    const std::vector<QString> cycle
        = { QStringLiteral("IndicatorCombo"), QStringLiteral("FilterEdit"), QStringLiteral("RecomputeButton"),
              QStringLiteral("RankingTable"), QStringLiteral("ExportButton"), QStringLiteral("CloseButton") };
    for (std::size_t k = 0; k < order.size(); ++k)
        EXPECT_EQ(order[k], cycle[k % cycle.size()]) << k;

    // Down and Enter in the table choose without leaving it.
    QTableView* table = Table(window);
    table->setFocus();
    QTest::keyClick(table, Qt::Key_Down);
    QTest::keyClick(table, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), table);

    // What assistive technology announces: a button's caption, a label's buddy's, or a name
    // of its own.
    int controls = 0;
    for (QWidget* widget : window.centralWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!(widget->focusPolicy() & Qt::TabFocus))
            continue;
        ++controls;
        QAccessibleInterface* about = QAccessible::queryAccessibleInterface(widget);
        ASSERT_NE(about, nullptr);
        EXPECT_FALSE(about->text(QAccessible::Name).isEmpty()) << widget->objectName().toStdString();
    }
    EXPECT_EQ(controls, 7);
    EXPECT_FALSE(Find<ChartView>(window, "TornadoChart")->accessibleName().isEmpty());
    EXPECT_FALSE(Find<ChartView>(window, "TornadoChart")->accessibleDescription().isEmpty());
    EXPECT_FALSE(Find<QProgressBar>(window, "ProgressBar")->accessibleName().isEmpty());
}

TEST_F(SensitivityWindowTest, OneWindowPerRatingWindowFromTheButtonAndTheMenuOnlyWithItemsToRank)
{
    TSensitivityForm& window = Open();
    auto* action = rating->findChild<QAction*>(QStringLiteral("SensitivityAction"));
    ASSERT_NE(action, nullptr);
    EXPECT_TRUE(action->isEnabled());
    window.close();
    EXPECT_FALSE(window.isVisible());
    action->trigger();
    EXPECT_EQ(rating->SensitivityWindow(), &window);
    EXPECT_TRUE(window.isVisible());
    // The ranking was done: it is not made again.
    EXPECT_FALSE(window.Computing());

    AssessmentDocument empty;
    TRatingForm bare(empty, dialogs, navigation);
    EXPECT_FALSE(Find<QPushButton>(bare, "SensitivityButton")->isEnabled());
    EXPECT_FALSE(bare.findChild<QAction*>(QStringLiteral("SensitivityAction"))->isEnabled());
}

} // namespace
