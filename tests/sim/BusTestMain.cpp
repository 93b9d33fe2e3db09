#include <QCoreApplication>

#include <gtest/gtest.h>

// QtDBus and QProcess want an application object; the cases drive its loop themselves.
int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    const QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
