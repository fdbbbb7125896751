#pragma once

#include "diary/import/import_readers.h"

#include <functional>
#include <string>
#include <string_view>

struct archive;
struct LibArchiveCalls;

// An export inside a zip archive, the way people receive them (Apple's
// export.zip, a Google Takeout zip), read through libarchive without
// unpacking anything to disk. The archive is read front to back once: the
// entry chosen is the first whose start a layout recognises, and its bytes
// then stream from where that check left off.
class ZipInput : public ImportInput {
public:
    explicit ZipInput(std::string path);
    ~ZipInput() override;
    ZipInput(const ZipInput&) = delete;
    ZipInput& operator=(const ZipInput&) = delete;

    // Moves to the first file in the archive whose first bytes `wanted`
    // accepts and gives those bytes. Otherwise the failure says why: the
    // archive holds no such file (Unrecognised; `what` names the file looked
    // for) or cannot be read (CannotRead).
    Result<std::string, ImportError> FindEntry(const std::function<bool(std::string_view start)>& wanted,
        const std::string& what);
    // The chosen file's name inside the archive.
    const std::string& EntryName() const { return m_entry; }

    Result<std::string_view, std::string> WholeText() override;
    Result<std::string_view, std::string> NextPiece() override;

private:
    // The next bytes of the chosen file into `piece`, empty at its end.
    Status<std::string> ReadPiece(std::string& piece);
    std::string Failure(const char* what) const;

    std::string m_path;
    const LibArchiveCalls* m_calls = nullptr;
    archive* m_archive = nullptr;
    std::string m_entry;
    std::string m_start; // the chosen entry's first bytes, handed out first
    bool m_startGiven = false;
    std::string m_piece;
    std::string m_whole;
};

// Whether `bytes` begin like a zip archive.
bool LooksLikeZip(std::string_view bytes);
