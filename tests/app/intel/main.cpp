#include <QCoreApplication>

#include <gtest/gtest.h>

// Sockets, processes and queued deliveries all need an event loop and its application.
int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    const QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
