#include "platform/qt/japanese_font.h"

#include <QFontDatabase>

QString InstalledJapaneseFamily()
{
    const QString family = QStringLiteral("Noto Sans CJK JP");
    return QFontDatabase::hasFamily(family) ? family : QString();
}
