#include "diary/sharing/kept_copies.h"

#include "platform/fnv_hash.h"
#include "platform/file_names.h"
#include "platform/file_reader.h"
#include "platform/safe_file.h"

#include <chrono>
#include <filesystem>

namespace fs = std::filesystem;

KeptCopies::KeptCopies(std::string folder, int days)
    : m_folder(std::move(folder))
    , m_days(days)
{
}

bool KeptCopies::Keep(const std::string& path) const
{
    const Result<std::string, FileFailure> bytes = ReadWholeFile(path);
    if (!bytes)
        return false;
    std::error_code error;
    fs::create_directories(m_folder, error);
    fs::permissions(m_folder, fs::perms::owner_all, error);
    const std::string name = fs::path(path).filename().string();
    const std::string kept = m_folder + "/" + FittedName(name, 1 + 16, 255) + "-" + Fnv1aHex(path);
    return ReplaceFileSafely(kept, *bytes).has_value();
}

void KeptCopies::RemoveExpired() const
{
    std::error_code error;
    const auto limit = fs::file_time_type::clock::now() - std::chrono::hours(24) * m_days;
    for (const fs::directory_entry& entry : fs::directory_iterator(m_folder, error)) {
        std::error_code ignored;
        if (entry.is_regular_file(ignored) && entry.last_write_time(ignored) < limit)
            fs::remove(entry.path(), ignored);
    }
}
