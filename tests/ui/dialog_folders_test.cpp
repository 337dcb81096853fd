#include "ui/dialogs/DialogFolders.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

const FileDialogOptions kData { QStringLiteral("Файлы данных (*.sav)|*.sav"), QStringLiteral("sav") };
const FileDialogOptions kReport { QStringLiteral("Отчёт PDF (*.pdf)|*.pdf"), QStringLiteral("pdf") };
const FileDialogOptions kTable { QStringLiteral("Таблица CSV (*.csv)|*.csv"), QStringLiteral("csv") };
const FileDialogOptions kDictionary { QStringLiteral("Словари (*.dic)|*.dic"), QStringLiteral("dic") };

class DialogFoldersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("работа/данные")));
        ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("выгрузки")));
        dataFolder = root.filePath(QStringLiteral("работа/данные"));
        exports = root.filePath(QStringLiteral("выгрузки"));
    }

    // A new run of the program: the same settings file, read afresh.
    std::unique_ptr<QSettings> Settings() const
    {
        return std::make_unique<QSettings>(root.filePath(QStringLiteral("vardun.conf")), QSettings::IniFormat);
    }

    QTemporaryDir root;
    QString dataFolder;
    QString exports;
    std::string dataFile;
};

TEST_F(DialogFoldersTest, WithoutADataFileOrAChoiceQtChooses)
{
    auto settings = Settings();
    DialogFolders folders(*settings, [this] { return dataFile; });
    for (const FileDialogOptions* options : { &kData, &kReport, &kTable, &kDictionary })
        for (bool saving : { false, true })
            EXPECT_TRUE(folders.StartPath(*options, saving).isEmpty()) << options->DefaultExtension.toStdString();
}

TEST_F(DialogFoldersTest, TheDataFilesDialogsAndTheReportOpenBesideTheDataFile)
{
    dataFile = (dataFolder + QStringLiteral("/оценка 2026.sav")).toStdString();
    auto settings = Settings();
    DialogFolders folders(*settings, [this] { return dataFile; });
    // Even where another folder was chosen for these kinds before.
    folders.Chosen(kData, exports + QStringLiteral("/старая.sav"));
    folders.Chosen(kReport, exports + QStringLiteral("/старый.pdf"));

    EXPECT_EQ(folders.StartPath(kData, true), dataFolder + QStringLiteral("/оценка 2026.sav"));
    EXPECT_EQ(folders.StartPath(kData, false), dataFolder);
    EXPECT_EQ(folders.StartPath(kReport, true), dataFolder + QStringLiteral("/оценка 2026.pdf"));
    // Another kind with no folder of its own yet.
    EXPECT_EQ(folders.StartPath(kTable, true), dataFolder);
}

TEST_F(DialogFoldersTest, EachKindComesBackToItsLastFolderInTheNextRun)
{
    dataFile = (dataFolder + QStringLiteral("/оценка.sav")).toStdString();
    {
        auto settings = Settings();
        DialogFolders folders(*settings, [this] { return dataFile; });
        folders.Chosen(kTable, exports + QStringLiteral("/MT.csv"));
    }
    auto settings = Settings();
    DialogFolders folders(*settings, [this] { return dataFile; });
    EXPECT_EQ(folders.StartPath(kTable, true), exports);
    EXPECT_EQ(folders.StartPath(FileDialogOptions { kTable.Filter, QStringLiteral("CSV") }, true), exports);
    EXPECT_EQ(folders.StartPath(kDictionary, false), dataFolder);

    // A folder gone since is no place to start.
    ASSERT_TRUE(QDir(exports).removeRecursively());
    EXPECT_EQ(folders.StartPath(kTable, true), dataFolder);
}

} // namespace
