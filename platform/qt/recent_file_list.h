#pragma once

#include <QString>
#include <QStringList>

class QSettings;

// The most recently used files, newest first, kept in the profile under
// "Recent File List" as File1, File2, ... Every change is written at once.
class CRecentFileList {
public:
    CRecentFileList(QSettings& settings, int size);

    void ReadList();
    // Puts `path` at the head; an entry already in the list moves up.
    void Add(const QString& path);
    void Remove(int index);

    int GetSize() const { return static_cast<int>(m_files.size()); }
    const QString& operator[](int index) const { return m_files[index]; }
    // "&1 name" for the menu; the whole path when two entries share a name.
    QString MenuText(int index) const;

private:
    void WriteList();

    QSettings& m_settings;
    int m_maxSize;
    QStringList m_files;
};
