// The Qt view tests run inside one QApplication, on the offscreen platform unless another
// is asked for, so that they need no display. Their demo companies live in SQLite files.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("KELTRO_TEST_DB", "sqlite", 1);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
