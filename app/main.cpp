// Start-up: the command line, the document (the store), then the application object, the
// dialogs and the program's windows; the loop ends when the main window closes.
#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/Program.h"
#include "app/StartupDictionary.h"
#include "ui/dialogs/QtDialogs.h"
#include "ui/document/Document.h"
#include "ui/widgets/WindowFont.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <exception>
#include <iostream>
#include <string>
#include <vector>

namespace {

// After the program's name; Qt's own options already taken out. As UTF-8, the form in
// which the program hands every path to its files (Qt read them from the system's wide
// command line on Windows, so a Cyrillic file name arrives whole).
std::vector<std::string> Arguments(const QStringList& arguments)
{
    std::vector<std::string> args;
    for (qsizetype i = 1; i < arguments.size(); ++i)
        args.push_back(arguments[i].toStdString());
    return args;
}

} // namespace

int main(int argc, char** argv)
{
    // Answered before the application object, so that they need no display.
    const CommandLine early = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (early.What == CommandLine::Action::Help || early.What == CommandLine::Action::Version) {
        std::cout << (early.What == CommandLine::Action::Help ? kProgramUsage : kProgramVersion);
        return 0;
    }

    // Exists before any window and outlives them all.
    AssessmentDocument document;

#ifdef Q_OS_WIN
    // Text drawn by FreeType as on Linux, so that captions measure alike in the windows'
    // fixed geometry; a platform the analyst names still wins.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "windows:fontengine=freetype");
#endif

    VardunApplication app(argc, argv);
    const CommandLine line = ParseCommandLine(Arguments(QApplication::arguments()));
    if (line.What == CommandLine::Action::Error) {
        std::cerr << "vardun: " << line.Error << '\n' << kProgramUsage;
        return 2;
    }
    // The windows have fixed pixel geometry: one style and font everywhere, whatever the
    // desktop's settings.
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setFont(WindowFont());
    // Qt's own dialogs (file dialogs, message box buttons) in the program's language.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    QtDialogs dialogs([&document] { return document.FilePath(); });
    app.SetMessages(&dialogs);
    Program program(document, dialogs);
    program.Start(StartupFiles { line.DataFile, StartupDictionaryFolders() });
    try {
        return app.exec();
    } catch (const std::exception& error) {
        app.ReportException(error.what());
    } catch (...) {
        app.ReportException(nullptr);
    }
    return 1;
}
