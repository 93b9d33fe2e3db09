#include "app/intel/PortLookup.h"

#include "app/intel/BackgroundWork.h"
#include "QtTestSupport.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using rovex::PortLookup;
using rovex::test::runUntil;

namespace {

constexpr char table[] = "ssh\t\t22/tcp\t\t# SSH\nhttp\t\t80/tcp\n";

void writeTable(const fs::path& path)
{
    QFile file(QString::fromStdString(path.string()));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(table);
}

} // namespace

TEST(PortLookup, StartsAtOnceAndAnswersLater)
{
    QTemporaryDir folder;
    const fs::path services = folder.filePath(QStringLiteral("services")).toStdString();
    writeTable(services);
    PortLookup lookup(services);
    QSignalSpy started(&lookup, &PortLookup::started);
    QSignalSpy found(&lookup, &PortLookup::found);
    lookup.getPortInfo(QStringLiteral("22"));
    ASSERT_EQ(started.count(), 1);
    EXPECT_EQ(started.first().first().toString(), u"22");
    ASSERT_TRUE(runUntil([&] { return found.count() == 1; }));
    EXPECT_EQ(found.first(),
              (QList<QVariant>{QStringLiteral("22"), QStringLiteral("ssh\t\t22/tcp\t\t SSH\n"),
                               QStringLiteral("systemport")}));
}

// The first request reads a pipe that the test fills only after the second has answered.
TEST(PortLookup, AnOlderAnswerArrivingLateIsDropped)
{
    QTemporaryDir folder;
    const fs::path pipe = folder.filePath(QStringLiteral("slow")).toStdString();
    const fs::path quick = folder.filePath(QStringLiteral("quick")).toStdString();
    const fs::path services = folder.filePath(QStringLiteral("services")).toStdString();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    writeTable(quick);
    fs::create_symlink(pipe, services);

    PortLookup lookup(services);
    QSignalSpy found(&lookup, &PortLookup::found);
    lookup.getPortInfo(QStringLiteral("22"));
    // Opening the writing end succeeds once the first request has the pipe open.
    int writer = -1;
    ASSERT_TRUE(runUntil([&] { return (writer = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK)) >= 0; }));
    fs::remove(services);
    fs::create_symlink(quick, services);

    lookup.getPortInfo(QStringLiteral("80"));
    ASSERT_TRUE(runUntil([&] { return found.count() == 1; }));
    ASSERT_EQ(::write(writer, table, sizeof table - 1), static_cast<ssize_t>(sizeof table - 1));
    ::close(writer);
    ASSERT_TRUE(runUntil([&] { return rovex::backgroundJobsPending(&lookup) == 0; }));
    ASSERT_EQ(found.count(), 1);
    EXPECT_EQ(
        found.first(),
        (QList<QVariant>{QStringLiteral("80"), QStringLiteral("http\t\t80/tcp\n"), QStringLiteral("systemport")}));
}
