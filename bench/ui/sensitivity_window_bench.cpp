// The sensitivity window's table at a hundred items per list: a million triples. What the
// analyst waits for once the ranking has arrived: the table filled and sorted, a click on
// a column's head, the filter, and the switch between Rm and Re.
#include "ui/windows/Sensitivity.h"

#include "RandomAssessment.h"
#include "WindowBench.h"
#include "analysis/Derived.h"
#include "ui/document/Document.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

struct RankedWindow {
    AssessmentDocument Document;
    SilentDialogs Dialogs;
    std::unique_ptr<TSensitivityForm> Window;

    explicit RankedWindow(int items)
    {
        Document.Store() = RandomAssessment(items, 2208);
        ComputeAllModes(Document.Store());
        Window = std::make_unique<TSensitivityForm>(Document, Dialogs, nullptr);
    }

    // From the press of "Пересчитать" to the table filled, sorted and painted.
    void Rank()
    {
        Window->Recompute();
        while (!Window->HasRanking())
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        QApplication::processEvents();
    }
    QTableView* Table() const { return Window->findChild<QTableView*>(QStringLiteral("RankingTable")); }
};

void BM_SensitivityRankAndFill(benchmark::State& state)
{
    RankedWindow ranked(static_cast<int>(state.range(0)));
    ranked.Window->show();
    for (auto _ : state)
        ranked.Rank();
    state.counters["rows"] = ranked.Table()->model()->rowCount();
}
BENCHMARK(BM_SensitivityRankAndFill)->Arg(15)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();

// A click on a column's head, through the event loop until the table is painted again.
// Each click is the first on its column (the table sorted by rank before it, untimed), so
// it sorts all million rows; a second click on the same column only turns the order round.
void BM_SensitivityHeaderClick(benchmark::State& state)
{
    RankedWindow ranked(100);
    ranked.Window->show();
    if (!QTest::qWaitForWindowExposed(ranked.Window.get())) {
        state.SkipWithError("the window was not shown");
        return;
    }
    ranked.Rank();
    QTableView* table = ranked.Table();
    QHeaderView* header = table->horizontalHeader();
    const int column = static_cast<int>(state.range(0));
    const bool second = state.range(1) != 0;
    const QPoint head(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
    PaintedWait wait;
    for (auto _ : state) {
        state.PauseTiming();
        table->sortByColumn(second ? column : 0, Qt::AscendingOrder);
        const bool ready = wait.Run();
        state.ResumeTiming();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, head);
        if (!ready || !wait.Run()) {
            state.SkipWithError("the event loop did not settle");
            return;
        }
    }
    const Qt::SortOrder expected = second ? Qt::DescendingOrder : Qt::AscendingOrder;
    if (header->sortIndicatorSection() != column || header->sortIndicatorOrder() != expected)
        state.SkipWithError("the click did not sort by the column");
}
// Columns 2 and 3, a threat's and a mechanism's name; 4, the smallest Rm (the ranking's
// order scattered); 7, the swing of Rm (the ranking's own order).
BENCHMARK(BM_SensitivityHeaderClick)
    ->ArgNames({ "column", "second" })
    ->Args({ 2, 0 })
    ->Args({ 3, 0 })
    ->Args({ 4, 0 })
    ->Args({ 7, 0 })
    ->Args({ 2, 1 })
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_SensitivityFilter(benchmark::State& state)
{
    RankedWindow ranked(100);
    ranked.Window->show();
    ranked.Rank();
    auto* filter = ranked.Window->findChild<QLineEdit*>(QStringLiteral("FilterEdit"));
    PaintedWait wait;
    bool narrow = true;
    for (auto _ : state) {
        // A tenth of the threats, then every row again; Enter filters without the wait
        // for the next key.
        filter->setText(narrow ? QStringLiteral("Угроза 1") : QString());
        QTest::keyClick(filter, Qt::Key_Return);
        narrow = !narrow;
        if (!wait.Run()) {
            state.SkipWithError("the event loop did not settle");
            return;
        }
    }
}
BENCHMARK(BM_SensitivityFilter)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SensitivitySwitchIndicator(benchmark::State& state)
{
    RankedWindow ranked(100);
    ranked.Window->show();
    ranked.Rank();
    auto* combo = ranked.Window->findChild<QComboBox*>(QStringLiteral("IndicatorCombo"));
    for (auto _ : state) {
        combo->setCurrentIndex(1 - combo->currentIndex());
        QApplication::processEvents();
    }
}
BENCHMARK(BM_SensitivitySwitchIndicator)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
