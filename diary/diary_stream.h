#pragma once

#include "diary/diary_file.h"
#include "diary/diary_layout.h"
#include "diary/weight_record.h"
#include "platform/file_reader.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// A diary file read a piece at a time, for readers that must not hold all
// of a large diary: Open reads the header and the unit text and digits
// (which come after the records), and the records then come in chunks of a
// fixed size, so memory holds one chunk whatever the record count.
//
// Open accepts and refuses exactly the files LoadDiaryFile does, with the
// same error kind, detail and byte offset, so everything wrong with a
// file's contents is known before the first record is handed out. Only a
// failing read, or a file cut short by someone else while it is read, can
// stop NextChunk; the whole-file loader would have read the shorter file.
class DiaryStream {
public:
    static constexpr std::size_t kDefaultChunkRecords = 16384; // 256 KiB

    explicit DiaryStream(std::size_t chunkRecords = kDefaultChunkRecords);

    Status<DiaryFileError> Open(const std::string& path);

    // The file's contents once Open has succeeded.
    std::int32_t Version() const { return static_cast<std::int32_t>(m_header.version); }
    std::size_t RecordCount() const { return m_header.recordCount; }
    const std::u16string& Unit() const { return m_tail.unit; }
    std::int32_t Digits() const { return m_tail.digits; }

    // The next records in file order; an empty chunk after the last. The
    // chunk stays valid until the next call.
    Result<std::span<const WeightRecord>, DiaryFileError> NextChunk();
    // Starts the records again from the first.
    void Rewind() { m_nextRecord = 0; }

private:
    Status<DiaryFileError> ReadLayout();
    Status<FileFailure> ReadHeader();
    Status<FileFailure> ReadTail();

    std::size_t m_chunkRecords;
    std::string m_path;
    FileReader m_file;
    DiaryHeader m_header;
    DiaryTail m_tail;
    std::size_t m_nextRecord = 0;
    std::vector<WeightRecord> m_chunk;
};
