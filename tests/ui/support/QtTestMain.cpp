// GoogleTest main for window tests: one QApplication on the offscreen platform, so no
// test needs a display, with the program's own font.
#include "ui/widgets/WindowFont.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef VARDUN_TEST_SCALE_FACTOR
    qputenv("QT_SCALE_FACTOR", VARDUN_TEST_SCALE_FACTOR);
#endif
    QApplication app(argc, argv);
    // Settings the tests write (recent files, windows' places) under a name of their own,
    // never the program's.
    QCoreApplication::setOrganizationName(QStringLiteral("vardun-tests"));
    QCoreApplication::setApplicationName(QStringLiteral("vardun-tests"));
    // As the program has it from its first window on, whatever fonts the system has.
    LoadBundledFonts();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
