#include "doc/import_inputs.h"

#include "platform/safe_file.h"

#include <cerrno>
#include <cstring>

bool MemoryInput::WholeText(std::string_view& text, std::string&)
{
    text = m_bytes;
    return true;
}

bool MemoryInput::NextPiece(std::string_view& piece, std::string&)
{
    piece = m_bytes.substr(m_pos, kImportPieceBytes);
    m_pos += piece.size();
    return true;
}

FileInput::~FileInput()
{
    if (m_file != nullptr)
        std::fclose(m_file);
}

bool FileInput::WholeText(std::string_view& text, std::string& error)
{
    FileFailure failure;
    if (!ReadWholeFile(m_path, m_whole, failure)) {
        error = "cannot read " + m_path + ": " + DescribeFileFailure(failure);
        return false;
    }
    text = m_whole;
    return true;
}

bool FileInput::NextPiece(std::string_view& piece, std::string& error)
{
    if (m_file == nullptr && (m_file = std::fopen(m_path.c_str(), "rb")) == nullptr) {
        error = "cannot read " + m_path + ": " + std::strerror(errno);
        return false;
    }
    m_piece.resize(kImportPieceBytes);
    const std::size_t got = std::fread(m_piece.data(), 1, m_piece.size(), m_file);
    if (got == 0 && std::ferror(m_file)) {
        error = "cannot read " + m_path + ": " + std::strerror(errno);
        return false;
    }
    piece = std::string_view(m_piece.data(), got);
    return true;
}
