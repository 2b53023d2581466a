// Replacing a file so that a failed or interrupted save never leaves it half written.
#pragma once

#include <string>

namespace vm {

// Writes Content to a new temporary file in Path's folder, flushes it to the disk and renames it
// over Path, so Path holds either the old content or the new, never a mix. An existing file's
// permission bits are kept. On failure returns false, removes the temporary file, leaves the old
// file untouched and sets Error to what failed (with the system's reason).
bool WriteFileAtomically(const std::string& Path, const std::string& Content, std::string& Error);

} // namespace vm
