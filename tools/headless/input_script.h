// The headless runner's input script: one event a line, keyed by frame number.
#pragma once

#include <limits>
#include <string>
#include <vector>

namespace vm {

enum class TScriptEventKind
{
    KeyDown,
    KeyUp,
    Move,
    ButtonDown,
    ButtonUp,
    Text,
    Pad, // a game controller: PadOp on pad Key (1..MaxScriptPads)
};

enum class TPadOp
{
    Connect,
    Disconnect,
    Down, // button X
    Up,   // button X
    Axis, // axis X to Y
};

inline constexpr int MaxScriptPads = 4;

struct TScriptEvent
{
    long Frame = 0;
    TScriptEventKind Kind = TScriptEventKind::KeyDown;
    int Key = 0;
    int X = 0;
    int Y = 0;
    std::string Text;
    TPadOp PadOp = TPadOp::Connect;
    int Line = 0; // the script line it came from
};

// The largest frame number a script may use: a press lets its key go on the frame after.
inline constexpr long MaxScriptFrame = std::numeric_limits<long>::max() - 1;

// Parses "FRAME down VK", "FRAME up VK", "FRAME press VK", "FRAME move X Y", "FRAME click X Y",
// "FRAME text UTF-8", and game-controller events "FRAME pad [N] connect", "... disconnect",
// "... down BUTTON", "... up BUTTON", "... press BUTTON", "... axis AXIS VALUE" (SDL's button and
// axis names; sticks -32768..32767, triggers 0..32767; pad N = 1..4, default 1; a pad is
// connected before its other events and not twice); '#' starts a comment; FRAME is decimal,
// 0..MaxScriptFrame. Events come back sorted by frame, stable. On a bad line returns false with "line N:
// reason" in Error.
bool ParseInputScript(const std::string& Text, std::vector<TScriptEvent>& Events, std::string& Error);

} // namespace vm
