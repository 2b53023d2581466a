// The replays page: the kept runs with their player, date, score and races; Enter watches one.
#pragma once

namespace vm {

class TGame;

// Up and Down choose a run, Enter (or Play) watches it, Esc (or Back) goes to the high scores.
// A run that cannot be played says why on the page and stays listed.
void EnterReplays(TGame& Game);
void ReplaysFrame(TGame& Game);
void LeaveReplays(TGame& Game);

} // namespace vm
