#include "app/system/CommandRunner.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace rovex {
namespace {

QString shell() { return QStringLiteral("/bin/sh"); }

QString runShell(const QString& command, OutputDecoding decoding = OutputDecoding::Utf8)
{
    return eseguiShellCommand(shell(), {QStringLiteral("-c"), command}, decoding);
}

TEST(CommandRunnerTest, BothStreamsArriveInOneTextInTheOrderWritten)
{
    // The shell's echo is a builtin that writes at once, so the order below is the order
    // of the writes on the two streams.
    const QString text = runShell(QStringLiteral("echo out1; echo err1 >&2; echo out2; echo err2 >&2; printf tail"));
    EXPECT_EQ(text, QStringLiteral("out1\nerr1\nout2\nerr2\ntail"));
}

TEST(CommandRunnerTest, OutputLargerThanAPipeIsReadCompletely)
{
    constexpr qsizetype size = qsizetype{12} << 20;
    // Stdout and stderr both carry megabytes, so a runner that reads one stream only
    // after the child ended would leave the child blocked on the other.
    const QString text = runShell(
        QStringLiteral("head -c 6291456 /dev/zero | tr '\\0' x; head -c 6291456 /dev/zero | tr '\\0' y >&2"));
    ASSERT_EQ(text.size(), size);
    EXPECT_EQ(text.count(u'x'), size / 2);
    EXPECT_EQ(text.count(u'y'), size / 2);
    EXPECT_TRUE(text.startsWith(u'x'));
    EXPECT_TRUE(text.endsWith(u'y'));
}

TEST(CommandRunnerTest, ProgramsThatCannotStartGiveEmptyText)
{
    const QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString notExecutable = folder.filePath(QStringLiteral("plain"));
    QFile plain(notExecutable);
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.write("#!/bin/sh\necho ran\n");
    plain.close();

    EXPECT_EQ(eseguiShellCommand(folder.filePath(QStringLiteral("missing")), {}), QString());
    EXPECT_EQ(eseguiShellCommand(notExecutable, {}), QString());
    EXPECT_EQ(eseguiShellCommand(folder.path(), {}), QString());
    EXPECT_EQ(eseguiShellCommand(QString(), {}), QString());
    // The runner still works after the failures.
    EXPECT_EQ(runShell(QStringLiteral("echo ok")), QStringLiteral("ok\n"));
}

TEST(CommandRunnerTest, ArgumentsReachTheProgramUntouchedByAShell)
{
    const QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString trap = folder.filePath(QStringLiteral("created"));
    const QStringList arguments{
        QStringLiteral("%s|"), QStringLiteral("two words"),       QStringLiteral("$(touch ") + trap + u')',
        QStringLiteral("*"),   QStringLiteral("; touch ") + trap, QString()};
    const QString text = eseguiShellCommand(QStringLiteral("/usr/bin/printf"), arguments);
    EXPECT_EQ(text,
              QStringLiteral("two words|$(touch ") + trap + QStringLiteral(")|*|; touch ") + trap
                  + QStringLiteral("||"));
    EXPECT_FALSE(QFile::exists(trap));
}

TEST(CommandRunnerTest, StandardInputIsTheNullDevice)
{
    // A child that reads its input must see its end at once rather than wait for a
    // terminal or a pipe that the application never writes.
    EXPECT_EQ(runShell(QStringLiteral("readlink /proc/$$/fd/0")), QStringLiteral("/dev/null\n"));
}

TEST(CommandRunnerTest, Utf8DecodingAcceptsOnlyValidText)
{
    EXPECT_EQ(runShell(QStringLiteral("printf 'caf\\303\\251 \\342\\202\\254\\n'")),
              QStringLiteral("caf\u00e9 \u20ac\n"));
    // A lone high byte, a sequence cut off at the end, an overlong form and a surrogate.
    for (const char* bytes : {"ok \\377\\n", "ok \\342\\202", "\\300\\257", "\\355\\240\\200"}) {
        const QString command = QStringLiteral("printf '%1'").arg(QString::fromLatin1(bytes));
        EXPECT_EQ(runShell(command), QString()) << bytes;
    }
}

TEST(CommandRunnerTest, AsciiDecodingReplacesEachByteOutsideAscii)
{
    const QString replacement(QChar::ReplacementCharacter);
    EXPECT_EQ(runShell(QStringLiteral("printf 'caf\\303\\251\\n'"), OutputDecoding::Ascii),
              QStringLiteral("caf") + replacement + replacement + u'\n');
    EXPECT_EQ(runShell(QStringLiteral("printf 'a\\377b\\001\\n'"), OutputDecoding::Ascii),
              QStringLiteral("a") + replacement + QStringLiteral("b\u0001\n"));
    EXPECT_EQ(runShell(QStringLiteral("echo plain; echo err >&2"), OutputDecoding::Ascii),
              QStringLiteral("plain\nerr\n"));
}

} // namespace
} // namespace rovex
