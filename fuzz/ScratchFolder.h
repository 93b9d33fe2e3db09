#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

namespace rovex::fuzz {

// A private folder for the readers that take a path: made once per fuzzing process and
// removed when it ends, so runs never write into the source tree or the corpus. It lies in
// memory (/dev/shm) where there is one: every input is written as a file, and a disk
// shared with builds made that the larger part of a run.
class ScratchFolder final {
public:
    ScratchFolder()
    {
        std::error_code missing;
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", missing)
            ? std::filesystem::path("/dev/shm")
            : std::filesystem::temp_directory_path();
        std::string pattern = (base / "rovex-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        m_path = pattern;
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }

    // Writes bytes as the file's whole content; a failed write would fuzz nothing.
    static void write(const std::filesystem::path& file, std::string_view bytes)
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out)
            std::abort();
    }

private:
    std::filesystem::path m_path;
};

} // namespace rovex::fuzz
