// Start-up: the command line, a data file named on it opened as "Загрузить данные..." opens
// one, and where the start-up dictionary is found.
#include "app/CommandLine.h"
#include "app/Program.h"
#include "app/StartupDictionary.h"
#include "model/Data.h"
#include "model/Dictionary.h"
#include "model/Messages.h"
#include "ui/document/Document.h"
#include "ui/windows/MainWindow.h"

#include "ScriptedDialogs.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

const std::string kExample = VARDUN_SOURCE_DIR "/sample/example.sav";
const std::string kSampleDictionary = VARDUN_SOURCE_DIR "/sample/default.dic";

// --- The command line.

struct LineCase {
    std::vector<std::string> Args;
    CommandLine::Action What;
    std::optional<std::string> DataFile;
    std::string Error;
};

TEST(CommandLine, IsReadAsTheUsageSays)
{
    using A = CommandLine::Action;
    const LineCase cases[] = {
        { {}, A::Run, std::nullopt, "" },
        { { "a.sav" }, A::Run, "a.sav", "" },
        { { "--help" }, A::Help, std::nullopt, "" },
        { { "-h" }, A::Help, std::nullopt, "" },
        { { "--version" }, A::Version, std::nullopt, "" },
        // Wherever they stand, and before anything the line gets wrong (Qt's own options
        // are still in the line when these two are asked for).
        { { "a.sav", "--help" }, A::Help, std::nullopt, "" },
        { { "-platform", "offscreen", "--version" }, A::Version, std::nullopt, "" },
        { { "--help", "--version" }, A::Help, std::nullopt, "" },
        { { "--bogus" }, A::Error, std::nullopt, "unknown option --bogus" },
        { { "a.sav", "b.sav" }, A::Error, std::nullopt, "only one data file can be opened" },
        // A file whose name looks like an option.
        { { "--", "-odd.sav" }, A::Run, "-odd.sav", "" },
        { { "-" }, A::Run, "-", "" },
    };
    for (const LineCase& c : cases) {
        std::string shown;
        for (const std::string& arg : c.Args)
            shown += arg + ' ';
        SCOPED_TRACE(shown);
        const CommandLine line = ParseCommandLine(c.Args);
        EXPECT_EQ(line.What, c.What);
        EXPECT_EQ(line.DataFile, c.DataFile);
        EXPECT_EQ(line.Error, c.Error);
    }
}

// --- A data file at start-up, and the start-up dictionary.

struct RefuseMessages : IMessageSink {
    void ShowMessage(const std::string& text) override { ADD_FAILURE() << text; }
};

class Startup : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        previousDir_ = QDir::currentPath();
        QDir::setCurrent(dir_.path());
    }

    void TearDown() override
    {
        program_.reset();
        QDir::setCurrent(previousDir_);
    }

    std::string PathOf(const char* name) const
    {
        return QDir(dir_.path()).filePath(QString::fromUtf8(name)).toStdString();
    }

    // A folder of the temporary directory, with a dictionary whose one layer names it.
    std::string FolderWithDictionary(const char* name)
    {
        QDir(dir_.path()).mkpath(QString::fromUtf8(name));
        const std::string folder = PathOf(name);
        WriteDictionary(folder + "/default.dic", name);
        return folder;
    }
    static void WriteDictionary(const std::string& path, const std::string& layer)
    {
        RefuseMessages refuse;
        ASSERT_TRUE(SaveDictionary(path, NameLists { { layer }, { "Угроза" }, { "Механизм" } }, refuse));
    }

    TMainForm& Start(const StartupFiles& files)
    {
        program_ = std::make_unique<Program>(document, dialogs);
        program_->Start(files);
        return program_->MainForm();
    }

    static QListWidget* List(TMainForm& window, const char* name)
    {
        auto* list = window.findChild<QListWidget*>(QString::fromLatin1(name));
        EXPECT_NE(list, nullptr) << name;
        return list;
    }
    struct Items {
        std::vector<std::string> Names;
        std::vector<std::string> Checked;
    };
    static Items ItemsOf(QListWidget* list)
    {
        Items items;
        for (int i = 0; i < list->count(); ++i) {
            items.Names.push_back(list->item(i)->text().toStdString());
            if (list->item(i)->checkState() == Qt::Checked)
                items.Checked.push_back(list->item(i)->text().toStdString());
        }
        return items;
    }

    AssessmentDocument document;
    ScriptedDialogs dialogs;

private:
    QTemporaryDir dir_;
    QString previousDir_;
    std::unique_ptr<Program> program_;
};

TEST_F(Startup, ADataFileOnTheCommandLineFillsTheListsAndMarksAsLoadingItWould)
{
    // A dictionary in reach must not be read: the file brings its own lists.
    const std::string dictionaries = FolderWithDictionary("dictionaries");
    TMainForm& window = Start({ kExample, { dictionaries } });
    EXPECT_TRUE(dialogs.Messages.empty());
    EXPECT_TRUE(window.isVisible());

    const Items layers = ItemsOf(List(window, "LayersList"));
    EXPECT_EQ(layers.Names,
        (std::vector<std::string> {
            "Периметр сети", "Сетевой уровень", "Физическая охрана", "Уровень серверов", "Уровень рабочих станций" }));
    EXPECT_EQ(layers.Checked,
        (std::vector<std::string> {
            "Периметр сети", "Сетевой уровень", "Уровень серверов", "Уровень рабочих станций" }));
    const Items threats = ItemsOf(List(window, "ThreatsList"));
    EXPECT_EQ(threats.Names.size(), 10u);
    EXPECT_EQ(threats.Checked.size(), 8u);
    EXPECT_EQ(threats.Names.back(), "Стихийные бедствия");
    const Items mechanisms = ItemsOf(List(window, "MechanismsList"));
    EXPECT_EQ(mechanisms.Names.size(), 7u);
    EXPECT_EQ(mechanisms.Checked.size(), 6u);

    // As after "Загрузить данные...": the store holds the file, Next goes straight on.
    EXPECT_EQ(document.FilePath(), kExample);
    EXPECT_EQ(document.Store().LayerCount, 4);
    EXPECT_TRUE(window.DataLoaded());
    EXPECT_TRUE(window.ListsChanged());
    auto* next = window.findChild<QPushButton*>(QStringLiteral("NextButton"));
    ASSERT_NE(next, nullptr);
    EXPECT_TRUE(next->isEnabled());
}

TEST_F(Startup, ARefusedDataFileShowsItsMessageAndLeavesTheWindowEmpty)
{
    const std::string dictionaries = FolderWithDictionary("dictionaries");
    struct Case {
        std::string File;
        std::string Message;
    };
    // Text of another program: neither a data file nor a dictionary by its first line.
    const std::string other = PathOf("notes.txt");
    {
        QFile file(QString::fromStdString(other));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Notes of another program\r\n");
    }
    const Case cases[] = {
        { PathOf("missing.sav"), "Не удалось открыть файл." },
        { other, "Неправильный формат файл" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.File);
        dialogs.Messages.clear();
        TMainForm& window = Start({ c.File, { dictionaries } });
        EXPECT_EQ(dialogs.Messages, std::vector<std::string> { c.Message });
        EXPECT_TRUE(window.isVisible());
        for (const char* name : { "LayersList", "ThreatsList", "MechanismsList" })
            EXPECT_EQ(List(window, name)->count(), 0) << name;
        EXPECT_FALSE(window.DataLoaded());
        EXPECT_TRUE(document.FilePath().empty());
    }
}

// A dictionary named where a data file may be (a double click on a .dic file) fills the
// lists as "Загрузить словарь..." would, whatever the start-up dictionary holds.
TEST_F(Startup, ADictionaryNamedAtStartUpFillsTheLists)
{
    const std::string dictionaries = FolderWithDictionary("dictionaries");
    TMainForm& window = Start({ kSampleDictionary, { dictionaries } });
    EXPECT_TRUE(dialogs.Messages.empty());
    NameLists sample;
    RefuseMessages refuse;
    ASSERT_TRUE(LoadDictionary(kSampleDictionary, sample, refuse));
    ASSERT_GT(sample.Layers.size(), 0u);
    EXPECT_EQ(List(window, "LayersList")->count(), static_cast<int>(sample.Layers.size()));
    EXPECT_EQ(List(window, "MechanismsList")->item(0)->text().toStdString(), sample.Mechanisms.front());
    EXPECT_FALSE(window.DataLoaded());
    EXPECT_TRUE(document.FilePath().empty());
}

TEST_F(Startup, TheDictionaryComesFromTheWorkingFolderThenTheConfigurationThenTheInstalledOne)
{
    const std::string config = FolderWithDictionary("config");
    const std::string installed = FolderWithDictionary("installed");
    const std::string empty = PathOf("empty");
    QDir(QString::fromStdString(empty)).mkpath(QStringLiteral("."));
    const std::vector<std::string> folders { "", config, installed };

    // None in the working folder: the configuration's wins over the installed one.
    EXPECT_EQ(FindStartupDictionary(folders), config + "/default.dic");
    EXPECT_EQ(FindStartupDictionary({ "", empty, installed }), installed + "/default.dic");
    // None anywhere: the bare name, which the message names as it always has.
    EXPECT_EQ(FindStartupDictionary({ "", empty }), "default.dic");

    TMainForm& fromConfig = Start({ std::nullopt, folders });
    EXPECT_TRUE(dialogs.Messages.empty());
    EXPECT_EQ(ItemsOf(List(fromConfig, "LayersList")).Names, std::vector<std::string> { "config" });

    // One in the working folder beats both.
    WriteDictionary(PathOf("default.dic"), "working");
    EXPECT_EQ(FindStartupDictionary(folders), "default.dic");
    TMainForm& fromWorking = Start({ std::nullopt, folders });
    EXPECT_EQ(ItemsOf(List(fromWorking, "LayersList")).Names, std::vector<std::string> { "working" });
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(Startup, NoDictionaryAnywhereSaysSoAndStartsEmpty)
{
    TMainForm& window = Start({ std::nullopt, { "", PathOf("nowhere") } });
    EXPECT_EQ(dialogs.Messages, std::vector<std::string> { "Не удалось загрузить файл default.dic." });
    EXPECT_EQ(List(window, "LayersList")->count(), 0);
}

TEST_F(Startup, TheFoldersAreTheWorkingOneTheXdgConfigurationShareAndTheProgramsOwn)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows keeps configuration in its own folders, not the XDG ones";
#endif
    const std::string home = PathOf("home-config");
    const std::string system = PathOf("system-config");
    const bool hadHome = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    const bool hadDirs = qEnvironmentVariableIsSet("XDG_CONFIG_DIRS");
    const QByteArray savedHome = qgetenv("XDG_CONFIG_HOME");
    const QByteArray savedDirs = qgetenv("XDG_CONFIG_DIRS");
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(home));
    qputenv("XDG_CONFIG_DIRS", QByteArray::fromStdString(system));
    const std::vector<std::string> folders = StartupDictionaryFolders();
    hadHome ? qputenv("XDG_CONFIG_HOME", savedHome) : qunsetenv("XDG_CONFIG_HOME");
    hadDirs ? qputenv("XDG_CONFIG_DIRS", savedDirs) : qunsetenv("XDG_CONFIG_DIRS");

    const std::string installed
        = QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/vardun")).toStdString();
    const std::string programFolder = QCoreApplication::applicationDirPath().toStdString();
    EXPECT_EQ(
        folders, (std::vector<std::string> { "", home + "/vardun", system + "/vardun", installed, programFolder }));
}

} // namespace
