#pragma once

#include "doc/import_readers.h"

#include <functional>
#include <string>
#include <string_view>

struct archive;

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

    enum class Search { Found, NoEntry, Unreadable };
    // Moves to the first file in the archive whose first bytes `wanted`
    // accepts and puts those bytes in `start`. Otherwise `error` says why:
    // the archive holds no such file (`what` names the file looked for) or
    // cannot be read.
    Search FindEntry(const std::function<bool(std::string_view start)>& wanted, const std::string& what,
        std::string& start, std::string& error);
    // The chosen file's name inside the archive.
    const std::string& EntryName() const { return m_entry; }

    bool WholeText(std::string_view& text, std::string& error) override;
    bool NextPiece(std::string_view& piece, std::string& error) override;

private:
    bool ReadPiece(std::string& piece, std::string& error);
    std::string Failure(const char* what) const;

    std::string m_path;
    archive* m_archive = nullptr;
    std::string m_entry;
    std::string m_start; // the chosen entry's first bytes, handed out first
    bool m_startGiven = false;
    std::string m_piece;
    std::string m_whole;
};

// Whether `bytes` begin like a zip archive.
bool LooksLikeZip(std::string_view bytes);
