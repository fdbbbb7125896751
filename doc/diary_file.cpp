#include "doc/diary_file.h"

#include "platform/archive.h"
#include "platform/format.h"
#include "platform/safe_file.h"

#include <cerrno>
#include <cstring>
#include <new>

namespace {

DiaryFileError SystemError(DiaryFileError::Kind kind, const std::string& path, const FileFailure& failure)
{
    DiaryFileError error;
    error.kind = kind;
    error.path = path;
    error.systemError = failure.error;
    if (*failure.step != '\0')
        error.detail = std::string(failure.step) + ": ";
    error.detail += failure.why != nullptr ? failure.why : std::strerror(failure.error);
    return error;
}

DiaryFileError Damaged(const std::string& path, const ArchiveError& cause)
{
    DiaryFileError error;
    error.kind = DiaryFileError::Kind::Damaged;
    error.path = path;
    error.offset = static_cast<long long>(cause.Offset());
    error.detail = FormatString("%s (byte %lld)", cause.what(), error.offset);
    return error;
}

} // namespace

DiaryFileError LoadDiaryBytes(std::string_view bytes, const std::string& path, CTarelogDoc& doc, std::int32_t* version)
{
    DiaryLoadInfo info;
    const DiaryFileError error = LoadDiaryBytes(bytes, path, doc, info);
    if (!error && version != nullptr)
        *version = info.version;
    return error;
}

DiaryFileError LoadDiaryBytes(std::string_view bytes, const std::string& path, CTarelogDoc& doc, DiaryLoadInfo& info)
{
    // The load goes into a scratch document so that a damaged file leaves
    // the open diary exactly as it was.
    CTarelogDoc loaded;
    std::int32_t fileVersion = 0;
    std::size_t trailing = 0;
    try {
        CArchive archive = CArchive::ForLoading(bytes);
        loaded.Serialize(archive);
        trailing = archive.Remaining();
        CArchive header = CArchive::ForLoading(bytes);
        fileVersion = header.ReadInt32("the version number");
    } catch (const ArchiveError& cause) {
        return Damaged(path, cause);
    } catch (const std::bad_alloc&) {
        return SystemError(DiaryFileError::Kind::CannotOpen, path, FileFailure{"loading", ENOMEM, nullptr});
    }
    doc.TakeContents(loaded);
    info.version = fileVersion;
    info.trailingBytes = trailing;
    return {};
}

DiaryFileError LoadDiaryFile(const std::string& path, CTarelogDoc& doc, std::int32_t* version)
{
    DiaryLoadInfo info;
    const DiaryFileError error = LoadDiaryFile(path, doc, info);
    if (!error && version != nullptr)
        *version = info.version;
    return error;
}

DiaryFileError LoadDiaryFile(const std::string& path, CTarelogDoc& doc, DiaryLoadInfo& info)
{
    std::string bytes;
    FileFailure failure;
    if (!ReadWholeFile(path, bytes, failure))
        return SystemError(DiaryFileError::Kind::CannotOpen, path, failure);
    return LoadDiaryBytes(bytes, path, doc, info);
}

std::string StoreDiaryBytes(const CTarelogDoc& doc)
{
    std::string bytes;
    bytes.reserve(8 + doc.Records().size() * sizeof(WeightRecord) + 8 + 2 * doc.m_unit.size() + 4);
    CArchive archive = CArchive::ForStoring(bytes);
    doc.Store(archive);
    return bytes;
}

DiaryFileError SaveDiaryFile(const CTarelogDoc& doc, const std::string& path)
{
    std::string bytes;
    try {
        bytes = StoreDiaryBytes(doc);
    } catch (const std::bad_alloc&) {
        return SystemError(DiaryFileError::Kind::CannotWrite, path, FileFailure{"preparing the new file", ENOMEM, nullptr});
    }
    FileFailure failure;
    if (!ReplaceFileSafely(path, bytes, failure))
        return SystemError(DiaryFileError::Kind::CannotWrite, path, failure);
    return {};
}
