// Scripted game controllers on SDL's virtual joysticks.
#include "virtual_pads.h"

#include "engine/pad_input.h"
#include "shell/game.h"

#include <cstdio>
#include <vector>

namespace vm {

namespace {

// A trigger's raw axis on the virtual joystick runs over the whole range; SDL maps it to 0..32767.
Sint16 RawTriggerValue(int Value) { return static_cast<Sint16>(Value * 2 - 32767); }

// The device index of a joystick now (indexes move as pads come and go).
int DeviceIndexOf(SDL_Joystick* Joystick)
{
    const SDL_JoystickID Id = SDL_JoystickInstanceID(Joystick);
    for (int I = 0; I < SDL_NumJoysticks(); ++I)
        if (SDL_JoystickGetDeviceInstanceID(I) == Id)
            return I;
    return -1;
}

} // namespace

TVirtualPads::~TVirtualPads()
{
    for (const auto& [Number, Joystick] : FAttached)
    {
        const int Index = DeviceIndexOf(Joystick);
        SDL_JoystickClose(Joystick);
        if (Index >= 0)
            SDL_JoystickDetachVirtual(Index);
    }
}

bool TVirtualPads::Open(std::string& Error)
{
    // The offscreen window never has the focus; the pads must be heard all the same.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    FPads.OnlyVirtual = true;
    return FPads.Open("", Error);
}

void TVirtualPads::Apply(const TScriptEvent& Event)
{
    const auto Found = FAttached.find(Event.Key);
    SDL_Joystick* Joystick = Found != FAttached.end() ? Found->second : nullptr;
    switch (Event.PadOp)
    {
    case TPadOp::Connect:
    {
        SDL_VirtualJoystickDesc Desc;
        SDL_zero(Desc);
        Desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        Desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        Desc.naxes = PadAxisCount;
        Desc.nbuttons = PadButtonCount;
        Desc.name = "Velomarch script pad";
        Desc.userdata = this;
        Desc.Rumble = [](void* Self, Uint16 Low, Uint16 High) {
            if (Low != 0 || High != 0)
                ++static_cast<TVirtualPads*>(Self)->FRumbles;
            return 0;
        };
        const int Index = SDL_JoystickAttachVirtualEx(&Desc);
        Joystick = Index >= 0 ? SDL_JoystickOpen(Index) : nullptr;
        if (Joystick == nullptr)
        {
            std::fprintf(stderr, "velomarch-headless: line %d: pad %d cannot be connected: %s\n", Event.Line,
                         Event.Key, SDL_GetError());
            return;
        }
        FAttached[Event.Key] = Joystick;
        // Triggers rest at the bottom of their travel.
        SDL_JoystickSetVirtualAxis(Joystick, paLeftTrigger, RawTriggerValue(0));
        SDL_JoystickSetVirtualAxis(Joystick, paRightTrigger, RawTriggerValue(0));
        break;
    }
    case TPadOp::Disconnect:
        if (Joystick != nullptr)
        {
            const int Index = DeviceIndexOf(Joystick);
            SDL_JoystickClose(Joystick);
            if (Index >= 0)
                SDL_JoystickDetachVirtual(Index);
            FAttached.erase(Event.Key);
        }
        break;
    case TPadOp::Down:
    case TPadOp::Up:
        if (Joystick != nullptr)
            SDL_JoystickSetVirtualButton(Joystick, Event.X, Event.PadOp == TPadOp::Down ? 1 : 0);
        break;
    case TPadOp::Axis:
        if (Joystick != nullptr)
        {
            const bool Trigger = Event.X == paLeftTrigger || Event.X == paRightTrigger;
            SDL_JoystickSetVirtualAxis(Joystick, Event.X,
                                       Trigger ? RawTriggerValue(Event.Y) : static_cast<Sint16>(Event.Y));
        }
        break;
    }
}

void TVirtualPads::Deliver(TGame& Game)
{
    SDL_PumpEvents();
    std::vector<SDL_Event> Events(64);
    for (;;)
    {
        const int Count = SDL_PeepEvents(Events.data(), static_cast<int>(Events.size()), SDL_GETEVENT,
                                         SDL_CONTROLLERAXISMOTION, SDL_FINGERDOWN - 1);
        for (int I = 0; I < Count; ++I)
            FPads.HandleEvent(Events[static_cast<std::size_t>(I)], Game);
        if (Count < static_cast<int>(Events.size()))
            break;
    }
    // Nothing else is read in a headless run: the queue is kept empty.
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

} // namespace vm
