// The race's actions, their default keys and pad controls, and the binding rules.
#include "state/control_bindings.h"

#include "engine/pad_input.h"
#include "engine/virtual_keys.h"

#include <algorithm>
#include <array>
#include <utility>

namespace vm {

namespace {

struct TActionNames
{
    const char* Name;
    const char* Label;
};

constexpr std::array<TActionNames, ActionCount> Names = {{
    {"accelerate", "Accelerate"},
    {"brake", "Brake / reverse"},
    {"left", "Steer left"},
    {"right", "Steer right"},
    {"handbrake", "Hand brake"},
    {"horn", "Horn"},
    {"pause", "Pause"},
    {"leave", "Leave the race"},
}};

// Keys with names of their own; letters and digits name themselves, F1..F12 and Num0..Num9 count.
struct TNamedKey
{
    int Key;
    const char* Label;
};

constexpr TNamedKey NamedKeys[] = {
    {vkBack, "Backspace"}, {vkTab, "Tab"},           {vkReturn, "Enter"},
    {vkShift, "Shift"},    {vkControl, "Ctrl"},      {vkAlt, "Alt"},
    {vkPause, "Pause"},    {vkEscape, "Esc"},        {vkSpace, "Space"},
    {vkPageUp, "PageUp"},  {vkPageDown, "PageDown"}, {vkEnd, "End"},
    {vkHome, "Home"},      {vkLeft, "Left"},         {vkUp, "Up"},
    {vkRight, "Right"},    {vkDown, "Down"},         {vkInsert, "Insert"},
    {vkDelete, "Delete"},  {vkMultiply, "Num*"},     {vkAdd, "Num+"},
    {vkSubtract, "Num-"},  {vkDecimal, "Num."},      {vkDivide, "Num/"},
};

constexpr int FunctionKeys = 12;

struct TNamedControl
{
    int Control;
    const char* Name;
    const char* Label;
};

constexpr TNamedControl ExtraControls[] = {
    {pcLeftTrigger, "lefttrigger", "LT"},  {pcRightTrigger, "righttrigger", "RT"},
    {pcStickLeft, "leftx-", "Stick left"}, {pcStickRight, "leftx+", "Stick right"},
    {pcStickUp, "lefty-", "Stick up"},     {pcStickDown, "lefty+", "Stick down"},
};

constexpr std::array<const char*, PadButtonCount> ButtonLabels = {
    "A",  "B",  "X",  "Y",        "Back",       "Guide",      "Start",      "L3",
    "R3", "LB", "RB", "D-pad up", "D-pad down", "D-pad left", "D-pad right"};

template <typename T> bool Has(const std::vector<T>& List, T Value)
{
    return std::find(List.begin(), List.end(), Value) != List.end();
}

std::string Joined(const std::vector<std::string>& Parts)
{
    std::string Text;
    for (const std::string& Part : Parts)
        Text += (Text.empty() ? "" : " / ") + Part;
    return Text;
}

} // namespace

void TControlBindings::Reset()
{
    FActions[acAccelerate] = {{vkUp}, {pcRightTrigger, pbA}};
    FActions[acBrake] = {{vkDown}, {pcLeftTrigger, pbB}};
    FActions[acSteerLeft] = {{vkLeft}, {pcStickLeft, pbDPadLeft}};
    FActions[acSteerRight] = {{vkRight}, {pcStickRight, pbDPadRight}};
    FActions[acHandBrake] = {{vkSpace, vkControl}, {pbX, pbLeftShoulder, pbRightShoulder}};
    FActions[acHorn] = {{'H', vkNumpad8}, {pbY}};
    FActions[acPause] = {{'P', vkF1}, {pbStart}};
    FActions[acLeave] = {{vkEscape}, {pbBack}};
    Rumble = true;
}

const TActionBinding& TControlBindings::Of(int Action) const
{
    return FActions[static_cast<std::size_t>(std::clamp(Action, 0, ActionCount - 1))];
}

int TControlBindings::ActionOfKey(int Key) const
{
    for (int A = 0; A < ActionCount; ++A)
        if (Has(FActions[A].Keys, Key))
            return A;
    return -1;
}

int TControlBindings::ActionOfPad(int Control) const
{
    for (int A = 0; A < ActionCount; ++A)
        if (Has(FActions[A].Pad, Control))
            return A;
    return -1;
}

TBindResult TControlBindings::BindKey(int Action, int Key, int& Conflict)
{
    Conflict = -1;
    if (Action < 0 || Action >= ActionCount || KeyLabel(Key).empty() || Key == vkEscape || Action == acLeave)
        return TBindResult::Fixed;
    const int Owner = ActionOfKey(Key);
    if (Owner >= 0 && Owner != Action)
    {
        Conflict = Owner;
        return TBindResult::Taken;
    }
    FActions[Action].Keys = {Key};
    return TBindResult::Bound;
}

TBindResult TControlBindings::BindPad(int Action, int Control, int& Conflict)
{
    Conflict = -1;
    if (Action < 0 || Action >= ActionCount || PadControlName(Control).empty())
        return TBindResult::Fixed;
    const int Owner = ActionOfPad(Control);
    if (Owner >= 0 && Owner != Action)
    {
        Conflict = Owner;
        return TBindResult::Taken;
    }
    FActions[Action].Pad = {Control};
    return TBindResult::Bound;
}

void TControlBindings::SetKeys(int Action, std::vector<int> Keys)
{
    if (Action >= 0 && Action < ActionCount)
        FActions[Action].Keys = std::move(Keys);
}

void TControlBindings::SetPad(int Action, std::vector<int> Pad)
{
    if (Action >= 0 && Action < ActionCount)
        FActions[Action].Pad = std::move(Pad);
}

const char* ActionName(int Action)
{
    return Action >= 0 && Action < ActionCount ? Names[static_cast<std::size_t>(Action)].Name : "";
}

const char* ActionLabel(int Action)
{
    return Action >= 0 && Action < ActionCount ? Names[static_cast<std::size_t>(Action)].Label : "";
}

int ActionFromName(const std::string& Name)
{
    for (int A = 0; A < ActionCount; ++A)
        if (Name == Names[static_cast<std::size_t>(A)].Name)
            return A;
    return -1;
}

std::string KeyLabel(int Key)
{
    if ((Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9'))
        return std::string(1, static_cast<char>(Key));
    if (Key >= vkF1 && Key < vkF1 + FunctionKeys)
        return "F" + std::to_string(Key - vkF1 + 1);
    if (Key >= vkNumpad0 && Key <= vkNumpad9)
        return "Num" + std::to_string(Key - vkNumpad0);
    for (const TNamedKey& Named : NamedKeys)
        if (Named.Key == Key)
            return Named.Label;
    return "";
}

int KeyFromLabel(const std::string& Label)
{
    for (int Key = 0; Key < 256; ++Key)
        if (!Label.empty() && KeyLabel(Key) == Label)
            return Key;
    return -1;
}

std::string PadControlName(int Control)
{
    if (Control >= 0 && Control < PadButtonCount)
        return PadButtonName(Control);
    for (const TNamedControl& Named : ExtraControls)
        if (Named.Control == Control)
            return Named.Name;
    return "";
}

int PadControlFromName(const std::string& Name)
{
    for (int Control = 0; Control < PadControlCount; ++Control)
        if (!Name.empty() && PadControlName(Control) == Name)
            return Control;
    return -1;
}

std::string PadControlLabel(int Control)
{
    if (Control >= 0 && Control < PadButtonCount)
        return ButtonLabels[static_cast<std::size_t>(Control)];
    for (const TNamedControl& Named : ExtraControls)
        if (Named.Control == Control)
            return Named.Label;
    return "";
}

std::string KeysText(const TActionBinding& Binding)
{
    std::vector<std::string> Parts;
    for (int Key : Binding.Keys)
        Parts.push_back(KeyLabel(Key));
    return Joined(Parts);
}

std::string PadText(const TActionBinding& Binding)
{
    std::vector<std::string> Parts;
    for (int Control : Binding.Pad)
        Parts.push_back(PadControlLabel(Control));
    return Joined(Parts);
}

} // namespace vm
