#include "platform/qt/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool InstallQtJapanese()
{
    QCoreApplication* application = QCoreApplication::instance();
    if (!application)
        return false;
    // The translator lives as long as the application; a second call (a
    // second start in the same process) finds it there.
    constexpr const char* kName = "qtJapaneseTranslator";
    if (application->findChild<QTranslator*>(QLatin1String(kName), Qt::FindDirectChildrenOnly))
        return true;
    auto* translator = new QTranslator(application);
    translator->setObjectName(QLatin1String(kName));
    if (!translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
