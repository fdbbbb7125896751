#include "diary/recovery/recovery_store.h"

#include "platform/fnv_hash.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kCopySuffix = ".tlg";
constexpr std::string_view kBaseSuffix = ".base.tlg";
constexpr std::string_view kDiscardedInfix = ".discarded-";

std::string BasePathOf(const std::string& copyPath)
{
    return copyPath.substr(0, copyPath.size() - kCopySuffix.size()) + std::string(kBaseSuffix);
}

std::optional<DiaryContents> LoadContents(const std::string& path)
{
    CTarelogDoc doc;
    if (!LoadDiaryFile(path, doc))
        return std::nullopt;
    return DiaryContents::Of(doc);
}

} // namespace

RecoveryStore::RecoveryStore(std::string folder)
    : m_folder(std::move(folder))
{
}

std::string RecoveryStore::CopyPathOf(const std::string& diaryPath) const
{
    if (diaryPath.empty())
        return m_folder + "/untitled" + std::string(kCopySuffix);
    const std::string name = fs::path(diaryPath).filename().string();
    // Room for the hash, the longest suffix and a discarded date.
    const std::string stem = FittedName(name, 1 + 16 + kDiscardedInfix.size() + 14 + kBaseSuffix.size(), 255);
    return m_folder + "/" + stem + "-" + Fnv1aHex(diaryPath) + std::string(kCopySuffix);
}

bool RecoveryStore::Hold(const std::string& copyPath)
{
    if (m_held.IsHeld() && m_heldPath == copyPath)
        return true;
    m_held.Release();
    if (!m_held.Acquire(copyPath, std::chrono::milliseconds(0)))
        return false;
    m_heldPath = copyPath;
    return true;
}

Status<DiaryFileError> RecoveryStore::Write(const std::string& diaryPath, const CTarelogDoc& doc,
    const DiaryContents& base)
{
    std::error_code ignored;
    fs::create_directories(m_folder, ignored);
    fs::permissions(m_folder, fs::perms::owner_all, ignored);
    const std::string copyPath = CopyPathOf(diaryPath);
    if (!Hold(copyPath))
        return Failed{DiaryRefusalError(DiaryFileError::Kind::CannotWrite, copyPath,
            DiaryRefusal::RecoveryCopyHeldElsewhere, EWOULDBLOCK)};
    CTarelogDoc baseDoc;
    base.ApplyTo(baseDoc);
    if (Status<DiaryFileError> saved = SaveDiaryFile(baseDoc, BasePathOf(copyPath)); !saved)
        return saved;
    return SaveDiaryFile(doc, m_held);
}

void RecoveryStore::Remove(const std::string& diaryPath)
{
    const std::string copyPath = CopyPathOf(diaryPath);
    if (m_heldPath != copyPath) {
        // A copy restored from a window that is gone is this window's now.
        RemoveIfUnheld(diaryPath);
        return;
    }
    std::error_code ignored;
    fs::remove(copyPath, ignored);
    fs::remove(BasePathOf(copyPath), ignored);
    m_held.Release();
    m_heldPath.clear();
}

std::optional<RecoveryStore::Copy> RecoveryStore::Find(const std::string& diaryPath)
{
    const std::string copyPath = CopyPathOf(diaryPath);
    FileWriteLock lock;
    if (!fs::exists(copyPath) || !LockUnheld(copyPath, lock))
        return std::nullopt;
    std::optional<DiaryContents> contents = LoadContents(copyPath);
    if (!contents)
        return std::nullopt;
    return Copy{std::move(*contents), LoadContents(BasePathOf(copyPath))};
}

bool RecoveryStore::LockUnheld(const std::string& copyPath, FileWriteLock& lock) const
{
    return m_heldPath != copyPath && lock.Acquire(copyPath, std::chrono::milliseconds(0));
}

void RecoveryStore::RemoveIfUnheld(const std::string& diaryPath)
{
    const std::string copyPath = CopyPathOf(diaryPath);
    FileWriteLock lock;
    if (!LockUnheld(copyPath, lock))
        return;
    std::error_code ignored;
    fs::remove(copyPath, ignored);
    fs::remove(BasePathOf(copyPath), ignored);
}

void RecoveryStore::Discard(const std::string& diaryPath)
{
    const std::string copyPath = CopyPathOf(diaryPath);
    FileWriteLock lock;
    if (!LockUnheld(copyPath, lock))
        return;
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::strftime(stamp, sizeof stamp, "%Y%m%d%H%M%S", std::localtime(&now));
    const std::string stem = copyPath.substr(0, copyPath.size() - kCopySuffix.size());
    std::error_code ignored;
    fs::rename(copyPath, stem + std::string(kDiscardedInfix) + stamp + std::string(kCopySuffix), ignored);
    fs::remove(BasePathOf(copyPath), ignored);
    RemoveOldDiscarded();
}

void RecoveryStore::RemoveOldDiscarded() const
{
    std::error_code error;
    const auto limit = fs::file_time_type::clock::now() - std::chrono::hours(24 * kDiscardedDays);
    for (const fs::directory_entry& entry : fs::directory_iterator(m_folder, error)) {
        std::error_code ignored;
        if (entry.path().filename().string().find(kDiscardedInfix) != std::string::npos
            && entry.last_write_time(ignored) < limit)
            fs::remove(entry.path(), ignored);
    }
}
