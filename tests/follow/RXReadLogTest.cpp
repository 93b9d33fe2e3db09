#include "FollowHarness.h"

#include "firewall/FixedPaths.h"
#include "intake/RXReadLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <memory>

namespace rovex::test {
namespace {

using Segments = std::vector<std::string>;

class Follow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        m_log = m_root.path() + QString::fromUtf8(paths::pfLog.data(), static_cast<qsizetype>(paths::pfLog.size()));
    }

    void makeLogFolder() const { ASSERT_TRUE(QDir().mkpath(QFileInfo(m_log).absolutePath())); }

    void createLog(const QByteArray& text) const
    {
        makeLogFolder();
        QFile file(m_log);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(text), text.size());
    }

    // Starts a reader that records the bytes it hands on from each file it follows, in
    // order; fileEnded opens the next segment.
    void follow()
    {
        m_reader = std::make_unique<RXReadLog>(m_log);
        QObject::connect(m_reader.get(), &RXReadLog::chunkRead, m_reader.get(), [this](const QByteArray& chunk) {
            EXPECT_TRUE(!chunk.isEmpty() && chunk.size() <= RXReadLog::sliceBytes) << chunk.size();
            m_segments.back().append(chunk.constData(), static_cast<std::size_t>(chunk.size()));
        });
        QObject::connect(m_reader.get(), &RXReadLog::fileEnded, m_reader.get(), [this] { m_segments.emplace_back(); });
        m_reader->checklogfileandreadlog();
    }

    void expectSegments(LogWriter& writer, const Segments& expected)
    {
        EXPECT_TRUE(runUntil([&] { return writer.succeeded() && m_segments == expected; })) << writer.report();
        EXPECT_EQ(m_segments, expected);
    }

    QTemporaryDir m_root;
    QString m_log;
    Segments m_segments {std::string()};
    std::unique_ptr<RXReadLog> m_reader;
};

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

    // Renamed while followed; the name stays missing across polls before the next log appears.
    LogWriter renamed(m_log, {"append:last of the second\n", "rename:", "sleep:1.5", "append:B1\n"});
    expectSegments(renamed, {"tail of the old log\nhalf a li", "first of the new log\nlast of the second\n", "B1\n"});
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
    LogWriter writer(m_log, {"append:first line\n", "sleep:0.3", "append:second line\n"});
    expectSegments(writer, {"first line\nsecond line\n"});
}

TEST_F(Follow, LargeAppendArrivesWholeInSlices)
{
    createLog({});
    follow();
    LogWriter writer(m_log, {"large:"});
    // Every chunk is checked against the slice size as it arrives.
    QFile file(m_log);
    EXPECT_TRUE(runUntil([&] { return writer.succeeded() && m_segments.back().size() >= static_cast<std::size_t>(file.size()); }))
        << writer.report();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    ASSERT_GT(written.size(), 8 * RXReadLog::sliceBytes);
    ASSERT_EQ(m_segments.size(), 1U);
    EXPECT_TRUE(m_segments.front() == written.toStdString()) << "the delivered bytes differ from the file";
}

TEST_F(Follow, FifoAtTheLogPathIsSkippedWithoutBlocking)
{
    makeLogFolder();
    ASSERT_EQ(::mkfifo(QFile::encodeName(m_log).constData(), 0644), 0);
    // Started first: a reader stuck in opening the FIFO would wait for this writer, which
    // fails when it finds a reader there. Then a regular log takes the FIFO's place.
    LogWriter writer(m_log, {"sleep:1.5", "fifo:", "remove:", "append:first of the regular log\n"});
    follow();
    expectSegments(writer, {"first of the regular log\n"});
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
            QStringLiteral("--gtest_filter=%1.%2").arg(QString::fromUtf8(test.test_suite_name()), QString::fromUtf8(test.name()))});
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
    LogWriter writer(m_log, {"chmod:200", "append:written while unreadable\n", "sleep:1.5", "chmod:644", "append:after the chmod\n"});
    expectSegments(writer, {"written while unreadable\nafter the chmod\n"});
}

} // namespace
} // namespace rovex::test
