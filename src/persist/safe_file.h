// Replacing a file so that a failed or interrupted save never leaves it half written.
#pragma once

#include <string>
#include <vector>

namespace vm {

// Writes Content to a new temporary file in Path's folder, flushes it to the disk and renames it
// over Path, so Path holds either the old content or the new, never a mix. An existing file's
// permission bits are kept. On failure returns false, removes the temporary file, leaves the old
// file untouched and sets Error to what failed (with the system's reason).
bool WriteFileAtomically(const std::string& Path, const std::string& Content, std::string& Error);

// Removes the temporary files that saves of Path interrupted by a kill or a crash left beside it
// ("Path.tmp-PID-N" of a process that no longer runs); those of a save running now in another
// process are kept. Called at start-up, before the first save. Returns the paths removed.
std::vector<std::string> RemoveStaleTemporaries(const std::string& Path);

} // namespace vm
