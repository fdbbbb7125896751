#include "platform/qt/recent_file_list.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

const QString kSection = QStringLiteral("Recent File List");

QString EntryKey(int index)
{
    return kSection + QStringLiteral("/File%1").arg(index + 1);
}

} // namespace

CRecentFileList::CRecentFileList(QSettings& settings, int size)
    : m_settings(settings)
    , m_maxSize(size)
{
}

void CRecentFileList::ReadList()
{
    m_files.clear();
    for (int i = 0; i < m_maxSize; ++i) {
        const QString path = m_settings.value(EntryKey(i)).toString();
        // A hand-edited profile may hold gaps or the same file twice.
        if (!path.isEmpty() && !m_files.contains(path))
            m_files << path;
    }
}

void CRecentFileList::Add(const QString& path)
{
    if (path.isEmpty() || m_maxSize <= 0)
        return;
    m_files.removeAll(path);
    m_files.prepend(path);
    while (m_files.size() > m_maxSize)
        m_files.removeLast();
    WriteList();
}

void CRecentFileList::Remove(int index)
{
    if (index < 0 || index >= m_files.size())
        return;
    m_files.removeAt(index);
    WriteList();
}

QString CRecentFileList::MenuText(int index) const
{
    const QFileInfo info(m_files[index]);
    QString shown = info.fileName();
    for (int i = 0; i < m_files.size(); ++i) {
        if (i != index && QFileInfo(m_files[i]).fileName() == shown) {
            shown = QDir::toNativeSeparators(m_files[index]);
            break;
        }
    }
    // A '&' in a file name is text, not a mnemonic.
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(shown);
}

void CRecentFileList::WriteList()
{
    for (int i = 0; i < m_maxSize; ++i) {
        if (i < m_files.size())
            m_settings.setValue(EntryKey(i), m_files[i]);
        else
            m_settings.remove(EntryKey(i));
    }
    m_settings.sync();
}
