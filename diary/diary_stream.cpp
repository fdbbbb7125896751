#include "diary/diary_stream.h"

#include "platform/archive.h"

#include <algorithm>
#include <cerrno>
#include <new>

namespace {

// The tail is usually a few bytes; see ReadTail.
constexpr std::size_t kFirstTailWindow = 4096;

} // namespace

DiaryStream::DiaryStream(std::size_t chunkRecords)
    : m_chunkRecords(std::max<std::size_t>(chunkRecords, 1))
{
}

Status<DiaryFileError> DiaryStream::Open(const std::string& path)
{
    m_path = path;
    m_nextRecord = 0;
    Status<DiaryFileError> opened = ReadLayout();
    if (!opened) {
        // Nothing of a refused file is handed out.
        m_header = {};
        m_tail = {};
    }
    return opened;
}

Status<DiaryFileError> DiaryStream::ReadLayout()
{
    Status<FileFailure> read = m_file.Open(m_path);
    try {
        if (read)
            read = ReadHeader();
        if (read)
            read = ReadTail();
        if (!read)
            return Failed{FileOperationError(DiaryFileError::Kind::CannotOpen, m_path, read.error())};
        m_chunk.resize(std::min(m_chunkRecords, m_header.recordCount));
    } catch (const ArchiveError& cause) {
        return Failed{DamagedDiaryError(m_path, cause)};
    } catch (const std::bad_alloc&) {
        return Failed{
            FileOperationError(DiaryFileError::Kind::CannotOpen, m_path, FileFailure{FileStep::Loading, ENOMEM})};
    }
    return {};
}

Status<FileFailure> DiaryStream::ReadHeader()
{
    std::string bytes(static_cast<std::size_t>(std::min<std::uint64_t>(kDiaryHeaderSize, m_file.Size())), '\0');
    if (Status<FileFailure> read = m_file.ReadAt(0, bytes.data(), bytes.size()); !read)
        return read;
    CArchive archive = CArchive::ForLoading(bytes);
    m_header = ReadDiaryHeader(archive, static_cast<std::size_t>(m_file.Size()));
    return {};
}

// The unit text's length is only known once its first bytes are read, so
// the tail is read in a window that doubles until the text and the digits
// fit: a few bytes for a real diary, at most the rest of the file. A window
// cut short by its own size can fail where the file does not, so only the
// verdict on a window that reaches the end of the file is the file's.
Status<FileFailure> DiaryStream::ReadTail()
{
    m_tail = {};
    if (!HasDiaryTail(m_header.version))
        return {};
    const std::uint64_t start = DiaryTailOffset(m_header);
    const auto rest = static_cast<std::size_t>(m_file.Size() - start);
    std::size_t window = std::min(kFirstTailWindow, rest);
    for (;;) {
        std::string bytes(window, '\0');
        if (Status<FileFailure> read = m_file.ReadAt(start, bytes.data(), window); !read)
            return read;
        CArchive archive = CArchive::ForLoading(bytes);
        try {
            m_tail = ReadDiaryTail(archive, m_header.version);
            return {};
        } catch (const ArchiveError& error) {
            if (window == rest)
                throw error.ShiftedBy(static_cast<std::size_t>(start));
        }
        window = std::min(window * 2, rest);
    }
}

Result<std::span<const WeightRecord>, DiaryFileError> DiaryStream::NextChunk()
{
    const std::size_t count = std::min(m_chunk.size(), m_header.recordCount - m_nextRecord);
    if (count > 0) {
        const Status<FileFailure> read = m_file.ReadAt(kDiaryHeaderSize + m_nextRecord * sizeof(WeightRecord),
            m_chunk.data(), count * sizeof(WeightRecord));
        if (!read)
            return Failed{FileOperationError(DiaryFileError::Kind::CannotOpen, m_path, read.error())};
    }
    m_nextRecord += count;
    return std::span<const WeightRecord>(m_chunk.data(), count);
}
