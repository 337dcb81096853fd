// Start-up: the store first, then the application object, the main window (which reads
// "default.dic" from the working directory) and the about box; the loop ends when the main
// window closes.
#include "app/AnalysisWindowFactory.h"
#include "app/Application.h"
#include "app/WindowSequence.h"
#include "model/Data.h"
#include "ui/About.h"
#include "ui/MainWindow.h"
#include "ui/QtDialogs.h"
#include "ui/WindowFont.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <exception>

int main(int argc, char** argv)
{
    // Exists before any window and outlives them all.
    CData store;

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
    bool dataSaved = true;
    AnalysisWindowFactory factory(dialogs);
    WindowSequence sequence(store, factory);

    TMainForm mainForm(store, dialogs, dataSaved, sequence);
    TAboutForm aboutForm(&mainForm);
    sequence.SetMainWindow(&mainForm);
    sequence.SetAboutForm(&aboutForm);

    mainForm.show();
    try {
        return app.exec();
    } catch (const std::exception& error) {
        app.ReportException(error.what());
    } catch (...) {
        app.ReportException(nullptr);
    }
    return 1;
}
