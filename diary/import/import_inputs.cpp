#include "diary/import/import_inputs.h"

#include "platform/file_reader.h"
#include "platform/safe_file.h"

#include <cerrno>
#include <cstring>

Result<std::string_view, std::string> MemoryInput::WholeText()
{
    return m_bytes;
}

Result<std::string_view, std::string> MemoryInput::NextPiece()
{
    const std::string_view piece = m_bytes.substr(m_pos, kImportPieceBytes);
    m_pos += piece.size();
    return piece;
}

FileInput::~FileInput()
{
    if (m_file != nullptr)
        std::fclose(m_file);
}

Result<std::string_view, std::string> FileInput::WholeText()
{
    Result<std::string, FileFailure> whole = ReadWholeFile(m_path);
    if (!whole)
        return Failed{"cannot read " + m_path + ": " + DescribeFileFailure(whole.error())};
    m_whole = std::move(*whole);
    return std::string_view(m_whole);
}

Result<std::string_view, std::string> FileInput::NextPiece()
{
    if (m_file == nullptr && (m_file = std::fopen(m_path.c_str(), "rb")) == nullptr)
        return Failed{"cannot read " + m_path + ": " + std::strerror(errno)};
    m_piece.resize(kImportPieceBytes);
    const std::size_t got = std::fread(m_piece.data(), 1, m_piece.size(), m_file);
    if (got == 0 && std::ferror(m_file))
        return Failed{"cannot read " + m_path + ": " + std::strerror(errno)};
    return std::string_view(m_piece.data(), got);
}
