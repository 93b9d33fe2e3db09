#include "ScopedEnvironment.h"
#include "TestFiles.h"

#include "app/system/ScriptRunners.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace rovex {
namespace {

const QString error = QStringLiteral("ERROR");

TEST(ScriptRunnersTest, ShellScriptGivesItsOutputWithoutTheLastLineBreak)
{
    EXPECT_EQ(doShellScript(QStringLiteral("echo ok")), QStringLiteral("ok"));
    // Only one line break goes; inner ones and further ones stay.
    EXPECT_EQ(doShellScript(QStringLiteral("printf 'a\\nb\\n\\n'")), QStringLiteral("a\nb\n"));
    EXPECT_EQ(doShellScript(QStringLiteral("printf 'no break'")), QStringLiteral("no break"));
    // Standard error is not part of the result.
    EXPECT_EQ(doShellScript(QStringLiteral("echo out; echo err >&2")), QStringLiteral("out"));
    // Pipes and quotes are the shell's own.
    EXPECT_EQ(doShellScript(QStringLiteral("printf '%s\\n' \"two words\" | tr a-z A-Z")), QStringLiteral("TWO WORDS"));
    EXPECT_EQ(doShellScript(QStringLiteral("printf 'caf\\303\\251'")), QStringLiteral("caf\u00e9"));
}

TEST(ScriptRunnersTest, FailingShellScriptGivesEmptyText)
{
    EXPECT_EQ(doShellScript(QStringLiteral("echo partial; exit 1")), QString());
    EXPECT_EQ(doShellScript(QStringLiteral("echo partial; kill -KILL $$")), QString());
    EXPECT_EQ(doShellScript(QStringLiteral("/no/such/program")), QString());
    EXPECT_EQ(doShellScript(QStringLiteral("if then fi (")), QString());
}

TEST(ScriptRunnersTest, LargeOutputOnBothStreamsDoesNotBlockTheScript)
{
    const QString text = doShellScript(
        QStringLiteral("head -c 4194304 /dev/zero | tr '\\0' e >&2; head -c 4194304 /dev/zero | tr '\\0' o"));
    ASSERT_EQ(text.size(), qsizetype{4} << 20);
    EXPECT_EQ(text.count(u'o'), text.size());
}

TEST(ScriptRunnersTest, PureScriptRunsToItsEndAndIgnoresItsResult)
{
    const QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString done = folder.filePath(QStringLiteral("done"));
    // The call returns only once the script ended, so the file is there at once.
    doPureAppleScript(QStringLiteral("head -c 3000000 /dev/zero; sleep 0.2; echo finished > '") + done + u'\'');
    EXPECT_EQ(test::readWhole(done), QByteArray("finished\n"));
    doPureAppleScript(QStringLiteral("echo noise >&2; exit 7"));
    doPureAppleScript(QStringLiteral("if then fi ("));
}

// pkexec cannot answer for a password in a test, so these put a stand-in named pkexec
// first on the search path: one that refuses, one that runs what it is given.
class AdminScriptTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_bin.isValid()); }

    void installPkexec(const QByteArray& body)
    {
        const QString path = m_bin.filePath(QStringLiteral("pkexec"));
        ASSERT_TRUE(test::writeExecutable(path, "#!/bin/sh\n" + body));
    }

    QString searchPath() const { return m_bin.path(); }

private:
    QTemporaryDir m_bin;
};

TEST_F(AdminScriptTest, MissingPkexecGivesError)
{
    const test::ScopedEnvironment path("PATH", searchPath());
    EXPECT_EQ(doScriptWithAdmin(QStringLiteral("echo ok")), error);
}

TEST_F(AdminScriptTest, RefusedOrCancelledGivesError)
{
    const test::ScopedEnvironment path("PATH", searchPath());
    // pkexec's own status for a dismissed dialog, then for a refusal.
    installPkexec("echo 'Request dismissed'; exit 126\n");
    EXPECT_EQ(doScriptWithAdmin(QStringLiteral("echo ok")), error);
    installPkexec("echo 'Not authorized'; exit 127\n");
    EXPECT_EQ(doScriptWithAdmin(QStringLiteral("echo ok")), error);
}

TEST_F(AdminScriptTest, AuthorizedCommandGivesItsResultOrErrorWhenItFails)
{
    const test::ScopedEnvironment path("PATH", searchPath());
    // The stand-in insists on being handed exactly "/bin/sh -c COMMAND".
    installPkexec("[ $# -eq 3 ] && [ \"$1\" = /bin/sh ] && [ \"$2\" = -c ] || exit 127\n"
                  "exec \"$@\"\n");
    EXPECT_EQ(doScriptWithAdmin(QStringLiteral("echo granted; echo noise >&2")), QStringLiteral("granted"));
    EXPECT_EQ(doScriptWithAdmin(QStringLiteral("printf '%s' \"a  b\"")), QStringLiteral("a  b"));
    EXPECT_EQ(doScriptWithAdmin(QStringLiteral("echo partial; exit 2")), error);
    EXPECT_EQ(doScriptWithAdmin(QStringLiteral("exit 0")), QString());
}

} // namespace
} // namespace rovex
