// The data files last loaded or saved, newest first, kept in the program's settings so that
// the next run offers them too ("Недавние файлы" of the main window's menu "Файл").
#pragma once

#include <QString>
#include <QStringList>

class RecentFiles {
public:
    // As many as the menu shows.
    static constexpr int kCount = 10;

    // The list as the settings hold it now.
    QStringList Paths() const;
    // `path` first; a path already in the list moves up, the oldest beyond the count goes.
    void Add(const QString& path);
    void Remove(const QString& path);
};
