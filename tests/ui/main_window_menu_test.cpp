// The main window as a desktop program has it: a menu bar above the designed client area
// with the file commands on their usual keys, "Сохранить" into the file last loaded or
// saved, the recent files of this run and the next, a caption naming the assessment and
// its unsaved changes in every window of the walk, and a dictionary opened by name as a
// data file is.
#include "MainWindowFixture.h"
#include "RecordingNavigation.h"

#include "app/Program.h"
#include "model/FileBytes.h"
#include "ui/document/DocumentCaption.h"
#include "ui/document/RecentFiles.h"
#include "ui/widgets/Navigation.h"
#include "ui/windows/Rating.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>

#include <algorithm>
#include <filesystem>

namespace {

const std::string kExample = VARDUN_SOURCE_DIR "/sample/example.sav";

class MainWindowMenuTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        // Each test starts with no recent files.
        QSettings().remove(QStringLiteral("RecentFiles"));
    }

    static QAction* Action(TMainForm& window, const char* name)
    {
        auto* action = window.findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_NE(action, nullptr) << name;
        return action;
    }

    // Shortcuts go to the active window.
    static void Activate(TMainForm& window)
    {
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    static QMenu* Recent(TMainForm& window) { return window.findChild<QMenu*>(QStringLiteral("RecentMenu")); }

    // The recent menu's entries as the analyst sees them when it opens.
    static QStringList RecentEntries(TMainForm& window)
    {
        QMenu* menu = Recent(window);
        emit menu->aboutToShow();
        QStringList texts;
        for (QAction* action : menu->actions())
            texts << action->text();
        return texts;
    }

    RecordingNavigation navigation;
};

TEST_F(MainWindowMenuTest, TheMenuBarSitsAboveTheDesignedClientArea)
{
    auto window = OpenMainWindow(navigation);
    const int bar = window->menuBar()->height();
    EXPECT_GT(bar, 0);
    EXPECT_EQ(window->centralWidget()->geometry(), QRect(0, bar, 624, 406));
    QStringList menus;
    for (QAction* menu : window->menuBar()->actions())
        menus << menu->text();
    EXPECT_EQ(menus, (QStringList { QStringLiteral("&Файл"), QStringLiteral("&Справка") }));
    // The buttons keep their places in the client area.
    EXPECT_EQ(Button(*window, "NextButton")->geometry(), QRect(519, 169, 83, 25));
}

TEST_F(MainWindowMenuTest, TheFileCommandsAnswerTheirKeys)
{
    auto window = OpenMainWindow(navigation);
    Activate(*window);
    const struct {
        const char* Action;
        QKeySequence Keys;
    } cases[] = {
        { "LoadAction", QKeySequence(Qt::CTRL | Qt::Key_O) },
        { "SaveAction", QKeySequence(Qt::CTRL | Qt::Key_S) },
        { "SaveAsAction", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S) },
        { "ExitAction", QKeySequence(Qt::CTRL | Qt::Key_Q) },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Action);
        EXPECT_EQ(Action(*window, c.Action)->shortcut(), c.Keys);
    }
    // Ctrl+O asks for a data file, as "Загрузить данные..." does.
    dialogs.FileAnswers.push_back(std::nullopt);
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(dialogs.FileRequests.size(), 1u);
    EXPECT_FALSE(dialogs.FileRequests.back().Save);
    EXPECT_TRUE(dialogs.FileRequests.back().Options.Filter.endsWith(QStringLiteral("*.sav")));
}

TEST_F(MainWindowMenuTest, SaveAsksOnlyWhileNoFileHoldsTheAssessment)
{
    auto window = OpenMainWindow(navigation);
    Activate(*window);
    Add(*window, kLayers, QStringLiteral("Эшелон"));
    // Never in a file: "Сохранить" asks where, as "Сохранить как..." always does.
    const std::string first = PathOf("first.sav");
    dialogs.FileAnswers.push_back(QString::fromStdString(first));
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(dialogs.FileRequests.size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(first));
    EXPECT_TRUE(document.IsSaved());

    // Now it goes into that file without a question.
    Add(*window, kLayers, QStringLiteral("Второй эшелон"));
    EXPECT_FALSE(document.IsSaved());
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(dialogs.FileRequests.size(), 1u);
    EXPECT_TRUE(document.IsSaved());
    CData saved;
    RefuseMessages refuse;
    ASSERT_TRUE(saved.LoadFromFile(first, refuse));
    EXPECT_EQ(saved.LayerNames.size(), 2u);

    // "Сохранить как..." asks, and the new file is the one "Сохранить" uses from then on.
    const std::string second = PathOf("second.sav");
    dialogs.FileAnswers.push_back(QString::fromStdString(second));
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(dialogs.FileRequests.size(), 2u);
    EXPECT_EQ(document.FilePath(), second);
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(MainWindowMenuTest, TheCaptionNamesTheAssessmentAndItsUnsavedChanges)
{
    auto window = OpenMainWindow(navigation);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Без имени — Vardun 2.2"));
    Add(*window, kLayers, QStringLiteral("Эшелон"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Без имени* — Vardun 2.2"));

    ASSERT_TRUE(window->LoadDataFile(kExample));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("example.sav* — Vardun 2.2"));
    document.SetSaved(true);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("example.sav — Vardun 2.2"));

    // The windows of the walk say the same, and follow it.
    StillNavigation still;
    TRatingForm rating(document, dialogs, still);
    EXPECT_EQ(rating.windowTitle(), QStringLiteral("example.sav — Vardun 2.2"));
    document.MarkModified();
    EXPECT_EQ(rating.windowTitle(), QStringLiteral("example.sav* — Vardun 2.2"));
    EXPECT_EQ(window->windowTitle(), rating.windowTitle());
}

TEST_F(MainWindowMenuTest, RecentFilesAreOfferedInTheNextRunAndAMissingOneIsRemoved)
{
    // A copy the test may take away.
    const std::string copy = PathOf("копия.sav");
    std::filesystem::copy_file(kExample, copy);
    {
        auto window = OpenMainWindow(navigation);
        EXPECT_FALSE(Recent(*window)->isEnabled());
        ASSERT_TRUE(window->LoadDataFile(kExample));
        ASSERT_TRUE(window->LoadDataFile(copy));
        EXPECT_EQ(
            RecentEntries(*window), (QStringList { QStringLiteral("&1 копия.sav"), QStringLiteral("&2 example.sav") }));
    }
    // The next run: a new window over a new document, the same settings.
    AssessmentDocument next;
    TMainForm window(next, dialogs, navigation);
    EXPECT_EQ(
        RecentEntries(window), (QStringList { QStringLiteral("&1 копия.sav"), QStringLiteral("&2 example.sav") }));

    // Opening one loads it, as "Загрузить данные..." would.
    Recent(window)->actions().at(1)->trigger();
    EXPECT_EQ(next.FilePath(), QFileInfo(QString::fromStdString(kExample)).absoluteFilePath().toStdString());
    EXPECT_EQ(RecentEntries(window).front(), QStringLiteral("&1 example.sav"));

    // One gone from the disk is said and leaves the list.
    std::filesystem::remove(copy);
    Recent(window)->actions().at(1)->trigger();
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_NE(dialogs.Messages.front().find("копия.sav"), std::string::npos);
    EXPECT_EQ(RecentEntries(window), (QStringList { QStringLiteral("&1 example.sav") }));

    // No more than ten.
    RecentFiles recent;
    for (int k = 0; k < 15; ++k)
        recent.Add(QString::fromStdString(PathOf(("f" + std::to_string(k) + ".sav").c_str())));
    EXPECT_EQ(recent.Paths().size(), RecentFiles::kCount);
    EXPECT_TRUE(recent.Paths().front().endsWith(QStringLiteral("f14.sav")));
}

TEST_F(MainWindowMenuTest, ADictionaryNamedAtStartUpFillsTheListsAsLoadingItWould)
{
    RefuseMessages refuse;
    const std::string lists = PathOf("lists.dic");
    ASSERT_TRUE(SaveDictionary(
        lists, NameLists { { "Периметр", "Сеть" }, { "Вирус" }, { "Антивирус", "Межсетевой экран" } }, refuse));
    auto window = OpenMainWindow(navigation);
    ASSERT_TRUE(window->OpenFile(lists));
    EXPECT_TRUE(dialogs.Messages.empty());
    EXPECT_EQ(Names(*window, kLayers), (std::vector<std::string> { "Периметр", "Сеть" }));
    EXPECT_EQ(Names(*window, kMechanisms), (std::vector<std::string> { "Антивирус", "Межсетевой экран" }));
    // The dictionary is no assessment: the document keeps no file.
    EXPECT_TRUE(document.FilePath().empty());

    // A data file by the same way is a data file.
    ASSERT_TRUE(window->OpenFile(kExample));
    EXPECT_EQ(document.FilePath(), kExample);
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST(ProgramIcon, EveryWindowHasTheProgramsIconInEverySize)
{
    AssessmentDocument document;
    ScriptedDialogs dialogs;
    Program program(document, dialogs);
    const QIcon icon = program.MainForm().windowIcon();
    ASSERT_FALSE(icon.isNull());
    QList<int> sizes;
    for (const QSize& size : icon.availableSizes())
        sizes << size.width();
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ(sizes, (QList<int> { 16, 22, 24, 32, 48, 64, 128, 256 }));
    // A window made later shows it too.
    StillNavigation still;
    TRatingForm rating(document, dialogs, still);
    EXPECT_EQ(rating.windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
}

TEST_F(MainWindowMenuTest, TheHelpMenuOpensTheGuideAndTheAboutBox)
{
    auto window = OpenMainWindow(navigation);
    Action(*window, "GuideAction")->trigger();
    Action(*window, "AboutAction")->trigger();
    EXPECT_EQ(navigation.Calls, (std::vector<std::string> { "guide", "about" }));
}

} // namespace
