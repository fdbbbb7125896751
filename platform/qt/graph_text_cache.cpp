#include "platform/qt/graph_text_cache.h"

#include <QPaintDevice>
#include <QString>

namespace {

constexpr std::size_t kMaxTexts = 4096;

QString FromUtf8(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

} // namespace

TextSize TextExtent(const QFontMetrics& metrics, std::string_view utf8)
{
    return {metrics.horizontalAdvance(FromUtf8(utf8)), metrics.height()};
}

void GraphTextCache::UseFor(const QPaintDevice* device)
{
    const Resolution resolution = device
        ? Resolution{device->logicalDpiX(), device->logicalDpiY(), device->devicePixelRatioF()}
        : Resolution{};
    if (!(resolution == m_resolution)) {
        m_entries.clear();
        m_resolution = resolution;
    }
}

GraphTextCache::Entry& GraphTextCache::EntryFor(std::string_view utf8)
{
    if (m_entries.size() >= kMaxTexts)
        m_entries.clear();
    return m_entries[std::string(utf8)];
}

TextSize GraphTextCache::Measure(std::string_view utf8, const QFontMetrics& metrics)
{
    Entry& entry = EntryFor(utf8);
    if (!entry.measured) {
        entry.size = TextExtent(metrics, utf8);
        entry.measured = true;
    }
    return entry.size;
}

const QStaticText& GraphTextCache::Layout(std::string_view utf8, const QFont& font)
{
    Entry& entry = EntryFor(utf8);
    if (!entry.laidOut) {
        entry.text.setText(FromUtf8(utf8));
        entry.text.setTextFormat(Qt::PlainText);
        entry.text.prepare(QTransform(), font);
        entry.laidOut = true;
    }
    return entry.text;
}
