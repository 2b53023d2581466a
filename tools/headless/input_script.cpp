// The headless runner's input script.
#include "input_script.h"

#include "engine/pad_input.h"

#include <algorithm>
#include <charconv>
#include <sstream>

namespace vm {

namespace {

bool ReadInt(std::istringstream& In, long& Value, long Low, long High)
{
    if (!(In >> Value))
        return false;
    return Value >= Low && Value <= High;
}

// The frame number that opens a line, 0..MaxScriptFrame; false with the reason otherwise.
bool ReadFrame(const std::string& Text, long& Frame, std::string& Why)
{
    const char* First = Text.data();
    const char* Last = First + Text.size();
    const auto [End, Code] = std::from_chars(First, Last, Frame);
    if (End != Last || (Code != std::errc{} && Code != std::errc::result_out_of_range))
    {
        Why = "expected a frame number";
        return false;
    }
    const bool Negative = Text.front() == '-';
    if (Negative && (Code != std::errc{} || Frame < 0))
    {
        Why = "frame number " + Text + " is below 0";
        return false;
    }
    if (Code != std::errc{} || Frame > MaxScriptFrame)
    {
        Why = "frame number " + Text + " is past " + std::to_string(MaxScriptFrame) +
              ", the last a script can use";
        return false;
    }
    return true;
}

// The rest of a "pad" line: [N] connect | disconnect | down B | up B | press B | axis A V.
bool ParsePadEvent(std::istringstream& In, TScriptEvent Event, std::vector<TScriptEvent>& Events,
                   std::string& Why)
{
    Event.Kind = TScriptEventKind::Pad;
    Event.Key = 1;
    std::string Op;
    In >> Op;
    if (!Op.empty() && Op.find_first_not_of("0123456789") == std::string::npos)
    {
        long Pad = 0;
        std::from_chars(Op.data(), Op.data() + Op.size(), Pad);
        if (Op.size() > 2 || Pad < 1 || Pad > MaxScriptPads)
        {
            Why = "pad number " + Op + " is not 1.." + std::to_string(MaxScriptPads);
            return false;
        }
        Event.Key = static_cast<int>(Pad);
        Op.clear();
        In >> Op;
    }
    const auto Button = [&]() {
        std::string Name;
        In >> Name;
        Event.X = PadButtonFromName(Name);
        if (Event.X < 0)
            Why = "expected a pad button (a, b, x, y, back, guide, start, leftstick, rightstick, "
                  "leftshoulder, rightshoulder, dpup, dpdown, dpleft, dpright), not \"" +
                  Name + "\"";
        return Event.X >= 0;
    };
    if (Op == "connect" || Op == "disconnect")
        Event.PadOp = Op == "connect" ? TPadOp::Connect : TPadOp::Disconnect;
    else if (Op == "down" || Op == "up" || Op == "press")
    {
        if (!Button())
            return false;
        Event.PadOp = Op == "up" ? TPadOp::Up : TPadOp::Down;
        if (Op == "press")
        {
            Events.push_back(Event);
            Event.Frame += 1;
            Event.PadOp = TPadOp::Up;
        }
    }
    else if (Op == "axis")
    {
        std::string Name;
        In >> Name;
        Event.X = PadAxisFromName(Name);
        if (Event.X < 0)
        {
            Why = "expected a pad axis (leftx, lefty, rightx, righty, lefttrigger, righttrigger), not \"" +
                  Name + "\"";
            return false;
        }
        const bool Trigger = Event.X == paLeftTrigger || Event.X == paRightTrigger;
        long Value = 0;
        if (!ReadInt(In, Value, Trigger ? 0 : -32768, 32767))
        {
            Why = Trigger ? "expected a trigger value 0..32767" : "expected a stick value -32768..32767";
            return false;
        }
        Event.Y = static_cast<int>(Value);
        Event.PadOp = TPadOp::Axis;
    }
    else
    {
        Why = "unknown pad event (connect, disconnect, down, up, press, axis)";
        return false;
    }
    Events.push_back(Event);
    return true;
}

// In frame order, a pad is connected before anything else happens to it, and not twice.
bool CheckPadOrder(const std::vector<TScriptEvent>& Events, std::string& Error)
{
    bool Connected[MaxScriptPads + 1] = {};
    for (const TScriptEvent& Event : Events)
    {
        if (Event.Kind != TScriptEventKind::Pad)
            continue;
        bool& Is = Connected[Event.Key];
        const std::string Pad = "pad " + std::to_string(Event.Key);
        if (Event.PadOp == TPadOp::Connect && Is)
            Error = Pad + " is already connected";
        else if (Event.PadOp != TPadOp::Connect && !Is)
            Error = Pad + " is not connected";
        if (!Error.empty())
        {
            Error = "line " + std::to_string(Event.Line) + ": " + Error;
            return false;
        }
        Is = Event.PadOp != TPadOp::Disconnect;
    }
    return true;
}

} // namespace

bool ParseInputScript(const std::string& Text, std::vector<TScriptEvent>& Events, std::string& Error)
{
    Events.clear();
    std::istringstream Lines(Text);
    std::string Line;
    int LineNumber = 0;
    while (std::getline(Lines, Line))
    {
        ++LineNumber;
        const auto Hash = Line.find('#');
        std::string Body = Line.substr(0, Hash);
        std::istringstream In(Body);
        auto Fail = [&](const std::string& Reason) {
            Error = "line " + std::to_string(LineNumber) + ": " + Reason;
            return false;
        };
        std::string FrameText;
        if (!(In >> FrameText))
            continue; // a blank or comment-only line
        long Frame = 0;
        std::string Why;
        if (!ReadFrame(FrameText, Frame, Why))
            return Fail(Why);
        std::string Verb;
        if (!(In >> Verb))
            return Fail("expected a frame number and an event");
        TScriptEvent Event;
        Event.Frame = Frame;
        Event.Line = LineNumber;
        long A = 0, B = 0;
        if (Verb == "down" || Verb == "up" || Verb == "press")
        {
            if (!ReadInt(In, A, 0, 255))
                return Fail("expected a key number 0..255");
            Event.Key = static_cast<int>(A);
            Event.Kind = Verb == "up" ? TScriptEventKind::KeyUp : TScriptEventKind::KeyDown;
            Events.push_back(Event);
            if (Verb == "press")
            {
                Event.Frame = Frame + 1;
                Event.Kind = TScriptEventKind::KeyUp;
                Events.push_back(Event);
            }
        }
        else if (Verb == "move" || Verb == "click")
        {
            if (!ReadInt(In, A, -100000, 100000) || !ReadInt(In, B, -100000, 100000))
                return Fail("expected X and Y");
            Event.X = static_cast<int>(A);
            Event.Y = static_cast<int>(B);
            Event.Kind = Verb == "move" ? TScriptEventKind::Move : TScriptEventKind::ButtonDown;
            Events.push_back(Event);
            if (Verb == "click")
            {
                Event.Kind = TScriptEventKind::ButtonUp;
                Events.push_back(Event);
            }
        }
        else if (Verb == "text")
        {
            // The rest of the line after one separating space, as typed.
            const auto Pos = Body.find("text");
            std::string Rest = Body.substr(Pos + 4);
            if (!Rest.empty() && (Rest.front() == ' ' || Rest.front() == '\t'))
                Rest.erase(0, 1);
            while (!Rest.empty() && (Rest.back() == '\r' || Rest.back() == '\n'))
                Rest.pop_back();
            Event.Kind = TScriptEventKind::Text;
            Event.Text = Rest;
            Events.push_back(Event);
        }
        else if (Verb == "pad")
        {
            if (!ParsePadEvent(In, Event, Events, Why))
                return Fail(Why);
        }
        else
            return Fail("unknown event (down, up, press, move, click, text, pad)");
    }
    std::stable_sort(Events.begin(), Events.end(),
                     [](const TScriptEvent& L, const TScriptEvent& R) { return L.Frame < R.Frame; });
    return CheckPadOrder(Events, Error);
}

} // namespace vm
