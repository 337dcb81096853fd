#include "ui/document/RecentFiles.h"

#include <QFileInfo>
#include <QSettings>

namespace {

const QString kKey = QStringLiteral("RecentFiles");

// One file, however it was named: a relative path and its absolute form are the same entry.
QString Canonical(const QString& path)
{
    return QFileInfo(path).absoluteFilePath();
}

} // namespace

QStringList RecentFiles::Paths() const
{
    QStringList paths = QSettings().value(kKey).toStringList();
    paths.removeAll(QString());
    if (paths.size() > kCount)
        paths.resize(kCount);
    return paths;
}

void RecentFiles::Add(const QString& path)
{
    if (path.isEmpty())
        return;
    const QString entry = Canonical(path);
    QStringList paths = Paths();
    paths.removeAll(entry);
    paths.prepend(entry);
    if (paths.size() > kCount)
        paths.resize(kCount);
    QSettings().setValue(kKey, paths);
}

void RecentFiles::Remove(const QString& path)
{
    QStringList paths = Paths();
    paths.removeAll(path);
    paths.removeAll(Canonical(path));
    QSettings().setValue(kKey, paths);
}
