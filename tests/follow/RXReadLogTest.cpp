#include "FollowFixture.h"

#include <QCoreApplication>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace rovex::test {
namespace {

TEST_F(Follow, StartsAtTheEndOfAnExistingLogAndDeliversEachByteOnceInOrder)
{
    createLog("old one\nold two\n");
    follow();
    // Thousands of small writes, each one an event, while the reader is at work.
    std::string text;
    for (int i = 0; i < 400; ++i)
        text += "pass out on en0: 10.0.0.9.443 > 10.0.1.9." + std::to_string(i) + "\n";
    LogWriter drip(m_log, {"drip:" + text});
    expectSegments(drip, {text});
}

TEST_F(Follow, RotatedLogEndsWithItsTailAndTheNextIsReadFromItsFirstByte)
{
    createLog("old line\n");
    follow();
    // Deleted and written anew before the reader looks. The tail ends in half a line: the
    // end of the file is what completes it.
    LogWriter deleted(m_log, {"append:tail of the old log\nhalf a li", "remove:", "append:first of the new log\n"});
    deleted.finishWhileReaderIsBusy();
    expectSegments(deleted, {"tail of the old log\nhalf a li", "first of the new log\n"});

    // Renamed while followed; the name stays missing until the renamed file is given up.
    appendToLog("last of the second\n");
    Segments expected{"tail of the old log\nhalf a li", "first of the new log\nlast of the second\n"};
    ASSERT_TRUE(waitForSegments(expected));
    renameLog(m_log, m_log + QStringLiteral(".1"));
    expected.emplace_back();
    ASSERT_TRUE(waitForSegments(expected));
    appendToLog("B1\n");
    expected.back() = "B1\n";
    waitForSegments(expected);
}

TEST_F(Follow, TruncatedLogIsFollowedAgainFromItsStart)
{
    createLog("a long line that was there before the start\n");
    follow();
    // Truncated and written again before the reader looks: only the size tells.
    LogWriter truncation(m_log, {"truncate:", "append:after\n"});
    truncation.finishWhileReaderIsBusy();
    expectSegments(truncation, {"", "after\n"});
}

TEST_F(Follow, LogMissingAtTheStartIsReadFromItsFirstByte)
{
    follow(); // not even its folder exists yet
    appendToLog("first line\n");
    ASSERT_TRUE(waitForSegments({"first line\n"}));
    appendToLog("second line\n");
    waitForSegments({"first line\nsecond line\n"});
}

TEST_F(Follow, LargeAppendArrivesWholeInSlices)
{
    createLog({});
    follow();
    LogWriter writer(m_log, {"large:"});
    // Every chunk is checked against the slice size as it arrives.
    QFile file(m_log);
    EXPECT_TRUE(runUntil([&] {
        return writer.succeeded() && m_segments.back().size() >= static_cast<std::size_t>(file.size());
    })) << writer.report();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    ASSERT_GT(written.size(), 8 * RXReadLog::sliceBytes);
    ASSERT_EQ(m_segments.size(), 1U);
    EXPECT_TRUE(m_segments.front() == written.toStdString()) << "the delivered bytes differ from the file";
}

TEST_F(Follow, ALogWrittenLineByLineIsReadInGatheredChunks)
{
    createLog({});
    follow();
    int chunks = 0;
    QObject::connect(m_reader.get(), &RXReadLog::chunkRead, m_reader.get(), [&chunks] { ++chunks; });
    // Forty lines, one every few milliseconds, the event loop running between them: read at
    // every write they would come in forty chunks.
    for (int i = 0; i < 40; ++i) {
        appendToLog("line " + QByteArray::number(i) + "\n");
        runUntil([] { return false; }, std::chrono::milliseconds(5));
    }
    ASSERT_TRUE(waitForLine("line 39"));
    EXPECT_EQ(lines().size(), 40U);
    EXPECT_LE(chunks, 10) << "reads were not gathered";
}

TEST_F(Follow, FifoAtTheLogPathIsSkippedWithoutBlocking)
{
    makeLogFolder();
    ASSERT_EQ(::mkfifo(QFile::encodeName(m_log).constData(), 0644), 0);
    // The reader looks at the log as it starts: one stuck in opening the FIFO never returns.
    follow();
    QCoreApplication::processEvents();
    // Between two looks no reader may hold the FIFO open: a writer would then find one.
    const int writer = ::open(QFile::encodeName(m_log).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    EXPECT_EQ(writer, -1) << "a reader holds the FIFO open";
    EXPECT_EQ(errno, ENXIO);
    if (writer >= 0)
        ::close(writer);
    // Then a regular log takes the FIFO's place.
    ASSERT_TRUE(QFile::remove(m_log));
    appendToLog("first of the regular log\n");
    waitForSegments({"first of the regular log\n"});
}

TEST_F(Follow, InotifyAloneFollowsAppendsTruncationAndRecreation)
{
    makeLogFolder();
    // The poll never comes during the test: every look is started by an inotify event.
    follow({std::chrono::hours(1), std::chrono::milliseconds(100)});
    appendToLog("created\n");
    ASSERT_TRUE(waitForLine("created"));
    appendToLog("appended\n");
    ASSERT_TRUE(waitForLine("appended"));
    createLog("cut\n");
    ASSERT_TRUE(waitForLine("cut"));
    ASSERT_TRUE(QFile::remove(m_log));
    appendToLog("recreated\n");
    EXPECT_TRUE(waitForLine("recreated"));
    EXPECT_EQ(lines(), (Lines{"created", "appended", "cut", "recreated"}));
}

// Root reads any file, so the case is run again in a child without that privilege.
void runAgainWithoutReadOverride()
{
    const QString childMark = QStringLiteral("--without-read-override");
    ASSERT_FALSE(QCoreApplication::arguments().contains(childMark)) << "the child still reads a file of mode 000";
    const ::testing::TestInfo& test = *::testing::UnitTest::GetInstance()->current_test_info();
    QProcess child;
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QStringLiteral("setpriv"),
                {QStringLiteral("--bounding-set=-dac_override,-dac_read_search"), QStringLiteral("--"),
                 QCoreApplication::applicationFilePath(), childMark,
                 QStringLiteral("--gtest_filter=%1.%2")
                     .arg(QString::fromUtf8(test.test_suite_name()), QString::fromUtf8(test.name()))});
    if (!child.waitForStarted())
        GTEST_SKIP() << "setpriv is needed to take the read override away";
    ASSERT_TRUE(child.waitForFinished(60000));
    const QByteArray output = child.readAll();
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
}

TEST_F(Follow, UnreadableLogIsFollowedOnceReadable)
{
    createLog("there before the start\n");
    ASSERT_TRUE(QFile::setPermissions(m_log, {}));
    if (QFile file(m_log); file.open(QIODevice::ReadOnly)) {
        runAgainWithoutReadOverride();
        return;
    }
    follow();
    // What was there at the start stays old traffic; what came after is delivered.
    ASSERT_TRUE(QFile::setPermissions(m_log, QFile::WriteOwner));
    appendToLog("written while unreadable\n");
    m_reader->readlog(); // a look, as the poll takes, while the log cannot be read
    ASSERT_TRUE(
        QFile::setPermissions(m_log, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));
    appendToLog("after the chmod\n");
    waitForSegments({"written while unreadable\nafter the chmod\n"});
}

} // namespace
} // namespace rovex::test
