#include "FollowHarness.h"

#include "firewall/FixedPaths.h"
#include "intake/RXReadLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>

namespace rovex::test {
namespace {

using Segments = std::vector<std::string>;

// Appends each argument after the path in its own write; "@pause" waits a moment instead.
constexpr const char* appendPieces = R"(
import os, sys, time
os.makedirs(os.path.dirname(sys.argv[1]), exist_ok=True)
fd = os.open(sys.argv[1], os.O_WRONLY | os.O_APPEND | os.O_CREAT, 0o644)
for piece in sys.argv[2:]:
    if piece == '@pause':
        time.sleep(0.3)
    else:
        os.write(fd, piece.encode())
)";

// Appends the tail, then deletes the log (no archive given) or renames it to the archive,
// waits, and writes a new log.
constexpr const char* rotate = R"(
import os, sys, time
log, archive, tail, pause, fresh = sys.argv[1:6]
with open(log, 'ab') as f:
    f.write(tail.encode())
if archive:
    os.rename(log, archive)
else:
    os.unlink(log)
time.sleep(float(pause))
with open(log, 'wb') as f:
    f.write(fresh.encode())
)";

constexpr const char* truncateInPlace = R"(
import sys
with open(sys.argv[1], 'r+b') as f:
    f.truncate(0)
    f.write(sys.argv[2].encode())
)";

// A line in two writes with a pause, then the text in writes of five bytes.
constexpr const char* smallWrites = R"(
import os, sys, time
fd = os.open(sys.argv[1], os.O_WRONLY | os.O_APPEND)
os.write(fd, b'a line written in two ')
time.sleep(0.3)
os.write(fd, b'writes\n')
text = sys.argv[2].encode()
for at in range(0, len(text), 5):
    os.write(fd, text[at:at + 5])
    if at % 1000 == 0:
        time.sleep(0.002)
)";

constexpr const char* largeAppend = R"(
import os, sys
line = b'Dec  6 07:49:%02d rule 7/0(match): block in on en0: 10.0.%d.%d.51234 > 192.168.1.2.%d: tcp\n'
data = b''.join(line % (i % 60, i % 256, i // 256 % 256, i % 65536) for i in range(120000))
fd = os.open(sys.argv[1], os.O_WRONLY | os.O_APPEND)
view = memoryview(data)
while view:
    view = view[os.write(fd, view):]
)";

// While the log is a FIFO, a writer that finds a reader on it sends a line; then the FIFO
// is replaced by a regular log.
constexpr const char* replaceFifo = R"(
import errno, os, sys, time
log = sys.argv[1]
time.sleep(1.5)
try:
    fd = os.open(log, os.O_WRONLY | os.O_NONBLOCK)
    os.write(fd, b'through the fifo\n')
    os.close(fd)
except OSError as error:
    if error.errno != errno.ENXIO:
        raise
os.unlink(log)
with open(log, 'wb') as f:
    f.write(b'first of the regular log\n')
)";

constexpr const char* unreadableThenReadable = R"(
import os, sys, time
log = sys.argv[1]
os.chmod(log, 0o200)
with open(log, 'ab') as f:
    f.write(b'written while unreadable\n')
time.sleep(1.5)
os.chmod(log, 0o644)
with open(log, 'ab') as f:
    f.write(b'after the chmod\n')
)";

constexpr const char* withoutReadOverride = "ROVEX_FOLLOW_WITHOUT_READ_OVERRIDE";

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

    static void expectSegments(LogWriter& writer, const FollowRecorder& recorder, const Segments& expected)
    {
        const bool reached = runUntil([&] { return writer.succeeded() && recorder.segments() == expected; });
        EXPECT_TRUE(reached) << writer.report();
        EXPECT_EQ(recorder.segments(), expected);
    }

    QTemporaryDir m_root;
    QString m_log;
};

TEST_F(Follow, StartsAtTheEndOfAnExistingLog)
{
    createLog("old one\nold two\n");
    RXReadLog reader(m_log);
    const FollowRecorder recorder(reader);
    reader.checklogfileandreadlog();

    LogWriter first(appendPieces, {m_log, QStringLiteral("new one\n")});
    expectSegments(first, recorder, {"new one\n"});
    LogWriter second(appendPieces, {m_log, QStringLiteral("new two\n")});
    expectSegments(second, recorder, {"new one\nnew two\n"});
}

TEST_F(Follow, SmallWritesArriveOnceAndInOrder)
{
    createLog("before the start\n");
    std::string text;
    for (int i = 0; i < 400; ++i)
        text += "pass out on en0: 10.0.0." + std::to_string(i % 256) + ".443 > 10.0.1.9." + std::to_string(i) + "\n";
    RXReadLog reader(m_log);
    const FollowRecorder recorder(reader);
    reader.checklogfileandreadlog();

    LogWriter writer(smallWrites, {m_log, QString::fromStdString(text)});
    expectSegments(writer, recorder, {"a line written in two writes\n" + text});
    EXPECT_EQ(std::count(recorder.chunkSizes().begin(), recorder.chunkSizes().end(), 0U), 0);
}

TEST_F(Follow, DeletedLogEndsWithItsTailAndTheNewOneIsReadFromItsFirstByte)
{
    createLog("old line\n");
    RXReadLog reader(m_log);
    const FollowRecorder recorder(reader);
    reader.checklogfileandreadlog();

    // The tail ends in half a line: the end of the file is what completes it. The reader
    // only looks once the old log is gone and the new one written.
    LogWriter writer(rotate, {m_log, QString(), QStringLiteral("tail of the old log\nhalf a li"), QStringLiteral("0"),
                                 QStringLiteral("first of the new log\n")});
    writer.finishWhileReaderIsBusy();
    expectSegments(writer, recorder, {"tail of the old log\nhalf a li", "first of the new log\n"});
    LogWriter more(appendPieces, {m_log, QStringLiteral("second of the new log\n")});
    expectSegments(more, recorder, {"tail of the old log\nhalf a li", "first of the new log\nsecond of the new log\n"});
}

TEST_F(Follow, RenamedLogIsLeftAndTheNextOneFollowedOnceItExists)
{
    createLog("old line\n");
    const QString archive = m_log + QStringLiteral(".1");
    RXReadLog reader(m_log);
    const FollowRecorder recorder(reader);
    reader.checklogfileandreadlog();

    // The name stays missing across polls before the new log appears.
    LogWriter slow(rotate, {m_log, archive, QStringLiteral("tail one\n"), QStringLiteral("1.5"), QStringLiteral("A1\n")});
    expectSegments(slow, recorder, {"tail one\n", "A1\n"});
    LogWriter quick(rotate, {m_log, archive, QStringLiteral("A2\n"), QStringLiteral("0"), QStringLiteral("B1\n")});
    quick.finishWhileReaderIsBusy();
    expectSegments(quick, recorder, {"tail one\n", "A1\nA2\n", "B1\n"});
}

TEST_F(Follow, TruncatedLogIsFollowedAgainFromItsStart)
{
    createLog("a long line that was there before the start\n");
    RXReadLog reader(m_log);
    const FollowRecorder recorder(reader);
    reader.checklogfileandreadlog();

    LogWriter before(appendPieces, {m_log, QStringLiteral("before the truncation\n")});
    expectSegments(before, recorder, {"before the truncation\n"});
    // Truncated and written again before the reader looks: only the size tells.
    LogWriter truncation(truncateInPlace, {m_log, QStringLiteral("after\n")});
    truncation.finishWhileReaderIsBusy();
    expectSegments(truncation, recorder, {"before the truncation\n", "after\n"});
    LogWriter after(appendPieces, {m_log, QStringLiteral("and on\n")});
    expectSegments(after, recorder, {"before the truncation\n", "after\nand on\n"});
}

TEST_F(Follow, LogMissingAtTheStartIsReadFromItsFirstByte)
{
    // Not even its folder exists yet.
    RXReadLog reader(m_log);
    const FollowRecorder recorder(reader);
    reader.checklogfileandreadlog();

    LogWriter writer(appendPieces,
        {m_log, QStringLiteral("first line\n"), QStringLiteral("@pause"), QStringLiteral("second line\n")});
    expectSegments(writer, recorder, {"first line\nsecond line\n"});
}

TEST_F(Follow, LargeAppendArrivesWholeInSlices)
{
    createLog({});
    RXReadLog reader(m_log);
    const FollowRecorder recorder(reader);
    reader.checklogfileandreadlog();

    LogWriter writer(largeAppend, {m_log});
    QFile file(m_log);
    const auto complete = [&] { return writer.succeeded() && recorder.deliveredBytes() >= static_cast<std::size_t>(file.size()); };
    EXPECT_TRUE(runUntil(complete)) << writer.report();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    ASSERT_GE(written.size(), 8 << 20);
    ASSERT_EQ(recorder.segments().size(), 1U);
    EXPECT_TRUE(recorder.segments().front() == written.toStdString()) << "the delivered bytes differ from the file";
    EXPECT_GE(recorder.chunkSizes().size(), 8U);
    for (const std::size_t size : recorder.chunkSizes()) {
        EXPECT_GT(size, 0U);
        EXPECT_LE(size, static_cast<std::size_t>(RXReadLog::sliceBytes));
    }
}

TEST_F(Follow, FifoAtTheLogPathIsSkippedWithoutBlocking)
{
    makeLogFolder();
    ASSERT_EQ(::mkfifo(QFile::encodeName(m_log).constData(), 0644), 0);
    RXReadLog reader(m_log);
    const FollowRecorder recorder(reader);
    reader.checklogfileandreadlog();

    LogWriter writer(replaceFifo, {m_log});
    expectSegments(writer, recorder, {"first of the regular log\n"});
}

bool opensForReading(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0)
        ::close(fd);
    return fd >= 0;
}

// Root reads any file, so the case is run again in a child without that privilege.
void runAgainWithoutReadOverride()
{
    ASSERT_FALSE(qEnvironmentVariableIsSet(withoutReadOverride)) << "the child still reads a file of mode 000";
    const ::testing::TestInfo& test = *::testing::UnitTest::GetInstance()->current_test_info();
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromUtf8(withoutReadOverride), QStringLiteral("1"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QStringLiteral("setpriv"),
        {QStringLiteral("--bounding-set=-dac_override,-dac_read_search"), QStringLiteral("--"),
            QCoreApplication::applicationFilePath(),
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
    if (opensForReading(m_log)) {
        runAgainWithoutReadOverride();
        return;
    }
    RXReadLog reader(m_log);
    const FollowRecorder recorder(reader);
    reader.checklogfileandreadlog();

    // What was there at the start stays old traffic; what came after is delivered.
    LogWriter writer(unreadableThenReadable, {m_log});
    expectSegments(writer, recorder, {"written while unreadable\nafter the chmod\n"});
}

} // namespace
} // namespace rovex::test
