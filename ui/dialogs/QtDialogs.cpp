#include "ui/dialogs/QtDialogs.h"

#include "ui/dialogs/ChangeItem.h"
#include "ui/widgets/Texts.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

#include <utility>

namespace {

void ShowOkBox(const QString& caption, const std::string& text)
{
    // No owner: the message belongs to no particular window.
    QMessageBox box(QMessageBox::NoIcon, caption, QString::fromStdString(text), QMessageBox::Ok);
    box.exec();
}

} // namespace

QtDialogs::QtDialogs(std::function<std::string()> dataFile)
    : settings_(QStringLiteral("vardun"), QStringLiteral("vardun"))
    , folders_(settings_, std::move(dataFile))
{
}

std::optional<QString> QtDialogs::RunFileDialog(
    QWidget* owner, const FileDialogOptions& options, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(owner);
    SetUpFileDialog(dialog, options, mode);
    const QString start = folders_.StartPath(options, mode == QFileDialog::AcceptSave);
    const QFileInfo startInfo(start);
    if (startInfo.isDir()) {
        dialog.setDirectory(start);
    } else if (!start.isEmpty()) {
        dialog.setDirectory(startInfo.absolutePath());
        dialog.selectFile(startInfo.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString chosen = dialog.selectedFiles().front();
    folders_.Chosen(options, chosen);
    return chosen;
}

void QtDialogs::ShowMessage(const std::string& text)
{
    ShowOkBox(QCoreApplication::translate("QtDialogs", "Ошибка"), text);
}

void QtDialogs::ShowInformation(const std::string& text)
{
    ShowOkBox(ProgramTitle(), text);
}

CloseAnswer QtDialogs::AskSaveChanges(QWidget* owner)
{
    QMessageBox box(QMessageBox::NoIcon, ProgramTitle(),
        QCoreApplication::translate("QtDialogs", "Сохранить изменения ?"),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, owner);
    box.button(QMessageBox::Yes)->setText(QCoreApplication::translate("QtDialogs", "Да"));
    box.button(QMessageBox::No)->setText(QCoreApplication::translate("QtDialogs", "Нет"));
    box.button(QMessageBox::Cancel)->setText(QCoreApplication::translate("QtDialogs", "Отмена"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return CloseAnswer::Yes;
    case QMessageBox::No:
        return CloseAnswer::No;
    default:
        return CloseAnswer::Cancel;
    }
}

std::optional<QString> QtDialogs::AskOpenFile(QWidget* owner, const FileDialogOptions& options)
{
    return RunFileDialog(owner, options, QFileDialog::AcceptOpen);
}

std::optional<QString> QtDialogs::AskSaveFile(QWidget* owner, const FileDialogOptions& options)
{
    return RunFileDialog(owner, options, QFileDialog::AcceptSave);
}

std::optional<QString> QtDialogs::AskName(QWidget* owner, const QString& caption, const QString& name)
{
    TEditForm form(owner);
    form.setWindowTitle(caption);
    form.SetName(name);
    if (form.exec() != QDialog::Accepted)
        return std::nullopt;
    return form.Name();
}

void QtDialogs::SetUpFileDialog(QFileDialog& dialog, const FileDialogOptions& options, QFileDialog::AcceptMode mode)
{
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilter(NameFilters(options.Filter));
    // Qt would show the pattern a second time after the text; the list shows the text alone.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setDefaultSuffix(options.DefaultExtension);
    // With several file types, a name typed without an extension gets the chosen type's.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog] {
        // The whole filter, pattern included, whatever the list shows of it.
        const QString filter = dialog.selectedNameFilter();
        const qsizetype star = filter.lastIndexOf(QStringLiteral("*."));
        const qsizetype end = filter.indexOf(QLatin1Char(')'), star);
        if (star >= 0 && end > star)
            dialog.setDefaultSuffix(filter.mid(star + 2, end - star - 2));
    });
    // A save dialog asks before replacing an existing file: QFileDialog's default.
}

QString QtDialogs::NameFilters(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters.append(parts[i] + QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')'));
    return filters.join(QStringLiteral(";;"));
}
