#include "follow/FileFingerprint.h"
#include "follow/RecentFiles.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>

// Plain C++ over real files: no event loop is needed to decide which file is which.
namespace rovex::test {
namespace {

namespace fs = std::filesystem;

class Fingerprint : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "rovex-fingerprint-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::string write(const std::string& name, const std::string& text, std::ios::openmode mode = std::ios::trunc) const
    {
        const std::string path = (m_folder / name).string();
        std::ofstream(path, std::ios::binary | std::ios::out | mode) << text;
        return path;
    }

    struct Opened {
        FollowFile file;
        FollowFileStatus status;
    };
    static Opened open(const std::string& path)
    {
        Opened opened{FollowFile::open(path), {}};
        EXPECT_TRUE(opened.file.status(opened.status)) << path;
        return opened;
    }

    // Lines long enough that the samples are only part of the text.
    static std::string text(char tag, int lines)
    {
        std::string made;
        for (int n = 0; n < lines; ++n)
            made += "Dec  6 07:49:00 rule 7/0(match): block in on en0: " + std::string(1, tag) + ' ' + std::to_string(n)
                + '\n';
        return made;
    }

    fs::path m_folder;
};

TEST_F(Fingerprint, HeldWhileTheFileOnlyGrowsWhateverTheReadsWere)
{
    const std::string read = text('A', 40);
    ASSERT_GT(read.size(), 2 * FileFingerprint::sampleBytes);
    const std::string path = write("log", read);
    const Opened log = open(path);

    FileFingerprint inPieces(log.status);
    for (std::size_t at = 0; at < read.size(); at += 7)
        inPieces.advance(std::string_view(read).substr(at, 7));
    FileFingerprint atOnce(log.status);
    atOnce.advance(read);
    const FileFingerprint taken = FileFingerprint::of(log.file, log.status, static_cast<off_t>(read.size()));

    write("log", text('B', 5), std::ios::app);
    const Opened grown = open(path);
    for (const FileFingerprint* fingerprint :
         std::initializer_list<const FileFingerprint*>{&inPieces, &atOnce, &taken}) {
        EXPECT_EQ(fingerprint->position(), static_cast<off_t>(read.size()));
        EXPECT_TRUE(fingerprint->sameIdentity(grown.status));
        EXPECT_TRUE(fingerprint->heldBy(grown.file, grown.status.size));
    }
}

TEST_F(Fingerprint, NotHeldOnceTheTextBeforeThePositionOrAtTheStartChanged)
{
    const std::string read = text('A', 40);
    const std::string path = write("log", read);
    FileFingerprint fingerprint(open(path).status);
    fingerprint.advance(read);

    const auto heldAfter = [&](const std::string& content) {
        write("log", content);
        const Opened changed = open(path);
        return fingerprint.heldBy(changed.file, changed.status.size);
    };
    EXPECT_TRUE(heldAfter(read + "more\n"));
    EXPECT_FALSE(heldAfter(read.substr(0, read.size() - 1))) << "truncated below the position";
    EXPECT_FALSE(heldAfter(text('B', 60))) << "refilled past the position";
    std::string headChanged = read;
    headChanged[3] = 'x';
    EXPECT_FALSE(heldAfter(headChanged)) << "a change in the first bytes";
    std::string tailChanged = read;
    tailChanged[read.size() - 3] = 'x';
    EXPECT_FALSE(heldAfter(tailChanged)) << "a change just before the position";
}

TEST_F(Fingerprint, RecentFilesResumeTheSameFileOrItsTextAndReadNewContentFromTheStart)
{
    const std::string read = text('A', 40);
    const std::string first = write("first", read);
    const Opened log = open(first);
    FileFingerprint fingerprint(log.status);
    fingerprint.advance(read);
    RecentFiles recent;
    recent.remember(fingerprint);
    const auto position = static_cast<off_t>(read.size());

    write("first", text('C', 3), std::ios::app);
    const FileFingerprint back = recent.resumeFor(log.file, open(first).status);
    EXPECT_EQ(back.position(), position) << "the same file, grown";

    const Opened copy = open(write("copy", read + text('C', 3)));
    const FileFingerprint rewritten = recent.resumeFor(copy.file, copy.status);
    EXPECT_EQ(rewritten.position(), position) << "the same text in a new file";
    EXPECT_TRUE(rewritten.sameIdentity(copy.status));

    const Opened other = open(write("other", text('B', 60)));
    EXPECT_EQ(recent.resumeFor(other.file, other.status).position(), 0) << "new content";
    write("first", text('B', 60));
    const Opened refilled = open(first);
    EXPECT_EQ(recent.resumeFor(refilled.file, refilled.status).position(), 0) << "the same file with new content";
}

} // namespace
} // namespace rovex::test
