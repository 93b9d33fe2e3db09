#include <QGuiApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Icons are painted, so the tests need a GUI application; rendered icon files go to a
// private runtime folder instead of the user's.
int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QTemporaryDir runtime;
    const QTemporaryDir cache;
    if (!runtime.isValid() || !cache.isValid())
        return 1;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    qputenv("XDG_CACHE_HOME", cache.path().toLocal8Bit());
    const QGuiApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
