#include "app/start_marker.h"

#include <QDir>
#include <QFileInfo>

StartMarker::StartMarker(const QString& path)
    : m_lock(path)
{
    // Never stale by age: a start that hangs for minutes is still alive.
    m_lock.setStaleLockTime(0);
}

bool StartMarker::Take()
{
    const QString path = m_lock.fileName();
    QDir().mkpath(QFileInfo(path).path());
    const bool found = QFileInfo::exists(path);
    // A marker whose owner is gone is removed and taken over by tryLock.
    if (m_lock.tryLock(0))
        return found;
    qint64 pid = 0;
    QString host, application;
    if (m_lock.error() != QLockFile::LockFailedError || m_lock.getLockInfo(&pid, &host, &application))
        return false;
    // A marker that names no owner (empty, cut short, or written by an
    // older version as a bare process id) belongs to nobody alive.
    m_lock.removeStaleLockFile();
    m_lock.tryLock(0);
    return true;
}

void StartMarker::Release()
{
    m_lock.unlock();
}
