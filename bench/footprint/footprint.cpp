// The footprint benchmark's parts that need no child process.
#include "footprint.h"

#include "state/game_state.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <istream>
#include <sstream>

namespace vm::footprint {

namespace {

bool Contains(const std::string& Text, const char* Piece) { return Text.find(Piece) != std::string::npos; }

bool StartsWith(const std::string& Text, const char* Start) { return Text.rfind(Start, 0) == 0; }

bool AnyRoutine(const TPeakStack& Stack, std::initializer_list<const char*> Pieces)
{
    for (const std::string& Routine : Stack.Routines)
        for (const char* Piece : Pieces)
            if (Contains(Routine, Piece))
                return true;
    return false;
}

bool AnyModuleIn(const TPeakStack& Stack, std::initializer_list<TMappingGroup> Groups)
{
    for (const std::string& Module : Stack.Modules)
        if (std::find(Groups.begin(), Groups.end(), GroupOf(Module, "")) != Groups.end())
            return true;
    return false;
}

// The game's routine nearest to the allocation, or "" when the stack has none.
std::string InnermostGameRoutine(const TPeakStack& Stack)
{
    for (const std::string& Routine : Stack.Routines)
        if (StartsWith(Routine, "vm::"))
            return Routine;
    return "";
}

// A mapping's file name without its folder.
std::string BaseName(const std::string& Path)
{
    const auto Slash = Path.rfind('/');
    return Slash == std::string::npos ? Path : Path.substr(Slash + 1);
}

bool BaseStartsWith(const std::string& Base, std::initializer_list<const char*> Starts)
{
    for (const char* Start : Starts)
        if (StartsWith(Base, Start))
            return true;
    return false;
}

// heaptrack_print writes sizes as 12B, 3.50K, 41.07M, 1.20G (decimal units).
std::optional<double> ReadSize(const std::string& Text)
{
    char* End = nullptr;
    const double Number = std::strtod(Text.c_str(), &End);
    if (End == Text.c_str())
        return std::nullopt;
    const std::string Unit(End);
    if (Unit.empty() || Unit == "B")
        return Number;
    if (Unit == "K")
        return Number * 1e3;
    if (Unit == "M")
        return Number * 1e6;
    if (Unit == "G")
        return Number * 1e9;
    return std::nullopt;
}

std::string Fixed(double Value, int Decimals)
{
    char Text[64];
    std::snprintf(Text, sizeof Text, "%.*f", Decimals, Value);
    return Text;
}

std::string CellText(const TCell& Cell, int Decimals)
{
    if (Cell.Failed)
        return "failed";
    const auto Spread = SpreadOf(Cell.Values);
    if (!Spread)
        return Cell.Note.empty() ? "n/a" : Cell.Note;
    const std::string Median = Fixed(Spread->Median, Decimals);
    const std::string Min = Fixed(Spread->Min, Decimals), Max = Fixed(Spread->Max, Decimals);
    if (Min == Max)
        return Median;
    return Median + " (" + Min + "-" + Max + ")";
}

} // namespace

std::optional<TSpread> SpreadOf(std::vector<double> Values)
{
    if (Values.empty())
        return std::nullopt;
    std::sort(Values.begin(), Values.end());
    const std::size_t Middle = Values.size() / 2;
    TSpread Spread;
    Spread.Median = Values.size() % 2 == 1 ? Values[Middle] : (Values[Middle - 1] + Values[Middle]) / 2;
    Spread.Min = Values.front();
    Spread.Max = Values.back();
    return Spread;
}

std::optional<double> NumberAfter(const std::vector<std::string>& Lines, const std::string& Marker)
{
    for (const std::string& Line : Lines)
    {
        const auto At = Line.find(Marker);
        if (At == std::string::npos)
            continue;
        const char* Start = Line.c_str() + At + Marker.size();
        char* End = nullptr;
        const double Value = std::strtod(Start, &End);
        if (End == Start)
            return std::nullopt;
        return Value;
    }
    return std::nullopt;
}

bool ReadRunState(const std::string& Json, TRunState& State, std::string& Error)
{
    const auto Parsed = nlohmann::json::parse(Json, nullptr, false);
    if (Parsed.is_discarded() || !Parsed.is_object())
    {
        Error = "the state file is not a JSON object";
        return false;
    }
    if (!Parsed.contains("frame") || !Parsed["frame"].is_number_integer() ||
        !Parsed.contains("screen_state") || !Parsed["screen_state"].is_number_integer() ||
        !Parsed.contains("screens") || !Parsed["screens"].is_array())
    {
        Error = "the state file has no frame, screen_state or screens";
        return false;
    }
    TRunState Read;
    Read.Frame = Parsed["frame"].get<long>();
    Read.ScreenState = Parsed["screen_state"].get<int>();
    Read.InRace = Parsed.contains("player");
    if (Parsed.contains("autopilot") && Parsed["autopilot"].is_object() &&
        Parsed["autopilot"].contains("run_end") && Parsed["autopilot"]["run_end"].is_string())
        Read.RunEnd = Parsed["autopilot"]["run_end"].get<std::string>();
    for (const auto& Entry : Parsed["screens"])
    {
        if (!Entry.is_array() || Entry.size() != 2 || !Entry[0].is_number_integer() ||
            !Entry[1].is_number_integer())
        {
            Error = "the state file's screens are not [frame, page] pairs";
            return false;
        }
        Read.Screens.emplace_back(Entry[0].get<long>(), Entry[1].get<int>());
    }
    State = std::move(Read);
    return true;
}

std::optional<long> RunOverFrame(const TRunState& State)
{
    static constexpr int RunPages[] = {ssRace,    ssRaceOver, ssWrecked,      ssPause,     ssRaceExitQuestion,
                                       ssTimesUp, ssGameOver, ssGameComplete, ssYourScore, ssSendScore};
    for (std::size_t I = 1; I < State.Screens.size(); ++I)
        if (std::find(std::begin(RunPages), std::end(RunPages), State.Screens[I].second) ==
            std::end(RunPages))
            return State.Screens[I].first;
    return std::nullopt;
}

const char* HeapOwnerName(THeapOwner Owner)
{
    switch (Owner)
    {
    case THeapOwner::PicturesEncoded: return "pictures (encoded bytes kept)";
    case THeapOwner::PicturesDecoding: return "pictures being decoded";
    case THeapOwner::Textures: return "textures (driver copies)";
    case THeapOwner::CollisionTexels: return "collision texels (FTexels)";
    case THeapOwner::Fonts: return "fonts";
    case THeapOwner::Audio: return "audio";
    case THeapOwner::GlContext: return "GL driver: opening the renderer";
    case THeapOwner::GlDrawing: return "GL driver: drawing, present, threads";
    case THeapOwner::LibrariesOwn: return "libraries' own (no game caller)";
    case THeapOwner::GameOther: return "game: other heap";
    case THeapOwner::Count: break;
    }
    return "?";
}

THeapOwner OwnerOf(const TPeakStack& Stack)
{
    if (AnyRoutine(Stack, {"RenderDevice::CreateTexture", "RenderDevice::UpdateTexture", "SDL_CreateTexture",
                           "SDL_UpdateTexture"}))
        return THeapOwner::Textures;
    const std::string Game = InnermostGameRoutine(Stack);
    if (Contains(Game, "Decode"))
        return THeapOwner::PicturesDecoding;
    if (StartsWith(Game, "vm::TImageListItem::CreateTexture"))
        return THeapOwner::CollisionTexels;
    if (AnyRoutine(Stack,
                   {"vm::TSdlVideo::Open", "SDL_CreateRenderer", "SDL_CreateWindow", "SDL_GL_CreateContext"}))
        return THeapOwner::GlContext;
    if (AnyRoutine(Stack, {"Font", "TextRasterizer", "TTF_", "FT_", "FcInit", "FcConfig"}) ||
        AnyModuleIn(Stack, {TMappingGroup::FontLibraries}))
        return THeapOwner::Fonts;
    if (AnyRoutine(Stack, {"vm::TSound", "Audio", "Music", "Mix_"}) ||
        AnyModuleIn(Stack, {TMappingGroup::AudioLibraries}))
        return THeapOwner::Audio;
    if (StartsWith(Game, "vm::TPicture::") || Contains(Game, "TImageListCollection::LoadFrom"))
        return THeapOwner::PicturesEncoded;
    if (AnyModuleIn(Stack, {TMappingGroup::GlDriver, TMappingGroup::Llvm}) ||
        AnyRoutine(Stack, {"TSdlRenderDevice::", "SDL_Render", "SDL_GL_"}))
        return THeapOwner::GlDrawing;
    if (Game.empty())
        return THeapOwner::LibrariesOwn;
    return THeapOwner::GameOther;
}

bool ReadHeaptrackPeaks(std::istream& In, THeapBreakdown& Breakdown, std::string& Error)
{
    static const std::string PeakHeader = " peak memory consumed over ";
    static const std::string PeakTotal = "peak heap memory consumption: ";
    THeapBreakdown Read;
    std::optional<TPeakStack> Stack;
    bool Listing = false, Total = false;
    const auto Finish = [&] {
        if (Stack)
            Read.Bytes[static_cast<std::size_t>(OwnerOf(*Stack))] += Stack->Bytes;
        Stack.reset();
    };
    std::string Line;
    while (std::getline(In, Line))
    {
        if (Line == "PEAK MEMORY CONSUMERS")
        {
            Listing = true;
            continue;
        }
        if (StartsWith(Line, PeakTotal.c_str()))
        {
            Finish();
            const auto Bytes = ReadSize(Line.substr(PeakTotal.size()));
            if (!Bytes)
            {
                Error = "heaptrack's peak total is not a size: " + Line;
                return false;
            }
            Read.PeakBytes = *Bytes;
            Total = true;
            continue;
        }
        if (!Listing)
            continue;
        if (const auto At = Line.find(PeakHeader); At != std::string::npos && Line[0] != ' ')
        {
            Finish();
            const auto Bytes = ReadSize(Line.substr(0, At));
            if (!Bytes)
            {
                Error = "a peak of heaptrack's listing has no size: " + Line;
                return false;
            }
            Stack = TPeakStack{*Bytes, {}, {}};
        }
        else if (Stack && StartsWith(Line, "    in "))
            Stack->Modules.push_back(Line.substr(7));
        else if (Stack && StartsWith(Line, "  ") && !StartsWith(Line, "    "))
            Stack->Routines.push_back(Line.substr(2));
        else if (!StartsWith(Line, "    "))
            Finish();
    }
    Finish();
    if (!Listing || !Total)
    {
        Error = !Listing ? "heaptrack's output has no list of peak memory consumers"
                         : "heaptrack's output has no peak heap total";
        return false;
    }
    Breakdown = Read;
    return true;
}

const char* MappingGroupName(TMappingGroup Group)
{
    switch (Group)
    {
    case TMappingGroup::Anonymous: return "anonymous (heap, stacks, other)";
    case TMappingGroup::SharedMemory: return "shared memory (memfd, /dev/shm)";
    case TMappingGroup::GlDriver: return "GL driver (Mesa, libGL, EGL)";
    case TMappingGroup::Llvm: return "LLVM";
    case TMappingGroup::Sdl: return "SDL";
    case TMappingGroup::FontLibraries: return "fonts (FreeType, fontconfig, files)";
    case TMappingGroup::AudioLibraries: return "audio (mixer, ALSA, codecs)";
    case TMappingGroup::NetworkTls: return "curl and TLS";
    case TMappingGroup::CRuntime: return "libc, libm, ld.so";
    case TMappingGroup::CxxRuntime: return "libstdc++, libgcc";
    case TMappingGroup::Program: return "the program";
    case TMappingGroup::OtherLibraries: return "other libraries and files";
    case TMappingGroup::Count: break;
    }
    return "?";
}

TMappingGroup GroupOf(const std::string& Pathname, const std::string& Program)
{
    if (Pathname.empty() || Pathname[0] == '[')
        return TMappingGroup::Anonymous;
    if (StartsWith(Pathname, "/memfd:") || StartsWith(Pathname, "/dev/shm/") ||
        StartsWith(Pathname, "/SYSV") || StartsWith(Pathname, "/dev/zero"))
        return TMappingGroup::SharedMemory;
    if (!Program.empty() && Pathname == Program)
        return TMappingGroup::Program;
    const std::string Base = BaseName(Pathname);
    if (Contains(Pathname, "/dri/") || Contains(Pathname, "mesa_shader_cache") ||
        BaseStartsWith(Base, {"libgallium", "libGL", "libEGL", "libglapi", "libGLX", "libdrm", "libgbm",
                              "libvulkan", "libxshmfence", "libsensors"}))
        return TMappingGroup::GlDriver;
    if (BaseStartsWith(Base, {"libLLVM", "libz3."}))
        return TMappingGroup::Llvm;
    if (BaseStartsWith(Base,
                       {"libSDL2_ttf", "libfreetype", "libfontconfig", "libharfbuzz", "libgraphite2"}) ||
        Contains(Pathname, "/fontconfig/") || Contains(Pathname, "/fonts/"))
        return TMappingGroup::FontLibraries;
    if (BaseStartsWith(Base, {"libSDL2_mixer", "libasound", "libpulse", "libsndfile", "libvorbis", "libogg",
                              "libFLAC", "libopus", "libmpg123", "libmodplug", "libxmp", "libfluidsynth",
                              "libwavpack", "libmp3lame", "libspeex", "libjack", "libpipewire"}))
        return TMappingGroup::AudioLibraries;
    if (BaseStartsWith(Base, {"libSDL2"}))
        return TMappingGroup::Sdl;
    if (BaseStartsWith(Base,
                       {"libcurl",  "libssl",    "libcrypto",   "libgnutls",   "libnettle", "libhogweed",
                        "libgmp",   "libkrb5",   "libk5crypto", "libgssapi",   "libldap",   "liblber",
                        "libssh",   "libnghttp", "librtmp",     "libpsl",      "libidn2",   "libp11-kit",
                        "libtasn1", "libsasl2",  "libbrotli",   "libkeyutils", "libcom_err"}))
        return TMappingGroup::NetworkTls;
    if (BaseStartsWith(Base,
                       {"libc.so", "libc-", "libm.so", "ld-linux", "libpthread", "libdl.so", "librt.so"}))
        return TMappingGroup::CRuntime;
    if (BaseStartsWith(Base, {"libstdc++", "libgcc_s"}))
        return TMappingGroup::CxxRuntime;
    return TMappingGroup::OtherLibraries;
}

std::array<long, MappingGroupCount> GroupSmaps(std::istream& In, const std::string& Program)
{
    std::array<long, MappingGroupCount> Kb{};
    TMappingGroup Current = TMappingGroup::Anonymous;
    std::string Line;
    while (std::getline(In, Line))
    {
        std::istringstream Fields(Line);
        std::string First;
        Fields >> First;
        if (First.empty())
            continue;
        if (First.back() == ':')
        {
            long Value = 0;
            if (First == "Rss:" && (Fields >> Value))
                Kb[static_cast<std::size_t>(Current)] += Value;
            continue;
        }
        // A mapping's header: range, permissions, offset, device, inode, then the pathname if any.
        if (First.find('-') == std::string::npos)
            continue;
        std::string Permissions, Offset, Device, Inode;
        Fields >> Permissions >> Offset >> Device >> Inode;
        std::string Pathname;
        std::getline(Fields, Pathname);
        Pathname.erase(0, Pathname.find_first_not_of(' '));
        Current = GroupOf(Pathname, Program);
    }
    return Kb;
}

std::optional<long> ResidentKb(std::istream& In)
{
    std::string Line;
    while (std::getline(In, Line))
    {
        std::istringstream Fields(Line);
        std::string Key;
        long Value = 0;
        if ((Fields >> Key >> Value) && (Key == "Rss:" || Key == "VmRSS:"))
            return Value;
    }
    return std::nullopt;
}

std::string FormatTable(const std::vector<std::string>& Columns, const std::vector<TRow>& Rows)
{
    std::size_t LabelWidth = 0;
    std::vector<std::size_t> Widths;
    for (const std::string& Column : Columns)
        Widths.push_back(Column.size());
    std::vector<std::vector<std::string>> Texts;
    for (const TRow& Row : Rows)
    {
        Texts.emplace_back();
        if (Row.Cells.empty())
            continue;
        LabelWidth = std::max(LabelWidth, Row.Label.size() + 2);
        for (std::size_t C = 0; C < Columns.size(); ++C)
        {
            Texts.back().push_back(C < Row.Cells.size() ? CellText(Row.Cells[C], Row.Decimals) : "n/a");
            Widths[C] = std::max(Widths[C], Texts.back().back().size());
        }
    }
    const auto Pad = [](std::string Text, std::size_t Width) {
        Text.resize(std::max(Text.size(), Width), ' ');
        return Text;
    };
    std::string Out = Pad("", LabelWidth);
    for (std::size_t C = 0; C < Columns.size(); ++C)
        Out += "  " + Pad(Columns[C], Widths[C]);
    Out.erase(Out.find_last_not_of(' ') + 1);
    Out += '\n';
    for (std::size_t R = 0; R < Rows.size(); ++R)
    {
        if (Rows[R].Cells.empty())
        {
            Out += Rows[R].Label + '\n';
            continue;
        }
        std::string Line = Pad("  " + Rows[R].Label, LabelWidth);
        for (std::size_t C = 0; C < Columns.size(); ++C)
            Line += "  " + Pad(Texts[R][C], Widths[C]);
        Line.erase(Line.find_last_not_of(' ') + 1);
        Out += Line + '\n';
    }
    return Out;
}

} // namespace vm::footprint
