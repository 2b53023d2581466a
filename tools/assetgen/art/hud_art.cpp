// The race HUD's pictures for the race list: panels, gauges, progress markers and start lights.
#include "art/art_modules.h"
#include "art/hud_parts.h"

namespace vm::assetgen {

void AddHudImages(TArtList& Race)
{
    Race.push_back(hud::MakeDashboard());
    Race.push_back(hud::MakeProgressPanel());
    Race.push_back(hud::MakeHealthBar());
    Race.push_back(hud::MakeSpeedNeedle());
    Race.push_back(hud::MakeReverseLamp());
    Race.push_back(hud::MakeProgressMarker(true));
    Race.push_back(hud::MakeProgressMarker(false));
    Race.push_back(hud::MakeStartLightHousing());
    for (int Lamp = 0; Lamp < 3; ++Lamp)
        Race.push_back(hud::MakeStartLamp(Lamp));
}

} // namespace vm::assetgen
