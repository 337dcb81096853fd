// One whole repaint of the rating window, painted offscreen into an image: the two charts
// with their 2,208 rating evaluations, the labels they place and every control on top.
// Lists of 15 items (what the main window's add command allows) and of 100 (what a data
// file may bring). Beside it the charts alone on the same image, to see what the window's
// controls add.
#include "ui/windows/Rating.h"

#include "RandomAssessment.h"
#include "analysis/Derived.h"
#include "ui/charts/RatingChart.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/document/Document.h"
#include "ui/widgets/ChartView.h"
#include "ui/widgets/Navigation.h"
#include "ui/widgets/QtCanvas.h"

#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <optional>
#include <string>

namespace {

constexpr std::uint32_t kSeed = 2208;

// Nothing is asked during a repaint; a message would mean the set-up went wrong.
class CountingDialogs : public IDialogs {
public:
    int Messages = 0;

    void ShowMessage(const std::string&) override { ++Messages; }
    void ShowInformation(const std::string&) override { ++Messages; }
    CloseAnswer AskSaveChanges(QWidget*) override { return CloseAnswer::Cancel; }
    std::optional<QString> AskOpenFile(QWidget*, const FileDialogOptions&) override { return std::nullopt; }
    std::optional<QString> AskSaveFile(QWidget*, const FileDialogOptions&) override { return std::nullopt; }
    std::optional<QString> AskName(QWidget*, const QString&, const QString&) override { return std::nullopt; }
};

// An assessment after the walk through the four modes, levels 2 and 0.5 stored.
void PrepareAssessment(AssessmentDocument& document, int items)
{
    document.Store() = RandomAssessment(items, kSeed);
    ComputeAllModes(document.Store());
}

bool HasCurrentLevelPixels(const QImage& image)
{
    const QRgb green = qRgb(kCurrentLevelColour.Red, kCurrentLevelColour.Green, kCurrentLevelColour.Blue);
    // The legend's green swatch lies below the charts: look at the charts' rows only.
    for (int y = 250; y < 401; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == green)
                return true;
    return false;
}

void RatingWindowRepaint(benchmark::State& state)
{
    const int items = static_cast<int>(state.range(0));
    AssessmentDocument document;
    PrepareAssessment(document, items);
    CountingDialogs dialogs;
    StillNavigation navigation;
    TRatingForm window(document, dialogs, navigation);
    window.show();
    // The middle item of each list, checked as the analyst would.
    for (const char* name : { "LayersList", "ThreatsList", "MechanismsList" })
        window.findChild<QListWidget*>(QString::fromLatin1(name))->item(items / 2)->setCheckState(Qt::Checked);
    if (!window.findChild<QPushButton*>(QStringLiteral("ComputeButton"))->isEnabled() || dialogs.Messages != 0) {
        state.SkipWithError("the choice is not complete");
        return;
    }

    QImage image(window.size(), QImage::Format_ARGB32_Premultiplied);
    window.render(&image);
    if (!HasCurrentLevelPixels(image)) {
        state.SkipWithError("no chart was drawn");
        return;
    }
    // Every repaint after a change draws the charts anew; others reuse the drawing.
    auto* chart = static_cast<ChartView*>(window.centralWidget());
    for (auto _ : state) {
        chart->Invalidate();
        window.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["items"] = items;
}

void RatingChartsOnly(benchmark::State& state)
{
    const int items = static_cast<int>(state.range(0));
    AssessmentDocument document;
    PrepareAssessment(document, items);
    const RatingSelection selection { items / 2, items / 2, items / 2 };
    QImage image(655, 481, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        QtCanvas canvas(painter);
        benchmark::DoNotOptimize(DrawRatingCharts(canvas, document.Store(), selection, 2.0f, 0.5f));
    }
    state.counters["items"] = items;
}

} // namespace

BENCHMARK(RatingWindowRepaint)->Arg(15)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(RatingChartsOnly)->Arg(15)->Arg(100)->Unit(benchmark::kMillisecond);
