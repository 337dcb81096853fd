#include "ui/windows/About.h"

#include "ui/widgets/Controls.h"
#include "ui/widgets/Texts.h"
#include "ui/widgets/WindowFont.h"

#include <QLabel>
#include <QPushButton>

namespace {

constexpr QSize kClientSize { 320, 168 };
constexpr QRect kProgramLabel { 16, 12, 288, 26 };
constexpr int kProgramFontPixels = 18;
// The credit lines, one under the other from the top of the first.
constexpr QRect kFirstCredit { 16, 46, 288, 16 };
constexpr int kCreditStep = 17;
const char* const kCredits[] = {
    QT_TRANSLATE_NOOP("TAboutForm", "Оценка защищённости информационной системы:"),
    QT_TRANSLATE_NOOP("TAboutForm", "эшелоны защиты, угрозы и механизмы защиты."),
    QT_TRANSLATE_NOOP("TAboutForm", "Версия для Linux на Qt 6."),
    QT_TRANSLATE_NOOP("TAboutForm", "Разработчики проекта Vardun."),
};
const ButtonPlace kOkButton { "OKButton", QT_TRANSLATE_NOOP("TAboutForm", "&OK"), { 122, 130, 75, 25 } };

} // namespace

TAboutForm::TAboutForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(tr("О программе %1").arg(ProgramTitle()));
    setFont(WindowFont());
    setFixedSize(kClientSize);

    auto* programLabel = new QLabel(ProgramTitle(), this);
    programLabel->setObjectName(QStringLiteral("ProgramLabel"));
    QFont programFont = WindowFont();
    programFont.setPixelSize(kProgramFontPixels);
    programFont.setBold(true);
    programLabel->setFont(programFont);
    programLabel->setGeometry(kProgramLabel);

    QRect place = kFirstCredit;
    for (const char* line : kCredits) {
        auto* label = new QLabel(tr(line), this);
        label->setGeometry(place);
        place.translate(0, kCreditStep);
    }

    auto* okButton = new QPushButton(tr(kOkButton.Caption), this);
    okButton->setObjectName(QString::fromLatin1(kOkButton.Name));
    okButton->setGeometry(kOkButton.At);
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);

    // The user guide, on the line under the credits; made after OK, so that OK keeps the
    // focus and Enter.
    auto* guideLink
        = new QLabel(QStringLiteral("<a href=\"#guide\">%1</a>").arg(tr("Руководство пользователя (F1)")), this);
    guideLink->setObjectName(QStringLiteral("GuideLink"));
    guideLink->setAccessibleName(tr("Руководство пользователя"));
    guideLink->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    guideLink->setGeometry(place);
    connect(guideLink, &QLabel::linkActivated, this, &TAboutForm::guideRequested);
}
