#include "diary/sharing/conflict_copies.h"

#include <algorithm>
#include <dirent.h>
#include <regex>
#include <sys/stat.h>

namespace {

struct NameParts {
    std::string_view stem;
    std::string_view extension; // with its dot
};

NameParts Split(std::string_view name)
{
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0)
        return {name, {}};
    return {name.substr(0, dot), name.substr(dot)};
}

// What may stand between the file's stem and its extension.
const std::regex& ConflictInfix()
{
    static const std::regex infix(
        R"(\.sync-conflict-[0-9]{8}-[0-9]{6}-[A-Z2-7]{0,7})"                          // Syncthing
        R"(| \(conflicted copy (?:[^()/]* )?[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{6}\))"   // Nextcloud, ownCloud
        R"(|_conflict[-_](?:[^/]*-)?[0-9]{8}-[0-9]{6})"                               // ownCloud before 2.5
        R"(| \([^()/]*conflicted copy [0-9]{4}-[0-9]{2}-[0-9]{2}(?: \([0-9]+\))?\))", // Dropbox
        std::regex::optimize);
    return infix;
}

std::string DirectoryOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

bool IsConflictCopyName(std::string_view entryName, std::string_view fileName)
{
    const NameParts file = Split(fileName);
    if (file.stem.empty() || entryName.size() <= fileName.size() || !entryName.starts_with(file.stem)
        || !entryName.ends_with(file.extension))
        return false;
    const std::string_view infix = entryName.substr(file.stem.size(),
        entryName.size() - file.stem.size() - file.extension.size());
    return std::regex_match(infix.begin(), infix.end(), ConflictInfix());
}

std::vector<std::string> FindConflictCopies(const std::string& path)
{
    std::vector<std::string> copies;
    const std::size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::string directory = DirectoryOf(path);
    DIR* folder = ::opendir(directory.c_str());
    if (folder == nullptr)
        return copies;
    while (const dirent* entry = ::readdir(folder)) {
        if (!IsConflictCopyName(entry->d_name, name))
            continue;
        const std::string copy = directory + "/" + entry->d_name;
        struct stat info {};
        if (::stat(copy.c_str(), &info) == 0 && S_ISREG(info.st_mode))
            copies.push_back(copy);
    }
    ::closedir(folder);
    std::sort(copies.begin(), copies.end());
    return copies;
}
