// The report's progress: its sections told before any page, their count that of its
// numbered headings, then the pages counted off up to the laid-out count; a report stopped
// at any point (between sections, inside its longest one, after a page) that leaves no file
// (and an older file at the path as it was) and says nothing; a report told along the way
// that is the report written without being told; and the rating window's progress dialog,
// whose "Отмена" stops the report in either stage and leaves the window as usable as before.
#include "ui/export/AssessmentReport.h"

#include "../core/support/RandomAssessment.h"
#include "../core/support/RecordingSink.h"
#include "../core/support/TempFolder.h"
#include "ScriptedDialogs.h"
#include "analysis/Compare.h"
#include "analysis/Derived.h"
#include "ui/document/Document.h"
#include "ui/export/ReportComparison.h"
#include "ui/export/ReportContent.h"
#include "ui/export/ReportLayout.h"
#include "ui/widgets/Navigation.h"
#include "ui/windows/AssessmentActions.h"
#include "ui/windows/Rating.h"

#include <QApplication>
#include <QDate>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <variant>
#include <vector>

namespace {

// Large enough for several pages, small enough to be quick.
constexpr int kItems = 15;

struct Call {
    ReportStage Stage;
    int Done;
    int Count;

    bool operator==(const Call&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Call& call)
{
    return out << (call.Stage == ReportStage::Preparing ? "section " : "page ") << call.Done << " of " << call.Count;
}

int PlannedPages(const CData& assessment, const ReportRequest& request)
{
    return static_cast<int>(
        LayOutReport(AssessmentReportBlocks(assessment, request, QDate::currentDate()), kA4Report).size());
}

// The number of the report's last numbered heading ("9. Сравнение с файлом ...").
int LastSectionNumber(const std::vector<ReportBlock>& blocks)
{
    static const QRegularExpression numbered(QStringLiteral("^(\\d+)\\. "));
    int last = 0;
    for (const ReportBlock& block : blocks)
        if (const auto* text = std::get_if<ReportText>(&block); text && text->Style == TextStyle::Heading)
            if (const QRegularExpressionMatch match = numbered.match(text->Text); match.hasMatch())
                last = match.captured(1).toInt();
    return last;
}

int FilesIn(const std::filesystem::path& folder)
{
    return static_cast<int>(
        std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()));
}

// What the rating window asks of the report while no analysis window is open.
ReportRequest WindowRequest()
{
    ReportRequest request;
    request.Sections = WindowReportSections(nullptr);
    return request;
}

// The three shapes of the report: plain, with the rating curves, and with a comparison too.
struct Shape {
    const char* Name;
    ReportRequest Request;
};

std::vector<Shape> Shapes(const CData& assessment)
{
    const ReportRequest plain { "random.sav", std::nullopt, 0.0f, 0.0f, WindowReportSections(nullptr) };
    ReportRequest rating = plain;
    rating.Rating = RatingSelection { 1, 2, 3 };
    rating.High = 2.0f;
    rating.Low = 0.5f;
    ReportRequest compared = rating;
    compared.Sections.push_back(ComparisonSection(ReportComparison { "other.sav",
        std::make_shared<AssessmentComparison>(CompareAssessments(assessment, RandomAssessment(kItems, 6))) }));
    return { { "plain", plain }, { "rating", rating }, { "comparison", compared } };
}

// Every call of a report that is never stopped.
std::vector<Call> Told(const CData& assessment, const ReportRequest& request, const std::string& path)
{
    std::vector<Call> calls;
    RecordingSink messages;
    EXPECT_TRUE(WriteAssessmentReport(
        path, assessment, request, messages, {}, [&calls](ReportStage stage, int done, int count) {
            calls.push_back({ stage, done, count });
            return true;
        }));
    EXPECT_TRUE(messages.Messages.empty());
    return calls;
}

TEST(ReportProgress, TellsEverySectionBeforeAnyPageThenCountsThePagesOff)
{
    const CData assessment = RandomAssessment(kItems, 5);
    TempFolder folder;
    for (const Shape& shape : Shapes(assessment)) {
        SCOPED_TRACE(shape.Name);
        const std::string path = folder.Path(std::string(shape.Name) + ".pdf");
        const std::vector<Call> calls = Told(assessment, shape.Request, path);
        EXPECT_TRUE(std::filesystem::exists(path));

        const auto painting = std::find_if(
            calls.begin(), calls.end(), [](const Call& call) { return call.Stage == ReportStage::Painting; });
        const std::vector<Call> preparing(calls.begin(), painting);
        const std::vector<Call> pages(painting, calls.end());

        // The sections as the report numbers them, each told done once it is, the long
        // one (a ranking of thousands of triples) told again between its pieces.
        const int sections = LastSectionNumber(AssessmentReportBlocks(assessment, shape.Request, QDate()));
        ASSERT_GE(sections, 7);
        ASSERT_FALSE(preparing.empty());
        EXPECT_EQ(preparing.front(), (Call { ReportStage::Preparing, 0, sections }));
        EXPECT_EQ(preparing.back(), (Call { ReportStage::Preparing, sections, sections }));
        for (std::size_t k = 1; k < preparing.size(); ++k) {
            EXPECT_EQ(preparing[k].Count, sections) << k;
            const int step = preparing[k].Done - preparing[k - 1].Done;
            EXPECT_TRUE(step == 0 || step == 1) << preparing[k - 1] << ", then " << preparing[k];
        }
        EXPECT_GT(preparing.size(), static_cast<std::size_t>(sections) + 1);

        // Then no section again: the pages, each once.
        const int count = PlannedPages(assessment, shape.Request);
        ASSERT_GT(count, 3);
        std::vector<Call> expected;
        for (int done = 0; done <= count; ++done)
            expected.push_back({ ReportStage::Painting, done, count });
        EXPECT_EQ(pages, expected);
    }
}

// Stopped at each section, inside the sensitivity ranking, or at the first page: false,
// told nothing after the stop, and the folder as it was.
TEST(ReportProgress, StoppedAnywhereItWritesNothingSaysNothingAndLeavesTheOlderFile)
{
    const CData assessment = RandomAssessment(kItems, 5);
    const ReportRequest request = Shapes(assessment)[2].Request;
    TempFolder told;
    const std::vector<Call> calls = Told(assessment, request, told.Path("whole.pdf"));

    std::vector<std::size_t> stops;
    for (std::size_t k = 0; k < calls.size(); ++k) {
        const bool first = k == 0 || calls[k].Stage != calls[k - 1].Stage || calls[k].Done != calls[k - 1].Done;
        const bool again = k > 0 && calls[k] == calls[k - 1] && (k < 2 || calls[k - 2] != calls[k]);
        if ((first && (calls[k].Stage == ReportStage::Preparing || calls[k].Done <= 1)) || again)
            stops.push_back(k);
    }
    ASSERT_GE(stops.size(), 12u);

    for (const std::size_t stop : stops) {
        SCOPED_TRACE(::testing::Message() << "stopped at " << calls[stop] << " (call " << stop << ")");
        TempFolder folder;
        const std::string path = folder.Path("report.pdf");
        WriteBytes(path, "an older report");
        std::size_t made = 0;
        RecordingSink messages;
        EXPECT_FALSE(WriteAssessmentReport(
            path, assessment, request, messages, {}, [&made, stop](ReportStage, int, int) { return made++ < stop; }));
        EXPECT_EQ(made, stop + 1);
        EXPECT_TRUE(messages.Messages.empty());
        EXPECT_EQ(ReadBytes(path), "an older report");
        // Nothing beside it either: no half-written or temporary file.
        EXPECT_EQ(FilesIn(folder.Root()), 1);
    }
}

// The report told along the way, in every shape, is the report written without being told:
// byte for byte but for the moment of writing that the PDF records.
TEST(ReportProgress, ToldAlongTheWayTheReportIsTheSame)
{
    const CData assessment = RandomAssessment(kItems, 5);
    TempFolder folder;
    const auto content = [](const std::string& path) {
        static const QRegularExpression created(QStringLiteral("/CreationDate \\([^)]*\\)"));
        return QString::fromLatin1(QByteArray::fromStdString(ReadBytes(path))).remove(created);
    };
    for (const Shape& shape : Shapes(assessment)) {
        SCOPED_TRACE(shape.Name);
        const std::string told = folder.Path("told.pdf");
        const std::string plain = folder.Path("plain.pdf");
        Told(assessment, shape.Request, told);
        RecordingSink messages;
        ASSERT_TRUE(WriteAssessmentReport(plain, assessment, shape.Request, messages));
        EXPECT_EQ(content(told), content(plain));
    }
}

// The rating window's "Отчёт..." on a 15-item assessment, with a watcher that looks at the
// progress dialog each time the report lets the event loop run.
class RatingWindowReportProgress : public ::testing::Test {
protected:
    struct Seen {
        QString Label;
        int Value;
        int Maximum;
        bool Visible;
        bool Modal;

        bool Preparing() const { return Label.startsWith(QStringLiteral("Подготовка отчёта: раздел ")); }
        bool Painting() const { return Label.startsWith(QStringLiteral("Отчёт: страница ")); }
    };

    void SetUp() override
    {
        document.Store() = RandomAssessment(kItems, 5);
        ComputeAllModes(document.Store());
        window = std::make_unique<TRatingForm>(document, dialogs, navigation);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        watcher.setInterval(0);
        QObject::connect(&watcher, &QTimer::timeout, [this] { Look(); });
    }

    void Look()
    {
        auto* progress = window->findChild<QProgressDialog*>(QStringLiteral("ReportProgress"));
        if (!progress)
            return;
        seen.push_back({ progress->labelText(), progress->value(), progress->maximum(), progress->isVisible(),
            progress->isModal() });
        if (onDialog)
            onDialog(*progress);
    }

    // Presses "Отчёт..." with the watcher running; the report is done when this returns.
    void Report(const std::string& path)
    {
        seen.clear();
        dialogs.FileAnswers.push_back(QString::fromStdString(path));
        watcher.start();
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("ReportButton")), Qt::LeftButton);
        watcher.stop();
    }

    // As the analyst would; whether the dialog took it and went away at once.
    static bool PressCancel(QProgressDialog& progress)
    {
        for (QPushButton* button : progress.findChildren<QPushButton*>())
            if (button->text() == QStringLiteral("Отмена"))
                QTest::mouseClick(button, Qt::LeftButton);
        return progress.wasCanceled() && !progress.isVisible();
    }

    void ExpectGoneAndTheWindowUsable()
    {
        EXPECT_TRUE(dialogs.Messages.empty());
        EXPECT_EQ(window->findChild<QProgressDialog*>(), nullptr);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

        // The window goes on as before: the next report is written whole.
        onDialog = nullptr;
        const std::string path = folder.Path("written.pdf");
        Report(path);
        EXPECT_TRUE(dialogs.Messages.empty());
        EXPECT_TRUE(std::filesystem::exists(path));
        EXPECT_TRUE(window->isVisible());
    }

    AssessmentDocument document;
    ScriptedDialogs dialogs;
    StillNavigation navigation;
    std::unique_ptr<TRatingForm> window;
    TempFolder folder;
    QTimer watcher;
    std::vector<Seen> seen;
    std::function<void(QProgressDialog&)> onDialog;
};

TEST_F(RatingWindowReportProgress, TheDialogCountsTheSectionsThenThePagesOffWhileTheWindowRuns)
{
    const std::string path = folder.Path("counted.pdf");
    Report(path);
    EXPECT_TRUE(dialogs.Messages.empty());
    EXPECT_TRUE(std::filesystem::exists(path));

    ASSERT_FALSE(seen.empty());
    EXPECT_TRUE(seen.front().Visible);
    EXPECT_TRUE(seen.front().Modal);
    // The sections first, then the pages: no look is in neither stage after the first
    // section was told, and none goes back. The worker tells the window its latest count
    // only, so a look may miss the last one of a stage.
    const int sections = LastSectionNumber(AssessmentReportBlocks(document.Store(), WindowRequest(), QDate()));
    const int pages = PlannedPages(document.Store(), WindowRequest());
    const auto firstPage = std::find_if(seen.begin(), seen.end(), [](const Seen& look) { return look.Painting(); });
    ASSERT_NE(firstPage, seen.end());
    int last = -1;
    for (auto look = seen.begin(); look != firstPage; ++look) {
        if (!look->Preparing())
            continue; // shown before the report told anything
        EXPECT_EQ(look->Maximum, sections);
        EXPECT_GE(look->Value, last);
        EXPECT_EQ(look->Label,
            QStringLiteral("Подготовка отчёта: раздел %1 из %2")
                .arg(std::min(look->Value + 1, sections))
                .arg(sections));
        last = look->Value;
    }
    EXPECT_GT(last, 0);
    EXPECT_LE(last, sections);
    last = -1;
    for (auto look = firstPage; look != seen.end(); ++look) {
        ASSERT_TRUE(look->Painting()) << look->Label.toStdString();
        EXPECT_EQ(look->Maximum, pages);
        EXPECT_GE(look->Value, last);
        last = look->Value;
    }
    EXPECT_GT(last, 0);
    EXPECT_LE(last, pages);
    // The window's loop ran while the worker worked: the dialog was seen in both stages, and
    // part of the way through the pages.
    EXPECT_TRUE(std::any_of(seen.begin(), firstPage, [](const Seen& look) { return look.Preparing(); }));
    EXPECT_TRUE(
        std::any_of(firstPage, seen.end(), [pages](const Seen& look) { return look.Value > 0 && look.Value < pages; }));
    // Gone with the report: nothing modal is left to block the window.
    EXPECT_EQ(window->findChild<QProgressDialog*>(), nullptr);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(RatingWindowReportProgress, CancelWhilePreparingLeavesNoPageNoFileAndTheOlderOneAsItWas)
{
    const int sections = LastSectionNumber(AssessmentReportBlocks(document.Store(), WindowRequest(), QDate()));
    // Once the first modes are prepared, and late: inside the last section, the sensitivity
    // ranking, or after it while the pages are laid out. The worker tells its latest count
    // only, so the first look at the count or past it cancels.
    const struct {
        const char* Name;
        int Value;
    } cases[] = { { "early", 2 }, { "late", sections - 1 } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string path = folder.Path(std::string(c.Name) + ".pdf");
        WriteBytes(path, "an older report");
        int cancelledAt = -1;
        onDialog = [&](QProgressDialog& progress) {
            const int value = progress.value();
            if (cancelledAt < 0 && progress.labelText().startsWith(QStringLiteral("Подготовка отчёта: раздел "))
                && value >= c.Value && PressCancel(progress))
                cancelledAt = value;
        };
        Report(path);
        EXPECT_GE(cancelledAt, c.Value);
        ASSERT_FALSE(seen.empty());
        // Stopped where it was: no later section and no page.
        for (const Seen& look : seen) {
            EXPECT_FALSE(look.Painting()) << look.Label.toStdString();
            EXPECT_LE(look.Value, cancelledAt);
        }
        EXPECT_EQ(ReadBytes(path), "an older report");
        EXPECT_EQ(FilesIn(folder.Root()), 1);
        std::filesystem::remove(path);
        ExpectGoneAndTheWindowUsable();
        std::filesystem::remove(folder.Path("written.pdf"));
    }
}

TEST_F(RatingWindowReportProgress, CancelAfterTheFirstPageLeavesNoFileAndTheWindowUsable)
{
    int cancelledAt = -1;
    onDialog = [&cancelledAt](QProgressDialog& progress) {
        const int value = progress.value();
        if (cancelledAt < 0 && progress.labelText().startsWith(QStringLiteral("Отчёт: страница ")) && value >= 1
            && PressCancel(progress))
            cancelledAt = value;
    };
    Report(folder.Path("stopped.pdf"));
    EXPECT_GE(cancelledAt, 1);
    ASSERT_FALSE(seen.empty());
    // No page after the cancel was told, and the dialog went away at once.
    int mostPages = 0;
    for (const Seen& look : seen)
        if (look.Painting())
            mostPages = std::max(mostPages, look.Value);
    EXPECT_EQ(mostPages, cancelledAt);
    EXPECT_GT(seen.back().Maximum, 1);
    EXPECT_TRUE(std::filesystem::is_empty(folder.Root()));
    ExpectGoneAndTheWindowUsable();
}

} // namespace
