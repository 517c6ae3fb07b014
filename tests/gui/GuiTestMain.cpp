#include <gtest/gtest.h>

#include <QApplication>

// Widgets need the application object for the whole run; gtest_main cannot give it.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
