#include "platform/file_reader.h"

#include "platform/huge_pages.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

FileReader::~FileReader()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool FileReader::Open(const std::string& path, FileFailure& failure)
{
    // O_NONBLOCK keeps the open of a named pipe from waiting for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return Fail(failure, FileStep::Opening, errno);
    struct stat info {};
    bool ok = true;
    if (::fstat(fd, &info) != 0)
        ok = Fail(failure, FileStep::Opening, errno);
    else if (S_ISDIR(info.st_mode))
        ok = Fail(failure, FileStep::Opening, EISDIR);
    else if (!S_ISREG(info.st_mode))
        ok = Fail(failure, FileStep::Opening, EINVAL, FileReason::NotRegularFile);
    else if (static_cast<std::uint64_t>(info.st_size) > kMaxReadableFileSize)
        ok = Fail(failure, FileStep::Opening, EFBIG, FileReason::TooLarge);
    if (!ok) {
        ::close(fd);
        return false;
    }
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = fd;
    m_size = static_cast<std::uint64_t>(info.st_size);
    m_identity = IdentityOfStat(info);
    return true;
}

bool FileReader::ReadUpTo(std::uint64_t offset, void* data, std::size_t size, std::size_t& done, FileFailure& failure) const
{
    auto* out = static_cast<char*>(data);
    done = 0;
    while (done < size) {
        const ssize_t n = ::pread(m_fd, out + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Fail(failure, FileStep::Reading, errno);
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool FileReader::ReadAt(std::uint64_t offset, void* data, std::size_t size, FileFailure& failure) const
{
    std::size_t done = 0;
    if (!ReadUpTo(offset, data, size, done, failure))
        return false;
    if (done < size)
        return Fail(failure, FileStep::Reading, EIO, FileReason::BecameShorter);
    return true;
}

bool ReadWholeFile(const std::string& path, std::string& bytes, FileFailure& failure, FileIdentity* identity)
{
    FileReader reader;
    if (!reader.Open(path, failure))
        return false;
    // Sized by the file itself; a file that shrinks meanwhile is read up to
    // its new end, one that grows up to the size it had.
    const auto size = static_cast<std::size_t>(reader.Size());
    std::string buffer;
    buffer.reserve(size);
    AdviseHugePages(buffer.data(), size);
    buffer.resize(size);
    std::size_t done = 0;
    if (!reader.ReadUpTo(0, buffer.data(), buffer.size(), done, failure))
        return false;
    buffer.resize(done);
    bytes = std::move(buffer);
    if (identity != nullptr)
        *identity = reader.Identity();
    return true;
}
