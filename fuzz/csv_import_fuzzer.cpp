// The importer (every layout, recognised from the content) on arbitrary text, followed by the merge into a small
// diary: reading may refuse rows, but never crash, and what merges must
// leave the diary in date order with one record per day.
#include "diary/import/day_weight_merge.h"
#include "diary/import/weight_import.h"
#include "diary/tarelog_doc.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Result<WeightImport, ImportError> import = ReadWeightImport(text, ImportLayout::Auto);
    if (!import)
        return 0;
    CTarelogDoc doc;
    doc.SetDayWeight(60.0, 2002, 8, 1);
    doc.SetDayWeight(61.0, 2002, 8, 20);
    MergeDayWeights(doc, ChooseOnePerDay(std::move(import->weighings), KeepRule::Latest).days);
    for (int i = 1; i < doc.GetRecordCount(); ++i)
        if (doc.GetRecord(i - 1).DateKey() >= doc.GetRecord(i).DateKey())
            __builtin_trap();
    return 0;
}
