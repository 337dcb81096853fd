// The name dialog: what it hands back and which names it lets the analyst type.
#include "ui/dialogs/ChangeItem.h"

#include "Typing.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct Dialog {
    Dialog()
    {
        form.show();
        edit = form.findChild<QLineEdit*>(QStringLiteral("Edit"));
        ok = form.findChild<QPushButton*>(QStringLiteral("OKButton"));
        cancel = form.findChild<QPushButton*>(QStringLiteral("CancelButton"));
    }
    TEditForm form;
    QLineEdit* edit;
    QPushButton* ok;
    QPushButton* cancel;
};

TEST(NameDialog, OkGivesTheNameAsTypedAndAnEmptyNameCountsAsCancel)
{
    struct Case {
        QString typed;
        int result;
    };
    const Case cases[] = {
        { QStringLiteral("Сеть предприятия"), QDialog::Accepted },
        { QStringLiteral("   "), QDialog::Accepted }, // blanks are a name like any other
        { QStringLiteral(" Край "), QDialog::Accepted },
        { QString(), QDialog::Rejected },
    };
    for (const Case& c : cases) {
        Dialog dialog;
        ASSERT_NE(dialog.edit, nullptr);
        TypeText(dialog.edit, c.typed);
        QTest::mouseClick(dialog.ok, Qt::LeftButton);
        EXPECT_EQ(dialog.form.result(), c.result) << c.typed.toStdString();
        EXPECT_EQ(dialog.form.Name(), c.typed);
    }
}

TEST(NameDialog, EnterConfirmsAndEscapeCancels)
{
    Dialog confirmed;
    confirmed.form.SetName(QStringLiteral("Периметр"));
    QTest::keyClick(confirmed.edit, Qt::Key_Return);
    EXPECT_EQ(confirmed.form.result(), QDialog::Accepted);
    EXPECT_FALSE(confirmed.form.isVisible());

    Dialog cancelled;
    TypeText(cancelled.edit, QStringLiteral("Новое имя"));
    QTest::keyClick(cancelled.edit, Qt::Key_Escape);
    EXPECT_EQ(cancelled.form.result(), QDialog::Rejected);
    EXPECT_FALSE(cancelled.form.isVisible());
}

TEST(NameDialog, AChangedNameStartsFromTheCurrentOneAndComesBackUnchangedWhenConfirmed)
{
    Dialog dialog;
    dialog.form.SetName(QStringLiteral(" Вирус "));
    EXPECT_EQ(dialog.edit->text(), QStringLiteral(" Вирус "));
    QTest::mouseClick(dialog.ok, Qt::LeftButton);
    EXPECT_EQ(dialog.form.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.form.Name(), QStringLiteral(" Вирус "));
}

TEST(NameDialog, TypingStopsAt250Characters)
{
    Dialog dialog;
    TypeText(dialog.edit, QString(260, QChar(u'ж')));
    EXPECT_EQ(dialog.edit->text(), QString(250, QChar(u'ж')));
}

// A name of up to 255 bytes can come from a file: the dialog shows it whole, so that OK on
// it unchanged keeps the item's name (and with it the item's values at the next Next).
// Typing still cannot make it longer, though it may be shortened.
TEST(NameDialog, ALongerNameFromAFileSurvivesUnchanged)
{
    const QString loaded(255, QChar(u'ш'));
    Dialog dialog;
    dialog.form.SetName(loaded);
    EXPECT_EQ(dialog.edit->text(), loaded);
    TypeText(dialog.edit, QStringLiteral("x"));
    EXPECT_EQ(dialog.edit->text(), loaded);
    QTest::mouseClick(dialog.ok, Qt::LeftButton);
    EXPECT_EQ(dialog.form.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.form.Name(), loaded);

    Dialog shortened;
    shortened.form.SetName(loaded);
    shortened.edit->setFocus();
    shortened.edit->end(false);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(shortened.edit, Qt::Key_Backspace);
    TypeText(shortened.edit, QStringLiteral("xyz"));
    EXPECT_EQ(shortened.edit->text(), QString(252, QChar(u'ш'))) << "a longer name is never typed back to its length";
}

// The files hold names in code page 1251, one per line: anything else would be lost or
// would break the file, so it never gets into the field.
TEST(NameDialog, RefusesCharactersTheFilesCannotHold)
{
    struct Case {
        QString character;
        bool kept;
    };
    const Case cases[] = {
        { QStringLiteral("Ж"), true }, { QStringLiteral("ё"), true }, { QStringLiteral("€"), true },
        { QStringLiteral("№"), true }, { QStringLiteral("«"), true }, { QStringLiteral("z"), true },
        { QStringLiteral("ą"), false }, // Latin with ogonek: in 1250, not in 1251
        { QStringLiteral("中"), false }, { QStringLiteral("😀"), false }, // outside the basic plane as well
        { QStringLiteral("\t"), false }, { QStringLiteral("\u0098"), false }, // the code page's one hole
    };
    for (const Case& c : cases) {
        Dialog dialog;
        dialog.edit->setText(QStringLiteral("ab"));
        dialog.edit->setCursorPosition(1);
        TypeText(dialog.edit, c.character);
        const QString expected
            = c.kept ? QStringLiteral("a") + c.character + QStringLiteral("b") : QStringLiteral("ab");
        EXPECT_EQ(dialog.edit->text(), expected) << "U+" << std::hex << c.character.toUcs4().value(0);
    }
}

TEST(NameDialog, APasteWithALineBreakOrAForeignCharacterIsRefusedWhole)
{
    for (const QString& pasted :
        { QStringLiteral("Сеть\nфилиала"), QStringLiteral("Сеть\r\n"), QStringLiteral("Защита 中") }) {
        Dialog dialog;
        dialog.edit->setText(QStringLiteral("Узел"));
        dialog.edit->insert(pasted);
        EXPECT_EQ(dialog.edit->text(), QStringLiteral("Узел"));
    }
    Dialog dialog;
    dialog.edit->insert(QStringLiteral("Защита «Щит» №2"));
    EXPECT_EQ(dialog.edit->text(), QStringLiteral("Защита «Щит» №2"));
}

} // namespace
