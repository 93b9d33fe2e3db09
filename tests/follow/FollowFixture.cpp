#include "FollowFixture.h"

#include "firewall/FixedPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>

namespace rovex::test {

void Follow::SetUp()
{
    ASSERT_TRUE(m_root.isValid());
    m_log = m_root.path() + QString::fromUtf8(paths::pfLog.data(), static_cast<qsizetype>(paths::pfLog.size()));
}

void Follow::makeLogFolder() const { ASSERT_TRUE(QDir().mkpath(QFileInfo(m_log).absolutePath())); }

void Follow::createLog(const QByteArray& text) const
{
    makeLogFolder();
    QFile file(m_log);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(text), text.size());
}

void Follow::appendToLog(const QByteArray& text) const
{
    makeLogFolder();
    QFile file(m_log);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Append));
    ASSERT_EQ(file.write(text), text.size());
}

void Follow::renameLog(const QString& from, const QString& to) const
{
    ASSERT_EQ(::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()), 0);
}

void Follow::follow(const FollowTiming& timing)
{
    m_reader = std::make_unique<RXReadLog>(m_log, timing);
    QObject::connect(m_reader.get(), &RXReadLog::chunkRead, m_reader.get(), [this](const QByteArray& chunk) {
        EXPECT_TRUE(!chunk.isEmpty() && chunk.size() <= RXReadLog::sliceBytes) << chunk.size();
        m_segments.back().append(chunk.constData(), static_cast<std::size_t>(chunk.size()));
    });
    QObject::connect(m_reader.get(), &RXReadLog::fileEnded, m_reader.get(), [this] { m_segments.emplace_back(); });
    m_reader->checklogfileandreadlog();
}

Lines Follow::lines() const
{
    Lines found;
    for (const std::string& segment : m_segments) {
        std::size_t start = 0;
        for (std::size_t end = segment.find('\n'); end != std::string::npos; end = segment.find('\n', start)) {
            found.push_back(segment.substr(start, end - start));
            start = end + 1;
        }
        if (start < segment.size())
            found.push_back(segment.substr(start));
    }
    return found;
}

bool Follow::waitForLine(const std::string& line)
{
    return runUntil([&] { return std::ranges::count(lines(), line) > 0; });
}

void Follow::expectSegments(LogWriter& writer, const Segments& expected)
{
    EXPECT_TRUE(runUntil([&] { return writer.succeeded() && m_segments == expected; })) << writer.report();
    EXPECT_EQ(m_segments, expected);
}

bool Follow::waitForSegments(const Segments& expected)
{
    const bool reached = runUntil([&] { return m_segments == expected; });
    EXPECT_EQ(m_segments, expected);
    return reached;
}

Lines numbered(const char* tag, int first, int count)
{
    Lines lines;
    for (int n = first; n < first + count; ++n)
        lines.push_back("Dec  6 07:49:00 rule 7/0(match): block in on en0: " + std::string(tag) + ' '
                        + std::to_string(n));
    return lines;
}

QByteArray numberedLines(const char* tag, int first, int count)
{
    QByteArray text;
    for (const std::string& line : numbered(tag, first, count))
        text.append(line.data(), static_cast<qsizetype>(line.size())).append('\n');
    return text;
}

Lines concatenated(Lines a, const Lines& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Lines sorted(Lines lines)
{
    std::ranges::sort(lines);
    return lines;
}

HeldLog::HeldLog(const QString& log)
    : m_fd(::open(QFile::encodeName(log).constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644))
{}

HeldLog::~HeldLog()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool HeldLog::write(const QByteArray& text) const
{
    return m_fd >= 0 && ::write(m_fd, text.constData(), static_cast<std::size_t>(text.size())) == text.size();
}

} // namespace rovex::test
