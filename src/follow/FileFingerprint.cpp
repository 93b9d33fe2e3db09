#include "follow/FileFingerprint.h"

#include <algorithm>

namespace rovex {

namespace {

std::string readSample(const FollowFile& file, off_t offset, std::size_t size)
{
    std::string sample(size, '\0');
    sample.resize(file.readAt(sample.data(), size, offset));
    return sample;
}

bool holds(const FollowFile& file, off_t offset, const std::string& sample)
{
    return sample.empty() || readSample(file, offset, sample.size()) == sample;
}

std::size_t sampleSizeAt(off_t position)
{
    return static_cast<std::size_t>(std::min<off_t>(position, static_cast<off_t>(FileFingerprint::sampleBytes)));
}

} // namespace

FileFingerprint::FileFingerprint(const FollowFileStatus& identity) : m_device(identity.device), m_inode(identity.inode)
{}

FileFingerprint FileFingerprint::of(const FollowFile& file, const FollowFileStatus& identity, off_t position)
{
    FileFingerprint fingerprint(identity);
    const std::size_t sample = sampleSizeAt(position);
    fingerprint.m_head = readSample(file, 0, sample);
    fingerprint.m_beforePosition = readSample(file, position - static_cast<off_t>(sample), sample);
    fingerprint.m_position = position;
    return fingerprint;
}

bool FileFingerprint::sameIdentity(const FollowFileStatus& status) const
{
    return m_device == status.device && m_inode == status.inode;
}

bool FileFingerprint::sameFileAs(const FileFingerprint& other) const
{
    return m_device == other.m_device && m_inode == other.m_inode;
}

void FileFingerprint::advance(std::string_view read)
{
    if (m_head.size() < sampleBytes)
        m_head.append(read.substr(0, sampleBytes - m_head.size()));
    if (read.size() >= sampleBytes) {
        m_beforePosition.assign(read.substr(read.size() - sampleBytes));
    } else {
        m_beforePosition.append(read);
        if (m_beforePosition.size() > sampleBytes)
            m_beforePosition.erase(0, m_beforePosition.size() - sampleBytes);
    }
    m_position += static_cast<off_t>(read.size());
}

bool FileFingerprint::heldBy(const FollowFile& file, off_t size) const
{
    const auto before = static_cast<off_t>(m_beforePosition.size());
    return size >= m_position && holds(file, 0, m_head) && holds(file, m_position - before, m_beforePosition);
}

FileFingerprint FileFingerprint::movedTo(const FollowFileStatus& identity) const
{
    FileFingerprint moved = *this;
    moved.m_device = identity.device;
    moved.m_inode = identity.inode;
    return moved;
}

} // namespace rovex
