#pragma once

#include "diary/tarelog_doc.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// What a window's paints of one diary share until its records change: the
// range of the weights, whether the records are in date order, and every
// record's trend. On a million days each costs a pass per paint otherwise,
// and the trend a chain of additions that no pass can shorten (about 5 ms
// here). Each is worked out on the first paint after a change that needs
// it; a change is told by CTarelogDoc::Revision.
class PaintCache {
public:
    CTarelogDoc::WeightRange Weights(const CTarelogDoc& doc);
    bool InDateOrder(const CTarelogDoc& doc);
    // ShownTrend of the whole diary: the trend of each record, by its index.
    std::span<const double> Trend(const CTarelogDoc& doc);

private:
    void Follow(const CTarelogDoc& doc);

    std::uint64_t m_revision = 0;
    std::optional<CTarelogDoc::WeightRange> m_weights;
    std::optional<bool> m_inOrder;
    std::optional<std::vector<double>> m_trend;
};
