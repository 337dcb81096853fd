// The file-type entries as the windows name them, turned into the filters QFileDialog reads.
#include "ui/dialogs/QtDialogs.h"

#include <QComboBox>
#include <QFileDialog>
#include <gtest/gtest.h>

namespace {

TEST(QtDialogs, FileTypesBecomeQtNameFilters)
{
    struct Case {
        QString entry;
        QString filters;
    };
    const Case cases[] = {
        { QStringLiteral("Файлы данных Vardun 2.1|*.sav"), QStringLiteral("Файлы данных Vardun 2.1 (*.sav)") },
        // Qt reads the pattern from the last parentheses, so a pattern already in the text stays harmless.
        { QStringLiteral("Vardun 2.1 Файл словаря(*.dic)|*.dic"),
            QStringLiteral("Vardun 2.1 Файл словаря(*.dic) (*.dic)") },
        { QStringLiteral("Данные|*.sav|Словари|*.dic"), QStringLiteral("Данные (*.sav);;Словари (*.dic)") },
    };
    for (const Case& c : cases)
        EXPECT_EQ(QtDialogs::NameFilters(c.entry), c.filters) << c.entry.toStdString();
}

// The file-type list shows each entry's text exactly as the windows name it, with no
// pattern of Qt's own added; the pattern still chooses the files.
TEST(QtDialogs, FileDialogsShowTheFileTypeTextAsGiven)
{
    struct Case {
        FileDialogOptions options;
        QFileDialog::AcceptMode mode;
        QString shown;
    };
    const Case cases[] = {
        { { QStringLiteral("Файлы данных Vardun 2.1|*.sav"), QStringLiteral("sav") }, QFileDialog::AcceptOpen,
            QStringLiteral("Файлы данных Vardun 2.1") },
        { { QStringLiteral("Файлы данных Vardun 2.2(*.sav)|*.sav"), QStringLiteral("sav") }, QFileDialog::AcceptSave,
            QStringLiteral("Файлы данных Vardun 2.2(*.sav)") },
        { { QStringLiteral("Vardun 2.1 Файл словаря(*.dic)|*.dic"), QStringLiteral("dic") }, QFileDialog::AcceptSave,
            QStringLiteral("Vardun 2.1 Файл словаря(*.dic)") },
    };
    for (const Case& c : cases) {
        QFileDialog dialog;
        // Qt's own dialog, whose file-type list can be read; the program lets Qt choose.
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        QtDialogs::SetUpFileDialog(dialog, c.options, c.mode);
        const auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        ASSERT_NE(types, nullptr);
        ASSERT_EQ(types->count(), 1) << c.shown.toStdString();
        EXPECT_EQ(types->itemText(0).toStdString(), c.shown.toStdString());
        EXPECT_EQ(dialog.nameFilters(), QStringList { QtDialogs::NameFilters(c.options.Filter) });
        EXPECT_EQ(dialog.defaultSuffix(), c.options.DefaultExtension);
        EXPECT_EQ(dialog.acceptMode(), c.mode);
        EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
    }
}

// Of two file types, the one chosen in the list gives a typed name its extension.
TEST(QtDialogs, TheChosenFileTypeGivesTheExtension)
{
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    QtDialogs::SetUpFileDialog(dialog,
        { QStringLiteral("Рисунок PNG (*.png)|*.png|Рисунок SVG (*.svg)|*.svg"), QStringLiteral("png") },
        QFileDialog::AcceptSave);
    auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(types, nullptr);
    ASSERT_EQ(types->count(), 2);
    EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("png"));
    // As a choice in the list does it.
    types->setCurrentIndex(1);
    emit types->textActivated(types->itemText(1));
    EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("svg"));
    types->setCurrentIndex(0);
    emit types->textActivated(types->itemText(0));
    EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("png"));
}

} // namespace
