#include "platform/qt/qt_conversions.h"

QColor ToQColor(Color color)
{
    return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

QRect ToQRect(Rect rect)
{
    return QRect(rect.left, rect.top, rect.Width(), rect.Height());
}
