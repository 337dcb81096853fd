#include "app/Application.h"

#include "model/Messages.h"
#include "ui/widgets/Texts.h"

#include <exception>
#include <string>

VardunApplication::VardunApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    // The settings (recent files, windows' places) in ~/.config/vardun beside default.dic.
    setOrganizationName(QStringLiteral("vardun"));
    setApplicationName(QStringLiteral("vardun"));
    InstallTextTranslator();
}

bool VardunApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ReportException(error.what());
    } catch (...) {
        ReportException(nullptr);
    }
    return false;
}

void VardunApplication::ReportException(const char* what) const
{
    const std::string text = what && *what ? std::string(what) : tr("Непредвиденная ошибка.").toStdString();
    if (messages_)
        messages_->ShowMessage(text);
}
