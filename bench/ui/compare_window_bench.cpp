// The comparison window at a hundred items per list. What the analyst waits for: from the
// chosen file to the window filled and painted (the file read, both assessments analysed,
// the tables and the chart), and the filter of the changed judgements. Two random
// assessments differ in every judgement: 60,000 rows in the list.
#include "ui/windows/Compare.h"

#include "RandomAssessment.h"
#include "WindowBench.h"
#include "analysis/Derived.h"
#include "model/Messages.h"
#include "ui/document/Document.h"

#include <QApplication>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

struct Compared {
    AssessmentDocument Document;
    SilentDialogs Dialogs;
    QTemporaryDir Folder;
    std::string Other;
    std::unique_ptr<TCompareForm> Window;

    // `differing`: the other file is another random assessment; else the same one with one
    // judgement changed.
    Compared(int items, bool differing)
    {
        Document.Store() = RandomAssessment(items, 2208);
        ComputeAllModes(Document.Store());
        CData other = differing ? RandomAssessment(items, 4416) : Document.Store();
        if (!differing)
            other.MT(0, 0) = 0.5f * other.MT(0, 0) + 0.25f;
        Other = Folder.filePath(QStringLiteral("other.sav")).toStdString();
        other.SaveToFile(Other, Dialogs);
        Window = std::make_unique<TCompareForm>(Document, Dialogs, nullptr);
    }

    QTableView* Changes() const { return Window->findChild<QTableView*>(QStringLiteral("ChangesTable")); }
};

void BM_CompareWithFile(benchmark::State& state)
{
    Compared compared(static_cast<int>(state.range(0)), state.range(1) != 0);
    for (auto _ : state) {
        if (!compared.Window->CompareWith(compared.Other))
            state.SkipWithError("the file was not compared");
        compared.Window->repaint();
        QApplication::processEvents();
    }
    state.counters["changed"] = compared.Changes()->model()->rowCount();
}
BENCHMARK(BM_CompareWithFile)
    ->Args({ 15, 1 })
    ->Args({ 100, 0 })
    ->Args({ 100, 1 })
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_CompareFilter(benchmark::State& state)
{
    Compared compared(100, true);
    compared.Window->CompareWith(compared.Other);
    auto* filter = compared.Window->findChild<QLineEdit*>(QStringLiteral("FilterEdit"));
    bool narrow = true;
    for (auto _ : state) {
        filter->setText(narrow ? QStringLiteral("mt угроза 1") : QString());
        narrow = !narrow;
        QApplication::processEvents();
    }
}
BENCHMARK(BM_CompareFilter)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
