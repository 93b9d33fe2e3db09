#include "app/images/Images.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The desktop tests drive real widgets, so they need an application object; ctest runs
// them on the offscreen platform inside a private session bus.
int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // Settings the application saves (window places) go to a folder of the run's own,
    // never into the user's.
    const QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QApplication::setQuitOnLastWindowClosed(false);
    rovex::installMenuTexts(application);
    return RUN_ALL_TESTS();
}
