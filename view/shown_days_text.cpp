#include "view/shown_days_text.h"

#include "diary/tarelog_doc.h"
#include "platform/format.h"
#include "view/draw_graph.h"
#include "view/shown_records.h"

#include <algorithm>

std::string ShownDaysText(const CTarelogDoc& doc, int rangeDays)
{
    const ShownRecords shown(doc, rangeDays);
    const int digits = std::clamp(doc.m_digits, 0, kMaxLabelDigits);
    std::string text;
    text.reserve(shown.Records().size() * 20);
    for (const WeightRecord& record : shown.Records())
        text += FormatString("%04d-%02d-%02d\t%.*f\n", record.year, record.month, record.day, digits, record.weight);
    return text;
}
