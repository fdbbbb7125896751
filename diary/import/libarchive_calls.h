#pragma once

#include <archive.h>
#include <archive_entry.h>

#include <string>

// The libarchive calls that reading a zip archive needs, found when the
// first archive is opened. Linked instead, the library and what it links
// in turn (libxml2, nettle, acl, bzip2) would be loaded at every start of
// the window and of tarelog-cli, about a millisecond each time, for the
// rare import of a zip.
struct LibArchiveCalls {
    decltype(&archive_read_new) read_new;
    decltype(&archive_read_support_format_zip) read_support_format_zip;
    decltype(&archive_read_open_filename) read_open_filename;
    decltype(&archive_read_next_header) read_next_header;
    decltype(&archive_read_data) read_data;
    decltype(&archive_read_free) read_free;
    decltype(&archive_error_string) error_string;
    decltype(&archive_entry_filetype) entry_filetype;
    decltype(&archive_entry_pathname) entry_pathname;
};

// The calls, or null when the library cannot be loaded; then `why` says so
// in English. Loaded once per process and never unloaded.
const LibArchiveCalls* LoadLibArchive(std::string& why);
