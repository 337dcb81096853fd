#include "ui/widgets/Texts.h"

#include "model/Texts.h"

#include <QCoreApplication>

QString ProgramTitle()
{
    return QCoreApplication::translate("Vardun", "Vardun 2.2");
}

void InstallTextTranslator()
{
    SetTextTranslator([](const char* context, const char* source) {
        return QCoreApplication::translate(context, source).toStdString();
    });
}
