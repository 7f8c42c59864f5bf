#include <QApplication>
#include <gtest/gtest.h>

// Widget tests: a real QApplication on whatever platform the environment
// names (ctest sets the offscreen one).
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
