#include <QCoreApplication>

#include <gtest/gtest.h>

// The version check's network replies and queued completions need an application's loop.
int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    const QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
