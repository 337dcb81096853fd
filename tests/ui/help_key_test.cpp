// F1 in each of the program's windows opens the user guide at that window's section, in
// one help window; under a modal dialog the guide is modal too; the about box links to the
// guide; every link inside the guide and every picture it shows resolves.
#include "app/HelpKey.h"
#include "app/Program.h"
#include "model/Kinds.h"
#include "ui/dialogs/ChangeItem.h"
#include "ui/document/Document.h"
#include "ui/widgets/Navigation.h"
#include "ui/windows/About.h"
#include "ui/windows/Comment.h"
#include "ui/windows/Compare.h"
#include "ui/windows/Graph.h"
#include "ui/windows/GraphControl.h"
#include "ui/windows/HelpWindow.h"
#include "ui/windows/MMEE.h"
#include "ui/windows/MainWindow.h"
#include "ui/windows/Rating.h"
#include "ui/windows/Sensitivity.h"

#include "ScriptedDialogs.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

const std::string kExample = VARDUN_SOURCE_DIR "/sample/example.sav";

class HelpKeyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        program_ = std::make_unique<Program>(document, dialogs);
        // The example's lists and counts, so that every analysis window can be made.
        program_->Start(StartupFiles { kExample, {} });
        ASSERT_TRUE(dialogs.Messages.empty());
    }

    void TearDown() override { program_.reset(); }

    TMainForm& Main() { return program_->MainForm(); }
    THelpForm* Help() { return program_->Help().HelpWindow(); }
    TAboutForm* About() { return Main().findChild<TAboutForm*>(); }

    // F1 as the analyst presses it: on a control of the window, which has the focus.
    static void PressF1(QWidget* window)
    {
        window->show();
        auto* button = window->findChild<QPushButton*>();
        QWidget* target = button ? static_cast<QWidget*>(button) : window;
        QTest::keyClick(target, Qt::Key_F1);
    }

    AssessmentDocument document;
    ScriptedDialogs dialogs;
    StillNavigation still;
    std::unique_ptr<Program> program_;
};

TEST_F(HelpKeyTest, F1InEachWindowOpensOneGuideAtThatWindowsSection)
{
    std::vector<std::unique_ptr<QWidget>> made;
    const auto graph = [&](AnalysisMode mode) {
        auto window = std::make_unique<TGraphForm>(document, dialogs, still, program_->CommentForm());
        window->SetUpForMode(mode, document.Store().Counts());
        made.push_back(std::move(window));
        return static_cast<TGraphForm*>(made.back().get());
    };
    TGraphForm* mode1 = graph(AnalysisMode::Reliability);
    TGraphForm* mode2 = graph(AnalysisMode::Damage);
    TGraphForm* mode3 = graph(AnalysisMode::Frequency);
    TGraphForm* mode4 = graph(AnalysisMode::WeightedDamage);
    made.push_back(std::make_unique<TMMEEForm>(document, dialogs, still));
    QWidget* mmee = made.back().get();
    made.push_back(std::make_unique<TRatingForm>(document, dialogs, still));
    QWidget* rating = made.back().get();
    TSensitivityForm sensitivity(document, dialogs, rating);
    TCompareForm comparison(document, dialogs, rating);
    TEditForm nameDialog(&Main());
    // A dialog of Qt's own has no section: its owner's is meant.
    QMessageBox box(QMessageBox::NoIcon, QString(), QStringLiteral("?"), QMessageBox::Ok, rating);
    mode2->ChartSettingsWindow().ShowForMode(AnalysisMode::Damage);
    program_->CommentForm().ShowComments(AnalysisMode::Frequency);
    ASSERT_NE(About(), nullptr);

    struct Case {
        QWidget* Window;
        const char* Anchor;
    };
    const Case cases[] = {
        { &Main(), "main-window" },
        { &nameDialog, "name-dialog" },
        { mode1, "mode-1" },
        { mode2, "mode-2" },
        { mode3, "mode-3" },
        { mode4, "mode-4" },
        { &mode2->ChartSettingsWindow(), "cell-selection" },
        { &program_->CommentForm(), "comments" },
        { mmee, "mmee-window" },
        { rating, "rating-window" },
        { &box, "rating-window" },
        { &sensitivity, "sensitivity-window" },
        { &comparison, "compare-window" },
        { About(), "about" },
    };
    THelpForm* first = nullptr;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Anchor);
        PressF1(c.Window);
        ASSERT_NE(Help(), nullptr);
        if (!first)
            first = Help();
        EXPECT_EQ(Help(), first);
        EXPECT_TRUE(Help()->isVisible());
        EXPECT_TRUE(Help()->HasSection(QString::fromLatin1(c.Anchor)));
        // A section too near the end to reach the top is shown with the guide scrolled to
        // its end, how far that is depending on the fonts.
        const QScrollBar* bar = Help()->findChild<QTextBrowser*>()->verticalScrollBar();
        if (bar->value() < bar->maximum())
            EXPECT_EQ(Help()->SectionAtTop().toStdString(), c.Anchor);
        else
            EXPECT_TRUE(Help()->SectionAtTop().isEmpty() || Help()->SectionAtTop() == QLatin1String(c.Anchor));
        c.Window->hide();
    }

    // F1 in the guide itself: the part that tells how to use it and the keys.
    PressF1(Help());
    EXPECT_EQ(Help()->SectionAtTop().toStdString(), "keys");

    int helpWindows = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        helpWindows += qobject_cast<THelpForm*>(window) != nullptr;
    EXPECT_EQ(helpWindows, 1);
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(HelpKeyTest, OtherKeysAndF1WithAModifierAreLeftToTheWindow)
{
    Main().show();
    QTest::keyClick(&Main(), Qt::Key_F2);
    QTest::keyClick(&Main(), Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_EQ(Help(), nullptr);
}

TEST_F(HelpKeyTest, UnderAModalDialogTheGuideIsModalTooAndElsewhereNot)
{
    TAboutForm* about = About();
    ASSERT_NE(about, nullptr);
    // As exec() shows it.
    about->setWindowModality(Qt::ApplicationModal);
    about->show();
    ASSERT_EQ(QApplication::activeModalWidget(), about);

    PressF1(about);
    ASSERT_NE(Help(), nullptr);
    EXPECT_EQ(Help()->windowModality(), Qt::ApplicationModal);
    // The guide takes the input, not the box beneath it.
    EXPECT_EQ(QApplication::activeModalWidget(), Help());
    EXPECT_EQ(Help()->SectionAtTop().toStdString(), "about");

    Help()->close();
    about->hide();
    ASSERT_EQ(QApplication::activeModalWidget(), nullptr);
    PressF1(&Main());
    EXPECT_TRUE(Help()->isVisible());
    EXPECT_EQ(Help()->windowModality(), Qt::NonModal);
    EXPECT_EQ(Help()->SectionAtTop().toStdString(), "main-window");
}

TEST_F(HelpKeyTest, TheAboutBoxsLinkOpensTheGuideAtItsBeginning)
{
    PressF1(&Main());
    ASSERT_NE(Help(), nullptr);
    ASSERT_GT(Help()->Browser()->verticalScrollBar()->value(), 0);
    Help()->hide();

    auto* link = About()->findChild<QLabel*>(QStringLiteral("GuideLink"));
    ASSERT_NE(link, nullptr);
    EXPECT_TRUE(link->text().contains(QStringLiteral("href")));
    EXPECT_FALSE(link->accessibleName().isEmpty());
    emit link->linkActivated(QStringLiteral("#guide"));
    EXPECT_TRUE(Help()->isVisible());
    EXPECT_EQ(Help()->Browser()->verticalScrollBar()->value(), 0);
}

// The bytes or image the guide's document gets for a picture's name.
QImage ImageOf(const QVariant& resource)
{
    if (resource.canConvert<QImage>() && !resource.value<QImage>().isNull())
        return resource.value<QImage>();
    return QImage::fromData(resource.toByteArray());
}

TEST(Guide, EveryLinkInsideItLeadsToASectionAndEveryPictureLoads)
{
    THelpForm help;
    help.ShowSection(QString());
    QTextDocument* document = help.Browser()->document();
    int pictures = 0;
    int links = 0;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isImageFormat()) {
                const QString name = format.toImageFormat().name();
                EXPECT_FALSE(ImageOf(document->resource(QTextDocument::ImageResource, QUrl(name))).isNull())
                    << name.toStdString();
                ++pictures;
            }
            const QString href = format.anchorHref();
            if (href.startsWith(QLatin1Char('#'))) {
                EXPECT_TRUE(help.HasSection(href.mid(1))) << href.toStdString();
                ++links;
            }
        }
    }
    // The four windows of the worked example at least, and a table of contents.
    EXPECT_GE(pictures, 4);
    EXPECT_GE(links, 10);
}

} // namespace
