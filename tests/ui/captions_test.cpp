// Every caption of the fixed-size windows fits its control in the windows' font, so none is
// clipped whatever font the desktop itself uses.
#include "ui/dialogs/ChangeItem.h"
#include "ui/widgets/Frames.h"
#include "ui/widgets/Navigation.h"
#include "ui/widgets/WindowFont.h"
#include "ui/windows/About.h"

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

class Captions : public MainWindowFixture { };

TEST_F(Captions, TheWindowFontIsInstalled)
{
    // Without it a substitute font decides the widths, and the checks below say little.
    EXPECT_EQ(QFontInfo(WindowFont()).family(), QStringLiteral("Liberation Sans"))
        << "install fonts-liberation2 (bash scripts/deps.sh desktop)";
}

TEST_F(Captions, FitTheMainWindowsButtonsAndGroupBoxes)
{
    StillNavigation navigation;
    auto window = OpenMainWindow(navigation);
    ExpectCaptionsFit(*window);

    // A group box caption runs along the top edge, where the list begins: the list must
    // not cover any of its letters, and the list must lie inside the frame, whose line
    // runs through the middle of the caption.
    for (FramedGroupBox* group : window->findChildren<FramedGroupBox*>()) {
        SCOPED_TRACE(group->title().toStdString());
        auto* list = group->findChild<QListWidget*>();
        ASSERT_NE(list, nullptr);
        EXPECT_TRUE(group->font().bold());
        EXPECT_EQ(group->font().pixelSize(), 13) << "ten points, larger than the body text";
        EXPECT_LT(group->FrameTop(), list->y());
        EXPECT_GE(group->FrameTop(), group->fontMetrics().height() / 2 - 1);

        list->hide();
        const QImage alone = group->grab().toImage();
        list->show();
        const QRect covered = list->geometry() & group->CaptionRect();
        int ink = 0;
        for (int y = covered.top(); y <= covered.bottom(); ++y)
            for (int x = covered.left(); x <= covered.right(); ++x)
                if (qGray(alone.pixel(x, y)) < 128)
                    ++ink;
        EXPECT_EQ(ink, 0) << "caption pixels under the list";
        // The caption is drawn at all: its own rectangle has ink.
        const QRect caption = group->CaptionRect();
        int captionInk = 0;
        for (int y = caption.top(); y <= caption.bottom(); ++y)
            for (int x = caption.left(); x <= caption.right(); ++x)
                if (qGray(alone.pixel(x, y)) < 128)
                    ++captionInk;
        EXPECT_GT(captionInk, 100);
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
