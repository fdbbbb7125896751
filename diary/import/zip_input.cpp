#include "diary/import/zip_input.h"

#include "diary/import/import_inputs.h"
#include "platform/safe_file.h"

#include "diary/import/libarchive_calls.h"

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
        m_calls->read_free(m_archive);
}

std::string ZipInput::Failure(const char* what) const
{
    const char* why = m_archive != nullptr ? m_calls->error_string(m_archive) : nullptr;
    return std::string("cannot read the zip archive ") + m_path + ": " + what
        + (why != nullptr ? std::string(": ") + why : "");
}

Status<std::string> ZipInput::ReadPiece(std::string& piece)
{
    piece.resize(kImportPieceBytes);
    const la_ssize_t got = m_calls->read_data(m_archive, piece.data(), piece.size());
    if (got < 0)
        return Failed{Failure(("reading " + m_entry).c_str())};
    piece.resize(static_cast<std::size_t>(got));
    return {};
}

Result<std::string, ImportError> ZipInput::FindEntry(const std::function<bool(std::string_view start)>& wanted,
    const std::string& what)
{
    std::string missing;
    m_calls = LoadLibArchive(missing);
    if (m_calls == nullptr)
        return Failed{ImportError{ImportFailure::CannotRead, "cannot read the zip archive " + m_path + ": " + missing}};
    m_archive = m_calls->read_new();
    m_calls->read_support_format_zip(m_archive);
    if (m_calls->read_open_filename(m_archive, m_path.c_str(), 64 * 1024) != ARCHIVE_OK)
        return Failed{ImportError{ImportFailure::CannotRead, Failure("opening it")}};
    archive_entry* entry = nullptr;
    int status = ARCHIVE_OK;
    while ((status = m_calls->read_next_header(m_archive, &entry)) == ARCHIVE_OK) {
        if (m_calls->entry_filetype(entry) != AE_IFREG)
            continue;
        const char* name = m_calls->entry_pathname(entry);
        m_entry = name != nullptr ? name : "";
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
