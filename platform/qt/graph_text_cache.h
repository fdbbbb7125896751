#pragma once

#include "platform/surface.h"

#include <QFont>
#include <QFontMetrics>
#include <QStaticText>

#include <string>
#include <string_view>
#include <unordered_map>

class QPaintDevice;

// The extent of a text as every Qt surface measures it: its advance and
// the font's line height.
TextSize TextExtent(const QFontMetrics& metrics, std::string_view utf8);

// The graph's texts, measured and laid out once: every paint of a window
// shows the same labels again, and laying a text out (shaping it) costs
// more than drawing it. A window keeps one across its paints and hands it
// to each QPainterSurface. It holds texts in GraphFont() for one device
// resolution: UseFor forgets them all when the device's differs. It also
// forgets everything when it grows past a few thousand texts, which only a
// diary of odd units and digit counts reaches. Destroy it before the
// QGuiApplication, as any other font object.
class GraphTextCache {
public:
    void UseFor(const QPaintDevice* device);

    TextSize Measure(std::string_view utf8, const QFontMetrics& metrics);
    // Laid out in `font`; drawn with QPainter::drawStaticText at the text's
    // top-left corner it gives the pixels of drawText on the baseline.
    const QStaticText& Layout(std::string_view utf8, const QFont& font);

private:
    struct Entry {
        bool measured = false;
        TextSize size;
        bool laidOut = false;
        QStaticText text;
    };
    struct Resolution {
        int dpiX = 0;
        int dpiY = 0;
        qreal pixelRatio = 0.0;
        friend bool operator==(const Resolution&, const Resolution&) = default;
    };

    Entry& EntryFor(std::string_view utf8);

    std::unordered_map<std::string, Entry> m_entries;
    Resolution m_resolution;
};
