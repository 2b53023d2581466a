// What the track and car pages keep while they are up (the game object owns one).
#pragma once

namespace vm {

struct TChoicePagesState
{};

} // namespace vm
