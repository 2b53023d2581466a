// Where the race HUD's pieces sit on the 800 x 600 screen, and the sizes the HUD pictures are drawn at.
#pragma once

namespace vm::assetgen::hud {

// The right dashboard panel ("razzler") and the left progress panel ("radar"): their top-left corners.
inline constexpr double PanelX = 541, PanelY = 0;
inline constexpr int PanelWidth = 259, PanelHeight = 600;
inline constexpr double RadarX = 0, RadarY = 180;
inline constexpr int RadarWidth = 58, RadarHeight = 290;

// The game's texts on the dashboard (dark text, top-left y; x is the left edge or the centre).
inline constexpr double PlaceTextX = 750, PlaceTextY = 19;
inline constexpr double ClockCentreX = 760, ClockTextY = 51;
inline constexpr double LivesCentreX = 763, LivesTextY = 84;
inline constexpr double ScoreCentreX = 598, ScoreTextY = 573;
inline constexpr double TextCellHeight = 13; // a text line of the race font, in pixels

// The health bar: drawn with its top-left here, showing the top rows of the picture.
inline constexpr double BarX = 750, BarY = 240;
inline constexpr int BarWidth = 20, BarHeight = 141;

// The speedometer: the needle turns about the pivot; the needle picture is square so that the
// game's placement (pivot 0.9 of the width above the position) and its turning centre agree.
inline constexpr double DialX = 716, DialY = 472;
inline constexpr double DialRadius = 86;      // outer edge of the bezel
inline constexpr int NeedleSize = 84;         // speedarrow width and height
inline constexpr double DialSweep = 197;      // needle turn at full-scale speed, degrees
inline constexpr double DialRestAngle = -135; // needle angle at rest, clockwise from straight up
inline constexpr double DialTopScale = 1.36;  // the needle stops here (times full scale)

// The reverse lamp, centred.
inline constexpr double LampX = 704, LampY = 526;
inline constexpr int LampWidth = 40, LampHeight = 28;

// The progress strip on the radar panel: marker top edges run from StartY to FinishY.
inline constexpr double StripX = 27;
inline constexpr double StripStartY = 415, StripFinishY = 245;
inline constexpr int PlayerMarkWidth = 14, PlayerMarkHeight = 20;
inline constexpr int RivalMarkWidth = 12, RivalMarkHeight = 17;

// The start lights: housing top-left and the lamps' top-left corners (the lamps carry their glow).
inline constexpr double LightsX = 300, LightsY = 50;
inline constexpr int LightsWidth = 204, LightsHeight = 64;
inline constexpr int LampGlowSize = 84; // lamp picture side; the lit glass is centred in it
inline constexpr double LampGlass = 18; // radius of the lit glass
inline constexpr double RedLampX = 286, RedLampY = 37;
inline constexpr double YellowLampX = 360, YellowLampY = 37;
inline constexpr double GreenLampX = 434, GreenLampY = 38;

} // namespace vm::assetgen::hud
