#include <gtest/gtest.h>

#include <QApplication>

// The main of the test binaries that make a QApplication: windows are tested without a display.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
