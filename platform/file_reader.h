#pragma once

#include "platform/safe_file.h"

#include <cstddef>
#include <cstdint>
#include <string>

// A regular file opened for reads at any offset, for readers that take a
// large file piece by piece instead of holding all of it (ReadWholeFile).
// It refuses what ReadWholeFile refuses, with the same failure: a missing or
// unreadable file, a directory, anything that is not a regular file, a file
// larger than kMaxReadableFileSize.
class FileReader {
public:
    FileReader() = default;
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    Status<FileFailure> Open(const std::string& path);
    bool IsOpen() const { return m_fd >= 0; }

    // The size the file had when it was opened.
    std::uint64_t Size() const { return m_size; }
    const FileIdentity& Identity() const { return m_identity; }

    // Reads exactly `size` bytes at `offset`. A file that has become shorter
    // than that since it was opened is a failure too.
    Status<FileFailure> ReadAt(std::uint64_t offset, void* data, std::size_t size) const;
    // Reads up to `size` bytes at `offset`, fewer where the file now ends;
    // gives how many.
    Result<std::size_t, FileFailure> ReadUpTo(std::uint64_t offset, void* data, std::size_t size) const;

private:
    int m_fd = -1;
    std::uint64_t m_size = 0;
    FileIdentity m_identity;
};

// Reads all of a regular file (see FileReader for what is refused, so that
// the read cannot hang). `identity`, when given, receives the identity of
// the file that was read.
Result<std::string, FileFailure> ReadWholeFile(const std::string& path, FileIdentity* identity = nullptr);
