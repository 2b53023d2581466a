// The version line every program prints for --version.
#include "common/build_info.h"

const char* const vm::BuildVersion = VM_VERSION;

std::string vm::VersionLine(const std::string& Program)
{
    return Program + " " + BuildVersion + " (git " + BuildRevision + ")";
}
