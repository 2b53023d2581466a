// The track page.
#pragma once

#include <string>

namespace vm {

class TGame;
struct TTrackInfo;

void EnterChooseTrack(TGame& Game);
void ChooseTrackFrame(TGame& Game);
void LeaveChooseTrack(TGame& Game);

// The best time as the track page shows it: "--:--:--" without a recorded time, else minutes
// unpadded and seconds and hundredths in two digits ("1:05:03").
std::string FormatBestTime(const TTrackInfo& Track);

} // namespace vm
