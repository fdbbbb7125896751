#include "platform/archive.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <memory>

void CArchive::WriteInt32(std::int32_t value)
{
    const auto u = static_cast<std::uint32_t>(value);
    const char bytes[4] = {static_cast<char>(u & 0xFF), static_cast<char>((u >> 8) & 0xFF),
        static_cast<char>((u >> 16) & 0xFF), static_cast<char>((u >> 24) & 0xFF)};
    m_out->append(bytes, 4);
}

void CArchive::Write(const void* data, std::size_t size)
{
    m_out->append(static_cast<const char*>(data), size);
}

void CArchive::WriteString(std::u16string_view text)
{
    std::string& out = *m_out;
    out += "\xFF\xFE\xFF";
    const std::size_t length = text.size();
    auto put16 = [&out](std::uint32_t v) {
        out += static_cast<char>(v & 0xFF);
        out += static_cast<char>((v >> 8) & 0xFF);
    };
    if (length < 0xFF) {
        out += static_cast<char>(length);
    } else if (length < 0xFFFE) {
        out += '\xFF';
        put16(static_cast<std::uint32_t>(length));
    } else {
        out += "\xFF\xFF\xFF";
        const auto l32 = static_cast<std::uint32_t>(length);
        put16(l32 & 0xFFFF);
        put16(l32 >> 16);
    }
    for (char16_t unit : text)
        put16(unit);
}

void CArchive::Need(std::size_t size, ArchivePart part) const
{
    if (size > Remaining())
        throw ArchiveError(ArchiveProblem::EndsInside, part, m_position);
}

void CArchive::Read(void* data, std::size_t size, ArchivePart part)
{
    Need(size, part);
    std::memcpy(data, m_in.data() + m_position, size);
    m_position += size;
}

std::uint8_t CArchive::ReadByte(ArchivePart part)
{
    Need(1, part);
    return static_cast<std::uint8_t>(m_in[m_position++]);
}

std::uint16_t CArchive::ReadUInt16(ArchivePart part)
{
    Need(2, part);
    const auto* p = reinterpret_cast<const unsigned char*>(m_in.data() + m_position);
    m_position += 2;
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t CArchive::ReadUInt32(ArchivePart part)
{
    Need(4, part);
    const auto* p = reinterpret_cast<const unsigned char*>(m_in.data() + m_position);
    m_position += 4;
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8)
        | (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::int32_t CArchive::ReadInt32(ArchivePart part)
{
    return static_cast<std::int32_t>(ReadUInt32(part));
}

std::u16string CArchive::ReadString(ArchivePart part)
{
    // Every failure inside the string is reported at its first byte: that
    // is where the reader can see the string begin.
    const std::size_t start = m_position;
    try {
        return ReadStringAt(start, part);
    } catch (const ArchiveError& error) {
        throw ArchiveError(error.Problem(), part, start);
    }
}

std::u16string CArchive::ReadStringAt(std::size_t start, ArchivePart part)
{
    bool wide = false;
    std::uint32_t length = ReadByte(part);
    if (length == 0xFF) {
        length = ReadUInt16(part);
        if (length == 0xFFFE) {
            // The wide-string tag; the length follows from the start again.
            wide = true;
            length = ReadByte(part);
            if (length == 0xFF)
                length = ReadUInt16(part);
        }
        if (length == 0xFFFF)
            length = ReadUInt32(part);
    }
    if (!wide) {
        Need(length, part);
        const std::string_view bytes = m_in.substr(m_position, length);
        m_position += length;
        return DecodeShiftJis(bytes, start, part);
    }
    // Each code unit takes two bytes; checking before allocating keeps a
    // hostile length from reserving memory the file cannot fill.
    if (length > Remaining() / 2)
        throw ArchiveError(ArchiveProblem::EndsInside, part, start);
    std::u16string text(length, u'\0');
    const auto* p = reinterpret_cast<const unsigned char*>(m_in.data() + m_position);
    for (std::uint32_t i = 0; i < length; ++i)
        text[i] = static_cast<char16_t>(p[2 * i] | (p[2 * i + 1] << 8));
    m_position += 2 * static_cast<std::size_t>(length);
    return text;
}

std::u16string DecodeShiftJis(std::string_view bytes, std::size_t offset, ArchivePart part)
{
    std::u16string out;
    if (bytes.empty())
        return out;
    iconv_t cd = iconv_open("UTF-16LE", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw ArchiveError(ArchiveProblem::NoShiftJisDecoder, part, offset);
    std::unique_ptr<void, int (*)(iconv_t)> guard(cd, iconv_close);
    std::string converted(bytes.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char* outPtr = converted.data();
    std::size_t outLeft = converted.size();
    if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0)
        throw ArchiveError(ArchiveProblem::InvalidShiftJis, part, offset);
    const std::size_t produced = converted.size() - outLeft;
    out.resize(produced / 2);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<char16_t>(
            static_cast<unsigned char>(converted[2 * i]) | (static_cast<unsigned char>(converted[2 * i + 1]) << 8));
    return out;
}
