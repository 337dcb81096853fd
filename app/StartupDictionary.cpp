#include "app/StartupDictionary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QString>

namespace {

// Beside an installed program: <prefix>/bin/vardun and <prefix>/share/vardun. Paths are
// UTF-8, as everywhere the program hands them to its files.
constexpr const char* kInstalledData = "/../share/vardun";
constexpr const char* kConfigFolder = "/vardun";

} // namespace

std::vector<std::string> StartupDictionaryFolders()
{
    std::vector<std::string> folders { std::string() };
    // $XDG_CONFIG_HOME first, then each of $XDG_CONFIG_DIRS.
    for (const QString& config : QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation))
        folders.push_back((config + QLatin1String(kConfigFolder)).toStdString());
    const QString programFolder = QCoreApplication::applicationDirPath();
    folders.push_back(QDir::cleanPath(programFolder + QLatin1String(kInstalledData)).toStdString());
    // The Windows installer puts everything in the program's own folder.
    folders.push_back(programFolder.toStdString());
    return folders;
}

std::string FindStartupDictionary(const std::vector<std::string>& folders)
{
    for (const std::string& folder : folders) {
        const std::string path
            = folder.empty() ? std::string(kStartupDictionaryName) : folder + '/' + kStartupDictionaryName;
        if (QFileInfo(QString::fromStdString(path)).isFile())
            return path;
    }
    return kStartupDictionaryName;
}
