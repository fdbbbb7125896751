#include "doc/zip_input.h"

#include "doc/import_inputs.h"
#include "platform/safe_file.h"

#include <archive.h>
#include <archive_entry.h>

bool LooksLikeZip(std::string_view bytes)
{
    return bytes.starts_with(std::string_view("PK\x03\x04", 4));
}

ZipInput::ZipInput(std::string path)
    : m_path(std::move(path))
{
}

ZipInput::~ZipInput()
{
    if (m_archive != nullptr)
        archive_read_free(m_archive);
}

std::string ZipInput::Failure(const char* what) const
{
    const char* why = m_archive != nullptr ? archive_error_string(m_archive) : nullptr;
    return std::string("cannot read the zip archive ") + m_path + ": " + what
        + (why != nullptr ? std::string(": ") + why : "");
}

Status<std::string> ZipInput::ReadPiece(std::string& piece)
{
    piece.resize(kImportPieceBytes);
    const la_ssize_t got = archive_read_data(m_archive, piece.data(), piece.size());
    if (got < 0)
        return Failed{Failure(("reading " + m_entry).c_str())};
    piece.resize(static_cast<std::size_t>(got));
    return {};
}

Result<std::string, ImportError> ZipInput::FindEntry(const std::function<bool(std::string_view start)>& wanted,
    const std::string& what)
{
    m_archive = archive_read_new();
    archive_read_support_format_zip(m_archive);
    if (archive_read_open_filename(m_archive, m_path.c_str(), 64 * 1024) != ARCHIVE_OK)
        return Failed{ImportError{ImportFailure::CannotRead, Failure("opening it")}};
    archive_entry* entry = nullptr;
    int status = ARCHIVE_OK;
    while ((status = archive_read_next_header(m_archive, &entry)) == ARCHIVE_OK) {
        if (archive_entry_filetype(entry) != AE_IFREG)
            continue;
        m_entry = archive_entry_pathname(entry) != nullptr ? archive_entry_pathname(entry) : "";
        // The start of the entry: up to kImportPieceBytes, however the pieces fall.
        m_start.clear();
        std::string piece;
        while (m_start.size() < kImportPieceBytes) {
            if (Status<std::string> read = ReadPiece(piece); !read)
                return Failed{ImportError{ImportFailure::CannotRead, read.error()}};
            if (piece.empty())
                break;
            m_start += piece;
        }
        if (wanted(m_start))
            return m_start;
    }
    if (status != ARCHIVE_EOF)
        return Failed{ImportError{ImportFailure::CannotRead, Failure("listing its files")}};
    return Failed{ImportError{ImportFailure::Unrecognised, "the zip archive holds no " + what}};
}

Result<std::string_view, std::string> ZipInput::NextPiece()
{
    if (!m_startGiven) {
        m_startGiven = true;
        return std::string_view(m_start);
    }
    if (Status<std::string> read = ReadPiece(m_piece); !read)
        return Failed{read.error()};
    return std::string_view(m_piece);
}

Result<std::string_view, std::string> ZipInput::WholeText()
{
    m_whole = m_start;
    m_startGiven = true;
    std::string piece;
    do {
        if (Status<std::string> read = ReadPiece(piece); !read)
            return Failed{read.error()};
        m_whole += piece;
        if (m_whole.size() > kMaxReadableFileSize)
            return Failed{"the file " + m_entry + " in the zip archive " + m_path + " is too large to read whole"};
    } while (!piece.empty());
    return std::string_view(m_whole);
}
