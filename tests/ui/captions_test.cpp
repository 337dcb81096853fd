// Every caption of the fixed-size windows fits its control in the windows' font, so none is
// clipped whatever font the desktop itself uses.
#include "ui/About.h"
#include "ui/ChangeItem.h"
#include "ui/Navigation.h"
#include "ui/WindowFont.h"

#include "MainWindowFixture.h"

#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>

namespace {

QString Shown(QString text)
{
    return text.remove(QLatin1Char('&'));
}

void ExpectCaptionsFit(QWidget& window)
{
    const auto buttons = window.findChildren<QPushButton*>();
    ASSERT_FALSE(buttons.isEmpty());
    for (QPushButton* button : buttons) {
        QStyleOptionButton option;
        option.initFrom(button);
        if (button->isDefault())
            option.features |= QStyleOptionButton::DefaultButton;
        if (button->autoDefault())
            option.features |= QStyleOptionButton::AutoDefaultButton;
        const QRect contents = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        const QFontMetrics metrics = button->fontMetrics();
        EXPECT_LE(metrics.horizontalAdvance(Shown(button->text())), contents.width()) << button->text().toStdString();
        EXPECT_LE(metrics.height(), contents.height()) << button->text().toStdString();
        EXPECT_FALSE(button->font().bold()) << button->text().toStdString();
    }
    for (QLabel* label : window.findChildren<QLabel*>()) {
        const QFontMetrics metrics = label->fontMetrics();
        EXPECT_LE(metrics.horizontalAdvance(label->text()), label->width()) << label->text().toStdString();
        EXPECT_LE(metrics.height(), label->height()) << label->text().toStdString();
    }
}

struct NoNavigation : IWizardNavigation {
    void ShowAbout() override { }
    void ShowAnalysis(bool) override { }
    void GraphNext(int) override { }
    void GraphBack(int) override { }
    void MMEENext() override { }
    void MMEEBack() override { }
    void RatingBack() override { }
    void RatingFinish() override { }
    void WizardWindowClosed() override { }
};

class Captions : public MainWindowFixture { };

TEST_F(Captions, TheWindowFontIsInstalled)
{
    // Without it a substitute font decides the widths, and the checks below say little.
    EXPECT_EQ(QFontInfo(WindowFont()).family(), QStringLiteral("Liberation Sans"))
        << "install fonts-liberation2 (bash scripts/deps.sh desktop)";
}

TEST_F(Captions, FitTheMainWindowsButtonsAndGroupBoxes)
{
    NoNavigation navigation;
    auto window = OpenMainWindow(navigation);
    ExpectCaptionsFit(*window);

    // A group box caption runs along the top edge, where the list begins: it has to end
    // before the list does, or the list hides its tail.
    for (QGroupBox* group : window->findChildren<QGroupBox*>()) {
        QStyleOptionGroupBox option;
        option.initFrom(group);
        option.text = group->title();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        const QRect label
            = group->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, group);
        const auto* list = group->findChild<QListWidget*>();
        ASSERT_NE(list, nullptr);
        const int textWidth = QFontMetrics(group->font()).horizontalAdvance(group->title());
        EXPECT_LE(label.left() + textWidth, list->x()) << group->title().toStdString();
        EXPECT_TRUE(group->font().bold());
    }
}

TEST_F(Captions, FitTheNameDialogAndTheAboutBox)
{
    TEditForm nameDialog;
    ExpectCaptionsFit(nameDialog);
    TAboutForm about;
    ExpectCaptionsFit(about);
}

} // namespace
