// Start-up: the document (the store) first, then the application object, the dialogs and
// the program's windows; the loop ends when the main window closes.
#include "app/Application.h"
#include "app/Program.h"
#include "ui/dialogs/QtDialogs.h"
#include "ui/document/Document.h"
#include "ui/widgets/WindowFont.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <exception>

int main(int argc, char** argv)
{
    // Exists before any window and outlives them all.
    AssessmentDocument document;

    VardunApplication app(argc, argv);
    // The windows have fixed pixel geometry: one style and font everywhere, whatever the
    // desktop's settings.
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setFont(WindowFont());
    // Qt's own dialogs (file dialogs, message box buttons) in the program's language.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    QtDialogs dialogs;
    app.SetMessages(&dialogs);
    Program program(document, dialogs);
    program.Start();
    try {
        return app.exec();
    } catch (const std::exception& error) {
        app.ReportException(error.what());
    } catch (...) {
        app.ReportException(nullptr);
    }
    return 1;
}
