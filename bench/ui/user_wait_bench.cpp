// What the analyst waits for: from the input event on the real control (a click, a key) to
// the window painted again, through the event loop, with everything the step sets off on
// the way: grid models, the chart, labels, and with a screen reader running, Qt's
// accessibility events. Each step at 15 and 100 items per list (first argument), and with
// accessibility (second argument) off (0), handed to an in-process stand-in for a bridge (1),
// or sent by the platform's own AT-SPI bridge (2). The last needs a real set-up around the
// program, which bench/ui/screen-reader.sh makes; elsewhere those rows are skipped. The
// counter `a11y_events` is how many accessibility events one step sends.
#include "analysis/Derived.h"
#include "model/Messages.h"
#include "ui/document/Document.h"
#include "ui/widgets/Navigation.h"
#include "ui/windows/Comment.h"
#include "ui/windows/Graph.h"
#include "ui/windows/MMEE.h"
#include "ui/windows/Rating.h"

#include "RandomAssessment.h"
#include "WindowBench.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

// Qt 6.4 has no public switch for its accessibility: QAccessible::setActive only tells the
// observers, and isActive() asks the platform's accessibility object, which a bridge turns
// on when a screen reader is listening. The offscreen platform has that object too; these
// are the two private entry points that reach it.
class QPlatformAccessibility {
public:
    void setActive(bool active);
};
class QPlatformIntegration {
public:
    QPlatformAccessibility* accessibility() const;
};
class QGuiApplicationPrivate {
public:
    static QPlatformIntegration* platform_integration;
};

namespace {

enum class Accessibility { Off, StandIn, Bridge };

QPlatformAccessibility* PlatformAccessibility()
{
    return QGuiApplicationPrivate::platform_integration->accessibility();
}

// Qt's accessibility as the step meets it. Off: as the platform left it, which must be off.
// StandIn: on, every update handed to a handler that does for each what the AT-SPI bridge
// does before sending it: find the object, give it an id, read its name, role and state.
// Bridge: left to the platform's bridge, which must have switched itself on; every event then
// goes over D-Bus to whoever listens, and their questions come back through the event loop.
class ScreenReader {
public:
    explicit ScreenReader(Accessibility mode)
        : mode_(mode)
        , wasActive_(QAccessible::isActive())
    {
        events_ = 0;
        if (mode_ != Accessibility::StandIn)
            return;
        previous_ = QAccessible::installUpdateHandler(&ScreenReader::Pass);
        PlatformAccessibility()->setActive(true);
    }
    ~ScreenReader()
    {
        if (mode_ != Accessibility::StandIn)
            return;
        QAccessible::installUpdateHandler(previous_);
        PlatformAccessibility()->setActive(wasActive_);
    }
    ScreenReader(const ScreenReader&) = delete;
    ScreenReader& operator=(const ScreenReader&) = delete;

    // Why the steps cannot be timed as asked, or empty.
    std::string Trouble() const
    {
        switch (mode_) {
        case Accessibility::Off:
            return QAccessible::isActive() ? "accessibility is on (a bridge switched it on: run without it)" : "";
        case Accessibility::StandIn:
            return QAccessible::isActive() ? "" : "accessibility could not be switched on";
        case Accessibility::Bridge:
            if (!HasBridge())
                return "no accessibility bridge on this platform (run bench/ui/screen-reader.sh)";
            // The bridge finds its bus through the event loop.
            return QTest::qWaitFor([] { return QAccessible::isActive(); }, kBridgeWait)
                ? ""
                : "the accessibility bridge did not connect to a bus";
        }
        return "";
    }
    // The stand-in alone sees the events; the bridge's go past it.
    bool Counts() const { return mode_ == Accessibility::StandIn; }
    static std::int64_t Events() { return events_; }

private:
    // The offscreen and minimal platforms have an accessibility object but no bridge behind it.
    static bool HasBridge()
    {
        const QString platform = QGuiApplication::platformName();
        return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
    }

    static void Pass(QAccessibleEvent* event)
    {
        ++events_;
        QAccessibleInterface* object = event->accessibleInterface();
        if (!object || !object->isValid())
            return;
        benchmark::DoNotOptimize(QAccessible::uniqueId(object));
        const QString name = object->text(QAccessible::Name);
        benchmark::DoNotOptimize(name.constData());
        benchmark::DoNotOptimize(object->role());
        benchmark::DoNotOptimize(object->state());
    }

    static constexpr int kBridgeWait = 5000; // ms

    Accessibility mode_;
    bool wasActive_;
    QAccessible::UpdateHandler previous_ = nullptr;
    static inline std::int64_t events_ = 0;
};

// Every question unanswered; a message is a step gone wrong.
struct NoDialogs : SilentDialogs {
    void ShowMessage(const std::string& text) override { throw std::runtime_error(text); }
};

// The walk between the mode-4 window and the MM and EE window, as the program's own makes it.
class TwoWindowWalk : public StillNavigation {
public:
    QWidget* Previous = nullptr;
    QWidget* Following = nullptr;

    void Next(QWidget* from) override { Move(from, Following); }
    void Back(QWidget* from) override { Move(from, Previous); }

private:
    static void Move(QWidget* from, QWidget* to)
    {
        from->hide();
        to->show();
    }
};

template <typename T> T* Control(QWidget& window, const char* name)
{
    auto* control = window.findChild<T*>(QString::fromLatin1(name));
    if (!control)
        throw std::logic_error(std::string("no control ") + name);
    return control;
}

int Items(const benchmark::State& state)
{
    return static_cast<int>(state.range(0));
}

// Every step's common frame: the screen reader as asked, the loop watched, the counters.
class UserWait {
public:
    explicit UserWait(benchmark::State& state)
        : state_(state)
        , reader_(static_cast<Accessibility>(state.range(1)))
    {
    }

    // Before the timed loop: the set-up's own events are not the step's.
    bool Ready(QWidget& window)
    {
        if (const std::string trouble = reader_.Trouble(); !trouble.empty()) {
            state_.SkipWithError(trouble.c_str());
            return false;
        }
        if (!QTest::qWaitForWindowExposed(&window) || !Settle(false))
            return false;
        eventsBefore_ = ScreenReader::Events();
        return true;
    }

    // After the input: the wait until the window is painted.
    bool Settle(bool painting = true)
    {
        if (watch_.Run(painting))
            return true;
        state_.SkipWithError("the event loop did not settle");
        return false;
    }

    // A part of the loop that is not the step: its events are not counted either.
    template <typename Part> bool Untimed(Part part)
    {
        const std::int64_t before = ScreenReader::Events();
        const bool done = part();
        untimedEvents_ += ScreenReader::Events() - before;
        return done;
    }

    ~UserWait()
    {
        state_.counters["items"] = static_cast<double>(state_.range(0));
        if (reader_.Counts())
            state_.counters["a11y_events"]
                = benchmark::Counter(static_cast<double>(ScreenReader::Events() - eventsBefore_ - untimedEvents_),
                    benchmark::Counter::kAvgIterations);
    }

private:
    benchmark::State& state_;
    ScreenReader reader_;
    PaintedWait watch_;
    std::int64_t eventsBefore_ = 0;
    std::int64_t untimedEvents_ = 0;
};

// A source-matrix window of `mode` on an assessment after the walk, shown, with the first
// source chosen.
struct GraphWindowScene {
    GraphWindowScene(int items, AnalysisMode mode)
    {
        document.Store() = RandomAssessment(items, 7);
        ComputeAllModes(document.Store());
        window = std::make_unique<TGraphForm>(document, dialogs, navigation, comments);
        window->SetUpForMode(mode, document.Store().Counts());
        window->show();
        window->MassivComboBoxChange(0);
    }

    AssessmentDocument document;
    NoDialogs dialogs;
    TwoWindowWalk navigation;
    TCommentForm comments { document.Store() };
    std::unique_ptr<TGraphForm> window;
};

// "Расчёт" clicked with the mouse, until the result grid, the chart and its labels are
// painted.
void WaitCompute(benchmark::State& state)
{
    GraphWindowScene scene(Items(state), AnalysisMode::Reliability);
    UserWait wait(state);
    auto* button = Control<QPushButton>(*scene.window, "ComputingButton");
    // The first computation also enables and ticks the chart's cell boxes, once; every
    // run times a later one.
    QTest::mouseClick(button, Qt::LeftButton);
    if (!wait.Ready(*scene.window))
        return;
    for (auto _ : state) {
        QTest::mouseClick(button, Qt::LeftButton);
        if (!wait.Settle())
            return;
    }
}

// The other source chosen in the closed box with the arrow keys, as a keyboard user (and
// a screen reader's) steps through it, until the grid shows it.
void WaitSwitchSource(benchmark::State& state)
{
    GraphWindowScene scene(Items(state), AnalysisMode::Reliability);
    UserWait wait(state);
    auto* sources = Control<QComboBox>(*scene.window, "MassivComboBox");
    // Where the scene's choice left it.
    sources->setCurrentIndex(0);
    sources->setFocus();
    if (!wait.Ready(*scene.window))
        return;
    bool down = true;
    for (auto _ : state) {
        QTest::keyClick(sources, down ? Qt::Key_Down : Qt::Key_Up);
        if (!wait.Settle())
            return;
        down = !down;
    }
    if (sources->currentIndex() != (down ? 0 : 1))
        state.SkipWithError("the keys did not step through the sources");
}

// The rating window with a layer, threat and mechanism checked and both levels typed: a
// click on another layer's check box, until both charts are drawn for it.
void WaitRatingCheck(benchmark::State& state)
{
    const int items = Items(state);
    AssessmentDocument document;
    document.Store() = RandomAssessment(items, 2208);
    ComputeAllModes(document.Store());
    document.Store().HighLevel = 2.0f;
    document.Store().LowLevel = 0.5f;
    NoDialogs dialogs;
    StillNavigation navigation;
    TRatingForm window(document, dialogs, navigation);
    window.show();
    for (const char* name : { "LayersList", "ThreatsList", "MechanismsList" })
        Control<QListWidget>(window, name)->item(items / 2)->setCheckState(Qt::Checked);
    if (!Control<QPushButton>(window, "ComputeButton")->isEnabled()) {
        state.SkipWithError("the choice is not complete");
        return;
    }
    auto* layers = Control<QListWidget>(window, "LayersList");
    // Two neighbouring layers, both in sight.
    const int first = items / 2 - 1;
    layers->scrollToItem(layers->item(first));
    UserWait wait(state);
    if (!wait.Ready(window))
        return;
    int row = first;
    for (auto _ : state) {
        const QRect box = layers->visualItemRect(layers->item(row));
        QTest::mouseClick(layers->viewport(), Qt::LeftButton, {}, QPoint(box.left() + 9, box.center().y()));
        if (!wait.Settle())
            return;
        row = row == first ? first + 1 : first;
    }
    if (layers->currentRow() != (row == first ? first + 1 : first)
        || layers->item(layers->currentRow())->checkState() != Qt::Checked)
        state.SkipWithError("the click did not check the layer");
}

// "Далее..." of the mode-4 window clicked, until the MM and EE window is painted with both
// grids and charts; the way back is not timed.
void WaitNextToMMEE(benchmark::State& state)
{
    GraphWindowScene scene(Items(state), AnalysisMode::WeightedDamage);
    scene.window->ComputingButtonClick();
    TMMEEForm mmee(scene.document, scene.dialogs, scene.navigation);
    scene.navigation.Previous = scene.window.get();
    scene.navigation.Following = &mmee;
    UserWait wait(state);
    auto* next = Control<QPushButton>(*scene.window, "NextButton");
    auto* back = Control<QPushButton>(mmee, "BackButton");
    if (!next->isEnabled() || !wait.Ready(*scene.window))
        return;
    for (auto _ : state) {
        QTest::mouseClick(next, Qt::LeftButton);
        if (!wait.Settle())
            return;
        state.PauseTiming();
        const bool settled = wait.Untimed([&] {
            QTest::mouseClick(back, Qt::LeftButton);
            return wait.Settle();
        });
        // A step that failed ends the run with the timing paused, as the library wants it.
        if (!settled)
            return;
        state.ResumeTiming();
    }
}

void UserWaitArguments(benchmark::internal::Benchmark* bench)
{
    bench->ArgNames({ "items", "a11y" });
    for (int items : { 15, 100 })
        for (Accessibility accessibility : { Accessibility::Off, Accessibility::StandIn, Accessibility::Bridge })
            bench->Args({ items, static_cast<int>(accessibility) });
    bench->Unit(benchmark::kMillisecond)->UseRealTime();
}

} // namespace

BENCHMARK(WaitCompute)->Apply(UserWaitArguments);
BENCHMARK(WaitSwitchSource)->Apply(UserWaitArguments);
BENCHMARK(WaitRatingCheck)->Apply(UserWaitArguments);
BENCHMARK(WaitNextToMMEE)->Apply(UserWaitArguments);
