#include "doc/diary_stream.h"

#include "platform/archive.h"

#include <algorithm>
#include <cerrno>
#include <new>

namespace {

// The tail is usually a few bytes; see ReadTail.
constexpr std::size_t kFirstTailWindow = 4096;

} // namespace

DiaryStream::DiaryStream(std::size_t chunkRecords) : m_chunkRecords(std::max<std::size_t>(chunkRecords, 1)) {}

DiaryFileError DiaryStream::Open(const std::string& path)
{
    m_path = path;
    m_nextRecord = 0;
    DiaryFileError error = ReadLayout();
    if (error) {
        // Nothing of a refused file is handed out.
        m_header = {};
        m_tail = {};
    }
    return error;
}

DiaryFileError DiaryStream::ReadLayout()
{
    FileFailure failure;
    if (!m_file.Open(m_path, failure))
        return FileOperationError(DiaryFileError::Kind::CannotOpen, m_path, failure);
    try {
        if (!ReadHeader(failure) || !ReadTail(failure))
            return FileOperationError(DiaryFileError::Kind::CannotOpen, m_path, failure);
        m_chunk.resize(std::min(m_chunkRecords, m_header.recordCount));
    } catch (const ArchiveError& cause) {
        return DamagedDiaryError(m_path, cause);
    } catch (const std::bad_alloc&) {
        return FileOperationError(DiaryFileError::Kind::CannotOpen, m_path, FileFailure{FileStep::Loading, ENOMEM});
    }
    return {};
}

bool DiaryStream::ReadHeader(FileFailure& failure)
{
    std::string bytes(static_cast<std::size_t>(std::min<std::uint64_t>(kDiaryHeaderSize, m_file.Size())), '\0');
    if (!m_file.ReadAt(0, bytes.data(), bytes.size(), failure))
        return false;
    CArchive archive = CArchive::ForLoading(bytes);
    m_header = ReadDiaryHeader(archive, static_cast<std::size_t>(m_file.Size()));
    return true;
}

// The unit text's length is only known once its first bytes are read, so
// the tail is read in a window that doubles until the text and the digits
// fit: a few bytes for a real diary, at most the rest of the file. A window
// cut short by its own size can fail where the file does not, so only the
// verdict on a window that reaches the end of the file is the file's.
bool DiaryStream::ReadTail(FileFailure& failure)
{
    m_tail = {};
    if (!HasDiaryTail(m_header.version))
        return true;
    const std::uint64_t start = DiaryTailOffset(m_header);
    const auto rest = static_cast<std::size_t>(m_file.Size() - start);
    std::size_t window = std::min(kFirstTailWindow, rest);
    for (;;) {
        std::string bytes(window, '\0');
        if (!m_file.ReadAt(start, bytes.data(), window, failure))
            return false;
        CArchive archive = CArchive::ForLoading(bytes);
        try {
            m_tail = ReadDiaryTail(archive, m_header.version);
            return true;
        } catch (const ArchiveError& error) {
            if (window == rest)
                throw error.ShiftedBy(static_cast<std::size_t>(start));
        }
        window = std::min(window * 2, rest);
    }
}

DiaryFileError DiaryStream::NextChunk(std::span<const WeightRecord>& chunk)
{
    const std::size_t count = std::min(m_chunk.size(), m_header.recordCount - m_nextRecord);
    FileFailure failure;
    if (count > 0
        && !m_file.ReadAt(kDiaryHeaderSize + m_nextRecord * sizeof(WeightRecord), m_chunk.data(),
            count * sizeof(WeightRecord), failure))
        return FileOperationError(DiaryFileError::Kind::CannotOpen, m_path, failure);
    m_nextRecord += count;
    chunk = std::span<const WeightRecord>(m_chunk.data(), count);
    return {};
}
