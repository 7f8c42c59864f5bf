#include <QApplication>
#include <gtest/gtest.h>

#include "TestTools.h"

// Widget tests: a real QApplication on whatever platform the environment
// names (ctest sets the offscreen one).
int main(int argc, char** argv)
{
    testtools::UsePrivateHome();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
