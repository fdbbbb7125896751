#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

// Which field a read is for, numbered by the caller: the archive hands the
// number back in its errors, and only the caller knows what to call it.
using ArchivePart = int;

enum class ArchiveProblem {
    EndsInside,        // the bytes stop before the part does
    CountBeyondData,   // a count asks for more than the bytes after it hold
    InvalidShiftJis,   // one-byte text that is not Shift_JIS
    NoShiftJisDecoder, // this system cannot decode Shift_JIS at all
};

// Thrown when a load asks for bytes the stream does not have, or meets a
// string it cannot decode: what went wrong, in which part, and the byte
// where that part begins. The caller puts it in words and adds which file.
class ArchiveError : public std::exception {
public:
    ArchiveError(ArchiveProblem problem, ArchivePart part, std::size_t offset)
        : m_problem(problem)
        , m_part(part)
        , m_offset(offset)
    {
    }
    const char* what() const noexcept override { return "the archive cannot be read"; }

    ArchiveProblem Problem() const { return m_problem; }
    ArchivePart Part() const { return m_part; }
    std::size_t Offset() const { return m_offset; }
    // The same error for a stream that began `start` bytes into the file.
    ArchiveError ShiftedBy(std::size_t start) const { return ArchiveError(m_problem, m_part, start + m_offset); }

private:
    ArchiveProblem m_problem;
    ArchivePart m_part;
    std::size_t m_offset;
};

// A sequential archive over a whole byte stream held in memory: loading
// reads from a view of the file's bytes, storing appends to a string that
// the caller then writes out in one piece. Integers are little-endian.
class CArchive {
public:
    static CArchive ForLoading(std::string_view bytes) { return CArchive(bytes); }
    static CArchive ForStoring(std::string& out) { return CArchive(out); }

    bool IsStoring() const { return m_out != nullptr; }

    void WriteInt32(std::int32_t value);
    void Write(const void* data, std::size_t size);
    // The framework's string form: FF FE FF, a length in UTF-16 code units
    // (one byte below 255, FF + 16 bits below 65534, FF FF FF + 32 bits
    // otherwise), then the code units.
    void WriteString(std::u16string_view text);

    std::int32_t ReadInt32(ArchivePart part);
    void Read(void* data, std::size_t size, ArchivePart part);
    // Reads either form: the wide form above, or a length below 255 with no
    // tag, which is that many bytes of Shift_JIS (CP932) text.
    std::u16string ReadString(ArchivePart part);

    std::size_t Position() const { return m_position; }
    std::size_t Remaining() const { return m_in.size() - m_position; }

private:
    explicit CArchive(std::string_view in)
        : m_in(in)
    {
    }
    explicit CArchive(std::string& out)
        : m_out(&out)
    {
    }

    std::u16string ReadStringAt(std::size_t start, ArchivePart part);
    std::uint8_t ReadByte(ArchivePart part);
    std::uint16_t ReadUInt16(ArchivePart part);
    std::uint32_t ReadUInt32(ArchivePart part);
    void Need(std::size_t size, ArchivePart part) const;

    std::string_view m_in;
    std::string* m_out = nullptr;
    std::size_t m_position = 0;
};

// Shift_JIS (CP932) bytes to UTF-16; throws ArchiveError on an invalid sequence.
std::u16string DecodeShiftJis(std::string_view bytes, std::size_t offset, ArchivePart part);
