// What the add-player, profile and high-score pages keep while they are up (the game object owns one).
#pragma once

namespace vm {

struct TProfilePagesState
{};

} // namespace vm
