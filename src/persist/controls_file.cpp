// The controls file, line by line: "accelerate keys Up", "accelerate pad righttrigger a", ...,
// "rumble on". A line that cannot stand leaves its action at the defaults.
#include "persist/controls_file.h"

#include "engine/virtual_keys.h"
#include "persist/safe_file.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>

namespace vm {

namespace {

// A controls file is a few hundred bytes; anything far larger is not one.
constexpr std::size_t kMaxControlsBytes = 64 * 1024;

enum TKind
{
    kdKeys,
    kdPad,
    KindCount
};

// One "NAME keys|pad ..." line that reads on its own.
struct TEntry
{
    int Line = 0;
    int Action = -1;
    TKind Kind = kdKeys;
    std::vector<int> Values;
    bool Kept = true; // false once it lost to a conflict
};

std::vector<std::string> Words(const std::string& Line)
{
    std::istringstream In(Line);
    return {std::istream_iterator<std::string>(In), std::istream_iterator<std::string>()};
}

const char* KindWords(TKind Kind) { return Kind == kdKeys ? "keys" : "pad controls"; }

std::string ValueName(TKind Kind, int Value)
{
    return Kind == kdKeys ? KeyLabel(Value) : PadControlName(Value);
}

const std::vector<int>& Current(const TControlBindings& Controls, int Action, TKind Kind)
{
    return Kind == kdKeys ? Controls.Of(Action).Keys : Controls.Of(Action).Pad;
}

// Reads one line's values; nullopt with the reason in Why when the line cannot stand by itself.
std::optional<std::vector<int>> ReadValues(int Action, TKind Kind, const std::vector<std::string>& Names,
                                           std::string& Why)
{
    std::vector<int> Values;
    for (const std::string& Name : Names)
    {
        const int Value = Kind == kdKeys ? KeyFromLabel(Name) : PadControlFromName(Name);
        if (Value < 0)
        {
            Why = "\"" + Name + "\" is no " + (Kind == kdKeys ? "key" : "pad control") + " the game knows";
            return std::nullopt;
        }
        if (std::find(Values.begin(), Values.end(), Value) != Values.end())
        {
            Why = "\"" + Name + "\" is named twice";
            return std::nullopt;
        }
        Values.push_back(Value);
    }
    if (Values.empty())
    {
        Why = std::string("no ") + KindWords(Kind) + " given";
        return std::nullopt;
    }
    // Esc leaves the race and nothing else, and leave keeps it.
    if (Kind == kdKeys && Action == acLeave && Values != TControlBindings().Of(acLeave).Keys)
    {
        Why = "the keys of leave cannot change";
        return std::nullopt;
    }
    if (Kind == kdKeys && Action != acLeave &&
        std::find(Values.begin(), Values.end(), vkEscape) != Values.end())
    {
        Why = "Esc only leaves the race";
        return std::nullopt;
    }
    return Values;
}

std::string Where(const std::string& Path, int Line) { return Path + " line " + std::to_string(Line) + ": "; }

// Puts the kept entries into Controls (defaults elsewhere), dropping one that claims a key or
// control another action has: the later line loses to an earlier one, and any line to a default
// it would take away. A drop puts a default back, which may block another line, so it runs until
// nothing changes.
void ApplyEntries(const std::string& Path, std::vector<TEntry>& Entries, TControlBindings& Controls,
                  std::vector<std::string>& Problems)
{
    for (bool Dropped = true; Dropped;)
    {
        Dropped = false;
        Controls = TControlBindings();
        int LineOf[KindCount][ActionCount] = {}; // 0: the default holds
        for (const TEntry& Entry : Entries)
            if (Entry.Kept)
            {
                if (Entry.Kind == kdKeys)
                    Controls.SetKeys(Entry.Action, Entry.Values);
                else
                    Controls.SetPad(Entry.Action, Entry.Values);
                LineOf[Entry.Kind][Entry.Action] = Entry.Line;
            }
        for (TEntry& Entry : Entries)
        {
            for (int Other = 0; Entry.Kept && Other < ActionCount; ++Other)
            {
                const int OtherLine = LineOf[Entry.Kind][Other];
                if (Other == Entry.Action || OtherLine > Entry.Line)
                    continue;
                const std::vector<int>& Theirs = Current(Controls, Other, Entry.Kind);
                for (int Value : Entry.Values)
                    if (std::find(Theirs.begin(), Theirs.end(), Value) != Theirs.end())
                    {
                        Problems.push_back(Where(Path, Entry.Line) + ValueName(Entry.Kind, Value) +
                                           " is already " + ActionLabel(Other) + "; " +
                                           ActionName(Entry.Action) + " keeps its default " +
                                           KindWords(Entry.Kind));
                        Entry.Kept = false;
                        Dropped = true;
                        break;
                    }
            }
            if (Dropped)
                break;
        }
    }
}

} // namespace

std::string ControlsText(const TControlBindings& Controls)
{
    std::string Text = "# Velomarch controls: per action its keys, then its pad controls; then rumble.\n";
    for (int Action = 0; Action < ActionCount; ++Action)
        for (TKind Kind : {kdKeys, kdPad})
        {
            Text += std::string(ActionName(Action)) + (Kind == kdKeys ? " keys" : " pad");
            for (int Value : Current(Controls, Action, Kind))
                Text += " " + ValueName(Kind, Value);
            Text += "\n";
        }
    Text += std::string("rumble ") + (Controls.Rumble ? "on" : "off") + "\n";
    return Text;
}

bool SaveControls(const std::string& Path, const TControlBindings& Controls, std::string& Error)
{
    return WriteFileAtomically(Path, ControlsText(Controls), Error);
}

void LoadControls(const std::string& Path, TControlBindings& Controls, std::vector<std::string>& Problems)
{
    Controls = TControlBindings();
    std::ifstream In(Path, std::ios::binary);
    if (!In)
        return;
    std::string Bytes;
    Bytes.resize(kMaxControlsBytes + 1);
    In.read(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
    Bytes.resize(static_cast<std::size_t>(In.gcount()));
    if (Bytes.size() > kMaxControlsBytes)
    {
        Problems.push_back(Path + " is far too large for a controls file; the default controls are used");
        return;
    }

    std::vector<TEntry> Entries;
    std::optional<bool> Rumble;
    bool Seen[KindCount][ActionCount] = {};
    std::istringstream Lines(Bytes);
    std::string Line;
    int Number = 0;
    int Damaged = 0;
    const auto Damage = [&](const std::string& Why) {
        Problems.push_back(Where(Path, Number) + Why);
        ++Damaged;
    };
    while (std::getline(Lines, Line))
    {
        ++Number;
        const std::vector<std::string> W = Words(Line);
        if (W.empty() || W[0][0] == '#')
            continue;
        if (W[0] == "rumble")
        {
            if (W.size() == 2 && (W[1] == "on" || W[1] == "off") && !Rumble)
                Rumble = W[1] == "on";
            else
                Damage(Rumble ? "rumble is given twice" : "rumble is neither on nor off; it stays on");
            continue;
        }
        const int Action = ActionFromName(W[0]);
        if (Action < 0 || W.size() < 2 || (W[1] != "keys" && W[1] != "pad"))
        {
            Damage("not a line of the controls file");
            continue;
        }
        const TKind Kind = W[1] == "keys" ? kdKeys : kdPad;
        if (Seen[Kind][Action])
        {
            Damage(std::string(ActionName(Action)) + " " + W[1] + " is given twice; the first line counts");
            continue;
        }
        Seen[Kind][Action] = true;
        std::string Why;
        if (const auto Values = ReadValues(Action, Kind, {W.begin() + 2, W.end()}, Why))
            Entries.push_back({Number, Action, Kind, *Values});
        else
            Damage(Why + "; " + ActionName(Action) + " keeps its default " + KindWords(Kind));
    }
    // Nothing of the file could be read: one line says so instead of one for each line.
    if (Entries.empty() && !Rumble && Damaged > 0)
    {
        Problems.resize(Problems.size() - static_cast<std::size_t>(Damaged));
        Problems.push_back(Path + " holds no controls the game can read; the default controls are used");
        return;
    }
    ApplyEntries(Path, Entries, Controls, Problems);
    Controls.Rumble = Rumble.value_or(true);
}

} // namespace vm
