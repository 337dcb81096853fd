// Every modal question the windows ask: message boxes, file dialogs and the name dialog.
// The program shows real ones (QtDialogs); the window tests script the answers, so no test
// ever waits on a modal window.
#pragma once

#include "model/Messages.h"

#include <QString>

#include <optional>
#include <string>

class QWidget;

enum class CloseAnswer { Yes, No, Cancel };

struct FileDialogOptions {
    // The file-type entry as the windows name it: the text shown, a bar, the pattern
    // ("Файлы данных Vardun 2.1|*.sav").
    QString Filter;
    // Added when the analyst types a name without one; no dot.
    QString DefaultExtension;

    bool operator==(const FileDialogOptions&) const = default;
};

class IDialogs : public IMessageSink {
public:
    // ShowMessage, from IMessageSink, is the box for input and file errors: OK only, with the
    // caption "Ошибка". The core's loaders and writers report through it.

    // A notice that is no error: OK only, caption "Vardun 2.2".
    virtual void ShowInformation(const std::string& text) = 0;
    // "Сохранить изменения ?" with Yes, No and Cancel, owned by `owner`.
    virtual CloseAnswer AskSaveChanges(QWidget* owner) = 0;
    // The chosen path, or nothing when the analyst cancels.
    virtual std::optional<QString> AskOpenFile(QWidget* owner, const FileDialogOptions& options) = 0;
    // As AskOpenFile; an existing file is only chosen after the analyst agreed to replace it.
    virtual std::optional<QString> AskSaveFile(QWidget* owner, const FileDialogOptions& options) = 0;
    // The name dialog with the given caption and starting text: the confirmed name, or
    // nothing when it was cancelled or confirmed empty.
    virtual std::optional<QString> AskName(QWidget* owner, const QString& caption, const QString& name) = 0;
};
