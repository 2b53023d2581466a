// velomarch-scored: the high-score endpoint the game talks to.
#include "scored_app.h"

int main(int ArgC, char** ArgV) { return vm::scored::RunScored(ArgC, ArgV); }
