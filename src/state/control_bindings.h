// The race's actions and what drives them: keys and pad controls per action, the defaults, and
// the rules for binding a new key or pad control (one action per key, Esc always leaves).
#pragma once

#include <string>
#include <vector>

namespace vm {

enum TAction : int
{
    acAccelerate = 0,
    acBrake,
    acSteerLeft,
    acSteerRight,
    acHandBrake,
    acHorn,
    acPause,
    acLeave,
    ActionCount
};

// The pad seen as switches: its buttons (TPadButton numbers), then triggers and left-stick
// directions, which are held past their thresholds.
enum TPadControl : int
{
    pcLeftTrigger = 15,
    pcRightTrigger,
    pcStickLeft,
    pcStickRight,
    pcStickUp,
    pcStickDown,
    PadControlCount
};

enum class TBindResult
{
    Bound,
    Taken, // another action has it: Conflict names that action
    Fixed, // the key cannot be bound (Esc, which always leaves), or is no key the game knows
};

struct TActionBinding
{
    std::vector<int> Keys; // virtual keys
    std::vector<int> Pad;  // TPadButton or TPadControl numbers
    bool operator==(const TActionBinding&) const = default;
};

// Starts as the defaults. Copied freely.
class TControlBindings
{
public:
    TControlBindings() { Reset(); }
    void Reset();

    const TActionBinding& Of(int Action) const;
    // The action Key (or pad control) drives; -1 for none.
    int ActionOfKey(int Key) const;
    int ActionOfPad(int Control) const;
    // Makes Key (or Control) the only one of Action. A key or control another action has is
    // refused with Conflict set to that action; binding an action's own key again is no change.
    TBindResult BindKey(int Action, int Key, int& Conflict);
    TBindResult BindPad(int Action, int Control, int& Conflict);
    // Sets Action's keys (or pad controls) as given, without the rules above: for a reader that
    // has checked them itself. Out-of-range actions change nothing.
    void SetKeys(int Action, std::vector<int> Keys);
    void SetPad(int Action, std::vector<int> Pad);

    // Rumble on wall hits, bombs and wrecks, where the pad has it.
    bool Rumble = true;
    bool operator==(const TControlBindings&) const = default;

private:
    TActionBinding FActions[ActionCount];
};

// "accelerate" (files) and "Accelerate" (pages).
const char* ActionName(int Action);
const char* ActionLabel(int Action);
int ActionFromName(const std::string& Name);

// Keys as files and pages name them ("Up", "Space", "W", "F1", "Num8"); -1 / "" for none.
std::string KeyLabel(int Key);
int KeyFromLabel(const std::string& Label);
// Pad controls as files name them (SDL's button names, "lefttrigger", "leftx-", "lefty+") and as
// pages show them ("A", "LB", "RT", "D-pad left", "Stick left").
std::string PadControlName(int Control);
int PadControlFromName(const std::string& Name);
std::string PadControlLabel(int Control);
// What Keys or Pad of a binding shows on a page: "Space / Ctrl", "RT / A".
std::string KeysText(const TActionBinding& Binding);
std::string PadText(const TActionBinding& Binding);

} // namespace vm
