// The table of what the analyst does with the whole assessment, as its readers take it:
// the rating window's menus and buttons made from its rows and running them, F1 at the
// row's section in the window a row opens and on its menu entry, the report's sections as
// the window stands, and vardun-report's options.
#include "ui/windows/AssessmentActions.h"

#include "ExampleAssessment.h"
#include "RatingWindowFixture.h"
#include "app/HelpKey.h"
#include "model/Data.h"
#include "tools/report/ReportOptions.h"
#include "ui/export/ReportLayout.h"
#include "ui/windows/Compare.h"
#include "ui/windows/HelpWindow.h"
#include "ui/windows/Sensitivity.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kVariant = VARDUN_SOURCE_DIR "/sample/example-variant.sav";

class AssessmentActionsTest : public RatingWindowFixture {
protected:
    void SetUp() override
    {
        document.Store() = LoadExample();
        OpenWindow();
    }

    QAction* Entry(const AssessmentAction& row) const
    {
        return window->findChild<QAction*>(QString::fromLatin1(row.Name) + QStringLiteral("Action"));
    }
    QPushButton* Button(const AssessmentAction& row) const
    {
        return window->findChild<QPushButton*>(QString::fromLatin1(row.Name) + QStringLiteral("Button"));
    }
};

TEST_F(AssessmentActionsTest, EveryRowHasItsEntryInItsMenuAndItsButtonWhereTheRowPutsIt)
{
    const QMenuBar* bar = window->menuBar();
    for (const AssessmentAction& row : AssessmentActions()) {
        SCOPED_TRACE(row.Name);
        const QString caption = QString::fromUtf8(row.Caption);
        QAction* entry = Entry(row);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->text(), caption);
        const auto* menu = qobject_cast<QMenu*>(entry->parent());
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->objectName(), row.Menu == ActionMenu::File ? "FileMenu" : "AnalysisMenu");
        EXPECT_TRUE(bar->actions().contains(menu->menuAction()));

        QPushButton* button = Button(row);
        ASSERT_EQ(button != nullptr, row.Button.has_value());
        if (!button)
            continue;
        EXPECT_EQ(button->text(), caption);
        EXPECT_EQ(button->geometry(), row.Button->Place);
        EXPECT_EQ(button->parentWidget()->objectName() == QStringLiteral("Panel"), row.Button->Row == ButtonRow::Panel);
        EXPECT_EQ(button->isEnabled(), entry->isEnabled());
    }
}

TEST_F(AssessmentActionsTest, TheEntriesRunTheirRows)
{
    // The analysis windows are made on first use, by the menu as by the button.
    EXPECT_EQ(window->SensitivityWindow(), nullptr);
    window->findChild<QAction*>(QStringLiteral("SensitivityAction"))->trigger();
    ASSERT_NE(window->SensitivityWindow(), nullptr);
    EXPECT_TRUE(window->SensitivityWindow()->isVisible());

    dialogs.FileAnswers.push_back(QString::fromStdString(kVariant));
    window->findChild<QAction*>(QStringLiteral("CompareAction"))->trigger();
    const TCompareForm* compare = TCompareForm::Of(window.get());
    ASSERT_NE(compare, nullptr);
    EXPECT_TRUE(compare->isVisible());

    // The outputs ask where to write, and write nothing when the analyst cancels.
    for (const char* name : { "ReportAction", "WorkbookAction" }) {
        SCOPED_TRACE(name);
        const std::size_t asked = dialogs.FileRequests.size();
        dialogs.FileAnswers.push_back(std::nullopt);
        window->findChild<QAction*>(QString::fromLatin1(name))->trigger();
        ASSERT_EQ(dialogs.FileRequests.size(), asked + 1);
        EXPECT_TRUE(dialogs.FileRequests.back().Save);
        EXPECT_TRUE(dialogs.Messages.empty());
    }
}

TEST_F(AssessmentActionsTest, AnAnalysisNeedsAnItemInEveryList)
{
    document.Store().ThreatIndices.clear();
    window = std::make_unique<TRatingForm>(document, dialogs, navigation);
    window->show();
    for (const AssessmentAction& row : AssessmentActions()) {
        SCOPED_TRACE(row.Name);
        const bool enabled = !row.Enabled || row.Enabled(document.Store());
        EXPECT_EQ(Entry(row)->isEnabled(), enabled);
        if (Button(row))
            EXPECT_EQ(Button(row)->isEnabled(), enabled);
    }
    EXPECT_FALSE(window->findChild<QAction*>(QStringLiteral("SensitivityAction"))->isEnabled());
    EXPECT_TRUE(window->findChild<QAction*>(QStringLiteral("ReportAction"))->isEnabled());
}

TEST_F(AssessmentActionsTest, F1OpensTheRowsSectionInItsWindowAndOnItsMenuEntry)
{
    THelpForm guide;
    window->findChild<QAction*>(QStringLiteral("SensitivityAction"))->trigger();
    dialogs.FileAnswers.push_back(QString::fromStdString(kVariant));
    window->findChild<QAction*>(QStringLiteral("CompareAction"))->trigger();
    const QWidget* opened[] = { window->SensitivityWindow(), TCompareForm::Of(window.get()) };
    for (const AssessmentAction& row : AssessmentActions()) {
        SCOPED_TRACE(row.Name);
        EXPECT_TRUE(guide.HasSection(QString::fromLatin1(row.HelpAnchor)));
        for (const QWidget* w : opened)
            if (row.WindowClass && w && QString::fromLatin1(w->metaObject()->className()) == row.WindowClass)
                EXPECT_EQ(HelpKey::SectionFor(w), QString::fromLatin1(row.HelpAnchor));

        // The entry under the pointer in its open menu.
        auto* menu = qobject_cast<QMenu*>(Entry(row)->parent());
        menu->popup(QPoint(0, 0));
        menu->setActiveAction(Entry(row));
        EXPECT_EQ(HelpKey::SectionFor(menu), QString::fromLatin1(row.HelpAnchor));
        menu->hide();
    }
    // Elsewhere in the window, the window's own section.
    EXPECT_EQ(HelpKey::SectionFor(window.get()), QStringLiteral("rating-window"));
}

TEST_F(AssessmentActionsTest, TheReportHasTheComparisonOnlyWhileItsWindowIsOpen)
{
    const auto sections = [this] { return WindowReportSections(window.get()).size(); };
    const std::size_t standing = sections();
    EXPECT_EQ(standing, WindowReportSections(nullptr).size());
    EXPECT_GE(standing, 1u);
    dialogs.FileAnswers.push_back(QString::fromStdString(kVariant));
    window->findChild<QAction*>(QStringLiteral("CompareAction"))->trigger();
    EXPECT_EQ(sections(), standing + 1);
    TCompareForm::Of(window.get())->close();
    EXPECT_EQ(sections(), standing);
}

TEST(ReportToolOptions, EveryRowsOptionIsReadAndGivenTwiceIsRefused)
{
    const std::span<const AssessmentAction> rows = AssessmentActions();
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const AssessmentAction& row = rows[k];
        SCOPED_TRACE(row.Flag);
        const std::string value = row.Value == FlagValue::Path ? "out.file" : "7";
        std::string error;
        const std::optional<ReportOptions> options = ParseReportOptions({ "in.sav", row.Flag, value }, error);
        ASSERT_TRUE(options) << error;
        ASSERT_EQ(options->Actions.size(), rows.size());
        for (std::size_t j = 0; j < rows.size(); ++j)
            EXPECT_EQ(options->Actions[j], j == k ? std::optional<std::string>(value) : std::nullopt);
        EXPECT_FALSE(ParseReportOptions({ "in.sav", row.Flag, value, row.Flag, value }, error));
        EXPECT_EQ(error, std::string(row.Flag) + " given twice");
        EXPECT_NE(ReportUsage().find(row.Synopsis), std::string::npos);
        EXPECT_NE(ReportUsage().find(row.Usage), std::string::npos);
    }
}

} // namespace
