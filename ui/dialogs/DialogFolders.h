// Where a file dialog opens and what name it proposes. A data file's own dialogs and the
// report's open beside the data file last loaded or saved (proposing its name, or that
// name with ".pdf"); other kinds of file open in the folder last chosen for that kind,
// remembered across runs, or else beside the data file. Without either the dialog opens
// where Qt opens it.
#pragma once

#include "ui/dialogs/Dialogs.h"

#include <QString>

#include <functional>
#include <string>

class QSettings;

class DialogFolders {
public:
    // `dataFile` gives the data file last loaded or saved, empty when there is none.
    DialogFolders(QSettings& settings, std::function<std::string()> dataFile);

    // A folder, or a path whose file name is the proposal; empty for Qt's own choice.
    QString StartPath(const FileDialogOptions& options, bool saving) const;
    // The analyst chose `path` in a dialog of this kind: its folder is where the next one opens.
    void Chosen(const FileDialogOptions& options, const QString& path);

private:
    QString Remembered(const FileDialogOptions& options) const;

    QSettings& settings_;
    std::function<std::string()> dataFile_;
};
