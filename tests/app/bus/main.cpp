#include <QCoreApplication>

#include <gtest/gtest.h>

// The bus connections deliver their messages through the event loop, so the tests need an
// application object.
int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    const QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
