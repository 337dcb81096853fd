// GoogleTest main for window tests: one QApplication on the offscreen platform, so no
// test needs a display.
#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
#ifdef VARDUN_TEST_SCALE_FACTOR
    setenv("QT_SCALE_FACTOR", VARDUN_TEST_SCALE_FACTOR, 1);
#endif
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
