// The rating window: its controls, the single check per list, the two level edits with
// their checks and messages, the levels in the store and in the data file, the charts on
// the window with the labels they place, and the way out.
#include "ui/windows/Rating.h"

#include "../core/support/MatrixLiterals.h"
#include "../core/support/RandomAssessment.h"
#include "RecordingCanvas.h"
#include "RecordingNavigation.h"
#include "ScriptedDialogs.h"
#include "analysis/Derived.h"
#include "model/Data.h"
#include "ui/charts/RatingChart.h"
#include "ui/dialogs/QtDialogs.h"
#include "ui/document/Document.h"

#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPaintEvent>
#include <QPushButton>
#include <QRegion>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// For the test's own file work, which must not fail.
struct RefuseMessages : IMessageSink {
    void ShowMessage(const std::string& text) override { ADD_FAILURE() << text; }
};

enum ListKind { kLayers, kThreats, kMechanisms };

const std::string kHighRangeMessage = "Значение должно находиться в интервале [1.000000..5.000000].";
const std::string kLowRangeMessage = "Значение должно находиться в интервале [0.000000..1.000000].";
const std::string kNotANumberMessage = "Ошика при вводе данных.";

// The client area as the analyst sees it, in client coordinates (the menu bar above it left
// out); grabbing also paints whatever is pending.
QImage ClientShot(QMainWindow& window)
{
    return window.grab(window.centralWidget()->geometry()).toImage();
}

constexpr QRect kCurrentLevelSwatch { 196, 422, 10, 10 };

// Pixels of the current level's curve colour, the legend's own swatch left out.
int CurrentLevelPixels(const QImage& image)
{
    const QRgb green = qRgb(kCurrentLevelColour.Red, kCurrentLevelColour.Green, kCurrentLevelColour.Blue);
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!kCurrentLevelSwatch.contains(x, y) && image.pixel(x, y) == green)
                ++count;
    return count;
}

// Counts what reaches the client area: the union of every region it was asked to paint.
class PaintRecorder : public QObject {
public:
    QRegion Painted;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            Painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

class RatingWindowTest : public ::testing::Test {
protected:
    // The example assessment after a pass through the four modes: layers, threats and
    // mechanisms 4, 8 and 6; stored levels 2 and 0.5.
    void LoadExample()
    {
        RefuseMessages sink;
        ASSERT_TRUE(store.LoadFromFile(VARDUN_TEST_DATA "/example.sav", sink));
        ComputeAllModes(store);
    }

    // One item of each kind; Rm = Re = 0.5 * max(0, 2 + s) * max(0, 3 + s) / 6.
    void LoadSingleItem()
    {
        store.LayerNames = { "Периметр" };
        store.ThreatNames = { "Вирус" };
        store.MechanismNames = { "Антивирус" };
        store.LayerIndices = store.ThreatIndices = store.MechanismIndices = { "0" };
        store.LayerCount = store.ThreatCount = store.MechanismCount = 1;
        store.ReliabilityME = MakeMatrix({ { 0.5f } });
        store.DamageEM = MakeMatrix({ { 4.0f } });
        store.EF = MakeMatrix({ { 2.0f } });
        store.FM = MakeMatrix({ { 3.0f } });
        store.WeightedDamageMax = 24.0f;
        store.HighLevel = 2.0f;
        store.LowLevel = 0.5f;
    }

    std::unique_ptr<TRatingForm> Open(IDialogs& with)
    {
        auto window = std::make_unique<TRatingForm>(document, with, navigation);
        window->show();
        return window;
    }
    std::unique_ptr<TRatingForm> Open() { return Open(dialogs); }

    template <class Widget> static Widget* Find(TRatingForm& window, const char* name)
    {
        auto* widget = window.findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    static QListWidget* List(TRatingForm& window, ListKind kind)
    {
        static const char* const names[] = { "LayersList", "ThreatsList", "MechanismsList" };
        return Find<QListWidget>(window, names[kind]);
    }
    static QLineEdit* High(TRatingForm& window) { return Find<QLineEdit>(window, "HighLevelEdit"); }
    static QLineEdit* Low(TRatingForm& window) { return Find<QLineEdit>(window, "LowLevelEdit"); }
    static QPushButton* Button(TRatingForm& window, const char* name) { return Find<QPushButton>(window, name); }
    static QPushButton* Compute(TRatingForm& window) { return Button(window, "ComputeButton"); }
    static QLabel* Label(TRatingForm& window, const char* name) { return Find<QLabel>(window, name); }

    // A click on the item's check box toggles it.
    static void ClickCheckBox(TRatingForm& window, ListKind kind, int row)
    {
        QListWidget* list = List(window, kind);
        list->scrollToItem(list->item(row));
        const QRect rect = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(rect.left() + 9, rect.center().y()));
    }

    // A click on the item's text makes it current and leaves the marks alone.
    static void ClickText(TRatingForm& window, ListKind kind, int row)
    {
        QListWidget* list = List(window, kind);
        list->scrollToItem(list->item(row));
        const QRect rect = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(rect.left() + 60, rect.center().y()));
    }

    static std::vector<int> CheckedRows(TRatingForm& window, ListKind kind)
    {
        std::vector<int> rows;
        QListWidget* list = List(window, kind);
        for (int row = 0; row < list->count(); ++row)
            if (list->item(row)->checkState() == Qt::Checked)
                rows.push_back(row);
        return rows;
    }

    static std::vector<std::string> Names(TRatingForm& window, ListKind kind)
    {
        std::vector<std::string> names;
        QListWidget* list = List(window, kind);
        for (int row = 0; row < list->count(); ++row)
            names.push_back(list->item(row)->text().toStdString());
        return names;
    }

    static void CheckRows(TRatingForm& window, int layer, int threat, int mechanism)
    {
        ClickCheckBox(window, kLayers, layer);
        ClickCheckBox(window, kThreats, threat);
        ClickCheckBox(window, kMechanisms, mechanism);
    }

    // Replaces the whole text by typing over a selection, as the analyst would.
    static void Retype(QLineEdit* edit, const char* text)
    {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, QString::fromLatin1(text));
    }

    QString TempPath(const char* name) const { return temp_.filePath(QString::fromUtf8(name)); }

    AssessmentDocument document;
    CData& store = document.Store();
    ScriptedDialogs dialogs;
    RecordingNavigation navigation;

private:
    QTemporaryDir temp_;
};

TEST_F(RatingWindowTest, TheListsHoldTheAnalysedNamesInAnalysisOrderUncheckedWithNoCurrentItem)
{
    // Index lists out of name order: item k is the name the k-th index entry points at.
    store.LayerNames = { "Периметр", "Сеть", "Серверы" };
    store.LayerIndices = { "2", "0" };
    store.ThreatNames = { "Вирус", "Фишинг" };
    store.ThreatIndices = { "1" };
    store.MechanismNames = { "Антивирус", "Шифрование", "Обучение" };
    store.MechanismIndices = { "1", "2" };
    auto window = Open();

    EXPECT_EQ(Names(*window, kLayers), (std::vector<std::string> { "Серверы", "Периметр" }));
    EXPECT_EQ(Names(*window, kThreats), (std::vector<std::string> { "Фишинг" }));
    EXPECT_EQ(Names(*window, kMechanisms), (std::vector<std::string> { "Шифрование", "Обучение" }));
    for (ListKind kind : { kLayers, kThreats, kMechanisms }) {
        QListWidget* list = List(*window, kind);
        EXPECT_TRUE(CheckedRows(*window, kind).empty());
        EXPECT_EQ(list->currentRow(), -1);
        EXPECT_TRUE(list->selectedItems().isEmpty());
        EXPECT_EQ(list->visualItemRect(list->item(0)).height(), 13);
        EXPECT_TRUE(list->item(0)->flags() & Qt::ItemIsUserCheckable);
    }
    EXPECT_FALSE(Compute(*window)->isEnabled());
    EXPECT_FALSE(Button(*window, "SaveButton")->isEnabled());
    EXPECT_TRUE(dialogs.Messages.empty());
}

// Every control with its name, place (left, top and, where fixed, the size), parent and
// caption; labels size themselves to their text.
TEST_F(RatingWindowTest, ControlsSitWhereTheWindowWasDesigned)
{
    // As constructed: showing puts the stored levels into the edits.
    auto window = std::make_unique<TRatingForm>(document, dialogs, navigation);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Без имени — Vardun 2.2"));
    // The client area below the menu bar keeps the designed size.
    EXPECT_EQ(window->size(), QSize(655, 481 + window->menuBar()->sizeHint().height()));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);

    struct Place {
        const char* name;
        QRect at; // an empty size: the control sizes itself
        bool inPanel;
        const char* caption;
    };
    const Place places[] = {
        { "Panel", { 2, 8, 649, 201 }, false, nullptr },
        { "Label1", { 6, 8, 0, 0 }, true, "Анализируеммые эшелоны" },
        { "LayersList", { 5, 25, 310, 65 }, true, nullptr },
        { "Label3", { 7, 96, 0, 0 }, true, "Анализируеммые механизмы" },
        { "MechanismsList", { 5, 113, 310, 65 }, true, nullptr },
        { "Label2", { 325, 8, 0, 0 }, true, "Анализируеммые угрозы" },
        { "ThreatsList", { 323, 25, 321, 65 }, true, nullptr },
        { "Label7", { 336, 97, 0, 0 }, true, "Текущий уровень потенциального ущеба" },
        { "Edit4", { 549, 93, 66, 21 }, true, "1.0" },
        { "Label4", { 336, 123, 0, 0 }, true, "Высокий уровень потенциального ущеба" },
        { "HighLevelEdit", { 549, 117, 66, 21 }, true, "" },
        { "Label5", { 336, 147, 0, 0 }, true, "Низкий уровень потенциального ущеба" },
        { "LowLevelEdit", { 549, 141, 66, 21 }, true, "" },
        { "ComputeButton", { 384, 168, 97, 25 }, true, "Графики" },
        { "BackButton", { 120, 448, 97, 25 }, false, "Назад ..." },
        { "SaveButton", { 280, 448, 129, 25 }, false, "Сохранить данные..." },
        { "FinishButton", { 480, 448, 97, 25 }, false, "Завершить ..." },
        { "Label8", { 8, 216, 0, 0 }, false, "Графики зависимости ретинговых показателей от ЧАУ" },
        { "Label6", { 16, 248, 0, 0 }, false, "Rm" },
        { "Label9", { 272, 384, 0, 0 }, false, "ЧАУ" },
        { "Label10", { 336, 248, 0, 0 }, false, "Re" },
        { "Label11", { 608, 384, 0, 0 }, false, "ЧАУ" },
        { "Image3", { 52, 422, 10, 10 }, false, nullptr },
        { "Label47", { 72, 419, 0, 0 }, false, "-- Высокий уровень" },
        { "Image1", { 196, 422, 10, 10 }, false, nullptr },
        { "Label45", { 216, 419, 0, 0 }, false, "-- Текущий уровень" },
        { "Image2", { 340, 422, 10, 10 }, false, nullptr },
        { "Label46", { 360, 419, 0, 0 }, false, "-- Низкий уровень" },
        { "Image4", { 480, 416, 14, 16 }, false, nullptr },
        { "Label12", { 496, 419, 0, 0 }, false, "-- Текущий ЧАУ" },
        { "MM0Label", { 8, 404, 0, 0 }, false, "" },
        { "MM1", { 5, 344, 0, 0 }, false, "" },
        { "MM2", { 5, 360, 0, 0 }, false, "" },
        { "MMlb", { 37, 368, 0, 0 }, false, "" },
        { "EE0Label", { 337, 404, 0, 0 }, false, "" },
        { "EE1", { 320, 368, 0, 0 }, false, "" },
        { "EE2", { 320, 344, 0, 0 }, false, "" },
        { "EElb", { 352, 368, 0, 0 }, false, "" },
    };
    QWidget* panel = Find<QWidget>(*window, "Panel");
    for (const Place& place : places) {
        auto* control = Find<QWidget>(*window, place.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->parentWidget(), place.inPanel ? panel : window->centralWidget()) << place.name;
        if (place.at.isEmpty())
            EXPECT_EQ(control->pos(), place.at.topLeft()) << place.name;
        else
            EXPECT_EQ(control->geometry(), place.at) << place.name;
        if (!place.caption)
            continue;
        QString caption;
        if (auto* label = qobject_cast<QLabel*>(control))
            caption = label->text();
        else if (auto* button = qobject_cast<QPushButton*>(control))
            caption = button->text();
        else if (auto* edit = qobject_cast<QLineEdit*>(control))
            caption = edit->text();
        EXPECT_EQ(caption.toStdString(), place.caption) << place.name;
    }
    EXPECT_TRUE(Label(*window, "Label8")->font().bold());
    EXPECT_FALSE(Label(*window, "Label1")->font().bold());

    auto* currentLevel = Find<QLineEdit>(*window, "Edit4");
    EXPECT_FALSE(currentLevel->isEnabled());

    window->show();
    EXPECT_EQ(window->centralWidget()->geometry(), QRect(0, window->menuBar()->height(), 655, 481));
    // The disabled edit shows the button face, not the usual field colour.
    const QImage shot = ClientShot(*window);
    EXPECT_EQ(shot.pixelColor(2 + 549 + 40, 8 + 93 + 10), window->palette().color(QPalette::Button));
}

// The focus walks the controls in their designed order, passing over disabled ones.
TEST_F(RatingWindowTest, TabOrderFollowsTheDesign)
{
    LoadExample();
    auto window = Open();
    auto chain = [&window] {
        std::vector<std::string> names;
        QWidget* start = List(*window, kLayers);
        QWidget* w = start;
        do {
            if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(window.get()))
                names.push_back(w->objectName().toStdString());
            w = w->nextInFocusChain();
        } while (w != start);
        return names;
    };
    EXPECT_EQ(chain(),
        (std::vector<std::string> { "LayersList", "MechanismsList", "ThreatsList", "HighLevelEdit", "LowLevelEdit",
            "SensitivityButton", "BackButton", "FinishButton", "ReportButton" }));

    CheckRows(*window, 0, 0, 0);
    Compute(*window)->click();
    EXPECT_EQ(chain(),
        (std::vector<std::string> { "LayersList", "MechanismsList", "ThreatsList", "HighLevelEdit", "LowLevelEdit",
            "ComputeButton", "SensitivityButton", "BackButton", "SaveButton", "FinishButton", "ReportButton" }));
}

TEST_F(RatingWindowTest, EachListKeepsAtMostOneCheckedItemTheOneLastToggled)
{
    LoadExample();
    auto window = Open();
    CheckRows(*window, 0, 0, 0);
    ASSERT_TRUE(Compute(*window)->isEnabled());

    ClickCheckBox(*window, kThreats, 2);
    EXPECT_EQ(CheckedRows(*window, kThreats), std::vector<int> { 2 });
    EXPECT_EQ(List(*window, kThreats)->currentRow(), 2);
    ClickCheckBox(*window, kThreats, 6);
    EXPECT_EQ(CheckedRows(*window, kThreats), std::vector<int> { 6 });
    EXPECT_TRUE(Compute(*window)->isEnabled());

    // Unchecking the only mark leaves none, and the choice is incomplete.
    ClickCheckBox(*window, kThreats, 6);
    EXPECT_TRUE(CheckedRows(*window, kThreats).empty());
    EXPECT_EQ(List(*window, kThreats)->currentRow(), 6);
    EXPECT_FALSE(Compute(*window)->isEnabled());
    // The other lists keep theirs.
    EXPECT_EQ(CheckedRows(*window, kLayers), std::vector<int> { 0 });
    EXPECT_EQ(CheckedRows(*window, kMechanisms), std::vector<int> { 0 });

    // Clicking an item's text moves the current item and leaves the marks.
    ClickText(*window, kLayers, 3);
    EXPECT_EQ(List(*window, kLayers)->currentRow(), 3);
    EXPECT_EQ(CheckedRows(*window, kLayers), std::vector<int> { 0 });
}

TEST_F(RatingWindowTest, TheSpaceKeyTogglesTheCurrentItemUnderTheSameRule)
{
    LoadExample();
    auto window = Open();
    QListWidget* list = List(*window, kMechanisms);
    list->setFocus();
    list->setCurrentRow(1);
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_EQ(CheckedRows(*window, kMechanisms), std::vector<int> { 1 });
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_EQ(CheckedRows(*window, kMechanisms), std::vector<int> { 3 });
    EXPECT_EQ(list->currentRow(), 3);
}

TEST_F(RatingWindowTest, TheChartsButtonIsEnabledExactlyWithOneCheckPerListAndBothLevelsTyped)
{
    LoadExample();
    auto window = Open();
    QPushButton* compute = Compute(*window);
    // Shown with the stored levels 2 and 0.5.
    ASSERT_EQ(High(*window)->text(), QStringLiteral("2.00"));
    ASSERT_EQ(Low(*window)->text(), QStringLiteral("0.50"));

    ClickCheckBox(*window, kLayers, 1);
    ClickCheckBox(*window, kThreats, 1);
    EXPECT_FALSE(compute->isEnabled());
    ClickCheckBox(*window, kMechanisms, 1);
    EXPECT_TRUE(compute->isEnabled());

    struct Step {
        QLineEdit* edit;
        const char* text;
        bool enabled;
    };
    const Step steps[] = {
        { High(*window), "", false },
        { High(*window), "2", true },
        { Low(*window), "", false },
        { High(*window), "", false },
        { Low(*window), "0.5", false },
        { High(*window), "3", true },
    };
    for (const Step& step : steps) {
        step.edit->setText(QString::fromLatin1(step.text));
        EXPECT_EQ(compute->isEnabled(), step.enabled)
            << step.edit->objectName().toStdString() << " \"" << step.text << "\"";
    }
    EXPECT_TRUE(dialogs.Messages.empty());
}

// Whatever sets the text, typing or the program, the edit checks it: a number in the
// level's range stays, anything else is reported and removed.
TEST_F(RatingWindowTest, LevelsOutsideTheirRangeOrNotNumbersAreReportedAndRemoved)
{
    auto window = Open();
    struct Case {
        bool high;
        const char* text;
        const std::string* message; // null: accepted
    };
    const Case cases[] = {
        { true, "1", nullptr },
        { true, "5", nullptr },
        { true, "2.5", nullptr },
        { true, "5.01", &kHighRangeMessage },
        { true, "0.99", &kHighRangeMessage },
        { true, ".", &kHighRangeMessage }, // a lone point is 0
        { true, "1..2", &kNotANumberMessage },
        { false, "0", nullptr },
        { false, "1", nullptr },
        { false, ".", nullptr },
        { false, "1.5", &kLowRangeMessage },
        { false, " 0.25 ", nullptr }, // pasted, with blanks around
        { false, "0,5", &kNotANumberMessage },
        { false, "абв", &kNotANumberMessage },
    };
    for (const Case& c : cases) {
        QLineEdit* edit = c.high ? High(*window) : Low(*window);
        QLineEdit* other = c.high ? Low(*window) : High(*window);
        other->setText(c.high ? QStringLiteral("0.5") : QStringLiteral("2"));
        dialogs.Messages.clear();
        edit->setText(QString::fromUtf8(c.text));
        const std::string what = std::string(c.high ? "high " : "low ") + c.text;
        if (c.message) {
            EXPECT_EQ(dialogs.Messages, std::vector<std::string> { *c.message }) << what;
            EXPECT_TRUE(edit->text().isEmpty()) << what;
        } else {
            EXPECT_TRUE(dialogs.Messages.empty()) << what;
            EXPECT_EQ(edit->text().toStdString(), c.text) << what;
        }
        EXPECT_EQ(other->text(), c.high ? QStringLiteral("0.5") : QStringLiteral("2")) << what;
    }
}

// Through the keys: the message comes at the keystroke that makes the text wrong, once,
// and the emptied edit takes typing again.
TEST_F(RatingWindowTest, ATypedLevelIsCheckedAtEachKeystroke)
{
    LoadExample();
    auto window = Open();
    CheckRows(*window, 0, 0, 0);
    QLineEdit* high = High(*window);
    high->setFocus();
    Retype(high, "5.0");
    EXPECT_EQ(high->text(), QStringLiteral("5.0"));
    EXPECT_TRUE(Compute(*window)->isEnabled());
    EXPECT_TRUE(dialogs.Messages.empty());

    QTest::keyClicks(high, QStringLiteral("1"));
    EXPECT_EQ(dialogs.Messages, std::vector<std::string> { kHighRangeMessage });
    EXPECT_TRUE(high->text().isEmpty());
    EXPECT_FALSE(Compute(*window)->isEnabled());

    QTest::keyClicks(high, QStringLiteral("4.5"));
    EXPECT_EQ(high->text(), QStringLiteral("4.5"));
    EXPECT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_TRUE(Compute(*window)->isEnabled());
    EXPECT_EQ(store.HighLevel, 2.0f) << "typing stores nothing";
}

TEST_F(RatingWindowTest, OnlyDigitsPointAndBackspaceAreTypedAndNoMoreThanFiveCharacters)
{
    auto window = Open();
    QLineEdit* high = High(*window);
    high->setText(QStringLiteral("1.234"));
    for (const char* key : { "a", "-", ",", "+", " ", "e" }) {
        QTest::keyClicks(high, QString::fromLatin1(key));
        EXPECT_EQ(high->text(), QStringLiteral("1.234")) << key;
    }
    QTest::keyClicks(high, QStringLiteral("5"));
    EXPECT_EQ(high->text(), QStringLiteral("1.234")) << "a sixth character";

    QTest::keyClick(high, Qt::Key_Backspace);
    EXPECT_EQ(high->text(), QStringLiteral("1.23"));
    QTest::keyClicks(high, QStringLiteral("9"));
    EXPECT_EQ(high->text(), QStringLiteral("1.239"));

    // Typing over a selection is no sixth character.
    high->setSelection(2, 3);
    QTest::keyClicks(high, QStringLiteral("5"));
    EXPECT_EQ(high->text(), QStringLiteral("1.5"));
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(RatingWindowTest, ShowingTheWindowPutsTheStoredLevelsIntoTheEdits)
{
    store.HighLevel = 2.5f;
    store.LowLevel = 0.25f;
    auto window = Open();
    EXPECT_EQ(High(*window)->text(), QStringLiteral("2.50"));
    EXPECT_EQ(Low(*window)->text(), QStringLiteral("0.25"));

    // Levels typed but not confirmed with "Графики" give way to the stored ones at the
    // next showing by the program.
    High(*window)->setText(QStringLiteral("4"));
    Low(*window)->setText(QStringLiteral("1"));
    window->hide();
    window->show();
    EXPECT_EQ(High(*window)->text(), QStringLiteral("2.50"));
    EXPECT_EQ(Low(*window)->text(), QStringLiteral("0.25"));

    // Restoring the window from the task bar is no showing by the program.
    High(*window)->setText(QStringLiteral("4"));
    QShowEvent restored;
    QSpontaneKeyEvent::setSpontaneous(&restored);
    static_cast<QObject*>(window.get())->event(&restored);
    EXPECT_EQ(High(*window)->text(), QStringLiteral("4"));
    EXPECT_TRUE(dialogs.Messages.empty());
}

// A new assessment holds 0 for both levels: the high edit stays empty, without a message.
TEST_F(RatingWindowTest, AStoredLevelOutsideItsRangeLeavesItsEditEmptySilently)
{
    struct Case {
        float high, low;
        const char* highText;
        const char* lowText;
    };
    const Case cases[] = {
        { 0.0f, 0.0f, "", "0.00" },
        { 5.5f, 1.5f, "", "" },
        { 5.0f, 1.0f, "5.00", "1.00" },
        { 1.0f, 0.004f, "1.00", "0.00" },
    };
    for (const Case& c : cases) {
        store.HighLevel = c.high;
        store.LowLevel = c.low;
        auto window = Open();
        EXPECT_EQ(High(*window)->text().toStdString(), c.highText) << c.high;
        EXPECT_EQ(Low(*window)->text().toStdString(), c.lowText) << c.low;
    }
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(RatingWindowTest, TheChartsButtonStoresTheLevelsEnablesSaveForGoodAndRepaintsTheClient)
{
    LoadExample();
    auto window = Open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    CheckRows(*window, 1, 2, 3);
    Retype(High(*window), "3");
    Retype(Low(*window), ".25");
    // Whatever the clicks and typing asked for is painted first.
    QTest::qWait(50);

    PaintRecorder recorder;
    window->centralWidget()->installEventFilter(&recorder);
    Compute(*window)->click();
    // The client paints wherever no control covers it (controls paint themselves).
    QRegion uncovered(0, 0, 655, 481);
    for (QWidget* child : window->centralWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        uncovered -= child->geometry();
    EXPECT_TRUE(QTest::qWaitFor([&] { return (uncovered - recorder.Painted).isEmpty(); }, 1000));

    EXPECT_EQ(store.HighLevel, 3.0f);
    EXPECT_EQ(store.LowLevel, 0.25f);
    QPushButton* save = Button(*window, "SaveButton");
    EXPECT_TRUE(save->isEnabled());

    ClickCheckBox(*window, kLayers, 1);
    ASSERT_FALSE(Compute(*window)->isEnabled());
    EXPECT_TRUE(save->isEnabled());
    window->hide();
    window->show();
    EXPECT_TRUE(save->isEnabled());
    EXPECT_EQ(High(*window)->text(), QStringLiteral("3.00"));
    EXPECT_EQ(Low(*window)->text(), QStringLiteral("0.25"));
}

// The levels go into the data file: "Графики" with new ones leaves changes to save, so
// the close question does not let them go unasked.
TEST_F(RatingWindowTest, NewLevelsAreChangesToSave)
{
    LoadExample();
    auto window = Open();
    CheckRows(*window, 0, 0, 0);
    ASSERT_TRUE(document.IsSaved());
    Compute(*window)->click();
    EXPECT_TRUE(document.IsSaved()) << "the stored levels again: nothing new";
    Retype(High(*window), "3");
    Compute(*window)->click();
    EXPECT_FALSE(document.IsSaved());
    EXPECT_EQ(store.HighLevel, 3.0f);
}

TEST_F(RatingWindowTest, SaveWritesTheAssessmentWithTheLevelsAndMarksItSaved)
{
    LoadExample();
    document.MarkModified();
    auto window = Open();
    CheckRows(*window, 0, 0, 0);
    Retype(High(*window), "4.5");
    Retype(Low(*window), "0.75");
    Compute(*window)->click();

    const QString path = TempPath("оценка.sav");
    dialogs.FileAnswers.push_back(path);
    QTest::mouseClick(Button(*window, "SaveButton"), Qt::LeftButton);

    ASSERT_EQ(dialogs.FileRequests.size(), 1u);
    EXPECT_TRUE(dialogs.FileRequests[0].Save);
    EXPECT_EQ(dialogs.FileRequests[0].Options,
        (FileDialogOptions { QStringLiteral("Файлы данных Vardun 2.2 (*.sav)|*.sav"), QStringLiteral("sav") }));
    EXPECT_TRUE(dialogs.Messages.empty());
    EXPECT_TRUE(document.IsSaved());

    CData reloaded;
    RefuseMessages sink;
    ASSERT_TRUE(reloaded.LoadFromFile(path.toStdString(), sink));
    EXPECT_EQ(reloaded.HighLevel, 4.5f);
    EXPECT_EQ(reloaded.LowLevel, 0.75f);
    EXPECT_EQ(reloaded.LayerIndices, store.LayerIndices);
    EXPECT_TRUE(SameBits(reloaded.EF, store.EF));
}

TEST_F(RatingWindowTest, AFailedOrCancelledSaveLeavesTheAssessmentUnsaved)
{
    LoadExample();
    document.MarkModified();
    auto window = Open();
    CheckRows(*window, 0, 0, 0);
    Compute(*window)->click();

    dialogs.FileAnswers.push_back(std::nullopt);
    QTest::mouseClick(Button(*window, "SaveButton"), Qt::LeftButton);
    EXPECT_EQ(dialogs.FileRequests.size(), 1u);
    EXPECT_TRUE(dialogs.Messages.empty());
    EXPECT_FALSE(document.IsSaved());

    const QString path = TempPath("нет такой папки/оценка.sav");
    dialogs.FileAnswers.push_back(path);
    QTest::mouseClick(Button(*window, "SaveButton"), Qt::LeftButton);
    EXPECT_EQ(dialogs.Messages, std::vector<std::string> { "Не удалось сохранить файл " + path.toStdString() + "." });
    EXPECT_FALSE(document.IsSaved());
}

TEST_F(RatingWindowTest, BackFinishEnterEscAndTheFrameLeaveTheWindow)
{
    auto window = Open();
    QTest::mouseClick(Button(*window, "BackButton"), Qt::LeftButton);
    EXPECT_EQ(navigation.Count("back"), 1);
    QTest::mouseClick(Button(*window, "FinishButton"), Qt::LeftButton);
    EXPECT_EQ(navigation.Count("finish"), 1);
    // Enter and Esc typed into a level edit or a list reach the window: Finish is both its
    // default and its cancel button.
    const std::pair<QWidget*, Qt::Key> keys[] = {
        { High(*window), Qt::Key_Return },
        { Low(*window), Qt::Key_Escape },
        { List(*window, kLayers), Qt::Key_Enter },
        { List(*window, kThreats), Qt::Key_Escape },
    };
    for (const auto& [control, key] : keys) {
        control->setFocus();
        const int before = navigation.Count("finish");
        QTest::keyClick(control, key);
        EXPECT_EQ(navigation.Count("finish"), before + 1) << control->objectName().toStdString();
    }
    EXPECT_EQ(navigation.Count("back"), 1);

    window->close();
    EXPECT_EQ(navigation.Count("closed"), 1);
    EXPECT_FALSE(window->isVisible());
}

// The charts are drawn at every repaint while the choice is complete, before "Графики"
// as well, and not at all once it is incomplete.
TEST_F(RatingWindowTest, TheChartsAreDrawnOnlyWhileTheChartsButtonIsEnabled)
{
    LoadExample();
    auto window = Open();
    EXPECT_EQ(CurrentLevelPixels(ClientShot(*window)), 0);
    CheckRows(*window, 1, 2, 3);
    ASSERT_TRUE(Compute(*window)->isEnabled());
    EXPECT_GT(CurrentLevelPixels(ClientShot(*window)), 100);

    Low(*window)->clear();
    EXPECT_EQ(CurrentLevelPixels(ClientShot(*window)), 0);
}

void ExpectValueLabels(TRatingForm& window, const char* minimum, const char* first, const char* second,
    const char* current, QPoint currentInitial, const RatingChartLabels& expected)
{
    auto* minimumLabel = window.findChild<QLabel*>(QString::fromLatin1(minimum));
    EXPECT_EQ(minimumLabel->text().toStdString(), expected.Axis.Minimum) << minimum;
    const char* ticks[] = { first, second };
    for (std::size_t u = 0; u < 2; ++u) {
        auto* label = window.findChild<QLabel*>(QString::fromLatin1(ticks[u]));
        const ChartLabel& tick = expected.Axis.Ticks[u];
        EXPECT_EQ(!label->isHidden(), tick.Visible) << ticks[u];
        if (tick.Visible) {
            EXPECT_EQ(label->text().toStdString(), tick.Caption) << ticks[u];
            EXPECT_EQ(label->y(), tick.Top) << ticks[u];
        }
    }
    auto* currentLabel = window.findChild<QLabel*>(QString::fromLatin1(current));
    if (expected.Current) {
        EXPECT_EQ(currentLabel->text().toStdString(), expected.Current->Caption) << current;
        EXPECT_EQ(currentLabel->y(), expected.Current->Top) << current;
    } else {
        EXPECT_EQ(currentLabel->text().toStdString(), current);
        EXPECT_EQ(currentLabel->y(), currentInitial.y());
    }
    EXPECT_EQ(currentLabel->x(), currentInitial.x()) << current;
}

// The charts follow the lists' current items (not their marks) and the levels as typed,
// and the labels show what the drawing placed.
TEST_F(RatingWindowTest, ValueLabelsShowWhatTheChartsPlacedForTheCurrentItems)
{
    LoadExample();
    auto window = Open();
    CheckRows(*window, 1, 5, 3);
    const std::vector<int> lefts = { Label(*window, "MM1")->x(), Label(*window, "MM2")->x(), Label(*window, "EE1")->x(),
        Label(*window, "EE2")->x() };
    ClientShot(*window);

    RecordingCanvas canvas;
    RatingChartsLabels expected = DrawRatingCharts(canvas, store, { 1, 5, 3 }, 2.0f, 0.5f);
    ASSERT_TRUE(expected.Rm.Current && expected.Re.Current);
    ExpectValueLabels(*window, "MM0Label", "MM1", "MM2", "MMlb", { 37, 368 }, expected.Rm);
    ExpectValueLabels(*window, "EE0Label", "EE1", "EE2", "EElb", { 352, 368 }, expected.Re);

    // Another current layer, the mark unmoved; another high level typed.
    ClickText(*window, kLayers, 2);
    ASSERT_EQ(CheckedRows(*window, kLayers), std::vector<int> { 1 });
    Retype(High(*window), "1.5");
    ClientShot(*window);
    expected = DrawRatingCharts(canvas, store, { 2, 5, 3 }, 1.5f, 0.5f);
    ExpectValueLabels(*window, "MM0Label", "MM1", "MM2", "MMlb", { 37, 368 }, expected.Rm);
    ExpectValueLabels(*window, "EE0Label", "EE1", "EE2", "EElb", { 352, 368 }, expected.Re);
    EXPECT_EQ(lefts,
        (std::vector<int> { Label(*window, "MM1")->x(), Label(*window, "MM2")->x(), Label(*window, "EE1")->x(),
            Label(*window, "EE2")->x() }));
}

TEST_F(RatingWindowTest, SingleItemAssessmentLabels)
{
    LoadSingleItem();
    auto window = Open();
    CheckRows(*window, 0, 0, 0);
    ClientShot(*window);
    struct Expected {
        const char* name;
        const char* caption;
        QPoint at;
        bool shown;
    };
    // The second mark lies 6 pixels above the first: its number would cover the first's
    // and is left out.
    const Expected labels[] = {
        { "MM0Label", "0.00", { 8, 404 }, true },
        { "MM1", "0.50", { 5, 391 }, true },
        { "MM2", "1.00", { 5, 385 }, false },
        { "MMlb", "0.50", { 37, 383 }, true },
        { "EE0Label", "0.00", { 337, 404 }, true },
        { "EE1", "0.50", { 320, 391 }, true },
        { "EE2", "1.00", { 320, 385 }, false },
        { "EElb", "0.50", { 352, 383 }, true },
    };
    for (const Expected& e : labels) {
        QLabel* label = Label(*window, e.name);
        EXPECT_EQ(label->text().toStdString(), e.caption) << e.name;
        EXPECT_EQ(label->pos(), e.at) << e.name;
        EXPECT_EQ(label->isVisible(), e.shown) << e.name;
    }
}

// A mark's number never lands on another control: at the top of a tall curve it would
// fall onto the lists of the panel ("15.00" over a list's caption).
TEST_F(RatingWindowTest, AScaleNumberThatWouldCoverTheListsIsNotShown)
{
    store = RandomAssessment(15, 7);
    ComputeAllModes(store);
    store.HighLevel = 2.0f;
    store.LowLevel = 0.5f;
    auto window = Open();
    CheckRows(*window, 14, 0, 7);
    ClientShot(*window);
    const QRect panel = Find<QWidget>(*window, "Panel")->geometry();
    int placedOverThePanel = 0;
    for (const char* name : { "MM1", "MM2", "EE1", "EE2", "MMlb", "EElb" }) {
        QLabel* label = Label(*window, name);
        SCOPED_TRACE(name);
        if (label->geometry().intersects(panel)) {
            ++placedOverThePanel;
            EXPECT_TRUE(label->isHidden());
        }
    }
    // The case this assessment was chosen for: a mark at 15.00 above both charts.
    EXPECT_GT(placedOverThePanel, 0);
    for (QLabel* label : window->centralWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        for (QLabel* other : window->centralWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            if (label != other && label->isVisible() && other->isVisible())
                EXPECT_FALSE(label->geometry().intersects(other->geometry()))
                    << label->objectName().toStdString() << " " << other->objectName().toStdString();
}

// All samples equal: no scale, so the ticks have no place and their labels go; with no
// circle at the current frequency its label shows nothing.
TEST_F(RatingWindowTest, ChartsWithoutAScaleHideTheTickLabels)
{
    LoadSingleItem();
    store.DamageEM = MakeMatrix({ { 0.0f } });
    auto window = Open();
    CheckRows(*window, 0, 0, 0);
    ClientShot(*window);
    EXPECT_EQ(Label(*window, "MM0Label")->text(), QStringLiteral("0.00"));
    for (const char* name : { "MM1", "MM2", "EE1", "EE2" })
        EXPECT_TRUE(Label(*window, name)->isHidden()) << name;
    EXPECT_TRUE(Label(*window, "MMlb")->isHidden());

    // A scale again (the walk back through the modes changes the store while the window
    // is hidden): the labels come back when it is shown again.
    store.DamageEM = MakeMatrix({ { 4.0f } });
    window->hide();
    window->show();
    ClientShot(*window);
    // The lower mark's number; the upper one lies too close above it.
    for (const char* name : { "MM1", "EE1" })
        EXPECT_TRUE(Label(*window, name)->isVisible()) << name;
    for (const char* name : { "MM2", "EE2" })
        EXPECT_TRUE(Label(*window, name)->isHidden()) << name;
}

TEST_F(RatingWindowTest, TheLegendShowsTheCurvesColoursAndTheMarker)
{
    auto window = Open();
    const QImage shot = ClientShot(*window);
    const std::pair<QPoint, Rgb> swatches[] = {
        { { 52, 422 }, kHighLevelColour },
        { { 196, 422 }, kCurrentLevelColour },
        { { 340, 422 }, kLowLevelColour },
    };
    for (const auto& [at, colour] : swatches) {
        for (const QPoint corner : { at, at + QPoint(9, 9) })
            EXPECT_EQ(shot.pixel(corner), qRgb(colour.Red, colour.Green, colour.Blue)) << at.x();
        EXPECT_NE(shot.pixel(at + QPoint(10, 10)), qRgb(colour.Red, colour.Green, colour.Blue)) << at.x();
    }

    // A 13 x 14 picture at the top-left of its 14 x 16 box: white corners, a black ring,
    // the window behind the rest of the box.
    const QPoint box(480, 416);
    EXPECT_EQ(shot.pixel(box), qRgb(255, 255, 255));
    EXPECT_EQ(shot.pixel(box + QPoint(12, 13)), qRgb(255, 255, 255));
    EXPECT_EQ(shot.pixel(box + QPoint(6, 7)), qRgb(255, 255, 255));
    EXPECT_EQ(shot.pixel(box + QPoint(0, 7)), qRgb(0, 0, 0));
    EXPECT_EQ(shot.pixel(box + QPoint(6, 0)), qRgb(0, 0, 0));
    const QRgb background = window->palette().color(QPalette::Window).rgb();
    EXPECT_EQ(shot.pixel(box + QPoint(13, 5)), background);
    EXPECT_EQ(shot.pixel(box + QPoint(5, 15)), background);
}

// What a screen reader announces: the window with its caption, each list and edit by the
// label above or beside it, each button by its caption, each legend picture by its meaning.
TEST_F(RatingWindowTest, AssistiveTechnologyFindsEveryControlByName)
{
    LoadExample();
    auto window = Open();
    QAccessibleInterface* frame = QAccessible::queryAccessibleInterface(window.get());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->role(), QAccessible::Window);
    EXPECT_EQ(frame->text(QAccessible::Name), QStringLiteral("Без имени — Vardun 2.2"));

    struct Named {
        const char* control;
        QAccessible::Role role;
        const char* name;
    };
    const Named controls[] = {
        { "LayersList", QAccessible::List, "Анализируеммые эшелоны" },
        { "MechanismsList", QAccessible::List, "Анализируеммые механизмы" },
        { "ThreatsList", QAccessible::List, "Анализируеммые угрозы" },
        { "Edit4", QAccessible::EditableText, "Текущий уровень потенциального ущеба" },
        { "HighLevelEdit", QAccessible::EditableText, "Высокий уровень потенциального ущеба" },
        { "LowLevelEdit", QAccessible::EditableText, "Низкий уровень потенциального ущеба" },
        { "ComputeButton", QAccessible::Button, "Графики" },
        { "BackButton", QAccessible::Button, "Назад ..." },
        { "SaveButton", QAccessible::Button, "Сохранить данные..." },
        { "FinishButton", QAccessible::Button, "Завершить ..." },
        { "Image3", QAccessible::Graphic, "Высокий уровень" },
        { "Image1", QAccessible::Graphic, "Текущий уровень" },
        { "Image2", QAccessible::Graphic, "Низкий уровень" },
        { "Image4", QAccessible::Graphic, "Текущий ЧАУ" },
    };
    for (const Named& c : controls) {
        QAccessibleInterface* control = QAccessible::queryAccessibleInterface(Find<QWidget>(*window, c.control));
        ASSERT_NE(control, nullptr) << c.control;
        EXPECT_EQ(control->role(), c.role) << c.control;
        EXPECT_EQ(control->text(QAccessible::Name).toStdString(), c.name) << c.control;
    }
    // The labels read as the list's and edits' names are also their buddies.
    EXPECT_EQ(Label(*window, "Label1")->buddy(), List(*window, kLayers));
    EXPECT_EQ(Label(*window, "Label4")->buddy(), High(*window));
}

// A repaint can come while a message about a level waits (a real box runs its own event
// loop): it draws nothing from the refused text, and the window goes on as before.
class RepaintingDialogs : public ScriptedDialogs {
public:
    QMainWindow* Window = nullptr;
    std::vector<int> CurvePixelsWhileShown;

    void ShowMessage(const std::string& text) override
    {
        ScriptedDialogs::ShowMessage(text);
        if (Window)
            CurvePixelsWhileShown.push_back(CurrentLevelPixels(ClientShot(*Window)));
    }
};

TEST_F(RatingWindowTest, ARepaintWhileALevelMessageWaitsDrawsNothingFromTheRefusedText)
{
    LoadExample();
    RepaintingDialogs repainting;
    auto window = Open(repainting);
    repainting.Window = window.get();
    CheckRows(*window, 1, 2, 3);
    ASSERT_TRUE(Compute(*window)->isEnabled());

    QLineEdit* high = High(*window);
    high->end(false);
    QTest::keyClicks(high, QStringLiteral(".")); // "2.00." is no number
    EXPECT_TRUE(high->text().isEmpty());
    EXPECT_FALSE(Compute(*window)->isEnabled());

    high->setText(QStringLiteral("2"));
    ASSERT_TRUE(Compute(*window)->isEnabled());
    QLineEdit* low = Low(*window);
    low->selectAll();
    QTest::keyClicks(low, QStringLiteral("7"));
    EXPECT_TRUE(low->text().isEmpty());
    EXPECT_FALSE(Compute(*window)->isEnabled());

    EXPECT_EQ(repainting.Messages, (std::vector<std::string> { kNotANumberMessage, kLowRangeMessage }));
    EXPECT_EQ(repainting.CurvePixelsWhileShown, (std::vector<int> { 0, 0 }));
    // Complete again, the charts are back.
    low->setText(QStringLiteral("0.5"));
    EXPECT_GT(CurrentLevelPixels(ClientShot(*window)), 100);
}

// The program's own message box, shown from inside the edit's handling of the keystroke:
// closing it leaves the edit emptied and ready for typing.
TEST_F(RatingWindowTest, TheRealMessageBoxFromAKeystrokeLeavesTheEditWorking)
{
    LoadExample();
    QtDialogs real;
    auto window = Open(real);
    CheckRows(*window, 0, 0, 0);
    QLineEdit* high = High(*window);
    high->setFocus();

    std::vector<std::string> shown;
    QTimer closer;
    closer.setInterval(5);
    QObject::connect(&closer, &QTimer::timeout, [&shown] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown.push_back(box->text().toStdString());
            box->button(QMessageBox::Ok)->click();
        }
    });
    closer.start();
    high->selectAll();
    QTest::keyClicks(high, QStringLiteral("9"));
    QTest::keyClicks(high, QStringLiteral("3"));
    closer.stop();

    EXPECT_EQ(shown, std::vector<std::string> { kHighRangeMessage });
    EXPECT_EQ(high->text(), QStringLiteral("3"));
    EXPECT_TRUE(Compute(*window)->isEnabled());
    EXPECT_TRUE(window->isVisible());
}

} // namespace
