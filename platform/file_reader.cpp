#include "platform/file_reader.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

FileReader::~FileReader()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

namespace {

// The status of the file open as `fd`, when it is one that is read.
Result<struct stat, FileFailure> ReadableStat(int fd)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return FailedAt(FileStep::Opening, errno);
    if (S_ISDIR(info.st_mode))
        return FailedAt(FileStep::Opening, EISDIR);
    if (!S_ISREG(info.st_mode))
        return FailedAt(FileStep::Opening, EINVAL, FileReason::NotRegularFile);
    if (static_cast<std::uint64_t>(info.st_size) > kMaxReadableFileSize)
        return FailedAt(FileStep::Opening, EFBIG, FileReason::TooLarge);
    return info;
}

} // namespace

Status<FileFailure> FileReader::Open(const std::string& path)
{
    // O_NONBLOCK keeps the open of a named pipe from waiting for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return FailedAt(FileStep::Opening, errno);
    const Result<struct stat, FileFailure> info = ReadableStat(fd);
    if (!info) {
        ::close(fd);
        return Failed{info.error()};
    }
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = fd;
    m_size = static_cast<std::uint64_t>(info->st_size);
    m_identity = IdentityOfStat(*info);
    return {};
}

Result<std::size_t, FileFailure> FileReader::ReadUpTo(std::uint64_t offset, void* data, std::size_t size) const
{
    auto* out = static_cast<char*>(data);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(m_fd, out + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return FailedAt(FileStep::Reading, errno);
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

Status<FileFailure> FileReader::ReadAt(std::uint64_t offset, void* data, std::size_t size) const
{
    const Result<std::size_t, FileFailure> done = ReadUpTo(offset, data, size);
    if (!done)
        return Failed{done.error()};
    if (*done < size)
        return FailedAt(FileStep::Reading, EIO, FileReason::BecameShorter);
    return {};
}

Result<std::string, FileFailure> ReadWholeFile(const std::string& path, FileIdentity* identity)
{
    FileReader reader;
    if (Status<FileFailure> opened = reader.Open(path); !opened)
        return Failed{opened.error()};
    // Sized by the file itself; a file that shrinks meanwhile is read up to
    // its new end, one that grows up to the size it had.
    const auto size = static_cast<std::size_t>(reader.Size());
    std::string buffer;
    buffer.reserve(size);
    buffer.resize(size);
    const Result<std::size_t, FileFailure> done = reader.ReadUpTo(0, buffer.data(), buffer.size());
    if (!done)
        return Failed{done.error()};
    buffer.resize(*done);
    if (identity != nullptr)
        *identity = reader.Identity();
    return buffer;
}
