// The start of a run from the car page: music, the race pictures, the run's values, the first race.
#pragma once

namespace vm {

class TGame;

// Starts a run with the car Catalogues.FCarIndex: leaves the car page, loads the race picture list
// the first time (showing the "loading" picture for one frame), sets the run values and builds the
// first race.
void StartRun(TGame& Game);

} // namespace vm
