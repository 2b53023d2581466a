// The menu tune: a relaxed, catchy loop in D major at 108 BPM (bass, pad, lead with echo, bell
// arpeggios and light drums).
#include "music/instrument_bank.h"
#include "music/tune_writing.h"
#include "music/tunes.h"

#include <array>
#include <string_view>
#include <vector>

namespace vm::assetgen {

namespace {

constexpr int Bpm = 108;
constexpr int BarRows = 16;

// Instrument numbers.
enum : int
{
    Kick = 1,
    Snare,
    Hat,
    Shaker,
    OpenHat,
    Bass,
    Pad,
    Lead,
    Pluck
};

// Channels.
enum : int
{
    ChKick,
    ChSnare,
    ChHat,
    ChShaker,
    ChBass,
    ChPad, // three pad voices
    ChPad2,
    ChPad3,
    ChLead,
    ChLeadEcho,
    ChPluck,
    ChPluckEcho,
    ChannelCount
};

// A bar's harmony: pad voicing, the bass line's shift from D, and a bell arpeggio in eighths.
struct TChord
{
    std::vector<std::string_view> Pad;
    int BassShift;
    std::string_view Arp;
};

const TChord DMaj7{{"A3", "C#4", "F#4"}, 0, "D4/2 A4/2 C#5/2 F#5/2 A5/2 F#5/2 C#5/2 A4/2"};
const TChord BMin7{{"A3", "D4", "F#4"}, -3, "B3/2 F#4/2 A4/2 D5/2 F#5/2 D5/2 A4/2 F#4/2"};
const TChord GMaj7{{"B3", "D4", "F#4"}, 5, "G3/2 D4/2 F#4/2 B4/2 D5/2 B4/2 F#4/2 D4/2"};
const TChord AMaj{{"A3", "C#4", "E4"}, 7, "A3/2 E4/2 A4/2 C#5/2 E5/2 C#5/2 A4/2 E4/2"};
const TChord ASus4{{"A3", "D4", "E4"}, 7, "A3/2 E4/2 A4/2 D5/2 E5/2 D5/2 A4/2 E4/2"};
const TChord A7{{"G3", "C#4", "E4"}, 7, "A3/2 E4/2 G4/2 C#5/2 E5/2 C#5/2 G4/2 E4/2"};
const TChord EMin7{{"B3", "D4", "G4"}, 2, "E4/2 B4/2 D5/2 G5/2 B5/2 G5/2 D5/2 B4/2"};
const TChord FsMin7{{"A3", "C#4", "E4"}, 4, "F#3/2 C#4/2 E4/2 A4/2 C#5/2 A4/2 E4/2 C#4/2"};

using TBars = std::array<const TChord*, 4>;

// Bass lines for one bar, written on D and shifted to each chord.
constexpr std::string_view BassGroove = "D2/3 r/1 D2/2 D3/2 r/2 A2/2 D2/2 r/2";
constexpr std::string_view BassLong = "D2/12 r/4";
constexpr std::string_view BassWalk = "D2/4 D2/2 A2/2 r/2 D3/2 A2/2 D2/2";

// Drum grids for one bar; the shaker channel also plays the open hat.
struct TBeat
{
    std::string_view Kick, Snare, Hat, Shaker, OpenHat;
};

const TBeat Groove{"X.....o...X.....", "....X.......X...", "x.o.x.o.x.o.x.o.", "", ""};
const TBeat GrooveOpen{"X.....o...X.....", "....X.......X...", "x.o.x.o.x.o.x...", "", "..............x."};
const TBeat GrooveFill{"X.....o...X.....", "....X.....o.X.xX", "x.o.x.o.x.o.....", "", ""};
const TBeat Light{"X.........X.....", "", "..o...o...o...o.", "o.-.o.-.o.-.o.-.", ""};
const TBeat ShakerOnly{"", "", "", "o.-.o.-.o.-.o.-.", ""};
const TBeat KickIn{"X.........X...o.", "............o.xX", "..o...o...o...o.", "o.-.o.-.o.-.o.-.", ""};

void Harmony(TPatternWriter& W, const TBars& Bars, std::string_view BassBar, bool Arp, int FirstBassBar = 0)
{
    for (int Bar = 0; Bar < 4; ++Bar)
    {
        const TChord& Chord = *Bars[Bar];
        const int Row = Bar * BarRows;
        W.Chord(ChPad, Pad, Row, Chord.Pad, BarRows, 26);
        if (Bar >= FirstBassBar)
            W.Phrase(ChBass, Bass, Row, BassBar, 46, Chord.BassShift, BarRows);
        if (Arp)
            W.Phrase(ChPluck, Pluck, Row, Chord.Arp, 22, 0, BarRows);
    }
    if (Arp)
        W.Echo(ChPluck, ChPluckEcho, 3, 10, 200);
}

void Drums(TPatternWriter& W, int Bar, const TBeat& Beat)
{
    const int Row = Bar * BarRows;
    if (!Beat.Kick.empty())
        W.Hits(ChKick, Kick, Row, BarRows, Beat.Kick, 60);
    if (!Beat.Snare.empty())
        W.Hits(ChSnare, Snare, Row, BarRows, Beat.Snare, 40);
    if (!Beat.Hat.empty())
        W.Hits(ChHat, Hat, Row, BarRows, Beat.Hat, 52);
    if (!Beat.Shaker.empty())
        W.Hits(ChShaker, Shaker, Row, BarRows, Beat.Shaker, 44);
    if (!Beat.OpenHat.empty())
        W.Hits(ChShaker, OpenHat, Row, BarRows, Beat.OpenHat, 36);
}

void Drums(TPatternWriter& W, const std::array<const TBeat*, 4>& Beats)
{
    for (int Bar = 0; Bar < 4; ++Bar)
        Drums(W, Bar, *Beats[Bar]);
}

void Melody(TPatternWriter& W, std::string_view Text)
{
    W.Phrase(ChLead, Lead, 0, Text, 44, 0, 64);
    W.Echo(ChLead, ChLeadEcho, 3, 16, 190);
}

void AddInstruments(TXmModule& Module)
{
    std::vector<TXmInstrument>& List = Module.Instruments;
    const TXmEnvelope OneShot;
    List.push_back(MakeInstrument("kick", SynthKick(0.7, 0.36), OneShot));
    List.push_back(MakeInstrument("snare", SynthSnare(0.6, 0.26), OneShot));
    TXmSample HatSample = SynthHat(0.022, 0.09, 3);
    HatSample.Panning = 160;
    List.push_back(MakeInstrument("hat", std::move(HatSample), OneShot));
    TXmSample ShakerSample = SynthShaker();
    ShakerSample.Panning = 96;
    List.push_back(MakeInstrument("shaker", std::move(ShakerSample), OneShot));
    List.push_back(MakeInstrument("open hat", SynthHat(0.12, 0.35, 5), OneShot));

    TToneRecipe Bass;
    Bass.Period = 128;
    Bass.LoopCycles = 2;
    Bass.Harmonics = 24;
    Bass.Steady = [](int H) { return SawSpectrum(H) * LowPass(H, 3.5) + (H == 1 ? 0.6 : 0.0); };
    Bass.Attack = [](int H) { return SawSpectrum(H) * LowPass(H, 10.0) + (H == 1 ? 0.6 : 0.0); };
    Bass.AttackCycles = 6;
    List.push_back(MakeInstrument("bass", SynthTone(Bass), MakeEnvelope(Bpm, {{0.0, 64}, {0.3, 50}}, 1),
                                  FadeoutFor(Bpm, 0.08)));

    TToneRecipe Pad;
    Pad.Period = 64;
    Pad.LoopCycles = 160;
    Pad.Detune = {-1, 0, 1};
    Pad.Harmonics = 20;
    Pad.Steady = [](int H) { return SawSpectrum(H) * LowPass(H, 4.5); };
    Pad.Seed = 7;
    List.push_back(MakeInstrument(
        "pad", SynthTone(Pad), MakeEnvelope(Bpm, {{0.0, 0}, {0.6, 56}, {1.4, 46}}, 2), FadeoutFor(Bpm, 0.9)));

    TToneRecipe Lead;
    Lead.Period = 64;
    Lead.LoopCycles = 200;
    Lead.Detune = {0, 1};
    Lead.Harmonics = 12;
    Lead.Steady = [](int H) { return PulseSpectrum(H, 0.3) * LowPass(H, 5.0); };
    Lead.Seed = 9;
    TXmInstrument LeadInstrument =
        MakeInstrument("lead", SynthTone(Lead), MakeEnvelope(Bpm, {{0.0, 0}, {0.02, 64}, {0.4, 52}}, 2),
                       FadeoutFor(Bpm, 0.3));
    LeadInstrument.Sample.Panning = 112;
    SetAutoVibrato(LeadInstrument, Bpm, 5.0, 10, 0.5);
    List.push_back(std::move(LeadInstrument));

    TToneRecipe Bell;
    Bell.Period = 64;
    Bell.LoopCycles = 2;
    Bell.Harmonics = 8;
    Bell.Steady = [](int H) { return H == 1 ? 1.0 : H == 2 ? 0.2 : H == 3 ? 0.06 : 0.0; };
    Bell.Attack = [](int H) { return H == 1 ? 1.0 : H == 2 ? 0.5 : H == 4 ? 0.35 : H == 6 ? 0.2 : 0.05; };
    Bell.AttackCycles = 12;
    TXmSample BellSample = SynthTone(Bell);
    BellSample.Panning = 150;
    List.push_back(MakeInstrument("bell", std::move(BellSample),
                                  MakeEnvelope(Bpm, {{0.0, 64}, {0.08, 40}, {0.4, 16}, {1.0, 0}}, -1),
                                  FadeoutFor(Bpm, 0.15)));
}

} // namespace

bool BuildMenuTune(TXmModule& Module, std::string& Error)
{
    Module = TXmModule{};
    Module.Name = "Velomarch menu";
    Module.Channels = ChannelCount;
    Module.Speed = 6;
    Module.Bpm = Bpm;
    AddInstruments(Module);

    const TBars Home{&DMaj7, &BMin7, &GMaj7, &AMaj};
    const TBars Lift{&GMaj7, &AMaj, &FsMin7, &BMin7};
    const TBars Climb{&EMin7, &FsMin7, &GMaj7, &ASus4};
    const TBars Drift{&BMin7, &GMaj7, &EMin7, &A7};
    auto Add = [&Module]() -> TXmPattern& { return Module.Patterns.emplace_back(64, ChannelCount); };

    // 0: intro, pad and bells over a shaker; the bass joins in the third bar.
    {
        TPatternWriter W(Add(), Error);
        Harmony(W, Home, BassLong, true, 2);
        Drums(W, {&ShakerOnly, &ShakerOnly, &Light, &KickIn});
        W.Phrase(ChLead, Lead, 56, "r/4 C#5/2 D5/2", 36);
    }
    // 1: A, the main theme.
    {
        TPatternWriter W(Add(), Error);
        Harmony(W, Home, BassGroove, false);
        Drums(W, {&Groove, &Groove, &Groove, &Groove});
        Melody(W, "r/2 A4/2 D5/2 F#5/4 E5/2 D5/2 E5/2 "
                  "F#5/6 A5/4 F#5/2 E5/4 "
                  "D5/2 B4/2 D5/2 E5/4 F#5/2 G5/2 F#5/2 "
                  "E5/8 r/4 C#5/2 D5/2");
    }
    // 2: A', the theme answered, bells return.
    {
        TPatternWriter W(Add(), Error);
        Harmony(W, Home, BassGroove, true);
        Drums(W, {&Groove, &Groove, &Groove, &GrooveFill});
        Melody(W, "E5/2 F#5/4 A5/2 F#5/2 E5/2 D5/4 "
                  "B4/4 D5/2 F#5/6 E5/4 "
                  "D5/2 E5/2 G5/4 F#5/2 E5/2 D5/4 "
                  "E5/6 C#5/2 A4/6 r/2");
    }
    // 3: B, lifting to the subdominant.
    {
        TPatternWriter W(Add(), Error);
        Harmony(W, Lift, BassGroove, false);
        Drums(W, {&Groove, &GrooveOpen, &Groove, &GrooveOpen});
        Melody(W, "B5/6 A5/2 F#5/4 D5/4 "
                  "E5/6 F#5/2 E5/4 C#5/4 "
                  "C#6/4 B5/2 A5/6 F#5/4 "
                  "F#5/12 r/4");
    }
    // 4: B', climbing back to the dominant with a fill.
    {
        TPatternWriter W(Add(), Error);
        Harmony(W, Climb, BassWalk, true);
        Drums(W, {&Groove, &GrooveOpen, &Groove, &GrooveFill});
        Melody(W, "G5/4 F#5/2 E5/2 D5/4 E5/4 "
                  "F#5/4 E5/2 C#5/2 A4/8 "
                  "B4/2 D5/2 G5/4 F#5/2 G5/2 A5/4 "
                  "A5/8 G5/2 F#5/2 E5/4");
    }
    // 5: bridge, drums thin out and the lead sings long notes over the bells.
    {
        TPatternWriter W(Add(), Error);
        Harmony(W, Drift, BassLong, true);
        Drums(W, {&Light, &Light, &Light, &KickIn});
        Melody(W, "F#5/12 E5/4 "
                  "D5/16 "
                  "B4/8 E5/8 "
                  "E5/8 C#5/4 r/4");
    }
    // 6: turnaround, closing the theme and jumping back to A.
    {
        TPatternWriter W(Add(), Error);
        Harmony(W, Home, BassGroove, true);
        Drums(W, {&Groove, &Groove, &Light, &KickIn});
        Melody(W, "D5/4 F#5/4 A5/6 G5/2 "
                  "F#5/8 D5/4 B4/4 "
                  "D5/6 E5/2 D5/4 B4/4 "
                  "A4/8 r/8");
        W.Effect(63, ChKick, XmEffectPositionJump, 1);
    }
    // Intro once, then A A' B B' bridge A A' turnaround, looping back to A.
    Module.Orders = {0, 1, 2, 3, 4, 5, 1, 2, 6};
    Module.RestartPosition = 1;
    return Error.empty();
}

} // namespace vm::assetgen
