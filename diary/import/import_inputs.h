#pragma once

#include "diary/import/import_readers.h"

#include <cstdio>
#include <string>
#include <string_view>

// How much a streaming reader gets at a time, and how much of a file's
// start is looked at to recognise its layout (enough for the document type
// declaration Apple Health puts before its root element).
constexpr std::size_t kImportPieceBytes = 64 * 1024;

// The bytes of an import already in memory.
class MemoryInput : public ImportInput {
public:
    explicit MemoryInput(std::string_view bytes)
        : m_bytes(bytes)
    {
    }

    Result<std::string_view, std::string> WholeText() override;
    Result<std::string_view, std::string> NextPiece() override;

private:
    std::string_view m_bytes;
    std::size_t m_pos = 0;
};

// A file: read whole through the safe file layer's reader (which refuses
// anything but a regular file and absurd sizes), or in pieces to stream.
class FileInput : public ImportInput {
public:
    explicit FileInput(std::string path)
        : m_path(std::move(path))
    {
    }
    ~FileInput() override;
    FileInput(const FileInput&) = delete;
    FileInput& operator=(const FileInput&) = delete;

    Result<std::string_view, std::string> WholeText() override;
    Result<std::string_view, std::string> NextPiece() override;

private:
    std::string m_path;
    std::string m_whole;
    std::string m_piece;
    std::FILE* m_file = nullptr;
};
