// What the main menu, help, options and exit pages keep while they are up (the game object owns one).
#pragma once

namespace vm {

struct TMenuPagesState
{};

} // namespace vm
