// The headless runner's input script.
#include "input_script.h"

#include <algorithm>
#include <sstream>

namespace vm {

namespace {

bool ReadInt(std::istringstream& In, long& Value, long Low, long High)
{
    if (!(In >> Value))
        return false;
    return Value >= Low && Value <= High;
}

} // namespace

bool ParseInputScript(const std::string& Text, std::vector<TScriptEvent>& Events, std::string& Error)
{
    std::istringstream Lines(Text);
    std::string Line;
    int LineNumber = 0;
    while (std::getline(Lines, Line))
    {
        ++LineNumber;
        const auto Hash = Line.find('#');
        std::string Body = Line.substr(0, Hash);
        std::istringstream In(Body);
        long Frame = 0;
        std::string Verb;
        if (!(In >> Frame))
        {
            // A blank or comment-only line.
            if (Body.find_first_not_of(" \t\r") == std::string::npos)
                continue;
            Error = "line " + std::to_string(LineNumber) + ": expected a frame number";
            return false;
        }
        if (Frame < 0 || !(In >> Verb))
        {
            Error = "line " + std::to_string(LineNumber) + ": expected a frame number and an event";
            return false;
        }
        auto Fail = [&](const char* Reason) {
            Error = "line " + std::to_string(LineNumber) + ": " + Reason;
            return false;
        };
        TScriptEvent Event;
        Event.Frame = Frame;
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
        else
            return Fail("unknown event (down, up, press, move, click, text)");
    }
    std::stable_sort(Events.begin(), Events.end(),
                     [](const TScriptEvent& L, const TScriptEvent& R) { return L.Frame < R.Frame; });
    return true;
}

} // namespace vm
