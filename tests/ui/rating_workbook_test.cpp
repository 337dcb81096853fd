// The rating window's "Экспорт в Excel...": asks for the file through the dialogs and
// writes the whole assessment as a workbook, with the curves of the checked items when
// the charts are drawn; and a grid's table alone as a workbook. Read back with the
// tests' own reader.
#include "../core/support/TempFolder.h"
#include "../core/support/XlsxReader.h"
#include "ContextMenu.h"
#include "ExampleAssessment.h"
#include "GraphWindowFixture.h"
#include "RatingWindowFixture.h"
#include "ScriptedDialogs.h"
#include "analysis/Derived.h"
#include "analysis/ExportTables.h"
#include "model/Csv.h"
#include "model/Data.h"
#include "model/NumberText.h"
#include "ui/document/Document.h"
#include "ui/export/workbook/Workbook.h"
#include "ui/widgets/Navigation.h"
#include "ui/windows/Rating.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <gtest/gtest.h>

#include <charconv>
#include <filesystem>
#include <memory>
#include <string>

namespace {

const std::string kExample = VARDUN_TEST_DATA "/example.sav";
const FileDialogOptions kWorkbookDialog { QStringLiteral("Книга Excel (*.xlsx)|*.xlsx"), QStringLiteral("xlsx") };

class RatingWindowWorkbook : public RatingWindowFixture {
protected:
    void SetUp() override
    {
        FailOnMessage messages;
        ASSERT_TRUE(document.Load(kExample, messages));
        OpenWindow();
    }

    float Level(const char* edit) const
    {
        const auto* widget = window->findChild<QLineEdit*>(QString::fromLatin1(edit));
        EXPECT_NE(widget, nullptr) << edit;
        return static_cast<float>(ParseTypedNumber(widget->text().toStdString()).value_or(-1.0));
    }

    void Export(const std::string& path)
    {
        dialogs.FileAnswers.push_back(QString::fromStdString(path));
        QAction* action = window->findChild<QAction*>(QStringLiteral("WorkbookAction"));
        ASSERT_NE(action, nullptr);
        action->trigger();
        ASSERT_EQ(dialogs.FileRequests.size(), 1u);
        EXPECT_TRUE(dialogs.FileRequests[0].Save);
        EXPECT_EQ(dialogs.FileRequests[0].Options, kWorkbookDialog);
    }
};

TEST_F(RatingWindowWorkbook, WritesTheWorkbookWithTheCheckedItemsCurves)
{
    Check("LayersList", 3);
    Check("ThreatsList", 5);
    Check("MechanismsList", 0);
    const std::string path = folder.Path("from-window.xlsx");
    Export(path);
    EXPECT_TRUE(dialogs.Messages.empty());

    const xlsx::Book book(ReadBytes(path));
    ASSERT_EQ(book.SheetNames().size(), 14u);
    ASSERT_EQ(book.SheetNames().back(), "Рейтинг");
    CData computed = document.Store();
    ComputeAllModes(computed);
    const CsvTable curves = CurveTable(computed, { 3, 5, 0 }, Level("HighLevelEdit"), Level("LowLevelEdit"));
    const auto cells = book.Cells("Рейтинг");
    ASSERT_EQ(cells.at({ 0, 0 }).Type, 's');
    EXPECT_EQ(cells.at({ 0, 0 }).Value, curves.Corner);
    for (std::size_t i = 0; i < curves.Values.size(); ++i)
        for (std::size_t j = 0; j < curves.Values[i].size(); ++j) {
            const auto& cell = cells.at({ static_cast<int>(i + 1), static_cast<int>(j + 1) });
            double value = 0.0;
            std::from_chars(cell.Value.data(), cell.Value.data() + cell.Value.size(), value);
            EXPECT_EQ(value, WorkbookNumber(curves.Values[i][j])) << i << ", " << j;
        }
    // The summary names the data file as the document knows it.
    const auto summary = book.Cells("Сводка");
    EXPECT_EQ(summary.at({ 1, 1 }).Value, "example.sav");
}

TEST_F(RatingWindowWorkbook, WithoutDrawnChartsTheWorkbookHasNoCurves)
{
    Check("LayersList", 0);
    const std::string path = folder.Path("no-curves.xlsx");
    Export(path);
    EXPECT_TRUE(dialogs.Messages.empty());
    const xlsx::Book book(ReadBytes(path));
    EXPECT_EQ(book.SheetNames().size(), 13u);
    EXPECT_EQ(book.SheetNames().back(), "EE");
}

TEST_F(RatingWindowWorkbook, CancellingWritesNothing)
{
    dialogs.FileAnswers.push_back(std::nullopt);
    window->findChild<QAction*>(QStringLiteral("WorkbookAction"))->trigger();
    EXPECT_EQ(dialogs.FileRequests.size(), 1u);
    EXPECT_TRUE(dialogs.Messages.empty());
    EXPECT_TRUE(std::filesystem::is_empty(folder.Root()));
}

TEST_F(RatingWindowWorkbook, AFailedSaveIsReportedInABox)
{
    const std::string path = folder.Path("missing/book.xlsx");
    Export(path);
    EXPECT_EQ(dialogs.Messages, std::vector<std::string> { "Не удалось сохранить файл " + path + "." });
    EXPECT_TRUE(std::filesystem::is_empty(folder.Root()));
}

class GridWorkbook : public GraphWindowFixture {
protected:
    void SetUp() override
    {
        FailOnMessage messages;
        ASSERT_TRUE(store.LoadFromFile(kExample, messages));
    }
    TempFolder folder;
};

// "Экспорт в CSV..." offers the workbook too; the file's extension picks it.
TEST_F(GridWorkbook, ASourceGridGoesToAWorkbookByItsExtension)
{
    TGraphForm& window = Open(AnalysisMode::Damage);
    Choose(window, 0); // ET: layers x threats
    const std::string path = folder.Path("et.xlsx");
    dialogs.FileAnswers.push_back(QString::fromStdString(path));
    ASSERT_TRUE(ChooseFromContextMenu(Grid(window)->viewport(), QPoint(5, 5), QStringLiteral("Экспорт в CSV...")));
    EXPECT_TRUE(dialogs.Messages.empty());

    const CsvTable table = SourceTable(store, AnalysisMode::Damage, 0, window.Work().SourceMatrices[0]);
    const xlsx::Book book(ReadBytes(path));
    ASSERT_EQ(book.SheetNames(), std::vector<std::string> { "Таблица" });
    const auto cells = book.Cells("Таблица");
    EXPECT_EQ(cells.at({ 0, 0 }).Value, table.Corner);
    for (std::size_t j = 0; j < table.ColumnNames.size(); ++j)
        EXPECT_EQ(cells.at({ 0, static_cast<int>(j + 1) }).Value, table.ColumnNames[j]);
    for (std::size_t i = 0; i < table.RowNames.size(); ++i) {
        EXPECT_EQ(cells.at({ static_cast<int>(i + 1), 0 }).Value, table.RowNames[i]);
        for (std::size_t j = 0; j < table.Values[i].size(); ++j) {
            const auto& cell = cells.at({ static_cast<int>(i + 1), static_cast<int>(j + 1) });
            EXPECT_EQ(cell.Type, 'n');
            double value = 0.0;
            std::from_chars(cell.Value.data(), cell.Value.data() + cell.Value.size(), value);
            EXPECT_EQ(value, WorkbookNumber(table.Values[i][j]));
        }
    }
}

} // namespace
