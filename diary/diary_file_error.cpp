#include "diary/diary_file_error.h"

#include <cerrno>

DiaryFileError FileOperationError(DiaryFileError::Kind kind, const std::string& path, const FileFailure& failure)
{
    DiaryFileError error;
    error.kind = kind;
    error.path = path;
    error.systemError = failure.error;
    error.failure = failure;
    return error;
}

DiaryFileError DamagedDiaryError(const std::string& path, const ArchiveError& cause)
{
    DiaryFileError error;
    error.kind = DiaryFileError::Kind::Damaged;
    error.path = path;
    error.offset = static_cast<long long>(cause.Offset());
    error.damage = DiaryDamage{static_cast<DiaryPart>(cause.Part()), cause.Problem()};
    return error;
}

DiaryFileError DiaryRefusalError(DiaryFileError::Kind kind, const std::string& path, DiaryRefusal refusal,
    int systemError)
{
    DiaryFileError error;
    error.kind = kind;
    error.path = path;
    error.systemError = systemError;
    error.refusal = refusal;
    return error;
}

bool IsMissingFile(const DiaryFileError& error)
{
    return error.kind == DiaryFileError::Kind::CannotOpen && error.systemError == ENOENT;
}
