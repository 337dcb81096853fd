// The sensitivity window's table at a hundred items per list: a million triples. What the
// analyst waits for once the ranking has arrived: the table filled and sorted, a sort by
// another column, the filter, and the switch between Rm and Re.
#include "ui/windows/Sensitivity.h"

#include "RandomAssessment.h"
#include "analysis/Derived.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/document/Document.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <benchmark/benchmark.h>

#include <memory>
#include <optional>
#include <string>

namespace {

class SilentDialogs : public IDialogs {
public:
    void ShowMessage(const std::string&) override { }
    void ShowInformation(const std::string&) override { }
    CloseAnswer AskSaveChanges(QWidget*) override { return CloseAnswer::Cancel; }
    std::optional<QString> AskOpenFile(QWidget*, const FileDialogOptions&) override { return std::nullopt; }
    std::optional<QString> AskSaveFile(QWidget*, const FileDialogOptions&) override { return std::nullopt; }
    std::optional<QString> AskName(QWidget*, const QString&, const QString&) override { return std::nullopt; }
};

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

void BM_SensitivitySortByColumn(benchmark::State& state)
{
    RankedWindow ranked(100);
    ranked.Window->show();
    ranked.Rank();
    QTableView* table = ranked.Table();
    int column = static_cast<int>(state.range(0));
    bool ascending = true;
    for (auto _ : state) {
        table->sortByColumn(column, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
        ascending = !ascending;
        QApplication::processEvents();
    }
}
// The names (compared by their order, not as texts) and a number column.
BENCHMARK(BM_SensitivitySortByColumn)->Arg(2)->Arg(7)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SensitivityFilter(benchmark::State& state)
{
    RankedWindow ranked(100);
    ranked.Window->show();
    ranked.Rank();
    auto* filter = ranked.Window->findChild<QLineEdit*>(QStringLiteral("FilterEdit"));
    bool narrow = true;
    for (auto _ : state) {
        // A tenth of the threats, then every row again.
        filter->setText(narrow ? QStringLiteral("Угроза 1") : QString());
        QTest::keyClick(filter, Qt::Key_Return);
        narrow = !narrow;
        QApplication::processEvents();
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
