#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace rovex {

// How an archive's bytes are stored.
enum class ArchiveCoding : unsigned char { Bzip2, Gzip, Plain };

struct ArchiveFile {
    std::filesystem::path path;
    ArchiveCoding coding = ArchiveCoding::Bzip2;
};

// The live log a run reads and the names of its archives, newest first. The product's log
// keeps its own naming (pffirewall.log.N.bz2, N from 0); any other log is named as
// logrotate names it: FILE.N.bz2, FILE.N.gz or FILE.N, N from 0, or from 1 where no
// FILE.0 of any kind exists.
class LogArchives final {
public:
    static LogArchives productLog(const std::filesystem::path& root);
    static LogArchives chosenLog(std::filesystem::path log);

    const std::filesystem::path& liveLog() const { return m_liveLog; }
    bool isProductLog() const { return m_productNaming; }

    // Archive `index` (0 = the newest). A chosen log's archive that is there in none of
    // the three kinds is named as the bzip2 one, for the diagnostic that it is missing.
    ArchiveFile archive(std::int64_t index) const;

    // The live log and the archives of it that are there, without opening them.
    std::int64_t countEntries() const;

private:
    LogArchives(std::filesystem::path liveLog, std::filesystem::path productRoot);
    std::filesystem::path numbered(std::int64_t number, const char* suffix) const;
    std::int64_t firstNumber() const;

    std::filesystem::path m_liveLog;
    std::filesystem::path m_productRoot; // empty for a chosen log
    bool m_productNaming;
};

} // namespace rovex
