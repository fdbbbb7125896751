#include "view/record_days.h"

#include "platform/calendar_date.h"

void RecordDays::EnterMonth(const WeightRecord& record, std::int64_t month)
{
    m_month = month;
    m_monthStart = CalendarDate::FromYmd(record.year, record.month, 1).DayNumber();
}
