#include "view/paint_cache.h"

#include "view/shown_records.h"

CTarelogDoc::WeightRange PaintCache::Weights(const CTarelogDoc& doc)
{
    Follow(doc);
    if (!m_weights)
        m_weights = WeightRangeOf(doc.Records());
    return *m_weights;
}

bool PaintCache::InDateOrder(const CTarelogDoc& doc)
{
    Follow(doc);
    if (!m_inOrder)
        m_inOrder = RecordsInDateOrder(doc.Records());
    return *m_inOrder;
}

std::span<const double> PaintCache::Trend(const CTarelogDoc& doc)
{
    Follow(doc);
    if (!m_trend)
        m_trend = ShownTrend(doc, ShownRecords(doc, 0));
    return *m_trend;
}

void PaintCache::Follow(const CTarelogDoc& doc)
{
    if (doc.Revision() == m_revision)
        return;
    m_revision = doc.Revision();
    m_weights.reset();
    m_inOrder.reset();
    m_trend.reset();
}
