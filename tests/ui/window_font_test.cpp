// The windows' font comes from the program itself, so text is measured alike on systems
// that have no Liberation Sans of their own.
#include "ui/widgets/WindowFont.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QRawFont>
#include <gtest/gtest.h>

TEST(WindowFont, TheBundledFacesLoadAndAreWhatTheWindowsGet)
{
    ASSERT_TRUE(LoadBundledFonts());
    for (const char* face : { ":/fonts/LiberationSans-Regular.ttf", ":/fonts/LiberationSans-Bold.ttf",
             ":/fonts/LiberationSans-Italic.ttf", ":/fonts/LiberationSans-BoldItalic.ttf" }) {
        const QRawFont raw(QString::fromLatin1(face), 11);
        ASSERT_TRUE(raw.isValid()) << face;
        EXPECT_EQ(raw.familyName(), QStringLiteral("Liberation Sans")) << face;
    }
    EXPECT_EQ(QFontInfo(WindowFont()).family(), QStringLiteral("Liberation Sans"));
    EXPECT_TRUE(QFontInfo(GroupCaptionFont()).bold());
}
