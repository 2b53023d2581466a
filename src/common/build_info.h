// What a program was built from: the project's version and the git revision of its sources.
#pragma once

#include <string>

namespace vm {

// "0.1.0": the project's version, from the build.
extern const char* const BuildVersion;
// The short git revision, with "-modified" when the sources had uncommitted changes, or "unknown"
// when built outside a git checkout.
extern const char* const BuildRevision;

// "PROGRAM 0.1.0 (git REVISION)": every program's answer to --version.
std::string VersionLine(const std::string& Program);

} // namespace vm
