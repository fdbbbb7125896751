#include "diary/diary_file.h"

#include "platform/file_reader.h"
#include "platform/archive.h"
#include "platform/file_lock.h"
#include "platform/safe_file.h"

#include <cerrno>
#include <memory>
#include <new>

Result<DiaryFileFacts, DiaryFileError> LoadDiaryBytes(std::string_view bytes, const std::string& path, CTarelogDoc& doc)
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
        return Failed{DamagedDiaryError(path, cause)};
    } catch (const std::bad_alloc&) {
        return Failed{
            FileOperationError(DiaryFileError::Kind::CannotOpen, path, FileFailure{FileStep::Loading, ENOMEM})};
    }
    doc.TakeContents(loaded);
    return found;
}

Result<DiaryFileFacts, DiaryFileError> LoadDiaryFile(const std::string& path, CTarelogDoc& doc)
{
    FileIdentity identity;
    const Result<std::string, FileFailure> bytes = ReadWholeFile(path, &identity);
    if (!bytes)
        return Failed{FileOperationError(DiaryFileError::Kind::CannotOpen, path, bytes.error())};
    Result<DiaryFileFacts, DiaryFileError> facts = LoadDiaryBytes(*bytes, path, doc);
    if (facts)
        facts->identity = identity;
    return facts;
}

std::string StoreDiaryBytes(const CTarelogDoc& doc)
{
    std::string bytes;
    const std::size_t size = 8 + doc.Records().size() * sizeof(WeightRecord) + 8 + 2 * doc.m_unit.size() + 4;
    bytes.reserve(size);
    CArchive archive = CArchive::ForStoring(bytes);
    doc.Store(archive);
    return bytes;
}

namespace {

// The stored bytes, or the reason they must not be written.
Result<std::string, DiaryFileError> PrepareBytes(const CTarelogDoc& doc, const std::string& path)
{
    std::string bytes;
    try {
        bytes = StoreDiaryBytes(doc);
    } catch (const std::bad_alloc&) {
        return Failed{FileOperationError(DiaryFileError::Kind::CannotWrite, path,
            FileFailure{FileStep::PreparingNewFile, ENOMEM})};
    }
    // A diary that would not load again (more records than the count field
    // holds, say) must never replace one that does.
    CTarelogDoc check;
    if (const auto loaded = LoadDiaryBytes(bytes, path, check); !loaded) {
        DiaryFileError refused = FileOperationError(DiaryFileError::Kind::CannotWrite, path,
            FileFailure{FileStep::CheckingNewFile, EOVERFLOW, FileReason::WouldNotLoadAgain});
        refused.cause = std::make_shared<const DiaryFileError>(loaded.error());
        return Failed{std::move(refused)};
    }
    return bytes;
}

} // namespace

Status<DiaryFileError> SaveDiaryFile(const CTarelogDoc& doc, const FileWriteLock& lock, const FileIdentity* expected)
{
    const Result<std::string, DiaryFileError> bytes = PrepareBytes(doc, lock.Target());
    if (!bytes)
        return Failed{bytes.error()};
    if (const Status<FileFailure> replaced = ReplaceFileSafely(lock, *bytes, expected); !replaced)
        return Failed{FileOperationError(DiaryFileError::Kind::CannotWrite, lock.Target(), replaced.error())};
    return {};
}

Status<DiaryFileError> SaveDiaryFile(const CTarelogDoc& doc, const std::string& path)
{
    const Result<std::string, DiaryFileError> bytes = PrepareBytes(doc, path);
    if (!bytes)
        return Failed{bytes.error()};
    if (const Status<FileFailure> replaced = ReplaceFileSafely(path, *bytes); !replaced)
        return Failed{FileOperationError(DiaryFileError::Kind::CannotWrite, path, replaced.error())};
    return {};
}

Result<FileWriteLock, DiaryFileError> LockDiaryFile(const std::string& path)
{
    FileWriteLock lock;
    if (const Status<FileFailure> acquired = lock.Acquire(path); !acquired)
        return Failed{FileOperationError(DiaryFileError::Kind::CannotWrite, path, acquired.error())};
    return lock;
}
