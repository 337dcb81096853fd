// The source-matrix window at 100 items per list: choosing a source (the grid filled with
// 10,000 texts), computing (product, result grid, chart boxes) and one whole repaint of
// the window, each on its own so that a slow step shows.
#include "analysis/Derived.h"
#include "model/Messages.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/document/Document.h"
#include "ui/widgets/ChartView.h"
#include "ui/widgets/Navigation.h"
#include "ui/windows/Comment.h"
#include "ui/windows/Graph.h"

#include "RandomAssessment.h"

#include <QImage>
#include <QUndoStack>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

struct NoDialogs : IDialogs {
    void ShowMessage(const std::string& text) override { throw std::runtime_error(text); }
    void ShowInformation(const std::string&) override { }
    CloseAnswer AskSaveChanges(QWidget*) override { return CloseAnswer::Cancel; }
    std::optional<QString> AskOpenFile(QWidget*, const FileDialogOptions&) override { return std::nullopt; }
    std::optional<QString> AskSaveFile(QWidget*, const FileDialogOptions&) override { return std::nullopt; }
    std::optional<QString> AskName(QWidget*, const QString&, const QString&) override { return std::nullopt; }
};

// A mode-1 window on an assessment of `items` analysed items per list, shown.
struct GraphWindowBench {
    explicit GraphWindowBench(int items)
    {
        document.Store() = RandomAssessment(items, 7);
        window = std::make_unique<TGraphForm>(document, dialogs, navigation, comments);
        window->SetUpForMode(AnalysisMode::Reliability, document.Store().Counts());
        window->show();
    }

    AssessmentDocument document;
    NoDialogs dialogs;
    StillNavigation navigation;
    TCommentForm comments { document.Store() };
    std::unique_ptr<TGraphForm> window;
};

void GraphWindowChooseSource(benchmark::State& state)
{
    GraphWindowBench bench(static_cast<int>(state.range(0)));
    int item = 0;
    for (auto _ : state) {
        bench.window->MassivComboBoxChange(item);
        item = 1 - item;
    }
}
BENCHMARK(GraphWindowChooseSource)->Arg(15)->Arg(100)->Unit(benchmark::kMillisecond);

void GraphWindowCompute(benchmark::State& state)
{
    GraphWindowBench bench(static_cast<int>(state.range(0)));
    for (auto _ : state)
        bench.window->ComputingButtonClick();
}
BENCHMARK(GraphWindowCompute)->Arg(15)->Arg(100)->Unit(benchmark::kMillisecond);

void GraphWindowPaint(benchmark::State& state)
{
    GraphWindowBench bench(static_cast<int>(state.range(0)));
    bench.window->MassivComboBoxChange(0);
    bench.window->ComputingButtonClick();
    QImage image(bench.window->size(), QImage::Format_RGB32);
    // Every repaint after a change draws the chart anew; others reuse the drawing.
    auto* chart = static_cast<ChartView*>(bench.window->centralWidget());
    for (auto _ : state) {
        chart->Invalidate();
        bench.window->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(GraphWindowPaint)->Arg(15)->Arg(100)->Unit(benchmark::kMillisecond);

} // namespace

namespace {

// A 100 x 100 block as a spreadsheet copies it, decimal commas and all, pasted into the
// 100 x 100 source at its first cell: one step of the history, undone after each run so
// that every run changes every cell.
void GraphWindowPasteBlock(benchmark::State& state)
{
    const int items = static_cast<int>(state.range(0));
    GraphWindowBench bench(items);
    bench.window->MassivComboBoxChange(0);
    QString block;
    for (int i = 0; i < items; ++i) {
        for (int j = 0; j < items; ++j) {
            if (j > 0)
                block += QLatin1Char('\t');
            block += QStringLiteral("0,%1").arg((i * items + j) % 100, 2, 10, QLatin1Char('0'));
        }
        block += QStringLiteral("\r\n");
    }
    for (auto _ : state) {
        bench.window->PasteText(block);
        state.PauseTiming();
        bench.window->History().undo();
        state.ResumeTiming();
    }
}
BENCHMARK(GraphWindowPasteBlock)->Arg(15)->Arg(100)->Unit(benchmark::kMillisecond);

} // namespace
