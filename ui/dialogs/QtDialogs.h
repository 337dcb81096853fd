// The program's modal questions on Qt: message boxes, file dialogs and the name dialog.
#pragma once

#include "ui/dialogs/DialogFolders.h"
#include "ui/dialogs/Dialogs.h"

#include <QFileDialog>
#include <QSettings>

#include <functional>
#include <string>

class QtDialogs : public IDialogs {
public:
    // `dataFile` gives the data file last loaded or saved, where file dialogs open.
    explicit QtDialogs(std::function<std::string()> dataFile = {});

    void ShowMessage(const std::string& text) override;
    void ShowInformation(const std::string& text) override;
    CloseAnswer AskSaveChanges(QWidget* owner) override;
    std::optional<QString> AskOpenFile(QWidget* owner, const FileDialogOptions& options) override;
    std::optional<QString> AskSaveFile(QWidget* owner, const FileDialogOptions& options) override;
    std::optional<QString> AskName(QWidget* owner, const QString& caption, const QString& name) override;

    // Everything but the folder: mode, file types, default extension.
    static void SetUpFileDialog(QFileDialog& dialog, const FileDialogOptions& options, QFileDialog::AcceptMode mode);
    // "text|pattern[|text|pattern...]" as QFileDialog wants it: "text (pattern)[;;...]".
    static QString NameFilters(const QString& filter);

private:
    std::optional<QString> RunFileDialog(
        QWidget* owner, const FileDialogOptions& options, QFileDialog::AcceptMode mode);

    // The program's settings file (~/.config/vardun/vardun.conf): the folders last chosen.
    QSettings settings_;
    DialogFolders folders_;
};
