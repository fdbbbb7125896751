#include "doc/diary_file.h"

#include "platform/archive.h"
#include "platform/file_lock.h"
#include "platform/huge_pages.h"
#include "platform/safe_file.h"

#include <cerrno>
#include <memory>
#include <new>

DiaryFileError LoadDiaryBytes(std::string_view bytes, const std::string& path, CTarelogDoc& doc, DiaryFileFacts& facts)
{
    // The load goes into a scratch document so that a damaged file leaves
    // the open diary exactly as it was.
    CTarelogDoc loaded;
    DiaryFileFacts found;
    try {
        CArchive archive = CArchive::ForLoading(bytes);
        loaded.Serialize(archive);
        found.trailingBytes = archive.Remaining();
        CArchive header = CArchive::ForLoading(bytes);
        found.version = header.ReadInt32(PartId(DiaryPart::Version));
    } catch (const ArchiveError& cause) {
        return DamagedDiaryError(path, cause);
    } catch (const std::bad_alloc&) {
        return FileOperationError(DiaryFileError::Kind::CannotOpen, path, FileFailure{FileStep::Loading, ENOMEM});
    }
    doc.TakeContents(loaded);
    found.identity = facts.identity;
    facts = found;
    return {};
}

DiaryFileError LoadDiaryBytes(std::string_view bytes, const std::string& path, CTarelogDoc& doc, std::int32_t* version)
{
    DiaryFileFacts facts;
    const DiaryFileError error = LoadDiaryBytes(bytes, path, doc, facts);
    if (!error && version != nullptr)
        *version = facts.version;
    return error;
}

DiaryFileError LoadDiaryFile(const std::string& path, CTarelogDoc& doc, DiaryFileFacts& facts)
{
    std::string bytes;
    FileFailure failure;
    FileIdentity identity;
    if (!ReadWholeFile(path, bytes, failure, &identity))
        return FileOperationError(DiaryFileError::Kind::CannotOpen, path, failure);
    DiaryFileFacts found;
    found.identity = identity;
    const DiaryFileError error = LoadDiaryBytes(bytes, path, doc, found);
    if (!error)
        facts = found;
    return error;
}

DiaryFileError LoadDiaryFile(const std::string& path, CTarelogDoc& doc, std::int32_t* version)
{
    DiaryFileFacts facts;
    const DiaryFileError error = LoadDiaryFile(path, doc, facts);
    if (!error && version != nullptr)
        *version = facts.version;
    return error;
}

std::string StoreDiaryBytes(const CTarelogDoc& doc)
{
    std::string bytes;
    const std::size_t size = 8 + doc.Records().size() * sizeof(WeightRecord) + 8 + 2 * doc.m_unit.size() + 4;
    bytes.reserve(size);
    AdviseHugePages(bytes.data(), size);
    CArchive archive = CArchive::ForStoring(bytes);
    doc.Store(archive);
    return bytes;
}

namespace {

// The stored bytes, or the reason they must not be written.
DiaryFileError PrepareBytes(const CTarelogDoc& doc, const std::string& path, std::string& bytes)
{
    try {
        bytes = StoreDiaryBytes(doc);
    } catch (const std::bad_alloc&) {
        return FileOperationError(DiaryFileError::Kind::CannotWrite, path, FileFailure{FileStep::PreparingNewFile, ENOMEM});
    }
    // A diary that would not load again (more records than the count field
    // holds, say) must never replace one that does.
    CTarelogDoc check;
    if (const DiaryFileError error = LoadDiaryBytes(bytes, path, check)) {
        DiaryFileError refused = FileOperationError(DiaryFileError::Kind::CannotWrite, path,
            FileFailure{FileStep::CheckingNewFile, EOVERFLOW, FileReason::WouldNotLoadAgain});
        refused.cause = std::make_shared<const DiaryFileError>(error);
        return refused;
    }
    return {};
}

} // namespace

DiaryFileError SaveDiaryFile(const CTarelogDoc& doc, const FileWriteLock& lock)
{
    std::string bytes;
    if (DiaryFileError error = PrepareBytes(doc, lock.Target(), bytes))
        return error;
    FileFailure failure;
    if (!ReplaceFileSafely(lock, bytes, failure))
        return FileOperationError(DiaryFileError::Kind::CannotWrite, lock.Target(), failure);
    return {};
}

DiaryFileError SaveDiaryFile(const CTarelogDoc& doc, const std::string& path)
{
    std::string bytes;
    if (DiaryFileError error = PrepareBytes(doc, path, bytes))
        return error;
    FileFailure failure;
    if (!ReplaceFileSafely(path, bytes, failure))
        return FileOperationError(DiaryFileError::Kind::CannotWrite, path, failure);
    return {};
}

DiaryFileError LockDiaryFile(const std::string& path, FileWriteLock& lock)
{
    FileFailure failure;
    if (!lock.Acquire(path, failure))
        return FileOperationError(DiaryFileError::Kind::CannotWrite, path, failure);
    return {};
}
