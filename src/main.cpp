// Velomarch: top-down arcade racing. Starts the game in its window.
#include "platform/sdl/sdl_app.h"

int main() { return vm::RunGame(); }
