// The program's one page table: every screen state's enter, frame and leave routines.
#pragma once

#include "shell/page_table.h"

namespace vm {

// The rows the game object dispatches through; lives for the whole program.
const TPageRows& GamePages();

} // namespace vm
