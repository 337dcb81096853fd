// The comparison window, opened from the rating window's menu with a second data file:
// what it shows against the core's comparison, items added, removed and renamed, refused
// files and files with nothing in common, the CSV exports read back, and the keyboard.
#include "ui/windows/Compare.h"

#include "RecordingNavigation.h"
#include "ScriptedDialogs.h"
#include "TabWalk.h"
#include "Typing.h"
#include "analysis/Compare.h"
#include "analysis/Damage.h"
#include "analysis/Derived.h"
#include "analysis/Format.h"
#include "model/Data.h"
#include "model/DataText.h"
#include "model/NumberText.h"
#include "model/SourceMatrices.h"
#include "ui/document/Document.h"
#include "ui/widgets/ChartView.h"
#include "ui/windows/Rating.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

const QString kExample = QStringLiteral(VARDUN_SOURCE_DIR "/sample/example.sav");
const QString kVariant = QStringLiteral(VARDUN_SOURCE_DIR "/sample/example-variant.sav");

struct RecordedMessages : IMessageSink {
    std::vector<std::string> Messages;
    void ShowMessage(const std::string& text) override { Messages.push_back(text); }
};

CData Loaded(const QString& path)
{
    RecordedMessages sink;
    CData data;
    EXPECT_TRUE(data.LoadFromFile(path.toStdString(), sink));
    return data;
}

// A check list of every name, the analysed ones checked, as the main window hands it over.
CheckList ChecksOf(const CData& data, ItemKind kind)
{
    std::set<int> analysed;
    for (const std::string& entry : data.IndicesOf(kind))
        analysed.insert(IndexValue(entry));
    CheckList list;
    for (std::size_t k = 0; k < data.NamesOf(kind).size(); ++k)
        list.push_back({ data.NamesOf(kind)[k], analysed.count(static_cast<int>(k)) > 0 });
    return list;
}

class CompareWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(document.Load(kExample.toStdString(), dialogs));
        ComputeAllModes(document.Store());
        rating = std::make_unique<TRatingForm>(document, dialogs, navigation);
        rating->show();
    }

    // "Сравнить с файлом..." in the rating window's menu, answered with `path`.
    TCompareForm* CompareWith(const QString& path)
    {
        dialogs.FileAnswers.push_back(path);
        auto* action = rating->findChild<QAction*>(QStringLiteral("CompareAction"));
        EXPECT_NE(action, nullptr);
        action->trigger();
        return TCompareForm::Of(rating.get());
    }

    QString Write(const QString& name, const CData& data)
    {
        const QString path = temp.filePath(name);
        RecordedMessages sink;
        EXPECT_TRUE(data.SaveToFile(path.toStdString(), sink));
        return path;
    }

    template <class Widget> static Widget* Find(QWidget& window, const char* name)
    {
        auto* widget = window.findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    static const QAbstractItemModel* Model(QWidget& window, const char* table)
    {
        return Find<QTableView>(window, table)->model();
    }
    static QString Cell(QWidget& window, const char* table, int row, int column)
    {
        const QAbstractItemModel* model = Model(window, table);
        return model->data(model->index(row, column)).toString();
    }
    static int Rows(QWidget& window, const char* table) { return Model(window, table)->rowCount(); }
    // The row of a name in an item table, or -1.
    static int RowOf(QWidget& window, const char* table, const QString& name, const QString& state = QString())
    {
        for (int row = 0; row < Rows(window, table); ++row)
            if (Cell(window, table, row, 0) == name && (state.isNull() || Cell(window, table, row, 4) == state))
                return row;
        return -1;
    }

    AssessmentDocument document;
    ScriptedDialogs dialogs;
    RecordingNavigation navigation;
    std::unique_ptr<TRatingForm> rating;
    QTemporaryDir temp;
};

TEST_F(CompareWindowTest, TheSameFileHasNoDifferenceAndNoChangedJudgement)
{
    TCompareForm* window = CompareWith(kExample);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Сравнение"));
    // The main window's load dialog, file type and all.
    ASSERT_EQ(dialogs.FileRequests.size(), 1u);
    EXPECT_FALSE(dialogs.FileRequests[0].Save);
    EXPECT_EQ(dialogs.FileRequests[0].Options.Filter, QStringLiteral("Файлы данных Vardun 2.1|*.sav"));
    EXPECT_EQ(dialogs.FileRequests[0].Options.DefaultExtension, QStringLiteral("sav"));
    EXPECT_TRUE(dialogs.Messages.empty());

    ASSERT_EQ(Rows(*window, "RatingsTable"), 2);
    for (int row = 0; row < 2; ++row) {
        EXPECT_EQ(Cell(*window, "RatingsTable", row, 1), Cell(*window, "RatingsTable", row, 2));
        EXPECT_EQ(Cell(*window, "RatingsTable", row, 3), QStringLiteral("0.00"));
    }
    for (const char* table : { "MechanismsTable", "LayersTable" }) {
        ASSERT_GT(Rows(*window, table), 0);
        for (int row = 0; row < Rows(*window, table); ++row) {
            EXPECT_EQ(Cell(*window, table, row, 3), QStringLiteral("0.00")) << table << row;
            EXPECT_EQ(Cell(*window, table, row, 4), QString()) << table << row;
        }
    }
    EXPECT_EQ(Rows(*window, "MechanismsTable"), 6);
    EXPECT_EQ(Rows(*window, "LayersTable"), 4);
    EXPECT_EQ(Rows(*window, "ChangesTable"), 0);
    EXPECT_EQ(Find<QLabel>(*window, "ChangesStatus")->text(), QStringLiteral("Все суждения совпадают."));
    EXPECT_EQ(
        Find<QLabel>(*window, "CountsLabel")->text(), QStringLiteral("MT: 0   TE: 0   ET: 0   TM: 0   EF: 0   FM: 0"));
}

TEST_F(CompareWindowTest, TheVariantShowsTheCoresChangesAndRatingsOfTwoPlainComputations)
{
    TCompareForm* window = CompareWith(kVariant);
    ASSERT_NE(window, nullptr);
    const CData variant = Loaded(kVariant);
    const AssessmentComparison expected = CompareAssessments(document.Store(), variant);
    ASSERT_FALSE(expected.Changed.empty());

    // The changed judgements, cell by cell and in the core's order.
    ASSERT_EQ(Rows(*window, "ChangesTable"), static_cast<int>(expected.Changed.size()));
    for (int row = 0; row < Rows(*window, "ChangesTable"); ++row) {
        const ChangedJudgement& j = expected.Changed[static_cast<std::size_t>(row)];
        SCOPED_TRACE(row);
        EXPECT_EQ(Cell(*window, "ChangesTable", row, 0), QString::fromLatin1(SourceMatrix(j.Source).Name));
        EXPECT_EQ(Cell(*window, "ChangesTable", row, 1), QString::fromStdString(j.Row));
        EXPECT_EQ(Cell(*window, "ChangesTable", row, 2), QString::fromStdString(j.Column));
        EXPECT_EQ(Cell(*window, "ChangesTable", row, 3), QString::fromStdString(FormatGeneral(j.This)));
        EXPECT_EQ(Cell(*window, "ChangesTable", row, 4), QString::fromStdString(FormatGeneral(j.Other)));
    }
    QStringList counts;
    for (SourceId id : { SourceId::MT, SourceId::TE, SourceId::ET, SourceId::TM, SourceId::EF, SourceId::FM })
        counts.push_back(
            QStringLiteral("%1: %2").arg(QString::fromLatin1(SourceMatrix(id).Name)).arg(expected.ChangedIn(id)));
    EXPECT_EQ(Find<QLabel>(*window, "CountsLabel")->text(), counts.join(QStringLiteral("   ")));
    EXPECT_GT(expected.ChangedIn(SourceId::MT), 0);

    // Rm and Re as each file's own walk computes them, not taken from the comparison.
    CData open = document.Store();
    ComputeAllModes(open);
    ComputeDamageMatrices(open);
    CData other = variant;
    ComputeAllModes(other);
    ComputeDamageMatrices(other);
    const float rm[] = { RatingIndicator(open.MM), RatingIndicator(other.MM) };
    const float re[] = { RatingIndicator(open.EE), RatingIndicator(other.EE) };
    EXPECT_EQ(Cell(*window, "RatingsTable", 0, 0), QStringLiteral("Rm"));
    EXPECT_EQ(Cell(*window, "RatingsTable", 0, 1).toStdString(), FormatFixed(rm[0], 2));
    EXPECT_EQ(Cell(*window, "RatingsTable", 0, 2).toStdString(), FormatFixed(rm[1], 2));
    EXPECT_EQ(Cell(*window, "RatingsTable", 1, 1).toStdString(), FormatFixed(re[0], 2));
    EXPECT_EQ(Cell(*window, "RatingsTable", 1, 2).toStdString(), FormatFixed(re[1], 2));
    EXPECT_NE(rm[0], rm[1]);

    // The mechanism the variant adds, with nothing on the open side.
    const int added = RowOf(*window, "MechanismsTable", QStringLiteral("Обучение персонала"));
    ASSERT_GE(added, 0);
    EXPECT_EQ(Cell(*window, "MechanismsTable", added, 4), QStringLiteral("добавлен"));
    EXPECT_EQ(Cell(*window, "MechanismsTable", added, 1), QStringLiteral("—"));
    EXPECT_EQ(Cell(*window, "MechanismsTable", added, 2).toStdString(), FormatFixed(other.MM(6, 6), 2));
    // The chart says which mechanism changed most.
    const ItemComparison* largest = nullptr;
    for (const ItemComparison& item : expected.Mechanisms)
        if (item.Difference && (!largest || std::fabs(*item.Difference) > std::fabs(*largest->Difference)))
            largest = &item;
    ASSERT_NE(largest, nullptr);
    EXPECT_TRUE(Find<ChartView>(*window, "DifferenceChart")
                    ->accessibleDescription()
                    .contains(QString::fromStdString(largest->Name)));
}

TEST_F(CompareWindowTest, RemovedAndRenamedItemsAreMarked)
{
    // The open assessment with its first analysed layer renamed and its last analysed
    // mechanism no longer analysed.
    const CData& open = document.Store();
    CData changed = open;
    CheckList layers = ChecksOf(open, ItemKind::Layer);
    CheckList mechanisms = ChecksOf(open, ItemKind::Mechanism);
    const std::string renamed = open.AnalysedName(ItemKind::Layer, 0);
    const std::string dropped = open.AnalysedName(ItemKind::Mechanism, open.MechanismCount - 1);
    for (CheckItem& item : layers)
        if (item.Name == renamed)
            item.Name = renamed + " (новый)";
    for (CheckItem& item : mechanisms)
        if (item.Name == dropped)
            item.Checked = false;
    changed.PrepareForAnalysis(layers, ChecksOf(open, ItemKind::Threat), mechanisms);

    TCompareForm* window = CompareWith(Write(QStringLiteral("changed.sav"), changed));
    ASSERT_NE(window, nullptr);
    EXPECT_GE(RowOf(*window, "LayersTable", QString::fromStdString(renamed), QStringLiteral("удалён")), 0);
    EXPECT_GE(
        RowOf(*window, "LayersTable", QString::fromStdString(renamed + " (новый)"), QStringLiteral("добавлен")), 0);
    const int gone = RowOf(*window, "MechanismsTable", QString::fromStdString(dropped));
    ASSERT_GE(gone, 0);
    EXPECT_EQ(Cell(*window, "MechanismsTable", gone, 4), QStringLiteral("удалён"));
    EXPECT_EQ(Cell(*window, "MechanismsTable", gone, 2), QStringLiteral("—"));
    EXPECT_EQ(Cell(*window, "MechanismsTable", gone, 3), QStringLiteral("—"));
    // Items on both sides are not marked.
    EXPECT_EQ(Cell(*window, "MechanismsTable", 0, 4), QString());
}

TEST_F(CompareWindowTest, ARefusedFileShowsTheLoadersMessageAndTouchesNothing)
{
    // A valid file cut short, which the loader refuses with its line.
    QFile source(kExample);
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QByteArray bytes = source.readAll();
    const QString broken = temp.filePath(QStringLiteral("broken.sav"));
    QFile target(broken);
    ASSERT_TRUE(target.open(QIODevice::WriteOnly));
    target.write(bytes.left(bytes.size() / 2));
    target.close();
    RecordedMessages loader;
    CData refused;
    ASSERT_FALSE(refused.LoadFromFile(broken.toStdString(), loader));
    ASSERT_EQ(loader.Messages.size(), 1u);

    const std::optional<std::string> before = WriteDataText(document.Store());
    for (bool saved : { false, true }) {
        SCOPED_TRACE(saved);
        document.SetSaved(saved);
        dialogs.Messages.clear();
        EXPECT_EQ(CompareWith(broken), nullptr);
        EXPECT_EQ(dialogs.Messages, loader.Messages);
        EXPECT_EQ(WriteDataText(document.Store()), before);
        EXPECT_EQ(document.IsSaved(), saved);
        EXPECT_EQ(document.FilePath(), kExample.toStdString());
    }

    // With a comparison shown, a refused file leaves it as it was.
    TCompareForm* window = CompareWith(kVariant);
    ASSERT_NE(window, nullptr);
    const int changes = Rows(*window, "ChangesTable");
    dialogs.Messages.clear();
    EXPECT_EQ(CompareWith(broken), window);
    EXPECT_EQ(dialogs.Messages, loader.Messages);
    EXPECT_EQ(Rows(*window, "ChangesTable"), changes);
    EXPECT_EQ(WriteDataText(document.Store()), before);
    // Cancelling the dialog changes nothing either.
    dialogs.FileAnswers.push_back(std::nullopt);
    rating->findChild<QAction*>(QStringLiteral("CompareAction"))->trigger();
    EXPECT_EQ(Rows(*window, "ChangesTable"), changes);
}

TEST_F(CompareWindowTest, AFileWithNoSharedItemSaysSo)
{
    CData stranger = document.Store();
    for (ItemKind kind : kItemKinds) {
        std::vector<std::string>& names = kind == ItemKind::Layer ? stranger.LayerNames
            : kind == ItemKind::Threat                            ? stranger.ThreatNames
                                                                  : stranger.MechanismNames;
        for (std::string& name : names)
            name = "Другое " + name;
    }
    EXPECT_EQ(CompareWith(Write(QStringLiteral("stranger.sav"), stranger)), nullptr);
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_NE(dialogs.Messages[0].find("stranger.sav"), std::string::npos) << dialogs.Messages[0];
    EXPECT_NE(dialogs.Messages[0].find("сравнивать нечего"), std::string::npos) << dialogs.Messages[0];
}

// The file analyses only the first analysed layer, threat and mechanism; the analyst then
// unchecks just those in the walk. Coming back with the rating window, and choosing the
// file again, both say what a first opening says; no table lists every item as added or
// removed.
TEST_F(CompareWindowTest, UncheckingTheItemsTheFileSharesSaysSoWhenTheComparisonComesBack)
{
    const CData open = document.Store();
    const auto checks = [&open](ItemKind kind, bool firstOnly) {
        CheckList list = ChecksOf(open, kind);
        const std::string first = open.AnalysedName(kind, 0);
        for (CheckItem& item : list)
            if (item.Checked || item.Name == first)
                item.Checked = (item.Name == first) == firstOnly;
        return list;
    };
    CData narrow = open;
    narrow.PrepareForAnalysis(
        checks(ItemKind::Layer, true), checks(ItemKind::Threat, true), checks(ItemKind::Mechanism, true));
    const QString path = Write(QStringLiteral("narrow.sav"), narrow);
    TCompareForm* window = CompareWith(path);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(dialogs.Messages.empty());
    ASSERT_TRUE(window->isVisible());
    EXPECT_EQ(Rows(*window, "MechanismsTable"), static_cast<int>(open.IndicesOf(ItemKind::Mechanism).size()));

    rating->hide();
    document.Store().PrepareForAnalysis(
        checks(ItemKind::Layer, false), checks(ItemKind::Threat, false), checks(ItemKind::Mechanism, false));
    ComputeAllModes(document.Store());
    ASSERT_TRUE(CompareAssessments(document.Store(), narrow).NoSharedItem);
    ASSERT_GT(document.Store().MechanismCount, 0);

    const auto expectNothingToCompare = [&] {
        ASSERT_EQ(dialogs.Messages.size(), 1u);
        EXPECT_NE(dialogs.Messages[0].find("narrow.sav"), std::string::npos) << dialogs.Messages[0];
        EXPECT_NE(dialogs.Messages[0].find("сравнивать нечего"), std::string::npos) << dialogs.Messages[0];
        EXPECT_FALSE(window->isVisible());
        EXPECT_FALSE(window->HasComparison());
        EXPECT_FALSE(window->ReportPart());
        for (const char* table : { "MechanismsTable", "LayersTable", "ChangesTable" })
            EXPECT_EQ(Rows(*window, table), 0) << table;
    };
    {
        SCOPED_TRACE("back with the rating window");
        rating->show();
        expectNothingToCompare();
    }
    {
        SCOPED_TRACE("the same file from the menu");
        dialogs.Messages.clear();
        EXPECT_EQ(CompareWith(path), window);
        expectNothingToCompare();
    }

    // Checked again, the file compares as before.
    dialogs.Messages.clear();
    rating->hide();
    document.Store() = open;
    rating->show();
    EXPECT_TRUE(dialogs.Messages.empty());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(CompareWith(path), window);
    EXPECT_TRUE(dialogs.Messages.empty());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(Rows(*window, "MechanismsTable"), static_cast<int>(open.IndicesOf(ItemKind::Mechanism).size()));
}

TEST_F(CompareWindowTest, TheFilterAndBothCsvExportsReadBack)
{
    TCompareForm* window = CompareWith(kVariant);
    ASSERT_NE(window, nullptr);
    const int all = Rows(*window, "ChangesTable");
    const AssessmentComparison expected = CompareAssessments(document.Store(), Loaded(kVariant));

    // Only the judgements about one threat, typed in lower case.
    ASSERT_FALSE(expected.Changed.empty());
    const std::string item = expected.Changed.front().Column;
    const QString name = QString::fromStdString(item);
    TypeText(Find<QLineEdit>(*window, "FilterEdit"), name.toLower());
    int withName = 0;
    for (const ChangedJudgement& j : expected.Changed)
        withName += j.Row == item || j.Column == item;
    ASSERT_GT(withName, 0);
    ASSERT_LT(withName, all);
    EXPECT_EQ(Rows(*window, "ChangesTable"), withName);
    for (int row = 0; row < withName; ++row)
        EXPECT_TRUE(Cell(*window, "ChangesTable", row, 1) == name || Cell(*window, "ChangesTable", row, 2) == name);
    EXPECT_EQ(Find<QLabel>(*window, "ChangesStatus")->text(),
        QStringLiteral("Изменено суждений: %1, показано: %2.").arg(all).arg(withName));
    // A word of another matrix's name too: every word must be found.
    TypeText(Find<QLineEdit>(*window, "FilterEdit"), QStringLiteral(" zz"));
    EXPECT_EQ(Rows(*window, "ChangesTable"), 0);
    Find<QLineEdit>(*window, "FilterEdit")->setText(name.toLower() + QStringLiteral(" mt"));
    int inMt = 0;
    for (const ChangedJudgement& j : expected.Changed)
        inMt += j.Source == SourceId::MT && (j.Row == item || j.Column == item);
    EXPECT_EQ(Rows(*window, "ChangesTable"), inMt);
    Find<QLineEdit>(*window, "FilterEdit")->setText(name.toLower());

    const auto exported = [&](const char* button, const QString& name) {
        const QString path = temp.filePath(name);
        dialogs.FileAnswers.push_back(path);
        QTest::mouseClick(Find<QPushButton>(*window, button), Qt::LeftButton);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        return QString::fromUtf8(file.readAll());
    };
    // The shown judgements: a header and one line each.
    const QString changes = exported("ChangesButton", QStringLiteral("changes.csv"));
    EXPECT_EQ(changes.count(QStringLiteral("\r\n")), withName + 1);
    EXPECT_TRUE(changes.contains(QStringLiteral("\"Было\";\"Стало\";\"Разность\""))) << changes.toStdString();
    EXPECT_TRUE(changes.contains(QStringLiteral(" / ") + name + QStringLiteral("\";"))) << changes.toStdString();

    // Ratings and both diagonals, the added mechanism named as such.
    const QString summary = exported("SummaryButton", QStringLiteral("summary.csv"));
    EXPECT_EQ(
        summary.count(QStringLiteral("\r\n")), 1 + 2 + Rows(*window, "MechanismsTable") + Rows(*window, "LayersTable"));
    EXPECT_TRUE(summary.contains(QStringLiteral("\"Rm\";"))) << summary.toStdString();
    EXPECT_TRUE(summary.contains(QStringLiteral("\"MM: Обучение персонала (добавлен)\";\"\";")))
        << summary.toStdString();
    const QString rm = QString::number(expected.Rm.This).replace(QLatin1Char('.'), QLatin1Char(','));
    EXPECT_TRUE(summary.contains(QStringLiteral("\"Rm\";\"") + rm.left(4))) << summary.toStdString();
}

TEST_F(CompareWindowTest, TheChartSavesAsPngAndSvg)
{
    TCompareForm* window = CompareWith(kVariant);
    ASSERT_NE(window, nullptr);
    auto* chart = Find<ChartView>(*window, "DifferenceChart");
    const QString png = temp.filePath(QStringLiteral("chart.png"));
    const QString svg = temp.filePath(QStringLiteral("chart.svg"));
    dialogs.FileAnswers.push_back(png);
    QTest::mouseClick(Find<QPushButton>(*window, "SaveChartButton"), Qt::LeftButton);
    dialogs.FileAnswers.push_back(svg);
    emit chart->saveRequested();
    EXPECT_TRUE(dialogs.Messages.empty());

    const QImage image(png);
    EXPECT_EQ(image.size(), chart->size());
    // Bars of both colours were drawn.
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y) & 0xFFFFFF);
    EXPECT_TRUE(colours.count(0x0000FF));
    EXPECT_TRUE(colours.count(0xFF8000));

    // The titles stay text in the drawing, if in pieces.
    QFile file(svg);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QString text;
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::Characters)
            text += xml.text();
    EXPECT_FALSE(xml.hasError());
    EXPECT_TRUE(text.contains(QStringLiteral("механизмам"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("эшелонам"))) << text.toStdString();
}

TEST_F(CompareWindowTest, TabReachesEveryControlLeavesEveryTableAndEachHasAName)
{
    TCompareForm* window = CompareWith(kVariant);
    ASSERT_NE(window, nullptr);
    QApplication::setActiveWindow(window);
    Find<QPushButton>(*window, "OtherFileButton")->setFocus();
    const std::vector<QString> order = TabWalk(20);
    ASSERT_EQ(order.size(), 20u);
    const std::vector<QString> cycle = { QStringLiteral("OtherFileButton"), QStringLiteral("RatingsTable"),
        QStringLiteral("MechanismsTable"), QStringLiteral("LayersTable"), QStringLiteral("FilterEdit"),
        QStringLiteral("ChangesTable"), QStringLiteral("SaveChartButton"), QStringLiteral("SummaryButton"),
        QStringLiteral("ChangesButton"), QStringLiteral("CloseButton") };
    for (std::size_t k = 0; k < order.size(); ++k)
        EXPECT_EQ(order[k], cycle[k % cycle.size()]) << k;

    EXPECT_EQ(ExpectNamedControls(*window->centralWidget()), static_cast<int>(cycle.size()));
    auto* chart = Find<ChartView>(*window, "DifferenceChart");
    EXPECT_FALSE(chart->accessibleName().isEmpty());
    EXPECT_FALSE(chart->accessibleDescription().isEmpty());

    // Esc in a table closes the window; the menu brings the same one back.
    QTest::keyClick(Find<QTableView>(*window, "ChangesTable"), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(CompareWith(kVariant), window);
    EXPECT_TRUE(window->isVisible());
    QTest::mouseClick(Find<QPushButton>(*window, "CloseButton"), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(CompareWith(kExample), window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(Rows(*window, "ChangesTable"), 0);
}

TEST_F(CompareWindowTest, TheWindowGoesAndComesBackWithTheRatingWindowAndFollowsTheStore)
{
    TCompareForm* window = CompareWith(kExample);
    ASSERT_NE(window, nullptr);
    rating->hide();
    EXPECT_FALSE(window->isVisible());
    // A judgement changed in the walk meanwhile.
    document.Store().MT(0, 0) = 0.75f;
    rating->show();
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(Rows(*window, "ChangesTable"), 1);
    EXPECT_EQ(Cell(*window, "ChangesTable", 0, 3), QStringLiteral("0.75"));
}

} // namespace
