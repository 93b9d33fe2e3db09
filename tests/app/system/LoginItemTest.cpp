#include "ScopedEnvironment.h"
#include "TestFiles.h"

#include "app/system/CommandRunner.h"
#include "app/system/DesktopEntryText.h"
#include "app/system/LoginItem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace rovex {
namespace {

const QString entryName = QStringLiteral("rovex-logs-visualizer.desktop");

QString entryIn(const QString& folder) { return QDir(folder).filePath(entryName); }

QString expectedEntry(const QString& execValue)
{
    return QStringLiteral("[Desktop Entry]\nType=Application\nName=RovexLogsVisualizer\n"
                          "Comment=Live view of the pf firewall log\nExec=")
        + execValue
        + QStringLiteral("\nIcon=rovex-logs-visualizer\nTerminal=false\n"
                         "X-GNOME-Autostart-enabled=true\n");
}

TEST(LoginItemTest, AutostartFolderFollowsXdgConfigHome)
{
    const QString fallback = QDir::homePath() + QStringLiteral("/.config/autostart");
    {
        const test::ScopedEnvironment config("XDG_CONFIG_HOME", QStringLiteral("/srv/conf/"));
        EXPECT_EQ(autostartFolder(), QStringLiteral("/srv/conf/autostart"));
    }
    {
        const test::ScopedEnvironment config("XDG_CONFIG_HOME", QString());
        EXPECT_EQ(autostartFolder(), fallback);
    }
    {
        const test::ScopedEnvironment config("XDG_CONFIG_HOME", QStringLiteral(""));
        EXPECT_EQ(autostartFolder(), fallback);
    }
    {
        const test::ScopedEnvironment config("XDG_CONFIG_HOME", QStringLiteral("relative/conf"));
        EXPECT_EQ(autostartFolder(), fallback);
    }
}

TEST(LoginItemTest, WritingTwiceLeavesOneEntry)
{
    const QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString folder = root.filePath(QStringLiteral("config/autostart"));
    const QString program = QStringLiteral("/opt/rovex/bin/rovex-logs-visualizer");
    QString error;
    ASSERT_TRUE(addLoginItem(folder, QStringLiteral("/old/place/rovex-logs-visualizer"), &error))
        << error.toStdString();
    ASSERT_TRUE(addLoginItem(folder, program, &error)) << error.toStdString();

    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{entryName});
    EXPECT_EQ(QString::fromUtf8(test::readWhole(entryIn(folder))), expectedEntry(program));
}

TEST(LoginItemTest, ExecQuotesPathsWithReservedCharacters)
{
    const QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString program = QStringLiteral("/home/me/My Apps/rovex logs");
    ASSERT_TRUE(addLoginItem(root.path(), program));
    EXPECT_EQ(QString::fromUtf8(test::readWhole(entryIn(root.path()))),
              expectedEntry(QStringLiteral("\"/home/me/My Apps/rovex logs\"")));

    // Inside the quotes ", `, $ and \ take a backslash; every backslash is then doubled
    // for the string value, % is doubled against field codes, a line break is written \n.
    EXPECT_EQ(desktopExecArgument(QStringLiteral("/a/\"q\" `c` $HOME\\b")),
              QStringLiteral("\"/a/\\\\\"q\\\\\" \\\\`c\\\\` \\\\$HOME\\\\\\\\b\""));
    EXPECT_EQ(desktopExecArgument(QStringLiteral("/a/100%/x")), QStringLiteral("/a/100%%/x"));
    EXPECT_EQ(desktopExecArgument(QStringLiteral("/a/50% off/x")), QStringLiteral("\"/a/50%% off/x\""));
    EXPECT_EQ(desktopExecArgument(QStringLiteral("/a/line\nbreak")), QStringLiteral("\"/a/line\\nbreak\""));
    for (const QChar reserved : QStringLiteral("'><~|&;*?#()\t"))
        EXPECT_TRUE(desktopExecArgument(QStringLiteral("/a/b") + reserved).startsWith(u'"')) << int{reserved.unicode()};
}

// The desktop's own reader (GLib, through gio) must start exactly the program named in
// the entry, however odd its path.
TEST(LoginItemTest, DesktopStartsTheProgramNamedInTheEntry)
{
    const QString gio = QStringLiteral("/usr/bin/gio");
    if (!QFileInfo(gio).isExecutable())
        GTEST_SKIP() << "gio is not installed";
    const QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString folder = root.filePath(QStringLiteral("My Apps $HOME 'q' \"dq\" back\\slash & (x);"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString program = QDir(folder).filePath(QStringLiteral("rovex logs"));
    const QString marker = root.filePath(QStringLiteral("started"));
    const QByteArray script = "#!/bin/sh\nprintf '%s' \"$0\" > '" + QFile::encodeName(marker) + ".part' && mv '"
        + QFile::encodeName(marker) + ".part' '" + QFile::encodeName(marker) + "'\n";
    ASSERT_TRUE(test::writeExecutable(program, script));
    const QString autostart = root.filePath(QStringLiteral("autostart"));
    ASSERT_TRUE(addLoginItem(autostart, program));

    const QString said = eseguiShellCommand(gio, {QStringLiteral("launch"), entryIn(autostart)});
    ASSERT_TRUE(test::waitForFile(marker)) << said.toStdString();
    EXPECT_EQ(QString::fromUtf8(test::readWhole(marker)), program);
}

TEST(LoginItemTest, UnwritableFolderGivesFalseWithAReason)
{
    const QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString file = root.filePath(QStringLiteral("a file"));
    ASSERT_TRUE(test::writeExecutable(file, "not a folder\n"));
    const QString program = QStringLiteral("/usr/bin/rovex-logs-visualizer");

    QString error;
    EXPECT_FALSE(addLoginItem(QDir(file).filePath(QStringLiteral("autostart")), program, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("a file"))) << error.toStdString();
    EXPECT_FALSE(addLoginItem(QDir(file).filePath(QStringLiteral("autostart")), program));

    // The entry's own name taken by a folder: nothing can be written there.
    const QString taken = root.filePath(QStringLiteral("taken"));
    ASSERT_TRUE(QDir().mkpath(entryIn(taken)));
    error.clear();
    EXPECT_FALSE(addLoginItem(taken, program, &error));
    EXPECT_TRUE(error.contains(entryName)) << error.toStdString();

    error.clear();
    EXPECT_FALSE(addLoginItem(root.path(), QString(), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(entryIn(root.path())));
}

} // namespace
} // namespace rovex
