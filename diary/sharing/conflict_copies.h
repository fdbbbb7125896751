#pragma once

#include <string>
#include <string_view>
#include <vector>

// The conflict copies that sync engines make of a file beside it when two
// machines changed it before hearing of each other. Each engine keeps one
// version under the file's name and renames the other:
//
//   Syncthing              NAME.sync-conflict-YYYYMMDD-HHMMSS-DEVICE.EXT
//   Nextcloud, ownCloud    NAME (conflicted copy [USER ]YYYY-MM-DD HHMMSS).EXT
//   ownCloud before 2.5    NAME_conflict[_USER]-YYYYMMDD-HHMMSS.EXT
//   Dropbox                NAME (WHO's conflicted copy YYYY-MM-DD[ (N)]).EXT
//
// where NAME.EXT is the file's own name split at its last dot (a name
// without a dot, or with only a leading one, has no EXT), DEVICE is up to
// seven base-32 letters of a device's id, and the dates are each engine's
// own choice of time. docs/reliability.md cites where each form comes from.

// True when `entryName` is one of the above for the file named `fileName`.
bool IsConflictCopyName(std::string_view entryName, std::string_view fileName);

// The paths of the conflict copies beside the file at `path`, sorted by
// name (which, for each engine, is by time). Only regular files count.
std::vector<std::string> FindConflictCopies(const std::string& path);
