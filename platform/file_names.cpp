#include "platform/file_names.h"

#include "platform/fnv_hash.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

std::size_t NameMaxOf(const std::string& directory)
{
    const long limit = ::pathconf(directory.c_str(), _PC_NAME_MAX);
    return limit > 0 ? static_cast<std::size_t>(limit) : 255;
}

std::string FittedName(std::string_view name, std::size_t extra, std::size_t nameMax)
{
    constexpr std::size_t kHashPart = 1 + 16;
    if (name.size() + extra <= nameMax || nameMax < extra + kHashPart)
        return std::string(name);
    std::size_t keep = nameMax - extra - kHashPart;
    // Never cut a UTF-8 sequence in two: back up to the start of one.
    while (keep > 0 && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80)
        --keep;
    return std::string(name.substr(0, keep)) + "~" + Fnv1aHex(name);
}

Result<std::string, FileFailure> ResolveWriteTarget(const std::string& path)
{
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode))
        return path;
    // A link is kept as a link and the file it leads to is replaced; a link
    // to nothing or to a device must not be turned into a plain file.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return FailedAt(FileStep::Opening, errno, errno == ENOENT ? FileReason::DanglingLink : FileReason::Errno);
    if (!S_ISREG(info.st_mode))
        return FailedAt(FileStep::Opening, EINVAL, FileReason::LinkToNonRegularFile);
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr)
        return FailedAt(FileStep::Opening, errno);
    return std::string(resolved);
}
