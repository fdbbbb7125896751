#pragma once

#include "platform/file_failure.h"
#include "platform/result.h"

#include <cstddef>
#include <string>
#include <string_view>

// Names of the files a writer works with beside its target: the target a
// write really replaces, and helper names (temporary files, lock files)
// kept within the file system's name limit. Shared by the safe replacement
// and the write lock.

// The file a write to `path` replaces: the path itself, or the regular file
// that a symbolic link leads to. A failure for a link to nothing or to a
// directory, device, pipe or socket.
Result<std::string, FileFailure> ResolveWriteTarget(const std::string& path);

// `name` when `extra` more bytes still fit within `nameMax`; otherwise its
// start, cut at a character boundary, then "~" and a 16-digit hash of the
// whole name, so that different long names keep different helper files.
std::string FittedName(std::string_view name, std::size_t extra, std::size_t nameMax);

// The longest file name the directory `directory` accepts (255 where the
// system does not say).
std::size_t NameMaxOf(const std::string& directory);
