// The race texts drawn over the race and its overlays: place, clock, lives and score.
#pragma once

#include <cstdint>
#include <string>

namespace vm {

class TGame;
class TSystemFont;

// "2/4": the player's place and the number of cars.
std::string FormatPlace(int Place, int Cars);
// "1:05:37": minutes unpadded, seconds and hundredths in two digits.
std::string FormatRaceClock(std::int32_t Minutes, std::int32_t Seconds, std::int32_t Hundredths);
// Draws Text starting at X - (its width div 2).
void TextOutCentred(TSystemFont& Font, int X, int Y, const std::string& Text);
// Place, clock, lives and score in Font2, at their places on the dashboard. Call inside a scene.
void DrawRaceTexts(TGame& Game);

} // namespace vm
