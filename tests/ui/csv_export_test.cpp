// "Экспорт в CSV..." of the windows' grids: the source grid writes the window's own
// (possibly unsaved) copy, the result grid the last result with its distributions, the
// MM and EE grids their matrices; a cancelled dialog writes nothing, a failed save says so.
#include "analysis/Derived.h"
#include "analysis/ExportTables.h"
#include "analysis/Modes.h"
#include "model/Csv.h"
#include "tests/core/support/StrictCsv.h"
#include "tests/core/support/TempFolder.h"
#include "ui/windows/MMEE.h"

#include "ContextMenu.h"
#include "GraphWindowFixture.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTimer>

#include <bit>
#include <cstdint>
#include <filesystem>
#include <memory>

namespace {

const FileDialogOptions kCsvDialog { QStringLiteral("Таблица CSV (*.csv)|*.csv|Книга Excel (*.xlsx)|*.xlsx"),
    QStringLiteral("csv") };

std::uint32_t Bits(float f)
{
    return std::bit_cast<std::uint32_t>(f);
}

class CsvExportTest : public GraphWindowFixture {
protected:
    void SetUp() override
    {
        struct Refuse : IMessageSink {
            void ShowMessage(const std::string& text) override { ADD_FAILURE() << text; }
        } refuse;
        ASSERT_TRUE(store.LoadFromFile(VARDUN_TEST_DATA "/example.sav", refuse));
    }

    // The analyst picks "Экспорт в CSV..." from the grid's context menu.
    static void ExportFromMenu(MatrixGrid* grid)
    {
        EXPECT_TRUE(ChooseFromContextMenu(grid->viewport(), QPoint(5, 5), QStringLiteral("Экспорт в CSV...")))
            << "no export entry in the context menu";
    }

    std::string Answer(const std::string& name)
    {
        const std::string path = folder.Path(name);
        dialogs.FileAnswers.push_back(QString::fromStdString(path));
        return path;
    }

    static CsvRecords ReadCsv(const std::string& path)
    {
        std::string error;
        const std::optional<CsvRecords> records = ReadStrictCsv(ReadBytes(path), &error);
        EXPECT_TRUE(records) << path << ": " << error;
        return records.value_or(CsvRecords {});
    }

    // The analysed names of a kind, as the windows list them.
    std::vector<std::string> NamesOf(ItemKind kind) const
    {
        std::vector<std::string> names;
        for (std::size_t k = 0; k < store.IndicesOf(kind).size(); ++k)
            names.push_back(store.AnalysedName(kind, static_cast<int>(k)));
        return names;
    }

    std::vector<std::string> FilesWritten() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.Root()))
            names.push_back(entry.path().filename().string());
        return names;
    }

    TempFolder folder;
};

TEST_F(CsvExportTest, SourceGridWritesTheWindowsUnsavedCopy)
{
    TGraphForm& window = Open(AnalysisMode::Damage);
    Choose(window, 0); // ET: layers x threats
    TypeIntoCell(window, 1, 2, QStringLiteral("7.5"));
    LeaveCell(window);
    ASSERT_TRUE(dialogs.Messages.empty());
    ASSERT_EQ(window.Work().SourceMatrices[0](1, 2), 7.5f);
    ASSERT_NE(store.ET(1, 2), 7.5f); // not computed, so not in the store

    const std::string path = Answer("et.csv");
    ExportFromMenu(Grid(window));
    ASSERT_EQ(dialogs.FileRequests.size(), 1u);
    EXPECT_TRUE(dialogs.FileRequests[0].Save);
    EXPECT_EQ(dialogs.FileRequests[0].Options, kCsvDialog);
    EXPECT_TRUE(dialogs.Messages.empty());

    const CsvRecords records = ReadCsv(path);
    const std::vector<std::string> layers = NamesOf(ItemKind::Layer);
    const std::vector<std::string> threats = NamesOf(ItemKind::Threat);
    ASSERT_EQ(records.size(), layers.size() + 1);
    std::vector<std::string> header = { "Матрица потенциального ущерба <эшелоны-угрозы> ET:" };
    header.insert(header.end(), threats.begin(), threats.end());
    EXPECT_EQ(records[0], header);
    const Matrix& copy = window.Work().SourceMatrices[0];
    for (std::size_t i = 0; i < layers.size(); ++i) {
        EXPECT_EQ(records[i + 1][0], layers[i]);
        for (std::size_t j = 0; j < threats.size(); ++j) {
            const std::optional<float> value = CsvNumber(records[i + 1][j + 1]);
            ASSERT_TRUE(value) << records[i + 1][j + 1];
            EXPECT_EQ(Bits(*value), Bits(copy(static_cast<int>(i), static_cast<int>(j)))) << i << ", " << j;
        }
    }
    EXPECT_EQ(records[2][3], "7,5");
}

TEST_F(CsvExportTest, ResultGridWritesTheLastResultWithItsDistributions)
{
    TGraphForm& window = Open(AnalysisMode::Reliability);
    // Nothing computed yet: no dialog, no file.
    emit Results(window)->exportRequested();
    EXPECT_TRUE(dialogs.FileRequests.empty());

    SetThresholds(window, QStringLiteral("0.3"), QStringLiteral("0.6"));
    Compute(window);
    ASSERT_TRUE(dialogs.Messages.empty());
    const std::string path = Answer("result.csv");
    ExportFromMenu(Results(window));
    EXPECT_TRUE(dialogs.Messages.empty());
    EXPECT_EQ(ReadBytes(path), CsvText(ResultTable(store, window.Work())));

    // What the grid shows, cell for cell where it has a number.
    const CsvRecords records = ReadCsv(path);
    const MatrixGridModel& grid = Results(window)->Model();
    ASSERT_EQ(records.size(), static_cast<std::size_t>(grid.rowCount()) + 1);
    ASSERT_EQ(records[0].size(), static_cast<std::size_t>(grid.columnCount()) + 1);
    EXPECT_EQ(records[0][0], "Матрица достоверности активации МЗ <МЗ-эшелоны>");
    for (int row = 0; row < grid.rowCount(); ++row)
        for (int column = 0; column < grid.columnCount(); ++column) {
            const std::string& field = records[static_cast<std::size_t>(row) + 1][static_cast<std::size_t>(column) + 1];
            const QString shown = grid.Text(row, column);
            if (shown.isEmpty()) {
                EXPECT_EQ(field, "") << row << ", " << column;
                continue;
            }
            const std::optional<float> value = CsvNumber(field);
            ASSERT_TRUE(value) << field;
            EXPECT_NEAR(*value, shown.toDouble(), 0.005) << row << ", " << column;
        }
}

TEST_F(CsvExportTest, CancelledDialogWritesNothing)
{
    TGraphForm& window = Open(AnalysisMode::Frequency);
    Choose(window, 1);
    dialogs.FileAnswers.push_back(std::nullopt);
    emit Grid(window)->exportRequested();
    EXPECT_EQ(dialogs.FileRequests.size(), 1u);
    EXPECT_TRUE(FilesWritten().empty());
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(CsvExportTest, FailedSaveIsReported)
{
    TGraphForm& window = Open(AnalysisMode::Reliability);
    Choose(window, 1);
    const std::string path = Answer("no-such-folder/te.csv");
    emit Grid(window)->exportRequested();
    EXPECT_EQ(dialogs.Messages, std::vector<std::string> { "Не удалось сохранить файл " + path + "." });
    EXPECT_TRUE(FilesWritten().empty());
}

TEST_F(CsvExportTest, MMAndEEGridsWriteTheirMatrices)
{
    ComputeAllModes(store);
    auto window = std::make_unique<TMMEEForm>(document, dialogs, navigation);
    window->show();
    struct Case {
        const char* Grid;
        const char* File;
        const char* Corner;
        ItemKind Kind;
        const Matrix& Values;
    };
    const Case cases[] = {
        { "MMGrid", "mm.csv", "MM", ItemKind::Mechanism, store.MM },
        { "EEGrid", "ee.csv", "EE", ItemKind::Layer, store.EE },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Grid);
        auto* grid = window->findChild<MatrixGrid*>(QString::fromLatin1(c.Grid));
        ASSERT_NE(grid, nullptr);
        const std::string path = Answer(c.File);
        ExportFromMenu(grid);
        const std::vector<std::string> names = NamesOf(c.Kind);
        ASSERT_EQ(c.Values.Rows(), static_cast<int>(names.size()));
        const CsvRecords records = ReadCsv(path);
        ASSERT_EQ(records.size(), names.size() + 1);
        std::vector<std::string> header = { c.Corner };
        header.insert(header.end(), names.begin(), names.end());
        EXPECT_EQ(records[0], header);
        for (std::size_t i = 0; i < names.size(); ++i) {
            EXPECT_EQ(records[i + 1][0], names[i]);
            for (std::size_t j = 0; j < names.size(); ++j) {
                const std::optional<float> value = CsvNumber(records[i + 1][j + 1]);
                ASSERT_TRUE(value) << records[i + 1][j + 1];
                EXPECT_EQ(Bits(*value), Bits(c.Values(static_cast<int>(i), static_cast<int>(j)))) << i << ", " << j;
            }
        }
    }
    EXPECT_TRUE(dialogs.Messages.empty());

    dialogs.FileAnswers.push_back(std::nullopt);
    emit window->findChild<MatrixGrid*>(QStringLiteral("EEGrid"))->exportRequested();
    EXPECT_EQ(FilesWritten().size(), 2u);
}

} // namespace
