// The program as the analyst walks it: start-up, the main window, the analysis windows in
// order and back, with the real window factory and scripted dialogs.
#include "app/Program.h"
#include "ui/document/Document.h"
#include "ui/widgets/WizardWindow.h"
#include "ui/windows/Graph.h"
#include "ui/windows/MainWindow.h"

#include "ScriptedDialogs.h"
#include "WalkWindows.h"
#include "ui/windows/MMEE.h"
#include "ui/windows/Rating.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

const QString kExample = QStringLiteral(VARDUN_TEST_DATA "/example.sav");

class Walk : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        previousDir_ = QDir::currentPath();
        QDir::setCurrent(dir_.path());
        // No start-up dictionary here: its message is expected.
        program_ = std::make_unique<Program>(document, dialogs);
        program_->Start();
        ASSERT_EQ(dialogs.Messages, std::vector<std::string> { "Не удалось загрузить файл default.dic." });
        dialogs.Messages.clear();
    }

    void TearDown() override
    {
        program_.reset();
        QDir::setCurrent(previousDir_);
    }

    TMainForm& Main() { return program_->MainForm(); }
    WindowSequence& Sequence() { return program_->Sequence(); }

    template <typename T> static T* Child(QWidget* window, const char* name)
    {
        auto* child = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    static void Click(QWidget* window, const char* button)
    {
        QTest::mouseClick(Child<QPushButton>(window, button), Qt::LeftButton);
        QApplication::processEvents();
    }

    void LoadExample()
    {
        dialogs.FileAnswers.push_back(kExample);
        Click(&Main(), "LoadButton");
        ASSERT_TRUE(dialogs.Messages.empty());
    }

    TGraphForm* Graph(int mode) const { return FindGraphWindow(program_->Sequence(), *ModeFromNumber(mode)); }

    // The one visible window of the wizard and the main window; null unless exactly one.
    QWidget* Visible()
    {
        std::vector<QWidget*> shown;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible() && (window == &Main() || qobject_cast<WizardWindow*>(window)))
                shown.push_back(window);
        return shown.size() == 1 ? shown.front() : nullptr;
    }

    // In the shown mode window: the stored thresholds are in the fields; compute, go on.
    void ComputeAndGoOn(int mode)
    {
        TGraphForm* window = Graph(mode);
        ASSERT_NE(window, nullptr);
        ASSERT_EQ(Visible(), window);
        Click(window, "ComputingButton");
        ASSERT_TRUE(dialogs.Messages.empty()) << dialogs.Messages.front();
        Click(window, "NextButton");
    }

    AssessmentDocument document;
    ScriptedDialogs dialogs;

private:
    QTemporaryDir dir_;
    QString previousDir_;
    std::unique_ptr<Program> program_;
};

TEST_F(Walk, ThroughTheFourModesAndBackKeepsTheWindowsUntilACheckMarkChanges)
{
    LoadExample();
    Click(&Main(), "NextButton");
    for (int mode = 1; mode <= 3; ++mode) {
        ComputeAndGoOn(mode);
        EXPECT_EQ(Visible(), Graph(mode + 1));
    }
    // The last mode's result is the weighted damage of the example.
    TGraphForm* fourth = Graph(4);
    Click(fourth, "ComputingButton");
    EXPECT_EQ(document.Store().WeightedDamageMax, 20412.0f);
    EXPECT_EQ(fourth->Work().ResultMatrix.Rows(), 4);
    EXPECT_EQ(fourth->Work().ResultMatrix.Cols(), 6);

    for (int mode = 4; mode >= 2; --mode) {
        Click(Graph(mode), "BackButton");
        EXPECT_EQ(Visible(), Graph(mode - 1));
    }
    Click(Graph(1), "BackButton");
    EXPECT_EQ(Visible(), &Main());

    // Next without a change shows the same windows as they were left.
    std::vector<QPointer<QWidget>> before;
    for (int mode = 1; mode <= 4; ++mode)
        before.push_back(Graph(mode));
    Click(&Main(), "NextButton");
    EXPECT_EQ(Visible(), Graph(1));
    for (int mode = 1; mode <= 4; ++mode)
        EXPECT_EQ(Graph(mode), before[static_cast<std::size_t>(mode - 1)].data());
    EXPECT_TRUE(Child<QPushButton>(Graph(1), "NextButton")->isEnabled()) << "it kept its computation";

    // Closing a mode window with the frame hides it and brings back the main window.
    Click(Graph(1), "NextButton");
    Click(Graph(2), "NextButton");
    Graph(3)->close();
    EXPECT_EQ(Visible(), &Main());
    EXPECT_NE(Graph(1), nullptr);
    EXPECT_NE(Graph(2), nullptr);

    // A check-box click, even undone by a second one, builds them again.
    auto* layers = Child<QListWidget>(&Main(), "LayersList");
    for (int click = 0; click < 2; ++click) {
        const QRect rect = layers->visualItemRect(layers->item(0));
        QTest::mouseClick(layers->viewport(), Qt::LeftButton, {}, QPoint(rect.left() + 9, rect.center().y()));
    }
    Click(&Main(), "NextButton");
    EXPECT_EQ(Visible(), Graph(1));
    EXPECT_TRUE(before[0].isNull()) << "the old windows are gone";
    EXPECT_TRUE(before[3].isNull());
    EXPECT_EQ(Graph(2), nullptr);
    EXPECT_FALSE(Child<QPushButton>(Graph(1), "NextButton")->isEnabled());
}

TEST_F(Walk, ToTheRatingsAndASaveFromTheEndOfTheWalk)
{
    LoadExample();
    Click(&Main(), "NextButton");
    for (int mode = 1; mode <= 4; ++mode)
        ComputeAndGoOn(mode);
    QWidget* mmee = FindWalkWindow<TMMEEForm>(Sequence());
    ASSERT_NE(mmee, nullptr);
    EXPECT_EQ(Visible(), mmee);
    EXPECT_EQ(Child<QLabel>(mmee, "RMLabel")->text(), QStringLiteral("4.00"));

    Click(mmee, "NextButton");
    QWidget* rating = FindWalkWindow<TRatingForm>(Sequence());
    ASSERT_NE(rating, nullptr);
    EXPECT_EQ(Visible(), rating);
    for (const char* name : { "LayersList", "ThreatsList", "MechanismsList" }) {
        auto* list = Child<QListWidget>(rating, name);
        const QRect rect = list->visualItemRect(list->item(1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(rect.left() + 9, rect.center().y()));
    }
    auto* high = Child<QLineEdit>(rating, "HighLevelEdit");
    auto* low = Child<QLineEdit>(rating, "LowLevelEdit");
    high->clear();
    QTest::keyClicks(high, "2");
    low->clear();
    QTest::keyClicks(low, "0.5");
    ASSERT_TRUE(Child<QPushButton>(rating, "ComputeButton")->isEnabled());
    Click(rating, "ComputeButton");
    ASSERT_TRUE(Child<QPushButton>(rating, "SaveButton")->isEnabled());

    const QString saved = QDir::current().filePath(QStringLiteral("walked.sav"));
    dialogs.FileAnswers.push_back(saved);
    Click(rating, "SaveButton");
    EXPECT_TRUE(dialogs.Messages.empty());
    EXPECT_TRUE(document.IsSaved());
    CData reread;
    ASSERT_TRUE(reread.LoadFromFile(saved.toStdString(), dialogs));
    EXPECT_EQ(reread.HighLevel, 2.0f);
    EXPECT_EQ(reread.LowLevel, 0.5f);
    EXPECT_EQ(reread.MT.Rows(), 6);

    // Finish, and Next again: the same windows, as they were left.
    Click(rating, "FinishButton");
    EXPECT_EQ(Visible(), &Main());
    const QPointer<QWidget> first = Graph(1);
    const QPointer<QWidget> keptMMEE = mmee;
    const QPointer<QWidget> keptRating = rating;
    Click(&Main(), "NextButton");
    EXPECT_EQ(Visible(), first.data());
    for (int mode = 1; mode <= 4; ++mode)
        Click(Graph(mode), "NextButton");
    EXPECT_EQ(Visible(), keptMMEE.data());
    Click(keptMMEE, "NextButton");
    EXPECT_EQ(Visible(), keptRating.data());
    EXPECT_EQ(Child<QLineEdit>(rating, "HighLevelEdit")->text(), QStringLiteral("2.00"));
    Click(rating, "BackButton");
    EXPECT_EQ(Visible(), keptMMEE.data());
    Click(keptMMEE, "BackButton");
    EXPECT_EQ(Visible(), Graph(4));

    // Closing with the frame goes back to the main window; a check-box click there
    // throws every analysis window away at the next Next.
    Graph(4)->close();
    EXPECT_EQ(Visible(), &Main());
    auto* threats = Child<QListWidget>(&Main(), "ThreatsList");
    const QRect rect = threats->visualItemRect(threats->item(0));
    QTest::mouseClick(threats->viewport(), Qt::LeftButton, {}, QPoint(rect.left() + 9, rect.center().y()));
    EXPECT_FALSE(document.IsSaved());
    Click(&Main(), "NextButton");
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(keptMMEE.isNull());
    EXPECT_TRUE(keptRating.isNull());
    EXPECT_EQ(Visible(), Graph(1));
}

} // namespace
