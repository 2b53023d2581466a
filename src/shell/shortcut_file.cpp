// Internet shortcut files: reading the address, opening it in the browser.
#include "shell/shortcut_file.h"

#include "engine/shell_opener.h"
#include "shell/game.h"

#include <algorithm>
#include <cctype>
#include <fstream>

namespace vm {

namespace {

// A shortcut is a few lines; a larger file is not one, and is not read to its end.
constexpr std::size_t MaxShortcutBytes = 64 * 1024;

std::string Trimmed(const std::string& Text)
{
    const auto Blank = [](unsigned char C) { return C == ' ' || C == '\t' || C == '\r' || C == '\n'; };
    std::size_t First = 0, Last = Text.size();
    while (First < Last && Blank(static_cast<unsigned char>(Text[First])))
        ++First;
    while (Last > First && Blank(static_cast<unsigned char>(Text[Last - 1])))
        --Last;
    return Text.substr(First, Last - First);
}

std::string Lower(std::string Text)
{
    std::transform(Text.begin(), Text.end(), Text.begin(),
                   [](unsigned char C) { return static_cast<char>(std::tolower(C)); });
    return Text;
}

// Only web addresses, and none with control characters or blanks inside.
bool IsWebAddress(const std::string& Url)
{
    const std::string Start = Lower(Url.substr(0, 8));
    if (Start.rfind("http://", 0) != 0 && Start.rfind("https://", 0) != 0)
        return false;
    return std::none_of(Url.begin(), Url.end(), [](unsigned char C) { return C <= ' ' || C == 0x7F; });
}

} // namespace

std::string ShortcutUrl(const std::string& Path)
{
    std::ifstream File(Path, std::ios::binary);
    if (!File)
        return {};
    std::string Line;
    std::size_t Read = 0;
    while (Read < MaxShortcutBytes && std::getline(File, Line))
    {
        Read += Line.size() + 1;
        const std::string Entry = Trimmed(Line);
        const std::size_t Equals = Entry.find('=');
        if (Equals == std::string::npos || Lower(Trimmed(Entry.substr(0, Equals))) != "url")
            continue;
        const std::string Url = Trimmed(Entry.substr(Equals + 1));
        return IsWebAddress(Url) ? Url : std::string();
    }
    return {};
}

void OpenShortcut(TGame& Game, const std::string& Name)
{
    if (Game.Shell == nullptr)
        return;
    const std::string Url = ShortcutUrl(Game.Files.ShortcutPath(Name));
    if (!Url.empty())
        Game.Shell->OpenUrl(Url);
}

} // namespace vm
