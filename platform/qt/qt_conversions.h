#pragma once

#include "platform/surface.h"

#include <QColor>
#include <QRect>

// The core's colour and rectangle as Qt's. A colour's top byte is no
// colour and is dropped; a rectangle keeps its exclusive right and bottom.
QColor ToQColor(Color color);
QRect ToQRect(Rect rect);
