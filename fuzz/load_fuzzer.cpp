// The diary loader on arbitrary bytes: it must either load or refuse with an
// ArchiveError, never crash, hang or allocate beyond what the bytes justify.
#include "doc/tarelog_doc.h"
#include "platform/archive.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CTarelogDoc doc;
    CArchive archive = CArchive::ForLoading(std::string_view(reinterpret_cast<const char*>(data), size));
    try {
        doc.Serialize(archive);
    } catch (const ArchiveError&) {
        return 0;
    }
    // What loads must store and load again to the same document.
    std::string stored;
    CArchive out = CArchive::ForStoring(stored);
    doc.Serialize(out);
    CTarelogDoc again;
    CArchive in = CArchive::ForLoading(stored);
    again.Serialize(in);
    if (again.GetRecordCount() != doc.GetRecordCount() || again.m_unit != doc.m_unit || again.m_digits != doc.m_digits)
        __builtin_trap();
    return 0;
}
