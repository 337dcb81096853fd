#include "tools/report/OffscreenApplication.h"

#include "ui/widgets/Texts.h"
#include "ui/widgets/WindowFont.h"

#include <QApplication>

#include <memory>

namespace {

std::unique_ptr<QApplication> application;

} // namespace

void EnsureOffscreenApplication()
{
    if (QApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The images are the windows at 1:1, whatever scaling the environment asks for.
    qunsetenv("QT_SCALE_FACTOR");
    static int argc = 1;
    static char name[] = "vardun-report";
    static char* argv[] = { name, nullptr };
    application = std::make_unique<QApplication>(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setFont(WindowFont());
    InstallTextTranslator();
}

OffscreenApplicationScope::~OffscreenApplicationScope()
{
    application.reset();
}
