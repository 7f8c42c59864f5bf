#include <QCoreApplication>
#include <gtest/gtest.h>

#include "TestTools.h"

// Tests of the core run with a Qt event loop available, as the program does.
int main(int argc, char** argv)
{
    testtools::UsePrivateHome();
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
