// The file-type entries as the windows name them, turned into the filters QFileDialog reads.
#include "ui/QtDialogs.h"

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

} // namespace
