#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

// Thrown when a load asks for bytes the stream does not have, or meets a
// string it cannot decode. `what()` says what was being read; the caller
// adds which file.
class ArchiveError : public std::runtime_error {
public:
    ArchiveError(const std::string& message, std::size_t offset)
        : std::runtime_error(message), m_offset(offset) {}
    std::size_t Offset() const { return m_offset; }

private:
    std::size_t m_offset;
};

// A sequential archive over a whole byte stream held in memory: loading
// reads from a view of the file's bytes, storing appends to a string that
// the caller then writes out in one piece. Integers are little-endian.
class CArchive {
public:
    static CArchive ForLoading(std::string_view bytes) { return CArchive(bytes); }
    static CArchive ForStoring(std::string& out) { return CArchive(out); }

    bool IsLoading() const { return m_out == nullptr; }
    bool IsStoring() const { return m_out != nullptr; }

    void WriteInt32(std::int32_t value);
    void Write(const void* data, std::size_t size);
    // The framework's string form: FF FE FF, a length in UTF-16 code units
    // (one byte below 255, FF + 16 bits below 65534, FF FF FF + 32 bits
    // otherwise), then the code units.
    void WriteString(std::u16string_view text);

    std::int32_t ReadInt32(const char* what);
    void Read(void* data, std::size_t size, const char* what);
    // Reads either form: the wide form above, or a length below 255 with no
    // tag, which is that many bytes of Shift_JIS (CP932) text.
    std::u16string ReadString(const char* what);

    std::size_t Position() const { return m_position; }
    std::size_t Remaining() const { return m_in.size() - m_position; }

private:
    explicit CArchive(std::string_view in) : m_in(in) {}
    explicit CArchive(std::string& out) : m_out(&out) {}

    std::u16string ReadStringAt(std::size_t start, const char* what);
    std::uint8_t ReadByte(const char* what);
    std::uint16_t ReadUInt16(const char* what);
    std::uint32_t ReadUInt32(const char* what);
    void Need(std::size_t size, const char* what) const;

    std::string_view m_in;
    std::string* m_out = nullptr;
    std::size_t m_position = 0;
};

// Shift_JIS (CP932) bytes to UTF-16; throws ArchiveError on an invalid sequence.
std::u16string DecodeShiftJis(std::string_view bytes, std::size_t offset);
