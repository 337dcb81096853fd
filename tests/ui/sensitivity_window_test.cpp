// The sensitivity window, opened from the rating window: the ranking it shows against the
// core's, sorting and filtering, choosing a triple for the rating window, cancelling, the
// notice when the store changes, the CSV export, and the keyboard.
#include "ui/windows/Sensitivity.h"

#include "../core/support/RandomAssessment.h"
#include "RecordingNavigation.h"
#include "ScriptedDialogs.h"
#include "TabWalk.h"
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
#include <QAction>
#include <QApplication>
#include <QCollator>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

struct RefuseMessages : IMessageSink {
    void ShowMessage(const std::string& text) override { ADD_FAILURE() << text; }
};

// The table's columns, found by the heads the analyst reads.
struct Columns {
    int Rank = -1, Layer = -1, Threat = -1, Mechanism = -1;
    // Rm's smallest, unshifted, largest and swing, then Re's.
    std::array<int, 8> Values {};

    bool Named(int column) const { return column == Layer || column == Threat || column == Mechanism; }
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
    static Columns ColumnsOf(QWidget& window)
    {
        const QAbstractItemModel* model = Table(window)->model();
        const auto find = [model](const char* head) {
            for (int column = 0; column < model->columnCount(); ++column)
                if (model->headerData(column, Qt::Horizontal).toString() == QString::fromUtf8(head))
                    return column;
            ADD_FAILURE() << "no column " << head;
            return 0;
        };
        Columns c;
        c.Rank = find("№");
        c.Layer = find("Эшелон");
        c.Threat = find("Угроза");
        c.Mechanism = find("МЗ");
        const char* const values[]
            = { "Rm мин.", "Rm при 0", "Rm макс.", "Rm размах", "Re мин.", "Re при 0", "Re макс.", "Re размах" };
        for (std::size_t k = 0; k < c.Values.size(); ++k)
            c.Values[k] = find(values[k]);
        EXPECT_EQ(model->columnCount(), 12);
        return c;
    }
    static QString Status(QWidget& window) { return Find<QLabel>(window, "StatusLabel")->text(); }

    QString Name(ItemKind kind, int k) const { return QString::fromStdString(store.AnalysedName(kind, k)); }

    // Row by row, the names and every value as the table shows them.
    void ExpectShown(QWidget& window, const std::vector<TripleSensitivity>& expected)
    {
        ASSERT_EQ(Rows(window), static_cast<int>(expected.size()));
        const Columns col = ColumnsOf(window);
        for (int row = 0; row < Rows(window); ++row) {
            const TripleSensitivity& t = expected[static_cast<std::size_t>(row)];
            SCOPED_TRACE(row);
            EXPECT_EQ(Cell(window, row, col.Rank), QString::number(row + 1));
            EXPECT_EQ(Cell(window, row, col.Layer), Name(ItemKind::Layer, t.Triple.Layer));
            EXPECT_EQ(Cell(window, row, col.Threat), Name(ItemKind::Threat, t.Triple.Threat));
            EXPECT_EQ(Cell(window, row, col.Mechanism), Name(ItemKind::Mechanism, t.Triple.Mechanism));
            const float values[]
                = { t.Rm.Min, t.Rm.AtZero, t.Rm.Max, t.Rm.Swing(), t.Re.Min, t.Re.AtZero, t.Re.Max, t.Re.Swing() };
            for (int k = 0; k < 8; ++k)
                EXPECT_EQ(
                    Cell(window, row, col.Values[static_cast<std::size_t>(k)]).toStdString(), FormatFixed(values[k], 2))
                    << k;
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
    const Columns col = ColumnsOf(window);
    for (int column = 0; column < table->model()->columnCount(); ++column) {
        for (Qt::SortOrder order : { Qt::AscendingOrder, Qt::DescendingOrder }) {
            table->sortByColumn(column, order);
            ASSERT_EQ(Rows(window), rows);
            for (int row = 1; row < rows; ++row) {
                const QString a = Cell(window, row - 1, column), b = Cell(window, row, column);
                SCOPED_TRACE(::testing::Message() << "column " << column << " row " << row);
                if (col.Named(column)) {
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
    table->sortByColumn(col.Rank, Qt::AscendingOrder);
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
        EXPECT_EQ(Cell(window, row, col.Threat), QStringLiteral("Вредоносное ПО"));
        EXPECT_EQ(Cell(window, row, col.Mechanism), QStringLiteral("Антивирус"));
        if (row > 0) {
            EXPECT_LT(Cell(window, row - 1, col.Rank).toInt(), Cell(window, row, col.Rank).toInt());
        }
    }
    EXPECT_EQ(Status(window), QStringLiteral("Троек: 192, показано: 4."));
    filter->clear();
    ASSERT_TRUE(WaitFor([&] { return Rows(window) == rows; }));
}

// Twelve items per list: "Эшелон 2" comes before "Эшелон 10", and each name stands in 144
// rows. Every name column in both directions, unfiltered and filtered, against an order
// made here from the names themselves: ascending by name with ties in the ranking's order,
// descending the exact reverse. The chosen row and the column widths stay through it all.
TEST_F(SensitivityWindowTest, SortsByTheNamesAsNumbersReadWithTiesByRankAlsoWhenFiltered)
{
    store = RandomAssessment(12, 5);
    ComputeAllModes(store);
    TSensitivityForm& window = Open();
    const std::vector<TripleSensitivity> ranking = RankSensitivity(store).Ranking;
    ASSERT_EQ(Rows(window), 12 * 12 * 12);
    ASSERT_EQ(ranking.size(), 12u * 12u * 12u);
    QTableView* table = Table(window);
    const Columns col = ColumnsOf(window);
    std::vector<int> widths;
    for (int column = 0; column < 12; ++column)
        widths.push_back(table->columnWidth(column));

    // Russian, as the names are; numbers by value.
    QCollator collator(QLocale(QLocale::Russian, QLocale::Russia));
    collator.setNumericMode(true);
    struct NameColumn {
        int Column;
        ItemKind Kind;
    };
    const NameColumn names[]
        = { { col.Layer, ItemKind::Layer }, { col.Threat, ItemKind::Threat }, { col.Mechanism, ItemKind::Mechanism } };
    const auto nameOf = [&](const TripleSensitivity& t, ItemKind kind) {
        return Name(kind,
            kind == ItemKind::Layer        ? t.Triple.Layer
                : kind == ItemKind::Threat ? t.Triple.Threat
                                           : t.Triple.Mechanism);
    };
    // Every word of the filter in one of the triple's names, whatever the case.
    QStringList words;
    const auto kept = [&](const TripleSensitivity& t) {
        for (const QString& word : words)
            if (std::none_of(std::begin(names), std::end(names),
                    [&](const NameColumn& n) { return nameOf(t, n.Kind).contains(word, Qt::CaseInsensitive); }))
                return false;
        return true;
    };
    // The ranks, top to bottom, as the table should show them and as it does.
    const auto expected = [&](ItemKind kind, Qt::SortOrder order) {
        std::vector<int> ranks;
        for (std::size_t k = 0; k < ranking.size(); ++k)
            if (kept(ranking[k]))
                ranks.push_back(static_cast<int>(k) + 1);
        std::stable_sort(ranks.begin(), ranks.end(), [&](int a, int b) {
            return collator.compare(nameOf(ranking[static_cast<std::size_t>(a - 1)], kind),
                       nameOf(ranking[static_cast<std::size_t>(b - 1)], kind))
                < 0;
        });
        if (order == Qt::DescendingOrder)
            std::reverse(ranks.begin(), ranks.end());
        return ranks;
    };
    const auto shown = [&] {
        std::vector<int> ranks;
        for (int row = 0; row < Rows(window); ++row)
            ranks.push_back(Cell(window, row, col.Rank).toInt());
        return ranks;
    };
    const auto expectEveryOrder = [&] {
        for (const NameColumn& n : names)
            for (Qt::SortOrder order : { Qt::AscendingOrder, Qt::DescendingOrder }) {
                SCOPED_TRACE(::testing::Message() << "column " << n.Column << " order " << order);
                table->sortByColumn(n.Column, order);
                EXPECT_EQ(shown(), expected(n.Kind, order));
            }
    };
    expectEveryOrder();

    // The layers top to bottom, each once, in the order numbers are read.
    table->sortByColumn(col.Layer, Qt::AscendingOrder);
    QStringList layers;
    for (int row = 0; row < Rows(window); ++row)
        if (layers.isEmpty() || layers.back() != Cell(window, row, col.Layer))
            layers.push_back(Cell(window, row, col.Layer));
    QStringList numbered;
    for (int k = 1; k <= 12; ++k)
        numbered.push_back(QStringLiteral("Эшелон %1").arg(k));
    EXPECT_EQ(layers, numbered);

    // A row chosen, then filtered by words it holds and sorted: still the chosen one.
    words = { QStringLiteral("2"), QStringLiteral("угроза") };
    int row = 300;
    while (row < Rows(window) && !kept(ranking[static_cast<std::size_t>(Cell(window, row, col.Rank).toInt() - 1)]))
        ++row;
    ASSERT_LT(row, Rows(window));
    const QString chosen = Cell(window, row, col.Rank);
    table->setFocus();
    table->setCurrentIndex(table->model()->index(row, col.Rank));
    QLineEdit* filter = Find<QLineEdit>(window, "FilterEdit");
    TypeText(filter, QStringLiteral("2 угроза"));
    ASSERT_TRUE(WaitFor([&] { return Rows(window) < 12 * 12 * 12; }));
    expectEveryOrder();
    EXPECT_EQ(Status(window), QStringLiteral("Троек: 1728, показано: %1.").arg(Rows(window)));
    const QModelIndex current = table->currentIndex();
    ASSERT_TRUE(current.isValid());
    EXPECT_EQ(Cell(window, current.row(), col.Rank), chosen);
    const QModelIndexList selected = table->selectionModel()->selectedRows();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected[0].row(), current.row());

    // Cleared, every row comes back in the last order.
    words.clear();
    filter->clear();
    ASSERT_TRUE(WaitFor([&] { return Rows(window) == 12 * 12 * 12; }));
    EXPECT_EQ(shown(), expected(ItemKind::Mechanism, Qt::DescendingOrder));
    for (int column = 0; column < 12; ++column)
        EXPECT_EQ(table->columnWidth(column), widths[static_cast<std::size_t>(column)]) << column;
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

    const Columns col = ColumnsOf(window);
    const QRect third = table->visualRect(table->model()->index(2, col.Layer));
    DoubleClick(table, third.center());
    expectChosen(expected.Ranking[2].Triple);
    // With the levels stored, the curves are drawn for the chosen triple.
    EXPECT_TRUE(Find<QPushButton>(*rating, "ComputeButton")->isEnabled());

    table->setFocus();
    table->setCurrentIndex(table->model()->index(7, col.Rank));
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
    const Columns col = ColumnsOf(window);
    const SensitivityResult expected = RankSensitivity(store);
    for (int row : { 0, 1, 500000, 999999 }) {
        const TripleSensitivity& t = expected.Ranking[static_cast<std::size_t>(row)];
        EXPECT_EQ(Cell(window, row, col.Layer), Name(ItemKind::Layer, t.Triple.Layer)) << row;
        EXPECT_EQ(Cell(window, row, col.Threat), Name(ItemKind::Threat, t.Triple.Threat)) << row;
        EXPECT_EQ(Cell(window, row, col.Mechanism), Name(ItemKind::Mechanism, t.Triple.Mechanism)) << row;
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
    const Columns col = ColumnsOf(window);
    table->sortByColumn(col.Values[7], Qt::DescendingOrder);
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
            Cell(window, row, col.Layer) + QStringLiteral(" / ") + Cell(window, row, col.Threat) + QStringLiteral(" / ")
                + Cell(window, row, col.Mechanism));
        EXPECT_EQ(cells[1], Cell(window, row, col.Rank));
        // Numbers in full, with a decimal comma: the table's two decimals are their rounding.
        for (int k = 0; k < 8; ++k) {
            QString number = cells[2 + k];
            number.replace(QLatin1Char(','), QLatin1Char('.'));
            EXPECT_EQ(FormatFixed(number.toFloat(), 2),
                Cell(window, row, col.Values[static_cast<std::size_t>(k)]).toStdString());
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
    const std::vector<QString> order = TabWalk(12);
    ASSERT_EQ(order.size(), 12u);
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

    // What assistive technology announces, for each of the seven controls.
    EXPECT_EQ(ExpectNamedControls(*window.centralWidget()), 7);
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
