// The chart comments window: which names it lists along which axis for each mode, its
// legend, and how it opens and closes.
#include "ui/windows/Comment.h"

#include "model/Data.h"
#include "ui/charts/GraphChart.h"

#include <QAccessible>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Layers A, B and C of which A and C are analysed; of the mechanisms only M1.
CData TwoLayersOneMechanism()
{
    CData store;
    store.LayerNames = { "A", "B", "C" };
    store.LayerIndices = { "0", "2" };
    store.LayerCount = 2;
    store.ThreatNames = { "Вирус" };
    store.ThreatIndices = { "0" };
    store.ThreatCount = 1;
    store.MechanismNames = { "Межсетевой экран", "M1" };
    store.MechanismIndices = { "1" };
    store.MechanismCount = 1;
    return store;
}

struct Form {
    explicit Form(const CData& store)
        : window(store)
    {
        xMemo = window.findChild<QPlainTextEdit*>(QStringLiteral("XMemo"));
        yMemo = window.findChild<QPlainTextEdit*>(QStringLiteral("YMemo"));
        close = window.findChild<QPushButton*>(QStringLiteral("CloseButton"));
    }
    TCommentForm window;
    QPlainTextEdit* xMemo;
    QPlainTextEdit* yMemo;
    QPushButton* close;
};

TEST(Comment, ListsTheItemsAlongEachAxisOfTheModesChart)
{
    const QString layers = QStringLiteral("1 - A\n2 - C");
    const QString mechanisms = QStringLiteral("1 - M1");
    struct Case {
        AnalysisMode mode;
        QString x;
        QString y;
    };
    // Mode 1's result runs mechanisms down and layers across; the others the other way.
    const Case cases[] = {
        { AnalysisMode::Reliability, layers, mechanisms },
        { AnalysisMode::Damage, mechanisms, layers },
        { AnalysisMode::Frequency, mechanisms, layers },
        { AnalysisMode::WeightedDamage, mechanisms, layers },
    };
    const CData store = TwoLayersOneMechanism();
    for (const Case& c : cases) {
        Form form(store);
        ASSERT_NE(form.xMemo, nullptr);
        ASSERT_NE(form.yMemo, nullptr);
        form.window.ShowComments(c.mode);
        EXPECT_EQ(form.xMemo->toPlainText(), c.x) << ModeNumber(c.mode);
        EXPECT_EQ(form.yMemo->toPlainText(), c.y) << ModeNumber(c.mode);
        EXPECT_TRUE(form.window.isVisible());
        EXPECT_FALSE(form.window.isModal());
    }
}

TEST(Comment, ShowingForAnotherModeLeavesNothingOfTheFirstFilling)
{
    const CData store = TwoLayersOneMechanism();
    Form form(store);
    form.window.ShowComments(AnalysisMode::Reliability);
    form.window.ShowComments(AnalysisMode::Damage);
    EXPECT_EQ(form.xMemo->toPlainText(), QStringLiteral("1 - M1"));
    EXPECT_EQ(form.yMemo->toPlainText(), QStringLiteral("1 - A\n2 - C"));
    form.window.ShowComments(AnalysisMode::Reliability);
    EXPECT_EQ(form.xMemo->toPlainText(), QStringLiteral("1 - A\n2 - C"));
    EXPECT_EQ(form.yMemo->toPlainText(), QStringLiteral("1 - M1"));
}

TEST(Comment, ReadsTheStoreAsItIsWhenShown)
{
    CData store = TwoLayersOneMechanism();
    Form form(store);
    form.window.ShowComments(AnalysisMode::Frequency);

    // Twelve analysed layers with Russian names: numbers past 9 and UTF-8 text.
    store.LayerNames.clear();
    store.LayerIndices.clear();
    QStringList expected;
    for (int k = 0; k < 12; ++k) {
        const std::string number = std::to_string(k + 1);
        store.LayerNames.push_back("Эшелон №" + number);
        store.LayerIndices.push_back(std::to_string(k));
        expected.append(
            QString::fromStdString(number) + QStringLiteral(" - Эшелон №") + QString::fromStdString(number));
    }
    store.LayerCount = 12;
    store.MechanismIndices.clear();
    store.MechanismCount = 0;

    form.window.ShowComments(AnalysisMode::Frequency);
    EXPECT_EQ(form.yMemo->toPlainText(), expected.join(QLatin1Char('\n')));
    EXPECT_TRUE(form.xMemo->toPlainText().isEmpty());
}

TEST(Comment, ALongNameStaysOneLineReachedByScrolling)
{
    CData store = TwoLayersOneMechanism();
    const std::string longName(250, 'W');
    store.LayerNames[2] = longName;
    Form form(store);
    form.window.ShowComments(AnalysisMode::Reliability);
    QCoreApplication::processEvents();

    EXPECT_EQ(form.xMemo->toPlainText(), QStringLiteral("1 - A\n2 - ") + QString::fromStdString(longName));
    EXPECT_EQ(form.xMemo->lineWrapMode(), QPlainTextEdit::NoWrap);
    // Two lines of text, and each on one line of the screen.
    const QTextDocument* document = form.xMemo->document();
    ASSERT_EQ(document->blockCount(), 2);
    EXPECT_EQ(document->lastBlock().layout()->lineCount(), 1);
    EXPECT_GT(form.xMemo->horizontalScrollBar()->maximum(), 0);
}

TEST(Comment, WindowGeometryAndControls)
{
    const CData store = TwoLayersOneMechanism();
    Form form(store);
    TCommentForm& window = form.window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Комментарии к графику"));
    EXPECT_EQ(window.size(), QSize(358, 283));
    EXPECT_EQ(window.pos(), QPoint(279, 111));
    EXPECT_NE(window.minimumSize(), window.maximumSize());
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));

    struct Place {
        const char* name;
        QRect geometry; // labels: only the top-left corner counts
        bool label;
    };
    const Place places[] = {
        { "Label1", { 0, 8, 0, 0 }, true },
        { "XMemo", { 0, 24, 358, 97 }, false },
        { "Label2", { 0, 120, 0, 0 }, true },
        { "YMemo", { 0, 136, 358, 89 }, false },
        { "Image1", { 20, 230, 10, 10 }, false },
        { "Label45", { 40, 227, 0, 0 }, true },
        { "Image2", { 20, 246, 10, 10 }, false },
        { "Label46", { 40, 243, 0, 0 }, true },
        { "Image3", { 20, 262, 10, 10 }, false },
        { "Label47", { 40, 259, 0, 0 }, true },
        { "CloseButton", { 224, 240, 75, 25 }, false },
    };
    const auto check = [&](const char* when) {
        for (const Place& p : places) {
            const auto* control = window.findChild<QWidget*>(QString::fromLatin1(p.name));
            ASSERT_NE(control, nullptr) << p.name;
            if (p.label)
                EXPECT_EQ(control->pos(), p.geometry.topLeft()) << p.name << " " << when;
            else
                EXPECT_EQ(control->geometry(), p.geometry) << p.name << " " << when;
        }
    };
    check("as built");
    window.show();
    window.resize(500, 400);
    QCoreApplication::processEvents();
    check("after growing");
    window.resize(200, 150);
    QCoreApplication::processEvents();
    check("after shrinking");

    const std::pair<const char*, const char*> texts[] = {
        { "Label1", "По оси X" },
        { "Label2", "По оси Y" },
        { "Label45", "-- Малая величина" },
        { "Label46", "-- Средняя величина" },
        { "Label47", "-- Большая величина" },
    };
    for (const auto& [name, text] : texts)
        EXPECT_EQ(window.findChild<QLabel*>(QString::fromLatin1(name))->text(), QString::fromUtf8(text)) << name;
    EXPECT_EQ(form.close->text(), QStringLiteral("Закрыть"));

    for (QPlainTextEdit* memo : { form.xMemo, form.yMemo }) {
        EXPECT_TRUE(memo->isReadOnly());
        EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        EXPECT_EQ(memo->palette().color(QPalette::Base), window.palette().color(QPalette::Light));
    }
}

TEST(Comment, TheLegendShowsTheChartsBandColours)
{
    const CData store = TwoLayersOneMechanism();
    Form form(store);
    const std::pair<const char*, Rgb> swatches[] = {
        { "Image1", kSmallBandColour },
        { "Image2", kMediumBandColour },
        { "Image3", kLargeBandColour },
    };
    for (const auto& [name, colour] : swatches) {
        auto* swatch = form.window.findChild<QLabel*>(QString::fromLatin1(name));
        ASSERT_NE(swatch, nullptr) << name;
        const QImage image = swatch->grab().toImage();
        ASSERT_EQ(image.size(), QSize(10, 10)) << name;
        const QColor expected(colour.Red, colour.Green, colour.Blue);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x)
                ASSERT_EQ(image.pixelColor(x, y), expected) << name << " at " << x << ", " << y;
    }
}

TEST(Comment, TabGoesFromTheXListToTheYListToTheButton)
{
    const CData store = TwoLayersOneMechanism();
    Form form(store);
    std::vector<QWidget*> order;
    QWidget* widget = &form.window;
    do {
        widget = widget->nextInFocusChain();
        if ((widget->focusPolicy() & Qt::TabFocus) && widget->isEnabled())
            order.push_back(widget);
    } while (widget != &form.window);
    EXPECT_EQ(order, (std::vector<QWidget*> { form.xMemo, form.yMemo, form.close }));
}

TEST(Comment, EnterEscapeAndTheButtonHideTheWindow)
{
    const CData store = TwoLayersOneMechanism();
    enum How { Enter, Escape, Button };
    for (How how : { Enter, Escape, Button }) {
        Form form(store);
        form.window.ShowComments(AnalysisMode::Reliability);
        ASSERT_TRUE(form.window.isVisible());
        switch (how) {
        case Enter:
            QTest::keyClick(form.xMemo, Qt::Key_Return);
            break;
        case Escape:
            QTest::keyClick(form.yMemo, Qt::Key_Escape);
            break;
        case Button:
            QTest::mouseClick(form.close, Qt::LeftButton);
            break;
        }
        EXPECT_FALSE(form.window.isVisible()) << how;
        // Enter went to the button, not into the read-only list.
        EXPECT_EQ(form.xMemo->toPlainText(), QStringLiteral("1 - A\n2 - C")) << how;
    }
}

TEST(Comment, AssistiveTechnologySeesAWindowAndNamedControls)
{
    const CData store = TwoLayersOneMechanism();
    Form form(store);
    form.window.ShowComments(AnalysisMode::Reliability);

    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&form.window);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->role(), QAccessible::Dialog);
    EXPECT_EQ(window->text(QAccessible::Name), QStringLiteral("Комментарии к графику"));

    struct Named {
        const char* objectName;
        const char* name;
    };
    const Named controls[] = {
        { "XMemo", "По оси X" },
        { "YMemo", "По оси Y" },
        { "Image1", "Малая величина" },
        { "Image2", "Средняя величина" },
        { "Image3", "Большая величина" },
        { "CloseButton", "Закрыть" },
    };
    for (const Named& c : controls) {
        auto* widget = form.window.findChild<QWidget*>(QString::fromLatin1(c.objectName));
        ASSERT_NE(widget, nullptr) << c.objectName;
        QAccessibleInterface* control = QAccessible::queryAccessibleInterface(widget);
        ASSERT_NE(control, nullptr) << c.objectName;
        EXPECT_EQ(control->text(QAccessible::Name), QString::fromUtf8(c.name)) << c.objectName;
    }
    QAccessibleInterface* xMemo = QAccessible::queryAccessibleInterface(form.xMemo);
    EXPECT_EQ(xMemo->role(), QAccessible::EditableText);
    EXPECT_TRUE(xMemo->state().readOnly);
    ASSERT_NE(xMemo->textInterface(), nullptr);
    EXPECT_EQ(
        xMemo->textInterface()->text(0, xMemo->textInterface()->characterCount()), QStringLiteral("1 - A\n2 - C"));
}

} // namespace
