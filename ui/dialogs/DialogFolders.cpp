#include "ui/dialogs/DialogFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <utility>

namespace {

QString KindKey(const FileDialogOptions& options)
{
    return QStringLiteral("folders/") + options.DefaultExtension.toLower();
}

} // namespace

DialogFolders::DialogFolders(QSettings& settings, std::function<std::string()> dataFile)
    : settings_(settings)
    , dataFile_(std::move(dataFile))
{
}

QString DialogFolders::StartPath(const FileDialogOptions& options, bool saving) const
{
    const QString data = dataFile_ ? QString::fromStdString(dataFile_()) : QString();
    const QFileInfo dataInfo(data);
    const QString dataFolder = data.isEmpty() ? QString() : dataInfo.absolutePath();
    const QString kind = options.DefaultExtension.toLower();
    if (!data.isEmpty()) {
        if (saving && kind == QLatin1String("sav"))
            return dataInfo.absoluteFilePath();
        if (saving && kind == QLatin1String("pdf"))
            return QDir(dataFolder).filePath(dataInfo.completeBaseName() + QStringLiteral(".pdf"));
        if (kind == QLatin1String("sav") || kind == QLatin1String("pdf"))
            return dataFolder;
    }
    const QString remembered = Remembered(options);
    return remembered.isEmpty() ? dataFolder : remembered;
}

void DialogFolders::Chosen(const FileDialogOptions& options, const QString& path)
{
    settings_.setValue(KindKey(options), QFileInfo(path).absolutePath());
}

QString DialogFolders::Remembered(const FileDialogOptions& options) const
{
    const QString folder = settings_.value(KindKey(options)).toString();
    // A folder removed or renamed since is no place to start from.
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}
