// Where the asset tests find the files this build generated.
#pragma once

#include <string>

namespace test {

inline std::string AssetPath(const std::string& Relative) { return std::string(VM_ASSET_DIR) + "/" + Relative; }

} // namespace test
