#pragma once

#include <QLockFile>
#include <QString>

// A file held from the start of the window until it has painted what it
// opened. Found at the next start without a live owner, it means that start
// never got that far: the file it was opening probably crashed or hung it.
//
// The owner is checked as QLockFile checks a lock: the process id, and that
// the process of that id runs this program on this host since the same
// boot. After a restart the id may well belong to another program; the
// marker is then as dead as its writer.
class StartMarker {
public:
    explicit StartMarker(const QString& path);

    // Takes the marker for this start. True when a previous start left one
    // behind and is gone; false when there was none, or another window is
    // starting at this moment (and holds it).
    bool Take();

    // Removes this start's marker (nothing when it was not taken).
    void Release();

private:
    QLockFile m_lock;
};
