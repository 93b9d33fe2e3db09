#include "sim/LogFileWriter.h"

#include <fcntl.h>

namespace rovex {

LogFileWriter::LogFileWriter(std::filesystem::path file) : m_file(std::move(file))
{
    std::filesystem::create_directories(m_file.parent_path());
    reopen();
}

void LogFileWriter::append(std::string_view bytes) const { m_fd.writeAll(bytes); }

void LogFileWriter::reopen() { m_fd = UniqueFd::open(m_file, O_WRONLY | O_APPEND | O_CREAT); }

} // namespace rovex
