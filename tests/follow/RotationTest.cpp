#include "FollowFixture.h"

#include <QFile>

#include <chrono>

namespace rovex::test {
namespace {

using namespace std::chrono_literals;

// Long enough that a rotated file is never given up during a test.
constexpr FollowTiming slowDrain{1s, 10min};

TEST_F(Follow, RenamedLogStillWrittenIsDrainedWhileTheNewLogIsFollowed)
{
    createLog({});
    follow(slowDrain);
    const HeldLog firewall(m_log);
    ASSERT_TRUE(firewall.write(numberedLines("A", 0, 100)));
    ASSERT_TRUE(waitForLine(numbered("A", 99, 1).front()));

    renameLog(m_log, m_log + QStringLiteral(".1"));
    appendToLog(numberedLines("B", 0, 100));
    ASSERT_TRUE(waitForLine(numbered("B", 99, 1).front())) << "the new log was not followed";
    // The firewall writes on through the descriptor it holds until it reopens its log.
    ASSERT_TRUE(firewall.write(numberedLines("A", 100, 100)));

    EXPECT_TRUE(waitForLine(numbered("A", 199, 1).front()));
    ASSERT_EQ(lines().size(), 300U) << "lines written: 300";
    EXPECT_EQ(sorted(lines()), sorted(concatenated(numbered("A", 0, 200), numbered("B", 0, 100))));
}

TEST_F(Follow, LogRefilledPastTheReadPositionBetweenTwoLooksIsReadFromItsStart)
{
    createLog({});
    follow();
    appendToLog(numberedLines("A", 0, 100));
    ASSERT_TRUE(waitForLine(numbered("A", 99, 1).front()));

    // Truncated and written again beyond the read position while the reader does not
    // look: its size alone cannot tell.
    createLog(numberedLines("B", 0, 200));

    EXPECT_TRUE(waitForLine(numbered("B", 199, 1).front()));
    ASSERT_EQ(lines().size(), 300U) << "lines written: 300";
    EXPECT_EQ(lines(), concatenated(numbered("A", 0, 100), numbered("B", 0, 200)));
}

TEST_F(Follow, LogMovedAwayAndBackResumesWhereItWasLeft)
{
    createLog({});
    follow();
    appendToLog(numberedLines("A", 0, 100));
    ASSERT_TRUE(waitForLine(numbered("A", 99, 1).front()));

    const QString away = m_log + QStringLiteral(".away");
    renameLog(m_log, away);
    ASSERT_TRUE(waitForSegments({numberedLines("A", 0, 100).toStdString(), {}})) << "the log was not given up";
    renameLog(away, m_log);
    appendToLog(numberedLines("A", 100, 100));

    EXPECT_TRUE(waitForLine(numbered("A", 199, 1).front()));
    ASSERT_EQ(lines().size(), 200U) << "lines written: 200";
    EXPECT_EQ(lines(), numbered("A", 0, 200));
}

TEST_F(Follow, SymlinkSwappedBackResumesEachFileWhereItWasLeft)
{
    const QString first = m_root.filePath(QStringLiteral("first.log"));
    const QString second = m_root.filePath(QStringLiteral("second.log"));
    const QString swap = m_root.filePath(QStringLiteral("swap.lnk"));
    const auto pointLogAt = [&](const QString& target) {
        ASSERT_TRUE(QFile::link(target, swap));
        renameLog(swap, m_log);
    };
    makeLogFolder();
    ASSERT_TRUE(QFile(first).open(QIODevice::WriteOnly));
    ASSERT_TRUE(QFile(second).open(QIODevice::WriteOnly));
    pointLogAt(first);
    follow(slowDrain);
    ASSERT_TRUE(HeldLog(first).write(numberedLines("A", 0, 100)));
    ASSERT_TRUE(waitForLine(numbered("A", 99, 1).front()));

    pointLogAt(second);
    ASSERT_TRUE(HeldLog(second).write(numberedLines("B", 0, 100)));
    ASSERT_TRUE(waitForLine(numbered("B", 99, 1).front()));
    pointLogAt(first);
    ASSERT_TRUE(HeldLog(first).write(numberedLines("A", 100, 100)));
    ASSERT_TRUE(waitForLine(numbered("A", 199, 1).front()));
    pointLogAt(second);
    ASSERT_TRUE(HeldLog(second).write(numberedLines("B", 100, 100)));

    EXPECT_TRUE(waitForLine(numbered("B", 199, 1).front()));
    ASSERT_EQ(lines().size(), 400U) << "lines written: 400";
    EXPECT_EQ(lines(),
              concatenated(concatenated(numbered("A", 0, 100), numbered("B", 0, 100)),
                           concatenated(numbered("A", 100, 100), numbered("B", 100, 100))));
}

TEST_F(Follow, LogRewrittenWithTheSameStartGoesOnAfterWhatWasRead)
{
    createLog({});
    follow();
    appendToLog(numberedLines("A", 0, 100));
    ASSERT_TRUE(waitForLine(numbered("A", 99, 1).front()));

    // As sed -i does: a new file with the same text and more, put in the log's place.
    const QString rewritten = m_log + QStringLiteral(".sed");
    QFile file(rewritten);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_GT(file.write(numberedLines("A", 0, 150)), 0);
    file.close();
    renameLog(rewritten, m_log);

    EXPECT_TRUE(waitForLine(numbered("A", 149, 1).front()));
    ASSERT_EQ(lines().size(), 150U) << "lines written: 150";
    EXPECT_EQ(lines(), numbered("A", 0, 150));
}

} // namespace
} // namespace rovex::test
