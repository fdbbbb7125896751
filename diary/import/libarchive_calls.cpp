#include "diary/import/libarchive_calls.h"

#include <dlfcn.h>

namespace {

struct Loaded {
    LibArchiveCalls calls{};
    std::string failure; // empty when every call was found
};

template <typename Call> bool Find(void* library, const char* name, Call& call)
{
    call = reinterpret_cast<Call>(::dlsym(library, name));
    return call != nullptr;
}

Loaded Load()
{
    Loaded loaded;
    void* library = ::dlopen(TARELOG_LIBARCHIVE_SONAME, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* error = ::dlerror();
        loaded.failure = std::string("libarchive (" TARELOG_LIBARCHIVE_SONAME ") cannot be loaded")
            + (error != nullptr ? std::string(": ") + error : std::string());
        return loaded;
    }
    LibArchiveCalls& c = loaded.calls;
    const bool found = Find(library, "archive_read_new", c.read_new)
        && Find(library, "archive_read_support_format_zip", c.read_support_format_zip)
        && Find(library, "archive_read_open_filename", c.read_open_filename)
        && Find(library, "archive_read_next_header", c.read_next_header)
        && Find(library, "archive_read_data", c.read_data) && Find(library, "archive_read_free", c.read_free)
        && Find(library, "archive_error_string", c.error_string)
        && Find(library, "archive_entry_filetype", c.entry_filetype)
        && Find(library, "archive_entry_pathname", c.entry_pathname);
    if (!found)
        loaded.failure = "libarchive (" TARELOG_LIBARCHIVE_SONAME ") lacks a call that reading zip archives needs";
    return loaded;
}

} // namespace

const LibArchiveCalls* LoadLibArchive(std::string& why)
{
    static const Loaded loaded = Load();
    if (!loaded.failure.empty()) {
        why = loaded.failure;
        return nullptr;
    }
    return &loaded.calls;
}
