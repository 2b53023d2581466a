// Names of the pad's buttons and axes.
#include "engine/pad_input.h"

#include <array>

namespace vm {

namespace {

constexpr std::array<const char*, PadButtonCount> ButtonNames = {"a",
                                                                 "b",
                                                                 "x",
                                                                 "y",
                                                                 "back",
                                                                 "guide",
                                                                 "start",
                                                                 "leftstick",
                                                                 "rightstick",
                                                                 "leftshoulder",
                                                                 "rightshoulder",
                                                                 "dpup",
                                                                 "dpdown",
                                                                 "dpleft",
                                                                 "dpright"};
constexpr std::array<const char*, PadAxisCount> AxisNames = {"leftx",  "lefty",       "rightx",
                                                             "righty", "lefttrigger", "righttrigger"};

template <std::size_t N> int IndexOf(const std::array<const char*, N>& Names, const std::string& Name)
{
    for (std::size_t I = 0; I < N; ++I)
        if (Name == Names[I])
            return static_cast<int>(I);
    return -1;
}

} // namespace

const char* PadButtonName(int Button)
{
    return Button >= 0 && Button < PadButtonCount ? ButtonNames[static_cast<std::size_t>(Button)] : "";
}

int PadButtonFromName(const std::string& Name) { return IndexOf(ButtonNames, Name); }

const char* PadAxisName(int Axis)
{
    return Axis >= 0 && Axis < PadAxisCount ? AxisNames[static_cast<std::size_t>(Axis)] : "";
}

int PadAxisFromName(const std::string& Name) { return IndexOf(AxisNames, Name); }

} // namespace vm
