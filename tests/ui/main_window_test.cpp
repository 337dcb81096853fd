// The main window: its lists and buttons, the files it reads and writes, Next and closing.
#include "MainWindowFixture.h"

#include "RecordingNavigation.h"
#include "ui/widgets/NameListDelegate.h"

#include <QAccessible>
#include <QFile>
#include <QGroupBox>
#include <QHelpEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QToolTip>
#include <QtTest/qtestspontaneevent.h>

#include <algorithm>
#include <functional>

namespace {

CheckList Unchecked(const std::vector<std::string>& names)
{
    CheckList items;
    for (const std::string& name : names)
        items.push_back({ name, false });
    return items;
}

std::vector<std::string> Numbered(const char* stem, int count)
{
    std::vector<std::string> names;
    for (int i = 1; i <= count; ++i)
        names.push_back(stem + std::to_string(i));
    return names;
}

std::vector<QString> QNames(const std::vector<std::string>& names)
{
    std::vector<QString> result;
    for (const std::string& name : names)
        result.push_back(QString::fromStdString(name));
    return result;
}

class MainWindowTest : public MainWindowFixture {
protected:
    void WriteDictionary(const char* name, const NameLists& lists)
    {
        RefuseMessages sink;
        ASSERT_TRUE(SaveDictionary(PathOf(name), lists, sink));
    }

    // A data file of these lists, with the given items analysed and one judgement entered.
    void WriteDataFile(const char* name, const CheckList& layers, const CheckList& threats, const CheckList& mechanisms)
    {
        CData data;
        data.PrepareForAnalysis(layers, threats, mechanisms);
        data.ThresholdsOf(AnalysisMode::Damage).Small = 0.5f;
        RefuseMessages sink;
        ASSERT_TRUE(data.SaveToFile(PathOf(name), sink));
    }

    // Two layers, a threat and a mechanism, everything checked: Next is enabled.
    std::unique_ptr<TMainForm> OpenWithEverythingChecked()
    {
        auto window = OpenMainWindow(navigation);
        AddAll(*window, kLayers, { QStringLiteral("Периметр"), QStringLiteral("Сеть") });
        Add(*window, kThreats, QStringLiteral("Вирус"));
        Add(*window, kMechanisms, QStringLiteral("Антивирус"));
        ClickCheckBox(*window, kLayers, 0);
        ClickCheckBox(*window, kLayers, 1);
        ClickCheckBox(*window, kThreats, 0);
        ClickCheckBox(*window, kMechanisms, 0);
        return window;
    }

    RecordingNavigation navigation;
};

TEST_F(MainWindowTest, StartsWithTheDictionaryOfTheWorkingDirectory)
{
    WriteDictionary("default.dic", { { "Периметр", " Сеть " }, { "Вирус" }, { "Антивирус", "Резервное копирование" } });
    auto window = OpenMainWindow(navigation);

    EXPECT_TRUE(dialogs.Messages.empty());
    EXPECT_EQ(Names(*window, kLayers), (std::vector<std::string> { "Периметр", " Сеть " }));
    EXPECT_EQ(Names(*window, kThreats), (std::vector<std::string> { "Вирус" }));
    EXPECT_EQ(Names(*window, kMechanisms), (std::vector<std::string> { "Антивирус", "Резервное копирование" }));
    for (ListKind kind : { kLayers, kThreats, kMechanisms })
        EXPECT_TRUE(CheckedRows(*window, kind).empty());
    EXPECT_FALSE(Button(*window, "NextButton")->isEnabled());
    EXPECT_TRUE(window->ListsChanged());
    EXPECT_FALSE(window->DataLoaded());
    EXPECT_TRUE(document.IsSaved());
}

TEST_F(MainWindowTest, StartsWithEmptyListsAndSaysSoWhenTheDictionaryIsMissing)
{
    ASSERT_TRUE(QFile::remove(QStringLiteral("default.dic")));
    auto window = OpenMainWindow(navigation);
    EXPECT_EQ(dialogs.Messages, std::vector<std::string> { "Не удалось загрузить файл default.dic." });
    for (ListKind kind : { kLayers, kThreats, kMechanisms })
        EXPECT_EQ(List(*window, kind)->count(), 0);
}

class AddButtonLimit : public MainWindowTest, public ::testing::WithParamInterface<ListKind> { };

TEST_P(AddButtonLimit, AddingStopsAtFifteenItemsAndDeletingOpensItAgain)
{
    const ListKind kind = GetParam();
    auto window = OpenMainWindow(navigation);
    QPushButton* add = KindButton(*window, "Add", kind);

    AddAll(*window, kind, QNames(Numbered("Пункт ", 14)));
    EXPECT_TRUE(add->isEnabled());
    Add(*window, kind, QStringLiteral("Пункт 15"));
    EXPECT_FALSE(add->isEnabled());
    EXPECT_EQ(Names(*window, kind), Numbered("Пункт ", 15));

    static const char* const prompts[]
        = { "Добавить новый эшелон.", "Добавить новую угрозу.", "Добавить новый механизм." };
    ASSERT_EQ(dialogs.NameRequests.size(), 15u);
    for (const auto& request : dialogs.NameRequests) {
        EXPECT_EQ(request.Caption.toStdString(), prompts[kind]);
        EXPECT_TRUE(request.Name.isEmpty());
    }

    Select(*window, kind, 3);
    QTest::mouseClick(KindButton(*window, "Delete", kind), Qt::LeftButton);
    EXPECT_TRUE(add->isEnabled());
    EXPECT_EQ(List(*window, kind)->count(), 14);
    EXPECT_EQ(Names(*window, kind)[3], "Пункт 5");
}

INSTANTIATE_TEST_SUITE_P(EachList, AddButtonLimit, ::testing::Values(kLayers, kThreats, kMechanisms));

TEST_F(MainWindowTest, ACancelledNameDialogAddsNothing)
{
    auto window = OpenMainWindow(navigation);
    dialogs.NameAnswers.push_back(std::nullopt);
    QTest::mouseClick(KindButton(*window, "Add", kThreats), Qt::LeftButton);
    EXPECT_EQ(List(*window, kThreats)->count(), 0);
    EXPECT_EQ(dialogs.NameRequests.size(), 1u);
}

TEST_F(MainWindowTest, NextIsEnabledExactlyWhileEachListHasACheckedItem)
{
    auto window = OpenMainWindow(navigation);
    AddAll(*window, kLayers, { QStringLiteral("Периметр"), QStringLiteral("Сеть") });
    Add(*window, kThreats, QStringLiteral("Вирус"));
    Add(*window, kMechanisms, QStringLiteral("Антивирус"));
    QPushButton* next = Button(*window, "NextButton");

    struct Step {
        ListKind kind;
        int row;
        bool nextEnabled;
    };
    const Step steps[] = {
        { kLayers, 0, false },
        { kThreats, 0, false },
        { kMechanisms, 0, true },
        { kLayers, 1, true },
        { kLayers, 0, true },
        { kLayers, 1, false }, // the last checked layer goes
        { kLayers, 1, true },
        { kMechanisms, 0, false },
    };
    for (const Step& step : steps) {
        ClickCheckBox(*window, step.kind, step.row);
        EXPECT_EQ(next->isEnabled(), step.nextEnabled) << "after row " << step.row << " of list " << step.kind;
    }
    EXPECT_EQ(CheckedRows(*window, kLayers), std::vector<int> { 1 });
    EXPECT_TRUE(CheckedRows(*window, kMechanisms).empty());
}

TEST_F(MainWindowTest, ACheckBoxClickMarksTheListsChangedAndTheDataUnsaved)
{
    auto window = OpenMainWindow(navigation);
    Add(*window, kLayers, QStringLiteral("Периметр"));
    document.SetSaved(true); // adding marks the data unsaved itself

    ClickCheckBox(*window, kLayers, 0);
    EXPECT_FALSE(document.IsSaved());
    EXPECT_TRUE(window->ListsChanged());
    EXPECT_FALSE(window->DataLoaded());
    EXPECT_EQ(SelectedRows(*window, kLayers), std::vector<int> { 0 }) << "the click selects the item too";

    // The space key toggles the selected item as well.
    document.SetSaved(true);
    QTest::keyClick(List(*window, kLayers), Qt::Key_Space);
    EXPECT_TRUE(CheckedRows(*window, kLayers).empty());
    EXPECT_FALSE(document.IsSaved());
}

TEST_F(MainWindowTest, ChangeRenamesTheSelectedItemAndKeepsItsPlaceMarkAndSelection)
{
    auto window = OpenMainWindow(navigation);
    AddAll(*window, kThreats, { QStringLiteral("Вирус"), QStringLiteral("Червь"), QStringLiteral("Троян") });
    ClickCheckBox(*window, kThreats, 1);
    document.SetSaved(true);
    QPushButton* change = KindButton(*window, "Change", kThreats);
    EXPECT_TRUE(change->isEnabled());

    dialogs.NameAnswers.push_back(QStringLiteral("Сетевой червь"));
    QTest::mouseClick(change, Qt::LeftButton);

    ASSERT_EQ(dialogs.NameRequests.size(), 4u);
    EXPECT_EQ(dialogs.NameRequests.back().Caption, QStringLiteral("Изменение названия угрозы."));
    EXPECT_EQ(dialogs.NameRequests.back().Name, QStringLiteral("Червь"));
    EXPECT_EQ(Names(*window, kThreats), (std::vector<std::string> { "Вирус", "Сетевой червь", "Троян" }));
    EXPECT_EQ(CheckedRows(*window, kThreats), std::vector<int> { 1 });
    EXPECT_EQ(SelectedRows(*window, kThreats), std::vector<int> { 1 });
    EXPECT_FALSE(document.IsSaved()) << "a rename is the analyst's work";

    document.SetSaved(true);
    dialogs.NameAnswers.push_back(std::nullopt);
    QTest::mouseClick(change, Qt::LeftButton);
    EXPECT_EQ(Names(*window, kThreats)[1], "Сетевой червь");
    EXPECT_TRUE(document.IsSaved()) << "a cancelled rename changes nothing";
}

TEST_F(MainWindowTest, AfterADeleteNothingIsSelectedAndChangeAndDeleteDoNothing)
{
    auto window = OpenMainWindow(navigation);
    AddAll(*window, kMechanisms,
        { QStringLiteral("Антивирус"), QStringLiteral("Резервное копирование"), QStringLiteral("Шифрование") });
    QPushButton* change = KindButton(*window, "Change", kMechanisms);
    QPushButton* remove = KindButton(*window, "Delete", kMechanisms);
    EXPECT_FALSE(change->isEnabled());
    EXPECT_FALSE(remove->isEnabled());

    Select(*window, kMechanisms, 0);
    QTest::mouseClick(remove, Qt::LeftButton);
    EXPECT_EQ(Names(*window, kMechanisms), (std::vector<std::string> { "Резервное копирование", "Шифрование" }));
    EXPECT_TRUE(SelectedRows(*window, kMechanisms).empty());
    EXPECT_TRUE(change->isEnabled());
    EXPECT_TRUE(remove->isEnabled());

    const std::size_t asked = dialogs.NameRequests.size();
    QTest::mouseClick(change, Qt::LeftButton);
    QTest::mouseClick(remove, Qt::LeftButton);
    EXPECT_EQ(dialogs.NameRequests.size(), asked);
    EXPECT_EQ(List(*window, kMechanisms)->count(), 2);
}

TEST_F(MainWindowTest, EachFileButtonAsksWithItsOwnFilterAndExtension)
{
    auto window = OpenMainWindow(navigation);
    struct Case {
        const char* button;
        bool save;
        FileDialogOptions options;
    };
    const Case cases[] = {
        { "LoadButton", false, { QStringLiteral("Файлы данных Vardun 2.1|*.sav"), QStringLiteral("sav") } },
        { "SaveButton", true, { QStringLiteral("Файлы данных Vardun 2.2(*.sav)|*.sav"), QStringLiteral("sav") } },
        { "LoadDicButton", false, { QStringLiteral("Vardun 2.1 Файл словаря(*.dic)|*.dic"), QStringLiteral("dic") } },
        { "SaveDicButton", true, { QStringLiteral("Vardun 2.1 Файл словаря(*.dic)|*.dic"), QStringLiteral("dic") } },
    };
    for (const Case& c : cases) {
        dialogs.FileRequests.clear();
        dialogs.FileAnswers.push_back(std::nullopt);
        QTest::mouseClick(Button(*window, c.button), Qt::LeftButton);
        ASSERT_EQ(dialogs.FileRequests.size(), 1u) << c.button;
        EXPECT_EQ(dialogs.FileRequests[0].Save, c.save) << c.button;
        EXPECT_EQ(dialogs.FileRequests[0].Options, c.options) << c.button;
    }
}

TEST_F(MainWindowTest, ADataFileFillsTheListsAndMarksAndEnablesNext)
{
    // Twenty layers: more than adding allows, all of them are read.
    WriteDataFile("assessment.sav",
        [] {
            CheckList layers = Unchecked(Numbered("Эшелон ", 20));
            layers[1].Checked = layers[19].Checked = true;
            return layers;
        }(),
        Unchecked({ "Вирус", "Червь" }), { { "Антивирус", true } });
    auto window = OpenMainWindow(navigation);

    dialogs.FileAnswers.push_back(QString::fromStdString(PathOf("assessment.sav")));
    QTest::mouseClick(Button(*window, "LoadButton"), Qt::LeftButton);

    EXPECT_EQ(Names(*window, kLayers), Numbered("Эшелон ", 20));
    EXPECT_EQ(CheckedRows(*window, kLayers), (std::vector<int> { 1, 19 }));
    EXPECT_EQ(Names(*window, kThreats), (std::vector<std::string> { "Вирус", "Червь" }));
    EXPECT_TRUE(CheckedRows(*window, kThreats).empty());
    EXPECT_EQ(CheckedRows(*window, kMechanisms), std::vector<int> { 0 });
    EXPECT_FLOAT_EQ(store.ThresholdsOf(AnalysisMode::Damage).Small, 0.5f);

    EXPECT_FALSE(KindButton(*window, "Add", kLayers)->isEnabled());
    EXPECT_TRUE(KindButton(*window, "Add", kThreats)->isEnabled());
    // Enabled although no threat is analysed; Next itself refuses to go on.
    EXPECT_TRUE(Button(*window, "NextButton")->isEnabled());
    EXPECT_TRUE(window->DataLoaded());
    EXPECT_TRUE(window->ListsChanged());
    EXPECT_TRUE(document.IsSaved()) << "the marks set by the load are no check-box clicks";
    EXPECT_TRUE(SelectedRows(*window, kLayers).empty());
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(MainWindowTest, AFailedDataLoadLeavesListsMarksNextAndFlagsAsTheyWere)
{
    WriteDictionary("lists.dic", { { "Периметр" }, { "Вирус" }, { "Антивирус" } });
    struct Case {
        const char* file;
        const char* message;
    };
    const Case cases[] = {
        { "missing.sav", "Не удалось открыть файл." },
        { "lists.dic", "Неправильный формат файл" },
    };
    for (const Case& c : cases) {
        store = CData();
        auto window = OpenWithEverythingChecked();
        ClickCheckBox(*window, kLayers, 1); // Next stays enabled, layer 0 is still checked
        Button(*window, "NextButton")->click();
        const bool nextEnabled = Button(*window, "NextButton")->isEnabled();
        const auto layers = Names(*window, kLayers);
        const auto storeNames = store.LayerNames;
        dialogs.Messages.clear();

        dialogs.FileAnswers.push_back(QString::fromStdString(PathOf(c.file)));
        QTest::mouseClick(Button(*window, "LoadButton"), Qt::LeftButton);

        EXPECT_EQ(dialogs.Messages, std::vector<std::string> { c.message });
        EXPECT_EQ(Names(*window, kLayers), layers);
        EXPECT_EQ(CheckedRows(*window, kLayers), std::vector<int> { 0 });
        EXPECT_EQ(CheckedRows(*window, kThreats), std::vector<int> { 0 });
        EXPECT_EQ(Button(*window, "NextButton")->isEnabled(), nextEnabled);
        EXPECT_FALSE(window->DataLoaded());
        EXPECT_FALSE(window->ListsChanged());
        EXPECT_EQ(store.LayerNames, storeNames);
    }
}

TEST_F(MainWindowTest, ADictionaryReplacesTheListsUncheckedAndLeavesButtonsAndFlags)
{
    WriteDictionary("big.dic", { Numbered("Эшелон ", 20), { "Вирус" }, {} });
    auto window = OpenWithEverythingChecked();
    document.SetSaved(true);

    dialogs.FileAnswers.push_back(QString::fromStdString(PathOf("big.dic")));
    QTest::mouseClick(Button(*window, "LoadDicButton"), Qt::LeftButton);

    EXPECT_EQ(Names(*window, kLayers), Numbered("Эшелон ", 20));
    EXPECT_EQ(Names(*window, kThreats), std::vector<std::string> { "Вирус" });
    EXPECT_TRUE(Names(*window, kMechanisms).empty());
    for (ListKind kind : { kLayers, kThreats, kMechanisms })
        EXPECT_TRUE(CheckedRows(*window, kind).empty());
    EXPECT_TRUE(Button(*window, "NextButton")->isEnabled());
    EXPECT_TRUE(KindButton(*window, "Add", kLayers)->isEnabled()) << "until the window is shown again";
    EXPECT_FALSE(document.IsSaved()) << "the lists the analyst had are gone";
    EXPECT_TRUE(window->ListsChanged());

    window->hide();
    window->show();
    EXPECT_FALSE(KindButton(*window, "Add", kLayers)->isEnabled());

    // A file that is no dictionary changes nothing.
    document.SetSaved(true);
    dialogs.FileAnswers.push_back(QString::fromStdString(PathOf("missing.dic")));
    QTest::mouseClick(Button(*window, "LoadDicButton"), Qt::LeftButton);
    EXPECT_EQ(dialogs.Messages.back(), "Не удалось загрузить файл " + PathOf("missing.dic") + ".");
    EXPECT_EQ(Names(*window, kLayers).size(), 20u);
    EXPECT_TRUE(document.IsSaved());
}

TEST_F(MainWindowTest, SavedListsReadBackAsTheyWere)
{
    auto window = OpenWithEverythingChecked();
    Add(*window, kThreats, QStringLiteral(" Червь "));
    dialogs.FileAnswers.push_back(QString::fromStdString(PathOf("saved.dic")));
    QTest::mouseClick(Button(*window, "SaveDicButton"), Qt::LeftButton);

    NameLists lists;
    RefuseMessages sink;
    ASSERT_TRUE(LoadDictionary(PathOf("saved.dic"), lists, sink));
    EXPECT_EQ(lists.Layers, (std::vector<std::string> { "Периметр", "Сеть" }));
    EXPECT_EQ(lists.Threats, (std::vector<std::string> { "Вирус", " Червь " }));
    EXPECT_EQ(lists.Mechanisms, std::vector<std::string> { "Антивирус" });
}

TEST_F(MainWindowTest, SavingDataClearsTheUnsavedMarkOnlyWhenTheFileWasWritten)
{
    auto window = OpenWithEverythingChecked();
    Button(*window, "NextButton")->click();
    ASSERT_FALSE(document.IsSaved());

    dialogs.FileAnswers.push_back(QString::fromStdString(PathOf("no such folder/data.sav")));
    QTest::mouseClick(Button(*window, "SaveButton"), Qt::LeftButton);
    EXPECT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_FALSE(document.IsSaved());

    dialogs.FileAnswers.push_back(std::nullopt);
    QTest::mouseClick(Button(*window, "SaveButton"), Qt::LeftButton);
    EXPECT_FALSE(document.IsSaved());

    dialogs.FileAnswers.push_back(QString::fromStdString(PathOf("data.sav")));
    QTest::mouseClick(Button(*window, "SaveButton"), Qt::LeftButton);
    EXPECT_TRUE(document.IsSaved());
    CData reread;
    ASSERT_TRUE(reread.LoadFromFile(PathOf("data.sav"), dialogs));
    EXPECT_EQ(reread.LayerNames, (std::vector<std::string> { "Периметр", "Сеть" }));
    EXPECT_EQ(reread.LayerIndices, (std::vector<std::string> { "0", "1" }));
}

TEST_F(MainWindowTest, NextPreparesTheStoreAndPassesOnWhetherTheListsChanged)
{
    auto window = OpenWithEverythingChecked();
    Add(*window, kThreats, QStringLiteral("Червь")); // unchecked: named, not analysed

    Button(*window, "NextButton")->click();
    EXPECT_EQ(navigation.Analyses, std::vector<bool> { true });
    EXPECT_EQ(store.ThreatNames, (std::vector<std::string> { "Вирус", "Червь" }));
    EXPECT_EQ(store.ThreatIndices, std::vector<std::string> { "0" });
    EXPECT_EQ(store.LayerCount, 2);
    EXPECT_FALSE(window->ListsChanged());
    EXPECT_FALSE(window->DataLoaded());

    Button(*window, "NextButton")->click();
    ClickCheckBox(*window, kThreats, 1);
    ClickCheckBox(*window, kThreats, 1);
    Button(*window, "NextButton")->click();
    EXPECT_EQ(navigation.Analyses, (std::vector<bool> { true, false, true }));
}

TEST_F(MainWindowTest, NextRightAfterADataLoadKeepsTheLoadedStore)
{
    WriteDataFile("assessment.sav", { { "Периметр", true } }, { { "Вирус", true } }, { { "Антивирус", true } });
    auto window = OpenMainWindow(navigation);
    dialogs.FileAnswers.push_back(QString::fromStdString(PathOf("assessment.sav")));
    QTest::mouseClick(Button(*window, "LoadButton"), Qt::LeftButton);
    Add(*window, kLayers, QStringLiteral("Сеть"));

    Button(*window, "NextButton")->click();
    EXPECT_EQ(navigation.Analyses, std::vector<bool> { true });
    EXPECT_EQ(store.LayerNames, std::vector<std::string> { "Периметр" }) << "the store was prepared again";
    EXPECT_FALSE(window->DataLoaded());

    Button(*window, "NextButton")->click();
    EXPECT_EQ(store.LayerNames, (std::vector<std::string> { "Периметр", "Сеть" }));
}

// Next stays enabled when a dictionary clears the marks, and a data file may analyse no
// item of a kind; the analysis needs one of each.
TEST_F(MainWindowTest, NextNamesTheListWithoutACheckedItemAndStays)
{
    WriteDictionary("lists.dic", { { "Периметр" }, { "Вирус" }, { "Антивирус" } });
    WriteDataFile("no threats.sav", { { "Периметр", true } }, { { "Вирус", false } }, { { "Антивирус", true } });
    struct Case {
        const char* button;
        const char* file;
        const char* message;
    };
    const Case cases[] = {
        { "LoadDicButton", "lists.dic", "Для анализа отметьте хотя бы один эшелон." },
        { "LoadButton", "no threats.sav", "Для анализа отметьте хотя бы одну угрозу." },
    };
    for (const Case& c : cases) {
        store = CData();
        dialogs.Messages.clear();
        navigation.Analyses.clear();
        auto window = OpenWithEverythingChecked();
        dialogs.FileAnswers.push_back(QString::fromStdString(PathOf(c.file)));
        QTest::mouseClick(Button(*window, c.button), Qt::LeftButton);
        const auto storeNames = store.LayerNames;
        ASSERT_TRUE(Button(*window, "NextButton")->isEnabled()) << c.file;

        Button(*window, "NextButton")->click();

        EXPECT_EQ(dialogs.Messages, std::vector<std::string> { c.message });
        EXPECT_TRUE(navigation.Analyses.empty());
        EXPECT_EQ(store.LayerNames, storeNames) << "nothing was prepared";
        EXPECT_TRUE(window->ListsChanged());
        EXPECT_TRUE(window->isVisible());
    }
}

// The close question, with every way of answering it.
TEST_F(MainWindowTest, ClosingAsksAboutUnsavedChangesOnlyWhenThereAreAny)
{
    struct Case {
        const char* what;
        bool unsaved;
        std::optional<CloseAnswer> answer;
        std::optional<const char*> saveAs; // the save dialog's answer, when it is asked
        bool closes;
        bool written;
    };
    const Case cases[] = {
        { "nothing unsaved", false, std::nullopt, std::nullopt, true, false },
        { "cancel", true, CloseAnswer::Cancel, std::nullopt, false, false },
        { "no", true, CloseAnswer::No, std::nullopt, true, false },
        { "yes, save dialog cancelled", true, CloseAnswer::Yes, nullptr, false, false },
        { "yes, saved", true, CloseAnswer::Yes, "closing.sav", true, true },
        { "yes, save failed", true, CloseAnswer::Yes, "no such folder/closing.sav", false, false },
    };
    for (const Case& c : cases) {
        QFile::remove(QString::fromStdString(PathOf("closing.sav")));
        dialogs = ScriptedDialogs();
        auto window = OpenMainWindow(navigation);
        Add(*window, kLayers, QStringLiteral("Периметр"));
        document.SetSaved(true);
        if (c.unsaved)
            ClickCheckBox(*window, kLayers, 0);
        if (c.answer)
            dialogs.CloseAnswers.push_back(*c.answer);
        if (c.saveAs)
            dialogs.FileAnswers.push_back(
                *c.saveAs ? std::optional(QString::fromStdString(PathOf(*c.saveAs))) : std::nullopt);

        QTest::mouseClick(Button(*window, "ExitButton"), Qt::LeftButton);

        EXPECT_EQ(dialogs.CloseQuestions, c.answer ? 1 : 0) << c.what;
        EXPECT_EQ(window->isVisible(), !c.closes) << c.what;
        EXPECT_EQ(QFile::exists(QString::fromStdString(PathOf("closing.sav"))), c.written) << c.what;
        EXPECT_TRUE(dialogs.FileAnswers.empty()) << c.what;
    }
}

// Names added, renamed or deleted and lists from a dictionary are the analyst's work: they
// used to be lost at exit without the close question. What changes no name marks nothing.
TEST_F(MainWindowTest, EveryEditOfTheListsIsUnsavedAndClosingAsksAboutIt)
{
    WriteDictionary("other.dic", { { "Шлюз" }, { "Вирус" }, {} });
    struct Case {
        const char* what;
        std::function<void(TMainForm&)> act;
        bool edits;
    };
    const Case cases[] = {
        { "add", [this](TMainForm& w) { Add(w, kThreats, QStringLiteral("Червь")); }, true },
        { "cancelled add",
            [this](TMainForm& w) {
                dialogs.NameAnswers.push_back(std::nullopt);
                QTest::mouseClick(KindButton(w, "Add", kThreats), Qt::LeftButton);
            },
            false },
        { "rename of an unchecked item",
            [this](TMainForm& w) {
                Select(w, kLayers, 2);
                dialogs.NameAnswers.push_back(QStringLiteral("Шлюз"));
                QTest::mouseClick(KindButton(w, "Change", kLayers), Qt::LeftButton);
            },
            true },
        { "cancelled rename",
            [this](TMainForm& w) {
                Select(w, kLayers, 2);
                dialogs.NameAnswers.push_back(std::nullopt);
                QTest::mouseClick(KindButton(w, "Change", kLayers), Qt::LeftButton);
            },
            false },
        { "delete",
            [](TMainForm& w) {
                Select(w, kMechanisms, 0);
                QTest::mouseClick(KindButton(w, "Delete", kMechanisms), Qt::LeftButton);
            },
            true },
        { "delete with nothing selected",
            [](TMainForm& w) {
                List(w, kMechanisms)->clearSelection();
                QTest::mouseClick(KindButton(w, "Delete", kMechanisms), Qt::LeftButton);
            },
            false },
        { "dictionary",
            [this](TMainForm& w) {
                dialogs.FileAnswers.push_back(QString::fromStdString(PathOf("other.dic")));
                QTest::mouseClick(Button(w, "LoadDicButton"), Qt::LeftButton);
            },
            true },
        { "dictionary refused",
            [this](TMainForm& w) {
                dialogs.FileAnswers.push_back(QString::fromStdString(PathOf("missing.dic")));
                QTest::mouseClick(Button(w, "LoadDicButton"), Qt::LeftButton);
            },
            false },
        { "dictionary dialog cancelled",
            [this](TMainForm& w) {
                dialogs.FileAnswers.push_back(std::nullopt);
                QTest::mouseClick(Button(w, "LoadDicButton"), Qt::LeftButton);
            },
            false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dialogs = ScriptedDialogs();
        auto window = OpenWithEverythingChecked();
        AddAll(*window, kLayers, { QStringLiteral("Резерв") });
        document.SetSaved(true);

        c.act(*window);
        EXPECT_EQ(document.IsSaved(), !c.edits);

        if (c.edits)
            dialogs.CloseAnswers.push_back(CloseAnswer::Cancel);
        QTest::mouseClick(Button(*window, "ExitButton"), Qt::LeftButton);
        EXPECT_EQ(dialogs.CloseQuestions, c.edits ? 1 : 0);
        EXPECT_EQ(window->isVisible(), c.edits);
        EXPECT_TRUE(dialogs.NameAnswers.empty());
        EXPECT_TRUE(dialogs.FileAnswers.empty());
    }
}

// After a data load the store is the file's; a name edited afterwards goes into the file
// the close question saves, with the judgements of its item.
TEST_F(MainWindowTest, ANameEditedAfterADataLoadIsInTheFileClosingSaves)
{
    WriteDataFile("assessment.sav", { { "Периметр", true }, { "Сеть", false } }, { { "Вирус", true } },
        { { "Антивирус", true } });
    auto window = OpenMainWindow(navigation);
    dialogs.FileAnswers.push_back(QString::fromStdString(PathOf("assessment.sav")));
    QTest::mouseClick(Button(*window, "LoadButton"), Qt::LeftButton);
    ASSERT_TRUE(window->DataLoaded());
    store.ET(0, 0) = 7.0f; // a judgement the analysis windows wrote
    ASSERT_TRUE(document.IsSaved());

    Select(*window, kLayers, 1);
    dialogs.NameAnswers.push_back(QStringLiteral("Шлюз"));
    QTest::mouseClick(KindButton(*window, "Change", kLayers), Qt::LeftButton);
    Add(*window, kThreats, QStringLiteral("Червь"));

    dialogs.CloseAnswers.push_back(CloseAnswer::Yes);
    dialogs.FileAnswers.push_back(QString::fromStdString(PathOf("closing.sav")));
    QTest::mouseClick(Button(*window, "ExitButton"), Qt::LeftButton);
    EXPECT_EQ(dialogs.CloseQuestions, 1);
    EXPECT_FALSE(window->isVisible());
    CData closing;
    ASSERT_TRUE(closing.LoadFromFile(PathOf("closing.sav"), dialogs));
    EXPECT_EQ(closing.LayerNames, (std::vector<std::string> { "Периметр", "Шлюз" }));
    EXPECT_EQ(closing.LayerIndices, std::vector<std::string> { "0" });
    EXPECT_EQ(closing.ThreatNames, (std::vector<std::string> { "Вирус", "Червь" }));
    EXPECT_EQ(closing.ThreatIndices, std::vector<std::string> { "0" });
    ASSERT_EQ(closing.ET.Rows(), 1);
    EXPECT_EQ(closing.ET(0, 0), 7.0f) << "the analysed items keep their judgements";
}

TEST_F(MainWindowTest, TabWalksTheControlsInTheirOrder)
{
    auto window = OpenMainWindow(navigation);
    const std::vector<std::string> expected {
        "AddLayerButton",
        "ChangeLayerButton",
        "DeleteLayerButton",
        "LayersList",
        "AddThreatButton",
        "ChangeThreatButton",
        "DeleteThreatButton",
        "ThreatsList",
        "AddMechanismButton",
        "ChangeMechanismButton",
        "DeleteMechanismButton",
        "MechanismsList",
        "LoadDicButton",
        "SaveDicButton",
        "AboutButton",
        "SaveButton",
        "LoadButton",
        "NextButton",
        "ExitButton",
    };
    // The focus chain, disabled controls included: they take their turn once enabled.
    std::vector<std::string> order;
    QWidget* first = window->findChild<QWidget*>(QString::fromStdString(expected.front()));
    QWidget* widget = first;
    do {
        if (widget->focusPolicy() & Qt::TabFocus)
            order.push_back(widget->objectName().toStdString());
        widget = widget->nextInFocusChain();
    } while (widget != first);
    EXPECT_EQ(order, expected);
}

TEST_F(MainWindowTest, EnterPressesNextOrTheFocusedButtonAndEscapeCloses)
{
    auto window = OpenWithEverythingChecked();
    QTest::keyClick(List(*window, kThreats), Qt::Key_Return);
    EXPECT_EQ(navigation.Analyses.size(), 1u);

    dialogs.FileAnswers.push_back(std::nullopt);
    QPushButton* load = Button(*window, "LoadButton");
    load->setFocus();
    QTest::keyClick(load, Qt::Key_Return);
    EXPECT_EQ(dialogs.FileRequests.size(), 1u);
    EXPECT_EQ(navigation.Analyses.size(), 1u);

    dialogs.CloseAnswers.push_back(CloseAnswer::Cancel);
    QTest::keyClick(List(*window, kThreats), Qt::Key_Escape);
    EXPECT_EQ(dialogs.CloseQuestions, 1);
    EXPECT_TRUE(window->isVisible());
}

} // namespace

namespace {

// Saving before the first Next used to write empty lists and mark the data saved, so the
// close question was skipped and the lists were gone.
TEST_F(MainWindowTest, SavingBeforeNextWritesTheListsAndMarksShown)
{
    auto window = OpenMainWindow(navigation);
    AddAll(*window, kLayers, { QStringLiteral("Периметр"), QStringLiteral("Сеть") });
    Add(*window, kThreats, QStringLiteral("Вирус"));
    AddAll(*window, kMechanisms, { QStringLiteral("Антивирус"), QStringLiteral("Экран") });
    ClickCheckBox(*window, kLayers, 1);
    ClickCheckBox(*window, kThreats, 0);
    ClickCheckBox(*window, kMechanisms, 0);

    dialogs.FileAnswers.push_back(QString::fromStdString(PathOf("early.sav")));
    QTest::mouseClick(Button(*window, "SaveButton"), Qt::LeftButton);
    ASSERT_TRUE(dialogs.Messages.empty());
    EXPECT_TRUE(document.IsSaved());
    CData reread;
    ASSERT_TRUE(reread.LoadFromFile(PathOf("early.sav"), dialogs));
    EXPECT_EQ(reread.LayerNames, (std::vector<std::string> { "Периметр", "Сеть" }));
    EXPECT_EQ(reread.LayerIndices, std::vector<std::string> { "1" });
    EXPECT_EQ(reread.ThreatIndices, std::vector<std::string> { "0" });
    EXPECT_EQ(reread.MechanismNames, (std::vector<std::string> { "Антивирус", "Экран" }));
    EXPECT_EQ(reread.MechanismIndices, std::vector<std::string> { "0" });
    EXPECT_EQ(reread.MT.Rows(), 1);
    EXPECT_EQ(reread.TE.Cols(), 1);
    // The windows are still to be built for this selection at Next.
    EXPECT_TRUE(window->ListsChanged());

    // A later change is unsaved again, and closing asks about it.
    ClickCheckBox(*window, kMechanisms, 1);
    EXPECT_FALSE(document.IsSaved());
    dialogs.CloseAnswers.push_back(CloseAnswer::Cancel);
    QTest::mouseClick(Button(*window, "ExitButton"), Qt::LeftButton);
    EXPECT_EQ(dialogs.CloseQuestions, 1);
    EXPECT_TRUE(window->isVisible());

    // The close question's save writes what the window shows as well.
    dialogs.CloseAnswers.push_back(CloseAnswer::Yes);
    dialogs.FileAnswers.push_back(QString::fromStdString(PathOf("closing.sav")));
    QTest::mouseClick(Button(*window, "ExitButton"), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    CData closing;
    ASSERT_TRUE(closing.LoadFromFile(PathOf("closing.sav"), dialogs));
    EXPECT_EQ(closing.MechanismIndices, (std::vector<std::string> { "0", "1" }));
}

// A window restored from the task bar is not shown by the program: the add buttons keep
// the state the last add, delete or load gave them.
TEST_F(MainWindowTest, RestoringTheWindowDoesNotApplyTheAddButtonRule)
{
    WriteDictionary("default.dic", { Numbered("Эшелон ", 20), {}, {} });
    auto window = OpenMainWindow(navigation);
    ASSERT_FALSE(Button(*window, "AddLayerButton")->isEnabled()) << "shown by the program: the rule ran";

    dialogs.FileAnswers.push_back(QString::fromStdString(PathOf("default.dic")));
    WriteDictionary("default.dic", { Numbered("Эшелон ", 3), {}, {} });
    QTest::mouseClick(Button(*window, "LoadDicButton"), Qt::LeftButton);
    ASSERT_EQ(List(*window, kLayers)->count(), 3);
    ASSERT_FALSE(Button(*window, "AddLayerButton")->isEnabled()) << "a dictionary load leaves the button";

    // What the window system sends when the analyst restores the window.
    QShowEvent restored;
    QSpontaneKeyEvent::setSpontaneous(&restored);
    // Delivered directly: sendEvent would take the spontaneous mark off again.
    static_cast<QObject*>(window.get())->event(&restored);
    EXPECT_FALSE(Button(*window, "AddLayerButton")->isEnabled());

    window->hide();
    window->show();
    EXPECT_TRUE(Button(*window, "AddLayerButton")->isEnabled());
}

TEST_F(MainWindowTest, ANewItemIsScrolledIntoViewAndALoadShowsTheTop)
{
    auto window = OpenMainWindow(navigation);
    QListWidget* list = List(*window, kThreats);
    AddAll(*window, kThreats, QNames(Numbered("Угроза ", 14)));
    const QRect last = list->visualItemRect(list->item(13));
    EXPECT_TRUE(list->viewport()->rect().contains(last)) << "the 14th of 14 items is in view";
    EXPECT_GT(list->verticalScrollBar()->value(), 0);

    WriteDictionary("more.dic", { {}, Numbered("Угроза ", 30), {} });
    dialogs.FileAnswers.push_back(QString::fromStdString(PathOf("more.dic")));
    QTest::mouseClick(Button(*window, "LoadDicButton"), Qt::LeftButton);
    EXPECT_EQ(list->verticalScrollBar()->value(), 0);

    AddAll(*window, kThreats, { QStringLiteral("Последняя") });
    WriteDataFile("data.sav", Unchecked({ "L" }), Unchecked(Numbered("T", 40)), Unchecked({ "M" }));
    dialogs.FileAnswers.push_back(QString::fromStdString(PathOf("data.sav")));
    QTest::mouseClick(Button(*window, "LoadButton"), Qt::LeftButton);
    ASSERT_EQ(list->count(), 40);
    EXPECT_EQ(list->verticalScrollBar()->value(), 0);
}

TEST_F(MainWindowTest, ANameTooLongForItsListShowsWholeInATooltip)
{
    auto window = OpenMainWindow(navigation);
    const QString longName = QStringLiteral("Несанкционированный доступ к данным через съёмные носители, "
                                            "оставленные без присмотра в переговорной комнате");
    AddAll(*window, kLayers, { QStringLiteral("Периметр"), longName });
    QListWidget* list = List(*window, kLayers);
    auto* delegate = qobject_cast<NameListDelegate*>(list->itemDelegate());
    ASSERT_NE(delegate, nullptr);
    auto tipFor = [&](int row) {
        QStyleOptionViewItem option;
        option.initFrom(list->viewport());
        option.widget = list;
        option.rect = list->visualItemRect(list->item(row));
        option.font = list->font();
        option.fontMetrics = list->fontMetrics();
        return delegate->ToolTipFor(option, list->model()->index(row, 0));
    };
    EXPECT_EQ(tipFor(0), std::nullopt);
    EXPECT_EQ(tipFor(1), longName);

    // And through the event a pointer resting on the item sends.
    const QRect rect = list->visualItemRect(list->item(1));
    QHelpEvent help(QEvent::ToolTip, rect.center(), list->viewport()->mapToGlobal(rect.center()));
    QApplication::sendEvent(list->viewport(), &help);
    EXPECT_EQ(QToolTip::text(), longName);
    QToolTip::hideText();
}

// What a screen reader announces: the window as a window with its caption, each list by
// its group's caption, each button by its caption.
TEST_F(MainWindowTest, AssistiveTechnologyFindsTheWindowListsAndButtons)
{
    auto window = OpenMainWindow(navigation);
    QAccessibleInterface* frame = QAccessible::queryAccessibleInterface(window.get());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->role(), QAccessible::Window);
    EXPECT_EQ(frame->text(QAccessible::Name), QStringLiteral("Без имени — Vardun 2.2"));

    const std::pair<ListKind, const char*> lists[]
        = { { kLayers, "Иерархия уровней" }, { kThreats, "Угрозы" }, { kMechanisms, "Механизмы" } };
    for (const auto& [kind, name] : lists) {
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(List(*window, kind));
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->role(), QAccessible::List) << name;
        EXPECT_EQ(list->text(QAccessible::Name), QString::fromUtf8(name));
    }
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        QAccessibleInterface* control = QAccessible::queryAccessibleInterface(button);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->role(), QAccessible::Button);
        EXPECT_EQ(control->text(QAccessible::Name), QString(button->text()).remove(QLatin1Char('&')));
        EXPECT_FALSE(control->text(QAccessible::Name).isEmpty());
    }
}

} // namespace
