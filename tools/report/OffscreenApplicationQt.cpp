#include "tools/report/OffscreenApplication.h"

#include "ui/widgets/Texts.h"
#include "ui/widgets/WindowFont.h"

#include <QApplication>

#include <cstdlib>

void EnsureOffscreenApplication()
{
    if (QApplication::instance())
        return;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // The images are the windows at 1:1, whatever scaling the environment asks for.
    unsetenv("QT_SCALE_FACTOR");
    static int argc = 1;
    static char name[] = "vardun-report";
    static char* argv[] = { name, nullptr };
    static QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setFont(WindowFont());
    InstallTextTranslator();
}
