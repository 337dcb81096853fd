// The wizard's window sequence with stand-in analysis windows: which windows exist, which
// one is shown, and when the main window's Next throws them away and builds them again.
#include "app/WindowSequence.h"
#include "app/WizardFactory.h"

#include "MainWindowFixture.h"

#include <QCloseEvent>

#include <functional>

#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

// What a real analysis window does with the frame's close control: it only hides, and tells
// the sequence.
class StandInWindow : public QWidget {
public:
    StandInWindow(std::string name, Log& log, IWizardNavigation& navigation)
        : name_(std::move(name))
        , log_(log)
        , navigation_(navigation)
    {
    }
    ~StandInWindow() override { log_.push_back("destroy " + name_); }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        event->accept();
        navigation_.WizardWindowClosed();
    }

private:
    std::string name_;
    Log& log_;
    IWizardNavigation& navigation_;
};

// The walk's six steps as stand-ins: the four source-matrix windows, MM/EE and the rating
// window.
class StandInFactory : public IWizardFactory {
public:
    explicit StandInFactory(Log& log)
        : log_(log)
    {
    }
    void SetNavigation(IWizardNavigation* navigation) { navigation_ = navigation; }

    std::size_t StepCount() const override { return 6; }
    std::unique_ptr<QWidget> Create(std::size_t step, const AnalysedCounts& counts) override
    {
        if (step >= 4)
            return Create(step == 4 ? "mmee" : "rating");
        const std::string name = "graph " + std::to_string(step + 1);
        log_.push_back("create " + name + " for " + std::to_string(counts.Mechanisms) + " mechanisms, "
            + std::to_string(counts.Threats) + " threats, " + std::to_string(counts.Layers) + " layers");
        return std::make_unique<StandInWindow>(name, log_, *navigation_);
    }

private:
    std::unique_ptr<QWidget> Create(const std::string& name)
    {
        log_.push_back("create " + name);
        return std::make_unique<StandInWindow>(name, log_, *navigation_);
    }

    Log& log_;
    IWizardNavigation* navigation_ = nullptr;
};

class WindowSequenceTest : public MainWindowFixture {
protected:
    WindowSequenceTest() { factory.SetNavigation(&sequence); }

    // Layers A, B; threats T1, T2; mechanism M; all checked.
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        window = OpenMainWindow(sequence);
        sequence.SetMainWindow(window.get());
        AddAll(*window, kLayers, { QStringLiteral("A"), QStringLiteral("B") });
        AddAll(*window, kThreats, { QStringLiteral("T1"), QStringLiteral("T2") });
        Add(*window, kMechanisms, QStringLiteral("M"));
        for (auto [kind, row] :
            { std::pair { kLayers, 0 }, { kLayers, 1 }, { kThreats, 0 }, { kThreats, 1 }, { kMechanisms, 0 } })
            ClickCheckBox(*window, kind, row);
    }

    void TearDown() override
    {
        window.reset();
        MainWindowFixture::TearDown();
    }

    void Next() { QTest::mouseClick(Button(*window, "NextButton"), Qt::LeftButton); }

    // Next from the main window through to the rating window, creating what is missing.
    void WalkToRating()
    {
        Next();
        for (int mode = 1; mode <= 4; ++mode)
            sequence.Next(GraphWindow(mode));
        sequence.Next(MMEEWindow());
    }

    // The steps' windows: the source-matrix window of a mode, MM/EE and the rating window.
    QWidget* GraphWindow(int mode) const { return sequence.Window(static_cast<std::size_t>(mode - 1)); }
    QWidget* MMEEWindow() const { return sequence.Window(4); }
    QWidget* RatingWindow() const { return sequence.Window(5); }

    std::vector<QWidget*> Existing() const
    {
        std::vector<QWidget*> windows;
        for (std::size_t step = 0; step < sequence.StepCount(); ++step)
            windows.push_back(sequence.Window(step));
        return windows;
    }

    // The one visible window, or null when there is not exactly one.
    QWidget* Visible() const
    {
        QWidget* visible = nullptr;
        std::vector<QWidget*> windows = Existing();
        windows.push_back(window.get());
        for (QWidget* w : windows) {
            if (w && w->isVisible()) {
                if (visible)
                    return nullptr;
                visible = w;
            }
        }
        return visible;
    }

    Log log;
    StandInFactory factory { log };
    WindowSequence sequence { document, factory };
    std::unique_ptr<TMainForm> window;
};

TEST_F(WindowSequenceTest, WalksForwardCreatingEachWindowOnceAndBackShowingTheSameOnes)
{
    Next();
    EXPECT_EQ(log, Log { "create graph 1 for 1 mechanisms, 2 threats, 2 layers" });
    EXPECT_EQ(Visible(), GraphWindow(1));

    for (int mode = 1; mode <= 3; ++mode) {
        sequence.Next(GraphWindow(mode));
        EXPECT_EQ(Visible(), GraphWindow(mode + 1));
    }
    sequence.Next(GraphWindow(4));
    EXPECT_EQ(Visible(), MMEEWindow());
    sequence.Next(MMEEWindow());
    EXPECT_EQ(Visible(), RatingWindow());
    const Log created {
        "create graph 1 for 1 mechanisms, 2 threats, 2 layers",
        "create graph 2 for 1 mechanisms, 2 threats, 2 layers",
        "create graph 3 for 1 mechanisms, 2 threats, 2 layers",
        "create graph 4 for 1 mechanisms, 2 threats, 2 layers",
        "create mmee",
        "create rating",
    };
    EXPECT_EQ(log, created);

    const std::vector<QWidget*> before = Existing();
    sequence.Back(RatingWindow());
    EXPECT_EQ(Visible(), MMEEWindow());
    sequence.Back(MMEEWindow());
    EXPECT_EQ(Visible(), GraphWindow(4));
    for (int mode = 4; mode >= 2; --mode) {
        sequence.Back(GraphWindow(mode));
        EXPECT_EQ(Visible(), GraphWindow(mode - 1));
    }
    sequence.Back(GraphWindow(1));
    EXPECT_EQ(Visible(), window.get());

    // Forward again: the same windows, nothing made anew.
    Next();
    sequence.Next(GraphWindow(1));
    EXPECT_EQ(Visible(), GraphWindow(2));
    EXPECT_EQ(Existing(), before);
    EXPECT_EQ(log, created);
}

TEST_F(WindowSequenceTest, NextAfterFinishWithoutAnyChangeShowsTheSameWindows)
{
    WalkToRating();
    const std::vector<QWidget*> before = Existing();
    sequence.Finish(RatingWindow());
    EXPECT_EQ(Visible(), window.get());

    Next();
    EXPECT_EQ(Visible(), before[0]);
    EXPECT_EQ(Existing(), before);
    EXPECT_EQ(log.size(), 6u) << "nothing destroyed, nothing created";
}

TEST_F(WindowSequenceTest, ACheckBoxClickEvenUndoneRebuildsEveryWindowInOrder)
{
    WalkToRating();
    sequence.Finish(RatingWindow());
    log.clear();

    ClickCheckBox(*window, kThreats, 1);
    ClickCheckBox(*window, kThreats, 1);
    Next();

    const Log expected {
        "destroy graph 1",
        "destroy graph 2",
        "destroy graph 3",
        "destroy graph 4",
        "destroy mmee",
        "destroy rating",
        "create graph 1 for 1 mechanisms, 2 threats, 2 layers",
    };
    EXPECT_EQ(log, expected);
    EXPECT_EQ(Visible(), GraphWindow(1));
    EXPECT_EQ(GraphWindow(2), nullptr);
    EXPECT_EQ(RatingWindow(), nullptr);
}

TEST_F(WindowSequenceTest, NextAfterADataLoadRebuildsFromTheLoadedStoreWithoutPreparingIt)
{
    WalkToRating();
    sequence.Finish(RatingWindow());

    CData saved;
    saved.PrepareForAnalysis(
        { { "A", true } }, { { "T1", true }, { "T2", false }, { "T3", true } }, { { "M", true }, { "N", true } });
    ASSERT_TRUE(saved.SaveToFile(PathOf("loaded.sav"), dialogs));
    dialogs.FileAnswers.push_back(QString::fromStdString(PathOf("loaded.sav")));
    QTest::mouseClick(Button(*window, "LoadButton"), Qt::LeftButton);
    // A name added before Next does not reach the store: it is not prepared again.
    Add(*window, kLayers, QStringLiteral("C"));
    log.clear();

    Next();
    EXPECT_EQ(store.LayerNames, std::vector<std::string> { "A" });
    EXPECT_EQ(log.back(), "create graph 1 for 2 mechanisms, 2 threats, 1 layers");
    EXPECT_EQ(log.size(), 7u);
    EXPECT_EQ(Visible(), GraphWindow(1));
}

TEST_F(WindowSequenceTest, ClosingAnAnalysisWindowHidesItAndBringsBackTheMainWindow)
{
    Next();
    sequence.Next(GraphWindow(1));
    sequence.Next(GraphWindow(2));
    QWidget* third = GraphWindow(3);
    ASSERT_NE(third, nullptr);

    third->close();
    EXPECT_EQ(Visible(), window.get());
    EXPECT_EQ(GraphWindow(3), third);
    EXPECT_NE(GraphWindow(1), nullptr);
    EXPECT_NE(GraphWindow(2), nullptr);
    EXPECT_EQ(log.size(), 3u);
}

// Renaming or deleting an analysed item touches no check box, yet the windows' rows no
// longer match the store: Next builds them again. Edits of items that are not analysed
// leave the windows alone.
TEST_F(WindowSequenceTest, NextRebuildsExactlyWhenTheAnalysedItemsDiffer)
{
    struct Case {
        const char* what;
        std::function<void()> edit;
        const char* rebuiltFor; // null: kept
    };
    const Case cases[] = {
        { "nothing", [] {}, nullptr },
        { "an unchecked layer added", [this] { Add(*window, kLayers, QStringLiteral("C")); }, nullptr },
        { "an analysed threat renamed",
            [this] {
                Select(*window, kThreats, 1);
                dialogs.NameAnswers.push_back(QStringLiteral("T2 renamed"));
                QTest::mouseClick(KindButton(*window, "Change", kThreats), Qt::LeftButton);
            },
            "create graph 1 for 1 mechanisms, 2 threats, 2 layers" },
        { "an analysed layer deleted",
            [this] {
                Select(*window, kLayers, 0);
                QTest::mouseClick(KindButton(*window, "Delete", kLayers), Qt::LeftButton);
            },
            "create graph 1 for 1 mechanisms, 2 threats, 1 layers" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Next();
        sequence.Next(GraphWindow(1));
        sequence.Back(GraphWindow(2));
        sequence.Back(GraphWindow(1));
        QWidget* first = GraphWindow(1);
        log.clear();

        c.edit();
        Next();

        if (c.rebuiltFor) {
            EXPECT_EQ(log, (Log { "destroy graph 1", "destroy graph 2", c.rebuiltFor }));
        } else {
            EXPECT_TRUE(log.empty());
            EXPECT_EQ(GraphWindow(1), first);
        }
        EXPECT_EQ(Visible(), GraphWindow(1));
        sequence.Back(GraphWindow(1));
    }
}

// A key or click that reaches a window already hidden (a second Enter after the first
// left it) moves nothing: one window stays up.
TEST_F(WindowSequenceTest, AHiddenWindowDoesNotMoveTheWalk)
{
    WalkToRating();
    QWidget* rating = RatingWindow();
    ASSERT_EQ(Visible(), rating);
    sequence.Finish(RatingWindow());
    ASSERT_EQ(Visible(), window.get());
    sequence.Back(RatingWindow());
    sequence.Finish(RatingWindow());
    sequence.Next(GraphWindow(2));
    EXPECT_EQ(Visible(), window.get());
}

} // namespace
