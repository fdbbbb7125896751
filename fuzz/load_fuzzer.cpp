// The diary loader on arbitrary bytes: it must either load or refuse with a
// message, never crash, hang or allocate beyond what the bytes justify, and
// a refused load must leave the open diary as it was.
#include "diary/diary_file.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CTarelogDoc doc;
    doc.SetDayWeight(65.5, 2002, 8, 30);
    doc.m_unit = u"kg";
    const std::string before = StoreDiaryBytes(doc);
    if (!LoadDiaryBytes(bytes, "fuzz.tlg", doc)) {
        if (StoreDiaryBytes(doc) != before || doc.GetRecordCount() != 1)
            __builtin_trap();
        return 0;
    }
    // What loads must store and load again to the same file bytes.
    const std::string stored = StoreDiaryBytes(doc);
    CTarelogDoc again;
    if (!LoadDiaryBytes(stored, "again.tlg", again) || StoreDiaryBytes(again) != stored)
        __builtin_trap();
    return 0;
}
