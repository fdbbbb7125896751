#include "view/record_columns.h"

#include "view/saturating_math.h"

#include <algorithm>
#include <cmath>

RecordColumns::RecordColumns(const CTarelogDoc& doc, double kx, double leftMargin)
    : RecordColumns(std::span<const WeightRecord>(doc.Records()), kx, leftMargin)
{
}

RecordColumns::RecordColumns(std::span<const WeightRecord> records, double kx, double leftMargin)
    : m_kx(kx)
    , m_leftMargin(leftMargin)
{
    if (!records.empty())
        m_first = m_days.Of(records.front());
}

int RecordColumns::OfOffset(std::int64_t offset) const
{
    return TruncToInt(static_cast<double>(offset) * m_kx + m_leftMargin);
}

int RecordColumns::EnterColumn(std::int64_t offset)
{
    m_column = OfOffset(offset);
    m_columnFrom = offset;
    m_columnTo = LastOffsetInColumn(offset, m_column);
    return m_column;
}

// The largest offset, from `from` on, still in `column` (which is from's).
// With kx > 0 the formula never decreases as the offset grows (each step of
// it rounds monotonically), so the offsets of one column form a run. A guess
// from the slope is nearly always the run's end or next to it; two probes
// confirm it, and otherwise a galloping search finds the end. Any other kx
// gives a run of one offset.
std::int64_t RecordColumns::LastOffsetInColumn(std::int64_t from, int column) const
{
    if (!(m_kx > 0.0) || !std::isfinite(m_kx) || !std::isfinite(m_leftMargin))
        return from;
    std::int64_t inside = from;        // known to be in the column
    std::int64_t beyond = kIntMax + 1; // known to be past it, or past the range
    const auto probe = [&](std::int64_t offset) {
        if (offset <= inside || offset >= beyond)
            return;
        if (OfOffset(offset) == column)
            inside = offset;
        else
            beyond = offset;
    };
    const double value = static_cast<double>(from) * m_kx + m_leftMargin;
    const double remaining = (static_cast<double>(column) + 1.0 - value) / m_kx;
    if (remaining >= 0.0 && remaining < static_cast<double>(kIntMax - from)) {
        const std::int64_t guess = from + static_cast<std::int64_t>(remaining);
        probe(guess);
        probe(inside == guess ? guess + 1 : guess - 1);
    }
    for (std::int64_t step = 1; beyond == kIntMax + 1 && inside < kIntMax; step *= 2)
        probe(std::min(inside + step, kIntMax));
    while (beyond - inside > 1)
        probe(inside + (beyond - inside) / 2);
    return inside;
}

std::size_t FirstColumnBeyond(std::span<const WeightRecord> records, std::size_t from, std::int64_t limit,
    RecordColumns columns, std::size_t guess)
{
    const auto within = [&columns, limit](const WeightRecord& record) { return columns.Of(record) <= limit; };
    std::size_t low = from;            // records[from, low) are within
    std::size_t high = records.size(); // records[high, size) are beyond
    // Two probes confirm a good guess.
    if (guess > 1 && guess <= high - low) {
        if (within(records[low + guess - 1])) {
            low += guess;
            if (low == high || !within(records[low]))
                return low;
            ++low;
        } else {
            high = low + guess - 1;
        }
    }
    // Otherwise galloping from there, since the answer is near: a probe far
    // away would miss the memory cache and the month and column the last
    // probe looked up, and cost more than a visit to every record between.
    for (std::size_t step = 1; low < high; step *= 2) {
        const std::size_t probe = low + std::min(step, high - low) - 1;
        if (!within(records[probe])) {
            high = probe;
            break;
        }
        low = probe + 1;
    }
    const auto first = records.begin() + static_cast<std::ptrdiff_t>(low);
    const auto last = records.begin() + static_cast<std::ptrdiff_t>(high);
    return static_cast<std::size_t>(std::partition_point(first, last, within) - records.begin());
}
