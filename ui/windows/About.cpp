#include "ui/windows/About.h"

#include "ui/widgets/WindowFont.h"

#include <QLabel>
#include <QPushButton>

TAboutForm::TAboutForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("О программе Vardun 2.2"));
    setFont(WindowFont());
    setFixedSize(320, 168);

    auto* programLabel = new QLabel(QStringLiteral("Vardun 2.2"), this);
    programLabel->setObjectName(QStringLiteral("ProgramLabel"));
    QFont programFont = WindowFont();
    programFont.setPixelSize(18);
    programFont.setBold(true);
    programLabel->setFont(programFont);
    programLabel->setGeometry(16, 12, 288, 26);

    const QString credits[] = {
        QStringLiteral("Оценка защищённости информационной системы:"),
        QStringLiteral("эшелоны защиты, угрозы и механизмы защиты."),
        QStringLiteral("Версия для Linux на Qt 6."),
        QStringLiteral("Разработчики проекта Vardun."),
    };
    int top = 46;
    for (const QString& line : credits) {
        auto* label = new QLabel(line, this);
        label->setGeometry(16, top, 288, 16);
        top += 17;
    }

    auto* okButton = new QPushButton(QStringLiteral("&OK"), this);
    okButton->setObjectName(QStringLiteral("OKButton"));
    okButton->setGeometry(122, 130, 75, 25);
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
}
