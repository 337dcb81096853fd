#include "app/StartupDictionary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QString>

namespace {

// Beside an installed program: <prefix>/bin/vardun and <prefix>/share/vardun.
constexpr const char* kInstalledData = "/../share/vardun";
constexpr const char* kConfigFolder = "/vardun";

} // namespace

std::vector<std::string> StartupDictionaryFolders()
{
    std::vector<std::string> folders { std::string() };
    // $XDG_CONFIG_HOME first, then each of $XDG_CONFIG_DIRS.
    for (const QString& config : QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation))
        folders.push_back(QFile::encodeName(config + QLatin1String(kConfigFolder)).toStdString());
    const QString installed = QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1String(kInstalledData));
    folders.push_back(QFile::encodeName(installed).toStdString());
    return folders;
}

std::string FindStartupDictionary(const std::vector<std::string>& folders)
{
    for (const std::string& folder : folders) {
        const std::string path
            = folder.empty() ? std::string(kStartupDictionaryName) : folder + '/' + kStartupDictionaryName;
        if (QFileInfo(QFile::decodeName(path.c_str())).isFile())
            return path;
    }
    return kStartupDictionaryName;
}
